#pragma once
// Internal to src/platform: the presentation of dialogs, message boxes and menus (src/platform/ui)
// plugs into the Windows layer here. Without it (tests, no display) dialogs and menus run their
// plain modal loops, which only a test's idle hook answers, and message boxes use SDL's box or
// scripted answers.

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
    // A modeless top-level dialog was made (a desktop window of its own): the presentation draws
    // it from now on, answering its input, until it is destroyed. False when it cannot.
    bool (*showModeless)(HWND dialog) = nullptr;
    // True when a dialog over `owner` can be drawn (the owner has a device that presents):
    // message boxes over it are then drawn as dialogs instead of SDL's box.
    bool (*drawsOver)(HWND owner) = nullptr;
    // The open menu of `window` (menu_tracker.h ActiveMenuTracker) is to be drawn while its loop
    // runs: fills the presenter's `refresh` and `userPresent`; false when it cannot be drawn.
    bool (*beginMenu)(HWND window, ModalPresenter* presenter) = nullptr;
    void (*endMenu)(HWND window) = nullptr;
    // The width in pixels of a Shift-JIS text as menus and message boxes are drawn.
    LONG (*measureText)(const char* sjis) = nullptr;
};

// Installs the presentation (null removes it).
void SetUiHooks(const UiHooks* hooks);
const UiHooks* GetUiHooks();

}  // namespace win32_internal
