// The wave output: the program's own path to the sound device. Plays WAV
// files, WAV images and raw PCM blocks through a ring of four buffers, lets
// callers poll or stop playback, and stops it when a key is waiting.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr int WAVE_MAX_BUFFERS = 4;
constexpr size_t WAVE_MAX_BLOCK = 65534;  // bytes of one queued block
constexpr size_t WAVE_MIN_BLOCK = 256;    // shorter blocks are padded to this

// Results of the device open, as the sound device reports them.
constexpr int WAVE_ERR_NODEVICE = 6;    // no sound device at all
constexpr int WAVE_ERR_ALLOCATED = 4;   // busy: retried 100 times 100 ms apart
constexpr int WAVE_ERR_BADFORMAT = 32;  // the format cannot be played

// The speed settings of the voice: `fast_rate` raises every rate by half
// (11025 plays at 16537); `compress` passes mono sound through
// wave_time_compress. Both apply to every sound played afterwards except
// where a call's flags exempt it.
void wave_set_speed(bool fast_rate, bool compress);
// A key waiting in the console queue stops playback while this is on (it
// stays on for the whole run; tests switch it off).
void wave_set_stop_on_key(bool on);
// Whether a waiting key stops playback (the system voices hold texts back then).
bool wave_stops_on_key();

// Flags of one call: sound that keeps its own pitch or length whatever the
// speed settings say (dial tones, the click).
constexpr unsigned WAVE_KEEP_RATE = 1;
constexpr unsigned WAVE_KEEP_LENGTH = 2;

// Restores the start-up state: device closed, nothing in flight, settings at
// their initial values (stop on key on, no fast rate, no compression).
void wave_reset();

// Plays a WAV file to its end (or until stopped) and only then returns.
// 0: played, stopped by a key, or an empty data chunk; -1: the file cannot be
// opened, its header is not accepted or a read came up empty; otherwise the
// device's open error (WAVE_ERR_*). With a key waiting and stop on key on,
// returns 0 at once without opening the file.
int wave_play_file(const std::string& path, unsigned flags = 0);

// Plays a WAV image held in memory (the layout of a file, `size` bytes in
// all); nothing reads past `size`. Returns once the last block is queued: the
// image must stay valid until wave_busy() turns false. An image whose header
// is not accepted plays nothing.
void wave_play_image(const uint8_t* image, size_t size, unsigned flags = 0);

// Queues raw PCM (8-bit unsigned or 16-bit signed little-endian). Returns 0
// once the last block is queued or a key stopped it, else the device's open
// error. Does not wait for the end; the caller's bytes are never modified,
// but they must stay valid until wave_busy() turns false.
int wave_play_samples(const uint8_t* samples, uint32_t bytes, int32_t rate, uint16_t channels,
                      uint16_t bits, unsigned flags = 0);

// True while blocks are playing. Lets pending messages run, stops playback
// when a key is waiting (with stop on key on), and closes the device once
// nothing is in flight. Wait for a sound's end with
//   while (wave_busy()) console_wait_message();
bool wave_busy();

// Stops at once and closes the device; every queued block is released.
void wave_stop();

// The console calls this for each block-done message of the sound device.
// Buffer numbers outside 1..4 are ignored.
void wave_done_hook(int buffer_number);

// Shortens one block of mono sound in place and returns its new length.
// 16-bit input becomes 8-bit unsigned (half the bytes); blocks of 1000 samples
// or more then lose every second pitch period (periods of 80..130 samples at
// 11025 Hz, 320..520 at other rates). Never reads or writes past `bytes`.
size_t wave_time_compress(uint8_t* block, size_t bytes, int bits, int32_t rate);
