#pragma once
// The menu loop of a window's menu bar, as the window procedure sees it. A presentation of the
// menu bar drives these calls when the user opens the bar and picks an item; tests drive the same
// calls without drawing anything.

#include "platform/win32/menu_api.h"

// Sends WM_ENTERMENULOOP (wParam FALSE) and WM_INITMENU (wParam the bar). FALSE, with nothing
// sent, when the window has no menu bar.
BOOL Win32EnterMenuLoop(HWND window);
// Opens the submenu at `position` of `parent` (the bar or an open popup): sends WM_INITMENUPOPUP
// with the submenu and MAKELPARAM(position, FALSE). Null, with nothing sent, when that item has
// no submenu or is greyed or disabled.
HMENU Win32OpenMenuPopup(HWND window, HMENU parent, int position);
// Whether the item may be chosen now: a string item that is neither greyed nor disabled.
bool Win32MenuItemSelectable(HMENU menu, int position);
// Sends WM_EXITMENULOOP; then, for a command other than 0, posts WM_COMMAND with
// MAKEWPARAM(command, 0) and lParam 0: the choice reaches the window after its menu has closed.
void Win32ExitMenuLoop(HWND window, UINT command);

// The menu bar's loop as the default window procedure runs it for WM_SYSCOMMAND SC_MOUSEMENU
// (`byMouse`: the popup under `screen` opens) and SC_KEYMENU (`key`: the popup with that
// mnemonic opens; 0 highlights the first title). Sends WM_ENTERMENULOOP, WM_INITMENU,
// WM_INITMENUPOPUP as popups open and WM_EXITMENULOOP; the chosen command is posted as
// WM_COMMAND. Nothing happens for a window without a menu.
void Win32RunMenuBar(HWND window, bool byMouse, POINT screen, char key);

// One whole pass: enters the loop, opens the bar's popup `popupIndex`, then each submenu on the
// way to the item with the id `command` (0: none, the menu is just closed), and picks that item
// when it and every submenu on its way are selectable after their WM_INITMENUPOPUP. Ends the loop
// in every case. TRUE when the command was posted.
BOOL Win32ChooseMenuCommand(HWND window, int popupIndex, UINT command);
