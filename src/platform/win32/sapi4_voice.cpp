// The version 4 speech engines as the synthesizer driver on Windows: the
// enumerator's modes, the multimedia audio destination the engine plays
// through, texts by TextData, and our two notification sinks, whose calls
// arrive on the program's thread while its messages are dispatched.
#include "platform/win32/sapi4_voice.h"

#include <cstring>
#include <deque>
#include <string>

#include "platform/win32/com_pump.h"
#include "platform/win32/sapi4_abi.h"
#include "platform/win32/voice_deadline.h"

namespace {
constexpr int SAPI4_MAX_MODES = 64;
// While texts or sound are outstanding, each collection of events waits this
// long (dispatching messages) for the engine's next call.
constexpr DWORD SAPI4_PUMP_WAIT_MS = 5;

struct Sapi4Driver {
    bool com = false;
    IUnknown* audio = nullptr;
    ITTSEnumA* enumerator = nullptr;
    int modes_fetched = 0;  // modes taken from the enumerator since its reset
    TTSMODEINFOA modes[SAPI4_MAX_MODES];
    ITTSCentralA* central = nullptr;
    ITTSAttributesA* attributes = nullptr;
    ITTSNotifySinkA* notify_sink = nullptr;
    ITTSBufNotifySink* buffer_sink = nullptr;
    DWORD notify_key = 0;
    bool registered = false;
    std::string work;  // the text being handed over, with its zero byte
    std::deque<OsSynthEvent::Type> events;
    int outstanding = 0;  // texts handed over whose end has not been reported
    bool sounding = false;  // between the engine's AudioStart and AudioStop
    VoiceDeadline deadline;
};
Sapi4Driver g_s4;

// Something the engine said: it is alive, and the wait loop must look.
void engine_event(OsSynthEvent::Type type) {
    g_s4.events.push_back(type);
    voice_deadline_alive(g_s4.deadline);
    com_pump_wake();
}

// Reference counting shared by both sinks; each lives from the start to the
// stop, and the engine may hold references of its own meanwhile.
template <typename Interface>
struct Sink : public Interface {
    LONG refs = 1;
    const IID* iid;
    explicit Sink(const IID& id) : iid(&id) {}
    virtual ~Sink() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, *iid)) {
            *out = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&refs)); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG left = InterlockedDecrement(&refs);
        if (left == 0) delete this;
        return ULONG(left);
    }
};

struct TTSNotifySink : public Sink<ITTSNotifySinkA> {
    TTSNotifySink() : Sink(IID_ITTSNotifySinkA) {}
    HRESULT STDMETHODCALLTYPE AttribChanged(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE AudioStart(QWORD) override {
        g_s4.sounding = true;
        engine_event(OsSynthEvent::AudioStarted);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE AudioStop(QWORD) override {
        g_s4.sounding = false;
        engine_event(OsSynthEvent::AudioStopped);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Visual(QWORD, char, char, DWORD, void*) override { return S_OK; }
};

struct TTSBufNotifySink : public Sink<ITTSBufNotifySink> {
    TTSBufNotifySink() : Sink(IID_ITTSBufNotifySink) {}
    HRESULT STDMETHODCALLTYPE TextDataDone(QWORD, DWORD) override {
        if (g_s4.outstanding > 0) g_s4.outstanding--;
        engine_event(OsSynthEvent::TextDone);
        return S_OK;
    }
    // The text counted as started when it was handed over (see speak).
    HRESULT STDMETHODCALLTYPE TextDataStarted(QWORD) override {
        voice_deadline_alive(g_s4.deadline);
        com_pump_wake();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE BookMark(QWORD, DWORD) override {
        voice_deadline_alive(g_s4.deadline);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE WordPosition(QWORD, DWORD) override {
        voice_deadline_alive(g_s4.deadline);
        return S_OK;
    }
};

template <typename T>
void release(T*& p) {
    if (p) p->Release();
    p = nullptr;
}

// The engines may change the current directory while they load.
struct KeepDirectory {
    char dir[MAX_PATH + 1] = {};
    bool kept;
    KeepDirectory() : kept(GetCurrentDirectoryA(sizeof dir, dir) > 0) {}
    ~KeepDirectory() {
        if (kept) SetCurrentDirectoryA(dir);
    }
};

void close_engine();

bool open() {
    close_engine();
    KeepDirectory keep;
    g_s4.com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    if (FAILED(CoCreateInstance(CLSID_MMAudioDest, nullptr, CLSCTX_ALL, IID_IAudioMultiMediaDevice,
                                reinterpret_cast<void**>(&g_s4.audio)))) {
        g_s4.audio = nullptr;
        close_engine();
        return false;
    }
    if (FAILED(CoCreateInstance(CLSID_TTSEnumerator, nullptr, CLSCTX_ALL, IID_ITTSEnumA,
                                reinterpret_cast<void**>(&g_s4.enumerator)))) {
        g_s4.enumerator = nullptr;
        close_engine();
        return false;
    }
    // The extra reference is dropped at the stop, before the last release.
    g_s4.enumerator->AddRef();
    g_s4.enumerator->Reset();
    g_s4.modes_fetched = 0;
    return true;
}

// Modes come one at a time, as the enumerator hands them out; a failing call
// or the end of the list both answer false.
bool voice(int index, std::string& name) {
    if (!g_s4.enumerator || index < 0 || index >= SAPI4_MAX_MODES) return false;
    if (index < g_s4.modes_fetched) {
        name = g_s4.modes[index].szModeName;
        return true;
    }
    while (g_s4.modes_fetched <= index) {
        TTSMODEINFOA& mode = g_s4.modes[g_s4.modes_fetched];
        std::memset(&mode, 0, sizeof mode);
        ULONG fetched = 0;
        HRESULT hr = g_s4.enumerator->Next(1, &mode, &fetched);
        if (hr != S_OK || fetched != 1) return false;
        mode.szModeName[TTSI_NAMELEN - 1] = 0;
        g_s4.modes_fetched++;
    }
    name = g_s4.modes[index].szModeName;
    return true;
}

bool select_voice(int index) {
    if (!g_s4.enumerator || index < 0 || index >= g_s4.modes_fetched || g_s4.central) return false;
    KeepDirectory keep;
    if (FAILED(g_s4.enumerator->Select(g_s4.modes[index].gModeID, &g_s4.central, g_s4.audio)) || !g_s4.central) {
        g_s4.central = nullptr;
        return false;
    }
    g_s4.buffer_sink = new TTSBufNotifySink;
    g_s4.notify_sink = new TTSNotifySink;
    g_s4.registered = SUCCEEDED(g_s4.central->Register(g_s4.notify_sink, IID_ITTSNotifySinkA, &g_s4.notify_key));
    if (FAILED(g_s4.central->QueryInterface(IID_ITTSAttributesA, reinterpret_cast<void**>(&g_s4.attributes))))
        g_s4.attributes = nullptr;
    return true;
}

// The engine's own units, passed unchanged. An engine without attributes,
// or one that refuses the speed, keeps its own: reported, not a failed start.
bool set_rate(int speed) {
    return g_s4.attributes && SUCCEEDED(g_s4.attributes->SpeedSet(DWORD(speed)));
}

void set_pitch(int pitch) {
    if (g_s4.attributes) g_s4.attributes->PitchSet(WORD(pitch & 0xffff));
}

bool speak(const std::string& latin1_text) {
    if (!g_s4.central) return false;
    g_s4.work.assign(latin1_text.c_str(), latin1_text.size() + 1);
    SDATA data = {g_s4.work.data(), DWORD(g_s4.work.size())};
    if (FAILED(g_s4.central->TextData(CHARSET_TEXT, 0, data, g_s4.buffer_sink, IID_ITTSBufNotifySink)))
        return false;
    if (!g_s4.deadline.since) voice_deadline_alive(g_s4.deadline);
    g_s4.outstanding++;
    voice_deadline_add_text(g_s4.deadline, latin1_text.size());
    // The text counts as started as soon as the engine has it: engines take
    // their time before they report a start, and a busy test or a key in
    // between must not find the engine idle while the text is still to come.
    g_s4.events.push_back(OsSynthEvent::TextStarted);
    return true;
}

void reset_audio() {
    if (g_s4.central) g_s4.central->AudioReset();
    g_s4.events.clear();
    g_s4.outstanding = 0;
    g_s4.sounding = false;
    voice_deadline_clear(g_s4.deadline);
}

bool next_event(OsSynthEvent& ev) {
    com_pump_dispatch();
    bool working = g_s4.outstanding > 0 || g_s4.sounding;
    if (!working) voice_deadline_clear(g_s4.deadline);
    if (g_s4.events.empty() && working) {
        com_pump_wait(SAPI4_PUMP_WAIT_MS);
        if (g_s4.events.empty() && voice_deadline_passed(g_s4.deadline)) {
            // An engine that went quiet for far longer than its texts could
            // last is reset, and its texts count as ended, so that nobody
            // waits for it for ever.
            int texts = g_s4.outstanding;
            reset_audio();
            for (int i = 0; i < texts; ++i) g_s4.events.push_back(OsSynthEvent::TextDone);
            g_s4.events.push_back(OsSynthEvent::AudioStopped);
        }
        // Still at work: the caller's wait loop must come back to look.
        if (g_s4.events.empty()) com_pump_wake();
    }
    if (g_s4.events.empty()) return false;
    ev = OsSynthEvent{};
    ev.type = g_s4.events.front();
    g_s4.events.pop_front();
    return true;
}

void close_engine() {
    release(g_s4.audio);
    if (g_s4.enumerator) {
        g_s4.enumerator->Release();
        release(g_s4.enumerator);
    }
    release(g_s4.attributes);
    release(g_s4.buffer_sink);
    if (g_s4.notify_sink) {
        if (g_s4.central && g_s4.registered) g_s4.central->UnRegister(g_s4.notify_key);
        release(g_s4.notify_sink);
    }
    release(g_s4.central);
    if (g_s4.com) CoUninitialize();
    g_s4 = Sapi4Driver{};
}

const OsSynthDriver SAPI4_DRIVER = {
    "sapi4",
    open,
    voice,
    select_voice,
    set_rate,
    set_pitch,
    [] { return 0; },
    speak,
    next_event,
    reset_audio,
    close_engine,
};
}  // namespace

const OsSynthDriver* sapi4_synth_driver() { return &SAPI4_DRIVER; }
