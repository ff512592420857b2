// Numbers, the time and the date spoken from recorded fragments, joined
// into one sound so the words follow each other without gaps.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "console/console.h"
#include "diphone/diphone.h"
#include "platform/file_lookup.h"
#include "speech/number_words.h"
#include "speech/speech.h"
#include "speech/wave_image.h"
#include "util/wave_format.h"

namespace {
constexpr size_t SPEECH_MAX_NUMBER_IMAGE = 30000;

// The samples of a fragment's data chunk, at most SPEECH_MAX_NUMBER_IMAGE.
// The fragments are recorded in the format of the joined image, so only the
// samples are taken; a file that is not WAV adds nothing.
bool read_fragment(const std::string& path, std::vector<uint8_t>& samples) {
    samples.clear();
    if (path.empty()) return false;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    uint8_t chunk[256];
    WaveFileHeader header;
    bool ok = wave_parse_file_header(wave_file_source(f), chunk, sizeof chunk, header);
    if (ok && header.data_bytes > 0) {
        samples.resize(std::min<size_t>(uint32_t(header.data_bytes), SPEECH_MAX_NUMBER_IMAGE));
        samples.resize(std::fread(samples.data(), 1, samples.size(), f));
    }
    std::fclose(f);
    return ok;
}

void play_held(std::vector<uint8_t>& image) {
    size_t held = image.size() - WAVE_HEADER_BYTES;
    if (held == 0) return;
    wave_make_header(image.data(), static_cast<uint32_t>(held), 11025, 1, 8);
    speech_play_image_and_wait(image.data(), image.size());
    speech_wait_while_busy();
    image.resize(WAVE_HEADER_BYTES);
}

void play_pieces(const std::vector<SpokenPiece>& pieces) {
    for (const SpokenPiece& p : pieces) {
        if (p.is_number) speech_play_number_words(speech_number_words(p.number), p.feminine);
        else speech_play_key(p.key);
    }
}
}  // namespace

void speech_play_number_words(const std::string& words, bool feminine) {
    std::vector<uint8_t> image(WAVE_HEADER_BYTES);
    image.reserve(WAVE_HEADER_BYTES + SPEECH_MAX_NUMBER_IMAGE);
    std::vector<uint8_t> samples;
    for (const std::string& key : speech_number_fragment_keys(words, feminine)) {
        if (!read_fragment(file_lookup(diphone_letters_directory(), key + ".wav"), samples)) continue;
        size_t held = image.size() - WAVE_HEADER_BYTES;
        if (held > 0 && held + samples.size() > SPEECH_MAX_NUMBER_IMAGE) play_held(image);
        image.insert(image.end(), samples.begin(), samples.end());
    }
    play_held(image);
}

void speech_say_hour_minute(int hour, int minute) { play_pieces(speech_hour_minute_pieces(hour, minute)); }

void speech_say_time() {
    ConsoleTime t = console_get_time();
    speech_say_hour_minute(t.hour, t.minute);
}

void speech_say_day_month_year(int day, int month, int year) { play_pieces(speech_day_month_year_pieces(day, month, year)); }

void speech_say_date() {
    ConsoleDate d = console_get_date();
    speech_say_day_month_year(d.day, d.month, d.year);
}
