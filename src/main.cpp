// The program's entry.
#include "console/console.h"
#include "util/latin1.h"

int main() {
    console_bind_standard_channels();
    console_write_text(latin1("FUGA DE VAL MORVELA\r\n===================\r\n"));
    console_read_key();
    console_close();
}
