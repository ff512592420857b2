// The special commands.
#include "game_test_support.h"

TEST_F(GameTest, SawingTheBarsOpensTheCell) {
    act("serrar");
    EXPECT_EQ(screen(), "Você não tem a serra.\n");
    carry({OBJ_SAW});
    act("serrar grades");
    EXPECT_TRUE(s().bars_sawn);
    EXPECT_EQ(screen(), "Okey!\n");
    sounds();
    act("serrar");
    EXPECT_EQ(screen(), "Serrar o que?\n");
    EXPECT_EQ(sounds(), std::vector<std::string>{"file OQUE.wav"});
}

TEST_F(GameTest, DiggingNeedsTheSpoonAndNoLadder) {
    act("cavar");
    EXPECT_EQ(screen(), "Onde?\n");
    s().room = ROOM_TUNNEL;
    act("cavar");
    EXPECT_EQ(screen(), "Você não tem a colher!\n");
    carry({OBJ_SPOON, OBJ_LADDER});
    sounds();
    act("cavar");
    EXPECT_TRUE(s().game_over) << "the ladder wins over the spoon";
    EXPECT_EQ(screen(),
              "Horrível distração! A escada fez com que você se entalasse no túnel.\n\n"
              "Sua tentativa de fuga não funcionou.  Fim do jogo.\n");
    EXPECT_EQ(sounds(), (std::vector<std::string>{"file ENTALOU.wav", "file FUGA.wav"}));
    game_reset();
    s().room = ROOM_TUNNEL;
    carry({OBJ_SPOON});
    act("cavar");
    EXPECT_TRUE(s().tunnel_dug);
}

TEST_F(GameTest, TheRiverGivesTheCoinAndTakesItBack) {
    s().room = ROOM_RIVER;
    carry({OBJ_SAW});
    act("nadar");
    EXPECT_EQ(screen(), "Não é possível nadar, carregando tudo isso.\n");
    act("largar serra");
    carry({OBJ_BOOK, OBJ_CRUCIFIX, OBJ_SPOON});
    screen();
    act("nadar");
    EXPECT_EQ(screen(), "Você achou uma moeda de ouro!  Mas volte! A correnteza está muito forte.\n");
    EXPECT_EQ(s().carried_count, 4) << "the coin comes above the carrying limit";
    act("nadar");
    EXPECT_EQ(screen(),
              "Você engoliu muita água, a correnteza é tremenda! Não há como sair deste jeito.\n"
              "Você perdeu a moeda na correnteza.\n");
    EXPECT_EQ(s().object_location[OBJ_COIN], NOWHERE);
    EXPECT_TRUE(game_carries(OBJ_BOOK) && game_carries(OBJ_CRUCIFIX)) << "only the coin is lost";
    EXPECT_EQ(s().carried_count, 3);
    s().object_location[OBJ_COIN] = 5;
    act("nadar");
    EXPECT_TRUE(game_carries(OBJ_COIN)) << "found again from wherever it was";
    EXPECT_EQ(s().carried_count, counted_carried());
}

TEST_F(GameTest, LightingAndPuttingOutTheLantern) {
    act("acender");
    act("acender vela");
    act("apagar vela");
    EXPECT_EQ(screen(), "O que?\nIsso não acende.\nIsso não apaga.\n");
    act("acender lanterna");
    EXPECT_EQ(screen(), "Você não pode ACENDER o que não tem\n");
    carry({OBJ_LANTERN});
    act("apagar lanterna");
    act("acender lanterna");
    act("acender lanterna");
    EXPECT_EQ(screen(), "Já está apagada.\nOkey!\nJá está acesa.\n");
    act("largar lanterna");
    screen();
    act("acender lanterna");
    act("apagar lanterna");
    EXPECT_EQ(screen(), "Já está acesa.\nVocê não pode APAGAR o que não tem\n");
    EXPECT_TRUE(s().lantern_lit) << "a dropped lantern stays lit";
}

TEST_F(GameTest, OpeningTheGate) {
    act("abrir a porta");
    EXPECT_EQ(screen(), "O que? Não tem como fazer isso...\n");
    s().room = ROOM_GATE;
    act("abrir");
    EXPECT_EQ(screen(), "Com o que?\n");
    carry({OBJ_KEY, OBJ_BONE});
    sounds();
    act("abrir");
    EXPECT_TRUE(s().game_over);
    EXPECT_EQ(sounds(), (std::vector<std::string>{"file CAO.wav", "file FUGA.wav"}));
    game_reset();
    s().room = ROOM_GATE;
    carry({OBJ_KEY, OBJ_COIN, OBJ_CRUCIFIX, OBJ_BOOK});
    screen();
    act("abrir");
    EXPECT_TRUE(s().game_over);
    EXPECT_EQ(screen(),
              "Parabéns!!!\nVocê conseguiu a liberdade!\n"
              "Está com um livro raríssimo que vale 80.000 dólares!\n"
              "Está com um crucifixo que vale 25.000 dólares!\n"
              "Está com uma moeda de ouro que vale 8.000 dólares!\n"
              "Use ao máximo sua liberdade!\nE lembre-se de que o crime não compensa!\n");
    EXPECT_EQ(console_current_attribute() & 0x0F, 15);
}

TEST_F(GameTest, KillingNeedsAWeaponAndAGuard) {
    s().room = 10;
    s().object_location[OBJ_GUARD] = 10;
    act("atirar na escada");
    EXPECT_EQ(screen(), "Você não tinha nenhum objeto cortante consigo.\nO guarda o viu e deu o alarme!\n");
    EXPECT_TRUE(s().alarm_on);
    EXPECT_EQ(s().object_location[OBJ_GUARD], 10) << "the guard stays";
    carry({OBJ_BONE});
    act("matar");
    EXPECT_EQ(screen(), "Você matou este guarda!\n");
    EXPECT_EQ(s().object_location[OBJ_GUARD], NOWHERE);
    act("matar guarda");
    EXPECT_EQ(screen(), "MATAR quem?\n");
    s().alarm_on = false;
    act("matar");
    screen();
    game_set_location(OBJ_BONE, 10);
    act("matar");
    EXPECT_EQ(screen(), "Você não tinha nenhum objeto cortante consigo.\n");
    EXPECT_FALSE(s().alarm_on) << "no alarm without a guard to see it";
}

TEST_F(GameTest, HelpAndGivingUp) {
    s().room = ROOM_RIVER;
    carry({OBJ_SAW});
    act("ajudar");
    s().room = ROOM_PASSAGE;
    carry({OBJ_LANTERN});
    act("ajudar");
    s().lantern_lit = true;
    act("ajudar");
    s().room = ROOM_COLD_ROOM;
    act("ajudar");
    game_set_location(OBJ_LANTERN, 5);
    s().alarm_on = true;
    act("ajudar");
    EXPECT_EQ(screen(),
              "Alguns objetos podem ser pesados demais!\nDesculpe, não posso ajudar agora!\n"
              "Cuidado! Certos objetos chamam muita atenção!\nDesculpe, não posso ajudar agora!\n"
              "Você não devia ter entrado aqui sem uma lanterna!\n"
              "Se você conseguir voltar para sua cela, o alarme vai parar.\n");
    sounds();
    act("desistir");
    EXPECT_TRUE(s().game_over);
    EXPECT_EQ(screen(), "OK\n\nSua tentativa de fuga não funcionou.  Fim do jogo.\n");
    EXPECT_EQ(sounds(), (std::vector<std::string>{"file OK.wav", "file FUGA.wav"}));
}
