// Window, keyboard, game controller, clock and presentation through SDL2.
#include <SDL.h>

#include <cstdio>
#include <cstring>

#include "gfx/figures.h"
#include "platform/input.h"
#include "platform/main_loop.h"
#include "platform/pause.h"
#include "platform/platform.h"
#include "platform/present.h"
#include "platform/sdl/sdl_video.h"

namespace {

SDL_Window* GameWindow = nullptr;
SDL_Renderer* GameRenderer = nullptr;
SDL_Texture* GameTexture = nullptr;
SDL_GameController* Controller = nullptr;
SDL_Joystick* Stick = nullptr;
uint32_t PaletteArgb[16];

const char WindowTitle[] = "St. Ivra Schule - Herr M\xC3\xBCrzel kommt";

// SDL key to the virtual-key code the key map is written in.
uint32_t virtual_key(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return static_cast<uint32_t>('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9) return static_cast<uint32_t>('0' + (key - SDLK_0));
    switch (key) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return VKEY_RETURN;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return VKEY_SHIFT;
    case SDLK_LALT:
    case SDLK_RALT: return VKEY_ALT;
    case SDLK_ESCAPE: return VKEY_ESCAPE;
    case SDLK_SPACE: return VKEY_SPACE;
    case SDLK_LEFT: return VKEY_LEFT;
    case SDLK_UP: return VKEY_UP;
    case SDLK_RIGHT: return VKEY_RIGHT;
    case SDLK_DOWN: return VKEY_DOWN;
    case SDLK_F12: return VKEY_F12;
    default: return 0;
    }
}

void open_first_stick() {
    if (Controller || Stick) return;
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (SDL_IsGameController(i)) {
            Controller = SDL_GameControllerOpen(i);
            if (Controller) return;
        }
    }
    if (SDL_NumJoysticks() > 0) Stick = SDL_JoystickOpen(0);
}

void close_stick_if_gone(SDL_JoystickID id) {
    if (Controller &&
        SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(Controller)) == id) {
        SDL_GameControllerClose(Controller);
        Controller = nullptr;
    }
    if (Stick && SDL_JoystickInstanceID(Stick) == id) {
        SDL_JoystickClose(Stick);
        Stick = nullptr;
    }
}

uint32_t axis_position(int16_t value) {
    return static_cast<uint32_t>(static_cast<int32_t>(value) + 32768);
}

// The window's place and size before full screen, to return to.
int WindowedX = 0, WindowedY = 0, WindowedW = 0, WindowedH = 0;
// Full screen made by the game itself, the window sized to cover the display:
// in a bare X server SDL's own switch waits 100 ms for a window manager that
// never answers, and the window keeps its size.
bool OwnFullScreen = false;

// The window to the whole display, at once; false when the display's size is unknown.
bool cover_display() {
    SDL_Rect bounds;
    const int display = SDL_GetWindowDisplayIndex(GameWindow);
    if (display < 0 || SDL_GetDisplayBounds(display, &bounds) != 0) return false;
    SDL_SetWindowPosition(GameWindow, bounds.x, bounds.y);
    SDL_SetWindowSize(GameWindow, bounds.w, bounds.h);
    SDL_RaiseWindow(GameWindow);
    return true;
}

void toggle_full_screen() {
    const bool full =
        OwnFullScreen || (SDL_GetWindowFlags(GameWindow) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
    if (!full) {
        SDL_GetWindowPosition(GameWindow, &WindowedX, &WindowedY);
        SDL_GetWindowSize(GameWindow, &WindowedW, &WindowedH);
    }
    if (OwnFullScreen) {
        OwnFullScreen = false;
        SDL_SetWindowPosition(GameWindow, WindowedX, WindowedY);
        SDL_SetWindowSize(GameWindow, WindowedW, WindowedH);
    } else if (!full && !sdl_window_manager_runs(GameWindow) && cover_display()) {
        OwnFullScreen = true;
    } else {
        // A window manager may take its time to answer: the sound must last
        // through it.
        sdl_audio_fill_ahead(250);
        SDL_SetWindowFullscreen(GameWindow, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
        // Should no event report the smaller window after full screen, SDL
        // and its renderer would keep the full-screen size and draw the
        // picture cropped: setting the size again brings both back.
        if (full && WindowedW > 0 && WindowedH > 0)
            SDL_SetWindowSize(GameWindow, WindowedW, WindowedH);
    }
    SDL_ShowCursor(full ? SDL_ENABLE : SDL_DISABLE);
}

void set_window_icon() {
    static uint8_t face[32 * 32];
    std::memset(face, 0, sizeof face);
    draw_icon(face, 32, 1);
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 32, 32, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!surface) return;
    for (int y = 0; y < 32; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(surface->pixels) + y * surface->pitch);
        for (int x = 0; x < 32; ++x) {
            const uint8_t c = face[y * 32 + x];
            row[x] = c == 0 ? 0u : PaletteArgb[c];
        }
    }
    SDL_SetWindowIcon(GameWindow, surface);
    SDL_FreeSurface(surface);
}

// The one line the game prints when it has nowhere to show its window.
void report_no_display(const char* reason) {
    std::fprintf(stderr,
                 "stivra: the game needs a display (%s); the image tools -shot, -icon and -world "
                 "work without one\n",
                 reason);
}

void report_sdl_failure(const char* what) {
    char reason[256];
    std::snprintf(reason, sizeof reason, "%s: %s", what, SDL_GetError());
    report_no_display(reason);
}

bool environment_set(const char* name) {
    const char* value = SDL_getenv(name);
    return value && *value;
}

// SDL's drivers that draw into memory only: a game on one of them runs
// unseen and never ends, so they count only when the user asked for them.
bool invisible_driver(const char* name) {
    return name && (std::strcmp(name, "offscreen") == 0 || std::strcmp(name, "dummy") == 0 ||
                    std::strcmp(name, "evdev") == 0);
}

bool start_video() {
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "0");
    const bool driver_asked_for = environment_set("SDL_VIDEODRIVER");
#if !defined(__APPLE__)
    // Over ssh or in a container the default drivers find no screen; SDL
    // would then settle on an invisible one (or take over the console).
    if (!driver_asked_for && !environment_set("DISPLAY") && !environment_set("WAYLAND_DISPLAY")) {
        report_no_display("neither DISPLAY nor WAYLAND_DISPLAY is set");
        return false;
    }
#endif
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        report_sdl_failure("SDL could not start its video");
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver_asked_for && invisible_driver(driver)) {
        char reason[128];
        std::snprintf(reason, sizeof reason, "SDL found only its invisible %s driver", driver);
        report_no_display(reason);
        return false;
    }
    return true;
}

// Marks the start as failed: the loop does not run and the game exits with 1.
void fail_window() {
    WindowFailed = 1;
    RunningFlag = 0;
}

int VideoState = 0;  // 0 not tried yet, 1 ready, -1 no display (reported)

}  // namespace

bool sdl_video_ready() {
    if (VideoState == 0) VideoState = start_video() ? 1 : -1;
    return VideoState == 1;
}

void platform_open_window() {
    if (!sdl_video_ready()) {
        fail_window();
        return;
    }
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER | SDL_INIT_JOYSTICK);

    for (int i = 0; i < 16; ++i)
        PaletteArgb[i] = 0xFF000000u | (uint32_t(Palette[i][0]) << 16) |
                         (uint32_t(Palette[i][1]) << 8) | uint32_t(Palette[i][2]);

    int scale = 3;
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) == 0) scale = choose_window_scale(mode.w, mode.h);

    GameWindow = SDL_CreateWindow(WindowTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                  SCREEN_W * scale, SCREEN_H * scale,
                                  SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    if (!GameWindow) {
        report_sdl_failure("SDL could not open the window");
        fail_window();
        return;
    }
    GameRenderer = SDL_CreateRenderer(GameWindow, -1, 0);
    if (!GameRenderer) GameRenderer = SDL_CreateRenderer(GameWindow, -1, SDL_RENDERER_SOFTWARE);
    if (GameRenderer) {
        GameTexture = SDL_CreateTexture(GameRenderer, SDL_PIXELFORMAT_ARGB8888,
                                        SDL_TEXTUREACCESS_STREAMING, SCREEN_W, SCREEN_H);
        if (GameTexture) SDL_SetTextureScaleMode(GameTexture, SDL_ScaleModeNearest);
    }
    // A window that can never show the picture is no better than none.
    if (!GameTexture) {
        report_sdl_failure("SDL could not draw into the window");
        fail_window();
        return;
    }
    set_window_icon();
    open_first_stick();
}

void platform_close_window() {
    audio_close();
    if (Controller) SDL_GameControllerClose(Controller);
    if (Stick) SDL_JoystickClose(Stick);
    if (GameTexture) SDL_DestroyTexture(GameTexture);
    if (GameRenderer) SDL_DestroyRenderer(GameRenderer);
    if (GameWindow) SDL_DestroyWindow(GameWindow);
    SDL_Quit();
}

void platform_pump_messages() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
        case SDL_QUIT:
            RunningFlag = 0;
            break;
        case SDL_KEYDOWN:
            // Alt+Enter switches full screen and is not also a CONFIRM.
            if ((event.key.keysym.sym == SDLK_RETURN || event.key.keysym.sym == SDLK_KP_ENTER) &&
                (event.key.keysym.mod & KMOD_ALT)) {
                if (!event.key.repeat) toggle_full_screen();
                break;
            }
            window_key_down(virtual_key(event.key.keysym.sym));
            break;
        case SDL_KEYUP:
            window_key_up(virtual_key(event.key.keysym.sym));
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) window_focus_lost();
            // A resize sends these in bursts, each presented at once: the
            // sound is topped up between them.
            if (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                platform_present();
                audio_refill();
            }
            break;
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_JOYDEVICEADDED:
            open_first_stick();
            break;
        case SDL_JOYDEVICEREMOVED:
            close_stick_if_gone(event.jdevice.which);
            open_first_stick();
            break;
        default:
            break;
        }
    }
}

uint32_t platform_time_ms() {
    return SDL_GetTicks();
}

void platform_sleep_ms(uint32_t ms) {
    SDL_Delay(ms);
}

void platform_present() {
    if (!GameRenderer || !GameTexture) return;
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(GameTexture, nullptr, &pixels, &pitch) == 0) {
        const uint8_t* frame = compose_presented_frame();
        for (int y = 0; y < SCREEN_H; ++y) {
            uint32_t* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(pixels) + y * pitch);
            const uint8_t* src = frame + y * SCREEN_W;
            for (int x = 0; x < SCREEN_W; ++x) row[x] = PaletteArgb[src[x] & 15];
        }
        SDL_UnlockTexture(GameTexture);
    }
    int cw = 0, ch = 0;
    SDL_GetRendererOutputSize(GameRenderer, &cw, &ch);
    const Letterbox box = letterbox_rect(cw, ch);
    SDL_SetRenderDrawColor(GameRenderer, 0, 0, 0, 255);
    SDL_RenderClear(GameRenderer);
    if (box.target.w > 0 && box.target.h > 0) {
        const SDL_Rect dst = {box.target.x, box.target.y, box.target.w, box.target.h};
        SDL_RenderCopy(GameRenderer, GameTexture, nullptr, &dst);
    }
    SDL_RenderPresent(GameRenderer);
}

uint32_t platform_joystick_bits() {
    uint32_t x = 32768, y = 32768, buttons = 0;
    if (Controller) {
        x = axis_position(SDL_GameControllerGetAxis(Controller, SDL_CONTROLLER_AXIS_LEFTX));
        y = axis_position(SDL_GameControllerGetAxis(Controller, SDL_CONTROLLER_AXIS_LEFTY));
        if (SDL_GameControllerGetButton(Controller, SDL_CONTROLLER_BUTTON_DPAD_LEFT)) x = 0;
        if (SDL_GameControllerGetButton(Controller, SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) x = 65535;
        if (SDL_GameControllerGetButton(Controller, SDL_CONTROLLER_BUTTON_DPAD_UP)) y = 0;
        if (SDL_GameControllerGetButton(Controller, SDL_CONTROLLER_BUTTON_DPAD_DOWN)) y = 65535;
        // Face buttons in the order of a classic pad's numbering: A=1, B=2, X=3, Y=4;
        // Back=9 and Start=10 confirm.
        const SDL_GameControllerButton numbered[] = {
            SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_X,
            SDL_CONTROLLER_BUTTON_Y};
        for (int i = 0; i < 4; ++i)
            if (SDL_GameControllerGetButton(Controller, numbered[i])) buttons |= 1u << i;
        if (SDL_GameControllerGetButton(Controller, SDL_CONTROLLER_BUTTON_BACK)) buttons |= 256;
        if (SDL_GameControllerGetButton(Controller, SDL_CONTROLLER_BUTTON_START)) buttons |= 512;
    } else if (Stick) {
        if (SDL_JoystickNumAxes(Stick) >= 2) {
            x = axis_position(SDL_JoystickGetAxis(Stick, 0));
            y = axis_position(SDL_JoystickGetAxis(Stick, 1));
        }
        if (SDL_JoystickNumHats(Stick) > 0) {
            const uint8_t hat = SDL_JoystickGetHat(Stick, 0);
            if (hat & SDL_HAT_LEFT) x = 0;
            if (hat & SDL_HAT_RIGHT) x = 65535;
            if (hat & SDL_HAT_UP) y = 0;
            if (hat & SDL_HAT_DOWN) y = 65535;
        }
        const int n = SDL_JoystickNumButtons(Stick);
        for (int i = 0; i < n && i < 32; ++i)
            if (SDL_JoystickGetButton(Stick, i)) buttons |= 1u << i;
    } else {
        return 0;
    }
    return map_joystick(x, y, buttons);
}
