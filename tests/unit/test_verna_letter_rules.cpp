// Letter-to-phoneme rules with every context code, the output limit, the
// exceptions dictionary with split-off S and M, the stress finder, pause
// lines and the linking of final r and s.
#include <gtest/gtest.h>

#include "util/latin1.h"
#include "verna/letter_rules.h"

namespace {
// One phoneme per letter, so that a context rule shows where it applied.
const char* const BASE_RULES =
    "; base\n"
    "(A)=a\n(B)=b\n(C)=k\n(D)=d\n(E)=e\n(F)=f\n(G)=g\n(H)=\n(I)=i\n(L)=l\n(M)=m\n(N)=n\n(O)=o\n"
    "(P)=p\n(R)=r2\n(S)=s2\n(T)=t\n(U)=u\n(V)=v\n(Z)=z\n(Á)=a\n(Ê)=e\n";

class VernaLetterRules : public ::testing::Test {
protected:
    void SetUp() override { verna_letter_rules_reset(); }
    void TearDown() override { verna_letter_rules_reset(); }

    // Context rules first: they are tried before the base rules of their bucket.
    static void rules(const char* context_rules) {
        ASSERT_TRUE(verna_load_rules_text(latin1(std::string(context_rules) + BASE_RULES), "test.nrl"));
    }
    static std::string word(const char* w, int stress = 0) {
        VernaLines out;
        verna_convert_word(latin1(w), stress, out);
        // Every word ends with an empty line.
        EXPECT_TRUE(!out.empty() && out.back().empty()) << w;
        if (!out.empty()) out.pop_back();
        std::string s;
        for (const auto& l : out) s += utf8(l) + "/";
        return s;
    }
    static std::string phonemes(const VernaLines& patterns) {
        std::string s;
        for (const auto& l : verna_text_to_phonemes(patterns)) s += utf8(l) + "/";
        return s;
    }
};
}  // namespace

TEST_F(VernaLetterRules, RightContextCodes) {
    rules("(S)#=z\n(R)%=R\n(N)&=N\n(D)*=D\n(C)+=s\n(L)[=w\n(O)\\%=u\n(T)I=T\n");
    EXPECT_EQ(word("ASA"), "a/z/a/");      // # one vowel
    EXPECT_EQ(word("AS"), "a/s2/");
    EXPECT_EQ(word("MAR"), "m/a/R/");      // % the end
    EXPECT_EQ(word("RA"), "r2/a/");
    EXPECT_EQ(word("NL"), "N/w/");         // & a sonorant
    EXPECT_EQ(word("DP"), "D/p/");         // * a consonant but L, R; not consumed
    EXPECT_EQ(word("DL"), "d/w/");
    EXPECT_EQ(word("D"), "d/");            // * fails at the end
    EXPECT_EQ(word("CE"), "s/e/");         // + a front vowel
    EXPECT_EQ(word("CA"), "k/a/");
    EXPECT_EQ(word("SAL"), "z/a/w/");      // [ the end ...
    EXPECT_EQ(word("ALTO"), "a/w/t/u/");   // ... or a consonant
    EXPECT_EQ(word("ALHO"), "a/l/u/");     // but not H
    EXPECT_EQ(word("ALA"), "a/l/a/");
    EXPECT_EQ(word("OS"), "u/s2/");        // \ an optional S
    EXPECT_EQ(word("TI"), "T/i/");         // a literal letter
}

TEST_F(VernaLetterRules, LeftContextCodesReadRightToLeft) {
    rules("#(S)#=z\n%(E)=I\n](L)=L\n_(R)=rr\n|(G)=G\nAB(C)=X\n");
    EXPECT_EQ(word("ASA"), "a/z/a/");
    EXPECT_EQ(word("PSA"), "p/s2/a/");
    EXPECT_EQ(word("ELE"), "I/l/e/");      // % the start
    EXPECT_EQ(word("OL"), "o/L/");         // ] an open vowel
    EXPECT_EQ(word("IL"), "i/l/");
    EXPECT_EQ(word("RA"), "rr/a/");        // _ the start ...
    EXPECT_EQ(word("ARA"), "a/rr/a/");     // ... or a vowel
    EXPECT_EQ(word("BRA"), "b/r2/a/");
    EXPECT_EQ(word("NG"), "n/G/");         // | N, R or S
    EXPECT_EQ(word("ABC"), "a/b/X/");      // literals, last one nearest
    EXPECT_EQ(word("BAC"), "b/a/k/");
}

TEST_F(VernaLetterRules, OutputsGroupsAndLimits) {
    // "&" parts one rule's output into lines; only 11 output characters count;
    // a longer group wins when it comes first; an empty output is silent.
    rules("(CH)=x\n(LH)=lh\n(AM)%=a&w&m\n(Q)=aaaaa&bbbbbXYZ\n(X)=\n()=zz\n");
    EXPECT_EQ(word("CHA"), "x/a/");
    EXPECT_EQ(word("ALHO"), "a/lh/o/");
    EXPECT_EQ(word("CAM"), "k/a/w/m/");
    EXPECT_EQ(word("Q"), "aaaaa/bbbbb/");
    EXPECT_EQ(word("AXA"), "a/a/");
    // The rule with an empty group was skipped; a letter without rules is silent.
    EXPECT_EQ(word("AJA"), "a/a/");
    EXPECT_FALSE(verna_rules_message().empty());
    EXPECT_EQ(word("casa"), "k/a/s2/a/");
}

TEST_F(VernaLetterRules, StressMarkOnFirstSoundingRuleAtOrAfterTheVowel) {
    rules("");
    EXPECT_EQ(word("CASA", 2), "k/>a/s2/a/");
    // H is silent: the mark waits for the next rule with output.
    EXPECT_EQ(word("AHA", 2), "a/>a/");
    EXPECT_EQ(word("CASA", 0), "k/a/s2/a/");
    EXPECT_EQ(word("CASA", 9), "k/a/s2/a/");
}

TEST(VernaStress, PositionsOfTheStressedLetter) {
    struct Case {
        const char* word;
        int position;
    } cases[] = {
        {"casa", 2}, {"homem", 2}, {"falam", 2}, {"muito", 2}, {"fui", 2},     {"pai", 2},
        {"aqui", 4}, {"que", 3},   {"animal", 5}, {"jardim", 5}, {"café", 4},  {"urubu", 5},
        {"CASAS", 2}, {"lâmpada", 2}, {"médico", 2}, {"você", 4}, {"amor", 3}, {"falar", 4},
        {"cantam", 2}, {"rapaz", 4}, {"pássaro", 2}, {"guia", 3}, {"água", 1},
        {"xyz", 2},  {"ptk", 0},   {"", 0},      {"tatu", 4},   {"livro", 2}, {"menina", 4},
        // An acute or circumflex outweighs a tilde after it; a tilde alone
        // stresses its vowel; the grave of a contraction stresses nothing.
        {"órgão", 1}, {"órfã", 1}, {"sótão", 2}, {"bênção", 2}, {"ímã", 1}, {"órfãos", 1},
        {"irmã", 4}, {"limões", 4}, {"coração", 6}, {"àquela", 4}, {"àquilo", 4},
        // A diminutive in -zinho takes the stress from its noun's tilde.
        {"pãozinho", 5}, {"mãozinhas", 5}, {"irmãozinho", 7}, {"leõezinhos", 6}, {"vizinho", 4},
        // Plurals in -ens keep the stress of their singular in -em.
        {"itens", 1}, {"item", 1}, {"margens", 2}, {"origens", 3}, {"vantagens", 5}, {"paisagens", 5},
        {"personagens", 7}, {"bagagens", 4}, {"homens", 2}, {"parabéns", 6}, {"armazéns", 6},
        {"bens", 2}, {"tens", 2},
        // ai, ei, oi before the last vowel or at the end are one stressed
        // syllable; an i closed by l, m, n, r, z or followed by nh after a
        // vowel is stressed on its own.
        {"praia", 3}, {"meio", 2}, {"bombardeie", 8}, {"alheiam", 4}, {"torneai", 6}, {"gradueis", 6},
        {"ainda", 2}, {"saindo", 3}, {"construirmos", 8}, {"rainha", 3}, {"fluido", 3}, {"feito", 2},
        {"cuidado", 5}, {"muitos", 2}, {"bairro", 2}, {"bairros", 2},
    };
    for (const Case& c : cases) EXPECT_EQ(verna_find_stress(latin1(c.word)), c.position) << c.word;
}

TEST_F(VernaLetterRules, ExceptionsAndTheirSuffixes) {
    rules("");
    ASSERT_TRUE(verna_load_exceptions_text(latin1("táxi=tácsi|loan\nporém=porêm\nnada sem igual\nlhe=lhi\n\n"),
                                           "test.exc"));
    EXPECT_EQ(verna_exception_count(), 4);
    EXPECT_EQ(utf8(verna_exception_lookup(latin1("TÁXI"))), "TÁCSI");
    EXPECT_EQ(utf8(verna_exception_lookup(latin1("TÁXIS"))), "TÁCSIS");
    EXPECT_EQ(utf8(verna_exception_lookup(latin1("PORÉMS"))), "PORÊMS");
    EXPECT_EQ(utf8(verna_exception_lookup(latin1("LHEMS"))), "LHIMS");
    EXPECT_EQ(verna_exception_lookup("CASAS"), "CASAS");
    EXPECT_EQ(verna_exception_lookup("SSS"), "SSS");
    EXPECT_EQ(verna_exception_lookup("NADA"), "NADA");
    EXPECT_FALSE(verna_load_exceptions("/nonexistent/portug.exc"));
    EXPECT_EQ(verna_exception_count(), 0);

    std::string many;
    for (int i = 0; i < VERNA_MAX_EXCEPTIONS + 10; ++i) many += "W" + std::to_string(100000 + i) + "=x\n";
    ASSERT_TRUE(verna_load_exceptions_text(many, "many.exc"));
    EXPECT_EQ(verna_exception_count(), VERNA_MAX_EXCEPTIONS);
    EXPECT_EQ(verna_exception_lookup("W114999"), "X");
    EXPECT_EQ(verna_exception_lookup("W115000"), "W115000");
}

TEST_F(VernaLetterRules, TextToPhonemesWithPausesAndLinking) {
    rules("");
    ASSERT_TRUE(verna_load_exceptions_text("\n", "empty.exc"));
    EXPECT_EQ(phonemes({"555|", "555|Mar", "555|,", "555|", "555| ", "123|?"}),
              ";555|/__//;555|Mar/m/>a/r2//;555|,/_,/;555|/__//;555| /;123|?/_?/__/");
    // Short words and the listed ones carry no stress mark.
    EXPECT_EQ(phonemes({"555|por", "555|casa", "555|da"}),
              ";555|por/p/o/r2//;555|casa/k/>a/s2/a//;555|da/d/a//__/");
    // Final r2 and s2 link to a following vowel phoneme (stress marks aside),
    // s2 to a voiced consonant too (as z), neither to a voiceless one nor
    // across a pause.
    EXPECT_EQ(phonemes({"555|mar", "555|azul"}), ";555|mar/m/>a/r//;555|azul/a/z/>u/l//__/");
    EXPECT_EQ(phonemes({"555|mais", "555|ovo"}), ";555|mais/m/>a/i/z//;555|ovo/>o/v/o//__/");
    EXPECT_EQ(phonemes({"555|mais", "555|bolo"}), ";555|mais/m/>a/i/z//;555|bolo/b/>o/l/o//__/");
    EXPECT_EQ(phonemes({"555|mar", "555|bolo"}), ";555|mar/m/>a/r2//;555|bolo/b/>o/l/o//__/");
    EXPECT_EQ(phonemes({"555|mais", "555|pato"}), ";555|mais/m/>a/i/s2//;555|pato/p/>a/t/o//__/");
    EXPECT_EQ(phonemes({"555|mar", "555|,", "555|azul"}), ";555|mar/m/>a/r2//;555|,/_,/;555|azul/a/z/>u/l//__/");
    EXPECT_EQ(phonemes({}), "__/");
}

TEST_F(VernaLetterRules, ARuleCutToTheLengthsHeldIsNamed) {
    // SQUE\% cut to SQUE\ would open the o of mosquete as well as bosque.
    ASSERT_TRUE(verna_load_rules_text(latin1("(A)=a\n(O)SQUE\\%=oo\n(B)=b\n"), "long.nrl"));
    EXPECT_EQ(verna_rules_message(), "long.nrl:2: rule longer than the engine holds cut");
    EXPECT_EQ(verna_rule_count(), 3);
    ASSERT_TRUE(verna_load_rules_text(latin1("(A)=a\n(ABCDEF)=x\n"), "group.nrl"));
    EXPECT_EQ(verna_rules_message(), "group.nrl:2: rule longer than the engine holds cut");
    // Only 11 characters of an output are spoken: b&b&b&b&b&b&x loses its &x.
    ASSERT_TRUE(verna_load_rules_text(latin1("(A)=a\n(B)=b&b&b&b&b&b&x\n"), "output.nrl"));
    EXPECT_EQ(verna_rules_message(), "output.nrl:2: rule longer than the engine holds cut");
    VernaLines out;
    verna_convert_word("B", 0, out);
    EXPECT_EQ(out, (VernaLines{"b", "b", "b", "b", "b", "b", ""}));
    ASSERT_TRUE(verna_load_rules_text(latin1("(A)=a\n(OSQU)E\\%=oo&s2&k\nABCDE(A)BCDE=b&b&b&b&b&b|\n"), "fits.nrl"));
    EXPECT_EQ(verna_rules_message(), "");
}

TEST_F(VernaLetterRules, HostileRuleLinesNeverStall) {
    ASSERT_TRUE(verna_load_rules_text(latin1("((((()=x\n#%(B)==|\n(A)))=q\n(C)=c&&\n\n  \t\n(\tA)=t\n"), "odd.nrl"));
    // A rule for a tab has no bucket: it is skipped and named.
    EXPECT_EQ(verna_rules_message(), "odd.nrl:7: rule for a control character skipped");
    EXPECT_EQ(verna_rule_count(), 4);
    VernaLines out;
    verna_convert_word("ABCA", 1, out);
    EXPECT_GE(out.size(), 1u);
    EXPECT_EQ(out.back(), "");
    EXPECT_FALSE(verna_load_rules("/nonexistent/portug.nrl"));
    EXPECT_EQ(verna_rule_count(), 0);
}

TEST_F(VernaLetterRules, AFileOfAnythingButRulesIsRefusedAtItsFirstBadLine) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"; rules\n(A)=a\n\n((((\n(B)=b\n", "bad.nrl:4: not a rule (left(letters)right=phonemes)"},
        {"(A)=a\n)(=\n", "bad.nrl:2: not a rule (left(letters)right=phonemes)"},
        {"(A\n", "bad.nrl:1: not a rule (left(letters)right=phonemes)"},
        {"(A)=a\n(B)b\n", "bad.nrl:2: not a rule (left(letters)right=phonemes)"},
        {"(A)=a\n\x01(\x01)=x\n", "bad.nrl:2: not a rule (left(letters)right=phonemes)"},
        {"Hello, world.\n", "bad.nrl:1: not a rule (left(letters)right=phonemes)"},
        {"", "bad.nrl: no rules"},
        {"; only a comment\n\n", "bad.nrl: no rules"},
    };
    for (const Case& c : cases) {
        rules("");
        EXPECT_FALSE(verna_load_rules_text(c.text, "bad.nrl")) << c.message;
        EXPECT_EQ(verna_rules_message(), c.message);
        EXPECT_EQ(verna_rule_count(), 0) << "nothing half-loaded stays";
    }
    // A line of a binary file that happens to hold the three delimiters.
    static const char binary[] = "(A)=a\n\x7f" "ELF\x02\x01\x01\0\0\0(=)\n";
    EXPECT_FALSE(verna_load_rules_text(std::string_view(binary, sizeof binary - 1), "bad.nrl"));
    EXPECT_EQ(verna_rules_message(), "bad.nrl:2: not a rule (left(letters)right=phonemes)");
}
