// The Windows system services against the real facilities (under Wine in
// CI): child programs over pipes, command-line quoting, the shell's "open",
// the registry, the settings directory, temporary files, libraries, clocks
// and file identity.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/os.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "platform/win32/command_line.h"
#include "speech/open_help.h"

namespace fs = std::filesystem;

namespace {

std::string read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A fresh directory, removed again at the end of the test.
class Win32Dir : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("fuga-win32-" + std::to_string(GetCurrentProcessId()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    fs::path dir_;
};

// Runs the child to its end: all of `data` written, its input closed, all
// of its output collected.
OsChildIo run_to_end(OsChild& child, const std::string& data, std::string& out, std::string& err) {
    size_t written = 0;
    for (int rounds = 0; rounds < 100000; ++rounds) {
        OsChildIo r = os_child_exchange(child, data.data(), data.size(), written, out, err, 50);
        if (written == data.size() && child.input >= 0) os_child_close_input(child);
        if (r == OsChildIo::Ended || r == OsChildIo::Failed) return r;
    }
    return OsChildIo::Idle;
}

TEST(Win32CommandLine, ArgumentsReachTheChildExactly) {
    const fs::path out = fs::temp_directory_path() / ("fuga-args-" + std::to_string(GetCurrentProcessId()));
    const std::string out_name = out.string();
    std::vector<std::string> args = {"plain", "two words", "", "say \"hi\"", "trailing\\", "dir with blank\\",
                                     "a\\\\b", "back\\\"slash", "tab\there", "ação"};
    std::vector<const char*> argv = {WIN32_CHILD_ECHO, "args", out_name.c_str()};
    for (const std::string& a : args) argv.push_back(a.c_str());
    argv.push_back(nullptr);
    OsChild child;
    ASSERT_TRUE(os_child_start(argv.data(), child));
    std::string o, e;
    EXPECT_EQ(run_to_end(child, "", o, e), OsChildIo::Ended);
    EXPECT_EQ(os_child_finish(child, false), 0);
    std::string expected;
    for (const std::string& a : args) expected += a + "\n";
    EXPECT_EQ(read_file(out), expected);
    fs::remove(out);

    // A line end cannot be carried by a command line at all.
    const char* broken[] = {"x", "two\nlines", nullptr};
    EXPECT_EQ(win32_command_line(broken), "");
    const char* simple[] = {"mbrola", "-e", "C:\\voz\\br1", "-", "-", nullptr};
    EXPECT_EQ(win32_command_line(simple), "mbrola -e C:\\voz\\br1 - -");
}

TEST(Win32ChildProcess, ExchangesMoreThanAPipeHoldsBothWaysAndReportsTheExitCode) {
    std::string data;
    for (int i = 0; data.size() < 300000; ++i) data += "linha " + std::to_string(i) + "\n";
    const char* argv[] = {WIN32_CHILD_ECHO, "echo", "7", nullptr};
    OsChild child;
    ASSERT_TRUE(os_child_start(argv, child));
    EXPECT_GE(child.pid, 0);
    std::string out, err;
    EXPECT_EQ(run_to_end(child, data, out, err), OsChildIo::Ended);
    EXPECT_EQ(out, data);
    EXPECT_EQ(err, "read " + std::to_string(data.size()) + "\n");
    EXPECT_EQ(os_child_finish(child, false), 7);
    EXPECT_EQ(child.pid, -1);
    EXPECT_EQ(os_child_finish(child, false), -1);
}

TEST(Win32ChildProcess, AKilledChildAndAMissingProgram) {
    const char* argv[] = {WIN32_CHILD_ECHO, "wait", nullptr};
    OsChild child;
    ASSERT_TRUE(os_child_start(argv, child));
    size_t written = 0;
    std::string out, err;
    EXPECT_EQ(os_child_exchange(child, "", 0, written, out, err, 20), OsChildIo::Idle);
    EXPECT_EQ(os_child_finish(child, true), 128 + 9);

    // A child that already ended keeps its own code when it is killed late.
    const char* quick[] = {WIN32_CHILD_ECHO, "echo", "3", nullptr};
    ASSERT_TRUE(os_child_start(quick, child));
    EXPECT_EQ(run_to_end(child, "x", out, err), OsChildIo::Ended);
    Sleep(50);
    EXPECT_EQ(os_child_finish(child, true), 3);

    const char* missing[] = {"no-such-program-fuga", nullptr};
    EXPECT_FALSE(os_child_start(missing, child));
    EXPECT_EQ(child.pid, -1);
    EXPECT_EQ(os_find_program("no-such-program-fuga"), "");
    EXPECT_NE(os_find_program(WIN32_CHILD_ECHO), "");
}

TEST(Win32ChildProcess, WritingToAChildThatEndedFailsInsteadOfHanging) {
    // The child reads nothing and is killed while input is still to be written.
    const char* argv[] = {WIN32_CHILD_ECHO, "wait", nullptr};
    OsChild child;
    ASSERT_TRUE(os_child_start(argv, child));
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, DWORD(child.pid));
    ASSERT_NE(process, nullptr);
    TerminateProcess(process, 1);
    CloseHandle(process);
    std::string data(200000, 'a'), out, err;
    size_t written = 0;
    OsChildIo r = OsChildIo::Idle;
    for (int i = 0; i < 200 && r != OsChildIo::Failed && r != OsChildIo::Ended; ++i)
        r = os_child_exchange(child, data.data(), data.size(), written, out, err, 20);
    EXPECT_EQ(r, OsChildIo::Failed);
    EXPECT_LT(written, data.size());
    EXPECT_EQ(os_child_finish(child, false), 1);
}

TEST_F(Win32Dir, TheShellOpensAProgramWithOneArgumentInTheCurrentDirectory) {
    wchar_t old[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, old);
    ASSERT_TRUE(SetCurrentDirectoryW(dir_.wstring().c_str()));
    const fs::path result = dir_ / "child_echo.out";
    auto opened = [&](const std::string& argument) {
        fs::remove(result);
        if (!os_spawn_detached(WIN32_CHILD_ECHO, argument)) return std::string("not started");
        for (int i = 0; i < 200 && !fs::exists(result); ++i) Sleep(25);
        Sleep(50);
        return read_file(result);
    };
    // Handed over in UTF-8; the child writes its argument in the ANSI code page.
    EXPECT_EQ(opened("manual com espaço.txt"), "manual com espa\xE7o.txt\n");
    EXPECT_EQ(opened("-e"), "./-e\n");
    EXPECT_EQ(opened("diz \"oi\""), "diz \"oi\"\n");
    EXPECT_FALSE(os_spawn_detached("", "x"));
    EXPECT_FALSE(os_spawn_detached(std::string("a\0b", 3), ""));
    SetCurrentDirectoryW(old);
}

// F12 on a program named by a Windows path: an absolute one is used as it
// stands (not put after the current directory), a relative one counts from
// the current directory, and the extension is the file name's after either
// separator.
TEST_F(Win32Dir, F12ProgramsNamedByWindowsPaths) {
    struct Case {
        const char *target, *current, *program;
    } cases[] = {
        {"C:\\Jogos\\jogo.exe", "C:\\w", "C:\\Jogos\\jogo.exe"},
        {"c:/jogos/JOGO.COM", "C:\\w", "c:/jogos/JOGO.COM"},
        {"\\\\servidor\\jogos\\jogo.exe", "C:\\w", "\\\\servidor\\jogos\\jogo.exe"},
        {"\\jogos\\jogo.exe", "C:\\w", "\\jogos\\jogo.exe"},
        {"D:jogo.exe", "C:\\w", "D:jogo.exe"},
        {"jogo.exe", "C:\\w", "C:\\w/jogo.exe"},
        {"jogo.exe", "C:\\", "C:\\jogo.exe"},
        {"..\\v1.2\\jogo.exe", "C:\\w", "C:\\w/..\\v1.2\\jogo.exe"},
    };
    for (const Case& c : cases) {
        HelpCommand command = speech_help_command(c.target, c.current);
        EXPECT_EQ(command.program, c.program) << c.target;
        EXPECT_EQ(command.argument, "") << c.target;
    }
    EXPECT_EQ(os_path_name_start("C:jogo.exe"), 2u);
    EXPECT_EQ(os_path_name_start("a/b\\c.exe"), 4u);

    // The program's own absolute path starts it from another directory.
    std::string exe = std::string("Z:") + WIN32_CHILD_ECHO;
    for (char& ch : exe)
        if (ch == '/') ch = '\\';
    wchar_t old[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, old);
    ASSERT_TRUE(SetCurrentDirectoryW(dir_.wstring().c_str()));
    HelpCommand command = speech_help_command(exe, os_current_directory());
    EXPECT_EQ(command.program, exe);
    EXPECT_TRUE(os_spawn_detached(command.program, "absoluto"));
    const fs::path result = dir_ / "child_echo.out";
    for (int i = 0; i < 200 && !fs::exists(result); ++i) Sleep(25);
    Sleep(50);
    EXPECT_EQ(read_file(result), "absoluto\n");
    SetCurrentDirectoryW(old);
}

// F12 on a document with no program of its own: the shell opens it with the
// program associated with its type (here one of the test's, for a type of
// its own), and a type with no association, or a missing document, opens
// nothing and says so.
TEST_F(Win32Dir, DocumentsOpenWithTheProgramAssociatedWithTheirType) {
    const char* type_key = ".fugadoc";
    const char* program_key = "FugaTeste.Documento";
    const std::string command = std::string("\"") + WIN32_CHILD_ECHO + "\" \"%1\"";
    ASSERT_EQ(RegSetKeyValueA(HKEY_CLASSES_ROOT, type_key, nullptr, REG_SZ, "FugaTeste.Documento", 20),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetKeyValueA(HKEY_CLASSES_ROOT, (std::string(program_key) + "\\shell\\open\\command").c_str(),
                              nullptr, REG_SZ, command.c_str(), DWORD(command.size() + 1)),
              ERROR_SUCCESS);
    wchar_t old[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, old);
    ASSERT_TRUE(SetCurrentDirectoryW(dir_.wstring().c_str()));
    std::ofstream(dir_ / "notas do jogo.fugadoc") << "x";
    std::ofstream(dir_ / "sem tipo.fugasemtipo") << "x";
    const fs::path result = dir_ / "child_echo.out";

    EXPECT_TRUE(os_open_document("notas do jogo.fugadoc"));
    for (int i = 0; i < 200 && !fs::exists(result); ++i) Sleep(25);
    Sleep(50);
    std::string opened = read_file(result);
    EXPECT_NE(opened.find("notas do jogo.fugadoc\n"), std::string::npos) << opened;
    EXPECT_FALSE(os_open_document("sem tipo.fugasemtipo"));
    EXPECT_FALSE(os_open_document("nenhum.fugadoc"));
    EXPECT_FALSE(os_open_document(""));

    SetCurrentDirectoryW(old);
    RegDeleteTreeA(HKEY_CLASSES_ROOT, type_key);
    RegDeleteTreeA(HKEY_CLASSES_ROOT, program_key);
}

// HKEY_LOCAL_MACHINE of the test prefix is writable; the key is removed again.
class Win32Registry : public ::testing::Test {
protected:
    static constexpr const char* KEY = "SOFTWARE\\FugaTest\\Mbrola\\databases";
    void SetUp() override {
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, KEY, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        set(key, "br1", "C:\\mbrola\\br1\\br1");
        set(key, nullptr, "padr\xE3o");  // in the ANSI code page, as the A calls take it
        DWORD number = 3;
        RegSetValueExA(key, "numero", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
        RegSetValueExA(key, "vazio", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
        RegCloseKey(key);
    }
    void TearDown() override { RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\FugaTest"); }
    static void set(HKEY key, const char* name, const std::string& value) {
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), DWORD(value.size() + 1));
    }
};

TEST_F(Win32Registry, StringValuesAndTheDefaultValue) {
    std::string v;
    EXPECT_TRUE(registry_read_string(KEY, "br1", v));
    EXPECT_EQ(v, "C:\\mbrola\\br1\\br1");
    EXPECT_TRUE(registry_read_string(std::string(KEY) + "\\", "BR1", v));
    EXPECT_EQ(v, "C:\\mbrola\\br1\\br1");
    EXPECT_TRUE(registry_read_path(std::string(KEY) + "\\br1", v));
    EXPECT_EQ(v, "C:\\mbrola\\br1\\br1");
    EXPECT_TRUE(registry_read_path(std::string(KEY) + "\\", v));
    EXPECT_EQ(v, "padr\xE3o");
    EXPECT_TRUE(registry_read_string(KEY, "", v));
    EXPECT_EQ(v, "padr\xE3o");
    EXPECT_TRUE(registry_read_string(KEY, "vazio", v));
    EXPECT_EQ(v, "");

    EXPECT_FALSE(registry_read_string(KEY, "br3", v));
    EXPECT_FALSE(registry_read_string(KEY, "numero", v));  // not a text
    EXPECT_FALSE(registry_read_string("SOFTWARE\\FugaTest\\Nada", "br1", v));
    EXPECT_FALSE(registry_read_path("semBarra", v));
    EXPECT_EQ(v, "");
}

TEST_F(Win32Dir, SettingsDirectoryAndPrivateProfileLookups) {
    const char* old = std::getenv("TALUNE_HOME");
    std::string saved = old ? old : "";
    std::string home = dir_.string() + "\\";
    _putenv_s("TALUNE_HOME", home.c_str());
    EXPECT_EQ(os_windows_directory(), dir_.string());
    std::ofstream(dir_ / "TESTE.INI", std::ios::binary) << "[Video]\r\nfonte = \"Lucida Console\"\r\n"
                                                           "[TRADUTOR]\nDIRLETRAS=c:\\letras\\\n";
    EXPECT_EQ(profile_read_string("video", "FONTE", "x", "TESTE.INI"), "Lucida Console");
    EXPECT_EQ(profile_read_string("TRADUTOR", "DIRLETRAS", "x", "TESTE.INI"), "c:\\letras\\");
    EXPECT_EQ(profile_read_string("TRADUTOR", "DIRLETRAS", "x", "TESTE.INI", 5), "c:\\l");
    EXPECT_EQ(profile_read_string("TRADUTOR", "FALTA", "padrão", "TESTE.INI"), "padrão");
    EXPECT_EQ(profile_read_string("TRADUTOR", "DIRLETRAS", "nenhum", "NADA.INI"), "nenhum");
    EXPECT_EQ(profile_read_string("Video", "fonte", "x", (dir_ / "TESTE.INI").string()), "Lucida Console");
    EXPECT_TRUE(os_file_exists((dir_ / "TESTE.INI").string()));
    EXPECT_FALSE(os_file_exists(dir_.string()));

    _putenv_s("TALUNE_HOME", "");
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    EXPECT_EQ(os_windows_directory(), windows);
    _putenv_s("TALUNE_HOME", saved.c_str());
}

TEST_F(Win32Dir, TemporaryFilesAndFileIdentity) {
    std::string a = os_make_temp_file(".wav"), b = os_make_temp_file(".wav");
    ASSERT_NE(a, "");
    ASSERT_NE(b, "");
    EXPECT_NE(a, b);
    EXPECT_EQ(a.substr(a.size() - 4), ".wav");
    EXPECT_TRUE(os_file_exists(a));
    os_remove_file(a);
    os_remove_file(b);
    EXPECT_FALSE(os_file_exists(a));

    const std::string file = (dir_ / "TALUNE.INI").string();
    EXPECT_FALSE(system_file_stamp(file).exists);
    std::ofstream(file, std::ios::binary) << "[A]\nb=1\n";
    SystemFileStamp first = system_file_stamp(file);
    EXPECT_TRUE(first.exists);
    EXPECT_EQ(first.size, 8);
    EXPECT_EQ(system_file_stamp(file), first);
    std::ofstream(file, std::ios::binary) << "[A]\nb=22\n";
    EXPECT_NE(system_file_stamp(file), first);
    // The same size written again: the write time tells.
    SystemFileStamp second = system_file_stamp(file);
    Sleep(20);
    std::ofstream(file, std::ios::binary) << "[A]\nb=33\n";
    EXPECT_NE(system_file_stamp(file), second);
    EXPECT_FALSE(system_file_stamp(dir_.string()).exists);
}

// Names ignore case here: the system answers with the stored spelling of
// the one file asked for, whichever separator leads to it.
TEST_F(Win32Dir, StoredFileNamesAnswerForOneFile) {
    std::ofstream(dir_ / "Fuga.wav", std::ios::binary) << "RIFF";
    fs::create_directory(dir_ / "Som");
    const std::string dir = dir_.string();
    std::string stored = "old";
    EXPECT_TRUE(os_stored_file_name(dir + "\\FUGA.WAV", stored));
    EXPECT_EQ(stored, "Fuga.wav");
    EXPECT_TRUE(os_stored_file_name(dir + "/fuga.wav", stored));
    EXPECT_EQ(stored, "Fuga.wav");
    for (const char* none : {"\\som", "\\Falta.wav", "\\F*.wav", "\\Fuga.wa?", "\\Fuga.wav:x", "\\", "\\Som\\Fuga.wav"}) {
        stored = "old";
        EXPECT_TRUE(os_stored_file_name(dir + none, stored)) << none;
        EXPECT_EQ(stored, "") << none;
    }
}

TEST(Win32Libraries, SymbolsOfALoadedLibrary) {
    void* lib = os_library_open(TEST_MBROLA_LIBRARY);
    ASSERT_NE(lib, nullptr);
    EXPECT_NE(os_library_symbol(lib, "test_mbrola_configure"), nullptr);
    EXPECT_EQ(os_library_symbol(lib, "no_such_entry"), nullptr);
    os_library_close(lib);
    EXPECT_EQ(os_library_open("C:\\no\\such\\mbrola.dll"), nullptr);
    EXPECT_EQ(os_library_open(""), nullptr);
    EXPECT_EQ(os_library_symbol(nullptr, "x"), nullptr);
}

TEST(Win32Clock, LocalAndUtcTimesAgreeWithTheZoneAndTicksAdvance) {
    OsTime utc = real_utc_time();
    OsTime local = real_local_time();
    EXPECT_GE(utc.year, 2024);
    EXPECT_GE(local.month, 1);
    EXPECT_LE(local.month, 12);
    // The local time named by the zone's rules maps back to the UTC instant.
    OsTime face{};
    face.year = 2026, face.month = 1, face.day = 5, face.hour = 10;
    int64_t instant = system_utc_from_local(face);
    int64_t offset = system_utc_offset_seconds(instant);
    EXPECT_EQ(instant + offset, int64_t{1767607200});
    uint64_t before = real_ticks_ms();
    real_sleep_ms(60);
    uint64_t after = real_ticks_ms();
    EXPECT_GE(after - before, 50u);
    EXPECT_LT(after - before, 5000u);
}

}  // namespace
