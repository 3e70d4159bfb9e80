#pragma once
// The system pointer over our windows: its shape, its display counter and its position.
// Positions are screen coordinates in the sense of window_placement.h; the layer keeps the last
// position it reported or set, so that tests read back exactly what they injected.

#include "platform/winbase/win_types.h"

// The one cursor shape this layer knows; LoadCursorA answers it for a null instance.
inline LPCSTR IDC_ARROW = reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(32512));

// IDC_ARROW with a null instance: the arrow. Anything else: null.
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
// Sets the pointer shape over our windows (null hides it) and returns the previous one.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
// Adds 1 (show) or subtracts 1 (hide) from the display counter and returns the new count; the
// pointer is shown while the count is >= 0 and a shape is set (on a window's menu bar, and while
// a drawn dialog or menu runs its loop, the arrow shows without one). The count starts at 0.
int ShowCursor(BOOL show);

// Screen coordinates of the pointer. SetCursorPos moves the SDL pointer when the point lies on
// one of our windows, and the position is kept either way.
BOOL GetCursorPos(POINT* point);
BOOL SetCursorPos(int x, int y);
// Confines the pointer to `rect` (screen coordinates; null releases it): positions reported and
// set afterwards are clamped into it (right and bottom exclusive), and the SDL window grabs the
// pointer while a clip is set.
BOOL ClipCursor(const RECT* rect);
BOOL GetClipCursor(RECT* rect);
