#pragma once
// Internal to the Windows layer: the window procedures of the standard controls
// (controls_api.h) and what they share.

#include "platform/win32/control_model.h"
#include "platform/win32/controls_api.h"

namespace win32_internal {

LRESULT ButtonProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT StaticProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT EditProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ComboBoxProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT TrackbarProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT TabControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ListViewProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

// A control's state comes into being at WM_CREATE and goes at WM_NCDESTROY.
void AddControlState(HWND control, ControlKind kind);
void RemoveControlState(HWND control);
// What every control does with a message it does not handle itself: the text messages work on
// the window text; WM_NCDESTROY drops the state; the rest goes to DefWindowProcA.
LRESULT ControlDefault(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
// WM_COMMAND with MAKEWPARAM(id, code) and the control to its parent.
void NotifyParentCommand(HWND control, WORD code);
// WM_NOTIFY to the parent; `header` (may be null) begins a larger record, filled in here.
LRESULT NotifyParent(HWND control, UINT code, NMHDR* header);
// Copies `text` into a buffer of `size` bytes like GetWindowTextA; the bytes copied.
int CopyControlText(const std::string& text, LPSTR buffer, int size);

}  // namespace win32_internal
