// Prints the letters directory's recordings, one "KEY<TAB>text" line each in
// UTF-8, for the recording generator.
#include <cstdio>

#include "speech/recordings.h"
#include "util/latin1.h"

int main() {
    for (const SpeechRecording& r : speech_letter_recordings()) std::printf("%s\t%s\n", r.key.c_str(), utf8(r.text).c_str());
    return 0;
}
