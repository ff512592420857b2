// The window backend's messages for the console: what the window procedures
// translated and not yet handed out, the key messages kept while the console
// has no room, events posted from other threads, and the hidden message
// window that receives posts and sound-device messages before the console
// window exists.
#pragma once

#include <windows.h>

#include "platform/os.h"

// The private messages that only wake a wait loop; posted to the console
// window as they are (the user message base plus 99, and 2980).
constexpr UINT WIN32_WAKE_SPEECH = WM_USER + 99;
constexpr UINT WIN32_WAKE_ENGINE = 2980;

// Registers and creates the hidden message window. False when it cannot be
// created (the backend then cannot run).
bool win32_events_start();
void win32_events_stop();
// Where posts and the sound device's messages go: the console window while
// it exists, else the hidden window.
HWND win32_events_target();

// Queues a message translated on the program's thread (key messages wait
// for the console's room).
void win32_events_push(const OsEvent& ev);
// The next message the console may be given now; false when none is ready.
bool win32_events_take(OsEvent& ev);
// Whether one more window key message can be kept; while not, key messages
// are left in the window's own queue.
bool win32_events_key_room();
// Drops the kept key presses and characters (releases stay).
void win32_events_discard_held();
// From any thread: a wake-up message is posted as its own window message,
// anything else is queued under a lock and announced by a message.
void win32_events_post(const OsEvent& ev);

// The messages both window procedures share: wake-ups, posted events and
// the sound device's block-done message. True when `message` was one.
bool win32_events_message(UINT message, WPARAM wparam, LPARAM lparam);
