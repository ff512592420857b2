// The version 4 speech interfaces (ANSI variants) as the engines export
// them: identifiers, method slots in order, the mode record's layout. The
// system headers do not declare them.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <cstddef>
#include <cstdint>

typedef unsigned __int64 QWORD;

// A block of bytes handed to the engine by value.
struct SDATA {
    void* pData;
    DWORD dwSize;
};

enum VOICECHARSET { CHARSET_TEXT = 0, CHARSET_IPAPHONETIC = 1, CHARSET_ENGINEPHONETIC = 2 };

constexpr int TTSI_NAMELEN = 262;
constexpr int LANG_LEN = 64;

#pragma pack(push, 1)
struct LANGUAGEA {
    WORD LanguageID;
    char szDialect[LANG_LEN];
};

// One engine mode as the enumerator describes it.
struct TTSMODEINFOA {
    GUID gEngineID;
    char szMfgName[TTSI_NAMELEN];
    char szProductName[TTSI_NAMELEN];
    GUID gModeID;
    char szModeName[TTSI_NAMELEN];
    LANGUAGEA language;
    char szSpeaker[TTSI_NAMELEN];
    char szStyle[TTSI_NAMELEN];
    WORD wGender;
    WORD wAge;
    DWORD dwFeatures;
    DWORD dwInterfaces;
    DWORD dwEngineFeatures;
};
#pragma pack(pop)

static_assert(sizeof(TTSMODEINFOA) == 1424, "the engines fill exactly 1424 bytes per mode");
static_assert(offsetof(TTSMODEINFOA, szMfgName) == 16);
static_assert(offsetof(TTSMODEINFOA, szProductName) == 278);
static_assert(offsetof(TTSMODEINFOA, gModeID) == 540);
static_assert(offsetof(TTSMODEINFOA, szModeName) == 556);
static_assert(offsetof(TTSMODEINFOA, language) == 818);
static_assert(offsetof(TTSMODEINFOA, szSpeaker) == 884);
static_assert(offsetof(TTSMODEINFOA, szStyle) == 1146);
static_assert(offsetof(TTSMODEINFOA, wGender) == 1408);
static_assert(offsetof(TTSMODEINFOA, wAge) == 1410);
static_assert(offsetof(TTSMODEINFOA, dwFeatures) == 1412);
static_assert(offsetof(TTSMODEINFOA, dwInterfaces) == 1416);
static_assert(offsetof(TTSMODEINFOA, dwEngineFeatures) == 1420);
static_assert(sizeof(SDATA) == 16 && sizeof(GUID) == 16);

// Identifiers: {D67C0280-C743-11CD-80E5-00AA003E4B50} and the rest.
constexpr GUID CLSID_TTSEnumerator = {0xD67C0280, 0xC743, 0x11CD, {0x80, 0xE5, 0x00, 0xAA, 0x00, 0x3E, 0x4B, 0x50}};
constexpr GUID CLSID_MMAudioDest = {0xCB96B400, 0xC743, 0x11CD, {0x80, 0xE5, 0x00, 0xAA, 0x00, 0x3E, 0x4B, 0x50}};
constexpr GUID IID_IAudioMultiMediaDevice = {
    0xB68AD320, 0xC743, 0x11CD, {0x80, 0xE5, 0x00, 0xAA, 0x00, 0x3E, 0x4B, 0x50}};
constexpr GUID IID_ITTSEnumA = {0x05EB6C6D, 0xDBAB, 0x11CD, {0xB3, 0xCA, 0x00, 0xAA, 0x00, 0x47, 0xBA, 0x4F}};
constexpr GUID IID_ITTSCentralA = {0x05EB6C6A, 0xDBAB, 0x11CD, {0xB3, 0xCA, 0x00, 0xAA, 0x00, 0x47, 0xBA, 0x4F}};
constexpr GUID IID_ITTSAttributesA = {0x0FD6E2A1, 0xE77D, 0x11CD, {0xB3, 0xCA, 0x00, 0xAA, 0x00, 0x47, 0xBA, 0x4F}};
constexpr GUID IID_ITTSNotifySinkA = {0x05EB6C6F, 0xDBAB, 0x11CD, {0xB3, 0xCA, 0x00, 0xAA, 0x00, 0x47, 0xBA, 0x4F}};
constexpr GUID IID_ITTSBufNotifySink = {0xE4963D40, 0xC743, 0x11CD, {0x80, 0xE5, 0x00, 0xAA, 0x00, 0x3E, 0x4B, 0x50}};

// The slots below follow QueryInterface, AddRef and Release. GUID and IID
// parameters travel by value, as the 16-byte structure itself.
struct ITTSCentralA;

struct ITTSEnumA : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Next(ULONG count, TTSMODEINFOA* modes, ULONG* fetched) = 0;
    virtual HRESULT STDMETHODCALLTYPE Skip(ULONG count) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reset() = 0;
    virtual HRESULT STDMETHODCALLTYPE Clone(ITTSEnumA** copy) = 0;
    virtual HRESULT STDMETHODCALLTYPE Select(GUID mode, ITTSCentralA** central, IUnknown* audio_destination) = 0;
};

struct ITTSCentralA : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Inject(const char* tag) = 0;
    virtual HRESULT STDMETHODCALLTYPE ModeGet(TTSMODEINFOA* mode) = 0;
    virtual HRESULT STDMETHODCALLTYPE Phoneme(VOICECHARSET charset, DWORD flags, SDATA text, SDATA* phonemes) = 0;
    virtual HRESULT STDMETHODCALLTYPE PosnGet(QWORD* position) = 0;
    virtual HRESULT STDMETHODCALLTYPE TextData(VOICECHARSET charset, DWORD flags, SDATA text, void* buffer_sink,
                                               IID sink_interface) = 0;
    virtual HRESULT STDMETHODCALLTYPE ToFileTime(QWORD* position, FILETIME* time) = 0;
    virtual HRESULT STDMETHODCALLTYPE AudioPause() = 0;
    virtual HRESULT STDMETHODCALLTYPE AudioResume() = 0;
    virtual HRESULT STDMETHODCALLTYPE AudioReset() = 0;
    virtual HRESULT STDMETHODCALLTYPE Register(void* sink, IID sink_interface, DWORD* key) = 0;
    virtual HRESULT STDMETHODCALLTYPE UnRegister(DWORD key) = 0;
};

struct ITTSAttributesA : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE PitchGet(WORD* pitch) = 0;
    virtual HRESULT STDMETHODCALLTYPE PitchSet(WORD pitch) = 0;
    virtual HRESULT STDMETHODCALLTYPE RealTimeGet(DWORD* real_time) = 0;
    virtual HRESULT STDMETHODCALLTYPE RealTimeSet(DWORD real_time) = 0;
    virtual HRESULT STDMETHODCALLTYPE SpeedGet(DWORD* speed) = 0;
    virtual HRESULT STDMETHODCALLTYPE SpeedSet(DWORD speed) = 0;
    virtual HRESULT STDMETHODCALLTYPE VolumeGet(DWORD* volume) = 0;
    virtual HRESULT STDMETHODCALLTYPE VolumeSet(DWORD volume) = 0;
};

// Implemented by the program: the engine's sound began or ended.
struct ITTSNotifySinkA : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE AttribChanged(DWORD attribute) = 0;
    virtual HRESULT STDMETHODCALLTYPE AudioStart(QWORD time) = 0;
    virtual HRESULT STDMETHODCALLTYPE AudioStop(QWORD time) = 0;
    virtual HRESULT STDMETHODCALLTYPE Visual(QWORD time, char phoneme, char engine_phoneme, DWORD hints,
                                             void* mouth) = 0;
};

// Implemented by the program: one text began or was finished.
struct ITTSBufNotifySink : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE TextDataDone(QWORD time, DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE TextDataStarted(QWORD time) = 0;
    virtual HRESULT STDMETHODCALLTYPE BookMark(QWORD time, DWORD mark) = 0;
    virtual HRESULT STDMETHODCALLTYPE WordPosition(QWORD time, DWORD position) = 0;
};
