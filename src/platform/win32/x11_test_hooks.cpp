#include "platform/win32/x11_test_hooks.h"

#include <SDL.h>
#include <X11/Xlib.h>

#include <memory>

#include "platform/win32/sdl_host.h"
#include "platform/win32/x11_window_manager.h"

namespace win32_test {
namespace {

// `window`'s rectangle in root-window pixels; nullopt when the X server does not know it.
std::optional<RECT> RootRect(Display* display, Window window) {
    XWindowAttributes attributes{};
    Window child = 0;
    int x = 0;
    int y = 0;
    if (XGetWindowAttributes(display, window, &attributes) == 0 ||
        XTranslateCoordinates(display, window, attributes.root, 0, 0, &x, &y, &child) == 0) {
        return std::nullopt;
    }
    return RECT{x, y, x + attributes.width, y + attributes.height};
}

// True when a window of ours is mapped within a second of asking: a window manager that is still
// starting may drop the requests made meanwhile, and a window of the test that it never maps would
// keep SDL waiting for it for ever.
bool MapsAWindow(Display* display) {
    XSetWindowAttributes attributes{};
    attributes.event_mask = StructureNotifyMask;
    const Window probe =
        XCreateWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, CopyFromParent,
                      InputOutput, CopyFromParent, CWEventMask, &attributes);
    XMapWindow(display, probe);
    XFlush(display);
    bool mapped = false;
    for (int tries = 0; tries < 100 && !mapped; ++tries) {
        XEvent event;
        mapped = XCheckTypedWindowEvent(display, probe, MapNotify, &event) != 0;
        if (!mapped) {
            SDL_Delay(10);
        }
    }
    XDestroyWindow(display, probe);
    XSync(display, False);
    return mapped;
}

}  // namespace

bool X11WindowManagerRuns(const std::string& displayName) {
    struct Closer {
        void operator()(Display* display) const { XCloseDisplay(display); }
    };
    const std::unique_ptr<Display, Closer> display(XOpenDisplay(displayName.c_str()));
    return display && win32_internal::X11WindowManagerDoesFullScreen(display.get()) &&
           MapsAWindow(display.get());
}

std::optional<X11Placement> X11WindowPlacement(HWND window) {
    const std::optional<win32_internal::X11Window> x11 =
        win32_internal::X11WindowOf(Win32GetSdlWindow(window));
    if (!x11) {
        return std::nullopt;
    }
    Display* display = x11->display;
    XSync(display, False);
    Window top = x11->window;
    // Up to the child of the root: a window manager's frame holds the window (perhaps inside
    // windows of its own).
    for (int depth = 0; depth < 16; ++depth) {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(display, top, &root, &parent, &children, &count) == 0) {
            return std::nullopt;
        }
        if (children != nullptr) {
            XFree(children);
        }
        if (parent == root || parent == 0) {
            break;
        }
        top = parent;
    }
    const std::optional<RECT> client = RootRect(display, x11->window);
    const std::optional<RECT> frame = RootRect(display, top);
    if (!client || !frame) {
        return std::nullopt;
    }
    return X11Placement{*client, *frame};
}

}  // namespace win32_test
