// Combo boxes, track bars, tab controls and list views.

#include <algorithm>

#include "platform/win32/control_procedures.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_placement.h"

namespace win32_internal {
namespace {

std::string TextOf(LPARAM text) {
    const char* chars = reinterpret_cast<const char*>(text);
    return chars != nullptr ? std::string(chars) : std::string();
}

bool InRange(const std::vector<ControlItem>& items, WPARAM index) {
    return index < items.size();
}

LRESULT ComboMessage(ControlState& s, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case CB_ADDSTRING:
            s.items.push_back(ControlItem{TextOf(lParam), 0});
            return static_cast<LRESULT>(s.items.size() - 1);
        case CB_INSERTSTRING: {
            const auto index = static_cast<std::intptr_t>(wParam);
            if (index > static_cast<std::intptr_t>(s.items.size())) {
                return CB_ERR;
            }
            const std::size_t at = index < 0 ? s.items.size() : static_cast<std::size_t>(index);
            s.items.insert(s.items.begin() + static_cast<std::ptrdiff_t>(at),
                           ControlItem{TextOf(lParam), 0});
            if (s.selection >= static_cast<int>(at)) {
                ++s.selection;
            }
            return static_cast<LRESULT>(at);
        }
        case CB_DELETESTRING:
            if (!InRange(s.items, wParam)) {
                return CB_ERR;
            }
            s.items.erase(s.items.begin() + static_cast<std::ptrdiff_t>(wParam));
            if (s.selection == static_cast<int>(wParam)) {
                s.selection = -1;
            } else if (s.selection > static_cast<int>(wParam)) {
                --s.selection;
            }
            return static_cast<LRESULT>(s.items.size());
        case CB_GETCOUNT:
            return static_cast<LRESULT>(s.items.size());
        case CB_GETCURSEL:
            return s.selection;
        case CB_SETCURSEL:
            // An index out of range removes the selection.
            s.selection = InRange(s.items, wParam) ? static_cast<int>(wParam) : -1;
            return s.selection >= 0 ? s.selection : CB_ERR;
        case CB_GETLBTEXT:
            if (!InRange(s.items, wParam) || lParam == 0) {
                return CB_ERR;
            }
            // The caller's buffer holds CB_GETLBTEXTLEN + 1 bytes.
            return CopyControlText(s.items[wParam].text, reinterpret_cast<LPSTR>(lParam),
                                   static_cast<int>(s.items[wParam].text.size() + 1));
        case CB_GETLBTEXTLEN:
            return InRange(s.items, wParam) ? static_cast<LRESULT>(s.items[wParam].text.size())
                                            : CB_ERR;
        case CB_RESETCONTENT:
            s.items.clear();
            s.selection = -1;
            return 0;
        case CB_GETITEMDATA:
            return InRange(s.items, wParam) ? s.items[wParam].data : CB_ERR;
        case CB_SETITEMDATA:
            if (!InRange(s.items, wParam)) {
                return CB_ERR;
            }
            s.items[wParam].data = lParam;
            return TRUE;
        case CB_SHOWDROPDOWN:
            s.dropped = wParam != FALSE;
            return TRUE;
        case CB_GETDROPPEDSTATE:
            return s.dropped ? TRUE : FALSE;
        default:
            return CB_ERR;
    }
}

LRESULT TrackbarMessage(ControlState& s, UINT message, WPARAM wParam, LPARAM lParam) {
    auto clampPosition = [&s] { s.position = std::clamp(s.position, s.rangeMin, s.rangeMax); };
    switch (message) {
        case TBM_GETPOS:
            return s.position;
        case TBM_GETRANGEMIN:
            return s.rangeMin;
        case TBM_GETRANGEMAX:
            return s.rangeMax;
        case TBM_SETPOS:
            s.position = static_cast<int>(lParam);
            clampPosition();
            return 0;
        case TBM_SETRANGE:
            s.rangeMin = static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(lParam)));
            s.rangeMax = std::max(
                s.rangeMin,
                static_cast<int>(static_cast<SHORT>(HIWORD(static_cast<std::uintptr_t>(lParam)))));
            clampPosition();
            return 0;
        case TBM_SETRANGEMIN:
            s.rangeMin = std::min(static_cast<int>(lParam), s.rangeMax);
            clampPosition();
            return 0;
        case TBM_SETRANGEMAX:
            s.rangeMax = std::max(static_cast<int>(lParam), s.rangeMin);
            clampPosition();
            return 0;
        case TBM_SETTICFREQ:
            s.ticFrequency = std::max(1, static_cast<int>(wParam));
            return 0;
        case TBM_SETPAGESIZE: {
            const int previous = TrackbarPageSize(s);
            s.pageSize = std::max(1, static_cast<int>(lParam));
            return previous;
        }
        case TBM_GETPAGESIZE:
            return TrackbarPageSize(s);
        case TBM_SETLINESIZE: {
            const int previous = s.lineSize;
            s.lineSize = std::max(1, static_cast<int>(lParam));
            return previous;
        }
        case TBM_GETLINESIZE:
            return s.lineSize;
        default:
            return 0;
    }
}

LRESULT TabMessage(ControlState& s, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case TCM_INSERTITEMA: {
            const auto* item = reinterpret_cast<const TCITEMA*>(lParam);
            if (item == nullptr) {
                return -1;
            }
            const std::size_t at = std::min<std::size_t>(wParam, s.items.size());
            ControlItem entry;
            if ((item->mask & TCIF_TEXT) != 0 && item->pszText != nullptr) {
                entry.text = item->pszText;
            }
            if ((item->mask & TCIF_PARAM) != 0) {
                entry.data = item->lParam;
            }
            s.items.insert(s.items.begin() + static_cast<std::ptrdiff_t>(at), entry);
            if (s.selection < 0) {
                s.selection = 0;
            } else if (s.selection >= static_cast<int>(at) && s.items.size() > 1) {
                ++s.selection;
            }
            return static_cast<LRESULT>(at);
        }
        case TCM_GETITEMCOUNT:
            return static_cast<LRESULT>(s.items.size());
        case TCM_DELETEALLITEMS:
            s.items.clear();
            s.selection = -1;
            return TRUE;
        case TCM_GETCURSEL:
            return s.selection;
        case TCM_SETCURSEL: {
            const int previous = s.selection;
            if (!InRange(s.items, wParam)) {
                return -1;
            }
            s.selection = static_cast<int>(wParam);
            return previous;
        }
        default:
            return 0;
    }
}

std::string* Cell(ControlState& s, int row, int column) {
    if (row < 0 || column < 0 || static_cast<std::size_t>(row) >= s.rows.size() ||
        static_cast<std::size_t>(column) >= std::max<std::size_t>(s.columns.size(), 1)) {
        return nullptr;
    }
    std::vector<std::string>& cells = s.rows[static_cast<std::size_t>(row)];
    if (cells.size() <= static_cast<std::size_t>(column)) {
        cells.resize(static_cast<std::size_t>(column) + 1);
    }
    return &cells[static_cast<std::size_t>(column)];
}

LRESULT ListViewMessage(ControlState& s, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case LVM_INSERTCOLUMNA: {
            const auto* column = reinterpret_cast<const LVCOLUMNA*>(lParam);
            if (column == nullptr) {
                return -1;
            }
            const std::size_t at = std::min<std::size_t>(wParam, s.columns.size());
            ControlItem entry;
            if ((column->mask & LVCF_TEXT) != 0 && column->pszText != nullptr) {
                entry.text = column->pszText;
            }
            entry.data = (column->mask & LVCF_WIDTH) != 0 ? column->cx : 0;
            s.columns.insert(s.columns.begin() + static_cast<std::ptrdiff_t>(at), entry);
            for (std::vector<std::string>& row : s.rows) {
                if (row.size() > at) {
                    row.insert(row.begin() + static_cast<std::ptrdiff_t>(at), std::string());
                }
            }
            return static_cast<LRESULT>(at);
        }
        case LVM_INSERTITEMA: {
            const auto* item = reinterpret_cast<const LVITEMA*>(lParam);
            if (item == nullptr || item->iItem < 0) {
                return -1;
            }
            const std::size_t at =
                std::min<std::size_t>(static_cast<std::size_t>(item->iItem), s.rows.size());
            std::vector<std::string> cells(1);
            if ((item->mask & LVIF_TEXT) != 0 && item->pszText != nullptr) {
                cells[0] = item->pszText;
            }
            s.rows.insert(s.rows.begin() + static_cast<std::ptrdiff_t>(at), std::move(cells));
            return static_cast<LRESULT>(at);
        }
        case LVM_SETITEMA:
        case LVM_SETITEMTEXTA: {
            const auto* item = reinterpret_cast<const LVITEMA*>(lParam);
            if (item == nullptr) {
                return FALSE;
            }
            const int row = message == LVM_SETITEMA ? item->iItem : static_cast<int>(wParam);
            std::string* cell = Cell(s, row, item->iSubItem);
            if (cell == nullptr) {
                return FALSE;
            }
            if ((message == LVM_SETITEMTEXTA || (item->mask & LVIF_TEXT) != 0)) {
                *cell = item->pszText != nullptr ? item->pszText : "";
            }
            return TRUE;
        }
        case LVM_GETITEMTEXTA: {
            auto* item = reinterpret_cast<LVITEMA*>(lParam);
            if (item == nullptr) {
                return 0;
            }
            std::string* cell = Cell(s, static_cast<int>(wParam), item->iSubItem);
            return CopyControlText(cell != nullptr ? *cell : std::string(), item->pszText,
                                   item->cchTextMax);
        }
        case LVM_GETITEMCOUNT:
            return static_cast<LRESULT>(s.rows.size());
        case LVM_DELETEALLITEMS:
            s.rows.clear();
            s.selection = -1;
            s.focusedRow = -1;
            s.topRow = 0;
            return TRUE;
        case LVM_GETNEXTITEM:
            // Only the search from the start for the focused or the selected row.
            if (static_cast<int>(wParam) != -1) {
                return -1;
            }
            return lParam == LVNI_FOCUSED    ? s.focusedRow
                   : lParam == LVNI_SELECTED ? s.selection
                                             : -1;
        case LVM_GETTOPINDEX:
            return s.topRow;
        default:
            return 0;
    }
}

// Runs `handler` on the control's state for the messages in [first, last]; others go to the
// control default.
template <typename Handler>
LRESULT Dispatch(HWND control, ControlKind kind, UINT message, WPARAM wParam, LPARAM lParam,
                 UINT first, UINT last, Handler handler) {
    if (message == WM_CREATE) {
        AddControlState(control, kind);
        return 0;
    }
    if (message < first || message > last) {
        return ControlDefault(control, message, wParam, lParam);
    }
    LRESULT result = 0;
    if (!ChangeControl(control,
                       [&](ControlState& s) { result = handler(s, message, wParam, lParam); })) {
        return 0;
    }
    return result;
}

}  // namespace

LRESULT ComboBoxProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        const int dropped = create != nullptr ? create->cy : 0;
        AddControlState(control, ControlKind::kComboBox);
        ChangeControl(control, [dropped](ControlState& s) { s.droppedHeight = dropped; });
        if (create != nullptr) {
            SetWindowPos(control, nullptr, 0, 0, create->cx, std::min(dropped, kComboClosedHeight),
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return 0;
    }
    return Dispatch(control, ControlKind::kComboBox, message, wParam, lParam, CB_ADDSTRING,
                    CB_GETDROPPEDSTATE, ComboMessage);
}

LRESULT TrackbarProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    return Dispatch(control, ControlKind::kTrackbar, message, wParam, lParam, TBM_GETPOS,
                    TBM_GETLINESIZE, TrackbarMessage);
}

LRESULT TabControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TCM_ADJUSTRECT) {
        // The display area lies below a row of tabs, inside a two-pixel border.
        auto* rect = reinterpret_cast<RECT*>(lParam);
        if (rect != nullptr) {
            const int direction = wParam != 0 ? -1 : 1;
            rect->left += 2 * direction;
            rect->right -= 2 * direction;
            rect->top += kTabRowHeight * direction;
            rect->bottom -= 2 * direction;
        }
        return 0;
    }
    return Dispatch(control, ControlKind::kTab, message, wParam, lParam, TCM_GETITEMCOUNT,
                    TCM_SETCURSEL, TabMessage);
}

LRESULT ListViewProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == LVM_GETCOUNTPERPAGE) {
        return ListRowsPerPage(control);
    }
    return Dispatch(control, ControlKind::kListView, message, wParam, lParam, LVM_GETITEMCOUNT,
                    LVM_SETEXTENDEDLISTVIEWSTYLE, ListViewMessage);
}

}  // namespace win32_internal
