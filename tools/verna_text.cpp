// verna_text: what the Portuguese engine makes of a text, stage by stage:
// the normalised text, the tokens, the intonation patterns, the phoneme
// lines or the MBROLA lines; or the text spoken through MBROLA into a WAV
// file. Reads the engine's data from build/data/verna (beside this program)
// or from the directory given with --data; the voice for --wav is the
// configuration's (VERNATTS MBROLA_DB, through registry.ini; TALUNE_HOME
// defaults to build/data) or the one given with --voice.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "platform/os.h"
#include "util/latin1.h"
#include "verna/abbreviations.h"
#include "verna/backend.h"
#include "verna/letter_rules.h"
#include "verna/mbrola.h"
#include "verna/mbrola_lines.h"
#include "verna/message.h"
#include "verna/normalise.h"
#include "verna/prosody.h"
#include "verna/tokens.h"
#include "verna/verna.h"
#include "system_support.h"

namespace {
enum class Stage { Normalised, Tokens, Patterns, Phonemes, Mbrola };

void to_stderr(const std::string& text) { std::fprintf(stderr, "verna_text: %s\n", utf8(text).c_str()); }

int usage() {
    std::fprintf(stderr,
                 "usage: verna_text [--data DIR] --normalised|--tokens|--patterns|--phonemes|--mbrola [TEXT]\n"
                 "       verna_text [--data DIR] [--voice PATH] --wav FILE TEXT\n"
                 "Without TEXT, each line of standard input is one text (UTF-8).\n");
    return 2;
}

bool load(const std::string& dir) {
    verna_set_message_recorder(to_stderr);
    bool ok = true;
    if (!verna_load_rules(dir + "/portug.nrl")) ok = false;
    if (!verna_rules_message().empty()) std::fprintf(stderr, "verna_text: %s\n", verna_rules_message().c_str());
    if (!verna_load_exceptions(dir + "/portug.exc")) {
        std::fprintf(stderr, "verna_text: %s/portug.exc cannot be read\n", dir.c_str());
        ok = false;
    }
    if (!verna_load_abbreviations(dir + "/portug.abr")) {
        std::fprintf(stderr, "verna_text: %s\n", verna_abbreviations_message().c_str());
        ok = false;
    }
    if (!verna_load_prosody(dir + "/portug.pro")) ok = false;
    if (!verna_load_diphones(dir + "/portug.dfn")) {
        std::fprintf(stderr, "verna_text: %s/portug.dfn cannot be read\n", dir.c_str());
        ok = false;
    }
    return ok;
}

void print(const VernaLines& lines) {
    for (const std::string& l : lines) std::cout << utf8(l) << "\n";
}

void run(Stage stage, const std::string& utf8_text) {
    std::string normalised = verna_normalise_text(latin1(utf8_text));
    if (stage == Stage::Normalised) {
        std::cout << utf8(normalised) << "\n";
        return;
    }
    VernaLines tokens = verna_tokenise(normalised);
    if (stage == Stage::Tokens) return print(tokens);
    VernaLines patterns = verna_assign_patterns(tokens);
    if (stage == Stage::Patterns) return print(patterns);
    VernaLines phonemes = verna_text_to_phonemes(patterns);
    if (stage == Stage::Phonemes) return print(phonemes);
    print(verna_make_mbrola_lines(phonemes, 1.0, 1.0));
}

// The engine itself, as type 3 starts it, writing into `wav`.
int speak_to_file(const std::string& dir, std::string voice, const std::string& wav, const std::string& text) {
    verna_set_message_recorder(to_stderr);
    if (voice.empty()) voice = verna_backend_files().database;
    mbrola_set_library(verna_backend_files().library);
    verna_set_output_file(wav);
    bool ok = verna_start(voice, dir + "/portug.nrl", dir + "/portug.exc", dir + "/portug.abr", dir + "/portug.pro",
                          dir + "/portug.dfn");
    if (!ok) {
        std::string why = verna_last_error();
        std::fprintf(stderr, "verna_text: the engine did not start: %s (voice %s, data %s)\n",
                     why.empty() ? "MBROLA, the voice or the output file failed" : utf8(why).c_str(),
                     utf8(verna_database_path(voice)).c_str(), dir.c_str());
        if (!verna_rules_message().empty()) std::fprintf(stderr, "verna_text: %s\n", verna_rules_message().c_str());
        verna_stop();
        return 1;
    }
    ok = verna_speak(latin1(text));
    verna_stop();
    if (!ok) std::fprintf(stderr, "verna_text: MBROLA reported an error or %s could not be written\n", wav.c_str());
    return ok ? 0 : 1;
}
}  // namespace

int main(int argc, char** argv) {
    std::string program = os_program_path();
    std::string dir = program.substr(0, program.find_last_of('/') + 1) + "data/verna";
    int stage = -1;
    std::string text, wav, voice;
    bool have_text = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--data") && i + 1 < argc) dir = argv[++i];
        else if (!std::strcmp(argv[i], "--normalised")) stage = static_cast<int>(Stage::Normalised);
        else if (!std::strcmp(argv[i], "--tokens")) stage = static_cast<int>(Stage::Tokens);
        else if (!std::strcmp(argv[i], "--patterns")) stage = static_cast<int>(Stage::Patterns);
        else if (!std::strcmp(argv[i], "--phonemes")) stage = static_cast<int>(Stage::Phonemes);
        else if (!std::strcmp(argv[i], "--mbrola")) stage = static_cast<int>(Stage::Mbrola);
        else if (!std::strcmp(argv[i], "--wav") && i + 1 < argc) wav = argv[++i];
        else if (!std::strcmp(argv[i], "--voice") && i + 1 < argc) voice = argv[++i];
        else if (argv[i][0] == '-' && argv[i][1] == '-') return usage();
        else if (!have_text) text = argv[i], have_text = true;
        else return usage();
    }
    if (!wav.empty()) {
        if (!have_text || stage >= 0) return usage();
        if (!std::getenv("TALUNE_HOME"))
            sys_set_env("TALUNE_HOME", program.substr(0, program.find_last_of('/') + 1) + "data");
        return speak_to_file(dir, voice, wav, text);
    }
    if (stage < 0) return usage();
    if (!load(dir)) return 1;
    if (have_text) {
        run(static_cast<Stage>(stage), text);
        return 0;
    }
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        run(static_cast<Stage>(stage), line);
    }
    return 0;
}
