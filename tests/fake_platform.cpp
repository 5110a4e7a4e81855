#include "fake_platform.h"

#include <cstdio>

#include "platform/input.h"
#include "platform/main_loop.h"
#include "platform/pause.h"
#include "platform/platform.h"

FakePlatform Fake;

void reset_fake_platform() {
    Fake = FakePlatform();
    RunningFlag = 1;
    WindowFailed = 0;
    AutoplayFile = nullptr;
    Paused = 0;
    Muted = 0;
    PausedTotalMs = 0;
    PausedSinceMs = 0;
    input_focus_lost();  // no P or M counts as held down
    HeldInput = 0;
    PressedInput = 0;
}

void platform_open_window() {
    Fake.windows_opened += 1;
    if (Fake.no_display) {
        WindowFailed = 1;
        RunningFlag = 0;
    }
}
void platform_close_window() { Fake.windows_closed += 1; }

void platform_pump_messages() {
    Fake.pumps += 1;
    if (Fake.on_pump) Fake.on_pump(Fake.pumps);
    if (Fake.stop_after_pumps && Fake.pumps >= Fake.stop_after_pumps) RunningFlag = 0;
}

uint32_t platform_time_ms() { return Fake.now_ms; }

void platform_sleep_ms(uint32_t ms) {
    Fake.sleeps += 1;
    Fake.now_ms += ms * Fake.sleep_advance_ms;
}

void platform_present() { Fake.presents += 1; }
uint32_t platform_joystick_bits() { return Fake.joystick_bits; }

void audio_open() { Fake.audio_opened += 1; }
void audio_refill() { Fake.refills += 1; }
void audio_close() {}

bool platform_keep_folder(char* out, int size) {
    out[0] = 0;
    if (!Fake.keep_folder) return false;
    std::snprintf(out, static_cast<size_t>(size), "%s", Fake.keep_folder);
    return true;
}
