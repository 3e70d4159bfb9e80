// Dialog templates, dialog windows with their controls, and the default dialog behaviour.

#include <cstdio>
#include <map>
#include <mutex>

#include "platform/win32/control_model.h"
#include "platform/win32/dialog_api.h"
#include "platform/win32/dialog_focus.h"
#include "platform/win32/dialog_windows.h"
#include "platform/win32/menu_api.h"
#include "platform/win32/modal_loop.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_placement.h"
#include "platform/win32/window_state.h"
#include "platform/winbase/file_api.h"

namespace win32_internal {
namespace {

constexpr const char kDialogClass[] = "#32770";

struct DialogRecord {
    DLGPROC procedure = nullptr;
    WORD resource = 0;
    bool modal = false;
    bool ended = false;
    INT_PTR result = 0;
    HWND focus = nullptr;  // top-level dialogs: the focused control
};

struct DialogTable {
    std::recursive_mutex mutex;
    std::map<WORD, const DialogTemplate*> resources;
    std::map<HWND, DialogRecord> dialogs;
    std::vector<HWND> modalStack;
};

DialogTable& Table() {
    static DialogTable* const table = new DialogTable;
    return *table;
}

DialogRecord* FindDialog(HWND dialog) {
    DialogTable& table = Table();
    auto found = table.dialogs.find(dialog);
    return found != table.dialogs.end() ? &found->second : nullptr;
}

}  // namespace

int DefaultButtonId(HWND dialog) {
    int fallback = 0;
    for (HWND child : ChildWindowsOf(dialog)) {
        if (ControlSnapshot(child).kind != ControlKind::kButton) {
            continue;
        }
        const auto style = static_cast<DWORD>(GetWindowLongPtrA(child, GWL_STYLE));
        const int id = GetDlgCtrlID(child);
        if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
            return id;
        }
        if (id == 1) {
            fallback = 1;
        }
    }
    return fallback;
}

namespace {

LRESULT DefaultDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            // As the Cancel button: the procedure decides what that means.
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(2, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, 2)));
            return 0;
        case DM_GETDEFID: {
            const int id = DefaultButtonId(dialog);
            return id != 0 ? MAKELONG(static_cast<WORD>(id), DC_HASDEFID) : 0;
        }
        case WM_NEXTDLGCTL: {
            // lParam's low word set: wParam is the control; else the next tab stop, or the
            // previous one when wParam is non-zero.
            HWND top = DialogOf(dialog);
            HWND target = LOWORD(static_cast<std::uintptr_t>(lParam)) != 0
                              ? reinterpret_cast<HWND>(wParam)
                              : NextTabStop(top, DialogFocus(top), wParam != 0);
            if (target != nullptr && DialogOf(target) == top) {
                SetDialogFocus(top, target);
            }
            return 0;
        }
        case WM_NCDESTROY: {
            DialogTable& table = Table();
            std::lock_guard<std::recursive_mutex> lock(table.mutex);
            if (DialogRecord* record = FindDialog(dialog); record != nullptr && !record->modal) {
                table.dialogs.erase(dialog);
            }
            return DefWindowProcA(dialog, message, wParam, lParam);
        }
        default:
            return DefWindowProcA(dialog, message, wParam, lParam);
    }
}

LRESULT DialogWindowProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    DLGPROC procedure = nullptr;
    {
        DialogTable& table = Table();
        std::lock_guard<std::recursive_mutex> lock(table.mutex);
        if (DialogRecord* record = FindDialog(dialog)) {
            procedure = record->procedure;
        }
    }
    if (procedure != nullptr) {
        const INT_PTR handled = procedure(dialog, message, wParam, lParam);
        if (handled != 0) {
            return message == WM_INITDIALOG || message == WM_NOTIFY ? handled : 0;
        }
    }
    return DefaultDialogMessage(dialog, message, wParam, lParam);
}

void RegisterDialogClass() {
    static std::once_flag once;
    std::call_once(once, [] {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DialogWindowProc;
        windowClass.lpszClassName = kDialogClass;
        RegisterClassExA(&windowClass);
        RegisterControlClasses();
    });
}

RECT Pixels(short x, short y, short cx, short cy) {
    RECT rect{x, y, x + cx, y + cy};
    MapDialogRect(nullptr, &rect);
    return rect;
}

// Where a top-level dialog of `size` goes: centred over its owner (or the screen) with
// DS_CENTER, else at the template position from the owner's client origin.
POINT TopLevelPosition(const DialogTemplate& dialog, HWND owner, SIZE size) {
    const RECT at = Pixels(dialog.x, dialog.y, 0, 0);
    RECT area{0, 0, Win32ScreenMetric(SM_CXSCREEN), Win32ScreenMetric(SM_CYSCREEN)};
    if (owner != nullptr) {
        RECT client{};
        GetClientRect(owner, &client);
        POINT origin{0, 0};
        ClientToScreen(owner, &origin);
        area = RECT{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
    }
    if ((dialog.style & DS_CENTER) != 0) {
        return POINT{area.left + (RectWidth(area) - size.cx) / 2,
                     area.top + (RectHeight(area) - size.cy) / 2};
    }
    return POINT{area.left + at.left, area.top + at.top};
}

}  // namespace

HWND CreateDialogWindow(const DialogTemplate& dialog, HWND parent, DLGPROC procedure, LPARAM param,
                        bool modal, WORD resource) {
    RegisterDialogClass();
    const bool child = (dialog.style & WS_CHILD) != 0;
    const RECT size = Pixels(0, 0, dialog.cx, dialog.cy);
    POINT position{};
    if (child) {
        const RECT at = Pixels(dialog.x, dialog.y, 0, 0);
        position = POINT{at.left, at.top};
    } else {
        position = TopLevelPosition(dialog, parent, SIZE{size.right, size.bottom});
    }
    HWND window = CreateWindowExA(0, kDialogClass, dialog.caption != nullptr ? dialog.caption : "",
                                  dialog.style & ~WS_VISIBLE, position.x, position.y, size.right,
                                  size.bottom, parent, nullptr, nullptr, nullptr);
    if (window == nullptr) {
        std::fprintf(stderr, "dialog %u: its window cannot be made\n",
                     static_cast<unsigned>(resource));
        return nullptr;
    }
    if (!child && parent != nullptr && modal) {
        MarkDrawnInOwner(window);
    }
    for (int i = 0; i < dialog.itemCount; ++i) {
        const DialogItemTemplate& item = dialog.items[i];
        const RECT rect = Pixels(item.x, item.y, item.cx, item.cy);
        HWND control = CreateWindowExA(
            0, item.className, item.text != nullptr ? item.text : "",
            item.style | WS_CHILD | WS_VISIBLE, rect.left, rect.top, RectWidth(rect),
            RectHeight(rect), window, reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(item.id)),
            nullptr, nullptr);
        if (control == nullptr) {
            std::fprintf(stderr, "dialog %u: control %u of class \"%s\" cannot be made\n",
                         static_cast<unsigned>(resource), static_cast<unsigned>(item.id),
                         item.className != nullptr ? item.className : "");
            DestroyWindow(window);
            return nullptr;
        }
    }
    {
        DialogTable& table = Table();
        std::lock_guard<std::recursive_mutex> lock(table.mutex);
        table.dialogs[window] = DialogRecord{procedure, resource, modal, false, 0};
    }
    // A procedure that answers TRUE leaves the focus to the dialog: the first tab stop as it
    // stands after WM_INITDIALOG. One that answers FALSE set the focus itself, or chose none.
    const WPARAM firstControl = reinterpret_cast<WPARAM>(NextTabStop(window, nullptr, false));
    if (SendMessageA(window, WM_INITDIALOG, firstControl, param) != 0 && !child &&
        IsWindow(window) != FALSE) {
        SetDialogFocus(window, NextTabStop(window, nullptr, false));
    }
    return window;
}

bool DialogEnded(HWND dialog, INT_PTR* result) {
    DialogTable& table = Table();
    std::lock_guard<std::recursive_mutex> lock(table.mutex);
    DialogRecord* record = FindDialog(dialog);
    if (record == nullptr) {
        return true;
    }
    if (result != nullptr) {
        *result = record->result;
    }
    return record->ended;
}

const bool* DialogEndFlag(HWND dialog) {
    DialogTable& table = Table();
    std::lock_guard<std::recursive_mutex> lock(table.mutex);
    DialogRecord* record = FindDialog(dialog);
    return record != nullptr ? &record->ended : nullptr;
}

WORD DialogResourceId(HWND dialog) {
    DialogTable& table = Table();
    std::lock_guard<std::recursive_mutex> lock(table.mutex);
    DialogRecord* record = FindDialog(dialog);
    return record != nullptr ? record->resource : 0;
}

bool IsDialogWindow(HWND window) {
    DialogTable& table = Table();
    std::lock_guard<std::recursive_mutex> lock(table.mutex);
    return FindDialog(window) != nullptr;
}

HWND DialogFocus(HWND dialog) {
    HWND focus = nullptr;
    {
        DialogTable& table = Table();
        std::lock_guard<std::recursive_mutex> lock(table.mutex);
        if (DialogRecord* record = FindDialog(dialog)) {
            focus = record->focus;
        }
    }
    return focus != nullptr && IsWindow(focus) != FALSE && DialogOf(focus) == dialog ? focus
                                                                                     : nullptr;
}

void SetDialogFocus(HWND dialog, HWND control) {
    const HWND previous = DialogFocus(dialog);
    {
        DialogTable& table = Table();
        std::lock_guard<std::recursive_mutex> lock(table.mutex);
        DialogRecord* record = FindDialog(dialog);
        if (record == nullptr) {
            return;
        }
        record->focus = control;
    }
    // A drop-down list closes when its box loses the focus.
    if (previous != nullptr && previous != control &&
        ControlSnapshot(previous).kind == ControlKind::kComboBox) {
        SendMessageA(previous, CB_SHOWDROPDOWN, FALSE, 0);
    }
}

HWND ActiveModalDialog() {
    DialogTable& table = Table();
    std::lock_guard<std::recursive_mutex> lock(table.mutex);
    return table.modalStack.empty() ? nullptr : table.modalStack.back();
}

void PressDefaultButton(HWND dialog) {
    const int id = DefaultButtonId(dialog);
    std::fprintf(stderr, "dialog %u: no one to answer it; %s\n",
                 static_cast<unsigned>(DialogResourceId(dialog)),
                 id != 0 ? "its default button answers" : "it is cancelled");
    if (id != 0) {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    } else {
        SendMessageA(dialog, WM_CLOSE, 0, 0);
    }
}

void AbandonDialog(HWND dialog) {
    if (!DialogEnded(dialog, nullptr)) {
        std::fprintf(stderr, "dialog %u: ended without an answer (IDCANCEL)\n",
                     static_cast<unsigned>(DialogResourceId(dialog)));
        EndDialog(dialog, 2);
    }
}

}  // namespace win32_internal

using namespace win32_internal;

void Win32RegisterDialogResource(WORD id, const DialogTemplate* dialog) {
    DialogTable& table = Table();
    std::lock_guard<std::recursive_mutex> lock(table.mutex);
    if (dialog == nullptr) {
        table.resources.erase(id);
    } else {
        table.resources[id] = dialog;
    }
}

const DialogTemplate* Win32FindDialogResource(LPCSTR name) {
    if (name == nullptr || !IS_INTRESOURCE(name)) {
        return nullptr;
    }
    DialogTable& table = Table();
    std::lock_guard<std::recursive_mutex> lock(table.mutex);
    auto found = table.resources.find(static_cast<WORD>(reinterpret_cast<std::uintptr_t>(name)));
    return found != table.resources.end() ? found->second : nullptr;
}

INT_PTR DialogBoxParamA(HINSTANCE, LPCSTR name, HWND owner, DLGPROC procedure, LPARAM param) {
    const DialogTemplate* dialog = Win32FindDialogResource(name);
    if (dialog == nullptr) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return -1;
    }
    const auto resource = static_cast<WORD>(reinterpret_cast<std::uintptr_t>(name));
    return RunModalDialog(*dialog, owner, procedure, param, resource);
}

INT_PTR win32_internal::RunModalDialog(const DialogTemplate& dialog, HWND owner, DLGPROC procedure,
                                       LPARAM param, WORD resource) {
    HWND window = CreateDialogWindow(dialog, owner, procedure, param, true, resource);
    if (window == nullptr) {
        return -1;
    }
    {
        DialogTable& table = Table();
        std::lock_guard<std::recursive_mutex> lock(table.mutex);
        table.modalStack.push_back(window);
    }
    const bool ownerWasEnabled = owner != nullptr && IsWindowEnabled(owner) != FALSE;
    if (ownerWasEnabled) {
        EnableWindow(owner, FALSE);
    }
    if (!DialogEnded(window, nullptr)) {
        ShowWindow(window, SW_SHOW);
        const bool* ended = DialogEndFlag(window);
        const UiHooks* hooks = GetUiHooks();
        if (hooks == nullptr || hooks->runDialog == nullptr || !hooks->runDialog(window, ended)) {
            ModalLoop loop;
            loop.done = ended;
            loop.modalWindow = window;
            loop.unattended = [](void* context) { PressDefaultButton(static_cast<HWND>(context)); };
            loop.abandon = [](void* context) { AbandonDialog(static_cast<HWND>(context)); };
            loop.context = window;
            RunModalLoop(loop);
        }
    }
    INT_PTR result = 0;
    DialogEnded(window, &result);
    if (ownerWasEnabled) {
        EnableWindow(owner, TRUE);
    }
    DestroyWindow(window);
    {
        DialogTable& table = Table();
        std::lock_guard<std::recursive_mutex> lock(table.mutex);
        std::erase(table.modalStack, window);
        table.dialogs.erase(window);
    }
    return result;
}

HWND CreateDialogParamA(HINSTANCE, LPCSTR name, HWND parent, DLGPROC procedure, LPARAM param) {
    const DialogTemplate* dialog = Win32FindDialogResource(name);
    if (dialog == nullptr) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    const auto resource = static_cast<WORD>(reinterpret_cast<std::uintptr_t>(name));
    HWND window = CreateDialogWindow(*dialog, parent, procedure, param, false, resource);
    if (window != nullptr && (dialog->style & WS_VISIBLE) != 0 && IsWindow(window)) {
        ShowWindow(window, SW_SHOW);
    }
    const UiHooks* hooks = GetUiHooks();
    if (window != nullptr && IsWindow(window) && (dialog->style & WS_CHILD) == 0 &&
        hooks != nullptr && hooks->showModeless != nullptr) {
        hooks->showModeless(window);
    }
    return window;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    bool modal = false;
    {
        DialogTable& table = Table();
        std::lock_guard<std::recursive_mutex> lock(table.mutex);
        DialogRecord* record = FindDialog(dialog);
        if (record == nullptr) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        record->ended = true;
        record->result = result;
        modal = record->modal;
    }
    if (!modal) {
        ShowWindow(dialog, SW_HIDE);
    }
    return TRUE;
}

HWND GetDlgItem(HWND dialog, int id) {
    for (HWND child : ChildWindowsOf(dialog)) {
        if (GetDlgCtrlID(child) == id) {
            return child;
        }
    }
    SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
    return nullptr;
}

int GetDlgCtrlID(HWND control) {
    return static_cast<int>(GetWindowLongPtrA(control, GWLP_ID));
}

BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
    HWND control = GetDlgItem(dialog, id);
    return control != nullptr ? SetWindowTextA(control, text) : FALSE;
}

UINT GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int size) {
    HWND control = GetDlgItem(dialog, id);
    if (control == nullptr) {
        if (buffer != nullptr && size > 0) {
            buffer[0] = '\0';
        }
        return 0;
    }
    return static_cast<UINT>(GetWindowTextA(control, buffer, size));
}

LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND control = GetDlgItem(dialog, id);
    return control != nullptr ? SendMessageA(control, message, wParam, lParam) : 0;
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
    HWND control = GetDlgItem(dialog, id);
    if (control == nullptr) {
        return FALSE;
    }
    SendMessageA(control, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
    return static_cast<UINT>(SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0));
}

BOOL EnableWindow(HWND window, BOOL enable) {
    if (!IsWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
    const bool wasDisabled = (style & WS_DISABLED) != 0;
    if (wasDisabled == (enable == FALSE)) {
        return wasDisabled ? TRUE : FALSE;
    }
    SetWindowLongPtrA(
        window, GWL_STYLE,
        static_cast<LONG_PTR>(enable != FALSE ? style & ~WS_DISABLED : style | WS_DISABLED));
    SendMessageA(window, WM_ENABLE, enable != FALSE ? TRUE : FALSE, 0);
    return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND window) {
    if (!IsWindow(window)) {
        return FALSE;
    }
    return (GetWindowLongPtrA(window, GWL_STYLE) & WS_DISABLED) == 0 ? TRUE : FALSE;
}

BOOL MapDialogRect(HWND, RECT* rect) {
    if (rect == nullptr) {
        return FALSE;
    }
    rect->left = rect->left * kDialogBaseUnitX / 4;
    rect->right = rect->right * kDialogBaseUnitX / 4;
    rect->top = rect->top * kDialogBaseUnitY / 8;
    rect->bottom = rect->bottom * kDialogBaseUnitY / 8;
    return TRUE;
}
