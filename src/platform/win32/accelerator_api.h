#pragma once
// Accelerator tables: keys that stand for commands. TranslateAcceleratorA turns a key message of
// a table entry into WM_COMMAND for a window before the message would be dispatched.

#include "platform/win32/menu_api.h"
#include "platform/win32/message_api.h"

// ACCEL::fVirt. Without FVIRTKEY the key is a character (WM_CHAR, or WM_SYSCHAR with FALT).
constexpr BYTE FVIRTKEY = 0x01;
constexpr BYTE FNOINVERT = 0x02;
constexpr BYTE FSHIFT = 0x04;
constexpr BYTE FCONTROL = 0x08;
constexpr BYTE FALT = 0x10;

struct ACCEL {
    BYTE fVirt;
    WORD key;
    WORD cmd;
};
using LPACCEL = ACCEL*;

// A table of `count` entries (at least 1); null with ERROR_INVALID_PARAMETER otherwise.
HACCEL CreateAcceleratorTableA(const ACCEL* entries, int count);
BOOL DestroyAcceleratorTable(HACCEL table);
// Copies up to `count` entries; with a null buffer, the number of entries. 0 for an unknown
// table.
int CopyAcceleratorTableA(HACCEL table, ACCEL* entries, int count);

// Accelerator resources: the program registers each table by id at start; LoadAcceleratorsA
// makes a table from it (destroy it with DestroyAcceleratorTable). A name that is no
// MAKEINTRESOURCEA id, or an id with no table, fails with ERROR_RESOURCE_NAME_NOT_FOUND.
void Win32RegisterAcceleratorResource(WORD id, const ACCEL* entries, int count);
HACCEL LoadAcceleratorsA(HINSTANCE instance, LPCSTR name);

// A WM_KEYDOWN or WM_SYSKEYDOWN whose virtual key matches an FVIRTKEY entry with exactly that
// entry's Shift, Ctrl and Alt state (GetKeyState at this message; repeats count too), or a
// WM_CHAR / WM_SYSCHAR of a character entry, is translated: when `window` has a menu bar it gets
// WM_INITMENU first, and unless the command is an item of that bar that is greyed or disabled,
// WM_COMMAND with MAKEWPARAM(cmd, 1) and lParam 0 is sent to `window`. The first matching entry
// wins. Non-zero when the message was translated (it must then not be dispatched), 0 otherwise.
int TranslateAcceleratorA(HWND window, HACCEL table, LPMSG message);
