// The generated voice tree and the word lists the voice checks speak.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "diphone/inventory.h"
#include "util/latin1.h"

namespace diphone_voice {

namespace fs = std::filesystem;

inline const fs::path DATA = fs::path(FUGA_BINARY_DIR) / "data";
inline const fs::path DIFONES = DATA / "difones";

inline bool voices_built() {
    for (int s = 1; s <= 5; ++s)
        if (!fs::exists(DIFONES / ("DIFONES" + std::to_string(s) + ".IND"))) return false;
    return fs::exists(DIFONES / "regras.rgr") && fs::exists(DIFONES / "portug.exc");
}

inline std::vector<std::string> split_words(const std::string& utf8_text) {
    std::vector<std::string> words;
    std::string cur;
    for (char c : latin1(utf8_text) + " ") {
        if (c == ' ') {
            if (!cur.empty()) words.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    return words;
}

// The game's own words: its objects, places, directions and verbs, and
// whatever the game's message table holds once it is generated.
inline std::vector<std::string> game_words() {
    std::vector<std::string> words = split_words(
        "fuga val morvela prisão prisioneiro cela grades serra colher túnel lanterna necrotério frio uniforme "
        "suborno chave portão saída guarda guardas alarme holofote holofotes pátio corredor refeitório cozinha "
        "enfermaria escada muro cerca norte sul leste oeste cima baixo pegar largar usar abrir fechar cavar "
        "serrar subir descer ir para olhar inventário ajuda sair desistir fim morreu congelado escapou preso "
        "você está não sim que fazer okey sala número objetos saídas");
    std::vector<std::string> more = diphone_text_words((fs::path(FUGA_BINARY_DIR) / "recordings" / "game.txt").string());
    words.insert(words.end(), more.begin(), more.end());
    return words;
}

// Everyday words touching every rule family (digraphs, nasals, final l and
// r, x, c and g before e and i, consonant clusters, hiatus).
inline std::vector<std::string> common_words() {
    return split_words(
        "filho banho chuva carro terra rato hora sexta exame táxi próximo caixa gente guerra quero quase "
        "cinco cidade arte porta mar amor fácil azul sol mel mãe pães põe irmã homem viagem bom um algum "
        "nenhum psicólogo advogado ritmo pacto opção ficção excelente exceto piscina nascer cresça ação "
        "coração queijo água língua pinguim aquário quinze guitarra lâmpada ânsia ônibus pêssego avô avó "
        "café saída país muito também depois então quando onde porque trabalho problema flor blusa");
}

}  // namespace diphone_voice
