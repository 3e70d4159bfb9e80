#pragma once
// The clipboard (text only) and opening a document or address with the desktop's default
// action. Under test both are recorded instead of reaching the desktop (shell_test_hooks.h).

#include <string>
#include <vector>

#include "platform/winbase/file_api.h"
#include "platform/winbase/win_types.h"

// Clipboard formats.
constexpr UINT CF_TEXT = 1;

// The clipboard belongs to one window at a time between OpenClipboard and CloseClipboard.
BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
BOOL EmptyClipboard();
// CF_TEXT: `data` is a GlobalAlloc block holding NUL-terminated Shift-JIS text; the clipboard
// takes the block (it frees it) and answers it. Needs the clipboard open. The desktop's clipboard
// gets the text as UTF-8 when a display runs.
HANDLE SetClipboardData(UINT format, HANDLE data);
// The block last placed, or null.
HANDLE GetClipboardData(UINT format);

// Opens `file` (a path, a web address or a mailto: link) with the desktop's default action
// (xdg-open), without waiting for it. Answers a value above 32 when it was started.
HINSTANCE ShellExecuteA(HWND window, LPCSTR operation, LPCSTR file, LPCSTR parameters,
                        LPCSTR directory, int showCommand);
