// Spoken and recorded output: texts, recordings by message key, the busy test
// and the attention tone.
#include <filesystem>
#include <iostream>
#include <system_error>

#include "audio/sound_log.h"
#include "console/console.h"
#include "platform/os.h"
#include "speech/speech.h"

namespace {
bool same_without_case(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'a' && x <= 'z') x -= 32;
        if (y >= 'a' && y <= 'z') y -= 32;
        if (x != y) return false;
    }
    return true;
}
}  // namespace

std::string speech_key_file(const std::string& key) {
    if (key.empty() || key.find('/') != std::string::npos) return "";
    const std::string& dir = speech_sound_directory();
    std::string name = key + ".wav";
    if (os_file_exists(dir + name)) return dir + name;
    std::error_code ec;
    std::filesystem::directory_iterator it(dir.empty() ? std::string(".") : dir, ec);
    if (ec) return "";
    for (const auto& entry : it) {
        std::string found = entry.path().filename().string();
        if (same_without_case(found, name) && entry.is_regular_file(ec)) return dir + found;
    }
    return "";
}

bool speech_key_exists(const std::string& key) { return !speech_key_file(key).empty(); }

void speech_play_key(const std::string& key) {
    std::cout.flush();
    sound_log("file", key + ".wav");
}

void speech_say(const std::string& text) { sound_log("say", text); }

void speech_write(const std::string& text) {
    std::cout << text << std::flush;
    speech_say(text);
}

void speech_write_line(const std::string& text) {
    speech_write(text);
    std::cout << '\n' << std::flush;
}

bool speech_busy() { return false; }

bool speech_beep_pattern() {
    std::cout.flush();
    console_discard_keys();
    return false;
}

std::string speech_upper(const std::string& text) {
    std::string out = text;
    for (char& c : out) {
        unsigned char b = static_cast<unsigned char>(c);
        if ((b >= 'a' && b <= 'z') || b >= 224) c = static_cast<char>(b - 32);
    }
    return out;
}
