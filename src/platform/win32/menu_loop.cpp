// The menu loop messages of a window's menu bar.

#include "platform/win32/menu_loop.h"

#include <vector>

#include "platform/win32/message_api.h"
#include "platform/win32/window_api.h"

namespace {

// Positions from `menu` down to the item `command`, depth first; empty when it is not there.
bool FindPath(HMENU menu, UINT command, std::vector<int>* path, int depth) {
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count && depth < 64; ++position) {
        path->push_back(position);
        if (HMENU submenu = GetSubMenu(menu, position)) {
            if (FindPath(submenu, command, path, depth + 1)) {
                return true;
            }
        } else if ((GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) &
                    MF_SEPARATOR) == 0 &&
                   GetMenuItemID(menu, position) == command) {
            return true;
        }
        path->pop_back();
    }
    return false;
}

}  // namespace

BOOL Win32EnterMenuLoop(HWND window) {
    HMENU bar = GetMenu(window);
    if (bar == nullptr) {
        return FALSE;
    }
    SendMessageA(window, WM_ENTERMENULOOP, FALSE, 0);
    SendMessageA(window, WM_INITMENU, reinterpret_cast<WPARAM>(bar), 0);
    return TRUE;
}

bool Win32MenuItemSelectable(HMENU menu, int position) {
    if (position < 0) {
        return false;
    }
    const UINT state = GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION);
    return state != 0xFFFFFFFFu && (state & (MF_GRAYED | MF_DISABLED | MF_SEPARATOR)) == 0;
}

HMENU Win32OpenMenuPopup(HWND window, HMENU parent, int position) {
    HMENU popup = GetSubMenu(parent, position);
    if (popup == nullptr || !Win32MenuItemSelectable(parent, position)) {
        return nullptr;
    }
    SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup),
                 MAKELPARAM(static_cast<WORD>(position), FALSE));
    return popup;
}

void Win32ExitMenuLoop(HWND window, UINT command) {
    SendMessageA(window, WM_EXITMENULOOP, FALSE, 0);
    if (command != 0) {
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(command), 0), 0);
    }
}

BOOL Win32ChooseMenuCommand(HWND window, int popupIndex, UINT command) {
    if (!Win32EnterMenuLoop(window)) {
        return FALSE;
    }
    UINT chosen = 0;
    HMENU menu = Win32OpenMenuPopup(window, GetMenu(window), popupIndex);
    std::vector<int> path;
    if (menu != nullptr && command != 0 && FindPath(menu, command, &path, 0)) {
        for (std::size_t step = 0; menu != nullptr && step + 1 < path.size(); ++step) {
            menu = Win32OpenMenuPopup(window, menu, path[step]);
        }
        if (menu != nullptr && Win32MenuItemSelectable(menu, path.back())) {
            chosen = command;
        }
    }
    Win32ExitMenuLoop(window, chosen);
    return chosen != 0 ? TRUE : FALSE;
}
