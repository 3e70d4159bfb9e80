#pragma once
// Test-only views of an X11 desktop: whether a window manager runs on a display, and where a
// window and its window manager's frame lie as the X server has them. The program never calls
// these.

#include <optional>
#include <string>

#include "platform/winbase/win_types.h"

namespace win32_test {

// True when a window manager that carries out the full-screen state runs on the X11 display
// `displayName` (":5") and maps the windows it is asked to (it has finished starting); false when
// none does or the display cannot be opened.
bool X11WindowManagerRuns(const std::string& displayName);

struct X11Placement {
    RECT client{};  // the SDL window of the window handle, in root-window pixels
    RECT frame{};   // its top-level ancestor: the window manager's frame, or the window itself
};
// Where the SDL window behind `window` lies on its X11 display; nullopt when it has none or is
// not on X11.
std::optional<X11Placement> X11WindowPlacement(HWND window);

}  // namespace win32_test
