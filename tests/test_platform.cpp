#include <gtest/gtest.h>

#include "platform/present.h"

TEST(Letterbox, ExactFit) {
    Letterbox b = letterbox_rect(960, 600);
    EXPECT_EQ(b.target.w, 960);
    EXPECT_EQ(b.bar_count, 0);
}
