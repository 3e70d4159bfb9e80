#pragma once
// Internal to src/platform: the dialog windows behind dialog_api.h.

#include "platform/win32/dialog_api.h"

namespace win32_internal {

// Makes the dialog window and its controls and sends WM_INITDIALOG; null on failure.
HWND CreateDialogWindow(const DialogTemplate& dialog, HWND parent, DLGPROC procedure, LPARAM param,
                        bool modal, WORD resource);
// DialogBoxParamA with a template that is no resource (`resource` names it in lines on standard
// error, 0 for none).
INT_PTR RunModalDialog(const DialogTemplate& dialog, HWND owner, DLGPROC procedure, LPARAM param,
                       WORD resource);
// True once EndDialog was called (or for a window that is no dialog); *result its value.
bool DialogEnded(HWND dialog, INT_PTR* result);
WORD DialogResourceId(HWND dialog);
bool IsDialogWindow(HWND window);
// The innermost modal dialog, null when none runs.
HWND ActiveModalDialog();
// The default button's id, as DM_GETDEFID answers it: the first BS_DEFPUSHBUTTON, else IDOK
// when there is such a button; 0 for none.
int DefaultButtonId(HWND dialog);
// No user can answer: the default push button is clicked (WM_CLOSE without one).
void PressDefaultButton(HWND dialog);
// A modal dialog that must end now ends with IDCANCEL.
void AbandonDialog(HWND dialog);

}  // namespace win32_internal
