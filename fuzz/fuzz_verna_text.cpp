// libFuzzer target for the engine's whole path from text to phoneme lines,
// with the project's own rules, exceptions, abbreviations and prosody.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include "util/latin1.h"
#include "verna/abbreviations.h"
#include "verna/letter_rules.h"
#include "verna/message.h"
#include "verna/normalise.h"
#include "verna/prosody.h"
#include "verna/tokens.h"

namespace {
std::string source(const char* name) {
    std::ifstream in(std::string(FUGA_SOURCE_DIR) + "/data/verna/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return latin1(s.str());
}

void quiet(const std::string&) {}

bool load_once() {
    verna_set_message_recorder(quiet);
    return verna_load_rules_text(source("portug.nrl"), "portug.nrl") &&
           verna_load_exceptions_text(source("portug.exc"), "portug.exc") &&
           verna_load_abbreviations_text(source("portug.abr"), "portug.abr") &&
           verna_load_prosody_text(source("portug.pro"), "portug.pro");
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool loaded = load_once();
    if (!loaded) __builtin_trap();
    std::string text(reinterpret_cast<const char*>(data), size);
    std::string normalised = verna_normalise_text(text);
    VernaLines tokens = verna_tokenise(normalised);
    VernaLines patterns = verna_assign_patterns(tokens);
    VernaLines phonemes = verna_text_to_phonemes(patterns);
    if (tokens.empty() || tokens[0] != "[--]" || patterns.size() != tokens.size()) __builtin_trap();
    if (phonemes.empty() || phonemes.back() != "__") __builtin_trap();
    return 0;
}
