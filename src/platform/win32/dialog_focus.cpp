// The order in which a dialog's controls take the focus.

#include "platform/win32/dialog_focus.h"

#include <algorithm>

#include "platform/win32/control_model.h"
#include "platform/win32/controls_api.h"
#include "platform/win32/dialog_windows.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_state.h"

namespace win32_internal {
namespace {

DWORD StyleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
}

void CollectControls(HWND parent, std::vector<HWND>* controls) {
    for (HWND child : ChildWindowsOf(parent)) {
        if (ControlSnapshot(child).kind != ControlKind::kNone) {
            controls->push_back(child);
        }
        CollectControls(child, controls);
    }
}

}  // namespace

HWND DialogOf(HWND window) {
    for (int depth = 0; window != nullptr && depth < 64; ++depth) {
        if ((StyleOf(window) & WS_CHILD) == 0) {
            return IsDialogWindow(window) ? window : nullptr;
        }
        window = GetParent(window);
    }
    return nullptr;
}

std::vector<HWND> DialogControlsInOrder(HWND dialog) {
    std::vector<HWND> controls;
    if (dialog != nullptr) {
        CollectControls(dialog, &controls);
    }
    return controls;
}

bool ShownAndEnabledIn(HWND control, HWND dialog) {
    for (HWND window = control; window != nullptr && window != dialog; window = GetParent(window)) {
        const DWORD style = StyleOf(window);
        if ((style & WS_VISIBLE) == 0 || (style & WS_DISABLED) != 0 || (style & WS_CHILD) == 0) {
            return false;  // hidden, disabled, or not inside `dialog`
        }
    }
    return control != nullptr;
}

bool TakesFocus(HWND control, HWND dialog) {
    const ControlState state = ControlSnapshot(control);
    if (state.kind == ControlKind::kNone || state.kind == ControlKind::kStatic ||
        (state.kind == ControlKind::kButton && (StyleOf(control) & BS_TYPEMASK) == BS_GROUPBOX)) {
        return false;
    }
    return ShownAndEnabledIn(control, dialog);
}

HWND NextTabStop(HWND dialog, HWND from, bool backward) {
    std::vector<HWND> controls = DialogControlsInOrder(dialog);
    if (backward) {
        std::reverse(controls.begin(), controls.end());
    }
    const auto at = std::find(controls.begin(), controls.end(), from);
    const std::size_t start =
        at == controls.end() ? 0 : static_cast<std::size_t>(at - controls.begin()) + 1;
    for (std::size_t step = 0; step < controls.size(); ++step) {
        HWND candidate = controls[(start + step) % controls.size()];
        if ((StyleOf(candidate) & WS_TABSTOP) != 0 && TakesFocus(candidate, dialog)) {
            return candidate;
        }
    }
    return nullptr;
}

}  // namespace win32_internal
