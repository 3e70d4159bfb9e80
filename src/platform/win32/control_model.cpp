// The state table of the standard controls and the registration of their classes.

#include "platform/win32/control_model.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

#include "platform/win32/control_procedures.h"
#include "platform/win32/window_api.h"
#include "platform/winbase/code_page.h"

namespace win32_internal {
namespace {

struct ControlTable {
    std::recursive_mutex mutex;
    std::map<HWND, ControlState> controls;
};

ControlTable& Table() {
    static ControlTable* const table = new ControlTable;  // lives for the whole process
    return *table;
}

struct ClassEntry {
    const char* name;
    ControlKind kind;
    WNDPROC procedure;
};

constexpr ClassEntry kClasses[] = {
    {WC_BUTTONA, ControlKind::kButton, ButtonProc},
    {WC_STATICA, ControlKind::kStatic, StaticProc},
    {WC_EDITA, ControlKind::kEdit, EditProc},
    {WC_COMBOBOXA, ControlKind::kComboBox, ComboBoxProc},
    {TRACKBAR_CLASSA, ControlKind::kTrackbar, TrackbarProc},
    {WC_TABCONTROLA, ControlKind::kTab, TabControlProc},
    {WC_LISTVIEWA, ControlKind::kListView, ListViewProc},
};

}  // namespace

int TrackbarPageSize(const ControlState& trackbar) {
    return trackbar.pageSize > 0 ? trackbar.pageSize
                                 : std::max(1, (trackbar.rangeMax - trackbar.rangeMin) / 5);
}

int ListRowsPerPage(HWND list) {
    RECT client{};
    GetClientRect(list, &client);
    return std::max(1, (RectHeight(client) - 2 * kListFrame - kListHeaderHeight) / kListRowHeight);
}

ControlKind ControlKindOfClass(const char* className) {
    if (className == nullptr) {
        return ControlKind::kNone;
    }
    for (const ClassEntry& entry : kClasses) {
        if (EqualNoCaseCp932(entry.name, className)) {
            return entry.kind;
        }
    }
    return ControlKind::kNone;
}

ControlState ControlSnapshot(HWND control) {
    ControlTable& table = Table();
    std::lock_guard<std::recursive_mutex> lock(table.mutex);
    auto found = table.controls.find(control);
    return found != table.controls.end() ? found->second : ControlState{};
}

ControlState* LockControl(HWND control) {
    ControlTable& table = Table();
    table.mutex.lock();
    auto found = table.controls.find(control);
    if (found == table.controls.end()) {
        table.mutex.unlock();
        return nullptr;
    }
    return &found->second;
}

void UnlockControl() {
    Table().mutex.unlock();
}

void RegisterControlClasses() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (const ClassEntry& entry : kClasses) {
            WNDCLASSEXA windowClass{};
            windowClass.cbSize = sizeof windowClass;
            windowClass.lpfnWndProc = entry.procedure;
            windowClass.lpszClassName = entry.name;
            RegisterClassExA(&windowClass);
        }
    });
}

void AddControlState(HWND control, ControlKind kind) {
    ControlTable& table = Table();
    std::lock_guard<std::recursive_mutex> lock(table.mutex);
    ControlState state;
    state.kind = kind;
    table.controls[control] = std::move(state);
}

void RemoveControlState(HWND control) {
    ControlTable& table = Table();
    std::lock_guard<std::recursive_mutex> lock(table.mutex);
    table.controls.erase(control);
}

LRESULT ControlDefault(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETTEXT:
            return SetWindowTextA(control, reinterpret_cast<LPCSTR>(lParam));
        case WM_GETTEXT:
            return GetWindowTextA(control, reinterpret_cast<LPSTR>(lParam),
                                  static_cast<int>(wParam));
        case WM_GETTEXTLENGTH:
            return GetWindowTextLengthA(control);
        case WM_NCDESTROY:
            RemoveControlState(control);
            return DefWindowProcA(control, message, wParam, lParam);
        default:
            return DefWindowProcA(control, message, wParam, lParam);
    }
}

void NotifyParentCommand(HWND control, WORD code) {
    HWND parent = GetParent(control);
    if (parent != nullptr) {
        SendMessageA(parent, WM_COMMAND,
                     MAKEWPARAM(static_cast<WORD>(GetWindowLongPtrA(control, GWLP_ID)), code),
                     reinterpret_cast<LPARAM>(control));
    }
}

int CopyControlText(const std::string& text, LPSTR buffer, int size) {
    if (buffer == nullptr || size <= 0) {
        return 0;
    }
    const std::size_t limit = static_cast<std::size_t>(size) - 1;
    std::size_t length = 0;
    while (length < text.size()) {
        const std::size_t step = std::max<std::size_t>(1, Cp932CharLength(text, length));
        if (length + step > limit) {
            break;
        }
        length += step;
    }
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return static_cast<int>(length);
}

LRESULT NotifyParent(HWND control, UINT code, NMHDR* header) {
    NMHDR plain{};
    NMHDR* record = header != nullptr ? header : &plain;
    record->hwndFrom = control;
    record->idFrom = static_cast<UINT_PTR>(GetWindowLongPtrA(control, GWLP_ID));
    record->code = code;
    HWND parent = GetParent(control);
    if (parent == nullptr) {
        return 0;
    }
    return SendMessageA(parent, WM_NOTIFY, record->idFrom, reinterpret_cast<LPARAM>(record));
}

}  // namespace win32_internal
