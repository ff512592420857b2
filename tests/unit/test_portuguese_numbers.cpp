// The Portuguese number grammar shared by the recorded fragments and the
// engine: joining "e", thousands and millions, ordinals, the vocabulary.
#include <gtest/gtest.h>

#include <set>

#include "util/latin1.h"
#include "util/portuguese_numbers.h"

namespace {
std::string cardinal(uint64_t n) { return utf8(portuguese_cardinal(n)); }
std::string ordinal(uint64_t n, bool feminine = false, bool plural = false) {
    return utf8(portuguese_ordinal(n, feminine, plural));
}
}  // namespace

TEST(PortugueseNumbers, CardinalsJoinTheLastGroupLikeSpeech) {
    EXPECT_EQ(cardinal(0), "zero");
    EXPECT_EQ(cardinal(3), "três");
    EXPECT_EQ(cardinal(100), "cem");
    EXPECT_EQ(cardinal(110), "cento e dez");
    EXPECT_EQ(cardinal(1000), "mil");
    EXPECT_EQ(cardinal(1200), "mil e duzentos");
    EXPECT_EQ(cardinal(1230), "mil duzentos e trinta");
    EXPECT_EQ(cardinal(2026), "dois mil e vinte e seis");
    EXPECT_EQ(cardinal(1001000), "um milhão e mil");
    EXPECT_EQ(cardinal(2001001), "dois milhões mil e um");
    EXPECT_EQ(cardinal(1000000000000ULL), "um trilhão");
    // No blank at either end, whatever group the number ends in.
    EXPECT_EQ(cardinal(5000000), "cinco milhões");
    // Beyond five groups the last fifteen digits are read.
    EXPECT_EQ(cardinal(PORTUGUESE_NUMBERS_LIMIT + 7), "sete");
}

TEST(PortugueseNumbers, OrdinalsOfEveryDigitAndScale) {
    EXPECT_EQ(ordinal(80), "octogésimo");
    EXPECT_EQ(ordinal(400), "quadringentésimo");
    EXPECT_EQ(ordinal(700), "septingentésimo");
    EXPECT_EQ(ordinal(800), "octingentésimo");
    EXPECT_EQ(ordinal(978), "nongentésimo septuagésimo oitavo");
    EXPECT_EQ(ordinal(1001), "milésimo primeiro");
    EXPECT_EQ(ordinal(2000), "segundo milésimo");
    EXPECT_EQ(ordinal(21345), "vigésimo primeiro milésimo tricentésimo quadragésimo quinto");
    EXPECT_EQ(ordinal(1000000), "milionésimo");
    EXPECT_EQ(ordinal(3000000000ULL), "terceiro bilionésimo");
    // Gender and number turn every word, not only the last.
    EXPECT_EQ(ordinal(21, true), "vigésima primeira");
    EXPECT_EQ(ordinal(21, false, true), "vigésimos primeiros");
    EXPECT_EQ(ordinal(2000, true, true), "segundas milésimas");
    EXPECT_EQ(ordinal(0), "zero");
}

TEST(PortugueseNumbers, VocabularyHoldsEveryWordOfEveryCardinal) {
    std::vector<std::string> list = portuguese_cardinal_vocabulary();
    std::set<std::string> vocabulary(list.begin(), list.end());
    EXPECT_EQ(vocabulary.size(), list.size()) << "each word once";
    // Every group value at the units and at each scale, and mixed numbers.
    for (uint64_t scale = 1; scale < PORTUGUESE_NUMBERS_LIMIT; scale *= 1000) {
        for (uint64_t v = 0; v < 1000; ++v) {
            std::string words = portuguese_cardinal(v * scale + (v % 7) * 1001);
            size_t i = 0;
            while (i <= words.size()) {
                size_t end = words.find(' ', i);
                if (end == std::string::npos) end = words.size();
                ASSERT_TRUE(vocabulary.count(words.substr(i, end - i)))
                    << utf8(words.substr(i, end - i)) << " in " << utf8(words);
                i = end + 1;
            }
        }
    }
}
