// The game's window on Windows: USER32 for the window and keys, GDI32 for
// showing the 8-bit picture, WINMM for the millisecond timer and the joystick.
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstring>

#include "platform/input.h"
#include "platform/main_loop.h"
#include "platform/pause.h"
#include "platform/platform.h"
#include "platform/present.h"

namespace {

HWND GameWindow = nullptr;
int JoystickPresent = 0;
int TimerRaised = 0;  // timeBeginPeriod is in force and wants its timeEndPeriod

struct PresentationHeader {
    BITMAPINFOHEADER header;
    RGBQUAD colours[16];
};
PresentationHeader Presentation;
uint8_t PresentationCopy[SCREEN_W * SCREEN_H];

// Full screen (Alt+Enter): the windowed placement to go back to.
int FullScreen = 0;
WINDOWPLACEMENT WindowedPlacement;

// "St. Ivra Schule - Herr Mürzel kommt" in Windows-1252 (0xFC is ü).
const char WindowTitle[] = "St. Ivra Schule - Herr M\xFCrzel kommt";

// Draws into the window the device context belongs to (the one WM_PAINT is
// for, which may arrive before CreateWindowExA has returned GameWindow).
void present_framebuffer(HWND window, HDC dc) {
    if (!dc) return;
    copy_rows_bottom_up(compose_presented_frame(), PresentationCopy);
    // Without a window the client area counts as empty and nothing is drawn,
    // rather than bars of an undefined size on whatever GetDC handed out.
    RECT client = {0, 0, 0, 0};
    if (!GetClientRect(window, &client)) client = RECT{0, 0, 0, 0};
    const Letterbox box = letterbox_rect(client.right - client.left, client.bottom - client.top);
    for (int i = 0; i < box.bar_count; ++i)
        PatBlt(dc, box.bars[i].x, box.bars[i].y, box.bars[i].w, box.bars[i].h, BLACKNESS);
    StretchDIBits(dc, box.target.x, box.target.y, box.target.w, box.target.h, 0, 0, SCREEN_W,
                  SCREEN_H, PresentationCopy, reinterpret_cast<BITMAPINFO*>(&Presentation),
                  DIB_RGB_COLORS, SRCCOPY);
}

void toggle_full_screen(HWND window) {
    if (!FullScreen) {
        MONITORINFO monitor;
        std::memset(&monitor, 0, sizeof monitor);
        monitor.cbSize = sizeof monitor;
        std::memset(&WindowedPlacement, 0, sizeof WindowedPlacement);
        WindowedPlacement.length = sizeof WindowedPlacement;
        if (!GetWindowPlacement(window, &WindowedPlacement) ||
            !GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor))
            return;
        SetWindowLongA(window, GWL_STYLE, WS_POPUP | WS_VISIBLE);
        SetWindowPos(window, HWND_TOP, monitor.rcMonitor.left, monitor.rcMonitor.top,
                     monitor.rcMonitor.right - monitor.rcMonitor.left,
                     monitor.rcMonitor.bottom - monitor.rcMonitor.top,
                     SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
        FullScreen = 1;
    } else {
        SetWindowLongA(window, GWL_STYLE, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        SetWindowPlacement(window, &WindowedPlacement);
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
        FullScreen = 0;
    }
    InvalidateRect(window, nullptr, FALSE);
}

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_DESTROY:
        RunningFlag = 0;
        PostQuitMessage(0);
        return 0;
    case WM_KILLFOCUS:
        window_focus_lost();
        return 0;
    case WM_SIZE:
        // The letterbox moves with the size: repaint all of the client area,
        // not only the strip a larger window uncovers (the class has no
        // redraw styles, and while the user drags the border the main loop
        // does not run).
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        present_framebuffer(window, dc);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_SYSKEYDOWN:
        // Alt+Enter switches full screen; it is neither a CONFIRM nor a system beep.
        if (wparam == VK_RETURN && (lparam & (1 << 29))) {
            if (!(lparam & (1 << 30))) toggle_full_screen(window);
            return 0;
        }
        window_key_down(static_cast<uint32_t>(wparam));
        return DefWindowProcA(window, message, wparam, lparam);
    case WM_KEYDOWN:
        window_key_down(static_cast<uint32_t>(wparam));
        return 0;
    case WM_SYSKEYUP:
        window_key_up(static_cast<uint32_t>(wparam));
        return DefWindowProcA(window, message, wparam, lparam);
    case WM_KEYUP:
        window_key_up(static_cast<uint32_t>(wparam));
        return 0;
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}

void fill_joystick_record(JOYINFOEX& info) {
    std::memset(&info, 0, sizeof info);
    info.dwSize = 52;
    info.dwFlags = 255;
}

}  // namespace

void platform_open_window() {
    HINSTANCE instance = GetModuleHandleA(nullptr);

    // The presentation header is ready before the window exists, so that any
    // paint message during its creation finds a valid picture description.
    std::memset(&Presentation, 0, sizeof Presentation);
    Presentation.header.biSize = 40;
    Presentation.header.biWidth = SCREEN_W;
    Presentation.header.biHeight = SCREEN_H;
    Presentation.header.biPlanes = 1;
    Presentation.header.biBitCount = 8;
    Presentation.header.biCompression = BI_RGB;
    Presentation.header.biClrUsed = 16;
    for (int i = 0; i < 16; ++i) {
        Presentation.colours[i].rgbRed = Palette[i][0];
        Presentation.colours[i].rgbGreen = Palette[i][1];
        Presentation.colours[i].rgbBlue = Palette[i][2];
        Presentation.colours[i].rgbReserved = 0;
    }

    WNDCLASSA window_class;
    std::memset(&window_class, 0, sizeof window_class);
    window_class.lpfnWndProc = window_procedure;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
    if (!window_class.hIcon) window_class.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.lpszClassName = "StIvraSchule";
    RegisterClassA(&window_class);

    const int scale = choose_window_scale(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    RECT rect = {0, 0, scale * SCREEN_W, scale * SCREEN_H};
    AdjustWindowRect(&rect, WS_OVERLAPPEDWINDOW, FALSE);
    GameWindow = CreateWindowExA(0, "StIvraSchule", WindowTitle, WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                 CW_USEDEFAULT, CW_USEDEFAULT, rect.right - rect.left,
                                 rect.bottom - rect.top, nullptr, nullptr, instance, nullptr);
    if (!GameWindow) {
        // No desktop to show it on (under Wine: no X server). Running on
        // without a window would be a game nobody sees that never ends.
        std::fprintf(stderr,
                     "stivra: the game needs a display (the window could not be created); the "
                     "image tools -shot, -icon and -world work without one\n");
        std::fflush(stderr);
        WindowFailed = 1;
        RunningFlag = 0;
        return;
    }

    JOYINFOEX joystick;
    fill_joystick_record(joystick);
    JoystickPresent = joyGetPosEx(0, &joystick) == 0;

    TimerRaised = timeBeginPeriod(1) == TIMERR_NOERROR;
}

void platform_close_window() {
    if (TimerRaised) timeEndPeriod(1);
    TimerRaised = 0;
    audio_close();
}

void platform_pump_messages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) RunningFlag = 0;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

uint32_t platform_time_ms() {
    return timeGetTime();
}

void platform_sleep_ms(uint32_t ms) {
    Sleep(ms);
}

void platform_present() {
    if (!GameWindow) return;
    HDC dc = GetDC(GameWindow);
    present_framebuffer(GameWindow, dc);
    if (dc) ReleaseDC(GameWindow, dc);
}

uint32_t platform_joystick_bits() {
    if (!JoystickPresent) return 0;
    JOYINFOEX joystick;
    fill_joystick_record(joystick);
    if (joyGetPosEx(0, &joystick) != 0) return 0;
    return map_joystick(joystick.dwXpos, joystick.dwYpos, joystick.dwButtons);
}

bool platform_keep_folder(char* out, int size) {
    out[0] = 0;
    char base[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA("LOCALAPPDATA", base, sizeof base);
    if (n == 0 || n >= sizeof base) return false;
    const int written = std::snprintf(out, static_cast<size_t>(size), "%s\\St. Ivra Schule\\", base);
    if (written < 0 || written >= size) {
        out[0] = 0;
        return false;
    }
    // %LOCALAPPDATA% itself is there on every Windows; only the game's own
    // folder in it may be missing.
    out[written - 1] = 0;
    const bool made = CreateDirectoryA(out, nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
    out[written - 1] = '\\';
    const DWORD attributes = GetFileAttributesA(out);
    return made && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
