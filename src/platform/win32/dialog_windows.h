#pragma once
// Internal to src/platform: the dialog windows behind dialog_api.h.

#include "platform/win32/dialog_api.h"

namespace win32_internal {

// Makes the dialog window and its controls and sends WM_INITDIALOG; null on failure.
HWND CreateDialogWindow(const DialogTemplate& dialog, HWND parent, DLGPROC procedure, LPARAM param,
                        bool modal, WORD resource);
// True once EndDialog was called (or for a window that is no dialog); *result its value.
bool DialogEnded(HWND dialog, INT_PTR* result);
WORD DialogResourceId(HWND dialog);
bool IsDialogWindow(HWND window);
// The innermost modal dialog, null when none runs.
HWND ActiveModalDialog();
// No user can answer: the default push button is clicked (WM_CLOSE without one).
void PressDefaultButton(HWND dialog);
// A modal dialog that must end now ends with IDCANCEL.
void AbandonDialog(HWND dialog);

}  // namespace win32_internal
