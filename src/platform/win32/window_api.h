#pragma once
// Window classes and window handles with Windows' semantics. A window belongs to the thread that
// created it: its procedure runs on that thread and its posted messages and timers go to that
// thread's queue (message_api.h). Errors are reported through GetLastError.
//
// Coordinates are kept as given; the client area is the whole window (no frame, no menu bar).

#include <string>

#include "platform/winbase/win_types.h"

using WNDPROC = LRESULT (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Error codes of the window calls (GetLastError).
constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;
constexpr DWORD ERROR_TLW_WITH_WSCHILD = 1406;
constexpr DWORD ERROR_CANNOT_FIND_WND_CLASS = 1407;
constexpr DWORD ERROR_CLASS_ALREADY_EXISTS = 1410;
constexpr DWORD ERROR_CLASS_DOES_NOT_EXIST = 1411;
constexpr DWORD ERROR_CLASS_HAS_WINDOWS = 1412;
constexpr DWORD ERROR_INVALID_INDEX = 1413;

// Window styles.
constexpr DWORD WS_OVERLAPPED = 0x00000000u;
constexpr DWORD WS_POPUP = 0x80000000u;
constexpr DWORD WS_CHILD = 0x40000000u;
constexpr DWORD WS_MINIMIZE = 0x20000000u;
constexpr DWORD WS_VISIBLE = 0x10000000u;
constexpr DWORD WS_DISABLED = 0x08000000u;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000u;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000u;
constexpr DWORD WS_MAXIMIZE = 0x01000000u;
constexpr DWORD WS_BORDER = 0x00800000u;
constexpr DWORD WS_DLGFRAME = 0x00400000u;
constexpr DWORD WS_CAPTION = WS_BORDER | WS_DLGFRAME;
constexpr DWORD WS_VSCROLL = 0x00200000u;
constexpr DWORD WS_HSCROLL = 0x00100000u;
constexpr DWORD WS_SYSMENU = 0x00080000u;
constexpr DWORD WS_THICKFRAME = 0x00040000u;
constexpr DWORD WS_GROUP = 0x00020000u;
constexpr DWORD WS_TABSTOP = 0x00010000u;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000u;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000u;
constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

// Extended window styles.
constexpr DWORD WS_EX_TOPMOST = 0x00000008u;
constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080u;
constexpr DWORD WS_EX_APPWINDOW = 0x00040000u;

// Class styles.
constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_DBLCLKS = 0x0008;

// The system colour index of window backgrounds; a class brush is (HBRUSH)(COLOR_WINDOW + 1).
constexpr int COLOR_WINDOW = 5;

// Position or size chosen by the system.
constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000u);

// Indices of Get/SetWindowLong(Ptr)A.
constexpr int GWLP_WNDPROC = -4;
constexpr int GWLP_HINSTANCE = -6;
constexpr int GWLP_HWNDPARENT = -8;
constexpr int GWLP_ID = -12;
constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;
constexpr int GWLP_USERDATA = -21;

// ShowWindow commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWMINNOACTIVE = 7;
constexpr int SW_SHOWNA = 8;
constexpr int SW_RESTORE = 9;
constexpr int SW_SHOWDEFAULT = 10;

struct WNDCLASSEXA {
    UINT cbSize;  // sizeof(WNDCLASSEXA)
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
    HICON hIconSm;
};

struct WNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
};

// lParam of WM_NCCREATE and WM_CREATE; valid only during those calls.
struct CREATESTRUCTA {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCSTR lpszName;
    LPCSTR lpszClass;
    DWORD dwExStyle;
};

// A class name may also be given as its atom in the low word of the pointer.
inline LPCSTR MAKEINTATOM(ATOM atom) {
    return reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(atom));
}

// Class names compare without regard to case. A name already registered is refused with
// ERROR_CLASS_ALREADY_EXISTS; the result is the class atom, 0 on failure.
ATOM RegisterClassExA(const WNDCLASSEXA* windowClass);
ATOM RegisterClassA(const WNDCLASSA* windowClass);
// Refused with ERROR_CLASS_HAS_WINDOWS while windows of the class exist.
BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance);

// Sends WM_NCCREATE (0 fails the creation) and WM_CREATE (-1 destroys the window and fails the
// creation), both with a CREATESTRUCTA carrying `param`; a WS_VISIBLE window is then shown.
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param);
// Only the creating thread may destroy a window. Sends WM_DESTROY, destroys the children, then
// sends WM_NCDESTROY; the window's timers, posted and pending sent messages are dropped and the
// handle is invalid afterwards.
BOOL DestroyWindow(HWND window);

// The default procedure: WM_NCCREATE answers TRUE, WM_PAINT validates, WM_CLOSE destroys the
// window, WM_SYSCOMMAND SC_CLOSE sends WM_CLOSE, SC_MINIMIZE and SC_RESTORE show the window so,
// SC_MOUSEMENU and SC_KEYMENU run the menu bar's loop (menu_loop.h). The menu bar is entered by
// WM_NCLBUTTONDOWN on it (HTMENU: SC_MOUSEMENU), by Alt or F10 pressed and released alone
// (WM_SYSKEYUP: SC_KEYMENU) and by Alt with a title's mnemonic (WM_SYSCHAR: SC_KEYMENU with the
// character). Anything else gives 0.
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Calls `procedure` (a former GWLP_WNDPROC of a subclassed window); 0 for a null procedure.
LRESULT CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// True from the start of WM_NCCREATE until WM_NCDESTROY has returned.
BOOL IsWindow(HWND window);
HWND GetParent(HWND window);

// Setting GWL_STYLE or GWL_EXSTYLE applies the style to the window's SDL window at once
// (window_placement.h). Get/SetWindowLongPtrA: GWLP_WNDPROC, GWLP_HINSTANCE, GWLP_HWNDPARENT (read
// only), GWLP_ID, GWL_STYLE, GWL_EXSTYLE, GWLP_USERDATA. Set returns the previous value and clears
// the last error, so that a previous value of 0 can be told from a failure. The visible and
// minimised bits of GWL_STYLE follow ShowWindow only. A null GWLP_WNDPROC is refused.
LONG_PTR GetWindowLongPtrA(HWND window, int index);
LONG_PTR SetWindowLongPtrA(HWND window, int index, LONG_PTR value);
// The 32-bit forms refuse the pointer indices (GWLP_WNDPROC, GWLP_HINSTANCE, GWLP_HWNDPARENT)
// with ERROR_INVALID_INDEX rather than truncate a pointer.
LONG GetWindowLongA(HWND window, int index);
LONG SetWindowLongA(HWND window, int index, LONG value);

// Sends WM_SHOWWINDOW when the visibility changes and WM_SIZE (SIZE_MINIMIZED, or SIZE_RESTORED
// with the client size) when the window is minimised or leaves that state; returns whether the
// window was visible.
BOOL ShowWindow(HWND window, int command);
// The window has WS_VISIBLE, and so have all its parents when it is a WS_CHILD window.
BOOL IsWindowVisible(HWND window);
BOOL IsIconic(HWND window);

// Titles are Shift-JIS. GetWindowTextA copies at most size - 1 bytes, never half of a
// double-byte character, NUL-terminates and returns the bytes copied.
BOOL SetWindowTextA(HWND window, LPCSTR text);
int GetWindowTextA(HWND window, LPSTR buffer, int size);
int GetWindowTextLengthA(HWND window);

// A top-level (not WS_CHILD) window by class and title (each null for any), both compared without
// regard to case; null when none exists. A search by class name also finds the main window
// (WS_EX_APPWINDOW) of another running copy of the program (single_instance.h); the handle it
// answers then names no window of this process.
HWND FindWindowA(LPCSTR className, LPCSTR windowName);

// The client rectangle is (0, 0, width, height); the window rectangle is its position and size.
BOOL GetClientRect(HWND window, RECT* rect);
BOOL GetWindowRect(HWND window, RECT* rect);

// Brings up the display (SDL video): visible top-level windows then get a window on the screen.
// The program calls it once at start; without it (as in tests) windows exist with no screen
// behind them. FALSE when no display is available: SDL video cannot start, or it fell back to a
// headless driver that SDL_VIDEODRIVER did not name; `problem` (may be null) then says which.
BOOL Win32StartDisplay(std::string* problem);
