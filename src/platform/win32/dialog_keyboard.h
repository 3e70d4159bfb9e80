#pragma once
// The keyboard of dialogs, as the desktop's dialog manager answers it: the modal loop offers it
// every key of the dialog it runs, and the presentation every key of a dialog it draws.
//
// - The focus (dialog_focus.h) starts on the first tab stop, or where WM_INITDIALOG put it when
//   that answered FALSE. Tab and Shift+Tab move it to the next and the previous tab stop,
//   wrapping, through the controls of the pages inside the dialog too.
// - A focused combo box, track bar, tab control or list view takes its own keys (control_keys.h).
//   On a button the arrow keys move the focus among the buttons of its group (from a WS_GROUP
//   control up to the next one), wrapping, and a radio button they reach is chosen.
// - Space clicks the focused button. Return presses the focused push button, else the default
//   button. Escape closes the dialog (WM_CLOSE), or only the open list of a combo box.
// - A mnemonic, "&" before a letter or digit in a control's text, answers Alt with that key, and
//   the key alone while the focus is not in an edit field: a check box or radio button takes the
//   focus and is clicked, a push button is pressed, and a static text or group box sends the
//   focus to the next tab stop after it. Its next press goes on to the next control with the
//   same key.
// Every control is worked through dialog_input.h, so that the dialog procedures hear exactly
// what the mouse makes them hear.

#include "platform/win32/message_api.h"
#include "platform/winbase/win_types.h"

// True when `message` (a key, or the character of one) was the dialog's. False for a key or
// character that belongs to the typing of the focused edit field, which the caller hands to the
// field, and for any message that is no key.
bool Win32DialogKey(HWND dialog, const MSG& message);
// The push button that Return presses now: the focused push button, else the default button
// (dialog_windows.h DefaultButtonId; no message is sent, so a presentation may ask while it
// draws); null when there is none.
HWND Win32ReturnButton(HWND dialog);
