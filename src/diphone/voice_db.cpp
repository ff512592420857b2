// The synthesizer's voice database, letter recordings, noise, silence and
// the 64000-byte output buffer through which every utterance is played.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "diphone/diphone.h"
#include "diphone/rules.h"
#include "platform/file_lookup.h"
#include "platform/os.h"
#include "platform/profile.h"
#include "util/bounded_file.h"
#include "util/latin1.h"
#include "util/random.h"
#include "util/wave_format.h"

namespace {

constexpr size_t DIPHONE_MAX_PIECE = DIPHONE_MAX_BUFFER - DIPHONE_HEADER_BYTES - 1;
constexpr int DIPHONE_NOISE_SAMPLES = 300;
constexpr int DIPHONE_SILENCE_BLOCK = 100;

struct DiphoneDb {
    std::string letters_dir;
    std::string diphones_dir;
    std::string database = "DIFONES2";
    std::vector<uint8_t> index;
    size_t count = 0;
    FILE* data = nullptr;
    uint64_t data_size = 0;
    int32_t unstressed_cut = 400;
    int32_t minimum_kept = 0;
    int32_t word_gap = 100;
    std::unique_ptr<uint8_t[]> buffer;
    size_t write_pos = DIPHONE_HEADER_BYTES;
    DiphoneOutputHook hook = nullptr;
    void* hook_context = nullptr;
    std::vector<DiphoneEvent>* trace = nullptr;
    size_t appended = 0;  // bytes appended since the last note()
    std::string failed_path;  // what the last start could not open or load
};

DiphoneDb g_db;

void note(char kind, const std::string& name, int mode, double factor, bool found) {
    if (g_db.trace) g_db.trace->push_back(DiphoneEvent{kind, name, mode, factor, found, g_db.appended});
    g_db.appended = 0;
}

// A configured directory with "/" separators and a trailing "/", or "" when
// it does not exist.
std::string checked_directory(const std::string& key, const std::string& fallback) {
    std::string dir = profile_read_string("TRADUTOR", key, fallback, "TALUNE.INI", DIPHONE_MAX_DIRECTORY + 1);
    std::replace(dir.begin(), dir.end(), '\\', '/');
    if (!file_is_directory(dir)) {
        if (g_db.failed_path.empty()) g_db.failed_path = dir;
        return "";
    }
    if (dir.back() != '/') dir += '/';
    return dir;
}

std::string program_data_directory(const char* leaf) {
    std::string prog = os_program_path();
    size_t slash = prog.rfind('/');
    std::string dir = slash == std::string::npos ? std::string(".") : prog.substr(0, slash);
    return dir + "/data/" + leaf;
}

// The index holds at most `limit` bytes: units past the database's capacity
// are not taken.
bool read_index(const std::string& path, std::vector<uint8_t>& out, size_t limit) {
    std::string text;
    BoundedRead r = read_bounded_file(path, text, limit);
    if (r != BoundedRead::Ok && r != BoundedRead::TooLong) return false;
    out.assign(text.begin(), text.end());
    return true;
}

void release_all() {
    g_db.buffer.reset();
    g_db.write_pos = DIPHONE_HEADER_BYTES;
    rules_free();
    if (g_db.data) std::fclose(g_db.data);
    g_db.data = nullptr;
    g_db.data_size = 0;
    g_db.index.clear();
    g_db.index.shrink_to_fit();
    g_db.count = 0;
}

// Flushes first when n more bytes would reach the end of the buffer; the
// hook plays the piece to its end, so the next one is assembled after it.
void make_room(size_t n) {
    if (g_db.write_pos + n >= DIPHONE_MAX_BUFFER) {
        diphone_flush();
    }
}

void append_bytes(const uint8_t* bytes, size_t n) {
    if (!g_db.buffer) return;
    while (n > 0) {
        size_t piece = std::min(n, DIPHONE_MAX_PIECE);
        make_room(piece);
        std::memcpy(g_db.buffer.get() + g_db.write_pos, bytes, piece);
        g_db.write_pos += piece;
        g_db.appended += piece;
        bytes += piece;
        n -= piece;
    }
}

// Copies n bytes of an open file straight into the buffer, piece by piece;
// stops early at the end of the file.
void append_from_file(FILE* f, size_t n) {
    if (!g_db.buffer) return;
    while (n > 0) {
        size_t piece = std::min(n, DIPHONE_MAX_PIECE);
        make_room(piece);
        size_t got = std::fread(g_db.buffer.get() + g_db.write_pos, 1, piece, f);
        g_db.write_pos += got;
        g_db.appended += got;
        if (got < piece) return;
        n -= piece;
    }
}

// Byte order in which a name sorts before every longer name beginning with it.
int compare_with_record(const std::string& name, const WaveUnitRecord& rec) {
    size_t common = std::min(name.size(), rec.name_length);
    int c = std::memcmp(name.data(), rec.name, common);
    if (c != 0) return c;
    if (name.size() == rec.name_length) return 0;
    return name.size() < rec.name_length ? -1 : 1;
}

// Positions F at the samples of a WAV file and returns their byte count, or
// 0 when it is not RIFF with a leading format chunk or has no data chunk.
// The count never exceeds what the file actually holds.
size_t find_wave_data(FILE* f) {
    uint8_t chunk[256];
    WaveFileHeader header;
    if (!wave_parse_file_header(wave_file_source(f), chunk, sizeof chunk, header)) return 0;
    long here = std::ftell(f);
    if (here < 0 || std::fseek(f, 0, SEEK_END) != 0) return 0;
    long end = std::ftell(f);
    if (end < here || std::fseek(f, here, SEEK_SET) != 0) return 0;
    return std::min<size_t>(uint32_t(header.data_bytes), static_cast<size_t>(end - here));
}

}  // namespace

void diphone_reset() {
    release_all();
    g_db = DiphoneDb{};
}

void diphone_set_database(const std::string& name) { g_db.database = name.substr(0, DIPHONE_MAX_DATABASE); }
std::string diphone_database() { return g_db.database; }

namespace {
// The file NAME of the diphone directory, or "" with the path it should have
// had remembered as the failure.
std::string required_file(const std::string& name) {
    std::string path = file_lookup(g_db.diphones_dir, name);
    if (path.empty()) g_db.failed_path = g_db.diphones_dir + name;
    return path;
}

int fail_start(int code, const std::string& path) {
    release_all();
    if (!path.empty()) g_db.failed_path = path;
    return code;
}
}  // namespace

int diphone_start() {
    release_all();
    g_db.failed_path.clear();
    g_db.letters_dir = checked_directory("dirLetras", program_data_directory("letras"));
    g_db.diphones_dir = checked_directory("DIRDIFONES", program_data_directory("difones"));
    if (g_db.letters_dir.empty() || g_db.diphones_dir.empty()) return 1;

    std::string ind = required_file(g_db.database + ".IND");
    if (ind.empty()) return 1;
    std::string dif = required_file(g_db.database + ".DIF");
    if (dif.empty()) return 1;
    if (!read_index(ind, g_db.index, DIPHONE_MAX_UNITS * DIPHONE_RECORD_BYTES)) return fail_start(1, ind);
    g_db.count = g_db.index.size() / DIPHONE_RECORD_BYTES;
    g_db.data = std::fopen(dif.c_str(), "rb");
    if (!g_db.data) return fail_start(1, dif);
    if (std::fseek(g_db.data, 0, SEEK_END) == 0) {
        long end = std::ftell(g_db.data);
        g_db.data_size = end > 0 ? static_cast<uint64_t>(end) : 0;
    }

    std::string rules = required_file("regras.rgr");
    if (rules.empty()) return fail_start(2, "");
    std::string exceptions = required_file("portug.exc");
    if (exceptions.empty()) return fail_start(2, "");
    if (!rules_load(rules)) return fail_start(2, rules);
    if (!rules_load_exceptions(exceptions)) return fail_start(2, exceptions);

    g_db.buffer = std::make_unique<uint8_t[]>(DIPHONE_MAX_BUFFER);
    g_db.write_pos = DIPHONE_HEADER_BYTES;
    return 0;
}

void diphone_stop() { release_all(); }
std::string diphone_start_failure_path() { return g_db.failed_path; }
bool diphone_started() { return g_db.buffer != nullptr; }

void diphone_set_timing(int32_t unstressed_cut, int32_t minimum_kept, int32_t word_gap) {
    g_db.unstressed_cut = unstressed_cut;
    g_db.minimum_kept = minimum_kept;
    g_db.word_gap = word_gap;
}

int32_t diphone_word_gap() { return g_db.word_gap; }

namespace {

bool play_stored(const std::string& raw_name, int stress_mode, double factor) {
    std::string name = ascii_upper(raw_name.substr(0, DIPHONE_MAX_NAME));
    if (g_db.count == 0 || name.size() > DIPHONE_MAX_STORED_NAME) return false;
    long low = 0, high = static_cast<long>(g_db.count) - 1;
    WaveUnitRecord rec;
    bool found = false;
    while (low <= high) {
        long mid = (low + high) / 2;
        WaveUnitRecord r = wave_unit_record_read(g_db.index.data() + static_cast<size_t>(mid) * DIPHONE_RECORD_BYTES);
        int c = compare_with_record(name, r);
        if (c == 0) {
            rec = r;
            found = true;
            break;
        }
        if (c < 0)
            high = mid - 1;
        else
            low = mid + 1;
    }
    if (!found) return false;

    int64_t stored = rec.length;
    uint64_t offset = rec.offset;
    int64_t keep = stored;
    if (stress_mode < 2 && name.size() >= 3) {
        keep -= g_db.unstressed_cut;
        if (keep < g_db.minimum_kept) keep = std::min<int64_t>(stored, g_db.minimum_kept);
    }
    double want = static_cast<double>(keep) * factor;
    if (!(want > 0)) return true;
    uint64_t bytes = static_cast<uint64_t>(want);
    // A record pointing past the end of the data file plays only what exists.
    if (offset >= g_db.data_size) return true;
    bytes = std::min<uint64_t>(bytes, g_db.data_size - offset);
    if (bytes == 0 || !g_db.data) return true;
    if (std::fseek(g_db.data, static_cast<long>(offset), SEEK_SET) != 0) return true;
    append_from_file(g_db.data, static_cast<size_t>(bytes));
    return true;
}

bool play_letter(const std::string& name) {
    std::string path = file_lookup(g_db.letters_dir, name.substr(0, DIPHONE_MAX_NAME) + ".wav");
    if (path.empty()) return false;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    size_t count = find_wave_data(f);
    if (count == 0) {
        std::fclose(f);
        return false;
    }
    append_from_file(f, count);
    std::fclose(f);
    return true;
}

}  // namespace

bool diphone_play_stored_unit(const std::string& name, int stress_mode, double factor) {
    g_db.appended = 0;
    bool found = play_stored(name, stress_mode, factor);
    note('u', ascii_upper(name.substr(0, DIPHONE_MAX_NAME)), stress_mode, factor, found);
    return found;
}

bool diphone_play_letter(const std::string& name) {
    g_db.appended = 0;
    bool found = play_letter(name);
    note('l', name.substr(0, DIPHONE_MAX_NAME), 0, 1.0, found);
    return found;
}

void diphone_noise() {
    uint8_t samples[DIPHONE_NOISE_SAMPLES];
    for (uint8_t& s : samples) s = static_cast<uint8_t>(88 + random_next(80));
    g_db.appended = 0;
    append_bytes(samples, sizeof samples);
    note('n', "", 0, 1.0, true);
}

void diphone_silence(int32_t samples) {
    if (samples <= 0) return;
    uint8_t block[DIPHONE_SILENCE_BLOCK];
    std::memset(block, 128, sizeof block);
    g_db.appended = 0;
    for (int32_t i = 0; i < samples / DIPHONE_SILENCE_BLOCK; ++i) append_bytes(block, sizeof block);
    note('s', "", 0, 1.0, true);
}

void diphone_flush() {
    if (!g_db.buffer || g_db.write_pos == DIPHONE_HEADER_BYTES) return;
    size_t data_bytes = g_db.write_pos - DIPHONE_HEADER_BYTES;
    wave_make_header(g_db.buffer.get(), static_cast<uint32_t>(data_bytes), 11025, 1, 8);
    if (g_db.hook) g_db.hook(g_db.buffer.get(), g_db.write_pos, g_db.hook_context);
    g_db.write_pos = DIPHONE_HEADER_BYTES;
}

void diphone_clear_buffer() { g_db.write_pos = DIPHONE_HEADER_BYTES; }

void diphone_set_output_hook(DiphoneOutputHook hook, void* context) {
    g_db.hook = hook;
    g_db.hook_context = context;
}

void diphone_set_trace(std::vector<DiphoneEvent>* trace) { g_db.trace = trace; }

size_t diphone_unit_count() { return g_db.count; }
std::string diphone_letters_directory() { return g_db.letters_dir; }
std::string diphone_diphones_directory() { return g_db.diphones_dir; }
