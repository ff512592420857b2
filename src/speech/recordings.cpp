// The list of the letters directory's recordings and what each one says.
#include "speech/recordings.h"

#include "speech/number_words.h"
#include "util/character_names.h"
#include "util/latin1.h"
#include "util/portuguese_numbers.h"

namespace {
// Words of the time and date fragments besides the numbers' own, and the
// feminine forms of hours.
const char* const TIME_WORDS[] = {"uma", "duas", "hora", "horas", "minuto", "minutos", "de"};

struct Fixed {
    const char* key;
    const char* text;  // UTF-8
};

// Weekdays and months: the key keeps the unaccented stored name.
const Fixed CALENDAR[] = {
    {"_Domingo", "domingo"}, {"_Segunda", "segunda-feira"}, {"_Terca", "terça-feira"}, {"_Quarta", "quarta-feira"},
    {"_Quinta", "quinta-feira"}, {"_Sexta", "sexta-feira"}, {"_Sabado", "sábado"}, {"_Janeiro", "janeiro"},
    {"_Feverei", "fevereiro"}, {"_Marco", "março"}, {"_Abril", "abril"}, {"_Maio", "maio"}, {"_Junho", "junho"},
    {"_Julho", "julho"}, {"_Agosto", "agosto"}, {"_Setembr", "setembro"}, {"_Outubro", "outubro"},
    {"_Novembr", "novembro"}, {"_Dezembr", "dezembro"},
};

const Fixed PROMPTS[] = {
    {"_DEL", "apagado"},
    {"_APFCPO", "apagado até o fim do campo"},
    {"_APICPO", "apagado até o início do campo"},
    {"_CPOAPA", "campo apagado"},
    {"_FALACI", "eco dos caracteres ligado"},
    {"_FALDLG", "eco dos caracteres desligado"},
    {"_VELOC", "velocidade?"},
    {"_MENOS", "menos"},
};

// A word for each letter, to tell apart letters that sound alike.
const char* const SPELLING_WORDS[26] = {
    "amor", "bola",  "casa", "dado",  "escola", "faca",  "gato",   "hotel", "igreja",
    "janela", "kiwi", "lua",  "mala", "navio",  "ovo",   "pato",   "queijo", "rato",
    "sapo",  "tatu",  "uva",  "vaca", "washington", "xícara", "yoga", "zebra",
};

// Names for the few codes the character table leaves without one.
const Fixed EXTRA_NAMES[] = {
    {"_160", "espaço"}, {"_221", "ípsilon agudo"}, {"_222", "thorn"}, {"_223", "esse duplo"},
    {"_253", "ípsilon agudo"}, {"_254", "thorn"}, {"_255", "ípsilon com trema"},
};

std::string trim(std::string s) {
    while (!s.empty() && s.front() == ' ') s.erase(0, 1);
    return s;
}
}  // namespace

std::vector<SpeechRecording> speech_letter_recordings() {
    std::vector<SpeechRecording> out;
    for (int c = 32; c <= 255; ++c) {
        std::string name = trim(character_name(static_cast<unsigned char>(c)));
        if (!name.empty()) out.push_back({"_" + std::to_string(c), name});
    }
    for (const Fixed& f : EXTRA_NAMES) out.push_back({f.key, latin1(f.text)});
    std::vector<std::string> words = portuguese_cardinal_vocabulary();
    words.push_back(portuguese_ordinal(1));
    for (const char* w : TIME_WORDS) words.push_back(w);
    for (const std::string& spoken : words) {
        // The key drops the accents ("_tres"); the recording keeps them.
        for (const std::string& key : speech_number_fragment_keys(speech_stored_number_words(spoken), false))
            out.push_back({key, spoken});
    }
    for (const Fixed& f : CALENDAR) out.push_back({f.key, latin1(f.text)});
    for (const Fixed& f : PROMPTS) out.push_back({f.key, latin1(f.text)});
    for (int i = 0; i < 26; ++i) {
        std::string word = latin1(SPELLING_WORDS[i]);
        std::string upper(1, static_cast<char>('A' + i));
        out.push_back({"_FON" + std::to_string('A' + i), upper + " de " + word});
        out.push_back({"_FON" + std::to_string('a' + i), upper + " de " + word});
    }
    return out;
}

std::vector<std::string> speech_dial_tone_keys() {
    std::vector<std::string> keys;
    for (char c = '0'; c <= '9'; ++c) keys.push_back(std::string("dtmf_") + c);
    keys.push_back("dtmf_X");
    keys.push_back("dtmf_#");
    return keys;
}
