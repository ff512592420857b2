// The speech-dispatcher driver: one libspeechd connection per handle; the
// server's end and cancel notifications tell when nothing is left to speak.
#include <libspeechd.h>
#include <poll.h>
#include <signal.h>
#include <strings.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "util/latin1.h"

namespace {
constexpr int SPEECHD_MAX_CONNECTIONS = 4;

struct SpeechdConnection {
    SPDConnection* spd = nullptr;
    size_t client_id = 0;
    bool dead = false;
    std::vector<std::string> voices;  // names, Brazilian Portuguese first
    std::set<size_t> speaking;        // messages sent and not yet ended
    std::set<size_t> ended_early;     // ended before spd_say returned its id
};

struct SpeechdState {
    std::mutex lock;  // the message sets, taken by the server's event thread
    std::condition_variable changed;
    SpeechdConnection connections[SPEECHD_MAX_CONNECTIONS];
} g_speechd;

SpeechdConnection* valid(int h) {
    if (h < 0 || h >= SPEECHD_MAX_CONNECTIONS || !g_speechd.connections[h].spd) return nullptr;
    return &g_speechd.connections[h];
}

// Called on libspeechd's own thread for the end or cancel of a message.
void on_finished(size_t msg_id, size_t client_id, SPDNotificationType) {
    std::lock_guard<std::mutex> hold(g_speechd.lock);
    for (SpeechdConnection& c : g_speechd.connections) {
        if (!c.spd || c.client_id != client_id) continue;
        if (!c.speaking.erase(msg_id)) c.ended_early.insert(msg_id);
    }
    g_speechd.changed.notify_all();
}

// A server that closed the socket is noticed here, before libspeechd is
// asked for anything that would wait for its reply.
bool alive(SpeechdConnection& c) {
    if (c.dead) return false;
    pollfd p{c.spd->socket, POLLRDHUP, 0};
    if (poll(&p, 1, 0) > 0 && (p.revents & (POLLRDHUP | POLLHUP | POLLERR | POLLNVAL))) {
        std::lock_guard<std::mutex> hold(g_speechd.lock);
        c.dead = true;
        c.speaking.clear();
        g_speechd.changed.notify_all();
        return false;
    }
    return true;
}

bool has_module(SPDConnection* spd, const std::string& module) {
    char** modules = spd_list_modules(spd);
    bool found = false;
    for (int i = 0; modules && modules[i]; ++i) found = found || !strcasecmp(modules[i], module.c_str());
    if (modules) free_spd_modules(modules);
    return found;
}

void list_voices(SpeechdConnection& c) {
    std::vector<std::string> others;
    SPDVoice** voices = spd_list_synthesis_voices(c.spd);
    for (int i = 0; voices && voices[i]; ++i) {
        if (!voices[i]->name) continue;
        bool brazilian = voices[i]->language && !strcasecmp(voices[i]->language, "pt-br");
        (brazilian ? c.voices : others).push_back(voices[i]->name);
    }
    if (voices) free_spd_voices(voices);
    c.voices.insert(c.voices.end(), others.begin(), others.end());
}

int open_connection(const std::string& module) {
    int h = 0;
    while (h < SPEECHD_MAX_CONNECTIONS && g_speechd.connections[h].spd) ++h;
    if (h == SPEECHD_MAX_CONNECTIONS) return -1;
    // A server that goes away must not end the program on the next write.
    struct sigaction old {};
    if (sigaction(SIGPIPE, nullptr, &old) == 0 && old.sa_handler == SIG_DFL) signal(SIGPIPE, SIG_IGN);
    // A server of the user's own session is started when none runs; an
    // address given in SPEECHD_ADDRESS is used as it is.
    int autospawn = std::getenv("SPEECHD_ADDRESS") ? 0 : 1;
    char* error = nullptr;
    SPDConnection* spd = spd_open2("fuga", module.empty() ? "main" : module.c_str(), nullptr, SPD_MODE_THREADED,
                                   nullptr, autospawn, &error);
    std::free(error);
    if (!spd) return -1;
    if (!module.empty() && (!has_module(spd, module) || spd_set_output_module(spd, module.c_str()) != 0)) {
        spd_close(spd);
        return -1;
    }
    SpeechdConnection& c = g_speechd.connections[h];
    {
        std::lock_guard<std::mutex> hold(g_speechd.lock);
        c = SpeechdConnection{};
        c.spd = spd;
        c.client_id = size_t(spd_get_client_id(spd));
    }
    spd->callback_end = on_finished;
    spd->callback_cancel = on_finished;
    spd_set_notification_on(spd, SPD_END);
    spd_set_notification_on(spd, SPD_CANCEL);
    list_voices(c);
    return h;
}

int voice_count(int h) {
    SpeechdConnection* c = valid(h);
    return c ? int(c->voices.size()) : 0;
}

bool select_voice(int h, int index) {
    SpeechdConnection* c = valid(h);
    if (!c || index < 0 || index >= int(c->voices.size()) || !alive(*c)) return false;
    return spd_set_synthesis_voice(c->spd, c->voices[index].c_str()) == 0;
}

bool set_rate(int h, int rate) {
    SpeechdConnection* c = valid(h);
    if (!c || rate < -10 || rate > 10 || !alive(*c)) return false;
    return spd_set_voice_rate(c->spd, rate * 10) == 0;
}

bool speak(int h, const std::string& text) {
    SpeechdConnection* c = valid(h);
    if (!c || !alive(*c)) return false;
    // Only blanks: the server would say nothing and might send no end.
    if (text.find_first_not_of(" \t\r\n") == std::string::npos) return true;
    int id = spd_say(c->spd, SPD_TEXT, utf8(text).c_str());
    if (id < 0) return false;
    std::lock_guard<std::mutex> hold(g_speechd.lock);
    if (!c->ended_early.erase(size_t(id))) c->speaking.insert(size_t(id));
    return true;
}

bool cancel(int h) {
    SpeechdConnection* c = valid(h);
    if (!c || !alive(*c)) return false;
    return spd_cancel(c->spd) == 0;
}

bool wait_done(int h, int timeout_ms) {
    SpeechdConnection* c = valid(h);
    if (!c || !alive(*c)) return true;
    std::unique_lock<std::mutex> hold(g_speechd.lock);
    bool done = g_speechd.changed.wait_for(hold, std::chrono::milliseconds(timeout_ms),
                                           [c] { return c->speaking.empty() || c->dead; });
    hold.unlock();
    return done || !alive(*c);
}

bool connection_alive(int h) {
    SpeechdConnection* c = valid(h);
    return c && alive(*c);
}

void close_connection(int h) {
    SpeechdConnection* c = valid(h);
    if (!c) return;
    SPDConnection* spd = c->spd;
    {
        std::lock_guard<std::mutex> hold(g_speechd.lock);
        *c = SpeechdConnection{};
    }
    spd_close(spd);
}

const OsVoiceServerDriver SPEECHD = {
    "speech-dispatcher", open_connection, voice_count, select_voice, set_rate, speak, cancel, wait_done,
    connection_alive, close_connection,
};
}  // namespace

const OsVoiceServerDriver* speechd_voice_driver() { return &SPEECHD; }
