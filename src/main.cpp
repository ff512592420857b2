// The program's entry.
#include "console/console.h"
#include "platform/os.h"
#include "util/latin1.h"

int main() {
    // Started first, so that a refused key script or clock ends the run
    // before any log line is written.
    os_start();
    console_bind_standard_channels();
    console_write_text(latin1("FUGA DE VAL MORVELA\r\n===================\r\n"));
    console_read_key();
    console_close();
}
