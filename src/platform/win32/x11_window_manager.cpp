// The window manager's side of full screen and decoration on X11, read from the X server.

#include "platform/win32/x11_window_manager.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <vector>

namespace win32_internal {
namespace {

constexpr Uint64 kStateWaitMs = 2000;
constexpr Uint32 kStatePollMs = 5;

// While it lives, a failed request (a window that went away between two requests, as the window
// manager's check window does when it ends) is noted instead of ending the program.
class ErrorTrap {
public:
    explicit ErrorTrap(Display* display) : display_(display) {
        XSync(display_, False);
        caught_ = false;
        previous_ = XSetErrorHandler(&Note);
    }
    ~ErrorTrap() {
        XSync(display_, False);
        XSetErrorHandler(previous_);
    }
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    bool failed() {
        XSync(display_, False);
        return caught_;
    }

private:
    static int Note(Display* /*display*/, XErrorEvent* /*error*/) {
        caught_ = true;
        return 0;
    }

    // The X calls run on the thread that owns SDL's windows only.
    static inline bool caught_ = false;
    Display* display_;
    int (*previous_)(Display*, XErrorEvent*) = nullptr;
};

Atom AtomNamed(Display* display, const char* name) {
    return XInternAtom(display, name, False);
}

// The 32-bit items of a window's property of `type`; empty when the window lacks it.
std::vector<unsigned long> ReadProperty(Display* display, Window window, const char* property,
                                        Atom type) {
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> items;
    if (XGetWindowProperty(display, window, AtomNamed(display, property), 0, 1024, False, type,
                           &actualType, &format, &count, &remaining, &data) == Success &&
        actualType == type && format == 32 && data != nullptr) {
        // Xlib hands out 32-bit items as longs.
        const auto* values = reinterpret_cast<const unsigned long*>(data);
        items.assign(values, values + count);
    }
    if (data != nullptr) {
        XFree(data);
    }
    return items;
}

bool Holds(const std::vector<unsigned long>& items, unsigned long item) {
    return std::find(items.begin(), items.end(), item) != items.end();
}

}  // namespace

std::optional<X11Window> X11WindowOf(SDL_Window* window) {
    if (window == nullptr) {
        return std::nullopt;
    }
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11 ||
        info.info.x11.display == nullptr) {
        return std::nullopt;
    }
    return X11Window{info.info.x11.display, info.info.x11.window};
}

namespace {

bool WindowManagerRuns(Display* display) {
    const Window root = DefaultRootWindow(display);
    ErrorTrap trap(display);
    // A running window manager names a window of its own on the root, and that window names
    // itself; the root's name alone may be left over from one that has ended.
    const std::vector<unsigned long> named =
        ReadProperty(display, root, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
    if (named.size() != 1) {
        return false;
    }
    const std::vector<unsigned long> itself =
        ReadProperty(display, named[0], "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
    return !trap.failed() && itself.size() == 1 && itself[0] == named[0];
}

}  // namespace

bool X11WindowManagerDoesFullScreen(Display* display) {
    return WindowManagerRuns(display) &&
           Holds(ReadProperty(display, DefaultRootWindow(display), "_NET_SUPPORTED", XA_ATOM),
                 AtomNamed(display, "_NET_WM_STATE_FULLSCREEN"));
}

bool X11WindowManagerRuns(SDL_Window* window) {
    const std::optional<X11Window> x11 = X11WindowOf(window);
    return x11 && WindowManagerRuns(x11->display);
}

std::optional<unsigned long> X11InputFocus(SDL_Window* window) {
    const std::optional<X11Window> x11 = X11WindowOf(window);
    if (!x11) {
        return std::nullopt;
    }
    Window focus = None;
    int revertTo = 0;
    XGetInputFocus(x11->display, &focus, &revertTo);
    return focus;
}

bool X11WindowManagerDoesFullScreen(SDL_Window* window) {
    const std::optional<X11Window> x11 = X11WindowOf(window);
    return x11 && X11WindowManagerDoesFullScreen(x11->display);
}

bool X11AwaitFullScreenState(SDL_Window* window, bool fullScreen) {
    const std::optional<X11Window> x11 = X11WindowOf(window);
    if (!x11 || (SDL_GetWindowFlags(window) & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED)) != 0) {
        return false;
    }
    const Atom wanted = AtomNamed(x11->display, "_NET_WM_STATE_FULLSCREEN");
    const Uint64 deadline = SDL_GetTicks64() + kStateWaitMs;
    for (;;) {
        const bool now =
            Holds(ReadProperty(x11->display, x11->window, "_NET_WM_STATE", XA_ATOM), wanted);
        if (now == fullScreen) {
            return true;
        }
        if (SDL_GetTicks64() >= deadline) {
            return false;
        }
        SDL_Delay(kStatePollMs);
    }
}

std::optional<RECT> X11FrameExtents(SDL_Window* window) {
    const std::optional<X11Window> x11 = X11WindowOf(window);
    if (!x11) {
        return std::nullopt;
    }
    // Left, right, top, bottom.
    const std::vector<unsigned long> edges =
        ReadProperty(x11->display, x11->window, "_NET_FRAME_EXTENTS", XA_CARDINAL);
    if (edges.size() != 4) {
        return std::nullopt;
    }
    const auto edge = [&](int i) { return static_cast<LONG>(std::min(edges[i], 0xFFFFUL)); };
    return RECT{edge(0), edge(2), edge(1), edge(3)};
}

}  // namespace win32_internal
