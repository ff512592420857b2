// The one place that lists the program's external synthesizers by type.
#include "audio/extsynth.h"
#include "audio/sapi4.h"
#include "audio/sapi5.h"

namespace {
const ExtSynthEngine SAPI4_ENGINE = {"espeak-ng",   sapi4_start, sapi4_stop, sapi4_speak, sapi4_busy, sapi4_silence,
                                     nullptr,       [] { sapi4_busy(false); }};
const ExtSynthEngine SAPI5_ENGINE = {"speech-dispatcher", sapi5_start, sapi5_stop, sapi5_speak,
                                     [](bool) { return sapi5_busy(); }, sapi5_silence, sapi5_available};
const ExtSynthEngine SAPI54_ENGINE = {"speech-dispatcher rhvoice", sapi54_start, sapi54_stop, sapi54_speak,
                                      [](bool) { return sapi54_busy(); }, sapi54_silence, sapi54_available};
}  // namespace

const ExtSynthEngine* extsynth_builtin_engine(ExtSynthType type) {
    switch (type) {
        // The MBROLA-driven engine joins here with its verna_backend_* set.
        case EXTSYNTH_TYPE_VERNA: return nullptr;
        case EXTSYNTH_TYPE_SAPI4: return &SAPI4_ENGINE;
        case EXTSYNTH_TYPE_SAPI5: return &SAPI5_ENGINE;
        case EXTSYNTH_TYPE_SAPI54: return &SAPI54_ENGINE;
    }
    return nullptr;
}
