// Entry point of the SDL2 build (Linux, macOS).
#include <chrono>
#include <cstdint>

#include "platform/cmdline.h"
#include "platform/seed.h"

int main(int argc, char** argv) {
    // The seed is a millisecond count of a free-running clock, as the
    // system tick count is on Windows.
    const auto since_boot = std::chrono::steady_clock::now().time_since_epoch();
    const uint32_t ticks = static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(since_boot).count());
    static char* arguments[MAX_ARGUMENTS];
    const int count = collect_arguments(argc, argv, arguments, MAX_ARGUMENTS);
    return program_main(count, arguments, startup_seed(ticks));
}
