#pragma once
// The game window's menu bar (menu 102): the state of its items each time a popup opens, and the
// bar that appears in full screen while the pointer rests on the top row of the screen.

#include "platform/winbase/win_types.h"

// Command ids whose items change state when a popup opens.
constexpr WORD kCommandFastForward = 40066;
constexpr WORD kCommandWebSite = 40095;
constexpr WORD kCommandHandsFree = 40096;
constexpr WORD kCommandFullScreen = 40100;

// WM_INITMENUPOPUP: sets the check marks and the enabled state of the items on `popup` and on
// the main menu.
void UpdateMenuItemStates(HMENU popup);
// WM_MOUSEMOVE in full screen with a device: shows the menu bar (dialog mode on) when the
// pointer is on the top row with no button held and no menu is attached; otherwise takes an
// attached bar away again (dialog mode off). `buttons`: the MK_* flags of the message.
void UpdateFullScreenMenuBar(HWND window, WPARAM buttons, POINT screen);
