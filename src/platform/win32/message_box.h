#pragma once
// Message boxes. Texts and captions are Shift-JIS, shown as UTF-8 in SDL's own message box.
// Under test a queue of scripted answers replies instead (shell_test_hooks.h); a box with no
// answer queued, or one that no display can show, answers its default button at once and writes
// one line to standard error, so that nothing ever waits for a user who is not there.

#include "platform/winbase/win_types.h"

// Buttons (style & MB_TYPEMASK).
constexpr UINT MB_OK = 0x00000000u;
constexpr UINT MB_OKCANCEL = 0x00000001u;
constexpr UINT MB_ABORTRETRYIGNORE = 0x00000002u;
constexpr UINT MB_YESNOCANCEL = 0x00000003u;
constexpr UINT MB_YESNO = 0x00000004u;
constexpr UINT MB_RETRYCANCEL = 0x00000005u;
constexpr UINT MB_TYPEMASK = 0x0000000Fu;
// Icons (style & MB_ICONMASK).
constexpr UINT MB_ICONHAND = 0x00000010u;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT MB_ICONQUESTION = 0x00000020u;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030u;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONASTERISK = 0x00000040u;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_ICONMASK = 0x000000F0u;
// Default button (style & MB_DEFMASK): the first, second or third button of the row.
constexpr UINT MB_DEFBUTTON1 = 0x00000000u;
constexpr UINT MB_DEFBUTTON2 = 0x00000100u;
constexpr UINT MB_DEFBUTTON3 = 0x00000200u;
constexpr UINT MB_DEFMASK = 0x00000F00u;
constexpr UINT MB_APPLMODAL = 0x00000000u;
constexpr UINT MB_SYSTEMMODAL = 0x00001000u;
constexpr UINT MB_TASKMODAL = 0x00002000u;
constexpr UINT MB_SETFOREGROUND = 0x00010000u;
constexpr UINT MB_TOPMOST = 0x00040000u;

// Answers.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Shows the box modally over `owner` (may be null) and returns the button chosen. Its buttons
// read as the desktop's Japanese boxes do ("はい(Y)", "いいえ(N)", "キャンセル", ...); a box drawn
// over a window answers their keys (Y, N, ...) as a dialog answers mnemonics. Closing the
// box without a button answers IDCANCEL where the box has Cancel, IDOK for MB_OK, else the
// default button. A text that is not valid Shift-JIS is shown with its bytes replaced by '?'.
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style);
