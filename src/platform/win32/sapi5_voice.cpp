// The version 5 speech interface's voice classes as the speech-server driver
// on Windows: one voice object per connection, reached through its
// automation interface; asynchronous speech, the completion event as the
// end, a purging Speak as the cut.
#include "platform/win32/sapi5_voice.h"

#include <windows.h>

#include <sapi.h>

#include <string>

#include "platform/win32/voice_deadline.h"

namespace {
constexpr int SAPI5_MAX_CONNECTIONS = 4;
// Every voice event, so that the completion event is kept up to date.
constexpr SpeechVoiceEvents SAPI5_ALL_EVENTS = SpeechVoiceEvents(33790);
constexpr SpeechVoiceSpeakFlags SAPI5_SPEAK_FLAGS = SpeechVoiceSpeakFlags(SVSFlagsAsync | SVSFIsNotXML);
// A wait for the completion event lasts at most this long, so that the wait
// loop that asks comes back soon to see a key: a key must cut speech within
// a few milliseconds, not at the end of a longer wait.
constexpr int SAPI5_MAX_WAIT_MS = 5;
// The text's bytes are Latin-1 whatever the system's own code page is.
constexpr UINT SAPI5_TEXT_CODE_PAGE = 28591;

// The second voice class: {D941651C-44E6-4C17-BADF-C36826FC3424}.
constexpr GUID CLSID_SecondVoice = {0xD941651C, 0x44E6, 0x4C17, {0xBA, 0xDF, 0xC3, 0x68, 0x26, 0xFC, 0x34, 0x24}};
constexpr GUID CLSID_SystemVoice = {0x96749377, 0x3391, 0x11D2, {0x9E, 0xE3, 0x00, 0xC0, 0x4F, 0x79, 0x73, 0x96}};
constexpr GUID IID_SpeechVoice = {0x269316D8, 0x57BD, 0x11D2, {0x9E, 0xEE, 0x00, 0xC0, 0x4F, 0x79, 0x73, 0x96}};

struct Connection {
    bool used = false;
    bool com = false;
    ISpeechVoice* voice = nullptr;
    ISpeechObjectTokens* voices = nullptr;
    LONG count = 0;
    HANDLE done = nullptr;  // the voice's completion event; it owns the handle
    VoiceDeadline deadline;
    // Cut at its deadline: the voice counts as done until it is given the
    // next text, even though the purge is never reported either.
    bool given_up = false;
};
Connection g_s5[SAPI5_MAX_CONNECTIONS];

Connection* get(int h) { return h >= 0 && h < SAPI5_MAX_CONNECTIONS && g_s5[h].used ? &g_s5[h] : nullptr; }

template <typename T>
void release(T*& p) {
    if (p) p->Release();
    p = nullptr;
}

// A Latin-1 text as a string the voice object owns for the call.
BSTR to_bstr(const std::string& latin1) {
    int n = MultiByteToWideChar(SAPI5_TEXT_CODE_PAGE, 0, latin1.data(), int(latin1.size()), nullptr, 0);
    BSTR s = SysAllocStringLen(nullptr, UINT(n));
    if (s && n > 0) MultiByteToWideChar(SAPI5_TEXT_CODE_PAGE, 0, latin1.data(), int(latin1.size()), s, n);
    return s;
}

HRESULT say(Connection& c, const std::string& latin1, SpeechVoiceSpeakFlags flags) {
    BSTR text = to_bstr(latin1);
    if (!text) return E_OUTOFMEMORY;
    LONG stream = 0;
    HRESULT hr = c.voice->Speak(text, flags, &stream);
    SysFreeString(text);
    return hr;
}

void close(int h);

int open(const std::string& module) {
    int h = 0;
    while (h < SAPI5_MAX_CONNECTIONS && g_s5[h].used) ++h;
    if (h == SAPI5_MAX_CONNECTIONS) return -1;
    Connection& c = g_s5[h];
    c = Connection{};
    c.used = true;
    c.com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    const GUID& cls = module.empty() ? CLSID_SystemVoice : CLSID_SecondVoice;
    BSTR none = SysAllocString(L"");
    bool ok = SUCCEEDED(CoCreateInstance(cls, nullptr, CLSCTX_ALL, IID_SpeechVoice, reinterpret_cast<void**>(&c.voice)))
              && c.voice;
    if (!ok) c.voice = nullptr;
    ok = ok && SUCCEEDED(c.voice->put_EventInterests(SAPI5_ALL_EVENTS));
    ok = ok && SUCCEEDED(c.voice->GetVoices(none, none, &c.voices)) && c.voices;
    if (!ok) c.voices = nullptr;
    ok = ok && SUCCEEDED(c.voices->get_Count(&c.count));
    LONG handle = 0;
    ok = ok && SUCCEEDED(c.voice->SpeakCompleteEvent(&handle)) && handle;
    SysFreeString(none);
    if (!ok) {
        close(h);
        return -1;
    }
    c.done = reinterpret_cast<HANDLE>(static_cast<intptr_t>(handle));
    return h;
}

int voice_count(int h) {
    Connection* c = get(h);
    return c ? int(c->count) : 0;
}

bool select_voice(int h, int index) {
    Connection* c = get(h);
    if (!c || index < 0 || index >= c->count) return false;
    ISpeechObjectToken* token = nullptr;
    if (FAILED(c->voices->Item(index, &token)) || !token) return false;
    HRESULT hr = c->voice->putref_Voice(token);
    token->Release();
    return SUCCEEDED(hr);
}

bool set_rate(int h, int rate) {
    Connection* c = get(h);
    return c && SUCCEEDED(c->voice->put_Rate(rate));
}

bool speak(int h, const std::string& latin1_text) {
    Connection* c = get(h);
    if (!c || FAILED(say(*c, latin1_text, SAPI5_SPEAK_FLAGS))) return false;
    c->given_up = false;
    if (!c->deadline.since) voice_deadline_alive(c->deadline);
    voice_deadline_add_text(c->deadline, latin1_text.size());
    return true;
}

bool cancel(int h) {
    Connection* c = get(h);
    if (!c) return false;
    // What is left to wait for is the blank that purges.
    voice_deadline_clear(c->deadline);
    voice_deadline_alive(c->deadline);
    voice_deadline_add_text(c->deadline, 1);
    return SUCCEEDED(say(*c, " ", SVSFPurgeBeforeSpeak));
}

bool wait_done(int h, int timeout_ms) {
    Connection* c = get(h);
    if (!c || c->given_up) return true;
    int ms = timeout_ms < 0 ? 0 : timeout_ms < SAPI5_MAX_WAIT_MS ? timeout_ms : SAPI5_MAX_WAIT_MS;
    if (WaitForSingleObject(c->done, DWORD(ms)) != WAIT_TIMEOUT) {
        voice_deadline_clear(c->deadline);
        return true;
    }
    if (!voice_deadline_passed(c->deadline)) return false;
    // A voice that never signals its end is cut, and counts as done, so
    // that nobody waits for it for ever.
    cancel(h);
    voice_deadline_clear(c->deadline);
    c->given_up = true;
    return true;
}

bool alive(int h) { return get(h) != nullptr; }

void close(int h) {
    Connection* c = get(h);
    if (!c) return;
    release(c->voices);
    release(c->voice);
    if (c->com) CoUninitialize();
    *c = Connection{};
}

const OsVoiceServerDriver SAPI5_DRIVER = {
    "sapi5", open, voice_count, select_voice, set_rate, speak, cancel, wait_done, alive, close,
};
}  // namespace

const OsVoiceServerDriver* sapi5_voice_driver() { return &SAPI5_DRIVER; }
