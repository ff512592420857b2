// The speech-server bridges: one connection per bridge; the server's end
// and cancel notifications stand for the completion event.
#include "audio/sapi5.h"

#include "audio/extsynth.h"
#include "console/console.h"
#include "console/key_cut.h"
#include "platform/os.h"

namespace {
constexpr int SAPI5_MAX_BRIDGES = 2;
constexpr int SAPI5_BUSY_WAIT_MS = 20;
// The completion wait is cut into slices; between them the window's messages
// run, so that a key pressed meanwhile ends the wait (as a wait for the event
// or a message would) and the caller cuts the speech at once.
constexpr int SAPI5_BUSY_SLICE_MS = 4;
constexpr unsigned SAPI5_SILENCE_WAIT_MS = 50;
constexpr unsigned SAPI5_STOP_POLL_MS = 300;
// The output module of each bridge: the server's default, then RHVoice.
const char* const SAPI5_MODULES[SAPI5_MAX_BRIDGES] = {"", "rhvoice"};

struct Sapi5Bridge {
    int connection = -1;  // none when not started
    int voice_count = 0;
    int voice_number = 0;
};
Sapi5Bridge g_sapi5[SAPI5_MAX_BRIDGES];

bool start(int which, int voice, int rate) {
    Sapi5Bridge& b = g_sapi5[which];
    if (b.connection >= 0) os_voice_server_close(b.connection);
    b = Sapi5Bridge{};
    // The connection asks for every event as it opens.
    int connection = os_voice_server_open(SAPI5_MODULES[which]);
    if (connection < 0) return false;
    int count = os_voice_server_voice_count(connection);
    if (count <= 0) {
        os_voice_server_close(connection);
        return false;
    }
    // No voice of the list: the first, at its own rate.
    if (voice < 1 || voice > count) {
        voice = 1;
        rate = 0;
    }
    if (!os_voice_server_select_voice(connection, voice - 1)) {
        os_voice_server_close(connection);
        return false;
    }
    // Rate 0 is the voice's own: none is sent, since sending 0 would replace
    // the rate the user gave the voice in the system's settings (the
    // server's DefaultRate, the control panel's rate) by the middle one.
    // The voice's own rate also stays when the server refuses this one.
    if (rate != 0) os_voice_server_set_rate(connection, rate);
    b.connection = connection;
    b.voice_count = count;
    b.voice_number = voice;
    return true;
}

void speak(int which, const std::string& text) {
    const Sapi5Bridge& b = g_sapi5[which];
    if (b.connection < 0 || !os_voice_server_speak(b.connection, text.empty() ? " " : text)) os_beep();
}

bool busy(int which) {
    const Sapi5Bridge& b = g_sapi5[which];
    if (b.connection < 0) return false;
    for (int waited = 0;;) {
        // A key waiting (the question lets the messages run) wants the answer
        // now, not at the end of the 20 ms.
        int slice = key_cut_should_stop() ? 0 : SAPI5_BUSY_SLICE_MS;
        if (os_voice_server_wait_done(b.connection, slice)) return false;
        waited += slice;
        if (slice == 0 || waited >= SAPI5_BUSY_WAIT_MS) break;
    }
    extsynth_post_wake();
    return true;
}

void silence(int which) {
    const Sapi5Bridge& b = g_sapi5[which];
    if (b.connection >= 0) os_voice_server_cancel(b.connection);
    console_delay(SAPI5_SILENCE_WAIT_MS);
}

bool available(int which) {
    const Sapi5Bridge& b = g_sapi5[which];
    return b.connection >= 0 && os_voice_server_alive(b.connection);
}

void stop(int which) {
    Sapi5Bridge& b = g_sapi5[which];
    if (b.connection < 0) return;
    while (busy(which)) console_delay(SAPI5_STOP_POLL_MS);
    os_voice_server_close(b.connection);
    b = Sapi5Bridge{};
}
}  // namespace

bool sapi5_start(int voice, int rate, int, const std::string&) { return start(0, voice, rate); }
void sapi5_speak(const std::string& text) { speak(0, text); }
bool sapi5_busy() { return busy(0); }
void sapi5_silence() { silence(0); }
void sapi5_stop() { stop(0); }
int sapi5_voice_number() { return g_sapi5[0].voice_number; }
bool sapi5_available() { return available(0); }

bool sapi54_start(int voice, int rate, int, const std::string&) { return start(1, voice, rate); }
void sapi54_speak(const std::string& text) { speak(1, text); }
bool sapi54_busy() { return busy(1); }
void sapi54_silence() { silence(1); }
void sapi54_stop() { stop(1); }
int sapi54_voice_number() { return g_sapi5[1].voice_number; }
bool sapi54_available() { return available(1); }

void sapi5_reset() {
    for (Sapi5Bridge& b : g_sapi5) b = Sapi5Bridge{};
}
