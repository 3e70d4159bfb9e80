#pragma once
// Placement of top-level windows: position and size, styles applied to the SDL window behind a
// window, coordinate conversion, the foreground window and the screen size.
//
// Windows here have no frame of their own: the desktop draws any decoration outside the SDL
// window, and a captioned window is kept where that decoration (a window manager's title bar and
// borders) lies on the screen: asked for a position that would put it off the screen, the window
// goes as near as keeps it on, and learns of that as of any move (WM_MOVE). The only non-client
// part is the menu bar: a top-level window with a menu attached has its bar in the top
// kMenuBarHeight rows of its window rectangle and its client area below; without a menu the
// window and client rectangles have the same size. Pointer input over the bar arrives as the
// non-client messages (WM_NCMOUSEMOVE, WM_NCLBUTTONDOWN ... with HTMENU). A top-level window with
// WS_POPUP and without WS_CAPTION is a full-screen window: its SDL window covers the whole display
// it is on, undecorated (the desktop's own full screen where a window manager carries it out, else
// a window moved over the display), showing the client area scaled to fit with its aspect kept,
// centred between black bars; pointer positions come back through the same scale and offset. Its
// client area is the whole screen, at screen position (0, 0).

#include "platform/winbase/win_types.h"

// Height in pixels of a window's menu bar.
constexpr LONG kMenuBarHeight = 19;

// SetWindowPos flags.
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOREDRAW = 0x0008;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_FRAMECHANGED = 0x0020;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;
constexpr UINT SWP_NOOWNERZORDER = 0x0200;

// SetWindowPos insert-after values; the Z order is not modelled.
inline const HWND HWND_TOP = nullptr;
inline const HWND HWND_BOTTOM = reinterpret_cast<HWND>(static_cast<std::intptr_t>(1));
inline const HWND HWND_TOPMOST = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1));
inline const HWND HWND_NOTOPMOST = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-2));

// WM_SIZE, wParam.
constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;
constexpr WPARAM SIZE_MAXIMIZED = 2;

// Screen metrics (Win32ScreenMetric).
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXFRAME = 32;
constexpr int SM_CYFRAME = 33;
constexpr int SM_CXMAXIMIZED = 61;
constexpr int SM_CYMAXIMIZED = 62;

// Moves and sizes a window; sends WM_MOVE (client origin in screen coordinates) and WM_SIZE
// (SIZE_RESTORED, client width and height) when they change, and applies the window's style to
// its SDL window (SWP_FRAMECHANGED applies it even when nothing moved). A full-screen window
// stays at (0, 0). SWP_SHOWWINDOW and SWP_HIDEWINDOW show or hide it.
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);

// The window rectangle for a client rectangle: with `menu`, its top moves up by the menu bar;
// otherwise unchanged, as windows have no frame (see above). FALSE for a null rectangle.
BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle);
BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu);

// Between client and screen coordinates of a window; FALSE for an unknown window.
BOOL ScreenToClient(HWND window, POINT* point);
BOOL ClientToScreen(HWND window, POINT* point);

// The active top-level window of this program, null while the program is in the background.
HWND GetForegroundWindow();
HWND GetActiveWindow();
// Raises the window's SDL window and asks the desktop for the focus; the activation itself
// arrives as WM_ACTIVATEAPP and WM_ACTIVATE when the desktop grants it.
BOOL SetForegroundWindow(HWND window);
// Keys go to the active window; inside a dialog, to its focused control. For a control of a
// dialog (or of a child dialog inside it) SetFocus makes it the dialog's focused control and
// answers the one focused before (null when none). For any other window it asks for the
// window's activation as SetForegroundWindow does and answers the window that was active before
// (null when none); null and nothing asked for an unknown window.
HWND SetFocus(HWND window);
// The focused control of the innermost modal dialog, else of the active window when that is a
// dialog (the dialog itself when none of its controls has the focus); else the active window.
HWND GetFocus();

// SM_CXSCREEN and SM_CYSCREEN: the client size of a shown full-screen window when there is one,
// else the desktop size from SDL's display mode (800 x 600 when SDL video is not running).
// SM_CXMAXIMIZED and SM_CYMAXIMIZED: the work area, the desktop less its panels (the desktop
// size where SDL cannot tell, or while a test sets the desktop). SM_CXFRAME and SM_CYFRAME: 0,
// as windows have no frame. 0 for any other index.
int Win32ScreenMetric(int index);
