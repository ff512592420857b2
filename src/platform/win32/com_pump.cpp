// Dispatching the thread's messages for the COM voices, keys excepted.
#include "platform/win32/com_pump.h"

#include <windows.h>

#include "platform/os.h"

namespace {
// Takes and dispatches the messages in [first, last]; a quit request is put
// back for the program's own loop.
bool dispatch_range(UINT first, UINT last) {
    MSG msg;
    bool any = false;
    while (PeekMessageA(&msg, nullptr, first, last, PM_REMOVE)) {
        any = true;
        if (msg.message == WM_QUIT) {
            PostQuitMessage(int(msg.wParam));
            break;
        }
        DispatchMessageA(&msg);
    }
    return any;
}
}  // namespace

void com_pump_dispatch() {
    dispatch_range(0, WM_KEYFIRST - 1);
    dispatch_range(WM_KEYLAST + 1, 0xFFFFFFFF);
}

void com_pump_wait(uint32_t ms) {
    com_pump_dispatch();
    MsgWaitForMultipleObjectsEx(0, nullptr, ms, QS_TIMER | QS_POSTMESSAGE | QS_SENDMESSAGE | QS_PAINT,
                                MWMO_INPUTAVAILABLE);
    com_pump_dispatch();
}

void com_pump_wake() {
    OsEvent wake;
    wake.type = OsEventType::Wake;
    os_post_event(wake);
}
