// The engine's interface: start and stop with its data files and voice, the
// passage of a text through every stage, busy and silence, file output.
#include "verna/verna.h"

#include <cstdio>

#include "audio/wave_output.h"
#include "platform/registry.h"
#include "util/wave_format.h"
#include "util/latin1.h"
#include "verna/abbreviations.h"
#include "verna/letter_rules.h"
#include "verna/mbrola.h"
#include "verna/mbrola_lines.h"
#include "verna/normalise.h"
#include "verna/prosody.h"
#include "verna/synthesis.h"
#include "verna/tokens.h"

namespace {

struct EngineState {
    std::string output_name;
    bool writing_to_file = false;
    FILE* file = nullptr;
    double duration_factor = 1.0;
    double pitch_factor = 1.0;
    std::string last_error;
    bool voice_open = false;
    int rate = VERNA_SAMPLE_RATE;
};
EngineState g_engine;

void fail_with(const char* utf8_text) { g_engine.last_error = latin1(utf8_text).substr(0, VERNA_MAX_ERROR_TEXT); }

std::string or_default(const std::string& value, const char* def) { return value.empty() ? def : value; }

bool blank_text(const std::string& text) {
    for (unsigned char c : text)
        if (c > ' ') return false;
    return true;
}

VernaLines mbrola_lines_for(const std::string& text) {
    VernaLines patterns = verna_assign_patterns(verna_tokenise(verna_normalise_text(text)));
    return verna_make_mbrola_lines(verna_text_to_phonemes(patterns), g_engine.duration_factor, g_engine.pitch_factor);
}

}  // namespace

void verna_set_output_file(const std::string& name) { g_engine.output_name = name; }

namespace {
double held(double factor, double low, double high) {
    if (factor != factor) return 1.0;  // NaN
    return factor < low ? low : factor > high ? high : factor;
}
}  // namespace

void verna_set_factors(double duration_factor, double pitch_factor) {
    g_engine.duration_factor = held(duration_factor, VERNA_MIN_DURATION_FACTOR, VERNA_MAX_DURATION_FACTOR);
    g_engine.pitch_factor = held(pitch_factor, VERNA_MIN_PITCH_FACTOR, VERNA_MAX_PITCH_FACTOR);
}

std::string verna_database_path(const std::string& database) {
    std::string path = database;
    std::string value;
    if (registry_read_path("SOFTWARE\\TCTS\\Mbrola\\databases\\" + database, value)) path = value;
    if (path.empty()) path = VERNA_DEFAULT_DATABASE_PATH;
    return path;
}

bool verna_start(const std::string& database, const std::string& rules, const std::string& exceptions,
                 const std::string& abbreviations, const std::string& prosody, const std::string& diphones) {
    g_engine.last_error.clear();
    if (!mbrola_bind()) return false;
    const MbrolaApi& m = mbrola();
    std::string path = verna_database_path(or_default(database, VERNA_DEFAULT_DATABASE));
    if (m.init(path.c_str()) < 0) {
        mbrola_unbind();
        return false;
    }
    g_engine.voice_open = true;
    m.set_no_error(1);
    g_engine.rate = m.get_freq() > 0 ? m.get_freq() : VERNA_SAMPLE_RATE;
    verna_release_rules();
    verna_release_diphones();
    if (!verna_load_rules(or_default(rules, VERNA_DEFAULT_RULES)) ||
        !verna_load_exceptions(or_default(exceptions, VERNA_DEFAULT_EXCEPTIONS))) {
        fail_with("Erro na base de dados de português");
        return false;
    }
    if (!verna_load_abbreviations(or_default(abbreviations, VERNA_DEFAULT_ABBREVIATIONS))) {
        fail_with("Erro no arquivo de abreviaturas");
        return false;
    }
    if (!verna_load_prosody(or_default(prosody, VERNA_DEFAULT_PROSODY)) ||
        !verna_load_diphones(or_default(diphones, VERNA_DEFAULT_DIPHONES))) {
        fail_with("Erro no arquivo de prosódia");
        return false;
    }
    g_engine.writing_to_file = false;
    if (g_engine.output_name.empty()) return true;
    g_engine.file = std::fopen(g_engine.output_name.c_str(), "w+b");
    if (!g_engine.file) return false;
    uint8_t header[WAVE_HEADER_BYTES];
    verna_wave_header(header, 0, uint32_t(g_engine.rate));
    if (std::fwrite(header, 1, sizeof header, g_engine.file) != sizeof header || std::fflush(g_engine.file) != 0) {
        fail_with("Arquivo de saída não pode ser criado");
        std::fclose(g_engine.file);
        g_engine.file = nullptr;
        return false;
    }
    g_engine.writing_to_file = true;
    return true;
}

bool verna_speak(const std::string& text) {
    if (blank_text(text)) return true;
    if (!mbrola_bound() || !g_engine.voice_open) return false;
    return verna_synthesise(mbrola_lines_for(text), g_engine.writing_to_file ? g_engine.file : nullptr);
}

std::string verna_mbrola_text(const std::string& text) {
    std::string out;
    if (blank_text(text)) return out;
    VernaLines lines = mbrola_lines_for(text);
    size_t bytes = 0;
    for (const std::string& line : lines) bytes += line.size() + 1;
    out.reserve(bytes);
    for (const std::string& line : lines) out.append(line).push_back('\n');
    return out;
}

bool verna_busy() { return !g_engine.writing_to_file && wave_busy(); }

void verna_silence() {
    if (!g_engine.writing_to_file) wave_stop();
}

void verna_stop() {
    if (g_engine.writing_to_file && g_engine.file) {
        // The header gets the true data length; the file stays open between
        // start and stop, so it is rewritten in place.
        std::fflush(g_engine.file);
        std::fseek(g_engine.file, 0, SEEK_END);
        long size = std::ftell(g_engine.file);
        uint8_t header[WAVE_HEADER_BYTES];
        verna_wave_header(header, size > long(WAVE_HEADER_BYTES) ? uint32_t(size - long(WAVE_HEADER_BYTES)) : 0,
                          uint32_t(g_engine.rate));
        std::fseek(g_engine.file, 0, SEEK_SET);
        std::fwrite(header, 1, sizeof header, g_engine.file);
    }
    if (g_engine.file) std::fclose(g_engine.file);
    g_engine.file = nullptr;
    g_engine.writing_to_file = false;
    verna_release_rules();
    verna_release_diphones();
    if (mbrola_bound() && g_engine.voice_open) mbrola().close();
    g_engine.voice_open = false;
    mbrola_unbind();
}

double verna_duration_factor() { return g_engine.duration_factor; }
double verna_pitch_factor() { return g_engine.pitch_factor; }

const std::string& verna_last_error() { return g_engine.last_error; }

void verna_reset() {
    verna_stop();
    g_engine = EngineState{};
    verna_synthesis_reset();
    verna_mbrola_lines_reset();
}
