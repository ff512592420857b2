// Objects: placements, taking with the carrying limit and the book, dropping
// and the inventory.
#include "game/objects.h"
#include "game_test_support.h"

TEST_F(GameTest, ReplayPlacementsFollowTheClickSoundsDraws) {
    // The fixture has run the speech module start: 65 draws before the game's.
    game_place_random_objects();
    EXPECT_EQ(s().object_location[OBJ_LANTERN], 10);
    EXPECT_EQ(s().object_location[OBJ_KEY], 24);
    EXPECT_EQ(s().object_location[OBJ_PENKNIFE], 21);
    EXPECT_EQ(s().object_location[OBJ_GUARD], 10);
    EXPECT_EQ(s().carried_count, 0);
    EXPECT_EQ(s().object_location[OBJ_SAW], 1);
    EXPECT_EQ(s().object_location[OBJ_COIN], NOWHERE);
}

TEST_F(GameTest, PlacementsAvoidTheCellTheUnreachableRoomsAndTheCurrentRoom) {
    for (uint32_t seed = 0; seed < 3000; ++seed) {
        random_set_seed(seed * 7919u);
        game_place_object(OBJ_KEY);
        int key = s().object_location[OBJ_KEY];
        ASSERT_TRUE(key >= 2 && key <= 24 && key != 22 && key != 23) << key;
        s().room = 2 + static_cast<int>(seed % 23);
        game_place_guard();
        int guard = s().object_location[OBJ_GUARD];
        ASSERT_TRUE(guard >= 2 && guard <= 24 && guard != s().room) << guard;
    }
    carry({OBJ_LANTERN});
    game_place_object(OBJ_LANTERN);
    EXPECT_TRUE(game_carries(OBJ_LANTERN)) << "a carried object is not moved";
}

TEST_F(GameTest, CarryingLimitIsThreeWithoutTheRope) {
    s().room = 7;
    for (int n : {OBJ_SPOON, OBJ_SHEET, OBJ_SAW, OBJ_ROPE, OBJ_BOOK, OBJ_BONE}) s().object_location[n] = 7;
    act("pegar colher");
    act("pegar lençol");
    act("pegar serra");
    EXPECT_EQ(s().carried_count, 3);
    screen();
    sounds();
    act("pegar corda");
    EXPECT_EQ(screen(),
              "Você não tem como carregar tantos objetos.\nSó se tivesse uma corda para amarrar.\n"
              "Vai ter que deixar um objeto para pegar este.\n");
    EXPECT_EQ(sounds(), std::vector<std::string>{"file CARREG.wav"});
    act("pegar livro");
    EXPECT_EQ(screen().rfind("Você não tem como carregar", 0), 0u) << "the limit comes before the shelf";
    EXPECT_TRUE(s().book_on_high_shelf);

    act("largar serra");
    act("pegar corda");
    act("pegar serra");
    act("pegar osso");
    EXPECT_EQ(s().carried_count, 5) << "with the rope there is no limit";
    act("deixar corda");
    screen();
    act("pegar corda");
    EXPECT_EQ(screen().rfind("Você não tem como carregar", 0), 0u) << "four without the rope is over the limit";
    EXPECT_EQ(s().carried_count, counted_carried());
}

TEST_F(GameTest, BookNeedsTheLadderOnlyWhileOnTheShelf) {
    s().room = 7;
    sounds();
    act("pegar livro");
    EXPECT_EQ(screen(), "O livro está numa prateleira muito alta, você precisaria de uma escada.\n");
    EXPECT_FALSE(game_carries(OBJ_BOOK));
    carry({OBJ_LADDER});
    act("pegar livro");
    EXPECT_EQ(screen(), "Que sorte você ter uma escada, assim pôde pegar o livro.\nOkey!\n");
    EXPECT_EQ(sounds(), (std::vector<std::string>{"file LIVROALT.wav", "file TERESC.wav", "file OK.wav"}));
    act("largar escada");
    s().room = 8;
    act("largar livro");
    screen();
    act("pegar livro");
    EXPECT_EQ(screen(), "Okey!\n");
    EXPECT_TRUE(game_carries(OBJ_BOOK));
}

TEST_F(GameTest, TakeAndDropRefusals) {
    s().room = 10;
    s().object_location[OBJ_GUARD] = 10;
    act("pegar");
    EXPECT_EQ(screen(), "PEGAR o que?\n");
    act("deixar");
    EXPECT_EQ(screen(), "DEIXAR O que?\n");
    act("pegar guarda");
    EXPECT_EQ(screen(), "Não sei o que é GUARDA\n");
    act("deixar guarda");
    EXPECT_EQ(screen(), "Você não pode DEIXAR o que não tem!\n");
    act("pegar chave");
    EXPECT_EQ(screen(), "Este objeto não está aqui.\n");
    act("pegar crucifixo");
    act("apanhar crucifixo");
    EXPECT_EQ(screen(), "Okey!\nVocê já pegou este objeto.\n");
    act("colocar crucifixo");
    EXPECT_EQ(s().object_location[OBJ_CRUCIFIX], 10);
    EXPECT_EQ(s().carried_count, 0);
}

TEST_F(GameTest, InventoryNumbersAndSpeaksWhatIsCarried) {
    act("listar");
    EXPECT_EQ(screen(), "Você não está carregando nada\n");
    carry({OBJ_LANTERN, OBJ_SAW});
    sounds();
    act("listar");
    EXPECT_EQ(screen(), "Você está carregando os seguintes objetos:\n1 - SERRA\n2 - LANTERNA\n");
    EXPECT_EQ(sounds(), (std::vector<std::string>{"file SEGUIOBJ.wav", "say 1", "file 04.wav", "say 2",
                                                  "file 12.wav"}))
        << "an object's name is its numbered recording";
    // A sound directory holding only the saw's recording.
    std::filesystem::copy_file(data_dir() / "som" / "04.wav", dir_ / "04.wav");
    speech_start(3, dir_.string());
    speech_set_speak_punctuation(false);
    act("listar");
    EXPECT_EQ(sounds(), (std::vector<std::string>{"say 1", "file 04.wav", "say 2", "say LANTERNA"}))
        << "without a name recording the name is synthesized";
}
