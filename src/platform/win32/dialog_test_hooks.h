#pragma once
// Test-only controls of modal loops (dialogs, drawn boxes, menus). The program never calls these.

#include "platform/winbase/win_types.h"

namespace win32_test {

// Called by a modal loop each time its queue is empty, instead of waiting for a message: the
// test (or replay) acts on `modalWindow` (the dialog; null for a box or a menu) from there, and
// the loop calls it again until the modal window ends. Null: the loops wait as in the program.
using ModalIdleHook = void (*)(HWND modalWindow, void* context);
void SetModalIdleHook(ModalIdleHook hook, void* context);

}  // namespace win32_test
