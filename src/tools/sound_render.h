// The synthesiser's sounds rendered exactly as the game plays them at
// 22050 Hz: for the WAV subcommands of stivra-tool, and as the stored hashes
// that pin every effect, every song and a set of notes of every voice
// (tests/sound_hashes.txt, which "stivra-tool sound-hashes" writes).
#pragma once
#include <cstddef>
#include <cstdint>

constexpr int32_t SOUND_RATE = 22050;
constexpr int32_t SOUND_BLOCK = 768;  // samples per sound buffer in the game
constexpr int32_t SOUND_SAMPLES_PER_TICK = SOUND_RATE / 30;

// Takes the rendered samples in order, at most SOUND_BLOCK at a time.
struct SoundSink {
    void (*take)(void* context, const int16_t* samples, int32_t count);
    void* context;
};

// The synthesiser and the sequencer as at program start, at 22050 Hz.
void fresh_sound();
// Each renders from fresh_sound() and returns the number of samples given
// to the sink. An effect (1..EFFECT_COUNT-1) lasts until it ends; a note
// (voice 0..3, note 0..255) until its envelope has run out, the sample that
// took it there included.
int64_t render_effect(int32_t effect, SoundSink sink);
int64_t render_note(int32_t voice, int32_t note, SoundSink sink);
// The first `samples` samples of song 0..5, a Tick every 735 samples and a
// new block every 768, as the game plays it from the first step.
int64_t render_song(int32_t song, int64_t samples, SoundSink sink);
// A ring of the phone answered once every entry of its melody has played,
// and the fade of the last note: `samples` samples.
int64_t render_ring(int64_t samples, SoundSink sink);

// FNV-1a 64 over the samples as 16-bit little-endian bytes, continued from
// `hash` (start from SOUND_HASH_START).
constexpr uint64_t SOUND_HASH_START = 14695981039346656037ull;
uint64_t sound_hash(uint64_t hash, const int16_t* samples, int32_t count);

// The stored text, line by line: header comments first, then one line per
// item, "KIND ... NAME ... SAMPLES HASH", where everything before the last
// two fields names the item. Long enough for any line, its zero included.
constexpr size_t SOUND_HASH_LINE_SIZE = 160;
int32_t sound_hash_line_count();
// Line `index` (0..sound_hash_line_count()-1) without its newline; renders
// the item from a fresh synthesiser, so the order of the calls does not matter.
void sound_hash_line(int32_t index, char (&line)[SOUND_HASH_LINE_SIZE]);
