#pragma once
// Internal to the Windows layer: what the window calls ask of an X11 window manager, through the
// desktop's window-manager conventions (EWMH) on the SDL window's own display connection. Every
// call answers "no" for an SDL window that is not on X11 (Wayland, the headless drivers).

#include <optional>

#include "platform/winbase/win_types.h"

struct SDL_Window;
struct _XDisplay;  // Xlib's Display

namespace win32_internal {

// An SDL window's X11 side: the display connection SDL opened and the window's own X window.
struct X11Window {
    _XDisplay* display = nullptr;
    unsigned long window = 0;  // Xlib's Window
};
// Nullopt for a null window or one that is not on X11.
std::optional<X11Window> X11WindowOf(SDL_Window* window);

// True when a window manager runs on the window's X11 display and carries out the full-screen
// state (_NET_WM_STATE_FULLSCREEN). Asked afresh each time: the window manager may come or go
// while the program runs.
bool X11WindowManagerDoesFullScreen(SDL_Window* window);
// The same, on an X11 display connection of the caller's.
bool X11WindowManagerDoesFullScreen(_XDisplay* display);

// Whether a window manager runs on the window's X11 display (one that names its own check window
// on the root, _NET_SUPPORTING_WM_CHECK). Asked afresh each time.
bool X11WindowManagerRuns(SDL_Window* window);

// The X window that has the keyboard focus on the window's display now (0 for none, 1 for the
// pointer's root); nullopt when the window is not on X11.
std::optional<unsigned long> X11InputFocus(SDL_Window* window);

// Waits until the window manager has put the window into full screen, or out of it, as asked: it
// does so in its own time after SDL's request. At most two seconds (nothing when the window is
// hidden or minimised); false when the state was not reached.
bool X11AwaitFullScreenState(SDL_Window* window, bool fullScreen);

// The decoration the window manager puts around the window (_NET_FRAME_EXTENTS), read from the X
// server now, as the widths of the left, top, right and bottom edges; nullopt when it has set
// none (no window manager, or not X11).
std::optional<RECT> X11FrameExtents(SDL_Window* window);

}  // namespace win32_internal
