// The guard check, bribes, the uniform, the alarm and the cold room.
#include "game/hazards.h"
#include "game/objects.h"
#include "game/rooms.h"
#include "game_test_support.h"

namespace {
// A seed whose next draw of 0..99 gives `value`.
uint32_t seed_drawing(int value) {
    for (uint32_t seed = 0;; ++seed) {
        random_set_seed(seed);
        if (static_cast<int>(random_next(100)) == value) return seed;
    }
}
}  // namespace

TEST_F(GameTest, GuardCheckNeverActsInTheCellAndLetsAKillThrough) {
    s().object_location[OBJ_GUARD] = 1;
    game_parse_command(latin1("norte"));
    uint32_t before = random_seed();
    EXPECT_EQ(game_guard_check(), GUARD_NOTHING);
    EXPECT_EQ(random_seed(), before) << "nothing is drawn in the cell";
    s().room = 10;
    s().object_location[OBJ_GUARD] = 10;
    game_parse_command(latin1("matar"));
    EXPECT_EQ(game_guard_check(), GUARD_CARRY_ON);
}

TEST_F(GameTest, AGuardTurnsUpOnADrawOfOneModTwenty) {
    s().room = 5;
    game_parse_command(latin1("norte"));
    random_set_seed(seed_drawing(41));
    EXPECT_EQ(game_guard_check(), GUARD_CARRY_ON);
    EXPECT_EQ(screen(), "Um guarda!  Cuidado!\n");
    EXPECT_EQ(s().object_location[OBJ_GUARD], 5);
    s().object_location[OBJ_GUARD] = 9;
    random_set_seed(seed_drawing(40));
    EXPECT_EQ(game_guard_check(), GUARD_NOTHING);
    s().alarm_on = true;
    // With the alarm a second draw of 1 mod 4 also brings him.
    int appeared = 0;
    for (uint32_t seed = 1; seed <= 4000; ++seed) {
        random_set_seed(seed * 2654435761u);
        s().object_location[OBJ_GUARD] = 9;
        if (game_guard_check() == GUARD_CARRY_ON) ++appeared;
    }
    EXPECT_GT(appeared, 4000 * 22 / 100);
    EXPECT_LT(appeared, 4000 * 35 / 100);
}

TEST_F(GameTest, UniformFoolsTheGuardWhateverElseIsCarried) {
    s().room = 10;
    s().object_location[OBJ_GUARD] = 10;
    carry({OBJ_UNIFORM, OBJ_BOOK, OBJ_SAW});
    sounds();
    EXPECT_FALSE(command("pegar lanterna") == false);
    EXPECT_EQ(screen(), "Ele o viu uniformizado e o confundiu com outro guarda. Foi embora.\n");
    EXPECT_EQ(sounds(), std::vector<std::string>{"file UNIFOR.wav"});
    int guard = s().object_location[OBJ_GUARD];
    EXPECT_TRUE(guard != 10 && guard != 1 && guard >= 2 && guard <= 24) << guard;
    EXPECT_EQ(s().object_location[OBJ_LANTERN], 0) << "the command was not carried out";
    EXPECT_EQ(s().carried_count, 3);
}

TEST_F(GameTest, BribeTakesOneCarriedObject) {
    s().room = 10;
    s().object_location[OBJ_LANTERN] = 10;
    for (uint32_t seed = 0; seed < 200; ++seed) {
        s().object_location[OBJ_GUARD] = 10;
        carry({OBJ_SPOON, OBJ_ROPE, OBJ_KEY});
        int before = s().carried_count;
        random_set_seed(seed * 40503u);
        ASSERT_TRUE(command("norte"));
        EXPECT_EQ(s().room, 10) << "the move is not carried out";
        ASSERT_EQ(s().carried_count, before - 1);
        ASSERT_EQ(s().carried_count, counted_carried());
        int given = 0;
        for (int n : {OBJ_SPOON, OBJ_ROPE, OBJ_KEY}) given = s().object_location[n] == NOWHERE ? n : given;
        ASSERT_NE(given, 0);
        std::string line = screen();
        EXPECT_EQ(line, "Você conseguiu suborná-lo com o seguinte objeto: " + utf8(game_object_name(given)) + "\n");
        int guard = s().object_location[OBJ_GUARD];
        ASSERT_TRUE(guard >= 2 && guard <= 24) << guard;
    }

    game_reset();
    s().room = 10;
    s().object_location[OBJ_GUARD] = 10;
    carry({OBJ_LANTERN});
    s().lantern_lit = true;
    sounds();
    command("listar");
    EXPECT_EQ(screen(), "Você conseguiu suborná-lo com o seguinte objeto: LANTERNA\n");
    EXPECT_EQ(sounds(), (std::vector<std::string>{"file SUBORNA.wav", "file 12.wav"}));
    EXPECT_EQ(s().carried_count, 0);
    EXPECT_TRUE(s().lantern_lit) << "a lantern given away stays lit";
}

TEST_F(GameTest, EmptyHandedPlayerIsArrestedBeforeHeMoves) {
    s().room = 8;
    s().object_location[OBJ_GUARD] = 8;
    sounds();
    EXPECT_FALSE(command("norte"));
    EXPECT_EQ(s().room, 8);
    EXPECT_TRUE(s().game_over);
    EXPECT_EQ(screen(),
              "Você não tem nada para subornar este guarda. Ele o prende, em nome da lei!\n\n"
              "Sua tentativa de fuga não funcionou.  Fim do jogo.\n");
    EXPECT_EQ(sounds(), (std::vector<std::string>{"file PRENDE.wav", "file FUGA.wav"}));
}

TEST_F(GameTest, AlarmStartsAtTheDetectorAndStopsInTheCell) {
    s().room = ROOM_EAST_TOWER;
    game_describe_room();
    EXPECT_TRUE(s().alarm_on);
    EXPECT_EQ(screen(),
              "\nVocê está passando pela guarita leste. Cuidado, é muito arriscado.\n"
              "Você passou por um detetor!  Os alarmes do presídio dispararam!\n"
              "Um alarme ensurdecedor soa no presídio.\n");
    // The detector's sentence once, then the alarm's sentence and its siren.
    EXPECT_EQ(sounds(), (std::vector<std::string>{"file GUALEST.wav", "file DETETOR.wav", "file ALARME.wav",
                                                  "file SIRENE.wav"}));
    game_show_surroundings();
    EXPECT_TRUE(s().alarm_on) << "only the cell stops it";
    s().room = ROOM_CELL;
    s().bars_sawn = true;
    carry({OBJ_SAW});
    game_describe_room();
    game_show_surroundings();
    EXPECT_FALSE(s().alarm_on);
    EXPECT_EQ(screen(),
              "\nVocê está na sua cela.\nUm alarme ensurdecedor soa no presídio.\n"
              "O alarme parou de soar\nPode seguir para: Leste\n");
    s().room = ROOM_EAST_TOWER;
    game_describe_room();
    game_describe_room();
    EXPECT_TRUE(s().alarm_on);
    s().alarm_on = false;
    game_describe_room();
    EXPECT_TRUE(s().alarm_on) << "staying in the tower sets it again";
}

TEST_F(GameTest, ColdRoomOpensTheWayBackOnlyOnTheFirstDarkTurn) {
    s().room = 6;
    s().bars_sawn = true;
    game_describe_room();
    game_parse_command(latin1("sul"));
    game_move();
    ASSERT_EQ(s().room, ROOM_COLD_ROOM);
    screen();
    random_set_seed(seed_drawing(1));  // 1 mod 3: the random exit is south
    game_describe_room();
    EXPECT_EQ(s().exit_north, 1) << "back where the player came from";
    EXPECT_EQ(s().exit_south, 1);
    EXPECT_EQ(s().exit_east + s().exit_west, 0);
    EXPECT_EQ(screen(),
              "\nVocê está na geladeira do necrotério.\nEstá horrivelmente frio e escuro.\n"
              "Sua temperatura corporal baixou para 31 graus\n"
              "Sua noção de direção está seriamente prejudicada.\n");
    game_show_surroundings();
    EXPECT_EQ(screen(), "") << "no exits are listed in the dark";

    game_parse_command(latin1("norte"));
    random_set_seed(seed_drawing(2));  // west
    game_describe_room();
    EXPECT_EQ(s().exit_north + s().exit_south + s().exit_east, 0) << "no way back after the first dark turn";
    EXPECT_EQ(s().exit_west, 1);
    EXPECT_EQ(s().body_temperature, 26);

    // Leaving keeps the temperature; a lit lantern in hand brings it back.
    game_parse_command(latin1("oeste"));
    game_move();
    EXPECT_EQ(s().room, ROOM_TUNNEL);
    s().room = ROOM_COLD_ROOM;
    game_parse_command(latin1("leste"));
    random_set_seed(seed_drawing(0));
    game_describe_room();
    EXPECT_EQ(s().body_temperature, 21);
    EXPECT_EQ(s().exit_north, 1);
    EXPECT_EQ(s().exit_west, 0);
    carry({OBJ_LANTERN});
    s().lantern_lit = true;
    game_describe_room();
    EXPECT_EQ(s().body_temperature, 36);
    EXPECT_EQ(s().exit_north + s().exit_south + s().exit_west, 3);
    EXPECT_EQ(s().exit_east, 0);
}

TEST_F(GameTest, ColdRoomWayBackFollowsTheLastDirection) {
    struct Entry {
        const char* command;
        int GameState::*exit;
    };
    // Draw 0 opens north at random, so north is checked only where it is the way back.
    for (Entry e : {Entry{"leste", &GameState::exit_west}, Entry{"norte", &GameState::exit_south},
                    Entry{"oeste", &GameState::exit_east}, Entry{"sul", &GameState::exit_north}}) {
        game_reset();
        s().room = ROOM_COLD_ROOM;
        game_parse_command(latin1(e.command));
        random_set_seed(seed_drawing(1));  // the random exit is south
        game_describe_room();
        EXPECT_EQ(s().*e.exit, 1) << e.command;
        int open = s().exit_north + s().exit_south + s().exit_east + s().exit_west;
        EXPECT_EQ(open, e.exit == &GameState::exit_south ? 1 : 2) << e.command;
    }
    game_reset();
    s().room = ROOM_COLD_ROOM;
    carry({OBJ_LANTERN});
    s().lantern_lit = true;
    game_describe_room();
    game_parse_command(latin1("apagar lanterna"));
    game_dispatch();
    random_set_seed(seed_drawing(1));
    screen();
    game_describe_room();
    EXPECT_NE(screen().find("Está horrivelmente frio e escuro."), std::string::npos);
    EXPECT_EQ(s().exit_north + s().exit_east + s().exit_west, 0) << "A is no direction: no way back";
}

TEST_F(GameTest, ColdKillsOnTheSixthOrWithTheSheetTheFourteenthDarkTurn) {
    auto dark_turns_until_death = [&](std::vector<int>& temperatures) {
        s().room = ROOM_COLD_ROOM;
        int turns = 0;
        while (!s().game_over && turns < 40) {
            game_describe_room();
            temperatures.push_back(s().body_temperature);
            ++turns;
        }
        return turns;
    };
    std::vector<int> plain;
    EXPECT_EQ(dark_turns_until_death(plain), 6);
    EXPECT_EQ(plain, (std::vector<int>{31, 26, 21, 16, 11, 6}));
    EXPECT_TRUE(ended_program()) << "the death by cold ends the program itself";
    std::string text = screen();
    EXPECT_NE(text.find("Sua temperatura corporal baixou para 26 graus\nSua noção de direção"), std::string::npos);
    EXPECT_NE(text.find("Sua temperatura corporal baixou para 21 graus\nVocê rodopia."), std::string::npos);
    EXPECT_NE(text.find("Sua temperatura corporal baixou para 6 graus\n"
                        "Você desmaia de frio. Seu corpo é encontrado no dia seguinte. Você está morto.\n\n"
                        "Sua tentativa de fuga não funcionou.  Fim do jogo.\n\n"),
              std::string::npos);

    game_reset();
    ended_program() = false;
    carry({OBJ_SHEET});
    std::vector<int> sheet;
    EXPECT_EQ(dark_turns_until_death(sheet), 14);
    EXPECT_EQ(sheet.front(), 34);
    EXPECT_EQ(sheet[12], 10);
    EXPECT_EQ(sheet.back(), 8);
    std::string with_sheet = screen();
    size_t first = with_sheet.find("Felizmente você tem o lençol");
    EXPECT_NE(first, std::string::npos);
    EXPECT_EQ(with_sheet.find("Felizmente", first + 1), std::string::npos) << "the sheet's message comes once";
}
