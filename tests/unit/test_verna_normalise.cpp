// The engine's normaliser with a small abbreviations table: abbreviations,
// spelling, hyphens, numbers with decimals, dots and named symbols.
#include <gtest/gtest.h>

#include "util/character_names.h"
#include "util/latin1.h"
#include "verna/abbreviations.h"
#include "verna/normalise.h"

namespace {
class VernaNormalise : public ::testing::Test {
protected:
    void SetUp() override {
        verna_abbreviations_reset();
        ASSERT_TRUE(verna_load_abbreviations_text(latin1("; títulos\nSr=senhor\n  dra = doutora  \nAv=avenida\n"
                                                         "km=quilômetros\nnº=número\n"),
                                                  "test.abr"));
    }
    void TearDown() override { verna_abbreviations_reset(); }

    static std::string norm(const char* text) { return utf8(verna_normalise_text(latin1(text))); }
};
}  // namespace

TEST_F(VernaNormalise, AbbreviationsExpandOnlyBeforePeriodAndBlank) {
    EXPECT_EQ(norm("Sr. Silva"), "senhor Silva");
    EXPECT_EQ(norm("o sr. e a DRA. Ana"), "o senhor e a doutora Ana");
    // Before a letter the period is read and the abbreviation kept.
    EXPECT_EQ(norm("Sr.Silva"), "Sr ponto Silva");
    // Without the period a vowelless abbreviation is spelled, a voweled one kept.
    EXPECT_EQ(norm("Sr Silva"), "ésseérre Silva");
    EXPECT_EQ(norm("Av Brasil"), "Av Brasil");
    // At the end of the text the abbreviation is expanded and its period
    // ends the sentence.
    EXPECT_EQ(norm("Sr."), "senhor.");
    EXPECT_EQ(norm("Obrigado, Sr."), "Obrigado, senhor.");
    EXPECT_EQ(norm("Obrigado, Sr.\n"), "Obrigado, senhor. ");
    // A small-letter abbreviation before a capital also ends a sentence; a
    // capital one is a title before a name.
    EXPECT_EQ(norm("Andou 10 km. Depois parou."), "Andou dez  quilômetros. Depois parou.");
    EXPECT_EQ(norm("Andou 10 km.\nDepois"), "Andou dez  quilômetros. Depois");
    EXPECT_EQ(norm("o Sr.\nSilva"), "o senhor Silva");
    EXPECT_EQ(norm("10 km. depois"), "dez  quilômetros depois");
    // Written without the period, km is spelled like any vowelless word.
    EXPECT_EQ(norm("10km"), "dez cáême");
}

TEST_F(VernaNormalise, VowellessWordsAreSpelled) {
    EXPECT_EQ(norm("CPF"), " sêpêéfe");
    EXPECT_EQ(norm("www"), "dábliudábliudábliu");
    EXPECT_EQ(norm("SP-RJ"), "éssepêtraçoérrejóta");
    EXPECT_EQ(norm("mar"), "mar");
}

TEST_F(VernaNormalise, HyphensDotsAndSigns) {
    EXPECT_EQ(norm("guarda-chuva"), "guarda-chuva");
    EXPECT_EQ(norm("casa - praia"), "casa , praia");
    EXPECT_EQ(norm("-5"), "menos cinco ");
    EXPECT_EQ(norm("3,5"), "três vírgula cinco ");
    EXPECT_EQ(norm("3.5"), "três ponto cinco ");
    EXPECT_EQ(norm("1.000,25"), "mil  vírgula vinte e cinco ");
    EXPECT_EQ(norm("casa..."), "casa... ");
    EXPECT_EQ(norm("um.dois"), "um ponto dois");
    // A period before a line end, or with a blank before it, is no spoken dot.
    EXPECT_EQ(norm("fim.\nOutra"), "fim. Outra");
    EXPECT_EQ(norm("fim.\r\nOutra"), "fim.  Outra");
    EXPECT_EQ(norm("fim.\tOutra"), "fim. Outra");
    EXPECT_EQ(norm("fim .Outra"), "fim .Outra");
    EXPECT_EQ(norm("Olá! Tudo bem?"), "Olá! Tudo bem?");
    EXPECT_EQ(norm("a@b"), "a arrôba bê");
    EXPECT_EQ(norm("2 + 2 = 4"), "dois   mais  dois   igual  quatro ");
    EXPECT_EQ(norm("6 × 2 ÷ 3"), "seis   vezes  dois   dividido por  três ");
    EXPECT_EQ(norm("÷"), "dividido por");
}

TEST_F(VernaNormalise, LettersAndDigitsPartWordsAndHyphensJoinDigitGroups) {
    EXPECT_EQ(norm("a1b2"), "a um bê dois ");
    EXPECT_EQ(norm("linha1"), "linha um ");
    EXPECT_EQ(norm("3a"), "três a");
    EXPECT_EQ(norm("123.456.789-00"), "cento e vinte e três milhões quatrocentos e cinqüenta e seis mil setecentos e "
                                      "oitenta e nove traço zero zero ");
    // A minus sign is still one where no digit stands before it.
    EXPECT_EQ(norm("de -5 a 5"), "de menos cinco  a cinco ");
}

TEST_F(VernaNormalise, SingleCharactersAccentsAndLineBreaks) {
    EXPECT_EQ(norm("a"), "a");
    EXPECT_EQ(norm("?"), "interrogação");
    EXPECT_EQ(norm("á"), "A agudo");
    EXPECT_EQ(norm("x"), "xis");
    EXPECT_EQ(norm("e á"), "e á");
    // A line break or tab parts the words it stands between, and says nothing.
    EXPECT_EQ(norm("fim\r\ncomeço\tmeio"), "fim  começo meio");
    EXPECT_EQ(norm(""), "");
}

TEST(CharacterNames, SharedTable) {
    EXPECT_EQ(utf8(character_name('C')), " sê");
    EXPECT_EQ(utf8(character_name('j')), "jota");
    EXPECT_EQ(utf8(character_name('J')), "jóta");
    EXPECT_EQ(utf8(character_name('n')), "ene");
    EXPECT_EQ(utf8(character_name(0xe7)), "Cê cedilha");
    EXPECT_EQ(utf8(character_name(0xe1)), "A agudo");
    EXPECT_EQ(character_name(7), "");
    EXPECT_EQ(character_name(0xfd), "");
    EXPECT_EQ(verna_char_name('@'), latin1("arrôba"));
    // The division sign has its own name, not the multiplication sign's.
    EXPECT_EQ(utf8(character_name(0xd7)), "vezes");
    EXPECT_EQ(utf8(character_name(0xf7)), "dividido por");
}
