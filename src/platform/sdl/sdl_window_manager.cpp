// Whether a window manager looks after the game's window (X11 only).
#include <SDL.h>
#include <SDL_syswm.h>

#include "platform/sdl/sdl_video.h"

#if defined(STIVRA_X11) && defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#endif

bool sdl_window_manager_runs(SDL_Window* window) {
#if defined(STIVRA_X11) && defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return true;
    Display* display = info.info.x11.display;
    // A window manager of today's desktops names its check window on the
    // root window; only such a one answers a request for full screen.
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None) return false;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False,
                                          XA_WINDOW, &type, &format, &count, &after, &data);
    const bool named = status == Success && type == XA_WINDOW && format == 32 && count == 1;
    if (data) XFree(data);
    return named;
#else
    // Elsewhere the system itself handles full screen.
    (void)window;
    return true;
#endif
}
