// The program on a real terminal (a tmux pane): the terminal modes and the
// user's screen come back after a quit, a hang-up and a crash. Skipped when
// tmux or the built program is not there.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

#include "skip_unless_ci.h"

namespace fs = std::filesystem;

namespace {
std::string run(const std::string& command) {
    std::string out;
    FILE* p = popen(command.c_str(), "r");
    if (!p) return out;
    char buf[512];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    pclose(p);
    return out;
}

std::string read_file(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool have_tmux() { return std::system("command -v tmux >/dev/null 2>&1") == 0; }

std::string program() {
    fs::path build = FUGA_BINARY_DIR;
    if (fs::exists(build / "play")) return (build / "play").string();
    if (fs::exists(build / "fuga")) return (build / "fuga").string();
    return "";
}

class TerminalSession : public ::testing::Test {
protected:
    fs::path dir;
    std::string socket;

    void SetUp() override {
        if (!have_tmux() || program().empty()) SKIP_UNLESS_CI("needs tmux and the built program");
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        name += "_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
        dir = fs::temp_directory_path() / ("fuga_session_" + name);
        fs::remove_all(dir);
        fs::create_directories(dir);
        socket = "fuga_session_" + name;
    }

    void TearDown() override {
        if (socket.empty()) return;
        run("tmux -L " + socket + " kill-server 2>/dev/null");
        fs::remove_all(dir);
    }

    std::string tmux(const std::string& args) { return run("tmux -L " + socket + " " + args + " 2>/dev/null"); }

    bool wait_for(const std::function<bool()>& done, int ms) {
        for (int waited = 0; waited < ms; waited += 50) {
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return done();
    }

    // Starts the program in a fresh pane, with the terminal's modes written
    // down before and after, and waits until it has taken the terminal over.
    void start(int cols = 100, int rows = 30, const std::string& args = "") {
        std::ofstream script(dir / "run.sh");
        script << "#!/bin/sh\n"
               << "cd '" << dir.string() << "'\n"
               << "stty -g > before\n"
               << "echo marca-antes\n"
               << "unset DISPLAY WAYLAND_DISPLAY\n"

               << "ulimit -c 0\n"
               << "FUGA_BACKEND=terminal sh -c 'echo $$ > pid; exec \"" << program() << "\" " << args << "'\n"
               << "echo $? > rc\n"
               << "stty -g > after\n"
               << "sleep 60\n";
        script.close();
        fs::permissions(dir / "run.sh", fs::perms::owner_all);
        tmux("new-session -d -s s -x " + std::to_string(cols) + " -y " + std::to_string(rows) + " " +
             (dir / "run.sh").string());
        ASSERT_TRUE(wait_for([&] { return fs::exists(dir / "pid") && !read_file(dir / "pid").empty(); }, 10000));
        ASSERT_TRUE(wait_for([&] { return tmux("display -p -t s '#{alternate_on}'").rfind("1", 0) == 0; }, 10000))
            << "the program never entered the alternate screen";
        // The console has drawn something: the program runs its own loop.
        ASSERT_TRUE(wait_for([&] { return tmux("capture-pane -p -t s").find_first_not_of(" \n") != std::string::npos; },
            10000));
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }

    // The game with its fixed placements, the introduction cut short by Esc
    // once its text is shown (its recording plays then), waiting at the
    // first prompt past its tone.
    void start_game() {
        start(100, 30, "-r");
        ASSERT_TRUE(wait_for([&] { return tmux("capture-pane -p -t s").find("empreitada") != std::string::npos; },
            15000));
        tmux("send-keys -t s Escape");
        ASSERT_TRUE(wait_for([&] { return tmux("capture-pane -p -t s").find("Que fazer?") != std::string::npos; },
            15000));
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    }

    void send_signal(const char* sig) {
        std::string pid = read_file(dir / "pid");
        while (!pid.empty() && (pid.back() == '\n' || pid.back() == ' ')) pid.pop_back();
        ASSERT_FALSE(pid.empty());
        std::system(("kill -" + std::string(sig) + " " + pid).c_str());
    }

    // Waits for the end and checks that the terminal is as it was.
    int finish() {
        // The shell writes "after" last, once stty has printed its whole line.
        EXPECT_TRUE(wait_for([&] {
            std::string after = read_file(dir / "after");
            return !after.empty() && after.back() == '\n';
        }, 15000)) << "the program did not end";
        EXPECT_EQ(read_file(dir / "before"), read_file(dir / "after")) << "terminal modes changed";
        EXPECT_EQ(tmux("display -p -t s '#{alternate_on} #{cursor_flag}'"), "0 1\n");
        EXPECT_NE(tmux("capture-pane -p -t s").find("marca-antes"), std::string::npos)
            << "the user's screen did not come back";
        return std::atoi(read_file(dir / "rc").c_str());
    }
};
}  // namespace

TEST_F(TerminalSession, TermQuitsWith255AndRestores) {
    start();
    send_signal("TERM");
    EXPECT_EQ(finish(), 255);
}

TEST_F(TerminalSession, HangupClosesAndRestores) {
    start();
    send_signal("HUP");
    EXPECT_EQ(finish(), 0);
}

TEST_F(TerminalSession, CrashRestoresAndKeepsTheSignal) {
    start();
    send_signal("SEGV");
    EXPECT_EQ(finish(), 128 + 11);
}

TEST_F(TerminalSession, AltF4IsTheCloseRequest) {
    start();
    tmux("send-keys -t s M-F4");
    EXPECT_EQ(finish(), 0);
}

// The ending stays on the terminal's own screen once the game is over.
TEST_F(TerminalSession, EndingStaysOnTheScreen) {
    start_game();
    tmux("send-keys -t s -l desistir");
    tmux("send-keys -t s Enter");
    EXPECT_EQ(finish(), 0);
    std::string screen = tmux("capture-pane -p -t s");
    EXPECT_NE(screen.find("Fim do jogo."), std::string::npos) << screen;
    EXPECT_NE(screen.find("Que fazer? desistir"), std::string::npos) << screen;
    EXPECT_LT(screen.find("marca-antes"), screen.find("Fim do jogo.")) << "the rows go below the user's screen";
}

// A paste longer than the console's key queue is typed whole.
TEST_F(TerminalSession, LongPasteIsTypedWhole) {
    start_game();
    std::string text;
    for (int i = 0; i < 40; ++i) text += "k" + std::string(i < 10 ? "00" : "0") + std::to_string(i) + " ";
    ASSERT_EQ(text.size(), 200u);
    tmux("set-buffer -b paste '" + text + "'");
    tmux("paste-buffer -b paste -t s");
    // The field scrolls: it ends with the last characters, and Home shows the first.
    EXPECT_TRUE(wait_for([&] { return tmux("capture-pane -p -t s").find("k038 k039") != std::string::npos; }, 15000))
        << tmux("capture-pane -p -t s");
    tmux("send-keys -t s Home");
    EXPECT_TRUE(wait_for([&] { return tmux("capture-pane -p -t s").find("Que fazer? k000 k001") != std::string::npos; },
        5000)) << tmux("capture-pane -p -t s");
    send_signal("TERM");
    EXPECT_EQ(finish(), 255);
}

// Keys typed ahead are dropped at the turn's tone, those the terminal still
// held for the console as well: a paste over the introduction types nothing.
TEST_F(TerminalSession, PasteOverTheIntroductionIsDroppedWhole) {
    start(100, 30, "-r");
    ASSERT_TRUE(wait_for([&] { return tmux("capture-pane -p -t s").find("empreitada") != std::string::npos; }, 15000));
    tmux("set-buffer -b paste '" + std::string(200, 'q') + "'");
    tmux("paste-buffer -b paste -t s");
    ASSERT_TRUE(wait_for([&] { return tmux("capture-pane -p -t s").find("Que fazer?") != std::string::npos; }, 15000));
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    std::string screen = tmux("capture-pane -p -t s");
    EXPECT_EQ(screen.find("qq"), std::string::npos) << screen;
    send_signal("TERM");
    EXPECT_EQ(finish(), 255);
}

// A close request is not typed text: it acts at once even behind a paste
// that waits for the console's room while the title is spoken (no key is
// read then), so the story never comes.
TEST_F(TerminalSession, AltF4BehindAHeldPasteClosesAtOnce) {
    start(100, 30, "-r");
    ASSERT_TRUE(wait_for([&] { return tmux("capture-pane -p -t s").find("FUGA DE VAL") != std::string::npos; }, 15000));
    tmux("set-buffer -b paste '" + std::string(200, 'q') + "'");
    tmux("paste-buffer -b paste -t s \\; send-keys -t s M-F4");
    EXPECT_EQ(finish(), 0);
    std::string screen = tmux("capture-pane -p -t s");
    EXPECT_EQ(screen.find("empreitada"), std::string::npos) << screen;
}

TEST_F(TerminalSession, SmallTerminalAsksForMoreRoomThenShowsTheGrid) {
    start(60, 20);
    std::string screen = tmux("capture-pane -p -t s");
    EXPECT_NE(screen.find("Terminal pequeno demais"), std::string::npos) << screen;
    EXPECT_NE(screen.find("(tem 60x20)"), std::string::npos) << screen;
    tmux("resize-window -t s -x 100 -y 30");
    EXPECT_TRUE(wait_for([&] { return tmux("capture-pane -p -t s").find("pequeno demais") == std::string::npos; }, 3000));
    screen = tmux("capture-pane -p -t s");
    EXPECT_NE(screen.find_first_not_of(" \n"), std::string::npos) << "nothing repainted";
    send_signal("TERM");
    EXPECT_EQ(finish(), 255);
}
