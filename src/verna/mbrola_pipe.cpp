// The built-in MBROLA binding: the library's entry points served by the
// `mbrola` program (`mbrola -e VOICE - -`, phoneme lines in, 16-bit samples
// out). Each text goes to a process of its own whose end of output marks the
// text's last sample exactly; the next process is started as soon as one is
// used up, so that it has loaded the voice before the next text comes.
#include "verna/mbrola_pipe.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/os.h"
#include "util/wave_format.h"

namespace {

// Without any output or input taken for this long, the program is taken to
// hang and is ended; the text fails. Counted in waits of the poll, not on the
// program's clock, which is virtual in the headless backend.
constexpr int MBROLA_STALL_MS = 5000;
constexpr int MBROLA_POLL_MS = 50;
constexpr size_t MBROLA_MAX_ERROR_TEXT = 255;
constexpr int MBROLA_DEFAULT_RATE = 16000;
// A voice probe killed by a signal (not refused by the voice) is run again,
// up to this many times in all.
constexpr int MBROLA_MAX_PROBES = 3;
// Processes in a row that end on their own before they give any sound: the
// program cannot be restarted (its voice went away, it fails at once).
constexpr int MBROLA_MAX_DEAD_STARTS = 2;
// The end codes (128 + the signal number) of the signals that end a program
// from outside: hang-up, interrupt, kill and terminate.
constexpr int MBROLA_OUTSIDE_KILLS[] = {128 + 1, 128 + 2, 128 + 9, 128 + 15};

struct PipeState {
    bool initialised = false;
    std::string voice;
    std::string rename, clone;  // "a A b B" lists of init_rename_MBR
    int no_error = 0;
    float volume = 1.0f;
    int rate = MBROLA_DEFAULT_RATE;
    int requested_rate = 0;

    OsChild child;
    bool used = false;     // this process has been given input
    bool flushed = false;  // its input is closed
    bool ended = false;    // its output has ended
    std::string input;
    size_t input_written = 0;
    std::string output;
    size_t output_pos = 0;
    std::string errors;
    size_t errors_seen = 0;
    std::string text;      // all of this text's input, for a second process
    bool heard = false;    // the text's process has given output
    bool resent = false;   // the text went to a second process

    int error = 0;
    std::string error_text;

    int dead_starts = 0;   // processes in a row that ended on their own without a sound
    bool stopped = false;  // the program could not be started again
};
PipeState g_pipe;

void set_error(const std::string& text) {
    g_pipe.error = 1;
    g_pipe.error_text = text.substr(0, MBROLA_MAX_ERROR_TEXT);
}

// A complete line of error output that names an error is one of MBROLA's
// own (a fatal error in a line, an unknown diphone without -e, a database it
// cannot read); warnings and notices ("Too many phones without pitch
// information") leave the text's sound whole.
void scan_errors() {
    for (;;) {
        size_t nl = g_pipe.errors.find('\n', g_pipe.errors_seen);
        if (nl == std::string::npos) return;
        std::string line = g_pipe.errors.substr(g_pipe.errors_seen, nl - g_pipe.errors_seen);
        g_pipe.errors_seen = nl + 1;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        std::string lower = line;
        for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
        if (lower.find("error") != std::string::npos) set_error(line);
    }
}

void push_option(std::string (&store)[16], const char* (&argv)[16], int& n, const std::string& value) {
    store[n] = value;
    argv[n] = store[n].c_str();
    ++n;
}

bool start_program(OsChild& child, const std::string& voice, const std::string& output, bool ignore_errors) {
    std::string store[16];
    const char* argv[16] = {};
    int n = 0;
    push_option(store, argv, n, "mbrola");
    if (ignore_errors) push_option(store, argv, n, "-e");
    if (g_pipe.volume != 1.0f) {
        char v[32];
        std::snprintf(v, sizeof v, "%g", double(g_pipe.volume));
        push_option(store, argv, n, "-v");
        push_option(store, argv, n, v);
    }
    if (!g_pipe.rename.empty()) {
        push_option(store, argv, n, "-R");
        push_option(store, argv, n, g_pipe.rename);
    }
    if (!g_pipe.clone.empty()) {
        push_option(store, argv, n, "-C");
        push_option(store, argv, n, g_pipe.clone);
    }
    push_option(store, argv, n, voice);
    push_option(store, argv, n, "-");
    push_option(store, argv, n, output);
    argv[n] = nullptr;
    return os_child_start(argv, child);
}

void clear_text_state() {
    g_pipe.used = g_pipe.flushed = g_pipe.ended = false;
    g_pipe.input.clear();
    g_pipe.input_written = 0;
    g_pipe.output.clear();
    g_pipe.output_pos = 0;
    g_pipe.errors.clear();
    g_pipe.errors_seen = 0;
    g_pipe.text.clear();
    g_pipe.heard = g_pipe.resent = false;
}

void end_process(bool kill) {
    if (g_pipe.child.pid >= 0) os_child_finish(g_pipe.child, kill);
    clear_text_state();
}

// The process for the next text, started ahead of it.
void start_next() {
    end_process(true);
    if (!g_pipe.initialised || g_pipe.stopped) return;
    if (!start_program(g_pipe.child, g_pipe.voice, "-", g_pipe.no_error != 0)) {
        set_error("mbrola cannot be started");
        g_pipe.stopped = true;
    }
}

bool killed_from_outside(int code) {
    for (int killed : MBROLA_OUTSIDE_KILLS)
        if (code == killed) return true;
    return false;
}

// A process that ended on its own (an exit, a crash) without giving any
// sound counts against the program; a process killed from outside does not.
// True when the program has now failed too often in a row to be started
// again.
bool count_dead_start(int code) {
    if (code == 0 || killed_from_outside(code) || g_pipe.heard) return false;
    if (++g_pipe.dead_starts < MBROLA_MAX_DEAD_STARTS) return false;
    set_error("mbrola keeps ending as it starts");
    g_pipe.stopped = true;
    return true;
}

// The process started ahead of a text can end while it waits: it is reaped,
// so no zombie stays, and a fresh one takes its place, so that no text is
// lost to it. One killed from outside says nothing against the program and
// is replaced however often that happens; one that exits or crashes on its
// own before any text is the program failing at its start, and when that
// happens twice in a row the program cannot be restarted.
void replace_dead_waiting_process() {
    if (!g_pipe.initialised || g_pipe.used || g_pipe.child.pid < 0) return;
    size_t written = 0;
    OsChildIo r = os_child_exchange(g_pipe.child, nullptr, 0, written, g_pipe.output, g_pipe.errors, 0);
    if (r != OsChildIo::Ended && r != OsChildIo::Failed) return;
    // A process that has ended keeps its own end code through the kill.
    int code = os_child_finish(g_pipe.child, true);
    clear_text_state();
    if (count_dead_start(code)) return;
    start_next();
}

// A text's process killed from outside before it gave any sound: a fresh
// one is given the whole text again (once), so the text is not lost with it.
bool resend_killed_text(int code) {
    if (!killed_from_outside(code) || g_pipe.heard || g_pipe.resent) return false;
    std::string text = g_pipe.text;
    bool flushed = g_pipe.flushed;
    clear_text_state();
    g_pipe.error = 0;
    g_pipe.error_text.clear();
    if (!start_program(g_pipe.child, g_pipe.voice, "-", g_pipe.no_error != 0)) {
        set_error("mbrola cannot be started");
        g_pipe.stopped = true;
        g_pipe.ended = true;
        return true;
    }
    g_pipe.used = true;
    g_pipe.flushed = flushed;
    g_pipe.text = g_pipe.input = text;
    g_pipe.resent = true;
    if (flushed && text.empty()) os_child_close_input(g_pipe.child);
    return true;
}

// The process's output has ended; it was reaped with end code `code`, by
// which it is judged.
void finish_text(int code) {
    g_pipe.ended = true;
    scan_errors();
    if (code != 0 && !g_pipe.error) {
        char text[64];
        if (code > 128)
            std::snprintf(text, sizeof text, "mbrola ended by signal %d", code - 128);
        else
            std::snprintf(text, sizeof text, "mbrola ended with code %d", code);
        set_error(text);
    }
    if (!g_pipe.flushed) set_error(g_pipe.error ? g_pipe.error_text : "mbrola ended before its input did");
    if (code == 0) g_pipe.dead_starts = 0;
    count_dead_start(code);
}

// One round of traffic; false when the process is gone.
bool pump(int wait_ms, bool& progress) {
    progress = false;
    if (g_pipe.child.pid < 0 || g_pipe.ended) return false;
    OsChildIo r = os_child_exchange(g_pipe.child, g_pipe.input.data(), g_pipe.input.size(), g_pipe.input_written,
                                    g_pipe.output, g_pipe.errors, wait_ms);
    scan_errors();
    if (!g_pipe.output.empty()) g_pipe.heard = true;
    if (g_pipe.input_written == g_pipe.input.size() && g_pipe.input_written > 0) {
        g_pipe.input.clear();
        g_pipe.input_written = 0;
        if (g_pipe.flushed) os_child_close_input(g_pipe.child);
    }
    switch (r) {
        case OsChildIo::Progress: progress = true; return true;
        case OsChildIo::Idle: return true;
        case OsChildIo::Ended:
        case OsChildIo::Failed: break;
    }
    progress = true;
    // Reaped at once, so no zombie stays; one that already ended keeps its
    // own end code through the kill.
    int code = os_child_finish(g_pipe.child, r == OsChildIo::Failed);
    if (resend_killed_text(code)) return !g_pipe.ended;
    if (r == OsChildIo::Ended) {
        finish_text(code);
    } else {
        set_error("mbrola stopped taking input");
        g_pipe.ended = true;
        count_dead_start(code);
    }
    return false;
}

// Hands all pending input over, reading output meanwhile; bounded by the stall time.
void write_pending() {
    int idle_ms = 0;
    while (!g_pipe.input.empty() && !g_pipe.ended) {
        bool progress = false;
        if (!pump(MBROLA_POLL_MS, progress)) break;
        idle_ms = progress ? 0 : idle_ms + MBROLA_POLL_MS;
        if (idle_ms > MBROLA_STALL_MS) {
            set_error("mbrola does not answer");
            end_process(true);
            g_pipe.ended = true;
        }
    }
    if (g_pipe.flushed && g_pipe.input.empty()) os_child_close_input(g_pipe.child);
}

size_t whole_samples() { return (g_pipe.output.size() - g_pipe.output_pos) / 2; }

int take_samples(short* into, int max_count) {
    size_t n = whole_samples();
    if (max_count < 0) max_count = 0;
    if (n > size_t(max_count)) n = size_t(max_count);
    std::memcpy(into, g_pipe.output.data() + g_pipe.output_pos, n * 2);
    g_pipe.output_pos += n * 2;
    if (g_pipe.output_pos == g_pipe.output.size()) {
        g_pipe.output.clear();
        g_pipe.output_pos = 0;
    }
    return int(n);
}

bool probe_rate(const std::string& voice) {
    std::string wav = os_make_temp_file(".wav");
    if (wav.empty()) {
        set_error("no temporary file for the voice probe");
        return false;
    }
    std::string out, errors;
    bool ok = false;
    for (int probes = 1; !ok && probes <= MBROLA_MAX_PROBES; ++probes) {
        OsChild probe;
        if (!start_program(probe, voice, wav, true)) break;
        out.clear();
        errors.clear();
        const char lines[] = "_ 10\n_ 10\n";
        size_t written = 0;
        int idle_ms = 0;
        bool stalled = false;
        for (;;) {
            OsChildIo r = os_child_exchange(probe, lines, sizeof lines - 1, written, out, errors, MBROLA_POLL_MS);
            if (written == sizeof lines - 1) os_child_close_input(probe);
            if (r == OsChildIo::Ended || r == OsChildIo::Failed) break;
            idle_ms = r == OsChildIo::Progress ? 0 : idle_ms + MBROLA_POLL_MS;
            if (idle_ms > MBROLA_STALL_MS) {
                stalled = true;
                break;
            }
        }
        int code = os_child_finish(probe, true);
        ok = code == 0;
        // Killed from outside while the voice loads: that says nothing about
        // the voice, so it is tried again. A refusal or a hang is final.
        if (code <= 128 || stalled) break;
    }
    if (ok) {
        FILE* f = std::fopen(wav.c_str(), "rb");
        uint8_t buffer[64];
        WaveFileHeader header;
        ok = f && wave_parse_file_header(wave_file_source(f), buffer, sizeof buffer, header) && header.format.rate > 0;
        if (ok) g_pipe.rate = header.format.rate;
        if (f) std::fclose(f);
    }
    os_remove_file(wav);
    if (!ok) {
        while (!errors.empty() && (errors.back() == '\n' || errors.back() == '\r')) errors.pop_back();
        size_t nl = errors.rfind('\n');
        set_error(errors.empty() ? "mbrola cannot open the voice " + voice
                                 : (nl == std::string::npos ? errors : errors.substr(nl + 1)));
    }
    return ok;
}

int init_mbr(const char* database) {
    end_process(true);
    g_pipe.initialised = false;
    g_pipe.stopped = false;
    g_pipe.dead_starts = 0;
    g_pipe.error = 0;
    g_pipe.error_text.clear();
    g_pipe.voice = database ? database : "";
    if (g_pipe.voice.empty() || !probe_rate(g_pipe.voice)) return -1;
    g_pipe.initialised = true;
    start_next();
    return 0;
}

int init_rename_mbr(const char* database, const char* rename, const char* clone) {
    g_pipe.rename = rename ? rename : "";
    g_pipe.clone = clone ? clone : "";
    return init_mbr(database);
}

int write_mbr(const char* line) {
    if (!g_pipe.initialised) {
        set_error("mbrola is not initialised");
        return 0;
    }
    replace_dead_waiting_process();
    if (g_pipe.child.pid < 0 && !g_pipe.ended && !g_pipe.stopped) start_next();
    if (g_pipe.ended || g_pipe.flushed) {
        // The text's process is gone; what follows waits for a reset.
        if (!g_pipe.error) set_error("mbrola input after its end");
        return 0;
    }
    std::string text = line ? line : "";
    // The program reads lines ended by LF; a CR before it is dropped.
    for (size_t pos; (pos = text.find("\r\n")) != std::string::npos;) text.erase(pos, 1);
    g_pipe.used = true;
    g_pipe.input += text;
    g_pipe.text += text;
    write_pending();
    return int(text.size());
}

int flush_mbr() {
    if (!g_pipe.initialised || g_pipe.ended || g_pipe.child.pid < 0) return 0;
    g_pipe.used = true;
    g_pipe.flushed = true;
    write_pending();
    return 1;
}

// The output has ended: what is left, then 0 once, when the next text's
// process is started so that it loads the voice meanwhile.
int end_of_text(short* samples, int max_count) {
    int n = take_samples(samples, max_count);
    if (n == 0) {
        int error = g_pipe.error;
        std::string text = g_pipe.error_text;
        start_next();
        if (error) g_pipe.error = error, g_pipe.error_text = text;
    }
    return n;
}

// Samples are handed out in whole reads of max_count while the text's output
// still comes, and the remainder only at its end: how the pipe happens to
// cut the stream never shows in what the caller gets.
int read_mbr(short* samples, int max_count) {
    if (max_count <= 0) return 0;
    size_t want = size_t(max_count);
    if (whole_samples() >= want) return take_samples(samples, max_count);
    if (g_pipe.ended) return end_of_text(samples, max_count);
    if (!g_pipe.initialised || g_pipe.child.pid < 0) return 0;
    bool progress = false;
    if (!g_pipe.flushed) {
        pump(0, progress);
        return whole_samples() >= want ? take_samples(samples, max_count) : 0;
    }
    // After the flush every sample up to the end of output belongs to this
    // text: wait for a whole read or for the end.
    int idle_ms = 0;
    while (whole_samples() < want && !g_pipe.ended) {
        if (!pump(MBROLA_POLL_MS, progress)) break;
        idle_ms = progress ? 0 : idle_ms + MBROLA_POLL_MS;
        if (idle_ms > MBROLA_STALL_MS) {
            set_error("mbrola does not answer");
            os_child_finish(g_pipe.child, true);
            g_pipe.ended = true;
        }
    }
    return g_pipe.ended ? end_of_text(samples, max_count) : take_samples(samples, max_count);
}

int readtype_mbr(void* buffer, int max_count, int type) {
    // Only 16-bit linear samples (type 0 in MBROLA's numbering) are offered.
    return type == 0 ? read_mbr(static_cast<short*>(buffer), max_count) : 0;
}

void close_mbr() {
    end_process(true);
    g_pipe.initialised = false;
}

void reset_mbr() {
    g_pipe.error = 0;
    g_pipe.error_text.clear();
    // A process that has been given anything holds part of a text: it goes,
    // and a fresh one takes its place. An untouched one is kept.
    if (g_pipe.used || g_pipe.ended || g_pipe.child.pid < 0) start_next();
}

int last_error_mbr() { return g_pipe.error; }

int last_error_str_mbr(char* buffer, int size) {
    if (!buffer || size <= 0) return 0;
    int n = int(g_pipe.error_text.size()) < size - 1 ? int(g_pipe.error_text.size()) : size - 1;
    std::memcpy(buffer, g_pipe.error_text.data(), size_t(n));
    buffer[n] = '\0';
    return n;
}

void set_no_error_mbr(int no_error) {
    bool changed = (no_error != 0) != (g_pipe.no_error != 0);
    g_pipe.no_error = no_error;
    if (changed && g_pipe.initialised && !g_pipe.used) start_next();
}

int get_no_error_mbr() { return g_pipe.no_error; }
// The program always delivers the voice's own rate; a requested rate is only remembered.
void set_freq_mbr(int rate) { g_pipe.requested_rate = rate; }
int get_freq_mbr() { return g_pipe.rate; }

void set_volume_ratio_mbr(float ratio) {
    g_pipe.volume = ratio;
    if (g_pipe.initialised && !g_pipe.used) start_next();
}

float get_volume_ratio_mbr() { return g_pipe.volume; }

int get_version_mbr(char* buffer, int size) {
    const char text[] = "mbrola program over pipes";
    if (!buffer || size <= 0) return 0;
    std::snprintf(buffer, size_t(size), "%s", text);
    return int(std::strlen(buffer));
}

int get_database_info_mbr(char* buffer, int size, int) {
    if (buffer && size > 0) buffer[0] = '\0';
    return 0;
}

// The phone-level interface of the library has no counterpart in the
// program; these report that nothing was done.
int set_parser_mbr(void*) { return 0; }
void* init_phone(const char*, float) { return nullptr; }
void reset_phone(void*) {}
void close_phone(void*) {}
int appendf0_phone(void*, float, float) { return 0; }

void* const PIPE_ENTRIES[MBROLA_ENTRY_POINTS] = {
    reinterpret_cast<void*>(init_mbr),
    reinterpret_cast<void*>(init_rename_mbr),
    reinterpret_cast<void*>(write_mbr),
    reinterpret_cast<void*>(flush_mbr),
    reinterpret_cast<void*>(read_mbr),
    reinterpret_cast<void*>(readtype_mbr),
    reinterpret_cast<void*>(close_mbr),
    reinterpret_cast<void*>(reset_mbr),
    reinterpret_cast<void*>(last_error_mbr),
    reinterpret_cast<void*>(last_error_str_mbr),
    reinterpret_cast<void*>(set_no_error_mbr),
    reinterpret_cast<void*>(get_no_error_mbr),
    reinterpret_cast<void*>(set_freq_mbr),
    reinterpret_cast<void*>(get_freq_mbr),
    reinterpret_cast<void*>(set_volume_ratio_mbr),
    reinterpret_cast<void*>(get_volume_ratio_mbr),
    reinterpret_cast<void*>(get_version_mbr),
    reinterpret_cast<void*>(get_database_info_mbr),
    reinterpret_cast<void*>(set_parser_mbr),
    reinterpret_cast<void*>(init_phone),
    reinterpret_cast<void*>(reset_phone),
    reinterpret_cast<void*>(close_phone),
    reinterpret_cast<void*>(appendf0_phone),
};

}  // namespace

void* const* mbrola_pipe_entry_points() { return PIPE_ENTRIES; }

bool mbrola_pipe_available() { return !os_find_program("mbrola").empty(); }

void mbrola_pipe_reset() {
    end_process(true);
    g_pipe = PipeState{};
}

int mbrola_pipe_process_id() { return g_pipe.child.pid; }

void mbrola_pipe_tend() { replace_dead_waiting_process(); }

bool mbrola_pipe_stopped() { return g_pipe.stopped; }
