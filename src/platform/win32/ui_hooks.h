#pragma once
// Internal to src/platform: the presentation of dialogs, message boxes and menus (src/platform/ui)
// plugs into the Windows layer here. Without it (tests, no display) dialogs run their plain
// modal loop, message boxes use SDL's box or scripted answers, and menus open only when a test
// drives them.

#include "platform/win32/message_api.h"
#include "platform/winbase/win_types.h"

namespace win32_internal {

// What a presentation adds to a modal loop (modal_loop.h).
struct ModalPresenter {
    // An input message (keys, mouse) taken from the queue: true when the presentation took it,
    // so that it is not dispatched.
    bool (*takeInput)(const MSG& message, void* context) = nullptr;
    // The queue is empty: bring the picture up to date. `changed`: messages were dispatched
    // since the last call.
    void (*refresh)(bool changed, void* context) = nullptr;
    // True when a user can answer (a display shows the presentation); false makes the loop
    // answer as a headless one does.
    bool (*userPresent)(void* context) = nullptr;
    void* context = nullptr;
};

struct UiHooks {
    // Runs the modal loop of `dialog` until `*ended`, drawing it; false when it cannot show the
    // dialog (the plain loop runs then).
    bool (*runDialog)(HWND dialog, const bool* ended) = nullptr;
    // A message box drawn by the presentation; false when it cannot draw one for this owner.
    bool (*messageBox)(HWND owner, LPCSTR text, LPCSTR caption, UINT style, int* answer) = nullptr;
    // The menu bar's loop for `window` (WM_SYSCOMMAND SC_MOUSEMENU / SC_KEYMENU), opened at the
    // popup under `screen` (mouse) or with the mnemonic `key` (keyboard, 0 for the first popup).
    void (*runMenuBar)(HWND window, bool byMouse, POINT screen, int key) = nullptr;
    // A popup menu at screen (x, y): the command chosen, 0 for none; false when it cannot be
    // shown.
    bool (*trackPopupMenu)(HMENU menu, UINT flags, int x, int y, HWND owner,
                           UINT* command) = nullptr;
};

// Installs the presentation (null removes it).
void SetUiHooks(const UiHooks* hooks);
const UiHooks* GetUiHooks();

}  // namespace win32_internal
