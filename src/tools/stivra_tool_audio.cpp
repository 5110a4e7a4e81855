// stivra-tool sound, note and song: the synthesiser's output as WAV files,
// rendered exactly as the game would play it at 22050 Hz; sound-hashes: the
// text of tests/sound_hashes.txt, the stored hashes of every sound.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "audio/synth.h"
#include "audio/wav.h"
#include "tools/sound_render.h"
#include "tools/stivra_tool.h"

namespace {

constexpr int32_t MAX_SONG_SECONDS = 3600;

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

void take_wav(void* context, const int16_t* samples, int32_t count) {
    wav_write(*static_cast<WavFile*>(context), samples, count);
}

// Opens the file, renders into it and closes it: 0, or 1 with the message.
template <typename Render>
int record(const char* command, const char* file_name, Render render) {
    WavFile wav;
    if (!wav_open(wav, file_name, SOUND_RATE)) return tool_write_failed(command, file_name);
    render(SoundSink{take_wav, &wav});
    return wav_close(wav) ? 0 : tool_write_failed(command, file_name);
}

}  // namespace

int tool_sound(int argc, char** argv) {
    // Effect 0 is the game's "no sound": there is nothing to record.
    const char* line = "sound N FILE.wav   (N 1..19; 0 is no sound)";
    int32_t effect = 0;
    if (argc != 2 || !parse_int(argv[0], 1, EFFECT_COUNT - 1, effect)) return tool_usage(line);
    return record("sound", argv[1], [effect](SoundSink sink) { render_effect(effect, sink); });
}

int tool_note(int argc, char** argv) {
    const char* line = "note VOICE NOTE FILE.wav   (VOICE 0..3, NOTE 0..255)";
    int32_t voice = 0;
    int32_t note = 0;
    if (argc != 3 || !parse_int(argv[0], 0, 3, voice) || !parse_int(argv[1], 0, 255, note))
        return tool_usage(line);
    return record("note", argv[2], [voice, note](SoundSink sink) { render_note(voice, note, sink); });
}

int tool_song(int argc, char** argv) {
    const char* line = "song S SECONDS FILE.wav   (S 0..5, SECONDS 1..3600)";
    int32_t song = 0;
    int32_t seconds = 0;
    if (argc != 3 || !parse_int(argv[0], 0, 5, song) ||
        !parse_int(argv[1], 1, MAX_SONG_SECONDS, seconds))
        return tool_usage(line);
    const int64_t samples = static_cast<int64_t>(seconds) * SOUND_RATE;
    return record("song", argv[2], [song, samples](SoundSink sink) { render_song(song, samples, sink); });
}

int tool_sound_hashes(int argc, char**) {
    if (argc != 0) return tool_usage("sound-hashes   (no arguments; the text goes to standard output)");
    char line[SOUND_HASH_LINE_SIZE];
    for (int32_t i = 0; i < sound_hash_line_count(); ++i) {
        sound_hash_line(i, line);
        if (std::printf("%s\n", line) < 0) break;
    }
    return tool_stdout_written("sound-hashes");
}
