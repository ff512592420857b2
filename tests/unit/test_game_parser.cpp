// The command parser: normalisation, the split, the verb table and the hints.
#include "game_test_support.h"

namespace {
struct Parsed {
    std::string command_line, verb, object;
    int code;
};

Parsed parse(const std::string& utf8_line) {
    game_parse_command(latin1(utf8_line));
    const GameState& st = game_state();
    return {utf8(st.command_line), utf8(st.verb_word), utf8(st.object_word), st.verb_code};
}
}  // namespace

TEST_F(GameTest, ParserReducesDirectionsToTheirFirstLetter) {
    for (const char* line : {"ir para o norte", "ir norte", "norte", "N", "  n  ", "NORTEAR"}) {
        Parsed p = parse(line);
        EXPECT_EQ(p.code, 1) << line;
        EXPECT_EQ(p.command_line, "N") << line;
    }
    EXPECT_EQ(parse("s").verb, "SUL");
    EXPECT_EQ(parse("e").command_line, "L");
    EXPECT_EQ(parse("l").command_line, "L");
    EXPECT_EQ(parse("w").command_line, "O");
    Parsed o = parse("o");
    EXPECT_EQ(o.verb, "OESTE") << "a lone O is no article";
    EXPECT_EQ(o.command_line, "O");
    Parsed ir = parse("ir");
    EXPECT_EQ(ir.code, 0);
    EXPECT_EQ(ir.verb, "IR");
    EXPECT_EQ(ir.command_line, "IR") << "an unrecognised line stays whole";
}

TEST_F(GameTest, ParserSplitsAtTheFirstSpaceAfterDroppingOneArticle) {
    Parsed p = parse("pegar a chave");
    EXPECT_EQ(p.verb, "PEGAR");
    EXPECT_EQ(p.object, "CHAVE");
    EXPECT_EQ(p.code, 3);
    EXPECT_EQ(p.command_line, "P");

    Parsed spaced = parse("pegar   a chave");
    EXPECT_EQ(spaced.verb, "PEGAR");
    EXPECT_EQ(spaced.object, "  CHAVE") << "the article rule leaves two spaces before the word";

    EXPECT_EQ(game_normalise_line(latin1("largar o osso no pátio")), latin1("LARGAR OSSO PÁTIO"));
    EXPECT_EQ(game_normalise_line(latin1("o osso a")), latin1("O OSSO A")) << "articles at the ends stay";
    EXPECT_EQ(game_normalise_line(latin1("pegar o o osso")), latin1("PEGAR O OSSO")) << "only the first O goes";
    EXPECT_EQ(parse("atirar na escada").object, "ESCADA");
    EXPECT_EQ(parse("abrir a porta").code, 6);
    EXPECT_EQ(parse("pegar chave dourada  ").object, "CHAVE DOURADA");
    EXPECT_EQ(parse("PEGUE CHAVE").code, 0) << "PEGUE does not begin with PEGAR";
    EXPECT_EQ(parse("peg").code, 0);
    EXPECT_EQ(parse("pegarx chave").code, 3);
    Parsed empty = parse("     ");
    EXPECT_EQ(empty.verb, "");
    EXPECT_EQ(empty.code, 0);
    EXPECT_EQ(parse("ç ã é õ").command_line, "Ç Ã É Õ");
}

TEST_F(GameTest, ObjectWordsMatchWithTheirAccents) {
    s().room = 4;  // the sheet lies in the infirmary
    act("PEGAR LENCOL");
    EXPECT_EQ(screen(), "Não sei o que é LENCOL\n");
    EXPECT_FALSE(game_carries(OBJ_SHEET));
    act("pegar lençol");
    EXPECT_TRUE(game_carries(OBJ_SHEET));
    act("deixar lençol");
    screen();
    act("PEGAR LENÇOL");
    EXPECT_TRUE(game_carries(OBJ_SHEET));
    screen();

    s().room = 24;
    s().object_location[OBJ_KEY] = 24;
    act("pegar   a chave");
    EXPECT_EQ(screen(), "Não sei o que é   CHAVE\n");
    EXPECT_FALSE(game_carries(OBJ_KEY));
}

TEST_F(GameTest, HintsEchoTheVerbOrListExamples) {
    sounds();
    act("pular muro");
    EXPECT_EQ(screen(), "Não sei o que é PULAR, aperte enter para dicas!\n");
    EXPECT_EQ(sounds(), (std::vector<std::string>{"file NAOSEI.wav", "say PULAR", "file ENTDICAS.wav"}));
    act("");
    std::string examples = screen();
    EXPECT_EQ(examples.rfind("Preste atenção! Vou dar-lhe exemplos de alguns comandos.\nAbrir a porta\n", 0), 0u);
    EXPECT_NE(examples.find("\nVocê pode abreviar com N S L O\n"), std::string::npos);
    EXPECT_EQ(sounds(), std::vector<std::string>{"file AJUDAR.wav"});
}

TEST_F(GameTest, CommandLineComesFromTheKeyboard) {
    for (char c : std::string("pegar x")) console_queue_key(static_cast<uint8_t>(c));
    console_queue_key(8);
    console_queue_key('a');
    console_queue_key(' ');
    console_queue_key(13);
    EXPECT_EQ(speech_read_line(), "pegar a") << "backspace and trailing blanks";
    console_queue_key('n');
    console_queue_key(27);
    EXPECT_EQ(speech_read_line(), "") << "Esc cancels";
    console_queue_key(0);
    console_queue_key(72);  // Up ends the line as it stands; its code is no letter
    console_queue_key('s');
    console_queue_key(13);
    EXPECT_EQ(speech_read_line(), "");
    EXPECT_EQ(speech_read_line(), "s");
}
