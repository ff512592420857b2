// The standard output and input channels bound to the console: writes land
// in the grid (followed by one pass of message dispatch), line reads come
// from the console's raw line reader.
#include <iostream>
#include <streambuf>

#include "console/console.h"

namespace {
constexpr int CONSOLE_MAX_CHANNEL_BYTES = 128;

class ConsoleOutBuf : public std::streambuf {
public:
    ConsoleOutBuf() { setp(buffer_, buffer_ + CONSOLE_MAX_CHANNEL_BYTES); }

protected:
    int_type overflow(int_type ch) override {
        flush_buffer();
        if (ch != traits_type::eof()) {
            *pptr() = traits_type::to_char_type(ch);
            pbump(1);
        }
        return traits_type::not_eof(ch);
    }
    int sync() override {
        flush_buffer();
        return 0;
    }

private:
    void flush_buffer() {
        std::ptrdiff_t n = pptr() - pbase();
        if (n > 0) console_write_text(pbase(), static_cast<size_t>(n));
        setp(buffer_, buffer_ + CONSOLE_MAX_CHANNEL_BYTES);
        console_dispatch_messages();
    }
    char buffer_[CONSOLE_MAX_CHANNEL_BYTES];
};

class ConsoleInBuf : public std::streambuf {
protected:
    int_type underflow() override {
        if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
        int n = console_read_line_raw(buffer_, CONSOLE_MAX_CHANNEL_BYTES);
        // The line ends in CR LF; a stream line ends at LF, so drop the CR.
        if (n >= 2) {
            buffer_[n - 2] = '\n';
            n -= 1;
        }
        setg(buffer_, buffer_, buffer_ + n);
        return n > 0 ? traits_type::to_int_type(*gptr()) : traits_type::eof();
    }

private:
    char buffer_[CONSOLE_MAX_CHANNEL_BYTES];
};

struct ChannelState {
    ConsoleOutBuf out;
    ConsoleInBuf in;
    bool bound = false;
};

ChannelState& channels() {
    static ChannelState state;
    return state;
}
}  // namespace

void console_bind_standard_channels() {
    ChannelState& c = channels();
    if (c.bound) return;
    c.bound = true;
    std::cout.rdbuf(&c.out);
    std::cout.setf(std::ios::unitbuf);
    std::cin.rdbuf(&c.in);
}
