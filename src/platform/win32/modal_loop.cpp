// The modal loop shared by dialogs, drawn message boxes and menus.

#include "platform/win32/modal_loop.h"

#include <cstdio>

#include "platform/win32/cursor_api.h"
#include "platform/win32/dialog_api.h"
#include "platform/win32/dialog_focus.h"
#include "platform/win32/dialog_keyboard.h"
#include "platform/win32/dialog_test_hooks.h"
#include "platform/win32/window_api.h"

namespace win32_internal {
namespace {

win32_test::ModalIdleHook idleHook = nullptr;
void* idleContext = nullptr;

// The window an input message is for, or the top-level window above it, is disabled.
bool TargetDisabled(HWND window) {
    for (int depth = 0; window != nullptr && depth < 64; ++depth) {
        if (IsWindowEnabled(window) == FALSE) {
            return true;
        }
        if ((GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) == 0) {
            return false;
        }
        window = GetParent(window);
    }
    return false;
}

// A key for the modal dialog: one of its windows has it, or a window the dialog disables (its
// owner, where a dialog drawn over the owner gets its keys).
bool KeyForDialog(HWND dialog, const MSG& message) {
    return dialog != nullptr && message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST &&
           (DialogOf(message.hwnd) == dialog || TargetDisabled(message.hwnd));
}

bool UserPresent(const ModalLoop& loop) {
    return loop.presenter != nullptr && loop.presenter->userPresent != nullptr &&
           loop.presenter->userPresent(loop.presenter->context);
}

void RunLoopTurns(const ModalLoop& loop) {
    const ModalPresenter* presenter = loop.presenter;
    bool changed = true;
    bool answeredUnattended = false;
    while (!*loop.done) {
        MSG message{};
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) == FALSE) {
            if (presenter != nullptr && presenter->refresh != nullptr) {
                presenter->refresh(changed, presenter->context);
                changed = false;
                if (*loop.done) {
                    break;
                }
                if (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE) != FALSE) {
                    continue;
                }
            }
            if (idleHook != nullptr) {
                idleHook(loop.modalWindow, idleContext);
                continue;
            }
            if (!UserPresent(loop)) {
                if (!answeredUnattended && loop.unattended != nullptr) {
                    answeredUnattended = true;
                    loop.unattended(loop.context);
                    continue;
                }
                if (loop.abandon != nullptr) {
                    loop.abandon(loop.context);
                }
                break;
            }
            const BOOL got = GetMessageA(&message, nullptr, 0, 0);
            if (got == -1) {
                break;
            }
            if (got == 0) {
                message.message = WM_QUIT;
            }
        }
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            if (loop.abandon != nullptr) {
                loop.abandon(loop.context);
            }
            break;
        }
        changed = true;
        // A key's character is queued before the presentation takes the key, so that a text
        // field it draws gets the character too.
        TranslateMessage(&message);
        if (IsInputMessage(message.message)) {
            if (presenter != nullptr && presenter->takeInput != nullptr &&
                presenter->takeInput(message, presenter->context)) {
                continue;
            }
            if (KeyForDialog(loop.modalWindow, message) &&
                Win32DialogKey(loop.modalWindow, message)) {
                continue;
            }
            if (TargetDisabled(message.hwnd)) {
                continue;
            }
        }
        DispatchMessageA(&message);
    }
}

}  // namespace

bool IsInputMessage(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONUP);
}

void RunModalLoop(const ModalLoop& loop) {
    HCURSOR shapeBefore = nullptr;
    if (loop.showArrow) {
        shapeBefore = SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    }
    RunLoopTurns(loop);
    if (loop.showArrow) {
        SetCursor(shapeBefore);
    }
}

}  // namespace win32_internal

namespace win32_test {

void SetModalIdleHook(ModalIdleHook hook, void* context) {
    win32_internal::idleHook = hook;
    win32_internal::idleContext = context;
}

}  // namespace win32_test
