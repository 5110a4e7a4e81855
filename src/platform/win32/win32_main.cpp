// Entry point of the Windows build: the raw command line is split by the
// game's own rules, and the process ends with ExitProcess.
#include <windows.h>

#include "platform/cmdline.h"
#include "platform/seed.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    copy_command_line(GetCommandLineA());
    static char* arguments[MAX_ARGUMENTS];
    const int count = split_command_line(arguments, MAX_ARGUMENTS);
    const int code = program_main(count, arguments, startup_seed(GetTickCount()));
    ExitProcess(static_cast<UINT>(code));
}
