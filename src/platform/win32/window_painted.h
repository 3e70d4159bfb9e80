#pragma once
// Internal to src/platform: a window was painted (EndPaint) or its menu bar drawn again
// (DrawMenuBar). What else shows a picture in the window (a movie) shows it again then, with the
// menus and dialogs over it as they are now. One listener; null for none. Main thread only.

#include "platform/winbase/win_types.h"

namespace win32_internal {

using WindowPaintedListener = void (*)(HWND window);
void SetWindowPaintedListener(WindowPaintedListener listener);
void NotifyWindowPainted(HWND window);

}  // namespace win32_internal
