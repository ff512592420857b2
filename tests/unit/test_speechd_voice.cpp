// The speech-dispatcher driver on the real libspeechd, against a stand-in
// server on a private socket that answers as the server does and can drop a
// text without a word, as an output module that refuses it makes the real
// one do: such a text is sent once more, one dropped twice is forgotten, and
// no wait lasts for ever. Also the order of the voices.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/backend.h"
#include "system_support.h"

namespace {
constexpr int CLIENT_ID = 7;

// What the stand-in does after accepting a text.
enum class Answer { Speak, Drop };

class StandInServer {
public:
    std::vector<Answer> answers;      // per text in order; past the end: Speak
    std::vector<std::string> voices;  // "name\tlanguage\tvariant"

    bool start() {
        path_ = "/tmp/fuga-speechd-test-" + std::to_string(sys_process_id()) + ".sock";
        unlink(path_.c_str());
        listener_ = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        path_.copy(addr.sun_path, sizeof addr.sun_path - 1);
        if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
            listen(listener_, 1) != 0)
            return false;
        sys_set_env("SPEECHD_ADDRESS", "unix_socket:" + path_);
        thread_ = std::thread([this] { serve(); });
        return true;
    }

    ~StandInServer() {
        shutdown(listener_, SHUT_RDWR);
        close(listener_);
        if (thread_.joinable()) thread_.join();
        unlink(path_.c_str());
        sys_unset_env("SPEECHD_ADDRESS");
    }

    std::vector<std::string> texts() {
        std::lock_guard<std::mutex> hold(lock_);
        return texts_;
    }
    int cancels() const { return cancels_; }
    int voice_lists() const { return voice_lists_; }
    std::vector<std::string> selected() {
        std::lock_guard<std::mutex> hold(lock_);
        return selected_;
    }

private:
    void send_text(int fd, const std::string& s) {
        std::string line = s + "\r\n";
        ssize_t ignored = write(fd, line.data(), line.size());
        (void)ignored;
    }
    void notify(int fd, int id, int code, const char* what) {
        send_text(fd, std::to_string(code) + "-" + std::to_string(id) + "\r\n" + std::to_string(code) + "-" +
                          std::to_string(CLIENT_ID) + "\r\n" + std::to_string(code) + " " + what);
    }

    void answer(int fd, const std::string& line, bool& receiving, std::string& text) {
        if (receiving) {
            if (line != ".") {
                text += (text.empty() ? "" : "\n") + line;
                return;
            }
            receiving = false;
            size_t n;
            {
                std::lock_guard<std::mutex> hold(lock_);
                texts_.push_back(text);
                n = texts_.size();
            }
            int id = next_id_++;
            send_text(fd, "225-" + std::to_string(id) + "\r\n225 OK MESSAGE QUEUED");
            if (n > answers.size() || answers[n - 1] == Answer::Speak) {
                notify(fd, id, 701, "BEGIN");
                notify(fd, id, 702, "END");
            }
            return;
        }
        auto starts = [&line](const char* p) { return line.rfind(p, 0) == 0; };
        if (starts("SET SELF CLIENT_NAME")) send_text(fd, "208 OK CLIENT NAME SET");
        else if (starts("SET SELF NOTIFICATION")) send_text(fd, "220 OK NOTIFICATION SET");
        else if (starts("SET SELF SYNTHESIS_VOICE")) {
            std::lock_guard<std::mutex> hold(lock_);
            selected_.push_back(line.substr(25));
            send_text(fd, "209 OK VOICE SET");
        }
        else if (starts("SET SELF RATE")) send_text(fd, "203 OK RATE SET");
        else if (starts("SET SELF PRIORITY")) send_text(fd, "202 OK PRIORITY SET");
        else if (starts("SET SELF OUTPUT_MODULE")) send_text(fd, "216 OK OUTPUT MODULE SET");
        else if (starts("SET")) send_text(fd, "200 OK");
        else if (starts("HISTORY GET CLIENT_ID")) send_text(fd, "245-" + std::to_string(CLIENT_ID) + "\r\n245 OK CLIENT ID SENT");
        else if (starts("LIST OUTPUT_MODULES")) send_text(fd, "250-espeak-ng\r\n250-rhvoice\r\n250 OK MODULE LIST SENT");
        else if (starts("LIST SYNTHESIS_VOICES")) {
            ++voice_lists_;
            std::string reply;
            for (const std::string& v : voices) reply += "249-" + v + "\r\n";
            send_text(fd, reply + "249 OK VOICE LIST SENT");
        } else if (starts("SPEAK") || starts("speak")) {
            receiving = true;
            text.clear();
            send_text(fd, "230 OK RECEIVING DATA");
        } else if (starts("CANCEL")) {
            ++cancels_;
            send_text(fd, "210 OK CANCELED");
        } else if (starts("QUIT")) {
            send_text(fd, "231 HAPPY HACKING");
        } else {
            send_text(fd, "300 ERROR INVALID COMMAND");
        }
    }

    void serve() {
        for (;;) {
            int fd = accept(listener_, nullptr, nullptr);
            if (fd < 0) return;
            std::string pending, text;
            bool receiving = false;
            char buf[4096];
            for (;;) {
                ssize_t n = read(fd, buf, sizeof buf);
                if (n <= 0) break;
                pending.append(buf, size_t(n));
                for (size_t end; (end = pending.find("\r\n")) != std::string::npos;) {
                    std::string line = pending.substr(0, end);
                    pending.erase(0, end + 2);
                    answer(fd, line, receiving, text);
                }
            }
            close(fd);
        }
    }

    std::string path_;
    int listener_ = -1;
    std::thread thread_;
    std::mutex lock_;
    std::vector<std::string> texts_, selected_;
    std::atomic<int> cancels_{0};
    std::atomic<int> voice_lists_{0};
    int next_id_ = 1;
};

class SpeechdVoice : public ::testing::Test {
protected:
    void SetUp() override {
        server.voices = {"English\ten\tnone", "Brasil\tpt-br\tnone"};
        driver = speechd_voice_driver();
    }
    void TearDown() override {
        if (handle >= 0) driver->close(handle);
    }
    // Waits in 20 ms steps, as the bridge does; the real time it took, or
    // -1 when it had not ended after `limit_ms`.
    long wait_until_done(int limit_ms) {
        auto start = std::chrono::steady_clock::now();
        for (;;) {
            if (driver->wait_done(handle, 20))
                return long(std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
            if (std::chrono::steady_clock::now() - start > std::chrono::milliseconds(limit_ms)) return -1;
        }
    }
    StandInServer server;
    const OsVoiceServerDriver* driver = nullptr;
    int handle = -1;
};

TEST_F(SpeechdVoice, ADroppedTextIsSentOnceMoreAndStillHeard) {
    server.answers = {Answer::Speak, Answer::Drop, Answer::Speak};
    ASSERT_TRUE(server.start());
    handle = driver->open("");
    ASSERT_GE(handle, 0);
    ASSERT_TRUE(driver->speak(handle, "um"));
    EXPECT_GE(wait_until_done(5000), 0);
    // The second text is accepted and then never begins.
    ASSERT_TRUE(driver->speak(handle, "dois"));
    long waited = wait_until_done(10000);
    EXPECT_GE(waited, 500) << "a text must be given time to begin";
    EXPECT_GE(waited, 0) << "the wait for a dropped text never ended";
    EXPECT_EQ(server.texts(), (std::vector<std::string>{"um", "dois", "dois"}));
    // Later texts go on as usual.
    ASSERT_TRUE(driver->speak(handle, "tr\xEAs"));
    EXPECT_GE(wait_until_done(5000), 0);
    EXPECT_EQ(server.texts().back(), "três");
}

TEST_F(SpeechdVoice, ATextDroppedTwiceIsCancelledAndForgotten) {
    server.answers = {Answer::Drop, Answer::Drop, Answer::Speak};
    ASSERT_TRUE(server.start());
    handle = driver->open("");
    ASSERT_GE(handle, 0);
    ASSERT_TRUE(driver->speak(handle, "perdido"));
    EXPECT_GE(wait_until_done(10000), 0) << "the wait for a lost text never ended";
    EXPECT_EQ(server.texts(), (std::vector<std::string>{"perdido", "perdido"}));
    int cancels = server.cancels();
    EXPECT_GE(cancels, 2) << "the lost text must be cancelled before it is forgotten";
    // Nothing of it is waited for again, and the next text is spoken.
    ASSERT_TRUE(driver->speak(handle, "seguinte"));
    EXPECT_GE(wait_until_done(5000), 0);
    EXPECT_EQ(server.texts().size(), 3u);
    EXPECT_EQ(server.cancels(), cancels);
}

TEST_F(SpeechdVoice, ACancelForgetsWhatWasNotHeardWithoutSendingItAgain) {
    server.answers = {Answer::Drop};
    ASSERT_TRUE(server.start());
    handle = driver->open("");
    ASSERT_GE(handle, 0);
    ASSERT_TRUE(driver->speak(handle, "interrompido"));
    EXPECT_TRUE(driver->cancel(handle));
    EXPECT_TRUE(driver->wait_done(handle, 0));
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    EXPECT_TRUE(driver->wait_done(handle, 0));
    EXPECT_EQ(server.texts().size(), 1u);
}

TEST_F(SpeechdVoice, BrazilianVoicesFirstThenPortugueseThenTheRest) {
    server.voices = {"English\ten\tnone", "Portugal\tpt-pt\tnone", "Leticia\tpt\tnone", "Brasil\tpt-BR\tnone",
                     "Deutsch\tde\tnone"};
    ASSERT_TRUE(server.start());
    handle = driver->open("rhvoice");
    ASSERT_GE(handle, 0);
    ASSERT_EQ(driver->voice_count(handle), 5);
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(driver->select_voice(handle, i));
    EXPECT_EQ(server.selected(), (std::vector<std::string>{"Brasil", "Leticia", "English", "Portugal", "Deutsch"}));
}

// The game opens its connection twice as it starts, and espeak-ng's list
// of voices takes seconds: the second connection to a module uses the
// first one's list. (The list is kept for the whole process: no other test
// may open "espeak-ng" with other voices.)
TEST_F(SpeechdVoice, ASecondConnectionToAModuleDoesNotListItsVoicesAgain) {
    ASSERT_TRUE(server.start());
    handle = driver->open("espeak-ng");
    ASSERT_GE(handle, 0);
    ASSERT_EQ(driver->voice_count(handle), 2);
    driver->close(handle);
    handle = driver->open("espeak-ng");
    ASSERT_GE(handle, 0);
    EXPECT_EQ(server.voice_lists(), 1);
    ASSERT_EQ(driver->voice_count(handle), 2);
    EXPECT_TRUE(driver->select_voice(handle, 0));
    EXPECT_EQ(server.selected(), (std::vector<std::string>{"Brasil"}));
}
}  // namespace
