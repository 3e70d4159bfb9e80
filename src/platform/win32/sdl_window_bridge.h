#pragma once
// Internal to the message core: what the window calls need of SDL, without SDL's headers.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/winbase/win_types.h"

struct SDL_Window;

namespace win32_internal {

struct SdlWindowDeleter {
    void operator()(SDL_Window* window) const;
};
using SdlWindowPtr = std::unique_ptr<SDL_Window, SdlWindowDeleter>;

// True on the thread that runs the SDL event pump and owns SDL's windows, once SDL video is up.
bool SdlVideoReadyOnThisThread();
// True unless SDL video runs on a driver that shows something on a screen (not "offscreen" or
// "dummy").
bool SdlVideoIsHeadless();

// An SDL window for a top-level window: `titleSjis` is the Shift-JIS title. Null (and one
// line on the debugger output) when SDL cannot make it.
// `icon`: 32 x 32 A8R8G8B8 pixels of the window's icon, or null.
SdlWindowPtr SdlCreateWindow(const std::string& titleSjis, const RECT& rect, bool minimised,
                             const std::uint32_t* icon);
void SdlShowWindow(SDL_Window* window, bool visible, bool minimised);
void SdlSetTitle(SDL_Window* window, const std::string& titleSjis);

// Puts the SDL window's client area at the rectangle's position and size (desktop pixels), with
// or without the desktop's decoration, and answers where it went: a decorated window is moved
// as far as keeps its decoration (the window manager's frame, title bar first) on the desktop's
// work area. `fullScreen` asks the desktop for full screen the way it expects it where it can: a
// window manager that carries out the full-screen state, or Wayland's compositor, covers the
// display with the window (the rectangle is then not used). With neither, as on an X server
// without a window manager, the caller gives the display's bounds and an undecorated window.
RECT SdlApplyPlacement(SDL_Window* window, const RECT& rect, bool bordered, bool fullScreen);
// The desktop bounds of the display the SDL window is on (null: the first display); false when
// SDL video is not running.
bool SdlDisplayBounds(SDL_Window* window, RECT* bounds);
// The size of SDL's window in its own pixels; false when unknown.
bool SdlWindowSize(SDL_Window* window, SIZE* size);
// The position of SDL's window on the desktop; false when unknown.
bool SdlWindowPosition(SDL_Window* window, POINT* position);
// The desktop size of the first display; false when SDL video is not running.
bool SdlDesktopSize(SIZE* size);
// The size of the first display less the desktop's panels; false when SDL video is not running.
bool SdlDesktopWorkArea(SIZE* size);
void SdlRaiseWindow(SDL_Window* window);
// Moves the pointer to a pixel of the SDL window.
void SdlWarpPointer(SDL_Window* window, POINT pixel);
// Shows or hides the pointer over SDL's windows (when SDL video runs on this thread).
void SdlShowPointer(bool visible);
// The pointer's image over SDL's windows: a colour cursor of `size` x `size` A8R8G8B8 pixels
// (rows top first) with its hot spot, or the desktop's arrow for null pixels (and when the
// colour cursor cannot be made).
void SdlSetPointerImage(const std::uint32_t* argb, int size, POINT hotSpot);
// Keeps the pointer inside the window while `grab` is set.
void SdlGrabPointer(SDL_Window* window, bool grab);

// True on the thread that runs the SDL event pump, once SDL's events are up.
bool SdlPumpsOnThisThread();
// Runs the SDL event pump when this thread owns it: every event goes to the listeners, and
// SDL_QUIT posts WM_CLOSE to the first top-level window. Call without the state mutex held.
void SdlPumpEvents();

}  // namespace win32_internal
