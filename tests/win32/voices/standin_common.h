// What the stand-in speech engines share: their settings from the
// environment, the record of every call they take, and the class factory
// and exports that make a DLL an in-process COM server.
//
//   FUGA_STANDIN_LOG      file the calls are appended to, one a line:
//                         microseconds on the performance counter, a blank,
//                         the call and its arguments; and the keys pressed
//                         in the program's window
//   FUGA_STANDIN_VOICES   voices (modes) offered, 2 when unset
//   FUGA_STANDIN_SPEAK_MS how long each text speaks, 20 when unset
//   FUGA_STANDIN_FAIL     names of calls that fail, separated by commas
//   FUGA_STANDIN_NO_END   when set, the end of a text is never reported
#pragma once

#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <string>

inline std::string standin_setting(const char* name) {
    char value[1024];
    DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

inline int standin_number(const char* name, int fallback) {
    std::string v = standin_setting(name);
    return v.empty() ? fallback : std::atoi(v.c_str());
}

inline bool standin_fails(const char* call) {
    std::string list = "," + standin_setting("FUGA_STANDIN_FAIL") + ",";
    return list.find("," + std::string(call) + ",") != std::string::npos;
}

inline long long standin_now_us() {
    LARGE_INTEGER t, f;
    QueryPerformanceCounter(&t);
    QueryPerformanceFrequency(&f);
    return (long long)(t.QuadPart / f.QuadPart) * 1000000 + (long long)(t.QuadPart % f.QuadPart) * 1000000 / f.QuadPart;
}

inline void standin_record_at(long long at_us, const std::string& call) {
    std::string path = standin_setting("FUGA_STANDIN_LOG");
    if (path.empty()) return;
    FILE* f = std::fopen(path.c_str(), "ab");
    if (!f) return;
    std::fprintf(f, "%lld %s\n", at_us, call.c_str());
    std::fclose(f);
}

inline void standin_record(const std::string& call) { standin_record_at(standin_now_us(), call); }

// A key pressed in the program's window, recorded as "key VK" at the time
// it came (the message's own time), not when the program got round to
// looking: so that a test of a whole game can measure from the key to the
// engine's cut. Each key is recorded once, however often it is peeked at.
inline LRESULT CALLBACK standin_key_hook(int code, WPARAM how, LPARAM lp) {
    static DWORD last_time = 0;
    static WPARAM last_key = 0;
    const MSG* m = reinterpret_cast<const MSG*>(lp);
    if (code >= 0 && m && m->message == WM_KEYDOWN && !(m->time == last_time && m->wParam == last_key)) {
        last_time = m->time;
        last_key = m->wParam;
        DWORD age = GetTickCount() - m->time;
        if (age > 10000) age = 0;  // a time from before the clocks were matched
        standin_record_at(standin_now_us() - (long long)age * 1000, "key " + std::to_string(m->wParam));
    }
    return CallNextHookEx(nullptr, code, how, lp);
}

// Watches the keys of the thread that creates the engine's objects, the
// program's own.
inline void standin_watch_keys() {
    static thread_local bool watching = false;
    if (watching || standin_setting("FUGA_STANDIN_LOG").empty()) return;
    watching = SetWindowsHookExA(WH_GETMESSAGE, standin_key_hook, nullptr, GetCurrentThreadId()) != nullptr;
}

// A failing call is recorded too, marked so.
inline HRESULT standin_call(const std::string& call, const char* name) {
    bool fail = standin_fails(name);
    standin_record(fail ? call + " (fails)" : call);
    return fail ? E_FAIL : S_OK;
}

// Reference counting for the stand-ins' objects.
template <typename Interface>
struct Counted : public Interface {
    LONG refs = 1;
    virtual ~Counted() = default;
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&refs)); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG left = InterlockedDecrement(&refs);
        if (left == 0) delete this;
        return ULONG(left);
    }
    // Answers for IUnknown and the one interface `iid`.
    HRESULT answer(REFIID riid, const IID& iid, void** out) {
        if (!out) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, iid)) {
            *out = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
};

// Makes the object of class `clsid`; each stand-in defines it.
HRESULT standin_create(REFCLSID clsid, REFIID iid, void** out);

struct StandinFactory : public Counted<IClassFactory> {
    CLSID clsid;
    explicit StandinFactory(REFCLSID c) : clsid(c) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        return answer(riid, IID_IClassFactory, out);
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
        if (outer) return CLASS_E_NOAGGREGATION;
        return standin_create(clsid, riid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

inline HMODULE standin_module() {
    HMODULE m = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&standin_module), &m);
    return m;
}

// Writes HKCR\CLSID\{clsid}\InprocServer32 for this DLL.
inline HRESULT standin_register(REFCLSID clsid) {
    wchar_t guid[64];
    StringFromGUID2(clsid, guid, 64);
    char key[128];
    std::snprintf(key, sizeof key, "CLSID\\%ls\\InprocServer32", guid);
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(standin_module(), path, MAX_PATH);
    HKEY k;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) != ERROR_SUCCESS)
        return E_FAIL;
    const char model[] = "Apartment";
    LONG r1 = RegSetValueExA(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path), n + 1);
    LONG r2 = RegSetValueExA(k, "ThreadingModel", 0, REG_SZ, reinterpret_cast<const BYTE*>(model), sizeof model);
    RegCloseKey(k);
    return r1 == ERROR_SUCCESS && r2 == ERROR_SUCCESS ? S_OK : E_FAIL;
}
