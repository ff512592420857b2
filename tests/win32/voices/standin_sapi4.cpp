// A stand-in version 4 speech engine for the tests: the enumerator and the
// multimedia audio destination classes. Its engine takes texts, records
// every call, and reports each text's start and end (and the sound's) to the
// program's sinks from timers on the caller's thread, so they arrive while
// the caller dispatches its messages, as real engines' do.
#include <cstring>
#include <deque>
#include <string>

#include "platform/win32/sapi4_abi.h"
#include "standin_common.h"

namespace {
// Mode identifiers: this base with the mode's number in the last byte.
constexpr GUID STANDIN_MODE = {0x6E0C1A00, 0x7F3B, 0x4C55, {0x9A, 0x01, 0x5D, 0x2E, 0x11, 0x42, 0x33, 0x00}};

struct AudioDest : public Counted<IUnknown> {
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        return answer(riid, IID_IAudioMultiMediaDevice, out);
    }
    ~AudioDest() override { standin_record("MMAudioDest released"); }
};

struct Text {
    std::string text;
    ITTSBufNotifySink* sink;
};

struct Central;
Central* g_speaking = nullptr;  // the engine whose timer runs

struct Central : public Counted<ITTSCentralA> {
    std::string mode;
    IUnknown* audio;
    std::deque<Text> queue;
    bool current = false;
    bool sounding = false;
    ITTSNotifySinkA* notify = nullptr;
    UINT_PTR timer = 0;
    bool text_over = false;  // the timer's next step ends the current text

    Central(const std::string& m, IUnknown* a) : mode(m), audio(a) { audio->AddRef(); }
    ~Central() override {
        stop_timer();
        for (Text& t : queue) t.sink->Release();
        if (notify) notify->Release();
        audio->Release();
        standin_record("engine released");
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;

    void stop_timer() {
        if (timer) KillTimer(nullptr, timer);
        timer = 0;
        if (g_speaking == this) g_speaking = nullptr;
    }
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        if (g_speaking) g_speaking->step();
    }
    void schedule(int ms) {
        stop_timer();
        g_speaking = this;
        timer = SetTimer(nullptr, 0, UINT(ms < 1 ? 1 : ms), tick);
    }
    // One step of the engine: start the next text, or end the current one.
    void step() {
        stop_timer();
        AddRef();
        if (current && text_over) {
            Text t = queue.front();
            queue.pop_front();
            current = false;
            standin_record("end " + t.text);
            t.sink->TextDataDone(0, 0);
            t.sink->Release();
        }
        if (!current && !queue.empty()) {
            current = true;
            text_over = false;
            standin_record("start " + queue.front().text);
            queue.front().sink->TextDataStarted(0);
            if (!sounding && notify) {
                sounding = true;
                notify->AudioStart(0);
            }
            if (!standin_setting("FUGA_STANDIN_NO_END").empty()) {
                Release();
                return;
            }
            text_over = true;
            schedule(standin_number("FUGA_STANDIN_SPEAK_MS", 20));
        } else if (!current && sounding) {
            sounding = false;
            if (notify) notify->AudioStop(0);
        }
        Release();
    }

    HRESULT STDMETHODCALLTYPE Inject(const char*) override { return standin_call("Inject", "Inject"); }
    HRESULT STDMETHODCALLTYPE ModeGet(TTSMODEINFOA*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Phoneme(VOICECHARSET, DWORD, SDATA, SDATA*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE PosnGet(QWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TextData(VOICECHARSET charset, DWORD flags, SDATA text, void* sink,
                                       IID iid) override {
        const char* bytes = static_cast<const char*>(text.pData);
        // The size counts the zero byte; anything else is recorded as is.
        std::string s = bytes ? std::string(bytes, text.dwSize) : std::string();
        std::string shown = !s.empty() && s.back() == '\0' ? s.substr(0, s.size() - 1) : s + " (no zero byte)";
        std::string call = "TextData " + std::to_string(charset) + " " + std::to_string(flags) + " " + shown;
        if (!IsEqualIID(iid, IID_ITTSBufNotifySink) || !sink) call += " (no buffer sink)";
        HRESULT hr = standin_call(call, "TextData");
        if (FAILED(hr) || !sink) return FAILED(hr) ? hr : E_INVALIDARG;
        ITTSBufNotifySink* s_ = static_cast<ITTSBufNotifySink*>(sink);
        s_->AddRef();
        queue.push_back({shown, s_});
        if (!current && !timer) schedule(1);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ToFileTime(QWORD*, FILETIME*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AudioPause() override { return standin_call("AudioPause", "AudioPause"); }
    HRESULT STDMETHODCALLTYPE AudioResume() override { return standin_call("AudioResume", "AudioResume"); }
    HRESULT STDMETHODCALLTYPE AudioReset() override {
        HRESULT hr = standin_call("AudioReset", "AudioReset");
        stop_timer();
        for (Text& t : queue) t.sink->Release();
        queue.clear();
        current = false;
        if (sounding) {
            sounding = false;
            if (notify) notify->AudioStop(0);
        }
        return hr;
    }
    HRESULT STDMETHODCALLTYPE Register(void* sink, IID iid, DWORD* key) override {
        std::string call = "Register";
        if (!IsEqualIID(iid, IID_ITTSNotifySinkA)) call += " (not the notify sink)";
        HRESULT hr = standin_call(call, "Register");
        if (FAILED(hr)) return hr;
        if (notify) notify->Release();
        notify = static_cast<ITTSNotifySinkA*>(sink);
        notify->AddRef();
        *key = 7;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE UnRegister(DWORD key) override {
        HRESULT hr = standin_call("UnRegister " + std::to_string(key), "UnRegister");
        if (key == 7 && notify) {
            notify->Release();
            notify = nullptr;
        }
        return hr;
    }
};

struct Attributes : public Counted<ITTSAttributesA> {
    Central* central;
    explicit Attributes(Central* c) : central(c) { central->AddRef(); }
    ~Attributes() override { central->Release(); }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        return central->QueryInterface(riid, out);
    }
    HRESULT STDMETHODCALLTYPE PitchGet(WORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE PitchSet(WORD p) override { return standin_call("PitchSet " + std::to_string(p), "PitchSet"); }
    HRESULT STDMETHODCALLTYPE RealTimeGet(DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RealTimeSet(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SpeedGet(DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SpeedSet(DWORD s) override { return standin_call("SpeedSet " + std::to_string(s), "SpeedSet"); }
    HRESULT STDMETHODCALLTYPE VolumeGet(DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE VolumeSet(DWORD) override { return E_NOTIMPL; }
};

HRESULT STDMETHODCALLTYPE Central::QueryInterface(REFIID riid, void** out) {
    if (out && IsEqualIID(riid, IID_ITTSAttributesA)) {
        standin_record("QueryInterface ITTSAttributes");
        *out = static_cast<ITTSAttributesA*>(new Attributes(this));
        return S_OK;
    }
    return answer(riid, IID_ITTSCentralA, out);
}

struct Enumerator : public Counted<ITTSEnumA> {
    ULONG next = 0;
    ~Enumerator() override { standin_record("enumerator released"); }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        return answer(riid, IID_ITTSEnumA, out);
    }
    static std::string mode_name(ULONG i) { return "Modo " + std::to_string(i + 1); }
    HRESULT STDMETHODCALLTYPE Next(ULONG count, TTSMODEINFOA* modes, ULONG* fetched) override {
        HRESULT hr = standin_call("Next " + std::to_string(count), "Next");
        if (FAILED(hr)) return hr;
        ULONG total = ULONG(standin_number("FUGA_STANDIN_VOICES", 2)), n = 0;
        for (; n < count && next < total; ++n, ++next) {
            TTSMODEINFOA& m = modes[n];
            std::memset(&m, 0, sizeof m);
            m.gModeID = STANDIN_MODE;
            m.gModeID.Data4[7] = BYTE(next + 1);
            std::strcpy(m.szMfgName, "Fuga");
            std::strcpy(m.szProductName, "Motor de teste");
            std::strcpy(m.szModeName, mode_name(next).c_str());
            m.language.LanguageID = 0x0416;
        }
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        next += count;
        return standin_call("Skip", "Skip");
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        next = 0;
        return standin_call("Reset", "Reset");
    }
    HRESULT STDMETHODCALLTYPE Clone(ITTSEnumA**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Select(GUID mode, ITTSCentralA** central, IUnknown* audio) override {
        GUID base = mode;
        ULONG number = base.Data4[7];
        base.Data4[7] = 0;
        bool known = IsEqualGUID(base, STANDIN_MODE) && number >= 1;
        std::string call = "Select " + (known ? mode_name(number - 1) : std::string("(unknown mode)"));
        if (!audio) call += " (no audio destination)";
        HRESULT hr = standin_call(call, "Select");
        if (FAILED(hr)) return hr;
        if (!known || !audio || !central) return E_INVALIDARG;
        *central = new Central(mode_name(number - 1), audio);
        return S_OK;
    }
};
}  // namespace

HRESULT standin_create(REFCLSID clsid, REFIID riid, void** out) {
    IUnknown* made = nullptr;
    if (IsEqualCLSID(clsid, CLSID_MMAudioDest)) {
        if (FAILED(standin_call("create MMAudioDest", "MMAudioDest"))) return E_FAIL;
        made = new AudioDest;
    } else if (IsEqualCLSID(clsid, CLSID_TTSEnumerator)) {
        if (FAILED(standin_call("create TTSEnumerator", "TTSEnumerator"))) return E_FAIL;
        made = new Enumerator;
    } else {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    HRESULT hr = made->QueryInterface(riid, out);
    made->Release();
    return hr;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
    standin_watch_keys();
    if (!IsEqualCLSID(clsid, CLSID_MMAudioDest) && !IsEqualCLSID(clsid, CLSID_TTSEnumerator))
        return CLASS_E_CLASSNOTAVAILABLE;
    StandinFactory* f = new StandinFactory(clsid);
    HRESULT hr = f->QueryInterface(riid, out);
    f->Release();
    return hr;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() { return S_FALSE; }

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllRegisterServer() {
    HRESULT hr = standin_register(CLSID_MMAudioDest);
    return SUCCEEDED(hr) ? standin_register(CLSID_TTSEnumerator) : hr;
}
