// The menu loop messages of a window's menu bar.

#include "platform/win32/menu_loop.h"

#include <vector>

#include "platform/win32/menu_tracker.h"
#include "platform/win32/message_api.h"
#include "platform/win32/message_keys.h"
#include "platform/win32/modal_loop.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_placement.h"
#include "platform/win32/window_state.h"
#include "platform/winbase/file_api.h"

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

namespace win32_internal {
namespace {

std::vector<MenuTracker*> activeTrackers;

struct MenuSession {
    MenuTracker* tracker = nullptr;
    bool done = false;
    ModalPresenter drawing;
};

// The top-left corner of the window rectangle on the screen.
POINT WindowOrigin(HWND window) {
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    origin.y -= MenuBarRowsOf(window);
    return origin;
}

// The message's pointer position in the tracked window's coordinates.
POINT TrackedPoint(HWND tracked, const MSG& message) {
    POINT at{GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)};
    const bool nonClient = message.message >= WM_NCMOUSEMOVE && message.message <= WM_NCMBUTTONUP;
    if (!nonClient && message.hwnd != nullptr) {
        ClientToScreen(message.hwnd, &at);
    }
    const POINT origin = WindowOrigin(tracked);
    return POINT{at.x - origin.x, at.y - origin.y};
}

bool TakeMenuInput(const MSG& message, void* context) {
    auto& session = *static_cast<MenuSession*>(context);
    MenuTracker& tracker = *session.tracker;
    MenuTrackResult result = MenuTrackResult::kOpen;
    switch (message.message) {
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE:
            result = tracker.OnMouseMove(TrackedPoint(tracker.window(), message));
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
            result = tracker.OnButtonDown(TrackedPoint(tracker.window(), message));
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_NCLBUTTONUP:
        case WM_NCRBUTTONUP:
            result = tracker.OnButtonUp(TrackedPoint(tracker.window(), message));
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            TranslateMessage(&message);
            result = tracker.OnKey(static_cast<UINT>(message.wParam));
            break;
        case WM_CHAR:
        case WM_SYSCHAR:
            result = tracker.OnChar(static_cast<char>(message.wParam));
            break;
        default:
            break;
    }
    if (result != MenuTrackResult::kOpen) {
        session.done = true;
    }
    return true;
}

void RunLoop(MenuSession& session, bool drawn) {
    ModalPresenter presenter;
    presenter.takeInput = TakeMenuInput;
    presenter.context = &session;
    presenter.refresh = [](bool changed, void* context) {
        auto& s = *static_cast<MenuSession*>(context);
        if (s.drawing.refresh != nullptr) {
            s.drawing.refresh(changed, s.drawing.context);
        }
    };
    presenter.userPresent = [](void* context) {
        auto& s = *static_cast<MenuSession*>(context);
        return s.drawing.userPresent != nullptr && s.drawing.userPresent(s.drawing.context);
    };
    ModalLoop loop;
    loop.done = &session.done;
    loop.presenter = &presenter;
    loop.context = &session;
    loop.showArrow = drawn;
    loop.unattended = [](void* context) {
        auto& s = *static_cast<MenuSession*>(context);
        s.tracker->Cancel();
        s.done = true;
    };
    loop.abandon = loop.unattended;
    RunModalLoop(loop);
}

SIZE WindowSize(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return SIZE{RectWidth(rect), RectHeight(rect)};
}

}  // namespace

MenuTracker* ActiveMenuTracker(HWND window) {
    for (auto it = activeTrackers.rbegin(); it != activeTrackers.rend(); ++it) {
        if ((*it)->window() == window) {
            return *it;
        }
    }
    return nullptr;
}

UINT RunMenuTracking(MenuTracker* tracker) {
    MenuSession session;
    session.tracker = tracker;
    activeTrackers.push_back(tracker);
    const UiHooks* hooks = GetUiHooks();
    const bool drawn = hooks != nullptr && hooks->beginMenu != nullptr &&
                       hooks->beginMenu(tracker->window(), &session.drawing);
    RunLoop(session, drawn);
    if (drawn && hooks->endMenu != nullptr) {
        hooks->endMenu(tracker->window());
    }
    std::erase(activeTrackers, tracker);
    return tracker->chosen();
}

}  // namespace win32_internal

using win32_internal::MenuTracker;
using win32_internal::MenuTrackResult;

void Win32RunMenuBar(HWND window, bool byMouse, POINT screen, char key) {
    if (GetMenu(window) == nullptr || !Win32EnterMenuLoop(window)) {
        return;
    }
    MenuTracker tracker = MenuTracker::ForBar(window, win32_internal::WindowSize(window));
    MenuTrackResult result = MenuTrackResult::kOpen;
    if (byMouse) {
        const POINT origin = win32_internal::WindowOrigin(window);
        result = tracker.OnButtonDown(POINT{screen.x - origin.x, screen.y - origin.y});
    } else if (key != 0) {
        result = tracker.OnChar(key);
        if (result == MenuTrackResult::kOpen && tracker.levels().size() < 2) {
            result = tracker.Cancel();  // no title has that mnemonic
        }
    } else {
        tracker.HighlightBarItem(0);
    }
    UINT command = 0;
    if (result == MenuTrackResult::kOpen) {
        command = win32_internal::RunMenuTracking(&tracker);
    }
    Win32ExitMenuLoop(window, command);
}

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND window, LPTPMPARAMS) {
    if (IsMenu(menu) == FALSE || IsWindow(window) == FALSE) {
        SetLastError(IsMenu(menu) == FALSE ? ERROR_INVALID_MENU_HANDLE
                                           : ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    const bool notify = (flags & TPM_NONOTIFY) == 0;
    if (notify) {
        SendMessageA(window, WM_ENTERMENULOOP, TRUE, 0);
    }
    const POINT origin = win32_internal::WindowOrigin(window);
    MenuTracker tracker = MenuTracker::ForPopup(window, menu, POINT{x - origin.x, y - origin.y},
                                                flags, win32_internal::WindowSize(window));
    const UINT command = win32_internal::RunMenuTracking(&tracker);
    if (notify) {
        SendMessageA(window, WM_EXITMENULOOP, TRUE, 0);
    }
    if ((flags & TPM_RETURNCMD) != 0) {
        return static_cast<BOOL>(command);
    }
    if (command != 0) {
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(command), 0), 0);
    }
    return TRUE;
}
