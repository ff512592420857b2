// A stand-in MBROLA library for the engine's tests: it exports the 23 entry
// points (all but appendf0_Phone when built as the incomplete variant) and
// makes 16 samples per millisecond of each phoneme line, delivered in reads
// of a size the test chooses, so the synthesis loop can be driven exactly.
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
struct Fake {
    int rate = 16000;
    int chunk = 16000;  // most samples one read delivers
    long pending = 0;   // samples made but not yet read
    long sample = 0;    // running sample number (the value pattern)
    int error = 0;
    int resets = 0;
    int lines = 0;
    bool flushed = false;
} g;
}  // namespace

#define EXPORT extern "C" __attribute__((visibility("default")))

EXPORT void test_mbrola_configure(int rate, int chunk) {
    g = Fake{};
    g.rate = rate;
    g.chunk = chunk;
}
EXPORT int test_mbrola_resets() { return g.resets; }
EXPORT int test_mbrola_lines() { return g.lines; }

EXPORT int init_MBR(const char* path) { return path && std::strstr(path, "missing") ? -1 : 0; }
EXPORT int init_rename_MBR(const char* path, const char*, const char*) { return init_MBR(path); }
// "name duration ..." adds duration x rate / 1000 samples; the phoneme "ERR"
// is an error of the kind MBROLA reports for a line it cannot use.
EXPORT int write_MBR(const char* line) {
    ++g.lines;
    if (!line || line[0] == ';') return 0;
    char name[64] = {};
    int ms = 0;
    if (std::sscanf(line, "%63s %d", name, &ms) < 1) return 0;
    if (std::strcmp(name, "ERR") == 0) {
        g.error = 1;
        return 0;
    }
    g.pending += long(ms) * g.rate / 1000;
    return 1;
}
EXPORT int flush_MBR() {
    g.flushed = true;
    return 1;
}
EXPORT int read_MBR(short* buffer, int count) {
    long n = g.pending < count ? g.pending : count;
    if (n > g.chunk) n = g.chunk;
    for (long i = 0; i < n; ++i) buffer[i] = short(1 + (g.sample++ % 1000));
    g.pending -= n;
    return int(n);
}
EXPORT int readtype_MBR(void* buffer, int count, int) { return read_MBR(static_cast<short*>(buffer), count); }
EXPORT void close_MBR() {}
EXPORT void reset_MBR() {
    ++g.resets;
    g.pending = 0;
    g.error = 0;
}
EXPORT int lastError_MBR() { return g.error; }
EXPORT int lastErrorStr_MBR(char* buffer, int size) {
    if (size > 0) std::snprintf(buffer, size_t(size), "%s", g.error ? "bad line" : "");
    return 0;
}
EXPORT void setNoError_MBR(int) {}
EXPORT int getNoError_MBR() { return 1; }
EXPORT void setFreq_MBR(int) {}
EXPORT int getFreq_MBR() { return g.rate; }
EXPORT void setVolumeRatio_MBR(float) {}
EXPORT float getVolumeRatio_MBR() { return 1.0f; }
EXPORT int getVersion_MBR(char*, int) { return 0; }
EXPORT int getDatabaseInfo_MBR(char*, int, int) { return 0; }
EXPORT int setParser_MBR(void*) { return 0; }
EXPORT void* init_Phone(const char*, float) { return nullptr; }
EXPORT void reset_Phone(void*) {}
EXPORT void close_Phone(void*) {}
#ifndef TEST_MBROLA_INCOMPLETE
EXPORT int appendf0_Phone(void*, float, float) { return 0; }
#endif
