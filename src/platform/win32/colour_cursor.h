#pragma once
// Internal to src/platform: the colour cursor a Direct3D device shows over its window (its
// hardware cursor), backed by the desktop's own pointer: it follows the mouse at the desktop's
// rate whether frames are presented or not, and it is drawn as large as the window's picture
// is scaled (client_mapping.h). Whatever is asked, one pointer at most is on the screen: on a
// window's menu bar the arrow; else the colour cursor while it is shown; else the Windows
// pointer as SetCursor and ShowCursor leave it (the arrow, or nothing).

#include <cstdint>

#include "platform/winbase/win_types.h"

namespace win32_internal {

// The cursor's pixels: `argb` holds 32 x 32 A8R8G8B8 pixels, rows top first; `hotSpot` is the
// pixel of the cell that marks the pointer.
void SetColourCursor(HWND window, const std::uint32_t* argb, POINT hotSpot);
void ShowColourCursor(HWND window, bool show);
// The window's colour cursor is forgotten (its device is gone).
void DropColourCursor(HWND window);

}  // namespace win32_internal

namespace win32_test {

// The pointer the desktop is asked to show.
struct ShownPointer {
    enum class Kind { kNone, kArrow, kColour } kind = Kind::kNone;
    int size = 0;  // the colour cursor's width and height in desktop pixels
    POINT hotSpot{};
    std::uint32_t centre = 0;  // the colour cursor's middle pixel
};
ShownPointer CurrentShownPointer();

}  // namespace win32_test
