// The game's colours on the console grid: the prompt, the story and the
// endings in yellow (14), everything else in white (15).
#include "game/endings.h"
#include "game/rooms.h"
#include "game_test_support.h"

namespace {
// Sends the standard output into the console grid, as the program does.
class ConsoleBuffer : public std::streambuf {
protected:
    int overflow(int c) override {
        if (c != EOF) {
            char ch = static_cast<char>(c);
            console_write_text(&ch, 1);
        }
        return c;
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        console_write_text(s, static_cast<size_t>(n));
        return n;
    }
};

int row_of(const std::string& utf8_start) {
    std::string want = latin1(utf8_start);
    for (int r = 1; r <= CONSOLE_MAX_ROWS; ++r) {
        std::string row;
        for (int c = 1; c <= static_cast<int>(want.size()); ++c) row += static_cast<char>(console_char_at(c, r));
        if (row == want) return r;
    }
    return 0;
}

int colour_at(int column, int row) { return console_attribute_at(column, row) & 0x0F; }
}  // namespace

TEST_F(GameTest, PromptStoryAndEndingsAreYellowTheRestWhite) {
    ConsoleBuffer to_console;
    std::streambuf* captured = std::cout.rdbuf(&to_console);
    game_introduction();
    int title = row_of("FUGA DE VAL MORVELA");
    ASSERT_GT(title, 0);
    EXPECT_EQ(colour_at(1, title), 15);
    EXPECT_EQ(colour_at(1, row_of("Varnio Keltis")), 14);
    EXPECT_EQ(colour_at(1, row_of("Você vai acompanhá-lo")), 14);

    console_reset();
    game_describe_room();
    for (char c : std::string("pular")) console_queue_key(static_cast<uint8_t>(c));
    console_queue_key(13);
    game_read_command();
    game_hint();
    int prompt = row_of("Que fazer? pular");
    ASSERT_GT(prompt, 0);
    EXPECT_EQ(colour_at(1, prompt), 14);
    EXPECT_EQ(colour_at(12, prompt), 15) << "the typed line is white";
    EXPECT_EQ(colour_at(1, row_of("Você está na sua cela.")), 15);
    EXPECT_EQ(colour_at(1, row_of("Não sei o que é PULAR")), 15);

    console_reset();
    game_lose(TXT_ARRESTED);
    EXPECT_EQ(colour_at(1, row_of("Você não tem nada para subornar")), 14);
    EXPECT_EQ(colour_at(1, row_of("Sua tentativa de fuga")), 14);
    EXPECT_EQ(console_current_attribute() & 0x0F, 15);
    std::cout.rdbuf(captured);
}
