// The rule engine on small rule sets of the tests' own: normalisation, word
// scanning, exceptions, stress marking, spelling, rule matching and loading.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

#include "diphone/rules.h"
#include "diphone/rules_text.h"

namespace {

// A minimal rule set: one output per letter, so that the tests see which
// letters reached the rules, and which vowel carries the stress.
const char* const k_letters =
    "(A)=a|\n(B)=b|\n(C)=k|\n(D)=d|\n(E)=e|\n(F)=f|\n(G)=g|\n(H)=h|\n(I)=i|\n(J)=j|\n(K)=k|\n(L)=l|\n"
    "(M)=m|\n(N)=n|\n(O)=o|\n(P)=p|\n(Q)=q|\n(R)=r|\n(S)=s|\n(T)=t|\n(U)=u|\n(V)=v|\n(X)=x|\n(Z)=z|\n";

class Rules : public ::testing::Test {
protected:
    void SetUp() override { rules_reset(); }
    void TearDown() override { rules_reset(); }

    static void load(const std::string& rules, const std::string& exceptions = "") {
        ASSERT_TRUE(rules_load_text(rules, "test.rgr"));
        ASSERT_TRUE(rules_load_exceptions_text(exceptions, "test.exc"));
    }
    static std::string stressed(const char* text) {
        size_t pos = 0;
        RulesWord w;
        std::string normal = rules_normalize(text);
        if (!rules_next_word(normal, pos, w)) return "";
        rules_apply_exceptions(w);
        rules_mark_stress(w);
        return std::string(w.text, static_cast<size_t>(w.len));
    }
    static std::string temp_file(const char* name, const std::string& content) {
        std::string path = ::testing::TempDir() + name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
};

}  // namespace

TEST_F(Rules, NormalisationOfWYApostropheAndControlCharacters) {
    EXPECT_EQ(rules_normalize("Walter"), "ualter");
    EXPECT_EQ(rules_normalize("W"), "W");
    EXPECT_EQ(rules_normalize("a W b"), "a W b");
    EXPECT_EQ(rules_normalize("y"), "i");
    EXPECT_EQ(rules_normalize("x y z"), "x i z");
    EXPECT_EQ(rules_normalize("y."), "y.");  // not alone and no letter beside it
    EXPECT_EQ(rules_normalize("Yara"), "iara");
    EXPECT_EQ(rules_normalize("d'\xE1gua"), "da'gua");
    EXPECT_EQ(rules_normalize("o'clock"), "o'clock");
    EXPECT_EQ(rules_normalize("a\tb"), "a \x01 b");
    EXPECT_EQ(rules_normalize(std::string("\0", 1)), " \x01 ");
}

TEST_F(Rules, AccentTableCoversWindowsAndDosCodes) {
    EXPECT_EQ(rules_normalize("\xE7"), "ss");  // c cedilla
    EXPECT_EQ(rules_normalize("\xE3"), "a~");
    EXPECT_EQ(rules_normalize("\x87\x80"), "ssss");  // DOS c cedilla, both cases
    EXPECT_EQ(rules_normalize("\xE9\x82\x90"), "e'e'e'");
    EXPECT_EQ(rules_normalize("\xF5\xF4\xF3"), "o~o^o'");
    EXPECT_EQ(rules_normalize("\xFC\x81"), "uu\"");
    EXPECT_EQ(rules_normalize("\xF1\xA4"), "nhnh");
    EXPECT_EQ(rules_normalize("\xE6\x92\x98"), "ae-y-");
    EXPECT_EQ(rules_normalize("\xA7\xAB\xBB"), "\xA7\xAA\xBA");
    EXPECT_EQ(rules_normalize("\xAE\xAF\xBF\xAD"), "\"\"?!");
    // Codes without an entry cannot be spoken.
    EXPECT_EQ(rules_normalize("\x9B\xFF\xB0"), " \x01  \x01  \x01 ");
}

TEST_F(Rules, StressMarkingByTheScan) {
    EXPECT_EQ(stressed("casa"), "cAsa");
    EXPECT_EQ(stressed("papel"), "papEl");
    EXPECT_EQ(stressed("tatu"), "tatU");
    EXPECT_EQ(stressed("caf\xE9"), "cafe'");  // the written accent is the mark
    EXPECT_EQ(stressed("alto"), "Alto");      // decided at the first letter, and applied
    EXPECT_EQ(stressed("uso"), "Uso");        // an i or u at the first letter with nothing before it
    EXPECT_EQ(stressed("isso"), "Isso");
    EXPECT_EQ(stressed("tido"), "tIdo");      // "mark next" decided at the first letter
    EXPECT_EQ(stressed("sol"), "sOl");        // one vowel, but a final l
    EXPECT_EQ(stressed("mar"), "mar");        // one vowel: not scanned
    EXPECT_EQ(stressed("bcd"), "bcd");
    EXPECT_EQ(stressed("homens"), "hOmens");
    EXPECT_EQ(stressed("jardim"), "jardIm");
    EXPECT_EQ(stressed("marrom"), "marrOm");
    EXPECT_EQ(stressed("falam"), "fAlam");
    EXPECT_EQ(stressed("frio"), "frIo");  // i before a final vowel after a consonant
    EXPECT_EQ(stressed("rio"), "rIo");    // the same decision, taken at the first letter
    EXPECT_EQ(stressed("saia"), "sAia");  // i between vowels
    EXPECT_EQ(stressed("rainha"), "raInha");
    EXPECT_EQ(stressed("cuida"), "cUida");
    EXPECT_EQ(stressed("caiu"), "caIu");
    // qu and gu before a final i keep the stress on the i; a u after another
    // vowel does not.
    EXPECT_EQ(stressed("aqui"), "aquI");
    EXPECT_EQ(stressed("seguir"), "seguIr");
    EXPECT_EQ(stressed("uruguai"), "uruguAi");
    EXPECT_EQ(stressed("lingui\xE7\x61"), "linguIssa");
    // A diaeresis is no accent: the word is scanned.
    EXPECT_EQ(stressed("ag\x81\x65ntar"), "agu\"entAr");
}

TEST_F(Rules, SpelledWordsAndTheirGroups) {
    load(k_letters);
    EXPECT_EQ(rules_text_to_phonemes("BH"), "[ /_b][ /_h]");
    EXPECT_EQ(rules_text_to_phonemes("SP"), "[ /_s][ /_p]");
    EXPECT_EQ(rules_text_to_phonemes("."), "[ /_.]");
    EXPECT_EQ(rules_text_to_phonemes("W"), "[ /_w]");
    EXPECT_EQ(rules_text_to_phonemes("a\tb"), "[a][ /_\x01][ /_b]");
    EXPECT_EQ(rules_text_to_phonemes("y"), "[i]");
    EXPECT_EQ(rules_text_to_phonemes("Walter"), "[u/a/l/t/E/r]");
    EXPECT_EQ(rules_text_to_phonemes("d'\xE1gua"), "[d/a/ /_'/g/u/a]");
    EXPECT_EQ(rules_text_to_phonemes("   "), "");
    EXPECT_EQ(rules_text_to_phonemes("ca\xE7\x61"), "[k/A/s/s/a]");
}

TEST_F(Rules, RuleConversionAndTheStressMark) {
    // The first rule of the list that fits wins.
    load("(C)=k|\n(A)=ah|\n(SA)=za|\n(S)=s|\n(SS)=never|\n");
    EXPECT_EQ(rules_text_to_phonemes("casa"), "[k/Ah/za]");
    EXPECT_EQ(rules_text_to_phonemes("cassa"), "[k/Ah/s/za]");
    // The stress mark goes to the first vowel of the output of the rule that
    // starts at the stressed letter, and is lost on an output without one.
    load("(C)=k|\n(A)=|\n(SA)=za|\n(CA)=ka|\n");
    EXPECT_EQ(rules_text_to_phonemes("casa"), "[k//za]");
    load("(CA)=ka|\n(SA)=za|\n(A)=|\n(S)=s|\n");
    EXPECT_EQ(rules_text_to_phonemes("casa"), "[ka/za]");
    // A letter without a rule, or outside the lists, is the letter itself.
    EXPECT_EQ(rules_text_to_phonemes("cab"), "[ka/ /_B]");
    EXPECT_EQ(rules_text_to_phonemes("~"), "[ /_~]");
}

TEST_F(Rules, LeftContextSymbols) {
    load("#(B)=V|\n%(B)=S|\n](C)=AO|\n_(D)=U|\n|(F)=NRS|\nXT(G)=XT|\n(B)=b|\n(C)=c|\n(D)=d|\n(F)=f|\n(G)=g|\n"
         "(A)=a|\n(E)=e|\n(I)=i|\n(N)=n|\n(O)=o|\n(U)=u|\n(X)=x|\n(T)=t|\n");
    EXPECT_EQ(rules_text_to_phonemes("bab"), "[S/a/V]");
    EXPECT_EQ(rules_text_to_phonemes("anb"), "[a/n/b]");
    EXPECT_EQ(rules_text_to_phonemes("ac oc o'c ec uc"), "[a/AO][o/AO][o/ /_'/AO][e/c][u/c]");
    EXPECT_EQ(rules_text_to_phonemes("da ad a'd tda"), "[U/a][a/U][a/ /_'/U][t/d/a]");
    EXPECT_EQ(rules_text_to_phonemes("anf atf"), "[a/n/NRS][a/t/f]");
    EXPECT_EQ(rules_text_to_phonemes("axtg atg"), "[a/x/t/XT][a/t/g]");
    // "#" passes a whole run of vowels and marks.
    load("#T(B)=run|\n(B)=b|\n(T)=t|\n(A)=a|\n(E)=e|\n");
    EXPECT_EQ(rules_text_to_phonemes("ae'tb tba"), "[a/e/ /_'/t/run][t/b/a]");
}

TEST_F(Rules, RightContextSymbols) {
    load("(B)#T=V|\n(B)%=E|\n(C)*=K|\n(D)+D=FV|\n(F)[=C|\n(G)\\%=S|\n(H)&&=L|\n(B)=b|\n(C)=c|\n(D)=d|\n"
         "(F)=f|\n(G)=g|\n(H)=h|\n(A)=a|\n(E)=e|\n(I)=i|\n(R)=r|\n(T)=t|\n(L)=l|\n(M)=m|\n(S)=s|\n");
    EXPECT_EQ(rules_text_to_phonemes("bae't ab"), "[V/a/e/ /_'/t][a/E]");
    EXPECT_EQ(rules_text_to_phonemes("act acr ach acl"), "[a/K/t][a/c/r][a/K/h][A/c/l]");
    EXPECT_EQ(rules_text_to_phonemes("did de'd dad"), "[FV/i/d][FV/e/ /_'/d][d/a/d]");
    EXPECT_EQ(rules_text_to_phonemes("af aft afh afa"), "[a/C][a/C/t][a/f/h][A/f/a]");
    EXPECT_EQ(rules_text_to_phonemes("ag ags agt"), "[a/S][a/S/s][a/g/t]");
    EXPECT_EQ(rules_text_to_phonemes("ahlm ahl"), "[a/L/l/m][A/h/l]");
}

TEST_F(Rules, ExceptionsWithTheSuffixLoop) {
    load(k_letters, "casa=kaza|\nbom=bon|\nte=xe|ignored\n\nmesmo\n");
    EXPECT_EQ(stressed("casa"), "kAza");
    EXPECT_EQ(stressed("casas"), "kAzas");  // found as casa, s put back before stress marking
    EXPECT_EQ(stressed("bons"), "bons");    // not bom: only the word's own last letters come off
    EXPECT_EQ(stressed("tems"), "xems");    // "ms" loses both letters in turn
    EXPECT_EQ(stressed("s"), "s");
    EXPECT_EQ(stressed("te"), "xe");
    // A line without "=" keys its text and a bar, so it never matches.
    EXPECT_EQ(stressed("mesmo"), "mEsmo");
    EXPECT_EQ(rules_exception_count(), 4);
    // The counts are those of the scanned word: one vowel, not scanned.
    load(k_letters, "sal=salada|\n");
    EXPECT_EQ(stressed("sal"), "salada");
}

TEST_F(Rules, ExceptionsAreSortedAndTheFirstOfEqualKeysWins) {
    load(k_letters, "zzz=c|\naaa=b|\nmmm=a|\nmmm=z|\n");
    EXPECT_EQ(stressed("aaa"), "b");
    EXPECT_EQ(stressed("mmm"), "a");
    EXPECT_EQ(stressed("zzz"), "c");
    EXPECT_NE(rules_last_message().find("test.exc:4:"), std::string::npos) << rules_last_message();
}

TEST_F(Rules, ExceptionsLinesAndCapacity) {
    // A line longer than 255 characters is skipped, not cut into an entry.
    std::string longline = std::string(300, 'k') + "=x|\n";
    load(k_letters, longline + "ok=fim|\n");
    EXPECT_EQ(rules_exception_count(), 1);
    EXPECT_EQ(stressed("ok"), "fim");
    EXPECT_EQ(stressed(std::string(255, 'k').c_str()), std::string(255, 'k'));
    EXPECT_NE(rules_last_message().find("test.exc:1:"), std::string::npos);
    // A line of 255 characters without "=" still keys its text and a bar.
    load(k_letters, std::string(255, 'k') + "\n");
    EXPECT_EQ(rules_exception_count(), 1);
    EXPECT_EQ(stressed(std::string(255, 'k').c_str()), std::string(255, 'k'));
    EXPECT_TRUE(rules_last_message().empty());
    // 15000 entries at most; the rest is ignored.
    std::string many;
    for (int i = 0; i < RULES_MAX_EXCEPTIONS + 5; ++i) many += "w" + std::to_string(i) + "=x|\n";
    load(k_letters, many);
    EXPECT_EQ(rules_exception_count(), RULES_MAX_EXCEPTIONS);
    EXPECT_NE(rules_last_message().find("15000"), std::string::npos);
    // A replacement and its suffix never overflow the word buffer.
    load(k_letters, "a=" + std::string(250, 'b') + "|\n");
    EXPECT_EQ(stressed(("a" + std::string(20, 's')).c_str()).size(), static_cast<size_t>(RULES_MAX_WORD));
}

TEST_F(Rules, RuleLinesCutToTheirCapacities) {
    ASSERT_TRUE(rules_load_text("ABCDEFG(HIJKLMN)OPQRSTU=0123456789ABCDEF|comment\n", "t.rgr"));
    EXPECT_EQ(rules_rule_count(), 1);
    // Each part keeps its first characters: left ABCDE, match HIJKL, right
    // OPQRS, output 0123456789A.
    EXPECT_EQ(rules_text_to_phonemes("abcdehijklopqrs"), "[ /_A/ /_B/ /_C/ /_D/ /_E/0123456789A/ /_O/ /_P/ /_Q/ /_R/ /_S]");
    // Missing delimiters empty the parts after them.
    ASSERT_TRUE(rules_load_text("(A\n(B)X\n(C)=\n", "t.rgr"));
    EXPECT_EQ(rules_rule_count(), 3);
    EXPECT_EQ(rules_text_to_phonemes("ab bxa ca"), "[/ /_B][/ /_X/][/]");
}

TEST_F(Rules, RuleLinesThatCannotBeListed) {
    ASSERT_TRUE(rules_load_text("; a comment line\n\n()=x|\n(a)=x|\n(B)=b|\n", "t.rgr"));
    EXPECT_EQ(rules_rule_count(), 1);
    EXPECT_EQ(rules_last_message().rfind("t.rgr:3:", 0), 0u) << rules_last_message();
    ASSERT_TRUE(rules_load_text("(\x80)=x|\n(B)=b|\n", "t.rgr"));
    EXPECT_EQ(rules_rule_count(), 1);
    EXPECT_NE(rules_last_message().find("t.rgr:1:"), std::string::npos);
    // Rules of one letter apart from each other still form its list, in file order.
    ASSERT_TRUE(rules_load_text("(B)X=first|\n(C)=c|\n(B)=second|\n", "t.rgr"));
    EXPECT_EQ(rules_text_to_phonemes("bxa ba"), "[first/ /_X/ /_A][second/ /_A]");
    EXPECT_TRUE(rules_last_message().empty());
}

TEST_F(Rules, LoadersAndTheirLifecycle) {
    EXPECT_FALSE(rules_load("/nonexistent/regras.rgr"));
    EXPECT_NE(rules_last_message().find("/nonexistent/regras.rgr"), std::string::npos);
    EXPECT_FALSE(rules_load_exceptions("/nonexistent/portug.exc"));
    // A directory is no rule file: it opens on Linux but cannot be read,
    // and does not open at all on Windows.
    EXPECT_FALSE(rules_load(::testing::TempDir()));
    std::string refused = rules_last_message();
    EXPECT_TRUE(refused.find("cannot be read") != std::string::npos ||
                refused.find("cannot be opened") != std::string::npos)
        << refused;
    EXPECT_FALSE(rules_load_exceptions(::testing::TempDir()));

    std::string rgr = temp_file("rules_test.rgr", "(A)=a|\n(B)=b|\r\n");
    std::string exc = temp_file("rules_test.exc", "ab=ba|\r\n");
    ASSERT_TRUE(rules_load(rgr));
    ASSERT_TRUE(rules_load_exceptions(exc));
    EXPECT_EQ(rules_text_to_phonemes("ab"), "[b/a]");
    // Freeing keeps the exceptions; loading the rules again empties them.
    rules_free();
    EXPECT_EQ(rules_rule_count(), 0);
    EXPECT_EQ(rules_exception_count(), 1);
    EXPECT_EQ(rules_text_to_phonemes("ab"), "[ /_B/ /_A]");
    ASSERT_TRUE(rules_load(rgr));
    EXPECT_EQ(rules_exception_count(), 0);
    std::remove(rgr.c_str());
    std::remove(exc.c_str());

    // More rules than the tables hold: refused, and nothing stays loaded.
    std::string many;
    for (int i = 0; i <= RULES_MAX_RULES; ++i) many += "(A)=a|\n";
    EXPECT_FALSE(rules_load_text(many, "big.rgr"));
    EXPECT_EQ(rules_rule_count(), 0);
    EXPECT_NE(rules_last_message().find("big.rgr:4001:"), std::string::npos);
}

TEST_F(Rules, LongWordsAreSpokenInPieces) {
    load(k_letters);
    std::string word(600, 'a');
    std::string out = rules_text_to_phonemes(word);
    // 255 + 255 + 90 letters, each piece its own group.
    EXPECT_EQ(std::count(out.begin(), out.end(), '['), 3);
    EXPECT_EQ(std::count(out.begin(), out.end(), 'a') + std::count(out.begin(), out.end(), 'A'), 600);
}
