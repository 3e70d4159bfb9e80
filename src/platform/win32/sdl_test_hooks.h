#pragma once
// Test-only access to SDL events, so that tests drive the event pump without SDL's headers.

#include <cstdint>
#include <optional>

#include "platform/winbase/win_types.h"

union SDL_Event;

namespace win32_test {

// Puts a user event carrying `code` (or a quit event) into SDL's queue; false when SDL's
// events are not running.
bool PushSdlUserEvent(std::int32_t code);
bool PushSdlQuitEvent();
// Events of the SDL window behind `window` (which must have one), as the desktop would send
// them. Scancodes are SDL's (USB usage numbers); mouse positions are SDL window pixels; buttons
// are SDL's numbers (1 left, 2 middle, 3 right, 4 and 5 the side buttons).
bool PushSdlKeyEvent(HWND window, int scancode, bool down, bool repeat = false);
// The id of the SDL window behind `window` (0 when it has none), and a key event for the SDL
// window of that id, which may be gone: SDL lets go of held keys for a window it destroys.
std::uint32_t SdlWindowId(HWND window);
bool PushSdlKeyEventForId(std::uint32_t sdlWindowId, int scancode, bool down);
bool PushSdlMouseMotion(HWND window, int x, int y);
bool PushSdlMouseButton(HWND window, int button, bool down, int x, int y);
bool PushSdlMouseWheel(HWND window, int notches, bool flipped = false);
enum class SdlWindowEventKind {
    Exposed,
    Moved,
    SizeChanged,
    Minimized,
    Maximized,
    Restored,
    Leave,
    FocusGained,
    FocusLost,
    Close,
};
bool PushSdlWindowEvent(HWND window, SdlWindowEventKind kind, int data1 = 0, int data2 = 0);
// Where the SDL window behind `window` lies on the desktop; false when it has none.
bool SdlWindowPlacement(HWND window, RECT* rect);
// Resizes or moves the SDL window behind `window` as the user would (the window handle learns of
// it from SDL's events only); false when it has none.
bool ResizeSdlWindow(HWND window, int width, int height);
bool MoveSdlWindow(HWND window, int x, int y);

// The code of a user event, nullopt for any other event.
std::optional<std::int32_t> SdlUserEventCode(const SDL_Event& event);

}  // namespace win32_test
