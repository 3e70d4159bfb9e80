// The dialog manager's keys: focus moves, buttons, Return, Escape and mnemonics.

#include "platform/win32/dialog_keyboard.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "platform/win32/control_keys.h"
#include "platform/win32/control_model.h"
#include "platform/win32/dialog_api.h"
#include "platform/win32/dialog_focus.h"
#include "platform/win32/dialog_input.h"
#include "platform/win32/dialog_windows.h"
#include "platform/win32/message_keys.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_placement.h"
#include "platform/win32/window_state.h"
#include "platform/winbase/code_page.h"

using namespace win32_internal;

namespace {

DWORD StyleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
}

ControlKind KindOf(HWND control) {
    return control != nullptr ? ControlSnapshot(control).kind : ControlKind::kNone;
}

bool IsPushButton(HWND control) {
    const DWORD type = StyleOf(control) & BS_TYPEMASK;
    return KindOf(control) == ControlKind::kButton &&
           (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

bool IsRadioButton(HWND control) {
    const DWORD type = StyleOf(control) & BS_TYPEMASK;
    return KindOf(control) == ControlKind::kButton &&
           (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON);
}

// The upper-case letter or digit after the text's "&" ("&&" is a plain "&"); 0 for none.
char MnemonicOf(const std::string& sjis) {
    for (std::size_t i = 0; i + 1 < sjis.size();) {
        if (sjis[i] == '&') {
            const auto next = static_cast<unsigned char>(sjis[i + 1]);
            if (next != '&') {
                return next < 0x80 && std::isalnum(next) != 0
                           ? static_cast<char>(std::toupper(next))
                           : '\0';
            }
            i += 2;
            continue;
        }
        i += std::max<std::size_t>(1, Cp932CharLength(sjis, i));
    }
    return '\0';
}

std::string TextOf(HWND control) {
    char text[256] = {};
    GetWindowTextA(control, text, sizeof text);
    return text;
}

// The buttons of the group that holds `button`: its siblings from the nearest WS_GROUP at or
// before it up to the next WS_GROUP.
std::vector<HWND> GroupOf(HWND button) {
    const std::vector<HWND> siblings = ChildWindowsOf(GetParent(button));
    std::vector<HWND> group;
    bool reached = false;
    for (HWND sibling : siblings) {
        if ((StyleOf(sibling) & WS_GROUP) != 0) {
            if (reached) {
                break;
            }
            group.clear();
        }
        reached = reached || sibling == button;
        if (KindOf(sibling) == ControlKind::kButton) {
            group.push_back(sibling);
        }
    }
    return group;
}

void MoveInGroup(HWND dialog, HWND focus, bool forward) {
    if (KindOf(focus) != ControlKind::kButton) {
        return;
    }
    const std::vector<HWND> group = GroupOf(focus);
    const auto count = static_cast<std::ptrdiff_t>(group.size());
    const std::ptrdiff_t at = std::find(group.begin(), group.end(), focus) - group.begin();
    for (std::ptrdiff_t step = 1; step < count; ++step) {
        HWND candidate = group[static_cast<std::size_t>(
            ((at + (forward ? step : -step)) % count + count) % count)];
        if (TakesFocus(candidate, dialog)) {
            SetFocus(candidate);
            if (IsRadioButton(candidate)) {
                Win32ClickControl(candidate);
            }
            return;
        }
    }
}

// Acts on the next control after the focus whose mnemonic is `key`; false when none has it.
bool Mnemonic(HWND dialog, HWND focus, char key) {
    const std::vector<HWND> controls = DialogControlsInOrder(dialog);
    const auto at = std::find(controls.begin(), controls.end(), focus);
    const std::size_t start =
        at == controls.end() ? 0 : static_cast<std::size_t>(at - controls.begin()) + 1;
    for (std::size_t step = 0; step < controls.size(); ++step) {
        HWND control = controls[(start + step) % controls.size()];
        const ControlKind kind = KindOf(control);
        if ((kind != ControlKind::kButton && kind != ControlKind::kStatic) ||
            !ShownAndEnabledIn(control, dialog) || MnemonicOf(TextOf(control)) != key) {
            continue;
        }
        if (IsPushButton(control)) {
            Win32ClickControl(control);
        } else if (TakesFocus(control, dialog)) {
            SetFocus(control);
            Win32ClickControl(control);
        } else if (HWND next = NextTabStop(dialog, control, false)) {
            SetFocus(next);  // a label names the control after it
        }
        return true;
    }
    return false;
}

bool KeyDown(HWND dialog, HWND focus, UINT key, bool alt, bool repeat) {
    if (focus != nullptr && ControlKeyDown(focus, key, alt)) {
        return true;
    }
    if (alt) {
        return false;  // its character may be a mnemonic (WM_SYSCHAR)
    }
    if (KindOf(focus) == ControlKind::kEdit && key != VK_TAB && key != VK_RETURN &&
        key != VK_ESCAPE) {
        return false;  // the field's own typing
    }
    switch (key) {
        case VK_TAB:
            if (HWND next = NextTabStop(dialog, focus, GetKeyState(VK_SHIFT) < 0)) {
                SetFocus(next);
            }
            return true;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
            MoveInGroup(dialog, focus, key == VK_RIGHT || key == VK_DOWN);
            return true;
        case VK_SPACE:
            if (!repeat && KindOf(focus) == ControlKind::kButton) {
                Win32ClickControl(focus);
            }
            return true;
        case VK_RETURN:
            if (!repeat) {
                Win32ClickControl(Win32ReturnButton(dialog));
            }
            return true;
        case VK_ESCAPE:
            if (!repeat) {
                PostMessageA(dialog, WM_CLOSE, 0, 0);
            }
            return true;
        default:
            return false;
    }
}

}  // namespace

bool Win32DialogKey(HWND dialog, const MSG& message) {
    dialog = DialogOf(dialog);
    if (dialog == nullptr) {
        return false;
    }
    const HWND focus = DialogFocus(dialog);
    const auto key = static_cast<UINT>(message.wParam);
    switch (message.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            return KeyDown(dialog, focus, key, message.message == WM_SYSKEYDOWN,
                           (message.lParam & KF_REPEAT_BIT) != 0);
        case WM_KEYUP:
        case WM_SYSKEYUP:
            return focus != nullptr && ControlKeyUp(focus, key);
        case WM_CHAR:
        case WM_SYSCHAR: {
            const bool typing = message.message == WM_CHAR && KindOf(focus) == ControlKind::kEdit;
            if (typing) {
                return false;
            }
            if (key < 0x80 && std::isalnum(static_cast<int>(key)) != 0) {
                Mnemonic(dialog, focus, static_cast<char>(std::toupper(static_cast<int>(key))));
            }
            return true;
        }
        default:
            return false;
    }
}

HWND Win32ReturnButton(HWND dialog) {
    dialog = DialogOf(dialog);
    if (dialog == nullptr) {
        return nullptr;
    }
    const HWND focus = DialogFocus(dialog);
    if (IsPushButton(focus)) {
        return focus;
    }
    const int id = DefaultButtonId(dialog);
    return id != 0 ? GetDlgItem(dialog, id) : nullptr;
}
