// Every pinned sound against its stored hash: a changed level, envelope,
// pitch, waveform, effect segment or song note moves at least one line of
// tests/sound_hashes.txt.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "tools/sound_render.h"

namespace {

const char* const STORED_FILE = STIVRA_SOURCE_DIR "/tests/sound_hashes.txt";
const char* const HOW_TO_REWRITE =
    "scripts/rebless_replays.sh rewrites tests/sound_hashes.txt (stivra-tool sound-hashes); "
    "commit it with a change only if the new sound is meant.";

// The item a line names: the line without its last two fields, SAMPLES HASH.
std::string item_of(const std::string& line) {
    const size_t hash_space = line.rfind(' ');
    if (hash_space == std::string::npos || hash_space == 0) return line;
    const size_t samples_space = line.rfind(' ', hash_space - 1);
    return samples_space == std::string::npos ? line : line.substr(0, samples_space);
}

bool is_comment(const std::string& line) { return !line.empty() && line[0] == '#'; }

TEST(SoundHashes, EverySoundHasItsStoredHash) {
    std::ifstream in(STORED_FILE);
    ASSERT_TRUE(in) << "cannot read " << STORED_FILE << "; " << HOW_TO_REWRITE;
    std::vector<std::string> stored_comments;
    std::map<std::string, std::string> stored;  // item -> whole line
    std::string failures;
    for (std::string line; std::getline(in, line);) {
        if (is_comment(line)) {
            stored_comments.push_back(line);
        } else if (!stored.emplace(item_of(line), line).second) {
            failures += "  stored twice: " + item_of(line) + "\n";
        }
    }

    std::vector<std::string> comments;
    int32_t items = 0;
    char text[SOUND_HASH_LINE_SIZE];
    for (int32_t i = 0; i < sound_hash_line_count(); ++i) {
        sound_hash_line(i, text);
        const std::string line = text;
        if (is_comment(line)) {
            comments.push_back(line);
            continue;
        }
        ++items;
        const std::string item = item_of(line);
        const auto found = stored.find(item);
        if (found == stored.end()) {
            failures += "  not stored: " + line + "\n";
            continue;
        }
        if (found->second != line)
            failures += "  moved: " + item + ": stored" + found->second.substr(item.size()) + ", now" +
                        line.substr(item.size()) + "\n";
        stored.erase(found);
    }
    for (const auto& gone : stored) failures += "  stored but no longer rendered: " + gone.second + "\n";
    if (comments != stored_comments) failures += "  the header comment lines differ\n";

    EXPECT_GT(items, 50);
    EXPECT_TRUE(failures.empty()) << "sounds that no longer match " << STORED_FILE << " (item: SAMPLES HASH):\n"
                                  << failures << HOW_TO_REWRITE;
}

// The synthesiser keeps a noise generator and a sample counter from call
// to call (the kick's glide steps on the counter); each item starts them
// afresh, so a hash does not depend on what was rendered before it.
TEST(SoundHashes, AnItemSoundsTheSameAfterOthers) {
    struct Hasher {
        uint64_t hash = SOUND_HASH_START;
        static void take(void* context, const int16_t* samples, int32_t count) {
            Hasher& h = *static_cast<Hasher*>(context);
            h.hash = sound_hash(h.hash, samples, count);
        }
    };
    Hasher noise_first, kick_first, noise_again, kick_again, between;
    render_effect(2, {Hasher::take, &noise_first});  // NOTICED: a saw with noise
    render_note(2, 1, {Hasher::take, &kick_first});
    render_song(3, 50000, {Hasher::take, &between});  // the chase: noise drums and kicks
    render_effect(2, {Hasher::take, &noise_again});
    render_effect(18, {Hasher::take, &between});  // STINK_BOMB: noise
    render_note(0, 69, {Hasher::take, &between});  // 7085 samples: the counter leaves the glide's 32-sample grid
    render_note(2, 1, {Hasher::take, &kick_again});
    EXPECT_EQ(noise_first.hash, noise_again.hash);
    EXPECT_EQ(kick_first.hash, kick_again.hash);
}

}  // namespace
