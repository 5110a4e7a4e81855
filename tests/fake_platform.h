// A platform backend for tests: a clock the test drives, counters of what
// the main loop asked for, and a hook that runs inside the message pump.
#pragma once
#include <cstdint>
#include <functional>

struct FakePlatform {
    uint32_t now_ms = 0;
    uint32_t sleep_advance_ms = 1;  // how far one platform_sleep_ms moves the clock
    uint32_t joystick_bits = 0;
    int pumps = 0;
    int sleeps = 0;
    int presents = 0;
    int refills = 0;
    int windows_opened = 0;
    int windows_closed = 0;
    int audio_opened = 0;
    int stop_after_pumps = 0;  // 0: never stop by itself
    bool no_display = false;   // platform_open_window fails as the backends do
    const char* keep_folder = nullptr;  // where runs are kept (ends with '/'); null: nowhere
    std::function<void(int pump)> on_pump;
};

extern FakePlatform Fake;

// Fresh fake, fresh loop globals (RunningFlag 1, no autoplay, no input, not
// paused or muted, a window).
void reset_fake_platform();
