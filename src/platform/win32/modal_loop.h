#pragma once
// Internal to src/platform: the modal loop of dialogs, drawn message boxes and menus. It takes
// the thread's messages and dispatches them as the main loop does, so that window timers (sound
// fades, delayed deletions) and paints go on while it runs; the keys of a modal dialog go
// to its keyboard (dialog_keyboard.h); other input for a disabled window (the owner of a modal
// dialog) is dropped. A presentation may take input first and refresh the
// picture whenever the queue runs empty.
//
// When the queue is empty the loop calls the test idle hook when one is set (tests and replays
// drive the modal window from there); otherwise it waits for a message, unless no user can
// answer (no presentation, or a headless display): then `unattended` is called once, and if
// the loop still runs after that, it ends it the hard way (`abandon`).

#include "platform/win32/ui_hooks.h"

namespace win32_internal {

struct ModalLoop {
    const bool* done = nullptr;
    HWND modalWindow = nullptr;  // the dialog (null for a box or a menu)
    const ModalPresenter* presenter = nullptr;
    // The arrow shows while the loop runs (a dialog or menu drawn over a window whose own
    // pointer may be hidden); the shape before comes back afterwards.
    bool showArrow = false;
    // No user can answer: what a user would have done by default (a dialog's default button).
    void (*unattended)(void* context) = nullptr;
    // Still running after `unattended`: end it.
    void (*abandon)(void* context) = nullptr;
    void* context = nullptr;
};

// Runs until *done. A WM_QUIT taken meanwhile is posted again and ends the loop (after
// `abandon`).
void RunModalLoop(const ModalLoop& loop);

// True for keyboard and mouse messages.
bool IsInputMessage(UINT message);

}  // namespace win32_internal
