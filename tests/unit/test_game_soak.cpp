// Thousands of turns of random commands: nothing crashes and the carried
// count stays true; every ending starts a new game.
#include <algorithm>
#include <cstdlib>
#include <random>

#include "game/objects.h"
#include "game_test_support.h"

TEST_F(GameTest, RandomCommandsKeepTheStateConsistent) {
    const std::vector<std::string> verbs = {
        "n", "s", "l", "o", "e", "w", "ir para o norte", "pegar", "apanhar", "carregar", "largar", "deixar",
        "colocar", "listar", "ajudar", "matar", "atirar", "cavar", "serrar", "nadar", "acender", "apagar",
        "abrir", "pular", "", "   ", "o", "a", "ir", "desistir"};
    const std::vector<std::string> objects = {
        "", "colher", "lençol", "escada", "serra", "livro", "crucifixo", "corda", "osso", "uniforme", "moeda",
        "canivete", "lanterna", "chave", "guarda", "a chave", "o osso no pátio", "  lanterna  ", "xyz",
        "lanternas", std::string(1200, 'x')};
    std::mt19937 rng(20261208);
    int games = 1, endings = 0;
    auto new_game = [&] {
        game_reset();
        game_place_random_objects();
        ended_program() = false;
        ++games;
    };
    new_game();
    // Fewer where a turn costs more (under Wine), not fewer than a thousand.
    int turns = 20000;
    if (const char* asked = std::getenv("FUGA_SOAK_TURNS")) turns = std::max(1000, std::atoi(asked));
    for (int turn = 0; turn < turns; ++turn) {
        std::string line = verbs[rng() % verbs.size()];
        // Most games die young at random; help them further now and then.
        if (rng() % 4 == 0) {
            s().bars_sawn = true;
            if (game_carries(OBJ_SPOON)) s().tunnel_dug = true;
        }
        if (!line.empty() && line != "   ") line += " " + objects[rng() % objects.size()];
        bool going_on = game_play_turn(latin1(line));
        ASSERT_EQ(s().carried_count, counted_carried()) << "turn " << turn << ": " << line;
        ASSERT_TRUE(s().room >= 1 && s().room <= GAME_MAX_ROOMS && s().room != 22 && s().room != 23) << s().room;
        ASSERT_LE(s().verb_code, 13);
        for (int n = 1; n <= GAME_MAX_OBJECTS; ++n) {
            int at = s().object_location[n];
            ASSERT_TRUE(at == CARRIED || (at >= 0 && at <= GAME_MAX_ROOMS)) << n << " at " << at;
        }
        ASSERT_FALSE(game_carries(OBJ_GUARD));
        ASSERT_EQ(going_on, !s().game_over);
        if (!going_on) {
            ++endings;
            new_game();
        }
        screen();
    }
    EXPECT_GT(endings, turns / 400);
}
