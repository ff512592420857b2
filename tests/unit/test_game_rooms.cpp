// Room descriptions, the exits list and movement.
#include "game/rooms.h"
#include "game_test_support.h"

TEST_F(GameTest, CellIsLockedUntilSawnAndTheSawIsCarried) {
    game_describe_room();
    game_show_surroundings();
    EXPECT_EQ(screen(), "\nVocê está na sua cela.\nEstá preso.\nTem uma serra por aqui.\n");
    act("leste");
    EXPECT_EQ(screen(), "Você está dando cabeçadas na parede. Tente outro caminho.\n");
    EXPECT_EQ(s().room, 1);
    s().bars_sawn = true;
    game_describe_room();
    game_show_surroundings();
    EXPECT_EQ(screen(), "\nVocê está na sua cela.\nEstá preso.\nTem uma serra por aqui.\nPode seguir para: Leste\n")
        << "sawn but without the saw";
    act("l");
    EXPECT_EQ(s().room, 2);
}

TEST_F(GameTest, ExitsAreListedTogetherAndMovesFollowTheGrid) {
    s().bars_sawn = true;
    s().room = 5;
    sounds();
    game_describe_room();
    game_show_surroundings();
    EXPECT_EQ(screen(), "\nVocê está no almoxarifado.\nTem uma pequena escada ali naquele canto escuro.\n"
                        "Pode seguir para: SLeste\n");
    EXPECT_EQ(sounds(), (std::vector<std::string>{"file ALMOCHA.wav", "file ESCADA.wav", "file PARA.wav",
                                                  "file SUL.wav", "file LESTE.wav"}));
    s().room = ROOM_EAST_TOWER;
    game_describe_room();
    act("e");
    EXPECT_EQ(s().room, 19) << "east of the tower wraps to the punishment cell";
    game_describe_room();
    act("w");
    EXPECT_EQ(s().room, 19);
    act("n");
    EXPECT_EQ(s().room, 13);
}

TEST_F(GameTest, TunnelPassagesNeedTheDiggingAndTheSpoon) {
    s().room = ROOM_TUNNEL;
    s().tunnel_dug = true;
    game_describe_room();
    EXPECT_EQ(screen(), "\nVocê achou num túnel secreto com várias passagens.\n"
                        "Algumas estão parcialmente bloqueadas, mas parece fácil cavar.\n");
    EXPECT_EQ(s().exit_south + s().exit_east, 0);
    carry({OBJ_SPOON});
    game_describe_room();
    EXPECT_EQ(s().exit_north + s().exit_south + s().exit_east + s().exit_west, 4);
    act("s");
    EXPECT_EQ(s().room, ROOM_RIVER);
}

TEST_F(GameTest, LitLanternInTheYardIsDeadly) {
    s().room = ROOM_YARD;
    carry({OBJ_LANTERN});
    game_describe_room();
    EXPECT_FALSE(s().game_over);
    EXPECT_EQ(screen(), "\nVocê está no pátio.\nCuidado, ou os holofotes o denunciarão.\n");
    s().lantern_lit = true;
    s().alarm_on = true;
    sounds();
    EXPECT_FALSE(game_play_turn(latin1("norte")));
    EXPECT_EQ(screen(), "\nVocê está no pátio.\nVocê entrou no pátio com a lanterna acesa! Foi fuzilado!\n\n"
                        "Sua tentativa de fuga não funcionou.  Fim do jogo.\n"
                        "Um alarme ensurdecedor soa no presídio.\n");
    EXPECT_EQ(sounds(), (std::vector<std::string>{"file PATIO.wav", "file ACESA.wav", "file FUGA.wav",
                                                  "file ALARME.wav", "file SIRENE.wav"}));
}
