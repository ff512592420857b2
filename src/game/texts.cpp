// The message table: every text of the game with its recording key.
#include "game/texts.h"

#include <array>
#include <cstdio>
#include <cstdlib>

#include "util/latin1.h"

namespace {
struct SourceText {
    GameText id;
    const char* key;
    const char* text;  // UTF-8
    const char* spoken = "";
};

// Several lines under one key are written one by one and then the key's
// recording, which speaks them all, is played once.
const SourceText SOURCE_TEXTS[] = {
    {TXT_ROOM_CELL, "ESTCELA", "Você está na sua cela."},
    {TXT_ROOM_CORRIDOR, "CORREDOR", "Você se encontra em um longo corredor de celas."},
    {TXT_ROOM_DINING_HALL, "REFEI", "Refeitório. A longa mesa de madeira ainda contém os pratos do jantar."},
    {TXT_ROOM_INFIRMARY, "ENFER", "Você entra na enfermaria na ponta dos pés."},
    {TXT_ROOM_STOREROOM, "ALMOCHA", "Você está no almoxarifado."},
    {TXT_ROOM_GARDEN, "ORTA", "Você está na horta. Cuidado, não pise nos legumes."},
    {TXT_ROOM_LIBRARY, "BIBLIOT", "Você está na biblioteca."},
    {TXT_ROOM_VISITING_HALL, "VISITAS", "Você está no salão de visitas."},
    {TXT_ROOM_KITCHEN, "COZINHA", "Você está na cozinha."},
    {TXT_ROOM_CHAPEL, "CAPELA", "Você está na capela. Reze para não ser pego."},
    {TXT_ROOM_TUNNEL, "TUNEO", "Você achou num túnel secreto com várias passagens."},
    {TXT_ROOM_COLD_ROOM, "GELADEI", "Você está na geladeira do necrotério."},
    {TXT_ROOM_OFFICE, "DIRETOR", "Não pare, pois você está na sala do diretor."},
    {TXT_ROOM_PASSAGE, "ATRAVE", "Você está agora atravessando um corredor."},
    {TXT_ROOM_YARD, "PATIO", "Você está no pátio."},
    {TXT_ROOM_WORKSHOP, "OFICINA", "Você acaba de entrar na oficina."},
    {TXT_ROOM_RIVER, "RIO", "Você está a beira de um grande rio."},
    {TXT_ROOM_EAST_TOWER, "GUALEST", "Você está passando pela guarita leste. Cuidado, é muito arriscado."},
    {TXT_ROOM_PUNISHMENT_CELL, "CELASUR", "Cela surda, onde os presos são castigados."},
    {TXT_ROOM_LAUNDRY, "LAVANDE", "Você entrou na lavanderia."},
    {TXT_ROOM_SOUTH_TOWER, "GUASUL", "Muita atenção, você esta diante da guarita sul."},
    {TXT_ROOM_GATE, "SAIDA", "Conseguiu chegar ao portão de saída!"},
    {TXT_LOCKED_IN, "PRESO", "Está preso."},
    {TXT_TUNNEL_BLOCKED, "CAVAR", "Algumas estão parcialmente bloqueadas, mas parece fácil cavar."},
    {TXT_SEARCHLIGHTS, "OLOFOTES", "Cuidado, ou os holofotes o denunciarão."},
    {TXT_YARD_SHOT, "ACESA", "Você entrou no pátio com a lanterna acesa! Foi fuzilado!"},
    {TXT_DETECTOR, "DETETOR", "Você passou por um detetor!  Os alarmes do presídio dispararam!"},
    {TXT_PADLOCK, "CADEADO", "Você nota que está trancado com um cadeado impossível de arrombar."},
    {TXT_ALARM_SOUNDS, "ALARME", "Um alarme ensurdecedor soa no presídio."},
    {TXT_ALARM_STOPPED, "ALARMEPA", "O alarme parou de soar"},
    {TXT_EXITS, "PARA", "Pode seguir para: "},
    {TXT_NORTH, "NORTE", "Norte"},
    // The south exit is written as its initial only; the recording says it whole.
    {TXT_SOUTH, "SUL", "S", "Sul"},
    {TXT_EAST, "LESTE", "Leste"},
    {TXT_WEST, "OESTE", "Oeste"},
    {TXT_WALL, "CABECADA", "Você está dando cabeçadas na parede. Tente outro caminho."},

    {TXT_PROMPT, "QUEFAZER", "Que fazer? "},
    {TXT_DONT_KNOW, "NAOSEI", "Não sei o que é "},
    {TXT_ASK_HINTS, "ENTDICAS", ", aperte enter para dicas!"},
    {TXT_EXAMPLES, "AJUDAR",
     "Preste atenção! Vou dar-lhe exemplos de alguns comandos.\n"
     "Abrir a porta\n"
     "Pegar chave\n"
     "Listar\n"
     "Ajudar\n"
     "Atirar na escada\n"
     "Para mover-se, diga a direção com pontos cardeais\n"
     "Você pode abreviar com N S L O"},

    {TXT_DESC_SPOON, "COLHER", "Há uma colher de prata no chão."},
    {TXT_DESC_SHEET, "LENCOL", "Há um lindo lençol bordado a ouro aqui."},
    {TXT_DESC_LADDER, "ESCADA", "Tem uma pequena escada ali naquele canto escuro."},
    {TXT_DESC_SAW, "SERRA", "Tem uma serra por aqui."},
    {TXT_DESC_BOOK, "LIVRO", "Há um livro no alto de uma prateleira. Parece valioso."},
    {TXT_DESC_CRUCIFIX, "CRUCIFIX", "Tem um crucifixo dourado aqui."},
    {TXT_DESC_ROPE, "CORDA", "Aqui tem uma corda."},
    {TXT_DESC_BONE, "OSSO", "Tem um osso enorme no chão. Talvez seja uma boa arma."},
    {TXT_DESC_UNIFORM, "UNIFORME", "Tem um uniforme de guarda aqui."},
    {TXT_DESC_COIN, "MOEDA", "Veja! Tem uma moeda de ouro muito rara ali!"},
    {TXT_DESC_PENKNIFE, "CANIVETE", "Tem um canivete ali."},
    {TXT_DESC_LANTERN, "LANTERNA", "Cuidado com a lanterna no chão. Não vá pisá-la."},
    {TXT_DESC_KEY, "CHAVE", "Achou a chave! Será esta?"},
    {TXT_DESC_GUARD, "GUARDA", "Há um guarda aqui."},
    {TXT_NAME_SPOON, "01", "COLHER"},
    {TXT_NAME_SHEET, "02", "LENÇOL"},
    {TXT_NAME_LADDER, "03", "ESCADA"},
    {TXT_NAME_SAW, "04", "SERRA"},
    {TXT_NAME_BOOK, "05", "LIVRO"},
    {TXT_NAME_CRUCIFIX, "06", "CRUCIFIXO"},
    {TXT_NAME_ROPE, "07", "CORDA"},
    {TXT_NAME_BONE, "08", "OSSO"},
    {TXT_NAME_UNIFORM, "09", "UNIFORME"},
    {TXT_NAME_COIN, "10", "MOEDA"},
    {TXT_NAME_PENKNIFE, "11", "CANIVETE"},
    {TXT_NAME_LANTERN, "12", "LANTERNA"},
    {TXT_NAME_KEY, "13", "CHAVE"},
    {TXT_NAME_GUARD, "14", "GUARDA"},

    // One recording for the three ways the question is written.
    {TXT_WHAT, "OQUE", "O que?"},
    {TXT_WHAT_AFTER_VERB, "OQUE", " o que?"},
    {TXT_WHAT_LOWER, "OQUE", "o que?"},
    {TXT_ALREADY_TAKEN, "JAPEGOU", "Você já pegou este objeto."},
    {TXT_NOT_HERE, "NAOESTA", "Este objeto não está aqui."},
    {TXT_TOO_MANY, "CARREG",
     "Você não tem como carregar tantos objetos.\n"
     "Só se tivesse uma corda para amarrar.\n"
     "Vai ter que deixar um objeto para pegar este."},
    {TXT_BOOK_TOO_HIGH, "LIVROALT", "O livro está numa prateleira muito alta, você precisaria de uma escada."},
    {TXT_LUCKY_LADDER, "TERESC", "Que sorte você ter uma escada, assim pôde pegar o livro."},
    {TXT_OK, "OK", "Okey!"},
    {TXT_CANNOT, "NAOPODE", "Você não pode "},
    {TXT_NOT_CARRIED, "NAOTEM", "o que não tem!"},
    {TXT_NOT_CARRIED_PLAIN, "NAOTEM", " o que não tem"},
    {TXT_CARRYING_NOTHING, "NADA", "Você não está carregando nada"},
    {TXT_CARRYING, "SEGUIOBJ", "Você está carregando os seguintes objetos:"},

    {TXT_SAW_VERB, "", "Serrar "},
    {TXT_NO_SAW, "NTSERRA", "Você não tem a serra."},
    {TXT_WHERE, "ONDE", "Onde?"},
    {TXT_STUCK, "ENTALOU", "Horrível distração! A escada fez com que você se entalasse no túnel."},
    {TXT_NO_SPOON, "NAOTEMCO", "Você não tem a colher!"},
    {TXT_TOO_HEAVY_TO_SWIM, "NAONADAR", "Não é possível nadar, carregando tudo isso."},
    {TXT_FOUND_COIN, "ACMOEDA", "Você achou uma moeda de ouro!  Mas volte! A correnteza está muito forte."},
    {TXT_SWALLOWED, "ENGOLIU", "Você engoliu muita água, a correnteza é tremenda! Não há como sair deste jeito."},
    {TXT_LOST_COIN, "PERDEUM", "Você perdeu a moeda na correnteza."},
    // Kept with the river's recordings; the current takes only the coin.
    {TXT_LOST_BOOK, "PERDEUL", "Você perdeu o livro na correnteza."},
    {TXT_LOST_CRUCIFIX, "PERDEUC", "Você perdeu o crucifixo na correnteza."},
    {TXT_DOES_NOT_LIGHT, "NAOACEN", "Isso não acende."},
    {TXT_ALREADY_LIT, "ESTAACE", "Já está acesa."},
    {TXT_DOES_NOT_GO_OUT, "NAOAPA", "Isso não apaga."},
    {TXT_ALREADY_OUT, "APAGADA", "Já está apagada."},
    {TXT_CANNOT_DO_THAT, "NTEMCOMO", "O que? Não tem como fazer isso..."},
    {TXT_WITH_WHAT, "COMOQUE", "Com o que?"},
    {TXT_DOGS, "CAO", "Você fugiu! Mas, devido ao osso que você carregava, os cães o farejaram."},
    {TXT_KILLED_GUARD, "MATOU", "Você matou este guarda!"},
    {TXT_WHOM, "QUEM", " quem?"},
    {TXT_NO_WEAPON, "CORTANTE", "Você não tinha nenhum objeto cortante consigo."},
    {TXT_GUARD_GAVE_ALARM, "DEUALARM", "O guarda o viu e deu o alarme!"},
    {TXT_GIVE_UP, "", "OK"},
    {TXT_HELP_HEAVY, "PESADO", "Alguns objetos podem ser pesados demais!"},
    {TXT_HELP_CONSPICUOUS, "CHAMATIVO", "Cuidado! Certos objetos chamam muita atenção!"},
    {TXT_HELP_NO_LANTERN, "SEMLANT", "Você não devia ter entrado aqui sem uma lanterna!"},
    {TXT_HELP_NONE, "NAOPOSSO", "Desculpe, não posso ajudar agora!"},
    {TXT_HELP_ALARM, "ALPARAR", "Se você conseguir voltar para sua cela, o alarme vai parar."},

    {TXT_UNIFORM_FOOLS, "UNIFOR", "Ele o viu uniformizado e o confundiu com outro guarda. Foi embora."},
    {TXT_BRIBE, "SUBORNA", "Você conseguiu suborná-lo com o seguinte objeto: "},
    {TXT_ARRESTED, "PRENDE", "Você não tem nada para subornar este guarda. Ele o prende, em nome da lei!"},
    {TXT_GUARD_APPEARS, "1GUARDA", "Um guarda!  Cuidado!"},
    {TXT_COLD_DARK, "FRIO", "Está horrivelmente frio e escuro."},
    {TXT_SHEET_HELPS, "LEN", "Felizmente você tem o lençol, que o protege um pouco do frio."},
    {TXT_TEMPERATURE, "TEMPERA", "Sua temperatura corporal baixou para "},
    {TXT_DEGREES, "GRAUS", " graus"},
    {TXT_FROZEN, "MORTO", "Você desmaia de frio. Seu corpo é encontrado no dia seguinte. Você está morto."},
    {TXT_CONFUSED, "DIRECAO", "Sua noção de direção está seriamente prejudicada."},
    {TXT_SPINNING, "RODOPIA", "Você rodopia. Continue caminhando, pode ser que dê sorte."},

    {TXT_TITLE, "TITULO", "FUGA DE VAL MORVELA", "Fuga de Val Morvela."},
    {TXT_TITLE_RULE, "", "-------------------"},
    // Empty lines separate the paragraphs.
    {TXT_STORY, "INTRO",
     "Varnio Keltis, conhecido político americano, foi acusado injustamente\n"
     "de ter assassinado a própria esposa e condenado à prisão perpétua.\n"
     "Há meses ele cumpre a pena no presídio de Val Morvela, o mais temido\n"
     "do país, de onde nenhum preso jamais conseguiu escapar.\n"
     "\n"
     "Esta noite, um curto-circuito na casa de força do presídio causou um\n"
     "blecaute, e Varnio Keltis decidiu aproveitar a escuridão para fugir.\n"
     "Seu plano é roubar um uniforme na lavanderia para enganar os guardas\n"
     "que encontrar no caminho até o portão de saída.\n"
     "\n"
     "Talvez ele precise de uma arma para enfrentar algum guarda mais atento.\n"
     "E, se achar objetos de valor pelo caminho, deve levá-los consigo:\n"
     "a vida de um fugitivo lá fora não vai ser nada fácil, e cada centavo\n"
     "vai fazer falta quando ele estiver bem longe daqui.\n"
     "\n"
     "Você vai acompanhá-lo nessa difícil e perigosa empreitada."},
    {TXT_CONGRATULATIONS, "parabens", "Parabéns!!!\nVocê conseguiu a liberdade!"},
    {TXT_WORTH_BOOK, "LIVRO1", "Está com um livro raríssimo que vale 80.000 dólares!"},
    {TXT_WORTH_CRUCIFIX, "CRUCI1", "Está com um crucifixo que vale 25.000 dólares!"},
    {TXT_WORTH_COIN, "MOEDA1", "Está com uma moeda de ouro que vale 8.000 dólares!"},
    {TXT_ENJOY_FREEDOM, "GOSE", "Use ao máximo sua liberdade!"},
    {TXT_CRIME, "CRIME", "E lembre-se de que o crime não compensa!"},
    {TXT_FAILED, "FUGA", "Sua tentativa de fuga não funcionou.  Fim do jogo."},
};

std::array<GameTextEntry, TXT_COUNT> build_table() {
    std::array<GameTextEntry, TXT_COUNT> table{};
    std::array<bool, TXT_COUNT> filled{};
    for (const SourceText& s : SOURCE_TEXTS) {
        table[s.id] = GameTextEntry{s.key, latin1(s.text), latin1(s.spoken)};
        filled[s.id] = true;
    }
    for (int i = 0; i < TXT_COUNT; ++i) {
        if (!filled[i]) {
            // A programming error caught by the first run of any test.
            std::fprintf(stderr, "game text %d has no entry\n", i);
            std::abort();
        }
    }
    return table;
}

const std::array<GameTextEntry, TXT_COUNT>& table() {
    static const std::array<GameTextEntry, TXT_COUNT> t = build_table();
    return t;
}
}  // namespace

const GameTextEntry& game_text_entry(GameText id) { return table()[id]; }
const std::string& game_text(GameText id) { return table()[id].text; }
const char* game_text_key(GameText id) { return table()[id].key; }
