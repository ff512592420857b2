// Portuguese number words and the fragments of numbers, times and dates.
#include <gtest/gtest.h>

#include "speech/number_words.h"
#include "util/latin1.h"

namespace {
std::string keys(long long n, bool feminine = false) {
    std::string out;
    for (const auto& k : speech_number_fragment_keys(speech_number_words(n), feminine)) out += (out.empty() ? "" : " ") + k;
    return out;
}

std::string pieces(const std::vector<SpokenPiece>& ps) {
    std::string out;
    for (const auto& p : ps) {
        std::string s = p.is_number ? "[" + std::to_string(p.number) + (p.feminine ? "f" : "") + "]" : p.key;
        out += (out.empty() ? "" : " ") + s;
    }
    return out;
}
}  // namespace

TEST(NumberWords, GroupsJoinersAndNames) {
    EXPECT_EQ(speech_number_words(0), "zero");
    EXPECT_EQ(speech_number_words(1), "um");
    EXPECT_EQ(speech_number_words(7), "sete");
    EXPECT_EQ(speech_number_words(16), "dezesseis");
    EXPECT_EQ(speech_number_words(17), "dezessete");
    EXPECT_EQ(speech_number_words(100), "cem");
    EXPECT_EQ(speech_number_words(105), "cento e cinco");
    EXPECT_EQ(speech_number_words(120), "cento e vinte");
    EXPECT_EQ(speech_number_words(121), "cento e vinte e um");
    EXPECT_EQ(speech_number_words(1000), "mil");
    // "e" after a thousand or a million only before a last group under a
    // hundred or a whole hundred.
    EXPECT_EQ(speech_number_words(1001), "mil e um");
    EXPECT_EQ(speech_number_words(1100), "mil e cem");
    EXPECT_EQ(speech_number_words(1200), "mil e duzentos");
    EXPECT_EQ(speech_number_words(1500), "mil e quinhentos");
    EXPECT_EQ(speech_number_words(1999), "mil novecentos e noventa e nove");
    EXPECT_EQ(speech_number_words(2345), "dois mil trezentos e quarenta e cinco");
    EXPECT_EQ(speech_number_words(2026), "dois mil e vinte e seis");
    EXPECT_EQ(speech_number_words(1000000), latin1("um milhão"));
    EXPECT_EQ(speech_number_words(1000001), latin1("um milhão e um"));
    EXPECT_EQ(speech_number_words(1500000), latin1("um milhão e quinhentos mil"));
    EXPECT_EQ(speech_number_words(2340000), latin1("dois milhões trezentos e quarenta mil"));
    EXPECT_EQ(speech_number_words(2000000), latin1("dois milhões"));
    EXPECT_EQ(speech_number_words(999999), "novecentos e noventa e nove mil novecentos e noventa e nove");
    EXPECT_EQ(speech_number_words(1001000), latin1("um milhão e um mil"));
    EXPECT_EQ(speech_number_words(-5), "cinco");
}

TEST(NumberWords, FragmentKeys) {
    EXPECT_EQ(keys(0), "_zero");
    EXPECT_EQ(keys(17), "_dezeset");
    EXPECT_EQ(keys(16), "_dezesse");
    EXPECT_EQ(keys(14), "_quatorz");
    EXPECT_EQ(keys(1000), "_mil");
    EXPECT_EQ(keys(1000000), "_um _milhao");
    EXPECT_EQ(keys(2000000), "_dois _milhoes");
    EXPECT_EQ(keys(3000000000LL), "_tres _bilhoes");
    EXPECT_EQ(keys(1, true), "_uma");
    EXPECT_EQ(keys(2, true), "_duas");
    EXPECT_EQ(keys(21, true), "_vinte _e _uma");
    EXPECT_EQ(keys(12, true), "_doze");
    EXPECT_EQ(keys(1001, true), "_mil _e _uma") << "only the last word turns feminine";
}

TEST(NumberWords, HoursAndMinutes) {
    EXPECT_EQ(pieces(speech_hour_minute_pieces(0, 0)), "[0f] _hora");
    EXPECT_EQ(pieces(speech_hour_minute_pieces(1, 0)), "[1f] _hora");
    EXPECT_EQ(pieces(speech_hour_minute_pieces(2, 0)), "[2f] _horas");
    EXPECT_EQ(pieces(speech_hour_minute_pieces(12, 0)), "[12f] _horas");
    EXPECT_EQ(pieces(speech_hour_minute_pieces(12, 1)), "[12f] _horas [1] _minuto");
    EXPECT_EQ(pieces(speech_hour_minute_pieces(23, 59)), "[23f] _horas [59] _minutos");
}

TEST(NumberWords, Dates) {
    EXPECT_EQ(speech_weekday(7, 12, 2026), 1);
    EXPECT_EQ(speech_weekday(1, 1, 2000), 6);
    EXPECT_EQ(speech_weekday(29, 2, 2024), 4);
    EXPECT_EQ(pieces(speech_day_month_year_pieces(7, 12, 2026)), "_Segunda [7] _de _Dezembr _de [2026]");
    EXPECT_EQ(pieces(speech_day_month_year_pieces(1, 3, 2021)), "_Segunda _primeir _de _Marco _de [2021]");
    EXPECT_EQ(keys(2026), "_dois _mil _e _vinte _e _seis");
    // Years are spoken whole: 1999 and 2100 keep their thousands and hundreds.
    EXPECT_EQ(keys(1999), "_mil _novecen _e _noventa _e _nove");
    EXPECT_EQ(keys(2345), "_dois _mil _trezent _e _quarent _e _cinco");
    EXPECT_EQ(keys(2000), "_dois _mil");
    EXPECT_EQ(keys(2100), "_dois _mil _e _cem");
    EXPECT_TRUE(speech_day_month_year_pieces(1, 13, 2020).empty());
}
