// Buttons (push buttons, check boxes, radio buttons, group boxes), static texts and icons, and
// edit fields.

#include <algorithm>

#include "platform/win32/control_procedures.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_state.h"

namespace win32_internal {
namespace {

DWORD StyleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
}

DWORD ButtonType(HWND button) {
    return StyleOf(button) & BS_TYPEMASK;
}

bool IsAutoRadio(HWND window) {
    return ControlSnapshot(window).kind == ControlKind::kButton &&
           ButtonType(window) == BS_AUTORADIOBUTTON;
}

// Checks `button` and unchecks the other automatic radio buttons of its group: the siblings from
// the nearest WS_GROUP at or before it up to the next WS_GROUP.
void CheckInGroup(HWND button) {
    std::vector<HWND> siblings = ChildWindowsOf(GetParent(button));
    std::size_t first = 0;
    std::size_t at = siblings.size();
    for (std::size_t i = 0; i < siblings.size(); ++i) {
        if ((StyleOf(siblings[i]) & WS_GROUP) != 0 && at == siblings.size()) {
            first = i;
        }
        if (siblings[i] == button) {
            at = i;
        }
    }
    for (std::size_t i = first; i < siblings.size(); ++i) {
        if (i > at && (StyleOf(siblings[i]) & WS_GROUP) != 0) {
            break;
        }
        if (IsAutoRadio(siblings[i])) {
            SendMessageA(siblings[i], BM_SETCHECK, siblings[i] == button ? BST_CHECKED : 0, 0);
        }
    }
}

// A click by the user: automatic boxes change their state, then the parent hears BN_CLICKED.
void Click(HWND button) {
    if ((StyleOf(button) & WS_DISABLED) != 0) {
        return;
    }
    switch (ButtonType(button)) {
        case BS_AUTOCHECKBOX:
            ChangeControl(button, [](ControlState& s) { s.check = s.check == 0 ? 1 : 0; });
            break;
        case BS_AUTO3STATE:
            ChangeControl(button, [](ControlState& s) { s.check = (s.check + 1) % 3; });
            break;
        case BS_AUTORADIOBUTTON:
            CheckInGroup(button);
            break;
        case BS_GROUPBOX:
            return;
        default:
            break;
    }
    NotifyParentCommand(button, BN_CLICKED);
}

}  // namespace

LRESULT ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            AddControlState(button, ControlKind::kButton);
            return 0;
        case BM_GETCHECK:
            return ControlSnapshot(button).check;
        case BM_SETCHECK:
            ChangeControl(button, [&](ControlState& s) {
                s.check = static_cast<int>(wParam <= BST_INDETERMINATE ? wParam : BST_CHECKED);
            });
            return 0;
        case BM_CLICK:
            Click(button);
            return 0;
        default:
            return ControlDefault(button, message, wParam, lParam);
    }
}

LRESULT StaticProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            AddControlState(control, ControlKind::kStatic);
            return 0;
        case STM_SETICON: {
            HICON previous = nullptr;
            ChangeControl(control, [&](ControlState& s) {
                previous = s.icon;
                s.icon = reinterpret_cast<HICON>(wParam);
            });
            return reinterpret_cast<LRESULT>(previous);
        }
        case STM_GETICON:
            return reinterpret_cast<LRESULT>(ControlSnapshot(control).icon);
        default:
            return ControlDefault(control, message, wParam, lParam);
    }
}

LRESULT EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            AddControlState(edit, ControlKind::kEdit);
            return 0;
        case EM_SETSEL: {
            // -1 as the start removes the selection; an end of -1 runs to the end of the text.
            const int length = GetWindowTextLengthA(edit);
            int start = static_cast<int>(static_cast<std::intptr_t>(wParam));
            int end = static_cast<int>(lParam);
            if (start < 0) {
                start = end = 0;
            }
            if (end < 0 || end > length) {
                end = length;
            }
            start = std::min(start, length);
            ChangeControl(edit, [&](ControlState& s) {
                s.selStart = std::min(start, end);
                s.selEnd = std::max(start, end);
            });
            return 0;
        }
        case EM_GETSEL: {
            const ControlState state = ControlSnapshot(edit);
            if (wParam != 0) {
                *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(state.selStart);
            }
            if (lParam != 0) {
                *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(state.selEnd);
            }
            return MAKELONG(static_cast<WORD>(state.selStart), static_cast<WORD>(state.selEnd));
        }
        case EM_SETREADONLY: {
            const DWORD style = StyleOf(edit);
            SetWindowLongPtrA(
                edit, GWL_STYLE,
                static_cast<LONG_PTR>(wParam != 0 ? style | ES_READONLY : style & ~ES_READONLY));
            return TRUE;
        }
        case EM_LIMITTEXT:
            return 0;
        default:
            return ControlDefault(edit, message, wParam, lParam);
    }
}

}  // namespace win32_internal
