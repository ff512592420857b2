// The pronunciation we intend for Portuguese words: each word's phoneme
// string from the project's rule file and exceptions. The table is the
// reference; a change to the rules that changes a line here must be a
// deliberate one.
#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "diphone/rules.h"
#include "game/texts.h"
#include "rules_test_support.h"
#include "util/latin1.h"

namespace {

struct WordCase {
    const char* word;  // UTF-8
    const char* phonemes;
};

const WordCase k_words[] = {
    // Every word of the game's texts, its verbs, object names and directions.
    {"você", "[v/o^ /s/E^ ]"},
    {"está", "[i /s/t/A ]"},
    {"na", "[n/a^ ]"},
    {"sua", "[s/U /a^ ]"},
    {"cela", "[s/E /l/a^ ]"},
    {"se", "[s/i ]"},
    {"encontra", "[e~ /k/O~ /t/r/a^ ]"},
    {"em", "[e~y ]"},
    {"um", "[u~ ]"},
    {"longo", "[l/O~ /g/u ]"},
    {"corredor", "[k/o^ /rr/e^ /d/O^rr ]"},
    {"de", "[dj/i ]"},
    {"celas", "[s/E /l/a^ /s]"},
    {"refeitório", "[rr/e^ /f/e^y /t/O /r/i /u ]"},
    {"a", "[a^ ]"},
    {"longa", "[l/O~ /g/a^ ]"},
    {"mesa", "[m/E^ /z/a^ ]"},
    {"madeira", "[m/a /d/E^y /r/a^ ]"},
    {"ainda", "[a /I~ /d/a^ ]"},
    {"contém", "[k/o~ /t/E~y ]"},
    {"os", "[u /s]"},
    {"pratos", "[p/r/A /t/u /s]"},
    {"do", "[d/u ]"},
    {"jantar", "[j/a~ /t/Arr ]"},
    {"entra", "[E~ /t/r/a^ ]"},
    {"enfermaria", "[e~ /f/e^rr /m/a /r/I /a^ ]"},
    {"ponta", "[p/O~ /t/a^ ]"},
    {"dos", "[d/u /s]"},
    {"pés", "[p/E /s]"},
    {"no", "[n/u ]"},
    {"almoxarifado", "[aw /m/o^ /x/a /r/i /f/A /d/u ]"},
    {"horta", "[/Orr /t/a^ ]"},
    {"cuidado", "[k/uy /d/A /d/u ]"},
    {"não", "[n/A~w ]"},
    {"pise", "[p/I /z/i ]"},
    {"nos", "[n/u /s]"},
    {"legumes", "[l/e^ /g/U /m/i /s]"},
    {"biblioteca", "[b/i /b/l/i /o^ /t/E /k/a^ ]"},
    {"salão", "[s/a /l/A~w ]"},
    {"visitas", "[v/i /z/I /t/a^ /s]"},
    {"cozinha", "[k/o^ /z/I /nh/a^ ]"},
    {"capela", "[k/a /p/E /l/a^ ]"},
    {"reze", "[rr/E /z/i ]"},
    {"para", "[p/A /r/a^ ]"},
    {"ser", "[s/e^rr ]"},
    {"pego", "[p/E /g/u ]"},
    {"achou", "[a /x/O^ ]"},
    {"num", "[n/u~ ]"},
    {"túnel", "[t/U /n/ew ]"},
    {"secreto", "[s/e^ /k/r/E /t/u ]"},
    {"com", "[k/o~ ]"},
    {"várias", "[v/A /r/i /a^ /s]"},
    {"passagens", "[p/a /s/A /j/e~y /s]"},
    {"geladeira", "[j/e^ /l/a /d/E^y /r/a^ ]"},
    {"necrotério", "[n/e^ /k/r/o^ /t/E /r/i /u ]"},
    {"pare", "[p/A /r/i ]"},
    {"pois", "[p/O^y /s]"},
    {"sala", "[s/A /l/a^ ]"},
    {"diretor", "[dj/i /r/e^ /t/O^rr ]"},
    {"agora", "[a /g/O /r/a^ ]"},
    {"atravessando", "[a /t/r/a /v/e^ /s/A~ /d/u ]"},
    {"pátio", "[p/A /tch/i /u ]"},
    {"acaba", "[a /k/A /b/a^ ]"},
    {"entrar", "[e~ /t/r/Arr ]"},
    {"oficina", "[o^ /f/i /s/I /n/a^ ]"},
    {"beira", "[b/E^y /r/a^ ]"},
    {"grande", "[g/r/A~ /dj/i ]"},
    {"rio", "[rr/I /u ]"},
    {"passando", "[p/a /s/A~ /d/u ]"},
    {"pela", "[p/E^ /l/a^ ]"},
    {"guarita", "[gw/a /r/I /t/a^ ]"},
    {"leste", "[l/E /s/tch/i ]"},
    {"é", "[E ]"},
    {"muito", "[m/Uy /t/u ]"},
    {"arriscado", "[a /rr/i /s/k/A /d/u ]"},
    {"surda", "[s/Urr /d/a^ ]"},
    {"onde", "[O~ /dj/i ]"},
    {"presos", "[p/r/E^ /z/u /s]"},
    {"são", "[s/A~w ]"},
    {"castigados", "[k/a /s/tch/i /g/A /d/u /s]"},
    {"entrou", "[e~ /t/r/O^ ]"},
    {"lavanderia", "[l/a /v/a~ /d/e^ /r/I /a^ ]"},
    {"muita", "[m/Uy /t/a^ ]"},
    {"atenção", "[a /t/e~ /s/A~w ]"},
    {"esta", "[E /s/t/a^ ]"},
    {"diante", "[dj/i /A~ /tch/i ]"},
    {"da", "[d/a^ ]"},
    {"sul", "[s/Uw ]"},
    {"conseguiu", "[k/o~ /s/e^ /g/Iw ]"},
    {"chegar", "[x/e^ /g/Arr ]"},
    {"ao", "[A /u ]"},
    {"portão", "[p/o^rr /t/A~w ]"},
    {"saída", "[s/a /I /d/a^ ]"},
    {"preso", "[p/r/E^ /z/u ]"},
    {"algumas", "[aw /g/U /m/a^ /s]"},
    {"estão", "[i /s/t/A~w ]"},
    {"parcialmente", "[p/arr /s/i /aw /m/E~ /tch/i ]"},
    {"bloqueadas", "[b/l/o^ /k/e^ /A /d/a^ /s]"},
    {"mas", "[m/a^ /s]"},
    {"parece", "[p/a /r/E /s/i ]"},
    {"fácil", "[f/A /s/iw ]"},
    {"cavar", "[k/a /v/Arr ]"},
    {"lanterna", "[l/a~ /t/Err /n/a^ ]"},
    {"acesa", "[a /s/E^ /z/a^ ]"},
    {"foi", "[f/O^y ]"},
    {"fuzilado", "[f/u /z/i /l/A /d/u ]"},
    {"ou", "[O^ ]"},
    {"holofotes", "[/o^ /l/o^ /f/O /tch/i /s]"},
    {"o", "[u ]"},
    {"denunciarão", "[d/e^ /n/u~ /s/i /a /r/A~w ]"},
    {"passou", "[p/a /s/O^ ]"},
    {"por", "[p/o^rr ]"},
    {"detetor", "[d/e^ /t/e^ /t/O^rr ]"},
    {"alarmes", "[a /l/Arr /m/i /s]"},
    {"presídio", "[p/r/e^ /z/I /dj/i /u ]"},
    {"dispararam", "[dj/i /s/p/a /r/A /r/a~w ]"},
    {"nota", "[n/O /t/a^ ]"},
    {"que", "[k/i ]"},
    {"trancado", "[t/r/a~ /k/A /d/u ]"},
    {"cadeado", "[k/a /d/e^ /A /d/u ]"},
    {"impossível", "[i~ /p/o^ /s/I /v/ew ]"},
    {"arrombar", "[a /rr/o~ /b/Arr ]"},
    {"alarme", "[a /l/Arr /m/i ]"},
    {"ensurdecedor", "[e~ /s/urr /d/e^ /s/e^ /d/O^rr ]"},
    {"soa", "[s/O^ /a^ ]"},
    {"parou", "[p/a /r/O^ ]"},
    {"soar", "[s/o^ /Arr ]"},
    {"pode", "[p/O /dj/i ]"},
    {"seguir", "[s/e^ /g/Irr ]"},
    {"norte", "[n/Orr /tch/i ]"},
    {"oeste", "[o^ /E /s/tch/i ]"},
    {"dando", "[d/A~ /d/u ]"},
    {"cabeçadas", "[k/a /b/e^ /s/A /d/a^ /s]"},
    {"parede", "[p/a /r/E^ /dj/i ]"},
    {"tente", "[t/E~ /tch/i ]"},
    {"outro", "[O^ /t/r/u ]"},
    {"caminho", "[k/a^ /m/I /nh/u ]"},
    {"fazer", "[f/a /z/E^rr ]"},
    {"ç", "[ /_s][ /_s]"},
    {"ã", "[A~ ]"},
    {"sei", "[s/E^y ]"},
    {"aperte", "[a /p/Err /tch/i ]"},
    {"enter", "[E~ /t/e^rr ]"},
    {"dicas", "[dj/I /k/a^ /s]"},
    {"preste", "[p/r/E /s/tch/i ]"},
    {"vou", "[v/O^ ]"},
    {"dar", "[d/arr ]"},
    {"lhe", "[lh/i ]"},
    {"exemplos", "[e^ /z/E~ /p/l/u /s]"},
    {"alguns", "[aw /g/U~ /s]"},
    {"comandos", "[k/o^ /m/A~ /d/u /s]"},
    {"abrir", "[a /b/r/Irr ]"},
    {"porta", "[p/Orr /t/a^ ]"},
    {"pegar", "[p/e^ /g/Arr ]"},
    {"chave", "[x/A /v/i ]"},
    {"listar", "[l/i /s/t/Arr ]"},
    {"ajudar", "[a /j/u /d/Arr ]"},
    {"atirar", "[a /tch/i /r/Arr ]"},
    {"escada", "[i /s/k/A /d/a^ ]"},
    {"mover", "[m/o^ /v/E^rr ]"},
    {"diga", "[dj/I /g/a^ ]"},
    {"direção", "[dj/i /r/e^ /s/A~w ]"},
    {"pontos", "[p/O~ /t/u /s]"},
    {"cardeais", "[k/arr /d/e^ /Ay /s]"},
    {"abreviar", "[a /b/r/e^ /v/i /Arr ]"},
    {"n", "[ /_n]"},
    {"s", "[ /_s]"},
    {"l", "[ /_l]"},
    {"há", "[/A ]"},
    {"uma", "[U /m/a^ ]"},
    {"colher", "[k/u /lh/Err ]"},
    {"prata", "[p/r/A /t/a^ ]"},
    {"chão", "[x/A~w ]"},
    {"lindo", "[l/I~ /d/u ]"},
    {"lençol", "[l/e~ /s/Ow ]"},
    {"bordado", "[b/o^rr /d/A /d/u ]"},
    {"ouro", "[O^ /r/u ]"},
    {"aqui", "[a /k/I ]"},
    {"tem", "[t/e~y ]"},
    {"pequena", "[p/e^ /k/E^ /n/a^ ]"},
    {"ali", "[a /l/I ]"},
    {"naquele", "[n/a /k/E^ /l/i ]"},
    {"canto", "[k/A~ /t/u ]"},
    {"escuro", "[i /s/k/U /r/u ]"},
    {"serra", "[s/E /rr/a^ ]"},
    {"livro", "[l/I /v/r/u ]"},
    {"alto", "[Aw /t/u ]"},
    {"prateleira", "[p/r/a /t/e^ /l/E^y /r/a^ ]"},
    {"valioso", "[v/a /l/i /O^ /z/u ]"},
    {"crucifixo", "[k/r/u /s/i /f/I /ks/u ]"},
    {"dourado", "[d/o^ /r/A /d/u ]"},
    {"corda", "[k/Orr /d/a^ ]"},
    {"osso", "[O^ /s/u ]"},
    {"enorme", "[e^ /n/Orr /m/i ]"},
    {"talvez", "[t/aw /v/E^ /s]"},
    {"seja", "[s/E^ /j/a^ ]"},
    {"boa", "[b/O^ /a^ ]"},
    {"arma", "[Arr /m/a^ ]"},
    {"uniforme", "[u /n/i /f/Orr /m/i ]"},
    {"guarda", "[gw/Arr /d/a^ ]"},
    {"veja", "[v/E^ /j/a^ ]"},
    {"moeda", "[m/o^ /E /d/a^ ]"},
    {"rara", "[rr/A /r/a^ ]"},
    {"canivete", "[k/a^ /n/i /v/E /tch/i ]"},
    {"vá", "[v/A ]"},
    {"pisá", "[p/i /z/A ]"},
    {"la", "[l/a^ ]"},
    {"será", "[s/e^ /r/A ]"},
    {"já", "[j/A ]"},
    {"pegou", "[p/e^ /g/O^ ]"},
    {"este", "[E^ /s/tch/i ]"},
    {"objeto", "[o^ /bi /j/E /t/u ]"},
    {"como", "[k/O^ /m/u ]"},
    {"carregar", "[k/a /rr/e^ /g/Arr ]"},
    {"tantos", "[t/A~ /t/u /s]"},
    {"objetos", "[o^ /bi /j/E /t/u /s]"},
    {"só", "[s/O ]"},
    {"tivesse", "[tch/i /v/E /s/i ]"},
    {"amarrar", "[a^ /m/a /rr/Arr ]"},
    {"vai", "[v/Ay ]"},
    {"ter", "[t/e^rr ]"},
    {"deixar", "[d/e^y /x/Arr ]"},
    {"numa", "[n/U /m/a^ ]"},
    {"alta", "[Aw /t/a^ ]"},
    {"precisaria", "[p/r/e^ /s/i /z/a /r/I /a^ ]"},
    {"sorte", "[s/Orr /tch/i ]"},
    {"assim", "[a /s/I~ ]"},
    {"pôde", "[p/O^ /dj/i ]"},
    {"okey", "[o^ /k/E^y ]"},
    {"carregando", "[k/a /rr/e^ /g/A~ /d/u ]"},
    {"nada", "[n/A /d/a^ ]"},
    {"seguintes", "[s/e^ /g/I~ /tch/i /s]"},
    {"r", "[ /_r]"},
    {"serrar", "[s/e^ /rr/Arr ]"},
    {"horrível", "[/o^ /rr/I /v/ew ]"},
    {"distração", "[dj/i /s/t/r/a /s/A~w ]"},
    {"fez", "[f/e^ /s]"},
    {"entalasse", "[e~ /t/a /l/A /s/i ]"},
    {"possível", "[p/o^ /s/I /v/ew ]"},
    {"nadar", "[n/a /d/Arr ]"},
    {"tudo", "[t/U /d/u ]"},
    {"isso", "[I /s/u ]"},
    {"volte", "[v/Ow /tch/i ]"},
    {"correnteza", "[k/o^ /rr/e~ /t/E^ /z/a^ ]"},
    {"forte", "[f/Orr /tch/i ]"},
    {"engoliu", "[e~ /g/o^ /l/Iw ]"},
    {"água", "[A /gw/a^ ]"},
    {"tremenda", "[t/r/e^ /m/E~ /d/a^ ]"},
    {"sair", "[s/a /Irr ]"},
    {"deste", "[d/E^ /s/tch/i ]"},
    {"jeito", "[j/E^y /t/u ]"},
    {"perdeu", "[p/e^rr /d/E^w ]"},
    {"acende", "[a /s/E~ /dj/i ]"},
    {"apaga", "[a /p/A /g/a^ ]"},
    {"apagada", "[a /p/a /g/A /d/a^ ]"},
    {"fugiu", "[f/u /j/Iw ]"},
    {"devido", "[d/e^ /v/I /d/u ]"},
    {"carregava", "[k/a /rr/e^ /g/A /v/a^ ]"},
    {"cães", "[k/A~y /s]"},
    {"farejaram", "[f/a /r/e^ /j/A /r/a~w ]"},
    {"matou", "[m/a /t/O^ ]"},
    {"quem", "[k/e~y ]"},
    {"tinha", "[tch/I /nh/a^ ]"},
    {"nenhum", "[n/e^ /nh/U~ ]"},
    {"cortante", "[k/o^rr /t/A~ /tch/i ]"},
    {"consigo", "[k/o~ /s/I /g/u ]"},
    {"viu", "[v/Iw ]"},
    {"e", "[i ]"},
    {"deu", "[d/E^w ]"},
    {"fuga", "[f/U /g/a^ ]"},
    {"podem", "[p/O /d/e~y ]"},
    {"pesados", "[p/e^ /z/A /d/u /s]"},
    {"demais", "[d/e^ /m/Ay /s]"},
    {"certos", "[s/Err /t/u /s]"},
    {"chamam", "[x/A^ /m/a~w ]"},
    {"devia", "[d/e^ /v/I /a^ ]"},
    {"entrado", "[e~ /t/r/A /d/u ]"},
    {"sem", "[s/e~y ]"},
    {"desculpe", "[d/e^ /s/k/Uw /p/i ]"},
    {"posso", "[p/O /s/u ]"},
    {"conseguir", "[k/o~ /s/e^ /g/Irr ]"},
    {"voltar", "[v/o^w /t/Arr ]"},
    {"parar", "[p/a /r/Arr ]"},
    {"tentativa", "[t/e~ /t/a /tch/I /v/a^ ]"},
    {"funcionou", "[f/u~ /s/i /o^ /n/O^ ]"},
    {"fim", "[f/i~ ]"},
    {"jogo", "[j/O^ /g/u ]"},
    {"ele", "[E^ /l/i ]"},
    {"uniformizado", "[u /n/i /f/o^rr /m/i /z/A /d/u ]"},
    {"confundiu", "[k/o~ /f/u~ /dj/Iw ]"},
    {"embora", "[e~ /b/O /r/a^ ]"},
    {"suborná", "[s/u /b/o^rr /n/A ]"},
    {"lo", "[l/u ]"},
    {"seguinte", "[s/e^ /g/I~ /tch/i ]"},
    {"subornar", "[s/u /b/o^rr /n/Arr ]"},
    {"prende", "[p/r/E~ /dj/i ]"},
    {"nome", "[n/O^ /m/i ]"},
    {"lei", "[l/E^y ]"},
    {"horrivelmente", "[/o^ /rr/i /v/ew /m/E~ /tch/i ]"},
    {"frio", "[f/r/I /u ]"},
    {"felizmente", "[f/e^ /l/i /z/m/E~ /tch/i ]"},
    {"protege", "[p/r/o^ /t/E /j/i ]"},
    {"pouco", "[p/O^ /k/u ]"},
    {"temperatura", "[t/e~ /p/e^ /r/a /t/U /r/a^ ]"},
    {"corporal", "[k/o^rr /p/o^ /r/Aw ]"},
    {"baixou", "[b/ay /x/O^ ]"},
    {"graus", "[g/r/Aw /s]"},
    {"desmaia", "[d/e^ /z/m/Ay /a^ ]"},
    {"seu", "[s/E^w ]"},
    {"corpo", "[k/O^rr /p/u ]"},
    {"encontrado", "[e~ /k/o~ /t/r/A /d/u ]"},
    {"dia", "[dj/I /a^ ]"},
    {"morto", "[m/O^rr /t/u ]"},
    {"noção", "[n/o^ /s/A~w ]"},
    {"seriamente", "[s/e^ /r/i /a^ /m/E~ /tch/i ]"},
    {"prejudicada", "[p/r/e^ /j/u /dj/i /k/A /d/a^ ]"},
    {"rodopia", "[rr/o^ /d/o^ /p/I /a^ ]"},
    {"continue", "[k/o~ /tch/i /n/U /i ]"},
    {"caminhando", "[k/a^ /m/i /nh/A~ /d/u ]"},
    {"dê", "[d/E^ ]"},
    {"varnio", "[v/arr /n/I /u ]"},
    {"keltis", "[k/ew /tch/I /s]"},
    {"conhecido", "[k/o^ /nh/e^ /s/I /d/u ]"},
    {"político", "[p/o^ /l/I /tch/i /k/u ]"},
    {"americano", "[a^ /m/e^ /r/i /k/A^ /n/u ]"},
    {"acusado", "[a /k/u /z/A /d/u ]"},
    {"injustamente", "[i~ /j/u /s/t/a^ /m/E~ /tch/i ]"},
    {"acompanhá", "[a /k/o~ /p/a^ /nh/A ]"},
    {"nessa", "[n/E /s/a^ ]"},
    {"difícil", "[dj/i /f/I /s/iw ]"},
    {"perigosa", "[p/e^ /r/i /g/O /z/a^ ]"},
    {"empreitada", "[e~ /p/r/e^y /t/A /d/a^ ]"},
    {"parabéns", "[p/a /r/a /b/E~y /s]"},
    {"liberdade", "[l/i /b/e^rr /d/A /dj/i ]"},
    {"parabens", "[p/a /r/A /b/e~y /s]"},
    {"raríssimo", "[rr/a /r/I /s/i /m/u ]"},
    {"vale", "[v/A /l/i ]"},
    {"dólares", "[d/O /l/a /r/i /s]"},
    {"use", "[U /z/i ]"},
    {"máximo", "[m/A /s/i /m/u ]"},
    {"lembre", "[l/E~ /b/r/i ]"},
    {"crime", "[k/r/I /m/i ]"},
    {"compensa", "[k/o~ /p/E~ /s/a^ ]"},
    {"acender", "[a /s/e~ /d/E^rr ]"},
    {"apagar", "[a /p/a /g/Arr ]"},
    {"desistir", "[d/e^ /z/i /s/tch/Irr ]"},
    {"matar", "[m/a /t/Arr ]"},
    {"apanhar", "[a /p/a^ /nh/Arr ]"},
    {"colocar", "[k/o^ /l/o^ /k/Arr ]"},
    {"largar", "[l/arr /g/Arr ]"},
    {"val", "[v/Aw ]"},
    {"morvela", "[m/o^rr /v/E /l/a^ ]"},
    {"pular", "[p/u /l/Arr ]"},
    {"achar", "[a /x/Arr ]"},
    {"aproveitar", "[a /p/r/o^ /v/e^y /t/Arr ]"},
    {"assassinado", "[a /s/a /s/i /n/A /d/u ]"},
    {"atento", "[a /t/E~ /t/u ]"},
    {"até", "[a /t/E ]"},
    {"bem", "[b/e~y ]"},
    {"blecaute", "[b/l/e^ /k/Aw /tch/i ]"},
    {"cada", "[k/A /d/a^ ]"},
    {"causou", "[k/aw /z/O^ ]"},
    {"centavo", "[s/e~ /t/A /v/u ]"},
    {"circuito", "[s/irr /k/Uy /t/u ]"},
    {"condenado", "[k/o~ /d/e^ /n/A /d/u ]"},
    {"cumpre", "[k/U~ /p/r/i ]"},
    {"curto", "[k/Urr /t/u ]"},
    {"daqui", "[d/a /k/I ]"},
    {"decidiu", "[d/e^ /s/i /dj/Iw ]"},
    {"deve", "[d/E /v/i ]"},
    {"encontrar", "[e~ /k/o~ /t/r/Arr ]"},
    {"enfrentar", "[e~ /f/r/e~ /t/Arr ]"},
    {"enganar", "[e~ /g/a^ /n/Arr ]"},
    {"escapar", "[i /s/k/a /p/Arr ]"},
    {"escuridão", "[i /s/k/u /r/i /d/A~w ]"},
    {"esposa", "[i /s/p/O /z/a^ ]"},
    {"estiver", "[i /s/tch/i /v/Err ]"},
    {"falta", "[f/Aw /t/a^ ]"},
    {"fora", "[f/O /r/a^ ]"},
    {"força", "[f/O^rr /s/a^ ]"},
    {"fugir", "[f/u /j/Irr ]"},
    {"fugitivo", "[f/u /j/i /tch/I /v/u ]"},
    {"guardas", "[gw/Arr /d/a^ /s]"},
    {"jamais", "[j/a^ /m/Ay /s]"},
    {"levá", "[l/e^ /v/A ]"},
    {"longe", "[l/O~ /j/i ]"},
    {"los", "[l/u /s]"},
    {"lá", "[l/A ]"},
    {"mais", "[m/Ay /s]"},
    {"meses", "[m/E^ /z/i /s]"},
    {"ok", "[o^ /k/E^y ]"},
    {"pelo", "[p/E^ /l/u ]"},
    {"perpétua", "[p/e^rr /p/E /t/u /a^ ]"},
    {"plano", "[p/l/A^ /n/u ]"},
    {"precise", "[p/r/e^ /s/I /z/i ]"},
    {"prisão", "[p/r/i /z/A~w ]"},
    {"própria", "[p/r/O /p/r/i /a^ ]"},
    {"roubar", "[rr/o^ /b/Arr ]"},
    {"temido", "[t/e^ /m/I /d/u ]"},
    {"valor", "[v/a /l/O^rr ]"},
    {"à", "[a ]"},
    // Common words for each rule: r and s by context, digraphs, c g x by context,
    // nasal vowels and endings, final l, open and closed e and o, diphthongs and
    // hiatus, stress by the scan and by accents, consonants that take an i.
    {"casa", "[k/A /z/a^ ]"},
    {"casas", "[k/A /z/a^ /s]"},
    {"papel", "[p/a /p/Ew ]"},
    {"tatu", "[t/a /t/U ]"},
    {"café", "[k/a /f/E ]"},
    {"sol", "[s/Ow ]"},
    {"mar", "[m/arr ]"},
    {"carro", "[k/A /rr/u ]"},
    {"rato", "[rr/A /t/u ]"},
    {"honra", "[/O~ /rr/a^ ]"},
    {"Israel", "[i /z/rr/a /Ew ]"},
    {"caro", "[k/A /r/u ]"},
    {"prato", "[p/r/A /t/u ]"},
    {"banho", "[b/A^ /nh/u ]"},
    {"queijo", "[k/E^y /j/u ]"},
    {"guerra", "[g/E /rr/a^ ]"},
    {"quando", "[kw/A~ /d/u ]"},
    {"qual", "[kw/Aw ]"},
    {"cinqüenta", "[s/i~ /kw/E~ /t/a^ ]"},
    {"lingüiça", "[l/i~ /gw/I /s/a^ ]"},
    {"gelo", "[j/E^ /l/u ]"},
    {"girar", "[j/i /r/Arr ]"},
    {"gato", "[g/A /t/u ]"},
    {"digno", "[dj/I /gi /n/u ]"},
    {"pacto", "[p/A /ki /t/u ]"},
    {"técnico", "[t/E /ki /n/i /k/u ]"},
    {"ritmo", "[rr/I /tchi /m/u ]"},
    {"advogado", "[a /dji /v/o^ /g/A /d/u ]"},
    {"apto", "[A /pi /t/u ]"},
    {"pneu", "[pi /n/E^w ]"},
    {"psicologia", "[pi /s/i /k/o^ /l/o^ /j/I /a^ ]"},
    {"exame", "[e^ /z/A^ /m/i ]"},
    {"êxito", "[E^ /z/i /t/u ]"},
    {"texto", "[t/E^ /s/t/u ]"},
    {"extra", "[E^ /s/t/r/a^ ]"},
    {"táxi", "[t/A /ks/i ]"},
    {"próximo", "[p/r/O /s/i /m/u ]"},
    {"sexo", "[s/E /ks/u ]"},
    {"lixo", "[l/I /x/u ]"},
    {"caixa", "[k/Ay /x/a^ ]"},
    {"xícara", "[x/I /k/a /r/a^ ]"},
    {"peixe", "[p/E^y /x/i ]"},
    {"enxada", "[e~ /x/A /d/a^ ]"},
    {"exceção", "[e^ /s/e^ /s/A~w ]"},
    {"paz", "[p/a /s]"},
    {"luz", "[l/u /s]"},
    {"vez", "[v/e^ /s]"},
    {"zero", "[z/E /r/u ]"},
    {"mesmo", "[m/E^ /z/m/u ]"},
    {"desde", "[d/E^ /z/dj/i ]"},
    {"nascer", "[n/a /s/E^rr ]"},
    {"descer", "[d/e^ /s/E^rr ]"},
    {"piscina", "[p/i /s/I /n/a^ ]"},
    {"cresça", "[k/r/E^ /s/a^ ]"},
    {"caça", "[k/A /s/a^ ]"},
    {"passo", "[p/A /s/u ]"},
    {"mão", "[m/A~w ]"},
    {"mãe", "[m/A~y ]"},
    {"pães", "[p/A~y /s]"},
    {"irmã", "[irr /m/A~ ]"},
    {"irmão", "[irr /m/A~w ]"},
    {"põe", "[p/O~y ]"},
    {"corações", "[k/o^ /r/a /s/O~y /s]"},
    {"lâmpada", "[l/A~ /p/a /d/a^ ]"},
    {"câmara", "[k/A^ /m/a /r/a^ ]"},
    {"três", "[t/r/E^ /s]"},
    {"avô", "[a /v/O^ ]"},
    {"avó", "[a /v/O ]"},
    {"pó", "[p/O ]"},
    {"herói", "[/e^ /r/Oy ]"},
    {"céu", "[s/Ew ]"},
    {"chapéu", "[x/a /p/Ew ]"},
    {"papéis", "[p/a /p/Ey /s]"},
    {"também", "[t/a~ /b/E~y ]"},
    {"têm", "[t/E~y ]"},
    {"alguém", "[aw /g/E~y ]"},
    {"bom", "[b/o~ ]"},
    {"som", "[s/o~ ]"},
    {"sim", "[s/i~ ]"},
    {"algum", "[aw /g/U~ ]"},
    {"campo", "[k/A~ /p/u ]"},
    {"tempo", "[t/E~ /p/u ]"},
    {"sempre", "[s/E~ /p/r/i ]"},
    {"homem", "[/O^ /m/e~y ]"},
    {"homens", "[/O^ /m/e~y /s]"},
    {"jovens", "[j/O /v/e~y /s]"},
    {"falam", "[f/A /l/a~w ]"},
    {"cama", "[k/A^ /m/a^ ]"},
    {"ano", "[A^ /n/u ]"},
    {"pena", "[p/E^ /n/a^ ]"},
    {"fome", "[f/O^ /m/i ]"},
    {"sono", "[s/O^ /n/u ]"},
    {"sonho", "[s/O^ /nh/u ]"},
    {"tenho", "[t/E^ /nh/u ]"},
    {"mal", "[m/Aw ]"},
    {"Brasil", "[b/r/a /z/Iw ]"},
    {"mil", "[m/Iw ]"},
    {"funil", "[f/u /n/Iw ]"},
    {"azul", "[a /z/Uw ]"},
    {"anel", "[a^ /n/Ew ]"},
    {"hotel", "[/o^ /t/Ew ]"},
    {"farol", "[f/a /r/Ow ]"},
    {"volta", "[v/Ow /t/a^ ]"},
    {"bolsa", "[b/O^w /s/a^ ]"},
    {"escola", "[i /s/k/O /l/a^ ]"},
    {"bola", "[b/O /l/a^ ]"},
    {"rosa", "[rr/O /z/a^ ]"},
    {"bota", "[b/O /t/a^ ]"},
    {"nova", "[n/O /v/a^ ]"},
    {"nossa", "[n/O /s/a^ ]"},
    {"terra", "[t/E /rr/a^ ]"},
    {"erro", "[E^ /rr/u ]"},
    {"perto", "[p/Err /t/u ]"},
    {"certo", "[s/Err /t/u ]"},
    {"perna", "[p/Err /n/a^ ]"},
    {"inverno", "[i~ /v/Err /n/u ]"},
    {"verde", "[v/E^rr /dj/i ]"},
    {"comer", "[k/o^ /m/E^rr ]"},
    {"festa", "[f/E /s/t/a^ ]"},
    {"janela", "[j/a^ /n/E /l/a^ ]"},
    {"era", "[E /r/a^ ]"},
    {"resto", "[rr/E /s/t/u ]"},
    {"pessoa", "[p/e^ /s/O^ /a^ ]"},
    {"noite", "[n/O^y /tch/i ]"},
    {"oito", "[O^y /t/u ]"},
    {"pai", "[p/Ay ]"},
    {"mau", "[m/Aw ]"},
    {"causa", "[k/Aw /z/a^ ]"},
    {"meu", "[m/E^w ]"},
    {"primeiro", "[p/r/i /m/E^y /r/u ]"},
    {"sou", "[s/O^ ]"},
    {"falou", "[f/a /l/O^ ]"},
    {"fui", "[f/Uy ]"},
    {"ruim", "[rr/u /I~ ]"},
    {"juiz", "[j/u /I /s]"},
    {"caiu", "[k/a /Iw ]"},
    {"saúde", "[s/a /U /dj/i ]"},
    {"país", "[p/a /I /s]"},
    {"baú", "[b/a /U ]"},
    {"ciúme", "[s/i /U /m/i ]"},
    {"rainha", "[rr/a /I /nh/a^ ]"},
    {"partiu", "[p/arr /tch/Iw ]"},
    {"hora", "[/O /r/a^ ]"},
    {"Walter", "[u /aw /t/E^rr ]"},
    {"tchau", "[tch/Aw ]"},
    {"show", "[x/O^ ]"},
    {"filosofia", "[f/i /l/o^ /z/o^ /f/I /a^ ]"},
    {"ficção", "[f/i /ki /s/A~w ]"},
    {"obter", "[o^ /bi /t/E^rr ]"},
    {"absoluto", "[a /bi /s/o^ /l/U /t/u ]"},
    {"ideia", "[i /d/Ey /a^ ]"},
    {"inglês", "[i~ /g/l/E^ /s]"},
    {"ônibus", "[O^ /n/i /b/u /s]"},
    {"óculos", "[O /k/u /l/u /s]"},
    {"mesmos", "[m/E^ /z/m/u /s]"},
    {"gente", "[j/E~ /tch/i ]"},
    {"cidade", "[s/i /d/A /dj/i ]"},
    {"dez", "[d/E /s]"},
    {"sete", "[s/E /tch/i ]"},
    {"nove", "[n/O /v/i ]"},
    {"vida", "[v/I /d/a^ ]"},
    {"pinguim", "[p/i~ /gw/I~ ]"},
    {"colega", "[k/o^ /l/E /g/a^ ]"},
    {"depressa", "[d/e^ /p/r/E /s/a^ ]"},
    {"jovem", "[j/O /v/e~y ]"},
    {"mulher", "[m/u /lh/Err ]"},
    {"mulheres", "[m/u /lh/E /r/i /s]"},
    {"pedra", "[p/E /d/r/a^ ]"},
    {"porque", "[p/o^rr /k/E^ ]"},
    // Hiatus: the i of -uir and -air verbs before a consonant and of -uiu is a
    // vowel of its own and stressed; re- keeps its e before in-; põem.
    {"diluirmos", "[dj/i /l/u /Irr /m/u /s]"},
    {"cairmos", "[k/a /Irr /m/u /s]"},
    {"incluiu", "[i~ /k/l/u /Iw ]"},
    {"põem", "[p/O~y ]"},
    {"reinventar", "[rr/e^ /i~ /v/e~ /t/Arr ]"},
    {"qualquer", "[kw/aw /k/Err ]"},
    {"troca", "[t/r/O /k/a^ ]"},
    {"voz", "[v/O /s]"},
    {"chuva", "[x/U /v/a^ ]"},
    {"joelhos", "[j/o^ /E^ /lh/u /s]"},
    {"ignorado", "[i /gi /n/o^ /r/A /d/u ]"},
    {"quinta-feira", "[k/I~ /t/a^ ][][f/E^y /r/a^ ]"},
    {"quero", "[k/E /r/u ]"},
    {"espero", "[i /s/p/E /r/u ]"},
    {"leve", "[l/E /v/i ]"},
    {"leva", "[l/E /v/a^ ]"},
    {"pega", "[p/E /g/a^ ]"},
    {"entrega", "[e~ /t/r/E /g/a^ ]"},
    {"recebe", "[rr/e^ /s/E /b/i ]"},
    {"boneca", "[b/o^ /n/E /k/a^ ]"},
    {"direto", "[dj/i /r/E /t/u ]"},
    {"completo", "[k/o~ /p/l/E /t/u ]"},
    {"pacote", "[p/a /k/O /tch/i ]"},
    {"chega", "[x/E^ /g/a^ ]"},
    {"estrela", "[i /s/t/r/E^ /l/a^ ]"},
    {"esteve", "[i /s/t/E^ /v/i ]"},
    {"logo", "[l/O /g/u ]"},
    {"maior", "[m/ay /Orr ]"},
    {"melhor", "[m/e^ /lh/Orr ]"},
    {"menor", "[m/e^ /n/Orr ]"},
    {"pele", "[p/E /l/i ]"},
    {"pior", "[p/i /Orr ]"},
    {"preto", "[p/r/E^ /t/u ]"},
    {"quer", "[k/Err ]"},
    {"teve", "[t/E^ /v/i ]"},
    {"choque", "[x/O /k/i ]"},
    {"parque", "[p/Arr /k/i ]"},
    {"sangue", "[s/A~ /g/i ]"},
    {"ataque", "[a /t/A /k/i ]"},
    // Stress decided at the first letter is applied: a stressed first vowel, or a
    // stressed i or u as the second letter, used to leave the word unstressed.
    {"amo", "[A^ /m/u ]"},
    {"ando", "[A~ /d/u ]"},
    {"uso", "[U /z/u ]"},
    {"ilha", "[I /lh/a^ ]"},
    {"uva", "[U /v/a^ ]"},
    {"linha", "[l/I /nh/a^ ]"},
    {"pulo", "[p/U /l/u ]"},
    {"vinte", "[v/I~ /tch/i ]"},
    // The u of a final -que or -gue is silent, so the stress falls on the vowel
    // before it.
    {"clique", "[k/l/I /k/i ]"},
    {"bosque", "[b/O /s/k/i ]"},
    {"toque", "[t/O /k/i ]"},
    {"pague", "[p/A /g/i ]"},
    // Open e and o in the stressed syllable before one consonant and -e, -es, -em
    // (the present of -er and -ir verbs), and in nouns such as febre, roda;
    // dele, aquele, sobre, toda, fosse, foram stay closed.
    {"febre", "[f/E /b/r/i ]"},
    {"nobre", "[n/O /b/r/i ]"},
    {"roda", "[rr/O /d/a^ ]"},
    {"moda", "[m/O /d/a^ ]"},
    {"bloco", "[b/l/O /k/u ]"},
    {"pede", "[p/E /dj/i ]"},
    {"pedem", "[p/E /d/e~y ]"},
    {"bebe", "[b/E /b/i ]"},
    {"conhece", "[k/o^ /nh/E /s/i ]"},
    {"esquece", "[i /s/k/E /s/i ]"},
    {"dormem", "[d/Orr /m/e~y ]"},
    {"ordem", "[Orr /d/e~y ]"},
    {"joga", "[j/O /g/a^ ]"},
    {"gosta", "[g/O /s/t/a^ ]"},
    {"corre", "[k/O /rr/i ]"},
    {"sobe", "[s/O /b/i ]"},
    {"dele", "[d/E^ /l/i ]"},
    {"aquele", "[a /k/E^ /l/i ]"},
    {"sobre", "[s/O^ /b/r/i ]"},
    {"toda", "[t/O^ /d/a^ ]"},
    {"fosse", "[f/O^ /s/i ]"},
    {"foram", "[f/O^ /r/a~w ]"},
    // The open o of plurals whose singular is closed (metaphony).
    {"jogos", "[j/O /g/u /s]"},
    {"ossos", "[O /s/u /s]"},
    {"mortos", "[m/Orr /t/u /s]"},
    {"fornos", "[f/Orr /n/u /s]"},
    {"impostos", "[i~ /p/O /s/t/u /s]"},
    {"novos", "[n/O /v/u /s]"},
    // Irregular preterite stems keep an open e; regular -er verbs a closed one;
    // the feminines in -dora, -tora, -sora are closed.
    {"puderam", "[p/u /d/E /r/a~w ]"},
    {"souberam", "[s/o^ /b/E /r/a~w ]"},
    {"trouxeram", "[t/r/o^ /s/E /r/a~w ]"},
    {"couberam", "[k/o^ /b/E /r/a~w ]"},
    {"deram", "[d/E /r/a~w ]"},
    {"fizeram", "[f/i /z/E /r/a~w ]"},
    {"comera", "[k/o^ /m/E^ /r/a^ ]"},
    {"vendera", "[v/e~ /d/E^ /r/a^ ]"},
    {"comeste", "[k/o^ /m/E^ /s/tch/i ]"},
    {"vendeste", "[v/e~ /d/E^ /s/tch/i ]"},
    {"vendedora", "[v/e~ /d/e^ /d/O^ /r/a^ ]"},
    {"diretora", "[dj/i /r/e^ /t/O^ /r/a^ ]"},
    {"doutora", "[d/o^ /t/O^ /r/a^ ]"},
    {"professora", "[p/r/o^ /f/e^ /s/O^ /r/a^ ]"},
    // x as ks in the learned words that have it; sexta, exame keep s and z.
    {"nexo", "[n/E /ks/u ]"},
    {"flexão", "[f/l/e^ /ks/A~w ]"},
    {"conexão", "[k/o^ /n/e^ /ks/A~w ]"},
    {"fluxo", "[f/l/U /ks/u ]"},
    {"boxe", "[b/O /ks/i ]"},
    {"sexta", "[s/E^ /s/t/a^ ]"},
    // The u heard after q and g where the spelling has no diaeresis.
    {"frequência", "[f/r/e^ /kw/E~ /s/i /a^ ]"},
    {"delinquente", "[d/e^ /l/i~ /kw/E~ /tch/i ]"},
    {"equestre", "[e^ /kw/E /s/t/r/i ]"},
    {"arguir", "[arr /gw/Irr ]"},
    {"tranquilo", "[t/r/a~ /kw/I /l/u ]"},
    {"cinquenta", "[s/i~ /kw/E~ /t/a^ ]"},
    {"aguentar", "[a /gw/e~ /t/Arr ]"},
    // s after tran- before a vowel is z; r after l is strong; ruins keeps the
    // stress of ruim; porque is stressed on its last syllable only.
    {"transitar", "[t/r/a~ /z/i /t/Arr ]"},
    {"trânsito", "[t/r/A~ /z/i /t/u ]"},
    {"chilrear", "[x/iw /rr/e^ /Arr ]"},
    {"melro", "[m/Ew /rr/u ]"},
    {"ruins", "[rr/u /I~ /s]"},
};

class RulesWords : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(rules_test_load_project_data(why)) << why;
    }
    void TearDown() override { rules_reset(); }
};

// Splits a rule output into the phoneme letters of the rule file's key;
// false at the first piece that is not one of them.
bool phoneme_letters_only(const std::string& s, std::string& bad) {
    static const char* const multi[] = {"tch", "dj", "nh", "lh", "rr"};
    size_t i = 0;
    while (i < s.size()) {
        bool taken = false;
        for (const char* m : multi) {
            size_t n = std::strlen(m);
            if (s.compare(i, n, m) == 0) {
                i += n;
                taken = true;
                break;
            }
        }
        if (taken) continue;
        char c = s[i];
        if (std::strchr("aeouAEOU", c)) {
            ++i;
            if (i < s.size() && (s[i] == '^' || s[i] == '~')) ++i;
        } else if (c == 'i' || c == 'I') {
            ++i;
            if (i < s.size() && s[i] == '~') ++i;
        } else if (std::strchr("pbtdkgfvszmnlrxjyw ", c)) {
            ++i;
        } else {
            bad = s.substr(i);
            return false;
        }
    }
    return true;
}

// The groups the synthesizer reads from a phoneme string: outputs joined by
// "/" while short, ended by a space or "]"; letters ("_x") left out.
std::vector<std::string> groups_of(const std::string& s) {
    std::vector<std::string> groups;
    size_t i = 0, n = s.size();
    while (i < n) {
        if (s[i] == '[') ++i;
        std::string g;
        while (i < n && s[i] != ' ' && s[i] != ']') {
            if (s[i] == '/') {
                if (g.size() > 8) break;
                ++i;
                continue;
            }
            if (s[i] == '_' && i + 1 < n) {
                g += s.substr(i, 2);
                i += 2;
                continue;
            }
            g += s[i++];
        }
        if (i < n) ++i;
        if (!g.empty() && g[0] != '_') groups.push_back(g);
    }
    return groups;
}

// The words of the game's own texts, lower-cased Latin-1.
std::set<std::string> game_words() {
    std::set<std::string> words;
    for (int i = 0; i < TXT_COUNT; ++i) {
        const GameTextEntry& e = game_text_entry(static_cast<GameText>(i));
        for (const std::string* t : {&e.text, &e.spoken}) {
            std::string w;
            for (size_t k = 0; k <= t->size(); ++k) {
                unsigned char c = k < t->size() ? static_cast<unsigned char>((*t)[k]) : ' ';
                bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= 192 && c != 215 && c != 247);
                if (letter) {
                    if ((c >= 'A' && c <= 'Z') || (c >= 192 && c <= 222)) c = static_cast<unsigned char>(c + 32);
                    w += static_cast<char>(c);
                } else if (!w.empty()) {
                    words.insert(w);
                    w.clear();
                }
            }
        }
    }
    return words;
}

// The words of the pronunciation samples in tests/data (comment lines left out).
std::vector<std::string> sample_words() {
    std::vector<std::string> words;
    for (const char* list : {"../tests/data/rules_words_everyday.txt", "../tests/data/rules_words_dictionary.txt"}) {
        std::string text = rules_test_read_source(list);
        EXPECT_FALSE(text.empty()) << list;
        size_t pos = 0;
        while (pos < text.size()) {
            size_t end = text.find('\n', pos);
            if (end == std::string::npos) end = text.size();
            std::string line = text.substr(pos, end - pos);
            pos = end + 1;
            if (!line.empty() && line[0] != '#') words.push_back(line);
        }
    }
    return words;
}

}  // namespace

TEST_F(RulesWords, EveryWordOfTheGameIsInTheTable) {
    std::set<std::string> table;
    for (const WordCase& c : k_words) table.insert(latin1(c.word));
    for (const std::string& w : game_words()) EXPECT_TRUE(table.count(w)) << "not in the table: " << utf8(w);
}

// Each syllable is one group: an s, z or k left from the syllable before, an
// onset, the vowel, and a glide, final rr or nasal mark; a final s alone.
// The unit databases are built for exactly these shapes.
TEST_F(RulesWords, GroupsHaveTheShapesTheUnitsAreMadeFor) {
    static const std::regex shape(
        "(s|z|k)?(p|b|t|d|k|g|f|v|s|z|x|j|m|n|l|r|nh|lh|rr|tch|dj|kw|gw|ks|[pbtdkgfv][rl])?"
        "([aeiou][\\^~]?)(y|w|rr)?|s",
        std::regex::icase);
    std::vector<std::string> texts;
    for (const WordCase& c : k_words) texts.push_back(latin1(c.word));
    for (int i = 0; i < TXT_COUNT; ++i) texts.push_back(game_text_entry(static_cast<GameText>(i)).text);
    texts.push_back(rules_test_read_source("../bench/texto_1000_palavras.txt"));
    for (const std::string& w : sample_words()) texts.push_back(w);
    for (const std::string& t : texts)
        for (const std::string& g : groups_of(rules_text_to_phonemes(t)))
            EXPECT_TRUE(std::regex_match(g, shape)) << "group " << g << " in: " << utf8(t.substr(0, 60));
}

TEST_F(RulesWords, EachWordHasItsIntendedPhonemes) {
    EXPECT_GE(sizeof k_words / sizeof k_words[0], 300u);
    for (const WordCase& c : k_words)
        EXPECT_EQ(rules_text_to_phonemes(latin1(c.word)), c.phonemes) << "word: " << c.word;
}

TEST_F(RulesWords, SentencesKeepTheirPunctuationAsSpelledGroups) {
    EXPECT_EQ(rules_text_to_phonemes(latin1("Você está na sua cela.")),
              "[v/o^ /s/E^ ][i /s/t/A ][n/a^ ][s/U /a^ ][s/E /l/a^ ][ /_.]");
    EXPECT_EQ(rules_text_to_phonemes(latin1("Um guarda!  Cuidado!")),
              "[u~ ][gw/Arr /d/a^ ][ /_!][k/uy /d/A /d/u ][ /_!]");
    EXPECT_EQ(rules_text_to_phonemes(latin1("Não vá pisá-la.")),
              "[n/A~w ][v/A ][p/i /z/A ][][l/a^ ][ /_.]");
}

// Every rule speaks only the phoneme letters the unit databases are made
// for, and every syllable it makes is closed by a space so that it becomes
// one group of the synthesizer.
TEST_F(RulesWords, RuleOutputsUseOnlyTheInventory) {
    std::string text = rules_test_read_source("regras.rgr");
    size_t pos = 0;
    int checked = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        size_t open = line.find('(');
        if (open == std::string::npos) continue;
        size_t eq = line.find('=', line.find(')', open));
        ASSERT_NE(eq, std::string::npos) << line;
        size_t bar = line.find('|', eq);
        ASSERT_NE(bar, std::string::npos) << "output not closed by a bar: " << line;
        std::string out = line.substr(eq + 1, bar - eq - 1);
        std::string bad;
        EXPECT_TRUE(phoneme_letters_only(out, bad)) << line << " at: " << bad;
        bool has_vowel = out.find_first_of("aeiouAEIOU") != std::string::npos;
        if (has_vowel)
            EXPECT_EQ(out.back(), ' ') << "a syllable must end in a space: " << line;
        else
            EXPECT_EQ(out.find(' '), std::string::npos) << "a consonant alone takes no space: " << line;
        ++checked;
    }
    EXPECT_EQ(checked, rules_rule_count());
}

// The keys must look like scanned words, or they can never be found: lower
// case letters with accents written after their vowel.
TEST_F(RulesWords, ExceptionKeysAreWordsAsScanned) {
    std::string text = rules_test_read_source("portug.exc");
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        if (line.empty() || line[0] == '|') continue;
        size_t eq = line.find('=');
        ASSERT_NE(eq, std::string::npos) << line;
        std::string key = line.substr(0, eq);
        ASSERT_FALSE(key.empty()) << line;
        EXPECT_TRUE(key[0] >= 'a' && key[0] <= 'z') << line;
        for (char c : key)
            EXPECT_TRUE((c >= 'a' && c <= 'z') || std::strchr("'^~`\"", c)) << line;
        EXPECT_NE(line.find('|', eq), std::string::npos) << "replacement not closed by a bar: " << line;
    }
}

// A part longer than its record is cut without a word, which turns a rule
// into another one ("STRE\%" would lose its end-of-word test).
TEST_F(RulesWords, RuleFileStaysWithinTheRecordCapacities) {
    std::string text = rules_test_read_source("regras.rgr");
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        size_t open = line.find('(');
        size_t close = line.find(')', open);
        if (open == std::string::npos || close == std::string::npos) continue;
        size_t eq = line.find('=', close);
        ASSERT_NE(eq, std::string::npos) << line;
        size_t bar = line.find('|', eq);
        EXPECT_LE(open, size_t(RULES_MAX_LEFT)) << line;
        EXPECT_LE(close - open - 1, size_t(RULES_MAX_MATCH)) << line;
        EXPECT_LE(eq - close - 1, size_t(RULES_MAX_RIGHT)) << line;
        EXPECT_LE(bar - eq - 1, size_t(RULES_MAX_OUTPUT)) << line;
    }
}

// Every word of the table and of the pronunciation samples with two vowels
// or more has exactly one stressed vowel: none is left flat, and no
// respelling adds a second one.
TEST_F(RulesWords, EveryWordOfTwoVowelsHasOneStressedVowel) {
    std::vector<std::string> words;
    for (const WordCase& c : k_words) words.push_back(latin1(c.word));
    for (const std::string& w : sample_words()) words.push_back(w);
    ASSERT_GT(words.size(), 2000u);
    for (const std::string& w : words) {
        if (w.find('-') != std::string::npos) continue;  // two words
        int vowels = 0;
        for (size_t i = 0; i < w.size(); ++i) {
            // The u of qu and gu is no vowel of its own ("que", "quem").
            bool silent_u = w[i] == 'u' && i > 0 && (w[i - 1] == 'q' || w[i - 1] == 'g');
            vowels += !silent_u && w[i] && std::strchr("aeiou\xE1\xE9\xED\xF3\xFA\xE2\xEA\xF4\xE3\xF5\xE0\xFC", w[i]);
        }
        if (vowels < 2) continue;
        std::string p = rules_text_to_phonemes(w);
        int stressed = 0;
        for (char c : p) stressed += std::strchr("AEIOU", c) != nullptr && c;
        EXPECT_EQ(stressed, 1) << utf8(w) << " " << p;
    }
}
