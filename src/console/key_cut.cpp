// The should-stop hook of "a key cuts speech"; the rule itself is stated in
// key_cut.h.
#include "console/key_cut.h"

#include "console/console.h"

namespace {
struct KeyCutState {
    KeyCutHook hook = nullptr;
} g_cut;
}  // namespace

bool key_cut_should_stop() {
    // Messages run whatever answers, so every loop that asks keeps the
    // screen, the sound device and the keyboard moving.
    bool key = console_key_waiting();
    return g_cut.hook ? g_cut.hook() : key;
}

void key_cut_set_hook(KeyCutHook hook) { g_cut.hook = hook; }

void key_cut_reset() { g_cut = KeyCutState{}; }
