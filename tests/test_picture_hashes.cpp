// Every pinned picture against its stored hash: a changed colour, position,
// size or scene detail in any demo scene, icon or world picture moves at
// least one line of tests/picture_hashes.txt.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/tools.h"

TEST(PictureHashes, EveryPictureHasItsStoredHash) {
    const char* const stored_file = STIVRA_SOURCE_DIR "/tests/picture_hashes.txt";
    std::ifstream in(stored_file);
    ASSERT_TRUE(in) << "cannot read " << stored_file;
    std::vector<std::string> stored;
    for (std::string line; std::getline(in, line);) stored.push_back(line);

    std::string moved;
    char line[PICTURE_HASH_LINE_SIZE];
    for (int32_t i = 0; i < picture_hash_line_count(); ++i) {
        picture_hash_line(i, line);
        const std::string was = i < static_cast<int32_t>(stored.size()) ? stored[i] : "(no line)";
        if (was != line) moved += "  stored: " + was + "\n  now:    " + line + "\n";
    }
    if (stored.size() > static_cast<size_t>(picture_hash_line_count())) moved += "  more lines stored than drawn\n";
    EXPECT_TRUE(moved.empty()) << "pictures that no longer match " << stored_file << ":\n"
                               << moved
                               << "scripts/rebless_replays.sh rewrites it (stivra-tool picture-hashes); commit it "
                                  "with a change only if the new picture is meant.";
}
