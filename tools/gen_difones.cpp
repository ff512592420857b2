// Builds the own synthesizer's voice databases and letter recordings with
// espeak-ng: every unit the rules can ask for is synthesized from its
// phonemes, trimmed of silence, levelled and stored as 8-bit unsigned mono
// at 11025 Hz.
//
//   gen_difones db SPEED RULES EXCEPTIONS OUTDIR [TEXT...]   DIFONES<SPEED>.IND/.DIF
//   gen_difones list SPEED UNITS OUTDIR                     the same for the names in a file
//   gen_difones units RULES EXCEPTIONS [TEXT...]             list the unit names
//   gen_difones words RULES EXCEPTIONS WORD...               phonemes and units of words
//   gen_difones say DATADIR SPEED TEXT OUT.wav               speak a text into a WAV file
#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "diphone/diphone.h"
#include "diphone/inventory.h"
#include "diphone/rules.h"
#include "speech/wave_image.h"
#include "util/latin1.h"
#include "util/wave_format.h"
#include "system_support.h"

namespace {

// espeak-ng words per minute for speeds 1 (slowest) to 5 (fastest).
const int RATES[6] = {0, 125, 150, 175, 210, 250};
constexpr int OUT_RATE = 11025;

struct Synth {
    std::vector<short> samples;
    std::vector<std::pair<int, std::string>> phonemes;  // (ms, name)
    int rate = 22050;
};

Synth g_synth;

int on_samples(short* wav, int count, espeak_EVENT* events) {
    if (wav && count > 0) g_synth.samples.insert(g_synth.samples.end(), wav, wav + count);
    for (espeak_EVENT* e = events; e && e->type != espeakEVENT_LIST_TERMINATED; ++e)
        if (e->type == espeakEVENT_PHONEME) g_synth.phonemes.emplace_back(e->audio_position, e->id.string);
    return 0;
}

bool synth_start(int rate_wpm) {
    g_synth.rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_PHONEME_EVENTS);
    if (g_synth.rate <= 0) return false;
    if (espeak_SetVoiceByName("pt-br") != EE_OK && espeak_SetVoiceByName("pt") != EE_OK) return false;
    espeak_SetSynthCallback(on_samples);
    espeak_SetParameter(espeakRATE, rate_wpm, 0);
    espeak_SetParameter(espeakVOLUME, 100, 0);
    return true;
}

// Synthesizes text (UTF-8) and returns float samples at 22050 Hz.
std::vector<float> speak(const std::string& text) {
    g_synth.samples.clear();
    g_synth.phonemes.clear();
    espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8 | espeakPHONEMES, nullptr,
                 nullptr);
    espeak_Synchronize();
    std::vector<float> out(g_synth.samples.size());
    for (size_t i = 0; i < out.size(); ++i) out[i] = g_synth.samples[i] / 32768.0f;
    return out;
}

// Halves the rate with a windowed-sinc low-pass.
std::vector<float> downsample(const std::vector<float>& in, int in_rate) {
    if (in_rate == OUT_RATE) return in;
    double step = static_cast<double>(in_rate) / OUT_RATE;
    const int taps = 16;
    double cutoff = 0.45 / step;
    std::vector<float> out;
    for (double pos = 0; pos < in.size(); pos += step) {
        double acc = 0, norm = 0;
        long centre = static_cast<long>(pos);
        for (long k = centre - taps; k <= centre + taps; ++k) {
            double x = k - pos;
            double sinc = x == 0 ? 2 * cutoff : std::sin(2 * SYS_PI * cutoff * x) / (SYS_PI * x);
            double w = 0.5 + 0.5 * std::cos(SYS_PI * x / (taps + 1));
            double h = sinc * w;
            norm += h;
            if (k >= 0 && k < static_cast<long>(in.size())) acc += h * in[k];
        }
        out.push_back(static_cast<float>(norm != 0 ? acc / norm : 0));
    }
    return out;
}

// Keeps [first, last) where 5 ms windows rise above the threshold, with a
// short margin and fades so joins do not click.
std::vector<float> trim(const std::vector<float>& s, float threshold, int margin) {
    const int win = OUT_RATE / 200;
    std::vector<double> rms;
    double loudest = 0;
    for (long i = 0; i + win <= static_cast<long>(s.size()); i += win / 2) {
        double e = 0;
        for (int k = 0; k < win; ++k) e += s[i + k] * s[i + k];
        rms.push_back(std::sqrt(e / win));
        loudest = std::max(loudest, rms.back());
    }
    // Thresholds follow the unit's own level, so faint consonants keep their
    // body; a decaying end is cut sooner than a rising start.
    double head = std::min<double>(threshold, 0.1 * loudest);
    double tail = std::min<double>(std::max(threshold, 0.02f), 0.25 * loudest);
    long first = -1, last = -1;
    for (size_t w = 0; w < rms.size(); ++w) {
        long i = static_cast<long>(w) * (win / 2);
        if (first < 0 && rms[w] > head) first = i;
        if (first >= 0 && rms[w] > tail) last = i + win;
    }
    if (first < 0) return {};
    if (last < first) last = std::min(static_cast<long>(s.size()), first + win);
    first = std::max(0L, first - margin);
    last = std::min(static_cast<long>(s.size()), last + margin);
    std::vector<float> out(s.begin() + first, s.begin() + last);
    const int fade = OUT_RATE / 400;
    for (int i = 0; i < fade && i < static_cast<int>(out.size()); ++i) {
        float g = static_cast<float>(i) / fade;
        out[i] *= g;
        out[out.size() - 1 - i] *= g;
    }
    return out;
}

std::vector<uint8_t> to_u8(const std::vector<float>& s, float gain) {
    std::vector<uint8_t> out(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        long v = std::lround(s[i] * gain * 127.0f) + 128;
        out[i] = static_cast<uint8_t>(std::clamp(v, 1L, 255L));
    }
    return out;
}

float peak_of(const std::vector<float>& s) {
    float p = 0;
    for (float x : s) p = std::max(p, std::fabs(x));
    return p;
}

// The rule file's phoneme letters (as unit names hold them, upper case) and
// what espeak-ng's Brazilian voice calls them; longest first. Plain vowels
// are the open ones; "^" (CIRC) closes them and "~" (TIL) nasalises them.
struct Sound {
    const char* letters;
    const char* espeak;
    bool vowel;
};
const Sound SOUNDS[] = {
    {"TCH", "tS", false}, {"DJ", "dZ", false}, {"NH", "n^", false}, {"LH", "lj", false}, {"RR", "x", false},
    {"KS", "ks", false},  {"A", "a", true},    {"E", "E", true},    {"I", "i", true},    {"O", "O", true},
    {"U", "u", true},     {"B", "b", false},   {"C", "k", false},   {"D", "d", false},   {"F", "f", false},
    {"G", "g", false},    {"H", "", false},    {"J", "Z", false},   {"K", "k", false},   {"L", "l", false},
    {"M", "m", false},    {"N", "n", false},   {"P", "p", false},   {"Q", "k", false},   {"R", "*", false},
    {"S", "s", false},    {"T", "t", false},   {"V", "v", false},   {"W", "w", false},   {"X", "S", false},
    {"Y", "j", false},    {"Z", "z", false},
};

struct Phone {
    std::string espeak;
    bool vowel;
};

const char* closed_vowel(const std::string& v) {
    if (v == "a") return "&";
    if (v == "E") return "e";
    if (v == "O") return "o";
    return nullptr;
}

const char* nasal_vowel(const std::string& v) {
    if (v == "a") return "&~";
    if (v == "E") return "eIN";
    if (v == "i") return "iN";
    if (v == "O") return "oN";
    if (v == "u") return "u~N";
    return nullptr;
}

// Nasal diphthongs: vowel and glide together.
const char* nasal_diphthong(const std::string& v, const std::string& glide) {
    if (v == "a") return glide == "w" ? "&U~" : "&~y";
    if (v == "E") return "eIN";
    if (v == "O") return glide == "w" ? "&U~" : "o~j";
    if (v == "u") return "u~j";
    return nullptr;
}

// The phones of a unit name without its "$"; the CIRC and TIL suffixes
// close or nasalise the last vowel (with its glide).
std::vector<Phone> phones_of(std::string body, bool& ok) {
    ok = true;
    int suffix = 0;
    if (body.size() > 4 && body.compare(body.size() - 4, 4, "CIRC") == 0) {
        suffix = 1;
        body.resize(body.size() - 4);
    } else if (body.size() > 3 && body.compare(body.size() - 3, 3, "TIL") == 0) {
        suffix = 2;
        body.resize(body.size() - 3);
    }
    std::vector<Phone> phones;
    for (size_t i = 0; i < body.size();) {
        const Sound* hit = nullptr;
        for (const Sound& s : SOUNDS) {
            size_t n = std::strlen(s.letters);
            if (body.compare(i, n, s.letters) == 0) {
                hit = &s;
                break;
            }
        }
        if (!hit) {
            ok = false;
            ++i;
            continue;
        }
        if (*hit->espeak) phones.push_back({hit->espeak, hit->vowel});
        i += std::strlen(hit->letters);
    }
    long last = -1;
    for (size_t i = 0; i < phones.size(); ++i)
        if (phones[i].vowel) last = static_cast<long>(i);
    if (suffix == 1 && last >= 0) {
        if (const char* c = closed_vowel(phones[last].espeak)) phones[last].espeak = c;
    } else if (suffix == 2 && last >= 0) {
        bool glide = last + 1 < static_cast<long>(phones.size()) &&
                     (phones[last + 1].espeak == "w" || phones[last + 1].espeak == "j");
        const char* n = glide ? nasal_diphthong(phones[last].espeak, phones[last + 1].espeak)
                              : nasal_vowel(phones[last].espeak);
        if (n) {
            phones[last].espeak = n;
            if (glide) phones.erase(phones.begin() + last + 1);
        }
    }
    // Glides after a vowel belong to its diphthong.
    for (size_t i = 1; i < phones.size(); ++i)
        if (phones[i - 1].vowel && (phones[i].espeak == "w" || phones[i].espeak == "j"))
            phones[i].espeak = phones[i].espeak == "w" ? "U" : "I";
    return phones;
}

// A plosive starts at its burst: whatever espeak-ng puts before the
// closure (within the first `limit` samples) is dropped.
std::vector<float> from_burst(std::vector<float> s, size_t limit) {
    const size_t win = OUT_RATE / 400;
    size_t start = 0;
    bool quiet = false;
    for (size_t i = 0; i + win <= std::min(limit, s.size()); i += win) {
        float p = 0;
        for (size_t k = 0; k < win; ++k) p = std::max(p, std::fabs(s[i + k]));
        if (p < 0.01f)
            quiet = true;
        else if (quiet) {
            start = i;
            quiet = false;
        }
    }
    s.erase(s.begin(), s.begin() + static_cast<long>(start));
    return s;
}

const std::set<std::string> PLOSIVES = {"p", "b", "t", "d", "k", "g", "tS", "dZ"};
// Only these start after a silent closure; voiced ones keep their voicing.
const std::set<std::string> VOICELESS_PLOSIVES = {"p", "t", "k", "tS"};

// A consonant cut out of a carrier syllable: before the vowel (onset) or
// after it (coda), where espeak-ng's phoneme events put the boundary.
std::vector<float> consonant_sound(const std::string& text, bool onset, bool plosive, bool voiceless) {
    std::vector<float> s = downsample(speak(onset ? "[[" + text + "'a]]" : "[['a" + text + "]]"), g_synth.rate);
    int cut_ms = -1;
    int vowel_index = -1;
    for (size_t i = 0; i < g_synth.phonemes.size(); ++i)
        if (g_synth.phonemes[i].second == "a") vowel_index = static_cast<int>(i);
    if (vowel_index >= 0) {
        if (onset)  // plosives keep the start of the vowel's transition
            cut_ms = g_synth.phonemes[vowel_index].first + (plosive ? 35 : 10);
        else if (vowel_index + 1 < static_cast<int>(g_synth.phonemes.size()))
            cut_ms = g_synth.phonemes[vowel_index + 1].first;
    }
    if (cut_ms < 0) return {};
    size_t cut = std::min(s.size(), static_cast<size_t>(cut_ms) * OUT_RATE / 1000);
    std::vector<float> part = onset ? std::vector<float>(s.begin(), s.begin() + cut)
                                    : std::vector<float>(s.begin() + cut, s.end());
    if (onset && voiceless) part = from_burst(part, part.size());
    return trim(part, 0.004f, 8);
}

// A unit's sound at 11025 Hz. Units without a vowel come from a carrier
// syllable: plosives before a vowel, other consonants after one.
std::vector<float> unit_sound(const std::string& name, bool& ok) {
    std::string body = name.substr(1);
    std::vector<Phone> phones = body == "NN" ? std::vector<Phone>{{"N", false}} : phones_of(body, ok);
    if (phones.empty()) return {};
    bool has_vowel = std::any_of(phones.begin(), phones.end(), [](const Phone& p) { return p.vowel; });
    std::string text;
    bool stressed = false;
    for (const Phone& p : phones) {
        if (p.vowel && !stressed) {
            text += "'";
            stressed = true;
        }
        text += p.espeak;
    }
    static const std::set<std::string> codas = {"s", "z", "S", "Z", "x"};
    bool onset = codas.count(phones.front().espeak) == 0;
    if (has_vowel) {
        std::vector<float> s = trim(downsample(speak("[[" + text + "]]"), g_synth.rate), 0.008f, 10);
        return VOICELESS_PLOSIVES.count(phones.front().espeak) ? trim(from_burst(s, OUT_RATE / 10), 0.008f, 8) : s;
    }
    bool plosive = PLOSIVES.count(phones.front().espeak) > 0;
    bool voiceless = VOICELESS_PLOSIVES.count(phones.front().espeak) > 0;
    std::vector<float> s = consonant_sound(text, onset, plosive, voiceless);
    return s.size() < OUT_RATE / 100 ? consonant_sound(text, !onset, plosive, voiceless) : s;
}

std::vector<std::string> extra_texts(int argc, char** argv, int from) {
    std::vector<std::string> words;
    for (int i = from; i < argc; ++i) {
        std::vector<std::string> w = diphone_text_words(argv[i]);
        words.insert(words.end(), w.begin(), w.end());
    }
    return words;
}

// A rule or exception file with a line the loader skipped or cut would make
// a voice that silently lacks what that line says, so it stops the build.
bool load_rules(const char* rules, const char* exceptions) {
    bool ok = rules_load(rules) && rules_last_message().empty();
    ok = ok && rules_load_exceptions(exceptions) && rules_last_message().empty();
    if (!ok) {
        const std::string& why = rules_last_message();
        std::fprintf(stderr, "gen_difones: %s\n",
                     why.empty() ? ("cannot load " + std::string(rules) + " or " + exceptions).c_str() : why.c_str());
    }
    return ok;
}

// Writes the bytes to PATH whole; false (and a message) when it fails.
bool write_file(const std::string& path, const std::vector<uint8_t>& head, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(head.data()), static_cast<std::streamsize>(head.size()));
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (out) return true;
    std::fprintf(stderr, "gen_difones: cannot write %s\n", path.c_str());
    return false;
}

std::set<std::string> all_units(const char* exceptions, const std::vector<std::string>& texts) {
    std::vector<std::string> words = diphone_inventory_words();
    std::vector<std::string> exc = diphone_exception_words(exceptions);
    words.insert(words.end(), exc.begin(), exc.end());
    words.insert(words.end(), texts.begin(), texts.end());
    std::set<std::string> units;
    for (const std::string& u : diphone_inventory_units(words))
        if (u[0] == '$' && u.size() <= DIPHONE_MAX_STORED_NAME) units.insert(u);
    // What the fallbacks reach: single phones, closed vowels and the nasal murmur.
    for (const char* u : {"$A", "$E", "$I", "$O", "$U", "$W", "$Y", "$ACIRC", "$ECIRC", "$OCIRC", "$NN"})
        units.insert(u);
    for (const std::string& u : std::set<std::string>(units))
        for (char c : u.substr(1))
            if (c >= 'A' && c <= 'Z') units.insert(std::string("$") + c);
    return units;
}

int build_database(int speed, const std::set<std::string>& units, const std::string& outdir) {
    if (!synth_start(RATES[speed])) {
        std::fprintf(stderr, "gen_difones: espeak-ng has no Portuguese voice\n");
        return 1;
    }
    // One gain for the whole voice, from the vowel "a", keeps consonants in
    // proportion; each unit is then kept below clipping.
    std::vector<float> ref = trim(downsample(speak("[['a]]"), g_synth.rate), 0.01f, 0);
    float gain = ref.empty() ? 1.0f : 0.7f / std::max(0.05f, peak_of(ref));

    std::vector<uint8_t> index, data;
    int missing = 0;
    for (const std::string& name : units) {  // std::set order is the byte order the lookup needs
        bool ok = true;
        std::vector<float> s = unit_sound(name, ok);
        if (!ok) std::fprintf(stderr, "gen_difones: %s has letters without a sound\n", name.c_str());
        if (s.empty()) {
            // A letter that makes no sound of its own (h) holds a moment of
            // silence, so asking for it never sounds as noise.
            ++missing;
            s.assign(OUT_RATE / 100, 0.0f);
        }
        // Consonants alone come out of espeak-ng faint; lift them a little.
        bool voiced = name.find_first_of("AEIOUWY", 1) != std::string::npos;
        float g = std::min(voiced ? gain : 2.0f * gain, 0.95f / std::max(1e-4f, peak_of(s)));
        std::vector<uint8_t> u8 = to_u8(s, g);
        // Edges that 8 bits hear as silence would join into gaps between units.
        size_t lo = 0, hi = u8.size();
        while (lo + 1 < hi && std::abs(u8[lo] - 128) <= 2) ++lo;
        while (hi > lo + 1 && std::abs(u8[hi - 1] - 128) <= 2) --hi;
        u8 = std::vector<uint8_t>(u8.begin() + static_cast<long>(lo), u8.begin() + static_cast<long>(hi));
        if (u8.size() > 65535) u8.resize(65535);
        index.resize(index.size() + WAVE_UNIT_RECORD_BYTES);
        wave_unit_record_write(index.data() + index.size() - WAVE_UNIT_RECORD_BYTES, name.data(), name.size(),
                               static_cast<uint16_t>(u8.size()), static_cast<uint32_t>(data.size()));
        data.insert(data.end(), u8.begin(), u8.end());
    }
    espeak_Terminate();
    std::string base = outdir + "/DIFONES" + std::to_string(speed);
    if (!write_file(base + ".IND", {}, index) || !write_file(base + ".DIF", {}, data)) return 1;
    std::printf("DIFONES%d: %zu units, %zu bytes, %d silent\n", speed, index.size() / WAVE_UNIT_RECORD_BYTES, data.size(),
                missing);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "db" && argc >= 6) {
        int speed = std::atoi(argv[2]);
        if (speed < 1 || speed > 5) {
            std::fprintf(stderr, "gen_difones: speed must be 1 to 5\n");
            return 2;
        }
        if (!load_rules(argv[3], argv[4])) return 1;
        return build_database(speed, all_units(argv[4], extra_texts(argc, argv, 6)), argv[5]);
    }
    if (mode == "list" && argc == 5) {
        int speed = std::atoi(argv[2]);
        std::ifstream in(argv[3]);
        std::set<std::string> units;
        for (std::string line; std::getline(in, line);)
            if (line.size() > 1 && line[0] == '$' && line.size() <= DIPHONE_MAX_STORED_NAME) units.insert(line);
        if (speed < 1 || speed > 5 || units.empty()) {
            std::fprintf(stderr, "gen_difones: speed 1 to 5 and a list of $ names wanted\n");
            return 2;
        }
        return build_database(speed, units, argv[4]);
    }
    if (mode == "words" && argc >= 5) {
        if (!load_rules(argv[2], argv[3])) return 1;
        for (int i = 4; i < argc; ++i) {
            std::string ph = rules_text_to_phonemes(latin1(argv[i]));
            std::printf("%s\t%s\t", argv[i], ph.c_str());
            for (const std::string& u : diphone_requested_units(ph, false)) std::printf(" %s", u.c_str());
            std::printf("\n");
        }
        return 0;
    }
    if (mode == "say" && argc == 6) {
        // Speaks TEXT with the voice of the installation in DATADIR (its
        // TALUNE.INI) at SPEED and writes the assembled sound to OUT.
        sys_set_env("TALUNE_HOME", argv[2]);
        diphone_set_database(std::string("DIFONES") + argv[3]);
        int rc = diphone_start();
        if (rc != 0) {
            std::fprintf(stderr, "gen_difones: the synthesizer does not start (%d)\n", rc);
            return 1;
        }
        static std::vector<uint8_t> heard;
        diphone_set_output_hook([](const uint8_t* image, size_t bytes, void*) {
            heard.insert(heard.end(), image + WAVE_HEADER_BYTES, image + bytes);
        }, nullptr);
        std::string ph = rules_text_to_phonemes(latin1(argv[4]));
        diphone_speak(ph, false);
        std::printf("%s\n", ph.c_str());
        std::vector<uint8_t> header(WAVE_HEADER_BYTES);
        wave_make_header(header.data(), static_cast<uint32_t>(heard.size()), OUT_RATE, 1, 8);
        diphone_stop();
        return write_file(argv[5], header, heard) ? 0 : 1;
    }
    if (mode == "units" && argc >= 4) {
        if (!load_rules(argv[2], argv[3])) return 1;
        for (const std::string& u : all_units(argv[3], extra_texts(argc, argv, 4))) std::printf("%s\n", u.c_str());
        return 0;
    }
    std::fprintf(stderr,
                 "usage: gen_difones db SPEED RULES EXCEPTIONS OUTDIR [TEXT...]\n"
                 "       gen_difones list SPEED UNITS OUTDIR\n"
                 "       gen_difones units RULES EXCEPTIONS [TEXT...]\n"
                 "       gen_difones words RULES EXCEPTIONS WORD...\n"
                 "       gen_difones say DATADIR SPEED TEXT OUT.wav\n");
    return 2;
}
