#pragma once
// Internal to the Windows layer: the keys that a focused control takes itself, as its own window
// procedure would, each sending the notification its mouse use sends (dialog_input.h): a combo
// box changes its selection with the arrow keys, Home and End, and opens or closes its list with
// Alt+Down, Alt+Up or F4 (an open list also closes with Return and Escape, and when the focus
// leaves the box); a track bar moves by its line size with the arrow keys, by its page size with
// Page Up and Page Down, to its ends with Home and End, and ends the move (TB_ENDTRACK) when the
// key is let go; a tab control shows the previous or next page with Left and Right; a list view
// moves its focused and selected row with the arrow keys, Home, End, Page Up and Page Down,
// scrolling to show it, and edits that row's label with F2.

#include "platform/winbase/win_types.h"

namespace win32_internal {

// True when `control` took the key going down; `alt`: Alt is held.
bool ControlKeyDown(HWND control, UINT key, bool alt);
// True when `control` took the key going up.
bool ControlKeyUp(HWND control, UINT key);

}  // namespace win32_internal
