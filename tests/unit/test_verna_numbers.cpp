// The Portuguese engine's number words: cardinals, ordinals, separators,
// leading zeros, digit-by-digit readings.
#include <gtest/gtest.h>

#include "util/latin1.h"
#include "verna/letters.h"
#include "verna/numbers.h"

namespace {
// The words of the number at the start of `text` (trimmed) and where reading stopped.
std::string read(const char* text, size_t* stop = nullptr) {
    std::string t = latin1(text);
    size_t pos = 0;
    std::string w = verna_number_words(t, pos);
    if (stop) *stop = pos;
    return utf8(verna_trim(w));
}
std::string cardinal(uint64_t n) { return utf8(verna_trim(verna_cardinal_words(n))); }
std::string ordinal(uint64_t n, VernaGender g = VernaGender::Masculine) { return utf8(verna_ordinal_words(n, g)); }
}  // namespace

TEST(VernaNumbers, CardinalGroupsAndJoiners) {
    EXPECT_EQ(cardinal(0), "zero");
    EXPECT_EQ(cardinal(21), "vinte e um");
    EXPECT_EQ(cardinal(100), "cem");
    EXPECT_EQ(cardinal(101), "cento e um");
    EXPECT_EQ(cardinal(115), "cento e quinze");
    EXPECT_EQ(cardinal(121), "cento e vinte e um");
    EXPECT_EQ(cardinal(200), "duzentos");
    EXPECT_EQ(cardinal(55), "cinqüenta e cinco");
    EXPECT_EQ(cardinal(1000), "mil");
    EXPECT_EQ(cardinal(1001), "mil e um");
    EXPECT_EQ(cardinal(1100), "mil e cem");
    EXPECT_EQ(cardinal(1230), "mil duzentos e trinta");
    EXPECT_EQ(cardinal(1999), "mil novecentos e noventa e nove");
    // A last group below a hundred is joined with "e" even when it holds one.
    EXPECT_EQ(cardinal(1021), "mil e vinte e um");
    EXPECT_EQ(cardinal(2026), "dois mil e vinte e seis");
    EXPECT_EQ(cardinal(1000035), "um milhão e trinta e cinco");
    EXPECT_EQ(cardinal(1250000), "um milhão duzentos e cinqüenta mil");
    EXPECT_EQ(cardinal(2100), "dois mil e cem");
    EXPECT_EQ(cardinal(2500), "dois mil e quinhentos");
    EXPECT_EQ(cardinal(1000000), "um milhão");
    EXPECT_EQ(cardinal(1000001), "um milhão e um");
    EXPECT_EQ(cardinal(1200000), "um milhão e duzentos mil");
    EXPECT_EQ(cardinal(2000000), "dois milhões");
    EXPECT_EQ(cardinal(1000000000), "um bilhão");
    EXPECT_EQ(cardinal(3000000000000ULL), "três trilhões");
    EXPECT_EQ(cardinal(999999999999999ULL),
              "novecentos e noventa e nove trilhões novecentos e noventa e nove bilhões novecentos e noventa e nove "
              "milhões novecentos e noventa e nove mil novecentos e noventa e nove");
    // "um mil" loses its "um", "um milhão" keeps it, also further on.
    EXPECT_EQ(cardinal(1001000), "um milhão e mil");
}

TEST(VernaNumbers, OrdinalsAndTheirMarks) {
    EXPECT_EQ(ordinal(0), "zero");
    EXPECT_EQ(ordinal(123), "centésimo vigésimo terceiro");
    EXPECT_EQ(ordinal(21, VernaGender::Feminine), "vigésima primeira");
    EXPECT_EQ(ordinal(1000), "milésimo");
    EXPECT_EQ(ordinal(1999, VernaGender::Feminine), "milésima nongentésima nonagésima nona");
    EXPECT_EQ(ordinal(80), "octogésimo");
    EXPECT_EQ(ordinal(487), "quadringentésimo octogésimo sétimo");
    EXPECT_EQ(ordinal(700), "septingentésimo");
    EXPECT_EQ(ordinal(800, VernaGender::Feminine), "octingentésima");
    EXPECT_EQ(ordinal(2000), "segundo milésimo");
    EXPECT_EQ(read("1º"), "primeiro");
    EXPECT_EQ(read("1ª"), "primeira");
    size_t stop = 0;
    EXPECT_EQ(read("2os. lugares", &stop), "segundos");
    EXPECT_EQ(stop, 4u);
    EXPECT_EQ(read("21a.", &stop), "vigésima primeira");
    EXPECT_EQ(stop, 4u);
    EXPECT_EQ(read("3as."), "terceiras");
    EXPECT_EQ(read("10o."), "décimo");
    // A plural ordinal turns every word, not only the last.
    EXPECT_EQ(read("21os."), "vigésimos primeiros");
    EXPECT_EQ(read("32as."), "trigésimas segundas");
    // Ordinal marks drop the leading zeros; thousands and up stay ordinals.
    EXPECT_EQ(read("01º"), "primeiro");
    EXPECT_EQ(read("2000º", &stop), "segundo milésimo");
    EXPECT_EQ(stop, 5u);
    EXPECT_EQ(read("2000os."), "segundos milésimos");
    EXPECT_EQ(read("1.500ª"), "milésima quingentésima");
}

TEST(VernaNumbers, ZerosSeparatorsAndWhereReadingStops) {
    size_t stop = 0;
    EXPECT_EQ(read("0"), "zero");
    EXPECT_EQ(read("007"), "zero zero sete");
    EXPECT_EQ(read("00"), "zero zero");
    EXPECT_EQ(read("1.000", &stop), "mil");
    EXPECT_EQ(stop, 5u);
    EXPECT_EQ(read("1.000 reais", &stop), "mil");
    EXPECT_EQ(stop, 5u);
    EXPECT_EQ(read("1.0000", &stop), "um");
    EXPECT_EQ(stop, 1u);
    EXPECT_EQ(read("1.000.000"), "um milhão");
    EXPECT_EQ(read("1000000"), "um milhão");
    EXPECT_EQ(read("10km", &stop), "dez");
    EXPECT_EQ(stop, 2u);
    EXPECT_EQ(read("3,5", &stop), "três");
    EXPECT_EQ(stop, 1u);
    EXPECT_EQ(read("12-34", &stop), "um dois traço três quatro");
    EXPECT_EQ(stop, 5u);
    std::string t = latin1("555-12");
    size_t pos = 0;
    EXPECT_EQ(utf8(verna_number_words(t, pos)), " cinco cinco cinco traço um dois");
    pos = 0;
    std::string letters = "abc";
    EXPECT_EQ(verna_number_words(letters, pos), "");
    EXPECT_EQ(pos, 0u);
}

TEST(VernaNumbers, SixteenDigitsOrMoreReadOneByOne) {
    EXPECT_EQ(read("999999999999999"), cardinal(999999999999999ULL));
    size_t stop = 0;
    EXPECT_EQ(read("1234567890123456", &stop), "um dois três quatro cinco seis sete oito nove zero um dois três quatro "
                                               "cinco seis");
    EXPECT_EQ(stop, 16u);
    EXPECT_EQ(read("1.234.567.890.123.456", &stop),
              "um dois três quatro cinco seis sete oito nove zero um dois três quatro cinco seis");
    EXPECT_EQ(stop, 21u);
    // Leading zeros are read first and do not count.
    EXPECT_EQ(read("0000000000000001"), "zero zero zero zero zero zero zero zero zero zero zero zero zero zero zero um");
    std::string huge(400, '7');
    size_t pos = 0;
    EXPECT_EQ(verna_number_words(huge, pos).size(), 400u * 5);
    EXPECT_EQ(pos, 400u);
}
