#include "shell/hover_help.h"

#include "platform/win32/capture_api.h"
#include "platform/win32/cursor_api.h"
#include "platform/win32/dialog_api.h"
#include "platform/win32/message_keys.h"

namespace {

// Kept in the control's user data while the hover help is installed.
struct HoverHelpRecord {
    int enabled = 1;
    WNDPROC previous = nullptr;
    const char* text = nullptr;
};

HoverHelpRecord* RecordOf(HWND control) {
    return reinterpret_cast<HoverHelpRecord*>(GetWindowLongPtrA(control, GWLP_USERDATA));
}

HWND Ancestor(HWND window, int generations) {
    for (int i = 0; i < generations && window != nullptr; ++i) {
        window = GetParent(window);
    }
    return window;
}

}  // namespace

void InstallHoverHelp(HWND control, const char* text) {
    if (control == nullptr || !IsWindow(control) ||
        reinterpret_cast<WNDPROC>(GetWindowLongPtrA(control, GWLP_WNDPROC)) == HoverHelpProc) {
        return;
    }
    auto* record = new HoverHelpRecord;
    record->text = text;
    record->previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(control, GWLP_WNDPROC));
    SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record));
    SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HoverHelpProc));
}

LRESULT HoverHelpProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    HoverHelpRecord* record = RecordOf(control);
    if (record == nullptr) {
        return DefWindowProcA(control, message, wParam, lParam);
    }
    const WNDPROC previous = record->previous;
    switch (message) {
        case WM_MOUSEMOVE:
            if (record->enabled != 0 && (wParam & MK_LBUTTON) == 0) {
                POINT pointer{};
                RECT rect{};
                GetCursorPos(&pointer);
                GetWindowRect(control, &rect);
                const bool inside = pointer.x >= rect.left && pointer.x < rect.right &&
                                    pointer.y >= rect.top && pointer.y < rect.bottom;
                if (inside) {
                    SetDlgItemTextA(Ancestor(control, 3), kHelpFieldId, record->text);
                    SetDlgItemTextA(GetParent(control), kHelpFieldId, record->text);
                    if (GetCapture() != control) {
                        SetCapture(control);
                    }
                } else {
                    SetDlgItemTextA(Ancestor(control, 3), kHelpFieldId, "");
                    ReleaseCapture();
                }
            }
            break;
        case WM_LBUTTONDOWN:
            ReleaseCapture();
            break;
        case WM_DESTROY:
            SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
            SetWindowLongPtrA(control, GWLP_USERDATA, 0);
            delete record;
            break;
        default:
            break;
    }
    return CallWindowProcA(previous, control, message, wParam, lParam);
}
