#include "tools/sound_render.h"

#include <cassert>

#include "audio/sequencer.h"
#include "audio/synth.h"
#include "data/text_writer.h"

namespace {

// Every effect and note ends within a few seconds; this only guards the loop.
constexpr int32_t MAX_SINGLE_SAMPLES = 60 * SOUND_RATE;
constexpr int32_t SONG_SECONDS = 30;
constexpr int32_t RING_SECONDS = 2;
constexpr int32_t RING_ENTRY_TICKS = 3;  // the ring melody's pace, as ring_melody_step has it
constexpr int32_t RING_PASS_TICKS = RING_ENTRY_TICKS * static_cast<int32_t>(sizeof RingMelody);

int16_t Block[SOUND_BLOCK];

// Renders one sample at a time (the same samples as whole blocks, since
// nothing new is triggered) until `sounding` turns false. `keep_last` keeps
// the sample during which the sound ended.
template <typename Sounding>
int64_t render_single(SoundSink sink, Sounding sounding, bool keep_last) {
    int64_t total = 0;
    int32_t filled = 0;
    for (int32_t i = 0; i < MAX_SINGLE_SAMPLES; ++i) {
        int16_t sample = 0;
        render_samples(&sample, 1);
        const bool still = sounding();
        if (!still && !keep_last) break;
        Block[filled++] = sample;
        if (filled == SOUND_BLOCK) {
            sink.take(sink.context, Block, filled);
            total += filled;
            filled = 0;
        }
        if (!still) break;
    }
    if (filled > 0) sink.take(sink.context, Block, filled);
    return total + filled;
}

// Whole game blocks with `tick(k)` run for every Tick k that comes before
// the block's first sample: Tick k comes before sample k * 735, and a Tick
// inside a block is heard from the next block on, as in the game.
template <typename TickStep>
int64_t render_ticked(int64_t samples, SoundSink sink, TickStep tick_step) {
    int64_t tick = 0;
    for (int64_t start = 0; start < samples; start += SOUND_BLOCK) {
        while (tick * SOUND_SAMPLES_PER_TICK <= start) tick_step(tick++);
        render_samples(Block, SOUND_BLOCK);
        const int64_t left = samples - start;
        sink.take(sink.context, Block, static_cast<int32_t>(left < SOUND_BLOCK ? left : SOUND_BLOCK));
    }
    return samples > 0 ? samples : 0;
}

// --- The pinned items ---------------------------------------------------

enum SoundItemKind : int32_t { ITEM_EFFECT, ITEM_NOTE, ITEM_SONG, ITEM_RING };

struct SoundItem {
    SoundItemKind kind;
    int32_t number;  // effect, voice or song
    int32_t note;    // for ITEM_NOTE
};

// In the order of SoundEffect, without its SFX_.
const char* const EffectNames[] = {
    "NONE",       "HEARTBEAT",  "NOTICED",      "KEY",   "CAUGHT",   "ESCAPE",   "LOCKER",
    "LOCKED",     "FOOTSTEPS",  "CALL",         "BRAWL", "TALK",     "CONFISCATE",
    "FLOOR_CHANGE", "ITEM",     "PIANO",        "UNLOCK", "FUSE_BOX", "STINK_BOMB", "ENERGY_DRINK",
};
static_assert(sizeof EffectNames / sizeof EffectNames[0] == EFFECT_COUNT, "a name for every effect");

// What start_note makes of each voice.
const char* const VoiceNames[4] = {"MELODY", "BASS", "DRUMS", "RING"};

// The screens that play each song.
const char* const SongNames[] = {"CAUGHT_ANIMATION", "TITLE", "INTRO", "CHASE", "ESCAPED", "CAUGHT"};
static_assert(sizeof SongNames / sizeof SongNames[0] == sizeof SongTable / sizeof SongTable[0],
              "a name for every song");
constexpr int32_t SONG_COUNT = sizeof SongNames / sizeof SongNames[0];

// Notes of every voice. The melody plays the whole top octave, where a
// step of one in any entry of the pitch table moves the pitch, and notes
// across the range, from one below it (held at the lowest) to one above it
// (folded into the top octave); the other voices a few pitches each. The
// drums' notes are 1 kick, 2 snare and anything else hi-hat.
const SoundItem NoteItems[] = {
    {ITEM_NOTE, 0, 0},   {ITEM_NOTE, 0, 33},  {ITEM_NOTE, 0, 57},  {ITEM_NOTE, 0, 69},
    {ITEM_NOTE, 0, 81},  {ITEM_NOTE, 0, 96},  {ITEM_NOTE, 0, 108}, {ITEM_NOTE, 0, 120},
    {ITEM_NOTE, 0, 132}, {ITEM_NOTE, 0, 133}, {ITEM_NOTE, 0, 134}, {ITEM_NOTE, 0, 135},
    {ITEM_NOTE, 0, 136}, {ITEM_NOTE, 0, 137}, {ITEM_NOTE, 0, 138}, {ITEM_NOTE, 0, 139},
    {ITEM_NOTE, 0, 140}, {ITEM_NOTE, 0, 141}, {ITEM_NOTE, 0, 142}, {ITEM_NOTE, 0, 143},
    {ITEM_NOTE, 0, 200},
    {ITEM_NOTE, 1, 28},  {ITEM_NOTE, 1, 40},  {ITEM_NOTE, 1, 52},  {ITEM_NOTE, 1, 69},
    {ITEM_NOTE, 1, 100},
    {ITEM_NOTE, 2, 1},   {ITEM_NOTE, 2, 2},   {ITEM_NOTE, 2, 3},
    {ITEM_NOTE, 3, 60},  {ITEM_NOTE, 3, 88},  {ITEM_NOTE, 3, 91},  {ITEM_NOTE, 3, 96},
    {ITEM_NOTE, 3, 120},
};
constexpr int32_t NOTE_ITEMS = sizeof NoteItems / sizeof NoteItems[0];

// Effects 1.., the notes, the songs 0.., the ring melody.
constexpr int32_t HEADER_LINES = 3;
constexpr int32_t EFFECT_ITEMS = EFFECT_COUNT - 1;
constexpr int32_t ITEM_COUNT = EFFECT_ITEMS + NOTE_ITEMS + SONG_COUNT + 1;

SoundItem item_at(int32_t index) {
    if (index < EFFECT_ITEMS) return {ITEM_EFFECT, index + 1, 0};
    index -= EFFECT_ITEMS;
    if (index < NOTE_ITEMS) return NoteItems[index];
    index -= NOTE_ITEMS;
    if (index < SONG_COUNT) return {ITEM_SONG, index, 0};
    return {ITEM_RING, 0, 0};
}

void take_hash(void* context, const int16_t* samples, int32_t count) {
    uint64_t& hash = *static_cast<uint64_t*>(context);
    hash = sound_hash(hash, samples, count);
}

void write_hex(TextWriter& w, uint64_t v) {
    static const char Hex[] = "0123456789abcdef";
    char digits[17];
    for (int i = 0; i < 16; ++i) digits[i] = Hex[(v >> (60 - 4 * i)) & 15];
    digits[16] = 0;
    w.text(digits);
}

}  // namespace

void fresh_sound() {
    reset_synth();
    Sequencer = SequencerState{};
    set_sample_rate(SOUND_RATE);
}

int64_t render_effect(int32_t effect, SoundSink sink) {
    fresh_sound();
    play_sound(effect);
    return render_single(sink, [] { return EffectSlot.current != 0; }, false);
}

int64_t render_note(int32_t voice, int32_t note, SoundSink sink) {
    assert(voice >= 0 && voice < 4);
    fresh_sound();
    Voices[voice].note = note;
    Voices[voice].trigger_count += 1;
    // The sample that takes the envelope to 0 or below still sounded.
    return render_single(sink, [voice] { return Voices[voice].envelope > 0; }, true);
}

int64_t render_song(int32_t song, int64_t samples, SoundSink sink) {
    fresh_sound();
    return render_ticked(samples, sink, [song](int64_t) { sequencer_step(song); });
}

int64_t render_ring(int64_t samples, SoundSink sink) {
    fresh_sound();
    // The first Ticks of a ring, as the game counts them (its first step
    // sees count 1), until every entry has played once; then it is answered.
    return render_ticked(samples, sink, [](int64_t tick) {
        if (tick < RING_PASS_TICKS)
            ring_melody_step(static_cast<int32_t>(RING_PASS_TICKS - tick), static_cast<int32_t>(tick + 1));
    });
}

uint64_t sound_hash(uint64_t hash, const int16_t* samples, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        const uint16_t s = static_cast<uint16_t>(samples[i]);
        hash = (hash ^ (s & 255u)) * 1099511628211ull;
        hash = (hash ^ (s >> 8)) * 1099511628211ull;
    }
    return hash;
}

int32_t sound_hash_line_count() { return HEADER_LINES + ITEM_COUNT; }

void sound_hash_line(int32_t index, char (&line)[SOUND_HASH_LINE_SIZE]) {
    TextWriter w(line, sizeof line);
    static const char* const Header[HEADER_LINES] = {
        "# The game's sounds pinned: FNV-1a 64 of each item's 16-bit little-endian samples",
        "# at 22050 Hz, each from a fresh synthesiser. Written by stivra-tool sound-hashes.",
        "# effect N NAME | note VOICE NAME PITCH | song N NAME SECONDS | ring MELODY SECONDS; then SAMPLES HASH",
    };
    if (index < 0 || index >= sound_hash_line_count()) return;
    if (index < HEADER_LINES) {
        w.text(Header[index]);
        return;
    }
    const SoundItem item = item_at(index - HEADER_LINES);
    uint64_t hash = SOUND_HASH_START;
    const SoundSink sink = {take_hash, &hash};
    int64_t samples = 0;
    switch (item.kind) {
    case ITEM_EFFECT:
        w.text("effect ");
        w.number(static_cast<uint64_t>(item.number));
        w.text(" ");
        w.text(EffectNames[item.number]);
        samples = render_effect(item.number, sink);
        break;
    case ITEM_NOTE:
        w.text("note ");
        w.number(static_cast<uint64_t>(item.number));
        w.text(" ");
        w.text(VoiceNames[item.number]);
        w.text(" ");
        w.number(static_cast<uint64_t>(item.note));
        samples = render_note(item.number, item.note, sink);
        break;
    case ITEM_SONG:
        w.text("song ");
        w.number(static_cast<uint64_t>(item.number));
        w.text(" ");
        w.text(SongNames[item.number]);
        w.text(" ");
        w.number(SONG_SECONDS);
        w.text("s");
        samples = render_song(item.number, int64_t{SONG_SECONDS} * SOUND_RATE, sink);
        break;
    case ITEM_RING:
        w.text("ring MELODY ");
        w.number(RING_SECONDS);
        w.text("s");
        samples = render_ring(int64_t{RING_SECONDS} * SOUND_RATE, sink);
        break;
    }
    w.text(" ");
    w.number(static_cast<uint64_t>(samples));
    w.text(" ");
    write_hex(w, hash);
}
