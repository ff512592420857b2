// Tests of the private-profile reader.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/profile.h"
#include "temp_home.h"

namespace {

namespace fs = std::filesystem;

std::string read(const std::string& text, const std::string& section, const std::string& key,
                 const std::string& def = "DEF", size_t capacity = 256) {
    return profile_read_from_text(text, section, key, def, capacity);
}

class ProfileFile : public TempHomeTest {
protected:
    void write(const std::string& name, const std::string& text) { write_file(name, text); }
};

TEST(Profile, NamesCompareWithoutCaseAndFirstMatchWins) {
    const std::string ini =
        "[Video]\nFonte=Primeira\nFONTE=Segunda\n"
        "[VIDEO]\nlento=S\nFonte=Terceira\n";
    EXPECT_EQ(read(ini, "VIDEO", "fonte"), "Primeira");
    EXPECT_EQ(read(ini, "video", "FONTE"), "Primeira");
    // A key only in a later section of the same name is not seen.
    EXPECT_EQ(read(ini, "VIDEO", "LENTO"), "DEF");
    // Latin-1 accented letters fold too.
    EXPECT_EQ(read("[CONFIGURA\xC7\xC3O]\nN\xDAMERO=1\n", "configura\xE7\xE3o", "n\xFAmero"), "1");
}

TEST(Profile, BlanksAndQuotes) {
    const std::string ini =
        "  [ TALUNE ]  \n"
        "  A  =   um valor com espa\xE7os \t \n"
        "B=\"  entre aspas  \"\n"
        "C='simples'\n"
        "D=\"desiguais'\n"
        "E=\"\n"
        "F=\"\"\n"
        "G=\"a\"b\"\n";
    EXPECT_EQ(read(ini, "TALUNE", "A"), "um valor com espa\xE7os");
    EXPECT_EQ(read(ini, "TALUNE", "B"), "  entre aspas  ");
    EXPECT_EQ(read(ini, "TALUNE", "C"), "simples");
    EXPECT_EQ(read(ini, "TALUNE", "D"), "\"desiguais'");
    EXPECT_EQ(read(ini, "TALUNE", "E"), "\"");
    EXPECT_EQ(read(ini, "TALUNE", "F"), "");
    EXPECT_EQ(read(ini, "TALUNE", "G"), "a\"b");
}

TEST(Profile, LineEndsBomCommentsAndLinesBeforeSections) {
    const std::string ini =
        "\xEF\xBB\xBF"
        "X=antes\r\n"
        "; [S]\r\n"
        "[S]\r\n"
        ";X=comentado\r\n"
        "X=depois\r\n"
        "Y=ultimo";
    EXPECT_EQ(read(ini, "S", "X"), "depois");
    EXPECT_EQ(read(ini, "S", "Y"), "ultimo");
    // BOM directly before a section header.
    EXPECT_EQ(read("\xEF\xBB\xBF[S]\nK=v\n", "S", "K"), "v");
    // Lines without any section are never found.
    EXPECT_EQ(read("K=v\n", "", "K"), "DEF");
    EXPECT_EQ(read("", "S", "K"), "DEF");
}

TEST(Profile, EmptyValueIsNotMissing) {
    const std::string ini = "[VIDEO]\nCORFUNDO=\nCORLETRA=   \nsem igual\n";
    EXPECT_EQ(read(ini, "VIDEO", "CORFUNDO"), "");
    EXPECT_EQ(read(ini, "VIDEO", "CORLETRA"), "");
    EXPECT_EQ(read(ini, "VIDEO", "AUSENTE"), "DEF");
    // A line without "=" is not a key.
    EXPECT_EQ(read(ini, "VIDEO", "sem igual"), "DEF");
}

TEST(Profile, CapacityCutsValueAndDefault) {
    const std::string ini = "[S]\nK=abcdef\n";
    EXPECT_EQ(read(ini, "S", "K", "", 4), "abc");
    EXPECT_EQ(read(ini, "S", "K", "", 2), "a");
    EXPECT_EQ(read(ini, "S", "K", "", 1), "");
    EXPECT_EQ(read(ini, "S", "K", "", 0), "");
    EXPECT_EQ(read(ini, "S", "X", "padrao", 3), "pa");
    EXPECT_EQ(read(ini, "S", "K", "", 7), "abcdef");
}

TEST(Profile, LongLinesAndBinaryBytes) {
    std::string big(100 * 1024, 'x');
    std::string ini = "[S]\nLONGA=" + big + "\nDEPOIS=ok\n";
    EXPECT_EQ(read(ini, "S", "LONGA", "", big.size() + 1), big);
    EXPECT_EQ(read(ini, "S", "LONGA").size(), 255u);
    EXPECT_EQ(read(ini, "S", "DEPOIS"), "ok");
    // A 100 KB comment or section line does not swallow what follows.
    std::string ini2 = ";" + big + "\n[" + big + "]\n[S]\nK=v\n";
    EXPECT_EQ(read(ini2, "S", "K"), "v");

    std::string bin("[S]\nB=\x01\x80\xFF", 11);
    bin += std::string("\0tail\n", 6);
    bin += "C=\xE9\n";
    EXPECT_EQ(read(bin, "S", "B"), std::string("\x01\x80\xFF"));
    EXPECT_EQ(read(bin, "S", "C"), "\xE9");
}

TEST_F(ProfileFile, BareNameIsFoundInTheWindowsDirectory) {
    write("TALUNE.INI", "[TRADUTOR]\r\nDIRLETRAS=/som/letras/\r\n");
    EXPECT_EQ(profile_read_string("tradutor", "dirletras", "x", "TALUNE.INI"), "/som/letras/");
    EXPECT_EQ(profile_read_string("TRADUTOR", "DIRLETRAS", "x", (dir_ / "TALUNE.INI").string()), "/som/letras/");
    EXPECT_EQ(profile_read_string("TRADUTOR", "DIRLETRAS", "x", "TALUNE.INI", 5), "/som");
}

TEST_F(ProfileFile, MissingOrUnreadableFileGivesDefault) {
    EXPECT_EQ(profile_read_string("S", "K", "padrao", "NADA.INI"), "padrao");
    EXPECT_EQ(profile_read_string("S", "K", "padrao", (dir_ / "nada" / "NADA.INI").string()), "padrao");
    fs::create_directory(dir_ / "PASTA.INI");
    EXPECT_EQ(profile_read_string("S", "K", "padrao", "PASTA.INI"), "padrao");
}

}  // namespace

TEST(Profile, IndexGivesTheSameAnswersAsTheLookup) {
    const std::string texts[] = {
        "\xEF\xBB\xBF[A]\nk=1\nK=2\n[b]\nk=3\n[a]\nk=4\nj=5\n",
        "k=0\n[ A ]\n  k  =  \"q\"  \n[A]\nz=9\n[]\nk=e\n[B\n=v\nk=b\n",
        std::string("[A]\nk=x\0y\n[\xE9]\n\xC9T=\xE1\n;[B]\n[B]x\nk='b'\n", 45),
        "[A]\r\nk=1\r\n\r\n[A]\r\nk=2\r\n[C]\r\n",
    };
    const std::string names[] = {"A", "a", "B", "b", " A ", "", "\xC9", "\xE9", "C", "k", "K", "j", "z",
                                 "\xC9T", "\xE9t", "x", "A\nk"};
    for (const std::string& text : texts) {
        ProfileIndex index;
        profile_build_index(text, index);
        for (const std::string& section : names) {
            for (const std::string& key : names) {
                std::string want, got;
                bool found = profile_lookup(text, section, key, want);
                EXPECT_EQ(profile_index_lookup(index, section, key, got), found) << section << "/" << key;
                EXPECT_EQ(got, found ? want : "") << section << "/" << key;
            }
        }
    }
}
