// The key messages a backend keeps while the console's key queue has no room,
// as a window's message queue keeps them, and the one rule every backend
// with a keyboard follows for them: they go out in the order typed once the
// console has room again; a press that ends the program (Ctrl+Break) is not
// typed text and goes out at once, ahead of them; and when the console drops
// its typed-ahead keys, the presses and characters kept here go with them.
// Not locked: keys are taken and kept on the main thread only.
#pragma once

#include "platform/event_ring.h"
#include "platform/os.h"

// Presses, releases and characters: what waits for the console's room.
inline bool is_key_message(const OsEvent& ev) {
    return ev.type == OsEventType::KeyDown || ev.type == OsEventType::KeyUp || ev.type == OsEventType::Char ||
           ev.type == OsEventType::Untypeable;
}

// Whether the console can take the bytes of one more key press now.
inline bool console_has_key_room() { return os_key_room() >= OS_KEY_MAX_BYTES; }

// The press of Ctrl+Break, which quits the program.
inline bool key_quits(const OsEvent& ev) { return ev.type == OsEventType::KeyDown && ev.vkey == VK_CANCEL_BREAK; }

template <int Capacity>
class HeldKeys {
public:
    bool empty() const { return ring_.empty(); }
    bool full() const { return ring_.full(); }
    int size() const { return ring_.size(); }

    // Keeps a key message after the others; false when full (the caller
    // leaves it where it came from).
    bool hold(const OsEvent& ev) { return ring_.push_back(ev); }

    // The next message the console may be given now: the first while it has
    // room, otherwise only a quit from among them.
    bool take(OsEvent& ev) {
        if (console_has_key_room()) return ring_.pop(ev);
        return ring_.take_first_if(key_quits, ev);
    }

    // Presses and characters go; releases stay, so that no key the console
    // saw go down (a braille chord's) is left down for ever.
    void discard() {
        ring_.remove_if([](const OsEvent& ev) { return ev.type != OsEventType::KeyUp; });
    }

private:
    EventRing<Capacity> ring_;
};
