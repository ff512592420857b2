// Tests of opening documents, programs and addresses: the command chosen from
// the PROG. keys, and what really runs, against recording stand-ins for the
// desktop's opener and for configured programs on PATH.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "platform/os.h"
#include "platform/config.h"
#include "speech/open_help.h"
#include "system_support.h"
#include "temp_home.h"

namespace {

namespace fs = std::filesystem;

// A stand-in writes its name, its argument count and each argument in
// brackets to $FUGA_TEST_RECORD, atomically.
const char* const STAND_IN =
    "#!/bin/sh\n"
    "{ basename \"$0\"; echo \"$#\"; for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done; } "
    "> \"$FUGA_TEST_RECORD.tmp\" && mv \"$FUGA_TEST_RECORD.tmp\" \"$FUGA_TEST_RECORD\"\n";

// The Windows directory holds the configuration and, beside it, the
// stand-ins and the directories the targets are opened from.
class OpenHelp : public TempHomeTest {
protected:
    void SetUp() override {
        TempHomeTest::SetUp();
        root_ = dir_;
        fs::create_directories(root_ / "bin");
        fs::create_directories(root_ / "work");
        fs::create_directories(root_ / "abs");
        write_script(root_ / "bin" / "xdg-open");
        write_script(root_ / "bin" / "editor-standin");
        write_script(root_ / "bin" / "browser-standin");
        write_script(root_ / "work" / "jogo.exe");
        write_script(root_ / "abs" / "jogo.exe");
        record_ = root_ / "record";
        save("PATH", old_path_, had_path_);
        sys_set_env("PATH", ((root_ / "bin").string() + ":" + old_path_));
        sys_set_env("FUGA_TEST_RECORD", record_);
        old_cwd_ = fs::current_path();
        fs::current_path(root_ / "work");
        settings("");
    }
    void TearDown() override {
        fs::current_path(old_cwd_);
        restore("PATH", old_path_, had_path_);
        sys_unset_env("FUGA_TEST_RECORD");
        TempHomeTest::TearDown();
    }

    static void save(const char* name, std::string& value, bool& had) {
        const char* v = std::getenv(name);
        had = v != nullptr;
        value = v ? v : "";
    }
    static void restore(const char* name, const std::string& value, bool had) {
        if (had) sys_set_env(name, value);
        else sys_unset_env(name);
    }
    static void write_script(const fs::path& path) {
        std::ofstream(path) << STAND_IN;
        fs::permissions(path, fs::perms::owner_all);
    }
    void settings(const std::string& talune_keys) {
        std::ofstream(root_ / "TALUNE.INI") << "[TALUNE]\n" << talune_keys;
        config_reset();
    }

    // Opens the target and returns what the stand-in recorded, "" when
    // nothing was recorded within a few seconds.
    std::string open(const std::string& target, int wait_ms = 5000) {
        fs::remove(record_);
        speech_open_help(target);
        for (int i = 0; i < wait_ms / 10 && !fs::exists(record_); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::ifstream in(record_);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    fs::path root_, record_, old_cwd_;
    std::string old_path_;
    bool had_path_ = false;
};

TEST_F(OpenHelp, CommandChoice) {
    settings("PROG.TXT=editor-standin\nPROG.HTM=browser-standin\n");
    HelpCommand c = speech_help_command("manual.txt", "/w");
    EXPECT_EQ(c.program, "editor-standin");
    EXPECT_EQ(c.argument, "manual.txt");
    c = speech_help_command("notas.doc", "/w");
    EXPECT_EQ(c.program, "");
    EXPECT_EQ(c.argument, "notas.doc");
    c = speech_help_command("jogo.exe", "/w");
    EXPECT_EQ(c.program, "/w/jogo.exe");
    EXPECT_EQ(c.argument, "");
    c = speech_help_command("JOGO.Com", "/");
    EXPECT_EQ(c.program, "/JOGO.Com");
    c = speech_help_command("/x/jogo.exe", "/w");
    EXPECT_EQ(c.program, "/x/jogo.exe");
    c = speech_help_command("www.exemplo.com.br", "/w");
    EXPECT_EQ(c.program, "browser-standin");
    EXPECT_EQ(c.argument, "www.exemplo.com.br");
    c = speech_help_command("https://exemplo.com", "/w");
    EXPECT_EQ(c.program, "browser-standin");
    // Upper-case scheme: a document whose extension follows the first full
    // stop ("EXE" here, so it would be run as a program).
    c = speech_help_command("HTTP://www.x.org", "/w");
    EXPECT_EQ(c.program, "");
    EXPECT_EQ(c.argument, "HTTP://www.x.org");
    // The extension is at most three characters after the first full stop.
    c = speech_help_command("texto.txt.exe", "/w");
    EXPECT_EQ(c.program, "editor-standin");
    c = speech_help_command("a.txtx", "/w");
    EXPECT_EQ(c.program, "editor-standin");
    // Relative paths: their dots are not the extension.
    c = speech_help_command("./jogo.exe", "/w");
    EXPECT_EQ(c.program, "/w/./jogo.exe");
    c = speech_help_command("../notas.txt", "/w");
    EXPECT_EQ(c.program, "editor-standin");
    EXPECT_EQ(c.argument, "../notas.txt");
    c = speech_help_command("v1.2/notas.txt", "/w");
    EXPECT_EQ(c.program, "editor-standin");
    // Only a whole ".com" or ".exe" is a program.
    c = speech_help_command("manual.compendio", "/w");
    EXPECT_EQ(c.program, "");
    EXPECT_EQ(c.argument, "manual.compendio");
    c = speech_help_command("jogo.exe2", "/w");
    EXPECT_EQ(c.program, "");
    // Backslashes and drive letters are characters of a name here.
    c = speech_help_command("C:\\Jogos\\jogo.exe", "/w");
    EXPECT_EQ(c.program, "/w/C:\\Jogos\\jogo.exe");
    // Without PROG.HTM an address goes to the system's association.
    settings("");
    c = speech_help_command("www.exemplo.com.br", "/w");
    EXPECT_EQ(c.program, "");
    EXPECT_EQ(c.argument, "www.exemplo.com.br");
}

TEST_F(OpenHelp, DocumentsWithAndWithoutTheirProgram) {
    EXPECT_EQ(open("manual.txt"), "xdg-open\n1\n[manual.txt]\n");
    settings("PROG.TXT=editor-standin\n");
    EXPECT_EQ(open("manual.txt"), "editor-standin\n1\n[manual.txt]\n");
    EXPECT_EQ(open("MANUAL.TXT"), "editor-standin\n1\n[MANUAL.TXT]\n");
}

TEST_F(OpenHelp, AccentedNamesReachTheOpenerInUtf8) {
    EXPECT_EQ(open("a\xE7\xE3o.txt"), "xdg-open\n1\n[ação.txt]\n");
    write_script(root_ / "work" / "pontuação.exe");
    EXPECT_EQ(open("./pontua\xE7\xE3o.exe"), "pontuação.exe\n0\n");
}

TEST_F(OpenHelp, ProgramsRunFromTheCurrentDirectoryOrTheirPath) {
    EXPECT_EQ(open("jogo.exe"), "jogo.exe\n0\n");
    EXPECT_EQ(open("./jogo.exe"), "jogo.exe\n0\n");
    fs::remove(root_ / "work" / "jogo.exe");
    EXPECT_EQ(open((root_ / "abs" / "jogo.exe").string()), "jogo.exe\n0\n");
    // A program that is not there opens nothing.
    EXPECT_EQ(open("jogo.exe", 500), "");
}

// A directory of the program's name comes first on PATH, or is named
// outright: it is passed over, never "found" and then failing to run.
TEST_F(OpenHelp, ADirectoryIsNoProgram) {
    fs::create_directories(root_ / "first" / "editor-standin");
    sys_set_env("PATH", (root_ / "first").string() + ":" + (root_ / "bin").string());
    EXPECT_EQ(os_find_program("editor-standin"), (root_ / "bin" / "editor-standin").string());
    EXPECT_EQ(os_find_program((root_ / "first" / "editor-standin").string()), "");
    EXPECT_EQ(os_find_program((root_ / "bin" / "editor-standin").string()), (root_ / "bin" / "editor-standin").string());
}

TEST_F(OpenHelp, Addresses) {
    settings("PROG.HTM=browser-standin\n");
    EXPECT_EQ(open("www.exemplo.com.br"), "browser-standin\n1\n[www.exemplo.com.br]\n");
    EXPECT_EQ(open("http://exemplo.com/a?b=1&c=2"), "browser-standin\n1\n[http://exemplo.com/a?b=1&c=2]\n");
    EXPECT_EQ(open("HTTP://EXEMPLO.ORG"), "xdg-open\n1\n[HTTP://EXEMPLO.ORG]\n");
    // Its extension can make it a program name, which is not there.
    EXPECT_EQ(open("HTTP://EXEMPLO.COM", 500), "");
}

TEST_F(OpenHelp, HostileTargetsRunNothingButTheStandIn) {
    std::string marker = (root_ / "marker").string();
    const std::string targets[] = {
        "a;touch " + marker, "$(touch " + marker + ")", "`touch " + marker + "`", "a|touch " + marker,
        "a&&touch " + marker + ".txt", "'\"; touch " + marker + "; \"'",
    };
    for (const std::string& t : targets) {
        EXPECT_EQ(open(t), "xdg-open\n1\n[" + t + "]\n") << t;
    }
    // An option-like target cannot be taken for an option.
    EXPECT_EQ(open("-e"), "xdg-open\n1\n[./-e]\n");
    settings("PROG.TXT=editor-standin\n");
    EXPECT_EQ(open("--help.txt"), "editor-standin\n1\n[./--help.txt]\n");
    // The longest target is passed whole as one argument; a longer one is cut.
    std::string long_target = std::string(251, 'a') + ".txt";
    EXPECT_EQ(open(long_target), "editor-standin\n1\n[" + long_target + "]\n");
    EXPECT_EQ(open(long_target + "xyz"), "editor-standin\n1\n[" + long_target + "]\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(fs::exists(marker));
    EXPECT_FALSE(fs::exists(marker + ".txt"));
}

TEST_F(OpenHelp, SpawnReturnsAtOnceAndLeavesNoZombie) {
    std::ofstream(root_ / "bin" / "slow") << "#!/bin/sh\nsleep 1\n";
    fs::permissions(root_ / "bin" / "slow", fs::perms::owner_all);
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(os_spawn_detached("slow", ""));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_FALSE(os_spawn_detached("", "x"));
    EXPECT_FALSE(os_spawn_detached("no-such-program-here", "x"));
    // Once the child has ended it has been reaped: no child is left to wait
    // for (WNOWAIT looks without taking it away from the reaper).
    bool gone = false;
    for (int i = 0; i < 400 && !gone; ++i) {
        siginfo_t info{};
        gone = waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) < 0 && errno == ECHILD;
        if (!gone) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(gone);
}

}  // namespace
