// Tests of the shared configuration lookup and its "@" expansion.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/config.h"
#include "platform/profile.h"
#include "temp_home.h"

namespace {

namespace fs = std::filesystem;

// Each test gets a Windows directory (TALUNE_HOME) and, inside it, a
// start-up directory (the current directory at the first lookup), both
// fresh and empty.
class Config : public TempHomeTest {
protected:
    void SetUp() override {
        TempHomeTest::SetUp();
        root_ = home_ = dir_.string();
        start_ = root_ + "/inicio";
        fs::create_directories(start_);
        old_cwd_ = fs::current_path();
        fs::current_path(start_);
    }
    void TearDown() override {
        fs::current_path(old_cwd_);
        TempHomeTest::TearDown();
    }
    static void write(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    void write_home(const std::string& text) { write(home_ + "/TALUNE.INI", text); }
    std::string root_, home_, start_;
    fs::path old_cwd_;
};

TEST_F(Config, StartupDirectoryIsRememberedAtFirstUse) {
    std::string first = config_startup_directory();
    EXPECT_EQ(first, fs::canonical(start_).string());
    fs::current_path(root_);
    EXPECT_EQ(config_startup_directory(), first);
    config_reset();
    EXPECT_EQ(config_startup_directory(), fs::canonical(root_).string());
}

TEST_F(Config, WindowsDirectoryCopyComesFirstThenStartupDirectory) {
    EXPECT_EQ(config_read_setting("SMORVELA", "DIRSMORVELA"), "");
    write(start_ + "/TALUNE.INI", "[SMORVELA]\nDIRSMORVELA=/inicio/jogo\n");
    EXPECT_EQ(config_read_setting("SMORVELA", "DIRSMORVELA"), "/inicio/jogo");
    write_home("[smorvela]\ndirsmorvela=/home/jogo\n");
    EXPECT_EQ(config_read_setting("SMORVELA", "DIRSMORVELA"), "/home/jogo");
    // The Windows directory's copy is used whole, even for keys it lacks.
    write_home("[OUTRA]\nK=v\n");
    EXPECT_EQ(config_read_setting("SMORVELA", "DIRSMORVELA"), "");
}

// The player's own copy, else the machine's shared one, else the start-up
// directory's; the direct lookups of the bare file name follow the same
// copy, and nothing but a file (or a link to a device) stands for one.
TEST_F(Config, PlayersCopyThenSharedCopyThenStartupDirectory) {
    write(start_ + "/TALUNE.INI", "[SMORVELA]\nDIRSMORVELA=/inicio/jogo\n[VIDEO]\nAMPLIF=2\n");
    EXPECT_EQ(config_read_setting("SMORVELA", "DIRSMORVELA"), "/inicio/jogo");

    write_system_file("TALUNE.INI", "[SMORVELA]\nDIRSMORVELA=/usr/share/games/fuga/som/\n[VIDEO]\nAMPLIF=4\n");
    EXPECT_EQ(config_read_setting("SMORVELA", "DIRSMORVELA"), "/usr/share/games/fuga/som/");
    EXPECT_EQ(config_file_path(), (system_dir_ / "TALUNE.INI").string());
    EXPECT_EQ(profile_read_string("VIDEO", "AMPLIF", "", "TALUNE.INI"), "4");

    // A directory of that name is no copy of the player's.
    fs::create_directory(home_ + "/TALUNE.INI");
    EXPECT_EQ(config_read_setting("SMORVELA", "DIRSMORVELA"), "/usr/share/games/fuga/som/");
    fs::remove(home_ + "/TALUNE.INI");

    write_home("[SMORVELA]\nDIRSMORVELA=/home/jogo\n");
    EXPECT_EQ(config_read_setting("SMORVELA", "DIRSMORVELA"), "/home/jogo");
    EXPECT_EQ(config_file_path(), home_ + "/TALUNE.INI");
    // The player's copy is used whole: the shared one fills in no key it lacks.
    EXPECT_EQ(profile_read_string("VIDEO", "AMPLIF", "", "TALUNE.INI"), "");

    // Named with a trailing "/", the shared directory is the same directory.
    fs::remove(home_ + "/TALUNE.INI");
    sys_set_env("TALUNE_SYSTEM_HOME", system_dir_.string() + "//");
    EXPECT_EQ(config_file_path(), (system_dir_ / "TALUNE.INI").string());
}

TEST_F(Config, EmptySectionMeansTaluneAndValuesStopAt255) {
    write_home("[TALUNE]\nPROG.TXT=/usr/bin/editor\nLONGA=" + std::string(400, 'a') + "\n");
    EXPECT_EQ(config_read_setting("", "PROG.TXT"), "/usr/bin/editor");
    EXPECT_EQ(config_read_setting("", "LONGA"), std::string(255, 'a'));
}

TEST_F(Config, AtSignsExpandToTheProgramDirectory) {
    write_home(
        "[TALUNE]\nPGMTALUNE=/opt/prog\n"
        "[T]\n"
        "SOM=@/som/\n"
        "WIN=@\\som\\\n"
        "X=@x\n"
        "MEIO=dados:@/som/\n"
        "DOIS=@/a:@/b\n"
        "DUPLO=@@x\n"
        "SEM=a@b\n");
    EXPECT_EQ(config_read_setting("T", "SOM"), "/opt/prog/som/");
    EXPECT_EQ(config_read_setting("T", "WIN"), "/opt/prog/som\\");
    EXPECT_EQ(config_read_setting("T", "X"), "/opt/progx");
    EXPECT_EQ(config_read_setting("T", "MEIO"), "dados:/opt/prog/som/");
    EXPECT_EQ(config_read_setting("T", "DOIS"), "/opt/prog/a:/opt/prog/b");
    EXPECT_EQ(config_read_setting("T", "DUPLO"), "/opt/prog@x");
    EXPECT_EQ(config_read_setting("T", "SEM"), "a@b");
}

TEST_F(Config, ProgramDirectoryFallsBackToStartupDirectory) {
    const std::string start = fs::canonical(start_).string();
    write_home("[TALUNE]\nPGMTALUNE=\n[T]\nSOM=@/som/\n");
    EXPECT_EQ(config_read_setting("T", "SOM"), start + "/som/");
    write_home("[TALUNE]\nPGMTALUNE=@/outra\n[T]\nSOM=@/som/\n");
    EXPECT_EQ(config_read_setting("T", "SOM"), start + "/som/");
    write_home("[T]\nSOM=@x\n");
    EXPECT_EQ(config_read_setting("T", "SOM"), start + "x");
}

TEST_F(Config, ProgramDirectoryWithAtSignsIsNotExpandedAgain) {
    write_home("[TALUNE]\nPGMTALUNE=/p@/q@\\r\n[T]\nSOM=@/som/\nX=@x\n");
    EXPECT_EQ(config_read_setting("T", "SOM"), "/p@/q@\\r/som/");
    EXPECT_EQ(config_read_setting("T", "X"), "/p@/q@\\rx");
    // Read as a setting, PGMTALUNE expands once in each of its own "@" places.
    EXPECT_EQ(config_read_setting("TALUNE", "PGMTALUNE"), "/p/p@/q@\\r/q/p@/q@\\r/r");
}

TEST_F(Config, FileIsReadOnceAndAgainOnlyWhenItChanges) {
    write_home("[SMORVELA]\nVELOCIDADE=3\n[TRADUTOR]\nVELOCIDADE=2\n");
    for (int i = 0; i < 62; ++i) {
        EXPECT_EQ(config_read_setting("SMORVELA", "VELOCIDADE"), "3");
        EXPECT_EQ(config_read_setting("TRADUTOR", "VELOCIDADE"), "2");
        EXPECT_EQ(config_read_setting("SERVFALA", "VOZ"), "");
    }
    EXPECT_EQ(config_file_loads(), 1);

    // The same size and modification time: the copy in memory still holds.
    const std::string path = home_ + "/TALUNE.INI";
    const auto before = fs::last_write_time(path);
    write_home("[SMORVELA]\nVELOCIDADE=4\n[TRADUTOR]\nVELOCIDADE=2\n");
    fs::last_write_time(path, before);
    EXPECT_EQ(config_read_setting("SMORVELA", "VELOCIDADE"), "3");
    EXPECT_EQ(config_file_loads(), 1);

    // An edit is seen at the next lookup, and so is the copy that applies
    // once the Windows directory's one is gone.
    write_home("[SMORVELA]\nVELOCIDADE=5\n");
    EXPECT_EQ(config_read_setting("SMORVELA", "VELOCIDADE"), "5");
    EXPECT_EQ(config_file_loads(), 2);
    write(start_ + "/TALUNE.INI", "[SMORVELA]\nVELOCIDADE=1\n");
    fs::remove(path);
    EXPECT_EQ(config_read_setting("SMORVELA", "VELOCIDADE"), "1");
    EXPECT_EQ(config_read_setting("SMORVELA", "VELOCIDADE"), "1");
    EXPECT_EQ(config_file_loads(), 3);
}

TEST_F(Config, OnlyTheFirstMegabyteOfAHugeOrEndlessFileCounts) {
    std::string text = "[T]\nPRIMEIRA=sim\n";
    const std::string comment = "; " + std::string(98, 'x') + "\n";
    while (text.size() < 3 * 1024 * 1024) text += comment;
    text += "ULTIMA=nao\n";
    write_home(text);
    EXPECT_EQ(config_read_setting("T", "PRIMEIRA"), "sim");
    EXPECT_EQ(config_read_setting("T", "ULTIMA"), "");
    EXPECT_TRUE(config_file_too_large());

    fs::remove(home_ + "/TALUNE.INI");
    fs::create_symlink("/dev/zero", start_ + "/TALUNE.INI");
    EXPECT_EQ(config_read_setting("T", "PRIMEIRA"), "");
    EXPECT_EQ(config_read_setting("T", "ULTIMA"), "");
    EXPECT_TRUE(config_file_too_large());

    // A link to a device in the Windows directory is the user's file, too
    // large, not a missing one that lets the other copy count.
    fs::remove(start_ + "/TALUNE.INI");
    write(start_ + "/TALUNE.INI", "[T]\nPRIMEIRA=sim\n");
    fs::create_symlink("/dev/zero", home_ + "/TALUNE.INI");
    EXPECT_EQ(config_file_path(), home_ + "/TALUNE.INI");
    EXPECT_EQ(config_read_setting("T", "PRIMEIRA"), "");
    EXPECT_TRUE(config_file_too_large());
    fs::remove(home_ + "/TALUNE.INI");
    EXPECT_EQ(config_read_setting("T", "PRIMEIRA"), "sim");
    EXPECT_FALSE(config_file_too_large());
}

}  // namespace
