// The speech-dispatcher driver: one libspeechd connection per handle; the
// server's begin, end and cancel notifications tell what is still to speak.
#include <libspeechd.h>
#include <poll.h>
#include <signal.h>
#include <strings.h>
#include <sys/socket.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "util/latin1.h"

namespace {
using SpeechdClock = std::chrono::steady_clock;

constexpr int SPEECHD_MAX_CONNECTIONS = 4;
// Texts sent and not yet ended, per connection (the front end waits for each
// text before the next, so one is usual).
constexpr size_t SPEECHD_MAX_PENDING = 32;
// A text that has not begun this long after its turn came (accepted with
// nothing before it, or the text before it ended) was dropped by the server
// without a word: an output module can refuse a text, and the server then
// sends no begin, end or cancel for it. Under load the begin comes within
// tens of milliseconds.
constexpr int SPEECHD_BEGIN_BOUND_MS = 1000;
// A text that has begun and still has not ended after this long (plus time
// for each byte, enough for the slowest rate) lost its end: it is cancelled
// and forgotten, so that no wait lasts for ever.
constexpr int SPEECHD_CEILING_MS = 10000;
constexpr int SPEECHD_CEILING_PER_BYTE_MS = 250;

struct SpeechdText {
    size_t id = 0;
    std::string utf8_text;       // as sent, for a second sending
    SpeechdClock::time_point since;  // its turn came, or it began
    bool begun = false;
    bool resent = false;  // already sent once more after a drop
};

struct SpeechdConnection {
    SPDConnection* spd = nullptr;
    size_t client_id = 0;
    bool dead = false;
    std::vector<std::string> voices;  // names, Brazilian Portuguese first
    std::deque<SpeechdText> pending;  // sent and not yet ended, oldest first
    size_t last_id = 0;               // the newest message id the server gave
    // Notifications that came before spd_say returned the message's id.
    std::set<size_t> begun_early;
    std::set<size_t> ended_early;
};

// Modules whose voices are kept: each module's own connection, and the
// server's default one.
constexpr int SPEECHD_MAX_VOICE_LISTS = 4;

// A module's voices as a server listed them, in our order. The espeak-ng
// module lists some 13,000 voices and variants, which takes seconds on a
// busy machine, and the game opens its connection twice as it starts; the
// voices are only chosen at a start, so the first list serves the process
// until that server goes away.
struct SpeechdVoiceList {
    std::string server;  // SPEECHD_ADDRESS as it was ("" the session's own)
    std::string module;
    std::vector<std::string> voices;
};

struct SpeechdState {
    std::mutex lock;  // the connections' texts, taken by the server's event thread
    std::condition_variable changed;
    bool exit_hook_installed = false;
    SpeechdConnection connections[SPEECHD_MAX_CONNECTIONS];
    // Only the program's thread reads or writes these.
    SpeechdVoiceList voice_lists[SPEECHD_MAX_VOICE_LISTS];
    int voice_list_count = 0;
} g_speechd;

SpeechdConnection* valid(int h) {
    if (h < 0 || h >= SPEECHD_MAX_CONNECTIONS || !g_speechd.connections[h].spd) return nullptr;
    return &g_speechd.connections[h];
}

// With the lock held.
void note_event(SpeechdConnection& c, size_t msg_id, SPDNotificationType type) {
    auto now = SpeechdClock::now();
    for (size_t i = 0; i < c.pending.size(); ++i) {
        if (c.pending[i].id != msg_id) continue;
        if (type == SPD_EVENT_BEGIN) {
            c.pending[i].begun = true;
            c.pending[i].since = now;
        } else {
            c.pending.erase(c.pending.begin() + long(i));
            if (i == 0 && !c.pending.empty() && !c.pending.front().begun) c.pending.front().since = now;
        }
        return;
    }
    // Older ids are texts already forgotten (cancelled or sent again).
    if (msg_id <= c.last_id) return;
    (type == SPD_EVENT_BEGIN ? c.begun_early : c.ended_early).insert(msg_id);
}

// Called on libspeechd's own thread for the begin, end or cancel of a message.
void on_event(size_t msg_id, size_t client_id, SPDNotificationType type) {
    std::lock_guard<std::mutex> hold(g_speechd.lock);
    for (SpeechdConnection& c : g_speechd.connections)
        if (c.spd && c.client_id == client_id) note_event(c, msg_id, type);
    g_speechd.changed.notify_all();
}

// With the lock held: a text the server accepted as `id`.
void add_text(SpeechdConnection& c, size_t id, const std::string& utf8_text, bool resent) {
    if (id > c.last_id) c.last_id = id;
    bool ended = c.ended_early.count(id) > 0;
    bool begun = c.begun_early.count(id) > 0;
    c.ended_early.erase(c.ended_early.begin(), c.ended_early.upper_bound(id));
    c.begun_early.erase(c.begun_early.begin(), c.begun_early.upper_bound(id));
    if (ended) return;
    SpeechdText t;
    t.id = id;
    t.utf8_text = utf8_text;
    t.since = SpeechdClock::now();
    t.begun = begun;
    t.resent = resent;
    c.pending.push_back(std::move(t));
}

// A server that closed the socket is noticed here, before libspeechd is
// asked for anything that would wait for its reply.
bool alive(SpeechdConnection& c) {
    if (c.dead) return false;
    pollfd p{c.spd->socket, POLLRDHUP, 0};
    if (poll(&p, 1, 0) > 0 && (p.revents & (POLLRDHUP | POLLHUP | POLLERR | POLLNVAL))) {
        // A server started again may have other voices.
        g_speechd.voice_list_count = 0;
        std::lock_guard<std::mutex> hold(g_speechd.lock);
        c.dead = true;
        c.pending.clear();
        g_speechd.changed.notify_all();
        return false;
    }
    return true;
}

enum class TextVerdict { Waiting, Dropped, Lost };

// With the lock held: what the oldest text's silence means now, and when
// that may change if nothing is heard from the server.
TextVerdict judge_oldest(const SpeechdConnection& c, SpeechdClock::time_point now,
                         SpeechdClock::time_point& next_look) {
    const SpeechdText& t = c.pending.front();
    if (t.begun) {
        auto ceiling = t.since + std::chrono::milliseconds(SPEECHD_CEILING_MS + SPEECHD_CEILING_PER_BYTE_MS *
                                                                                     long(t.utf8_text.size()));
        next_look = ceiling;
        return now >= ceiling ? TextVerdict::Lost : TextVerdict::Waiting;
    }
    // A later text that began means this one will not.
    bool overtaken = false;
    for (const SpeechdText& later : c.pending) overtaken = overtaken || later.begun;
    auto bound = t.since + std::chrono::milliseconds(SPEECHD_BEGIN_BOUND_MS);
    next_look = bound;
    if (!overtaken && now < bound) return TextVerdict::Waiting;
    return t.resent ? TextVerdict::Lost : TextVerdict::Dropped;
}

// Cancels what the connection still speaks and forgets its texts.
bool cancel_all(SpeechdConnection& c) {
    {
        std::lock_guard<std::mutex> hold(g_speechd.lock);
        c.pending.clear();
        g_speechd.changed.notify_all();
    }
    return spd_cancel(c.spd) == 0;
}

// The oldest text was dropped: whatever might still be queued is cancelled
// and every text not yet ended is sent once more, in order, so that each is
// still heard and the order holds.
void send_again(SpeechdConnection& c) {
    std::deque<SpeechdText> texts;
    {
        std::lock_guard<std::mutex> hold(g_speechd.lock);
        texts.swap(c.pending);
    }
    spd_cancel(c.spd);
    for (size_t i = 0; i < texts.size(); ++i) {
        int id = spd_say(c.spd, SPD_TEXT, texts[i].utf8_text.c_str());
        if (id < 0) return;
        std::lock_guard<std::mutex> hold(g_speechd.lock);
        add_text(c, size_t(id), texts[i].utf8_text, i == 0 || texts[i].resent);
    }
}

// At the program's end a connection may still be speaking: it is told to
// stop without waiting for the answer (the server keeps speaking a closed
// connection's texts otherwise), and the socket closes with the process.
void cancel_at_exit() {
    static const char command[] = "CANCEL self\r\n";
    for (SpeechdConnection& c : g_speechd.connections) {
        if (!c.spd || c.dead || c.spd->socket < 0) continue;
        ssize_t ignored = send(c.spd->socket, command, sizeof command - 1, MSG_DONTWAIT | MSG_NOSIGNAL);
        (void)ignored;
    }
}

bool has_module(SPDConnection* spd, const std::string& module) {
    char** modules = spd_list_modules(spd);
    bool found = false;
    for (int i = 0; modules && modules[i]; ++i) found = found || !strcasecmp(modules[i], module.c_str());
    if (modules) free_spd_modules(modules);
    return found;
}

std::string server_address() {
    const char* address = std::getenv("SPEECHD_ADDRESS");
    return address ? address : "";
}

// Brazilian voices first, then those that say only "pt" (RHVoice's Brazilian
// voice does), then the rest, each group in the server's order.
void list_voices(SpeechdConnection& c, const std::string& module) {
    std::string server = server_address();
    for (int i = 0; i < g_speechd.voice_list_count; ++i) {
        const SpeechdVoiceList& l = g_speechd.voice_lists[i];
        if (l.server == server && l.module == module) {
            c.voices = l.voices;
            return;
        }
    }
    std::vector<std::string> portuguese, others;
    SPDVoice** voices = spd_list_synthesis_voices(c.spd);
    for (int i = 0; voices && voices[i]; ++i) {
        if (!voices[i]->name) continue;
        const char* language = voices[i]->language ? voices[i]->language : "";
        if (!strcasecmp(language, "pt-br") || !strcasecmp(language, "pt_br")) c.voices.push_back(voices[i]->name);
        else if (!strcasecmp(language, "pt")) portuguese.push_back(voices[i]->name);
        else others.push_back(voices[i]->name);
    }
    if (voices) free_spd_voices(voices);
    c.voices.insert(c.voices.end(), portuguese.begin(), portuguese.end());
    c.voices.insert(c.voices.end(), others.begin(), others.end());
    // An empty list is asked for again: the module may still be starting.
    if (c.voices.empty()) return;
    if (g_speechd.voice_list_count == SPEECHD_MAX_VOICE_LISTS) g_speechd.voice_list_count = 0;
    g_speechd.voice_lists[g_speechd.voice_list_count++] = SpeechdVoiceList{server, module, c.voices};
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
    if (!g_speechd.exit_hook_installed) {
        g_speechd.exit_hook_installed = true;
        os_at_exit(cancel_at_exit);
    }
    SpeechdConnection& c = g_speechd.connections[h];
    {
        std::lock_guard<std::mutex> hold(g_speechd.lock);
        c = SpeechdConnection{};
        c.spd = spd;
        c.client_id = size_t(spd_get_client_id(spd));
    }
    spd->callback_begin = on_event;
    spd->callback_end = on_event;
    spd->callback_cancel = on_event;
    spd_set_notification_on(spd, SPD_BEGIN);
    spd_set_notification_on(spd, SPD_END);
    spd_set_notification_on(spd, SPD_CANCEL);
    list_voices(c, module);
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
    {
        std::lock_guard<std::mutex> hold(g_speechd.lock);
        if (c->pending.size() >= SPEECHD_MAX_PENDING) return false;
    }
    std::string sent = utf8(text);
    int id = spd_say(c->spd, SPD_TEXT, sent.c_str());
    if (id < 0) return false;
    std::lock_guard<std::mutex> hold(g_speechd.lock);
    add_text(*c, size_t(id), sent, false);
    return true;
}

bool cancel(int h) {
    SpeechdConnection* c = valid(h);
    if (!c || !alive(*c)) return false;
    return cancel_all(*c);
}

bool wait_done(int h, int timeout_ms) {
    SpeechdConnection* c = valid(h);
    if (!c || !alive(*c)) return true;
    auto deadline = SpeechdClock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        std::unique_lock<std::mutex> hold(g_speechd.lock);
        if (c->pending.empty() || c->dead) return true;
        auto now = SpeechdClock::now();
        SpeechdClock::time_point next_look;
        TextVerdict verdict = judge_oldest(*c, now, next_look);
        if (verdict != TextVerdict::Waiting) {
            hold.unlock();
            if (!alive(*c)) return true;
            if (verdict == TextVerdict::Dropped) send_again(*c);
            else cancel_all(*c);
            continue;
        }
        if (now >= deadline) return false;
        g_speechd.changed.wait_until(hold, std::min(deadline, next_look));
        hold.unlock();
        if (!alive(*c)) return true;
    }
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
