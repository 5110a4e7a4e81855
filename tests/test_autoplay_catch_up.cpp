// The autoplay run stops at exactly 150 Ticks even when a late pass would
// catch up past them, so the screenshot does not depend on the frame timing.
#include <gtest/gtest.h>

#include <cstdio>

#include "fake_platform.h"
#include "game/game_state.h"
#include "platform/main_loop.h"

TEST(MainLoop, AutoplayStopsAt150TicksWhileCatchingUp) {
    reset_fake_platform();
    std::remove("autoplay_catch_up.bmp");
    AutoplayFile = "autoplay_catch_up.bmp";
    LoopClock clock;
    main_loop_start(clock);
    while (RunningFlag && clock.ticks < 148) {
        main_loop_pass(clock);
        Fake.now_ms += 1;
    }
    ASSERT_EQ(clock.ticks, 148u);
    const int32_t before = Game.total_ticks;
    Fake.now_ms += 200;  // six Ticks late: the pass would run four
    main_loop_pass(clock);
    EXPECT_EQ(Game.total_ticks - before, 2);
    EXPECT_EQ(clock.ticks, 150u);
    EXPECT_EQ(RunningFlag, 0u);
    std::FILE* shot = std::fopen("autoplay_catch_up.bmp", "rb");
    EXPECT_NE(shot, nullptr);
    if (shot) std::fclose(shot);
    AutoplayFile = nullptr;
}
