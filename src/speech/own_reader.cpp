// Speaking a text: handed to the external synthesizer when one is active,
// else read by the own reader, which speaks zeros and numbers from recorded
// fragments, runs of letters through the rule engine and the own
// synthesizer, and symbols by their recordings and pauses.
#include <iostream>

#include "audio/extsynth.h"
#include "console/sound_log.h"
#include "console/key_cut.h"
#include "diphone/diphone.h"
#include "diphone/rules.h"
#include "speech/speech.h"
#include "util/latin1.h"
#include "speech/speech_state.h"

namespace {
constexpr size_t SPEECH_MAX_PHRASE = 999;
constexpr size_t SPEECH_MAX_NUMBER_DIGITS = 6;

bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }
bool is_letter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 160; }
bool is_phrase_char(unsigned char c) { return c == ' ' || is_letter(c); }

// A run of digits and dashes: spelled when it holds a dash or is too long to
// be a number we read, else spoken from fragments.
void say_number_run(const std::string& run) {
    if (run.find('-') != std::string::npos || run.size() > SPEECH_MAX_NUMBER_DIGITS) {
        speech_spell(run);
        return;
    }
    speech_play_number_words(speech_number_words(std::stoll(run)), false);
}

void say_phrase(const std::string& phrase) {
    if (speech_upper(phrase) == "WWW") {
        speech_spell(phrase);
        return;
    }
    diphone_speak(rules_text_to_phonemes(phrase.substr(0, SPEECH_MAX_PHRASE)), false);
}

void own_reader(std::string t) {
    SpeechState& s = speech_state();
    t += ' ';
    s.abort = false;
    unsigned char last_symbol = ' ';
    int repeat = 0;
    while (!s.abort && !t.empty()) {
        if (key_cut_should_stop()) {
            speech_silence();
            return;
        }
        while (!t.empty() && t[0] == '0') {
            speech_play_key("_zero");
            t.erase(0, 1);
        }
        if (t.empty()) break;
        unsigned char ch = static_cast<unsigned char>(t[0]);
        if (ch >= '1' && ch <= '9') {
            size_t n = 0;
            while (n < t.size() && (is_digit(static_cast<unsigned char>(t[n])) || t[n] == '-')) ++n;
            say_number_run(t.substr(0, n));
            t.erase(0, n);
            continue;
        }
        if (is_phrase_char(ch)) {
            size_t n = 0;
            while (n < t.size() && is_phrase_char(static_cast<unsigned char>(t[n]))) ++n;
            say_phrase(t.substr(0, n));
            t.erase(0, n);
            // The dash of a hyphenated word is not spoken.
            if (t.size() >= 2 && t[0] == '-' && is_letter(static_cast<unsigned char>(t[1]))) t.erase(0, 1);
            continue;
        }
        bool speak_symbol = true;
        if (ch != last_symbol) {
            last_symbol = ch;
            repeat = 0;
        } else if (++repeat > 3) {
            speech_click();
            speak_symbol = ch == '-';
        }
        if (ch != '-') {
            if (t.compare(0, 3, "://") == 0) {
                // No pause inside an address.
                speech_spell(":");
            } else if (speak_symbol) {
                switch (ch) {
                    case '\t':
                    case ' ':
                        break;
                    case '(':
                    case ')':
                    case ',':
                    case '.':
                    case ':':
                    case ';':
                        speech_say_punctuation(t);
                        break;
                    default:
                        if (!key_cut_should_stop()) speech_spell_char(ch);
                }
            }
        } else {
            unsigned char d = t.size() >= 3 ? static_cast<unsigned char>(t[1]) : ' ';
            if (d == ' ' || d == '-') speech_say_punctuation(t);
            else if (is_digit(d)) speech_play_key("_MENOS");
            else speech_spell_char('-');
        }
        t.erase(0, 1);
    }
}
}  // namespace

void speech_say_punctuation(const std::string& t) {
    if (t.empty() || key_cut_should_stop()) return;
    SpeechState& s = speech_state();
    unsigned char m = static_cast<unsigned char>(t[0]);
    speech_wait_while_busy();
    if (s.speak_punctuation) speech_spell_char(m);
    bool blank_after = t.size() > 1 && t[1] == ' ';
    switch (m) {
        case '(':
        case ')':
        case ':':
        case ';':
            speech_pause(s.colon_pause);
            break;
        case ',':
        case '-':
            if (blank_after) speech_pause(s.comma_pause);
            else if (!s.speak_punctuation) speech_spell_char(m);
            break;
        case '.':
            if (blank_after) speech_pause(s.period_pause);
            else if (!s.speak_punctuation) speech_spell_char(m);
            break;
        default:
            break;
    }
}

void speech_say(const std::string& text) {
    sound_log("say", text);
    SpeechState& s = speech_state();
    if (s.external_active && !extsynth_available()) {
        // The system voice went away during the game (its server died, the
        // engine's program cannot be restarted): carry on as after a start
        // that failed, with the own reader, and say so once, or the player
        // would take the other voice for a fault of the game.
        extsynth_stop();
        s.external_active = false;
        speech_say_own(latin1("O sintetizador externo parou; a fala continua com a voz própria."));
    }
    if (s.external_active) {
        speech_wait_while_busy();
        if (!key_cut_should_stop()) {
            extsynth_speak(text);
            s.external_pending = true;
        }
        return;
    }
    own_reader(text);
}

void speech_say_own(const std::string& text) {
    sound_log("say", text);
    own_reader(text);
}

void speech_write(const std::string& text) {
    std::cout << text << std::flush;
    speech_say(text);
}

void speech_write_line(const std::string& text) {
    speech_write(text);
    std::cout << '\n' << std::flush;
}
