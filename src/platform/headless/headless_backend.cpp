// The headless backend: virtual clock, event queue, schedule and script keys.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <mutex>
#include <vector>

#include "platform/backend.h"
#include "platform/calendar.h"
#include "platform/event_ring.h"
#include "platform/headless/headless.h"
#include "platform/headless/key_script.h"
#include "platform/headless/scheduler.h"
#include "platform/system.h"
#include "util/bounded_file.h"

namespace {
constexpr int HEADLESS_MAX_QUEUED = 10000;
constexpr uint64_t NEVER = ~uint64_t{0};
// How long a wait without limit, with nothing scheduled and no key to hand
// out, gives other threads (an engine's callbacks) to post something before
// the backend decides that nothing will come.
constexpr int HEADLESS_GRACE_MS = 100;
// How long such a wait gives them when the script is used up but the
// console still holds keys the program has not read: the close would make
// them lose their effect, so an engine that answers late (a loaded machine)
// is waited for this long before the window is closed all the same.
constexpr int HEADLESS_UNREAD_GRACE_MS = 5000;

struct Scheduled {
    uint64_t at_us;
    uint64_t seq;
    int tag;
    OsEvent ev;
};

struct HeadlessData {
    bool started = false;
    uint64_t now_us = 0;
    // Milliseconds since 1970 of the start: local wall time read as if it
    // were UTC (for the calendar fields), and the true UTC instant.
    int64_t base_local_ms = 0;
    int64_t base_utc_ms = 0;
    std::vector<Scheduled> schedule;  // sorted by (at_us, seq)
    uint64_t next_seq = 0;
    std::vector<KeyItem> keys;
    size_t next_key = 0;
    uint64_t last_key_us = 0;  // when the previous script key was handed out
};

struct HeadlessState {
    std::mutex lock;
    std::condition_variable posted;
    HeadlessData d;
    // Outside HeadlessData, which is rebuilt on every load.
    EventRing<HEADLESS_MAX_QUEUED> queue;
} g;

// Parses "YYYY-MM-DD HH:MM:SS" into the two start instants.
bool parse_clock(const std::string& text, int64_t& local_ms, int64_t& utc_ms) {
    const char* shape = "dddd-dd-dd dd:dd:dd";
    if (text.size() != std::strlen(shape)) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        bool digit = text[i] >= '0' && text[i] <= '9';
        if (shape[i] == 'd' ? !digit : text[i] != shape[i]) return false;
    }
    auto num = [&](size_t at, size_t len) { return std::stoi(text.substr(at, len)); };
    int y = num(0, 4), mo = num(5, 2), da = num(8, 2), h = num(11, 2), mi = num(14, 2), s = num(17, 2);
    // A field out of its range (a 31st of April, hour 24) is no valid date.
    if (mo < 1 || mo > 12 || da < 1 || da > calendar_days_in_month(y, mo) || h > 23 || mi > 59 || s > 59)
        return false;
    OsTime face{};
    face.year = y;
    face.month = mo;
    face.day = da;
    face.hour = h;
    face.minute = mi;
    face.second = s;
    local_ms = (calendar_days_from_civil(y, mo, da) * 86400 + h * 3600 + mi * 60 + s) * 1000;
    utc_ms = system_utc_from_local(face) * 1000;
    return true;
}

void real_clock_base(int64_t& local_ms, int64_t& utc_ms) {
    utc_ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                 std::chrono::system_clock::now().time_since_epoch())
                 .count();
    int64_t seconds = utc_ms / 1000 - (utc_ms % 1000 < 0);
    local_ms = utc_ms + system_utc_offset_seconds(seconds) * 1000;
}

// Fresh state with the clock and keys given; the caller holds the lock.
bool load_locked(const std::string& script, const std::string& clock, std::string& error) {
    g.d = HeadlessData{};
    g.queue.clear();
    g.d.started = true;
    bool ok = true;
    if (!clock.empty()) {
        if (!parse_clock(clock, g.d.base_local_ms, g.d.base_utc_ms)) {
            error = "FUGA_CLOCK \"" + clock + "\" is not a valid YYYY-MM-DD HH:MM:SS";
            ok = false;
        }
    }
    if (clock.empty() || !ok) real_clock_base(g.d.base_local_ms, g.d.base_utc_ms);
    if (ok) {
        KeyScriptError e;
        if (!key_script_parse(script, g.d.keys, e)) {
            error = std::to_string(e.line) + ": " + e.message;
            ok = false;
        }
    }
    if (!ok) g.d.keys.clear();
    return ok;
}

const char* env(const char* name) {
    const char* v = std::getenv(name);
    return v && *v ? v : nullptr;
}

[[noreturn]] void refuse(const std::string& message) {
    std::fprintf(stderr, "fuga: %s\n", message.c_str());
    std::fflush(stderr);
    std::_Exit(2);
}

// Reads the key script at `path`, at most KEY_SCRIPT_MAX_BYTES of it: an
// endless source (/dev/zero) must not fill memory, and a directory is not
// an empty script. False with the reason in `error`.
bool read_script_file(const char* path, std::string& text, std::string& error) {
    switch (read_bounded_file(path, text, KEY_SCRIPT_MAX_BYTES)) {
    case BoundedRead::Ok:
        return true;
    case BoundedRead::TooLong:
        error = std::string("the key script ") + path + " is longer than " + std::to_string(KEY_SCRIPT_MAX_BYTES) +
                " bytes";
        return false;
    case BoundedRead::ReadError:
        if (errno == EISDIR) {
            error = std::string("the key script ") + path + " is a directory, not a file of keys";
            return false;
        }
        [[fallthrough]];
    case BoundedRead::CannotOpen:
        break;
    }
    error = std::string("cannot read the key script ") + path + " (" + std::strerror(errno) + ")";
    return false;
}

bool start() {
    {
        std::lock_guard<std::mutex> lk(g.lock);
        if (g.d.started) return true;
    }
    std::string clock, script, error;
    if (const char* c = env("FUGA_CLOCK")) clock = c;
    const char* path = env("FUGA_KEYS");
    if (path && !read_script_file(path, script, error)) refuse(error);
    bool ok;
    {
        std::lock_guard<std::mutex> lk(g.lock);
        ok = load_locked(script, clock, error);
    }
    // The clock is checked first, so a script error always has its line.
    if (!ok) refuse(error.rfind("FUGA_CLOCK", 0) == 0 ? error : std::string(path) + ":" + error);
    headless_audio_reset();
    return true;
}

void shutdown() {}

void push_locked(const OsEvent& ev) { g.queue.push_back(ev); }

bool pop_queue_locked(OsEvent& ev) { return g.queue.pop(ev); }

bool script_used_up() { return g.d.next_key >= g.d.keys.size(); }

// Virtual time of the next script key, NEVER if it waits for a key wait.
uint64_t timed_key_due() {
    if (script_used_up()) return NEVER;
    const KeyItem& k = g.d.keys[g.d.next_key];
    if (k.wait_ms < 0) return NEVER;
    return g.d.last_key_us + static_cast<uint64_t>(k.wait_ms) * 1000;
}

uint64_t earliest_scheduled() { return g.d.schedule.empty() ? NEVER : g.d.schedule.front().at_us; }

// Hands out the next script key: its first event, the rest queued ahead of
// anything else so that they follow at once.
void deliver_key_locked(OsEvent& ev, uint64_t at_us) {
    OsEvent evs[KEY_SCRIPT_MAX_EVENTS];
    int n = key_item_events(g.d.keys[g.d.next_key], evs);
    ++g.d.next_key;
    g.d.last_key_us = at_us;
    ev = evs[0];
    // The queue is empty here: every caller first takes what is queued.
    for (int i = n - 1; i >= 1; --i) g.queue.push_front(evs[i]);
}

// The earliest scheduled event or timed key due by `limit_us`; a scheduled
// event goes before a key due at the same instant.
bool take_due_locked(OsEvent& ev, uint64_t limit_us) {
    uint64_t s = earliest_scheduled(), k = timed_key_due();
    if (s != NEVER && s <= limit_us && s <= k) {
        ev = g.d.schedule.front().ev;
        g.d.schedule.erase(g.d.schedule.begin());
        g.d.now_us = std::max(g.d.now_us, s);
        return true;
    }
    if (k != NEVER && k <= limit_us) {
        g.d.now_us = std::max(g.d.now_us, k);
        deliver_key_locked(ev, k);
        return true;
    }
    return false;
}

OsEvent close_event() {
    OsEvent ev;
    ev.type = OsEventType::Close;
    return ev;
}

bool wait_event(OsEvent& ev, int timeout_ms, bool reading_key) {
    std::unique_lock<std::mutex> lk(g.lock);
    if (pop_queue_locked(ev)) return true;
    uint64_t now = g.d.now_us;
    if (take_due_locked(ev, now)) return true;
    bool idle = timeout_ms < 0 && earliest_scheduled() == NEVER && timed_key_due() == NEVER;
    if (idle && !reading_key) {
        // Nothing in virtual time will come; give real threads a moment.
        g.posted.wait_for(lk, std::chrono::milliseconds(HEADLESS_GRACE_MS), [] { return !g.queue.empty(); });
        if (pop_queue_locked(ev)) return true;
    }
    if (reading_key || idle) {
        if (!script_used_up() && g.d.keys[g.d.next_key].wait_ms < 0) {
            deliver_key_locked(ev, g.d.now_us);
            return true;
        }
        if (script_used_up()) {
            if (!reading_key && os_keys_unread() > 0) {
                g.posted.wait_for(lk, std::chrono::milliseconds(HEADLESS_UNREAD_GRACE_MS),
                    [] { return !g.queue.empty(); });
                if (pop_queue_locked(ev)) return true;
            }
            ev = close_event();
            return true;
        }
    }
    uint64_t deadline = timeout_ms < 0 ? NEVER : now + static_cast<uint64_t>(timeout_ms) * 1000;
    if (take_due_locked(ev, deadline)) return true;
    if (deadline != NEVER) g.d.now_us = deadline;
    return false;
}

bool poll_event(OsEvent& ev) {
    std::lock_guard<std::mutex> lk(g.lock);
    if (pop_queue_locked(ev)) return true;
    return take_due_locked(ev, g.d.now_us);
}

void post_event(const OsEvent& ev) {
    {
        std::lock_guard<std::mutex> lk(g.lock);
        push_locked(ev);
    }
    g.posted.notify_all();
}

uint64_t ticks_ms() {
    std::lock_guard<std::mutex> lk(g.lock);
    return g.d.now_us / 1000;
}

void sleep_ms(int ms) {
    if (ms <= 0) return;
    std::lock_guard<std::mutex> lk(g.lock);
    g.d.now_us += static_cast<uint64_t>(ms) * 1000;
}

OsTime local_time() {
    std::lock_guard<std::mutex> lk(g.lock);
    return calendar_time_from_ms(g.d.base_local_ms + static_cast<int64_t>(g.d.now_us / 1000));
}

OsTime utc_time() {
    std::lock_guard<std::mutex> lk(g.lock);
    return calendar_time_from_ms(g.d.base_utc_ms + static_cast<int64_t>(g.d.now_us / 1000));
}

// The console keeps its planes and writes the screen log itself.
void screen_open(const OsScreenConfig&) {}
void screen_draw(int, int, const unsigned char*, int, OsRgb, OsRgb) {}
void screen_caret(bool, int, int) {}
bool screen_scrolled(OsRgb) { return false; }
void screen_title(const std::string&) {}
void beep() {}
bool screen_focused() { return true; }
void screen_close() {}

const OsBackend backend = {"headless", start, shutdown, wait_event, poll_event, post_event,
    ticks_ms, sleep_ms, local_time, utc_time, screen_open, screen_draw,
    screen_caret, screen_scrolled, screen_title, beep, screen_focused, screen_close,
    local_clipboard_set, local_clipboard_get};
}  // namespace

const OsBackend* headless_backend() { return &backend; }

bool headless_reset_for_test(const std::string& script_text, const std::string& clock, std::string* error) {
    std::string c = clock, e;
    if (c.empty())
        if (const char* v = env("FUGA_CLOCK")) c = v;
    bool ok;
    {
        std::lock_guard<std::mutex> lk(g.lock);
        ok = load_locked(script_text, c, e);
    }
    headless_audio_reset();
    if (error) *error = e;
    return ok;
}

uint64_t headless_now_us() {
    std::lock_guard<std::mutex> lk(g.lock);
    return g.d.now_us;
}

bool headless_schedule(uint64_t at_us, const OsEvent& ev, int tag) {
    std::lock_guard<std::mutex> lk(g.lock);
    if (g.d.schedule.size() >= HEADLESS_MAX_SCHEDULED) return false;
    Scheduled s{at_us, g.d.next_seq++, tag, ev};
    auto pos = std::upper_bound(g.d.schedule.begin(), g.d.schedule.end(), s, [](const Scheduled& a, const Scheduled& b) {
        return a.at_us != b.at_us ? a.at_us < b.at_us : a.seq < b.seq;
    });
    g.d.schedule.insert(pos, s);
    return true;
}

void headless_flush_scheduled(int tag) {
    {
        std::lock_guard<std::mutex> lk(g.lock);
        auto& sch = g.d.schedule;
        for (const Scheduled& s : sch)
            if (s.tag == tag) push_locked(s.ev);
        sch.erase(std::remove_if(sch.begin(), sch.end(), [tag](const Scheduled& s) { return s.tag == tag; }), sch.end());
    }
    g.posted.notify_all();
}

void headless_drop_scheduled(int tag) {
    std::lock_guard<std::mutex> lk(g.lock);
    auto& sch = g.d.schedule;
    sch.erase(std::remove_if(sch.begin(), sch.end(), [tag](const Scheduled& s) { return s.tag == tag; }), sch.end());
}
