// Entry point of the SDL2 build (Linux, macOS).
#include "platform/cmdline.h"
#include "platform/seed.h"

int main(int argc, char** argv) {
    static char* arguments[MAX_ARGUMENTS];
    const int count = collect_arguments(argc, argv, arguments, MAX_ARGUMENTS);
    return program_main(count, arguments, startup_seed(monotonic_tick_count()));
}
