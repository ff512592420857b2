// "A key cuts speech": the one rule for what a key press stops, what stays
// queued and what the turn's tone drops, and the should-stop hook that every
// loop which plays or prepares sound asks instead of testing the keyboard
// itself.
//
// The rule:
// - What cuts: a key byte waiting in the console's key queue, typed or
//   queued by the braille keyboard. A key the backend holds back while the
//   queue is full counts too: the queue is then full, so a byte waits.
// - What stops, at the next test of the loop that plays or prepares it:
//   the wave output's playback and its wait for a free block (the blocks
//   queued on the device are dropped, while stop on key is on); a WAV file
//   not yet started (not opened); the own reader (the rest of the text is
//   not spoken), spelling, pauses and dial tones; a text not yet handed to a
//   system voice (it is not handed over) and the one it speaks (silenced);
//   the Portuguese engine's synthesis for the sound device (the rest of the
//   text is not made); the review's reading of further words and rows.
//   Sound written to a file by the engine is not cut.
// - What stays queued: the key itself, for whoever reads keys next. Nothing
//   in a cut reads, drops or changes a key, so the key that stopped the
//   speech is also the command's first character or the review's key.
// - What the turn's tone drops: the attention tone (speech_beep_pattern)
//   discards every key typed ahead, those in the queue and those the backend
//   holds, before it sounds: the tone is heard whole, and keys typed over the
//   previous speech do not carry into the next turn.
#pragma once

// An answer installed from above in place of the console's key test.
using KeyCutHook = bool (*)();

// The question every such loop asks: should sound and speech stop now?
// First lets pending messages run, as console_key_waiting does (the screen
// is created on first use; block-done messages are counted; a close request
// or quit message ends the program there). Then, with no hook installed, it
// answers true exactly when at least one key byte waits in the console's key
// queue, and false once every waiting key has been read or discarded. With a
// hook installed, it answers what the hook answers, keys or not. It never
// reads, drops or reorders a key. Call it only on the program's thread (the
// one that runs the message pump), never from a sound device's or a voice's
// callback thread: a bridge whose notifications arrive elsewhere posts them
// and asks here when the pump runs.
bool key_cut_should_stop();

// Installs the answer of key_cut_should_stop; nullptr restores the console's
// key test.
void key_cut_set_hook(KeyCutHook hook);

// No hook installed.
void key_cut_reset();
