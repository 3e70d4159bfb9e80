#pragma once
// Internal to the Windows layer: the keyboard focus of dialogs and the order in which their
// controls take it. Each top-level dialog keeps one focused control (SetFocus, GetFocus,
// WM_NEXTDLGCTL); the controls of the child dialogs inside it (the pages of a tab control) take
// their turn in place, after the control that holds them, as a control parent's children do.

#include <vector>

#include "platform/winbase/win_types.h"

namespace win32_internal {

// The top-level dialog that holds `window` (the dialog itself for a top-level dialog); null when
// `window` lies in no dialog.
HWND DialogOf(HWND window);

// The focused control of top-level dialog `dialog`; null when it has none or the control went.
// Setting it closes the list of a combo box that loses the focus (dialog.cpp).
HWND DialogFocus(HWND dialog);
void SetDialogFocus(HWND dialog, HWND control);

// Every control of `dialog` and of the child dialogs inside it, depth first in template order.
std::vector<HWND> DialogControlsInOrder(HWND dialog);
// True when `control` and every window between it and `dialog` are shown and enabled (the
// dialog's own state does not count: its first focus is chosen before it shows).
bool ShownAndEnabledIn(HWND control, HWND dialog);
// True when `control` can take the focus now: a kind that takes it (no static text or group box)
// that is ShownAndEnabledIn the dialog.
bool TakesFocus(HWND control, HWND dialog);
// The tab stop (WS_TABSTOP) that takes the focus after `from`, or before it with `backward`,
// wrapping; from null the first (the last). Null when there is none.
HWND NextTabStop(HWND dialog, HWND from, bool backward);

}  // namespace win32_internal
