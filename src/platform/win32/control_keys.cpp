// The keys that combo boxes, track bars and tab controls take themselves.

#include "platform/win32/control_keys.h"

#include <algorithm>

#include "platform/win32/control_model.h"
#include "platform/win32/controls_api.h"
#include "platform/win32/dialog_input.h"
#include "platform/win32/message_keys.h"

namespace win32_internal {
namespace {

bool ComboKeyDown(HWND combo, const ControlState& state, UINT key, bool alt) {
    const bool toggles = key == VK_F4 || (alt && (key == VK_UP || key == VK_DOWN));
    if (toggles || (state.dropped && (key == VK_RETURN || key == VK_ESCAPE))) {
        Win32ShowComboList(combo, !state.dropped && toggles);
        return true;
    }
    const int last = static_cast<int>(state.items.size()) - 1;
    int index = state.selection;
    switch (key) {
        case VK_UP:
        case VK_LEFT:
            index = std::max(0, index - 1);
            break;
        case VK_DOWN:
        case VK_RIGHT:
            index = std::min(last, index + 1);
            break;
        case VK_HOME:
            index = 0;
            break;
        case VK_END:
            index = last;
            break;
        default:
            return false;
    }
    Win32ChooseComboItem(combo, index);
    return true;
}

// Up and Down focus the next row, Home and End the first and the last; Page Up and Page Down
// the first and the last row shown, or from there a page further. Without a focused row, Up and
// Down start at the first row. F2 edits the focused row's label.
bool ListKeyDown(HWND list, const ControlState& state, UINT key) {
    const int focused = state.focusedRow;
    const int top = state.topRow;
    const int page = ListRowsPerPage(list);
    const int bottom = top + page - 1;
    int row = 0;
    switch (key) {
        case VK_F2:
            if (focused >= 0) {
                Win32BeginLabelEdit(list, focused);
            }
            return true;
        case VK_UP:
            row = focused < 0 ? 0 : focused - 1;
            break;
        case VK_DOWN:
            row = focused < 0 ? 0 : focused + 1;
            break;
        case VK_HOME:
            row = 0;
            break;
        case VK_END:
            row = static_cast<int>(state.rows.size()) - 1;
            break;
        case VK_PRIOR:
            row = focused == top ? focused - std::max(1, page - 1) : top;
            break;
        case VK_NEXT:
            row = focused == bottom ? focused + std::max(1, page - 1) : bottom;
            break;
        default:
            return false;
    }
    if (!state.rows.empty()) {
        Win32FocusListRow(list, std::clamp(row, 0, static_cast<int>(state.rows.size()) - 1));
    }
    return true;
}

// The track-bar notification of a key, 0xFFFF for a key the track bar does not take.
WORD TrackbarCode(UINT key) {
    switch (key) {
        case VK_LEFT:
        case VK_UP:
            return TB_LINEUP;
        case VK_RIGHT:
        case VK_DOWN:
            return TB_LINEDOWN;
        case VK_PRIOR:
            return TB_PAGEUP;
        case VK_NEXT:
            return TB_PAGEDOWN;
        case VK_HOME:
            return TB_TOP;
        case VK_END:
            return TB_BOTTOM;
        default:
            return 0xFFFF;
    }
}

}  // namespace

bool ControlKeyDown(HWND control, UINT key, bool alt) {
    const ControlState state = ControlSnapshot(control);
    switch (state.kind) {
        case ControlKind::kComboBox:
            return ComboKeyDown(control, state, key, alt);
        case ControlKind::kTrackbar: {
            const WORD code = TrackbarCode(key);
            return !alt && code != 0xFFFF && Win32StepTrackbar(control, code);
        }
        case ControlKind::kListView:
            return !alt && ListKeyDown(control, state, key);
        case ControlKind::kTab:
            if (alt || (key != VK_LEFT && key != VK_RIGHT)) {
                return false;
            }
            // The first and the last page go no further.
            Win32ChooseTab(control, state.selection + (key == VK_LEFT ? -1 : 1));
            return true;
        default:
            return false;
    }
}

bool ControlKeyUp(HWND control, UINT key) {
    return ControlSnapshot(control).kind == ControlKind::kTrackbar && TrackbarCode(key) != 0xFFFF &&
           Win32StepTrackbar(control, TB_ENDTRACK);
}

}  // namespace win32_internal
