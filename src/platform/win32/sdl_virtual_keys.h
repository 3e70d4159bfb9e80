#pragma once
// Internal to the Windows layer: the keys of SDL's scancodes (USB usage numbers, independent of
// the keyboard layout) as virtual keys and PC set-1 scan codes.

#include <optional>

#include "platform/winbase/win_types.h"

namespace win32_internal {

struct KeyCode {
    UINT virtualKey = 0;
    UINT scanCode = 0;       // set-1 code without the extended prefix
    bool extended = false;   // the E0-prefixed keys: right Ctrl and Alt, arrows, keypad Enter...
    bool rightHand = false;  // the right Shift, Ctrl and Alt keys
};

// nullopt for a scancode no key message exists for.
std::optional<KeyCode> KeyCodeOfSdlScancode(int scancode);
// The scancode that gives `virtualKey` (of a modifier pair, the side asked for), or -1.
int SdlScancodeOfVirtualKey(UINT virtualKey, bool rightHand = false);

}  // namespace win32_internal
