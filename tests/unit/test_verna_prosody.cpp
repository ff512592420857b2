// The prosody file: its three sections in any order, every message the user
// is shown, the word keys, tokens and intonation patterns.
#include <gtest/gtest.h>

#include <vector>

#include "util/latin1.h"
#include "verna/message.h"
#include "verna/prosody.h"
#include "verna/tokens.h"

namespace {
std::vector<std::string> g_shown;
void record(const std::string& text) { g_shown.push_back(utf8(text)); }

const char* const GOOD =
    "; durações em milissegundos\n"
    "[DURAÇÃO]\n"
    "a = 90\n"
    "* outro comentário\n"
    "\n"
    "lh=75\n"
    "_,=150\n"
    "[CHAVES]\n"
    "o=AR\n"
    "de = pr\n"
    "Você=PN\n"
    "[PROSÓDIA]\n"
    "HERTZ=120\n"
    "TABHERTZ= 0, 80 ,85,90,95,100,105,110,120,130\n"
    "|XX|?\?=548\n"
    "|??|=?29\n"
    "|!!|=?19\n"
    "AR|XX|=?55\n";

class VernaProsody : public ::testing::Test {
protected:
    void SetUp() override {
        g_shown.clear();
        verna_prosody_reset();
        verna_set_message_recorder(record);
    }
    void TearDown() override {
        verna_set_message_recorder(nullptr);
        verna_prosody_reset();
    }
    static bool load(const char* text) { return verna_load_prosody_text(latin1(text), "test.pro"); }
    static std::string joined(const VernaLines& lines) {
        std::string out;
        for (const auto& l : lines) out += (out.empty() ? "" : " ") + utf8(l);
        return out;
    }
};
}  // namespace

TEST_F(VernaProsody, LoadsTablesInAnySectionOrder) {
    ASSERT_TRUE(load(GOOD));
    EXPECT_TRUE(g_shown.empty());
    int ms = 0;
    EXPECT_TRUE(verna_phoneme_duration("a", ms));
    EXPECT_EQ(ms, 90);
    EXPECT_TRUE(verna_phoneme_duration("_,", ms));
    EXPECT_EQ(ms, 150);
    EXPECT_FALSE(verna_phoneme_duration("x", ms));
    EXPECT_EQ(ms, 100);
    EXPECT_EQ(verna_base_pitch(), 120);
    EXPECT_EQ(verna_pitch_level(0), 0);
    EXPECT_EQ(verna_pitch_level(9), 130);
    EXPECT_EQ(verna_word_key("DE"), "PR");
    EXPECT_EQ(verna_word_key(latin1("você")), "PN");
    EXPECT_EQ(verna_word_key("casa"), "");
    ASSERT_EQ(verna_intonation_rule_count(), 4);
    EXPECT_EQ(verna_intonation_rule(0).next, "??");
    EXPECT_EQ(verna_intonation_rule(3).previous, "AR");
    EXPECT_EQ(verna_intonation_rule(3).current, "XX");
    EXPECT_EQ(verna_intonation_rule(3).next, "");

    // Reversed order, no HERTZ: 230; the pitch levels stay from before.
    ASSERT_TRUE(load("[PROSÓDIA]\nAR||=123\n[CHAVES]\nem=PR\n[DURAÇÃO]\nb=60\n"));
    EXPECT_EQ(verna_base_pitch(), 230);
    EXPECT_EQ(verna_pitch_level(9), 130);
    EXPECT_EQ(verna_duration_count(), 1);
    EXPECT_EQ(verna_word_key("EM"), "PR");
    EXPECT_EQ(verna_word_key("DE"), "");
    EXPECT_EQ(verna_intonation_rule_count(), 1);
}

TEST_F(VernaProsody, EveryProblemIsShown) {
    EXPECT_FALSE(verna_load_prosody("/nonexistent/portug.pro"));
    EXPECT_FALSE(load("[CHAVES]\n[PROSÓDIA]\n"));
    EXPECT_FALSE(load("[DURAÇÃO]\na 90\n[CHAVES]\n[PROSÓDIA]\n"));
    EXPECT_FALSE(load("[DURAÇÃO]\n[PROSÓDIA]\n"));
    EXPECT_FALSE(load("[DURAÇÃO]\n[CHAVES]\npalavra\n[PROSÓDIA]\n"));
    EXPECT_FALSE(load("[DURAÇÃO]\n[CHAVES]\n"));
    EXPECT_FALSE(load("[DURAÇÃO]\n[CHAVES]\n[PROSÓDIA]\nsem igual\n"));
    std::vector<std::string> expected = {
        "Configuração da prosódia não foi achada",
        "Duração dos difones errada ou ausente",
        "Configuração da prosódia: fonema errado: a 90",
        "Prosódia: palavras chaves ausentes",
        "Configuração da prosódia: chave errada: palavra",
        "Prosódia: especificações ausentes",
        "Configuração da prosódia: chave errada: sem igual",
    };
    EXPECT_EQ(g_shown, expected);
}

TEST_F(VernaProsody, BadValuesAndFullTables) {
    // A duration that is not a number is shown, lasts 100 and loading goes on.
    EXPECT_TRUE(load("[DURAÇÃO]\ne=longa\n[CHAVES]\n[PROSÓDIA]\n"));
    ASSERT_EQ(g_shown.size(), 1u);
    EXPECT_EQ(g_shown[0], "Configuração da prosódia: fonema errado: e=longa");
    int ms = 0;
    EXPECT_TRUE(verna_phoneme_duration("e", ms));
    EXPECT_EQ(ms, 100);
    g_shown.clear();

    EXPECT_FALSE(load("[DURAÇÃO]\n[CHAVES]\n[PROSÓDIA]\nHERTZ=alto\n"));
    EXPECT_FALSE(load("[DURAÇÃO]\n[CHAVES]\n[PROSÓDIA]\nTABHERTZ=1,2,3\n"));
    EXPECT_FALSE(load("[DURAÇÃO]\n[CHAVES]\n[PROSÓDIA]\nTABHERTZ=1,2,3,4,5,6,7,8,9,10,11\n"));
    EXPECT_FALSE(load("[DURAÇÃO]\n[CHAVES]\n[PROSÓDIA]\n||=55\n"));
    EXPECT_FALSE(load("[DURAÇÃO]\n[CHAVES]\n[PROSÓDIA]\n||=5?5\n"));
    EXPECT_EQ(g_shown.size(), 5u);

    std::string many = "[DURAÇÃO]\n";
    for (int i = 0; i <= VERNA_MAX_DURATIONS; ++i) many += "p" + std::to_string(i) + "=10\n";
    many += "[CHAVES]\n[PROSÓDIA]\n";
    g_shown.clear();
    EXPECT_FALSE(load(many.c_str()));
    EXPECT_EQ(verna_duration_count(), VERNA_MAX_DURATIONS);
    ASSERT_EQ(g_shown.size(), 1u);
}

TEST_F(VernaProsody, TokensWithKeysAndBoundaries) {
    ASSERT_TRUE(load(GOOD));
    EXPECT_EQ(joined(verna_tokenise(latin1("Olá! Tudo bem?"))), "[--] [XX]Olá [!!]! [--] [XX]Tudo [XX]bem [??]? [--]");
    EXPECT_EQ(joined(verna_tokenise(latin1("O livro DE você, guarda-chuva... "))),
              "[--] [AR]O [XX]livro [PR]DE [PN]você [,,], [XX]guarda [--]- [XX]chuva [.-]. [--]");
    EXPECT_EQ(joined(verna_tokenise("   ")), "[--]");
}

TEST_F(VernaProsody, QuestionsOpenedByAQuestionWordHaveAKeyOfTheirOwn) {
    auto with_keys = [](const std::string& keys, const std::string& rules) {
        std::string file = GOOD;
        file.replace(file.find("[CHAVES]\n"), 9, "[CHAVES]\n" + keys);
        return latin1(file + rules);
    };
    ASSERT_TRUE(verna_load_prosody_text(with_keys("onde=qu\nque=QU\npor=PR\n", "|XX|?Q=571\n"), "test.pro"));
    // Opened by one, or by one after a keyed word; not when it comes later,
    // and a new sentence starts afresh.
    EXPECT_EQ(joined(verna_tokenise(latin1("Onde está o guarda? Está lá?"))),
              "[--] [QU]Onde [XX]está [AR]o [XX]guarda [?Q]? [--] [XX]Está [XX]lá [??]? [--]");
    EXPECT_EQ(joined(verna_tokenise(latin1("Por que não? Sabe onde fica?"))),
              "[--] [PR]Por [QU]que [XX]não [?Q]? [--] [XX]Sabe [QU]onde [XX]fica [??]? [--]");
    // Its last word gets the question's own pattern.
    EXPECT_EQ(joined(verna_assign_patterns(verna_tokenise(latin1("Onde fica?")))),
              "555| 555|Onde 571|fica 555|? 555|");
    // A file that never names ?Q keeps ?? for every question.
    ASSERT_TRUE(verna_load_prosody_text(with_keys("onde=QU\n", ""), "test.pro"));
    EXPECT_EQ(joined(verna_tokenise(latin1("Onde fica?"))), "[--] [QU]Onde [XX]fica [??]? [--]");
}

TEST_F(VernaProsody, PatternsFromTheFirstMatchingRule) {
    // No rules at all: 555 everywhere.
    ASSERT_TRUE(load("[DURAÇÃO]\n[CHAVES]\n[PROSÓDIA]\n"));
    EXPECT_EQ(joined(verna_assign_patterns(verna_tokenise("Tudo bem?"))), "555| 555|Tudo 555|bem 555|? 555|");

    ASSERT_TRUE(load(GOOD));
    // "?" takes the last digit of the pattern before; it starts as 5.
    EXPECT_EQ(joined(verna_assign_patterns(verna_tokenise(latin1("o livro bem?")))),
              "555| 555|o 555|livro 548|bem 829|? 555|");
    EXPECT_EQ(joined(verna_assign_patterns(verna_tokenise(latin1("Ande!")))), "555| 555|Ande 519|! 555|");
    EXPECT_EQ(joined(verna_assign_patterns({"[--]"})), "555|");

    // A rule with three empty keys hides every rule after it.
    ASSERT_TRUE(load("[DURAÇÃO]\n[CHAVES]\n[PROSÓDIA]\n||=123\n|XX|=999\n"));
    EXPECT_EQ(joined(verna_assign_patterns(verna_tokenise("casa"))), "123| 123|casa");
}
