// The translation of key presses into characters and the close request.
#include "platform/key_translation.h"

#include "platform/os.h"

int key_typed_char(int vkey, int plain, bool ctrl, bool alt) {
    if (alt) return -1;
    if (!ctrl) return plain;
    if (vkey >= 'A' && vkey <= 'Z') return vkey & 31;
    switch (vkey) {
    case VK_BACK_KEY: return 8;
    case VK_RETURN_KEY: return 13;
    case VK_ESCAPE_KEY: return 27;
    case VK_SPACE_KEY: return ' ';
    default: return -1;
    }
}

bool key_closes_window(int vkey, bool ctrl, bool alt) { return alt && !ctrl && vkey == VK_F1_KEY + 3; }
