// stivra-tool sound, note and song: the synthesiser's output as WAV files,
// rendered exactly as the game would play it at 22050 Hz.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "audio/sequencer.h"
#include "audio/synth.h"
#include "audio/wav.h"
#include "tools/stivra_tool.h"

namespace {

constexpr int32_t TOOL_RATE = 22050;
constexpr int32_t GAME_BLOCK = 768;             // samples per sound buffer in the game
constexpr int32_t SAMPLES_PER_TICK = TOOL_RATE / 30;
constexpr int32_t MAX_SONG_SECONDS = 3600;
// Every effect and note ends within a few seconds; this only guards the loop.
constexpr int32_t MAX_SINGLE_SAMPLES = 60 * TOOL_RATE;

int16_t ToolBlock[GAME_BLOCK];

// A whole decimal integer within [low, high], nothing else.
bool parse_int(const char* text, long low, long high, int32_t& out) {
    if (!text || !*text) return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || v < low || v > high) return false;
    out = static_cast<int32_t>(v);
    return true;
}

void fresh_synth() {
    for (Voice& v : Voices) v = Voice{};
    EffectSlot = SoundEffectSlot{};
    Sequencer = SequencerState{};
    silence_voices();
    set_sample_rate(TOOL_RATE);
}

// Renders one sample at a time (the same samples as whole blocks, since
// nothing new is triggered) until `sounding` turns false, and writes them.
// `keep_last` keeps the sample during which the sound ended.
template <typename Sounding>
int record_single(const char* command, const char* file_name, Sounding sounding, bool keep_last) {
    WavFile wav;
    if (!wav_open(wav, file_name, TOOL_RATE)) return tool_write_failed(command, file_name);
    int32_t filled = 0;
    for (int32_t i = 0; i < MAX_SINGLE_SAMPLES; ++i) {
        int16_t sample = 0;
        render_samples(&sample, 1);
        const bool still = sounding();
        if (!still && !keep_last) break;
        ToolBlock[filled++] = sample;
        if (filled == GAME_BLOCK) {
            wav_write(wav, ToolBlock, filled);
            filled = 0;
        }
        if (!still) break;
    }
    wav_write(wav, ToolBlock, filled);
    return wav_close(wav) ? 0 : tool_write_failed(command, file_name);
}

}  // namespace

int tool_sound(int argc, char** argv) {
    // Effect 0 is the game's "no sound": there is nothing to record.
    const char* line = "sound N FILE.wav   (N 1..19; 0 is no sound)";
    int32_t effect = 0;
    if (argc != 2 || !parse_int(argv[0], 1, EFFECT_COUNT - 1, effect)) return tool_usage(line);
    fresh_synth();
    play_sound(effect);
    return record_single("sound", argv[1], [] { return EffectSlot.current != 0; }, false);
}

int tool_note(int argc, char** argv) {
    const char* line = "note VOICE NOTE FILE.wav   (VOICE 0..3, NOTE 0..255)";
    int32_t voice = 0;
    int32_t note = 0;
    if (argc != 3 || !parse_int(argv[0], 0, 3, voice) || !parse_int(argv[1], 0, 255, note))
        return tool_usage(line);
    fresh_synth();
    Voices[voice].note = note;
    Voices[voice].trigger_count += 1;
    // The sample that takes the envelope to 0 or below still sounded.
    return record_single("note", argv[2], [voice] { return Voices[voice].envelope > 0; }, true);
}

int tool_song(int argc, char** argv) {
    const char* line = "song S SECONDS FILE.wav   (S 0..5, SECONDS 1..3600)";
    int32_t song = 0;
    int32_t seconds = 0;
    if (argc != 3 || !parse_int(argv[0], 0, 5, song) ||
        !parse_int(argv[1], 1, MAX_SONG_SECONDS, seconds))
        return tool_usage(line);
    fresh_synth();
    WavFile wav;
    if (!wav_open(wav, argv[2], TOOL_RATE)) return tool_write_failed("song", argv[2]);
    const int64_t total = static_cast<int64_t>(seconds) * TOOL_RATE;
    int64_t tick = 0;
    for (int64_t start = 0; start < total; start += GAME_BLOCK) {
        // Tick k comes before sample k * 735; a Tick inside a block is heard
        // from the next block on, as in the game.
        while (tick * SAMPLES_PER_TICK <= start) {
            sequencer_step(song);
            ++tick;
        }
        render_samples(ToolBlock, GAME_BLOCK);
        const int64_t left = total - start;
        wav_write(wav, ToolBlock, static_cast<int32_t>(left < GAME_BLOCK ? left : GAME_BLOCK));
    }
    return wav_close(wav) ? 0 : tool_write_failed("song", argv[2]);
}
