// Binding the MBROLA entry points: from a shared library by name, or from the
// built-in binding over the `mbrola` program.
#include "verna/mbrola.h"

#include "platform/os.h"
#include "verna/mbrola_pipe.h"

const char* const MBROLA_ENTRY_NAMES[MBROLA_ENTRY_POINTS] = {
    "init_MBR",           "init_rename_MBR",    "write_MBR",       "flush_MBR",           "read_MBR",
    "readtype_MBR",       "close_MBR",          "reset_MBR",       "lastError_MBR",       "lastErrorStr_MBR",
    "setNoError_MBR",     "getNoError_MBR",     "setFreq_MBR",     "getFreq_MBR",         "setVolumeRatio_MBR",
    "getVolumeRatio_MBR", "getVersion_MBR",     "getDatabaseInfo_MBR", "setParser_MBR",   "init_Phone",
    "reset_Phone",        "close_Phone",        "appendf0_Phone",
};

namespace {

// The system's MBROLA library: libmbrola.so on Linux, mbrola.dll on Windows.
constexpr const char* MBROLA_LIBRARY_NAME = "mbrola";

struct BindState {
    std::string library;
    void* handle = nullptr;
    bool bound = false;
    bool builtin = false;
    MbrolaApi api{};
};
BindState g_bind;

template <typename F>
void take(F& into, void* const* entries, int index) {
    into = reinterpret_cast<F>(entries[index]);
}

void fill_api(void* const* e) {
    MbrolaApi& a = g_bind.api;
    take(a.init, e, 0);
    take(a.write, e, 2);
    take(a.flush, e, 3);
    take(a.read, e, 4);
    take(a.close, e, 6);
    take(a.reset, e, 7);
    take(a.last_error, e, 8);
    take(a.last_error_text, e, 9);
    take(a.set_no_error, e, 10);
    take(a.get_freq, e, 13);
}

}  // namespace

void mbrola_set_library(const std::string& path) { g_bind.library = path; }

bool mbrola_bind() {
    mbrola_unbind();
    const std::string name = g_bind.library.empty() ? os_library_file_name(MBROLA_LIBRARY_NAME) : g_bind.library;
    void* handle = os_library_open(name);
    if (!handle) {
        // Only the default may be absent: the program then stands in for it.
        if (!g_bind.library.empty() || !mbrola_pipe_available()) return false;
        fill_api(mbrola_pipe_entry_points());
        g_bind.builtin = g_bind.bound = true;
        return true;
    }
    void* entries[MBROLA_ENTRY_POINTS];
    for (int i = 0; i < MBROLA_ENTRY_POINTS; ++i) {
        entries[i] = os_library_symbol(handle, MBROLA_ENTRY_NAMES[i]);
        if (!entries[i]) {
            os_library_close(handle);
            return false;
        }
    }
    g_bind.handle = handle;
    fill_api(entries);
    g_bind.bound = true;
    return true;
}

void mbrola_unbind() {
    if (g_bind.builtin) mbrola_pipe_reset();
    if (g_bind.handle) os_library_close(g_bind.handle);
    g_bind.handle = nullptr;
    g_bind.bound = g_bind.builtin = false;
    g_bind.api = MbrolaApi{};
}

bool mbrola_bound() { return g_bind.bound; }
const MbrolaApi& mbrola() { return g_bind.api; }
bool mbrola_builtin() { return g_bind.builtin; }

void mbrola_tend() {
    if (g_bind.builtin) mbrola_pipe_tend();
}

bool mbrola_stopped() { return g_bind.builtin && mbrola_pipe_stopped(); }

void mbrola_reset() {
    mbrola_unbind();
    g_bind = BindState{};
}
