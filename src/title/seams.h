#pragma once
// Entry points of the title screen that the shell and the adventure call. Until the title
// screen exists there is no title menu: loading finds no data, closing has nothing to close.

#include "platform/winbase/win_types.h"

namespace Title {
// Loads the title data files; false when there are none.
bool Load();
void Update(float seconds);
// 1: not consumed.
LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Destroys the title menu object, if any.
void Close();
// Records that the background picture `name` has been shown (the recollection items unlock
// by it).
void MarkSeenVisual(const char* name);
}  // namespace Title
