#pragma once
// What a user does to a dialog's controls, as the presentation (or a test, or a replay) does it
// for them: each call changes the control as a click, a drag or typing would, and sends the
// notification the control sends for it (WM_COMMAND, WM_NOTIFY, WM_HSCROLL). A disabled control,
// or one inside a disabled or hidden window, takes no action (false).

#include "platform/winbase/win_types.h"

// The innermost modal dialog that is running; null when none.
HWND Win32ActiveModalDialog();
// The template resource a dialog was made from; 0 for a window that is no dialog.
WORD Win32DialogResource(HWND dialog);

// Control `id` of `dialog`, else of the child dialogs inside it (the pages of a tab control),
// searched depth first; null when none has it.
HWND Win32FindDialogControl(HWND dialog, int id);

// A click: push buttons, check boxes and radio buttons (BM_CLICK).
bool Win32ClickControl(HWND control);
// Picks entry `index` of a combo box (CBN_SELCHANGE when the selection changes).
bool Win32ChooseComboItem(HWND control, int index);
// Picks tab `index` of a tab control: TCN_SELCHANGING (a non-zero answer keeps the old tab),
// then TCN_SELCHANGE.
bool Win32ChooseTab(HWND control, int index);
// Drags a track bar's thumb to `position` (TB_THUMBTRACK) and, with `release`, lets it go there
// (TB_THUMBPOSITION, then TB_ENDTRACK).
bool Win32DragTrackbar(HWND control, int position, bool release);
// Moves a track bar's thumb as its keys do and notifies with `code` (WM_HSCROLL): TB_LINEUP and
// TB_LINEDOWN by its line size, TB_PAGEUP and TB_PAGEDOWN by its page size, TB_TOP and TB_BOTTOM
// to its ends; TB_ENDTRACK (the key let go) only notifies.
bool Win32StepTrackbar(HWND control, WORD code);
// Opens or closes a combo box's drop-down list (CB_SHOWDROPDOWN).
bool Win32ShowComboList(HWND control, bool open);
// Replaces an edit field's text as typing would (EN_CHANGE); not for a read-only field.
bool Win32TypeText(HWND control, LPCSTR text);
// Focuses and selects row `row` of a list view, as a click on it or its keys do, and scrolls the
// list as little as shows the row whole.
bool Win32FocusListRow(HWND control, int row);
// Scrolls a list view so that row `top` comes first, as its scroll bar or the wheel do; the
// last page stops it.
bool Win32ScrollList(HWND control, int top);
// Starts editing the label of a list view's row (LVN_BEGINLABELEDITA), which is then its focused
// and selected row; only a list with LVS_EDITLABELS edits labels.
bool Win32BeginLabelEdit(HWND control, int row);
// The pointer at client point `at` of `dialog`: WM_MOUSEMOVE (client coordinates of the
// receiver) to the window holding the capture, else to the enabled control under the point, else
// to the dialog itself. Buttons: the MK_* flags.
void Win32PointInDialog(HWND dialog, POINT at, WPARAM buttons);

// The replay's "dialog-text": by the control's kind, types into an edit field, picks the combo
// entry or the tab with that text (runs of blanks count as one, blanks at either end not at
// all), or drags a track bar to the number; false when nothing fits.
bool Win32SetControlByText(HWND control, LPCSTR text);
