// The user's actions on dialog controls, with the notifications they send.

#include "platform/win32/dialog_input.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/win32/capture_api.h"
#include "platform/win32/control_procedures.h"
#include "platform/win32/dialog_api.h"
#include "platform/win32/dialog_windows.h"
#include "platform/win32/message_keys.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_input.h"
#include "platform/win32/window_placement.h"
#include "platform/win32/window_state.h"

using namespace win32_internal;

namespace {

// The control and every window above it up to its top-level window are enabled and visible.
bool Usable(HWND control) {
    return control != nullptr && IsWindowEnabled(control) != FALSE &&
           IsWindowVisible(control) != FALSE && [&] {
               for (HWND above = GetParent(control); above != nullptr;
                    above = (GetWindowLongPtrA(above, GWL_STYLE) & WS_CHILD) != 0 ? GetParent(above)
                                                                                  : nullptr) {
                   if (IsWindowEnabled(above) == FALSE) {
                       return false;
                   }
               }
               return true;
           }();
}

ControlKind KindOf(HWND control) {
    return ControlSnapshot(control).kind;
}

POINT ClientOriginOnScreen(HWND window) {
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    return origin;
}

}  // namespace

HWND Win32ActiveModalDialog() {
    return ActiveModalDialog();
}

WORD Win32DialogResource(HWND dialog) {
    return DialogResourceId(dialog);
}

HWND Win32FindDialogControl(HWND dialog, int id) {
    if (dialog == nullptr) {
        return nullptr;
    }
    if (HWND control = GetDlgItem(dialog, id)) {
        return control;
    }
    for (HWND child : ChildWindowsOf(dialog)) {
        if (HWND inner = Win32FindDialogControl(child, id)) {
            return inner;
        }
    }
    return nullptr;
}

bool Win32ClickControl(HWND control) {
    if (!Usable(control) || KindOf(control) != ControlKind::kButton) {
        return false;
    }
    SendMessageA(control, BM_CLICK, 0, 0);
    return true;
}

bool Win32ChooseComboItem(HWND control, int index) {
    if (!Usable(control) || KindOf(control) != ControlKind::kComboBox) {
        return false;
    }
    const ControlState state = ControlSnapshot(control);
    if (index < 0 || index >= static_cast<int>(state.items.size())) {
        return false;
    }
    if (state.selection != index) {
        SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        NotifyParentCommand(control, CBN_SELCHANGE);
    }
    return true;
}

bool Win32ChooseTab(HWND control, int index) {
    if (!Usable(control) || KindOf(control) != ControlKind::kTab) {
        return false;
    }
    const ControlState state = ControlSnapshot(control);
    if (index < 0 || index >= static_cast<int>(state.items.size()) || state.selection == index) {
        return index >= 0 && index < static_cast<int>(state.items.size());
    }
    if (NotifyParent(control, TCN_SELCHANGING, nullptr) != 0) {
        return true;
    }
    SendMessageA(control, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    NotifyParent(control, TCN_SELCHANGE, nullptr);
    return true;
}

bool Win32DragTrackbar(HWND control, int position, bool release) {
    if (!Usable(control) || KindOf(control) != ControlKind::kTrackbar) {
        return false;
    }
    SendMessageA(control, TBM_SETPOS, TRUE, position);
    const auto at = static_cast<WORD>(SendMessageA(control, TBM_GETPOS, 0, 0));
    HWND parent = GetParent(control);
    const auto self = reinterpret_cast<LPARAM>(control);
    SendMessageA(parent, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, at), self);
    if (release) {
        SendMessageA(parent, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, at), self);
        SendMessageA(parent, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), self);
    }
    return true;
}

bool Win32StepTrackbar(HWND control, WORD code) {
    if (!Usable(control) || KindOf(control) != ControlKind::kTrackbar) {
        return false;
    }
    const ControlState state = ControlSnapshot(control);
    int position = state.position;
    switch (code) {
        case TB_LINEUP:
            position -= state.lineSize;
            break;
        case TB_LINEDOWN:
            position += state.lineSize;
            break;
        case TB_PAGEUP:
            position -= TrackbarPageSize(state);
            break;
        case TB_PAGEDOWN:
            position += TrackbarPageSize(state);
            break;
        case TB_TOP:
            position = state.rangeMin;
            break;
        case TB_BOTTOM:
            position = state.rangeMax;
            break;
        case TB_ENDTRACK:
            break;
        default:
            return false;
    }
    if (code != TB_ENDTRACK) {
        SendMessageA(control, TBM_SETPOS, TRUE, position);
    }
    SendMessageA(GetParent(control), WM_HSCROLL, MAKEWPARAM(code, 0),
                 reinterpret_cast<LPARAM>(control));
    return true;
}

bool Win32ShowComboList(HWND control, bool open) {
    // A list may always close.
    if (KindOf(control) != ControlKind::kComboBox || (open && !Usable(control))) {
        return false;
    }
    SendMessageA(control, CB_SHOWDROPDOWN, open ? TRUE : FALSE, 0);
    return true;
}

bool Win32TypeText(HWND control, LPCSTR text) {
    if (!Usable(control) || KindOf(control) != ControlKind::kEdit ||
        (GetWindowLongPtrA(control, GWL_STYLE) & ES_READONLY) != 0) {
        return false;
    }
    SetWindowTextA(control, text != nullptr ? text : "");
    NotifyParentCommand(control, EN_CHANGE);
    return true;
}

namespace {

// A row of a usable list view.
bool ListRow(HWND control, int row) {
    return Usable(control) && KindOf(control) == ControlKind::kListView && row >= 0 &&
           row < static_cast<int>(ControlSnapshot(control).rows.size());
}

// The first row shown that a page of `page` rows can start at.
int TopRowWithin(const ControlState& list, int top, int page) {
    return std::clamp(top, 0, std::max(0, static_cast<int>(list.rows.size()) - page));
}

}  // namespace

bool Win32FocusListRow(HWND control, int row) {
    if (!ListRow(control, row)) {
        return false;
    }
    const int page = ListRowsPerPage(control);
    ChangeControl(control, [&](ControlState& s) {
        s.selection = row;
        s.focusedRow = row;
        s.topRow = TopRowWithin(s, std::clamp(s.topRow, row - page + 1, row), page);
    });
    return true;
}

bool Win32ScrollList(HWND control, int top) {
    if (!Usable(control) || KindOf(control) != ControlKind::kListView) {
        return false;
    }
    const int page = ListRowsPerPage(control);
    ChangeControl(control, [&](ControlState& s) { s.topRow = TopRowWithin(s, top, page); });
    return true;
}

bool Win32BeginLabelEdit(HWND control, int row) {
    if ((GetWindowLongPtrA(control, GWL_STYLE) & LVS_EDITLABELS) == 0 ||
        !Win32FocusListRow(control, row)) {
        return false;
    }
    NMLVDISPINFOA info{};
    info.item.iItem = row;
    info.item.mask = LVIF_TEXT;
    NotifyParent(control, LVN_BEGINLABELEDITA, &info.hdr);
    return true;
}

void Win32PointInDialog(HWND dialog, POINT at, WPARAM buttons) {
    const POINT dialogOrigin = ClientOriginOnScreen(dialog);
    const POINT screen{dialogOrigin.x + at.x, dialogOrigin.y + at.y};
    HWND target = GetCapture();
    if (target == nullptr) {
        target = dialog;
        // The innermost enabled, visible child under the point (pages hold controls too).
        for (bool deeper = true; deeper;) {
            deeper = false;
            for (HWND child : ChildWindowsOf(target)) {
                RECT rect{};
                GetWindowRect(child, &rect);
                if (IsWindowVisible(child) != FALSE && IsWindowEnabled(child) != FALSE &&
                    screen.x >= rect.left && screen.x < rect.right && screen.y >= rect.top &&
                    screen.y < rect.bottom &&
                    (KindOf(child) != ControlKind::kButton ||
                     (GetWindowLongPtrA(child, GWL_STYLE) & BS_TYPEMASK) != BS_GROUPBOX)) {
                    target = child;
                    deeper = true;
                    break;
                }
            }
        }
    }
    // The pointer is there now: GetCursorPos answers it while the message is handled.
    SetLastPointerPosition(PointerPosition{dialog, at, screen});
    const POINT origin = ClientOriginOnScreen(target);
    SendMessageA(target, WM_MOUSEMOVE, buttons,
                 MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(screen.x - origin.x)),
                            static_cast<WORD>(static_cast<SHORT>(screen.y - origin.y))));
}

namespace {

// Runs of blanks as one blank, none at either end: an entry matches however its blanks run.
std::string Blanked(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == ' ' || c == '\t') {
            if (!out.empty() && out.back() != ' ') {
                out += ' ';
            }
        } else {
            out += c;
        }
    }
    if (!out.empty() && out.back() == ' ') {
        out.pop_back();
    }
    return out;
}

}  // namespace

bool Win32SetControlByText(HWND control, LPCSTR text) {
    const std::string wanted = text != nullptr ? text : "";
    const ControlState state = ControlSnapshot(control);
    switch (state.kind) {
        case ControlKind::kEdit:
            return Win32TypeText(control, wanted.c_str());
        case ControlKind::kComboBox:
        case ControlKind::kTab:
            for (std::size_t i = 0; i < state.items.size(); ++i) {
                if (Blanked(state.items[i].text) == Blanked(wanted)) {
                    return state.kind == ControlKind::kComboBox
                               ? Win32ChooseComboItem(control, static_cast<int>(i))
                               : Win32ChooseTab(control, static_cast<int>(i));
                }
            }
            return false;
        case ControlKind::kTrackbar: {
            char* end = nullptr;
            const long value = std::strtol(wanted.c_str(), &end, 10);
            if (wanted.empty() || end == nullptr || *end != '\0') {
                return false;
            }
            return Win32DragTrackbar(control, static_cast<int>(value), true);
        }
        default:
            return false;
    }
}
