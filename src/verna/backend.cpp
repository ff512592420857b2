// Synthesizer type 3: the engine configured from "VERNATTS" and driven with
// the front end's rate and pitch.
#include "verna/backend.h"

#include "audio/extsynth.h"
#include "console/console.h"
#include "console/key_cut.h"
#include "platform/config.h"
#include "platform/os.h"
#include "platform/registry.h"
#include "verna/mbrola.h"
#include "verna/verna.h"

namespace {

constexpr int VERNA_WAKE_MESSAGE = 2980;
constexpr unsigned VERNA_STOP_WAIT_MS = 500;

struct BackendState {
    bool configured = false;
    VernaBackendFiles files;
};
BackendState g_backend;

void post_wake() {
    OsEvent ev;
    ev.type = OsEventType::Wake;
    ev.param = VERNA_WAKE_MESSAGE;
    os_post_event(ev);
}

// A directory written with "\" only keeps that separator; any other gets "/".
std::string with_separator(std::string dir) {
    if (dir.empty() || dir.back() == '/' || dir.back() == '\\') return dir;
    bool windows = dir.find('\\') != std::string::npos && dir.find('/') == std::string::npos;
    return dir + (windows ? '\\' : '/');
}

void configure() {
    if (g_backend.configured) return;
    VernaBackendFiles& f = g_backend.files;
    f.database = config_read_setting("VERNATTS", "MBROLA_DB");
    if (f.database.empty()) f.database = "br4";
    f.directory = config_read_setting("VERNATTS", "DIR");
    if (f.directory.empty()) {
        std::string value;
        if (registry_read_path("SOFTWARE\\TCTS\\Mbrola\\databases\\BR4\\", value))
            f.directory = value.size() > 3 ? value.substr(0, value.size() - 3) : "";
        else
            f.directory = "\\brelum\\vernatts\\";
    }
    f.directory = with_separator(f.directory);
    f.base = config_read_setting("VERNATTS", "BASE");
    if (f.base.empty()) f.base = "portug";
    std::string stem = f.directory + f.base;
    f.rules = stem + ".nrl";
    f.exceptions = stem + ".exc";
    f.abbreviations = stem + ".abr";
    f.prosody = stem + ".pro";
    f.diphones = stem + ".dfn";
    f.library = config_read_setting("VERNATTS", "MBROLA_LIB");
    g_backend.configured = true;
}

}  // namespace

const VernaBackendFiles& verna_backend_files() {
    configure();
    return g_backend.files;
}

bool verna_backend_start(int, int rate, int pitch, const std::string& output_file) {
    const VernaBackendFiles& f = verna_backend_files();
    mbrola_set_library(f.library);
    verna_set_output_file(output_file);
    bool ok = verna_start(f.database, f.rules, f.exceptions, f.abbreviations, f.prosody, f.diphones);
    verna_set_factors(0.8 - double(rate) / 15.0, (double(pitch) + 11.0) / 11.0);
    // A start that failed after the voice opened leaves MBROLA open; it is
    // closed here, as nothing will speak through it.
    if (!ok) verna_stop();
    return ok;
}

void verna_backend_speak(const std::string& text) {
    verna_speak(text);
    post_wake();
}

bool verna_backend_busy() {
    mbrola_tend();
    bool busy = verna_busy();
    if (key_cut_should_stop()) {
        verna_backend_silence();
        busy = false;
    }
    post_wake();
    return busy;
}

void verna_backend_silence() {
    verna_silence();
    post_wake();
}

void verna_backend_stop() {
    while (verna_backend_busy()) console_delay(VERNA_STOP_WAIT_MS);
    verna_backend_silence();
    verna_stop();
}

const ExtSynthEngine* verna_backend_engine() {
    static const ExtSynthEngine engine = {"verna",
                                          verna_backend_start,
                                          verna_backend_stop,
                                          verna_backend_speak,
                                          [](bool) { return verna_backend_busy(); },
                                          verna_backend_silence,
                                          [] { return !mbrola_stopped(); }};
    return &engine;
}

void verna_backend_reset() { g_backend = BackendState{}; }
