#pragma once
// Dialogs as a control model. A dialog template (registered as a resource by id) lists the
// dialog's caption, size and controls; DialogBoxParamA and CreateDialogParamA make the dialog
// window with its controls as child windows, send WM_INITDIALOG and hand every message to the
// dialog procedure, with the default dialog behaviour behind it (WM_CLOSE becomes IDCANCEL,
// WM_NEXTDLGCTL moves the focus). A top-level dialog keeps one focused control (SetFocus,
// GetFocus; dialog_focus.h), which the keyboard works from (dialog_keyboard.h): the first tab
// stop once WM_INITDIALOG answers TRUE, else wherever the procedure put it.
//
// Where a dialog is seen: a modal dialog with an owner is drawn inside its owner's window (it gets
// no desktop window of its own); one without an owner, and every modeless top-level dialog, is a
// window of its own on the desktop. The presentation (ui hooks, ui_hooks.h) draws them and runs
// the modal loop; without one, the modal
// loop only dispatches messages (timers go on) and a test drives the dialog through its idle
// hook. A dialog that no display can show and no test drives is answered by its default push
// button at once, with a line on standard error, so that nothing waits for a user who is not
// there.
//
// A dialog procedure returns non-zero for a message it handled; for WM_INITDIALOG and WM_NOTIFY
// that value is the answer (there is no separate message result).
//
// Positions in templates are dialog units: one horizontal unit is a quarter of the dialog font's
// average character width, one vertical unit an eighth of its height (kDialogBaseUnitX/Y).

#include "platform/win32/controls_api.h"
#include "platform/winbase/win_types.h"

using INT_PTR = std::intptr_t;
using DLGPROC = INT_PTR (*)(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Dialog styles.
constexpr DWORD DS_SETFONT = 0x40;
constexpr DWORD DS_MODALFRAME = 0x80;
constexpr DWORD DS_CONTROL = 0x400;
constexpr DWORD DS_CENTER = 0x800;

constexpr DWORD ERROR_CONTROL_ID_NOT_FOUND = 1421;

// Pixels per 4 horizontal and per 8 vertical dialog units.
constexpr int kDialogBaseUnitX = 6;
constexpr int kDialogBaseUnitY = 13;

// Default button messages.
constexpr UINT DM_GETDEFID = WM_USER;
constexpr WORD DC_HASDEFID = 0x534B;

struct DialogItemTemplate {
    WORD id;
    const char* className;  // one of controls_api.h
    const char* text;       // Shift-JIS; null for none
    DWORD style;            // WS_CHILD and WS_VISIBLE are added
    short x, y, cx, cy;     // dialog units
};

struct DialogTemplate {
    DWORD style;
    const char* caption;  // Shift-JIS
    short x, y, cx, cy;   // dialog units; x, y from the owner's client origin (DS_CENTER centres)
    const DialogItemTemplate* items;
    int itemCount;
};

// Registers the template `dialog` (kept by pointer: it must live as long as the program) as
// dialog resource `id`; null removes it.
void Win32RegisterDialogResource(WORD id, const DialogTemplate* dialog);
const DialogTemplate* Win32FindDialogResource(LPCSTR name);

// Runs the dialog modally: the owner is disabled meanwhile; returns the EndDialog result, or -1
// when the template does not exist or the dialog cannot be made.
INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC procedure,
                        LPARAM param);
// A modeless dialog (a child dialog when the template has WS_CHILD, e.g. a page of a tab
// control). Null on failure.
HWND CreateDialogParamA(HINSTANCE instance, LPCSTR name, HWND parent, DLGPROC procedure,
                        LPARAM param);
// Ends a modal dialog once its procedure returns; a modeless dialog is only hidden.
BOOL EndDialog(HWND dialog, INT_PTR result);

HWND GetDlgItem(HWND dialog, int id);
int GetDlgCtrlID(HWND control);
BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text);
UINT GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int size);
LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
// Sets WS_DISABLED and sends WM_ENABLE; returns whether the window was disabled before.
BOOL EnableWindow(HWND window, BOOL enable);
BOOL IsWindowEnabled(HWND window);
// Dialog units to pixels.
BOOL MapDialogRect(HWND dialog, RECT* rect);
