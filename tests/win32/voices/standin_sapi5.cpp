// A stand-in version 5 voice class for the tests, built once per class (the
// system's voice class, and with STANDIN_SECOND_CLASS the second one). Its
// voice object records every call, offers a few voices, speaks each text for
// a set time (a blank at once) on a thread of its own, and signals its
// completion event when nothing is left, as real voices do; a purging Speak
// cuts at once.
#include <windows.h>

#include <sapi.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "standin_common.h"

namespace {
#ifdef STANDIN_SECOND_CLASS
constexpr GUID STANDIN_CLASS = {0xD941651C, 0x44E6, 0x4C17, {0xBA, 0xDF, 0xC3, 0x68, 0x26, 0xFC, 0x34, 0x24}};
constexpr const char* STANDIN_NAME = "voice54";
#else
constexpr GUID STANDIN_CLASS = {0x96749377, 0x3391, 0x11D2, {0x9E, 0xE3, 0x00, 0xC0, 0x4F, 0x79, 0x73, 0x96}};
constexpr const char* STANDIN_NAME = "voice5";
#endif

std::string narrow(const wchar_t* w) {
    std::string s;
    for (; w && *w; ++w) s += *w < 256 ? char(*w) : '?';
    return s;
}

void record(const std::string& call) { standin_record(std::string(STANDIN_NAME) + " " + call); }
HRESULT call(const std::string& c, const char* name) {
    return standin_call(std::string(STANDIN_NAME) + " " + c, name);
}

// The dispatch part of the dual interfaces is not used by the program.
template <typename Interface>
struct Dual : public Counted<Interface> {
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }
};

struct Token : public Dual<ISpeechObjectToken> {
    int number;
    explicit Token(int n) : number(n) {}
    std::string name() const { return "Voz " + std::to_string(number + 1); }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (IsEqualIID(riid, IID_IDispatch)) return answer(riid, IID_IDispatch, out);
        return answer(riid, IID_ISpeechObjectToken, out);
    }
    HRESULT STDMETHODCALLTYPE get_Id(BSTR* id) override {
        *id = SysAllocString(std::wstring(L"standin\\voz" + std::to_wstring(number + 1)).c_str());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_DataKey(ISpeechDataKey**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Category(ISpeechObjectTokenCategory**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDescription(LONG, BSTR* d) override {
        *d = SysAllocString(std::wstring(L"Voz " + std::to_wstring(number + 1)).c_str());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetId(BSTR, BSTR, VARIANT_BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetAttribute(BSTR, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, SpeechTokenContext, IUnknown**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Remove(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetStorageFileName(BSTR, BSTR, BSTR, SpeechTokenShellFolder, BSTR*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE RemoveStorageFileName(BSTR, BSTR, VARIANT_BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsUISupported(const BSTR, const VARIANT*, IUnknown*, VARIANT_BOOL*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DisplayUI(LONG, BSTR, const BSTR, const VARIANT*, IUnknown*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE MatchesAttributes(BSTR, VARIANT_BOOL*) override { return E_NOTIMPL; }
};

struct Tokens : public Dual<ISpeechObjectTokens> {
    LONG count;
    explicit Tokens(LONG n) : count(n) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (IsEqualIID(riid, IID_IDispatch)) return answer(riid, IID_IDispatch, out);
        return answer(riid, IID_ISpeechObjectTokens, out);
    }
    HRESULT STDMETHODCALLTYPE get_Count(LONG* n) override {
        HRESULT hr = call("Count " + std::to_string(count), "Count");
        if (SUCCEEDED(hr)) *n = count;
        return hr;
    }
    HRESULT STDMETHODCALLTYPE Item(LONG index, ISpeechObjectToken** token) override {
        HRESULT hr = call("Item " + std::to_string(index), "Item");
        if (FAILED(hr)) return hr;
        if (index < 0 || index >= count) return E_INVALIDARG;
        *token = new Token(int(index));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get__NewEnum(IUnknown**) override { return E_NOTIMPL; }
};

// The voice's speaking thread and its queue.
struct Speaker {
    std::mutex lock;
    std::condition_variable changed;
    std::deque<std::string> queue;
    bool cut = false, quit = false;
    HANDLE done = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    std::thread thread{[this] { run(); }};

    ~Speaker() {
        {
            std::lock_guard<std::mutex> lk(lock);
            quit = true;
        }
        changed.notify_all();
        thread.join();
        CloseHandle(done);
    }
    void run() {
        std::unique_lock<std::mutex> lk(lock);
        for (;;) {
            changed.wait(lk, [this] { return quit || !queue.empty(); });
            if (quit) return;
            std::string text = queue.front();
            cut = false;
            record("start " + text);
            if (!standin_setting("FUGA_STANDIN_NO_END").empty()) {
                changed.wait(lk, [this] { return quit || cut; });
            } else {
                // A blank (what a purge is sent with) has nothing to say.
                bool blank = text.find_first_not_of(" ") == std::string::npos;
                int ms = blank ? 0 : standin_number("FUGA_STANDIN_SPEAK_MS", 20);
                changed.wait_for(lk, std::chrono::milliseconds(ms), [this] { return quit || cut; });
            }
            if (quit) return;
            if (cut) {
                record("cut " + text);
                continue;  // the purge already emptied the queue
            }
            queue.pop_front();
            record("end " + text);
            if (queue.empty()) SetEvent(done);
        }
    }
    void add(const std::string& text, bool purge) {
        std::lock_guard<std::mutex> lk(lock);
        if (purge) {
            queue.clear();
            cut = true;
        }
        ResetEvent(done);
        queue.push_back(text);
        changed.notify_all();
    }
};

struct Voice : public Dual<ISpeechVoice> {
    Speaker speaker;
    LONG voices = standin_number("FUGA_STANDIN_VOICES", 2);
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (IsEqualIID(riid, IID_IDispatch)) return answer(riid, IID_IDispatch, out);
        return answer(riid, IID_ISpeechVoice, out);
    }
    ~Voice() override { record("released"); }

    HRESULT STDMETHODCALLTYPE get_Status(ISpeechVoiceStatus**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Voice(ISpeechObjectToken**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE putref_Voice(ISpeechObjectToken* token) override {
        BSTR d = nullptr;
        if (token) token->GetDescription(0, &d);
        HRESULT hr = call("Voice " + narrow(d), "Voice");
        SysFreeString(d);
        return hr;
    }
    HRESULT STDMETHODCALLTYPE get_AudioOutput(ISpeechObjectToken**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE putref_AudioOutput(ISpeechObjectToken*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_AudioOutputStream(ISpeechBaseStream**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE putref_AudioOutputStream(ISpeechBaseStream*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Rate(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Rate(LONG rate) override { return call("Rate " + std::to_string(rate), "Rate"); }
    HRESULT STDMETHODCALLTYPE get_Volume(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Volume(LONG v) override { return call("Volume " + std::to_string(v), "Volume"); }
    HRESULT STDMETHODCALLTYPE put_AllowAudioOutputFormatChangesOnNextSet(VARIANT_BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_AllowAudioOutputFormatChangesOnNextSet(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_EventInterests(SpeechVoiceEvents*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_EventInterests(SpeechVoiceEvents e) override {
        return call("EventInterests " + std::to_string(int(e)), "EventInterests");
    }
    HRESULT STDMETHODCALLTYPE put_Priority(SpeechVoicePriority) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Priority(SpeechVoicePriority*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_AlertBoundary(SpeechVoiceEvents) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_AlertBoundary(SpeechVoiceEvents*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_SynchronousSpeakTimeout(LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_SynchronousSpeakTimeout(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Speak(BSTR text, SpeechVoiceSpeakFlags flags, LONG* stream) override {
        std::string t = narrow(text);
        HRESULT hr = call("Speak " + std::to_string(int(flags)) + " " + t, "Speak");
        if (FAILED(hr)) return hr;
        speaker.add(t, flags & SVSFPurgeBeforeSpeak);
        if (stream) *stream = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SpeakStream(ISpeechBaseStream*, SpeechVoiceSpeakFlags, LONG*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Pause() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Resume() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Skip(const BSTR, LONG, LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetVoices(BSTR required, BSTR optional, ISpeechObjectTokens** tokens) override {
        HRESULT hr = call("GetVoices '" + narrow(required) + "' '" + narrow(optional) + "'", "GetVoices");
        if (FAILED(hr)) return hr;
        *tokens = new Tokens(voices);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetAudioOutputs(BSTR, BSTR, ISpeechObjectTokens**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE WaitUntilDone(LONG, VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SpeakCompleteEvent(LONG* handle) override {
        HRESULT hr = call("SpeakCompleteEvent", "SpeakCompleteEvent");
        if (SUCCEEDED(hr)) *handle = LONG(reinterpret_cast<intptr_t>(speaker.done));
        return hr;
    }
    HRESULT STDMETHODCALLTYPE IsUISupported(const BSTR, const VARIANT*, VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DisplayUI(LONG, BSTR, const BSTR, const VARIANT*) override { return E_NOTIMPL; }
};
}  // namespace

HRESULT standin_create(REFCLSID clsid, REFIID riid, void** out) {
    if (!IsEqualCLSID(clsid, STANDIN_CLASS)) return CLASS_E_CLASSNOTAVAILABLE;
    if (FAILED(call("create", "create"))) return E_FAIL;
    Voice* v = new Voice;
    HRESULT hr = v->QueryInterface(riid, out);
    v->Release();
    return hr;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
    standin_watch_keys();
    if (!IsEqualCLSID(clsid, STANDIN_CLASS)) return CLASS_E_CLASSNOTAVAILABLE;
    StandinFactory* f = new StandinFactory(clsid);
    HRESULT hr = f->QueryInterface(riid, out);
    f->Release();
    return hr;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() { return S_FALSE; }

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllRegisterServer() { return standin_register(STANDIN_CLASS); }
