#pragma once
// The hover help of dialog controls: while the pointer rests on a control, its explanation shows
// in the help field 1010 of the dialog (the start-up dialog; the preferences dialog three parents
// above a page's control).

#include "platform/win32/window_api.h"

constexpr int kHelpFieldId = 1010;

// Installs HoverHelpProc on `control` with `text` (Shift-JIS, kept by pointer); nothing for a
// missing control or one that already has the hover help.
void InstallHoverHelp(HWND control, const char* text);
LRESULT HoverHelpProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
