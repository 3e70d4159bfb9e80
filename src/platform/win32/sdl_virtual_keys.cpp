#include "platform/win32/sdl_virtual_keys.h"

#include <SDL.h>

#include <array>

#include "platform/win32/message_keys.h"

namespace win32_internal {
namespace {

struct Entry {
    SDL_Scancode scancode;
    KeyCode key;
};

constexpr KeyCode Key(UINT vk, UINT scan, bool extended = false, bool right = false) {
    return KeyCode{vk, scan, extended, right};
}

// A US keyboard's set-1 codes; the punctuation keys carry the virtual keys of their US places.
constexpr Entry kKeys[] = {
    {SDL_SCANCODE_A, Key('A', 0x1E)},
    {SDL_SCANCODE_B, Key('B', 0x30)},
    {SDL_SCANCODE_C, Key('C', 0x2E)},
    {SDL_SCANCODE_D, Key('D', 0x20)},
    {SDL_SCANCODE_E, Key('E', 0x12)},
    {SDL_SCANCODE_F, Key('F', 0x21)},
    {SDL_SCANCODE_G, Key('G', 0x22)},
    {SDL_SCANCODE_H, Key('H', 0x23)},
    {SDL_SCANCODE_I, Key('I', 0x17)},
    {SDL_SCANCODE_J, Key('J', 0x24)},
    {SDL_SCANCODE_K, Key('K', 0x25)},
    {SDL_SCANCODE_L, Key('L', 0x26)},
    {SDL_SCANCODE_M, Key('M', 0x32)},
    {SDL_SCANCODE_N, Key('N', 0x31)},
    {SDL_SCANCODE_O, Key('O', 0x18)},
    {SDL_SCANCODE_P, Key('P', 0x19)},
    {SDL_SCANCODE_Q, Key('Q', 0x10)},
    {SDL_SCANCODE_R, Key('R', 0x13)},
    {SDL_SCANCODE_S, Key('S', 0x1F)},
    {SDL_SCANCODE_T, Key('T', 0x14)},
    {SDL_SCANCODE_U, Key('U', 0x16)},
    {SDL_SCANCODE_V, Key('V', 0x2F)},
    {SDL_SCANCODE_W, Key('W', 0x11)},
    {SDL_SCANCODE_X, Key('X', 0x2D)},
    {SDL_SCANCODE_Y, Key('Y', 0x15)},
    {SDL_SCANCODE_Z, Key('Z', 0x2C)},
    {SDL_SCANCODE_1, Key('1', 0x02)},
    {SDL_SCANCODE_2, Key('2', 0x03)},
    {SDL_SCANCODE_3, Key('3', 0x04)},
    {SDL_SCANCODE_4, Key('4', 0x05)},
    {SDL_SCANCODE_5, Key('5', 0x06)},
    {SDL_SCANCODE_6, Key('6', 0x07)},
    {SDL_SCANCODE_7, Key('7', 0x08)},
    {SDL_SCANCODE_8, Key('8', 0x09)},
    {SDL_SCANCODE_9, Key('9', 0x0A)},
    {SDL_SCANCODE_0, Key('0', 0x0B)},
    {SDL_SCANCODE_RETURN, Key(VK_RETURN, 0x1C)},
    {SDL_SCANCODE_ESCAPE, Key(VK_ESCAPE, 0x01)},
    {SDL_SCANCODE_BACKSPACE, Key(VK_BACK, 0x0E)},
    {SDL_SCANCODE_TAB, Key(VK_TAB, 0x0F)},
    {SDL_SCANCODE_SPACE, Key(VK_SPACE, 0x39)},
    {SDL_SCANCODE_MINUS, Key(VK_OEM_MINUS, 0x0C)},
    {SDL_SCANCODE_EQUALS, Key(VK_OEM_PLUS, 0x0D)},
    {SDL_SCANCODE_LEFTBRACKET, Key(VK_OEM_4, 0x1A)},
    {SDL_SCANCODE_RIGHTBRACKET, Key(VK_OEM_6, 0x1B)},
    {SDL_SCANCODE_BACKSLASH, Key(VK_OEM_5, 0x2B)},
    {SDL_SCANCODE_NONUSHASH, Key(VK_OEM_5, 0x2B)},
    {SDL_SCANCODE_SEMICOLON, Key(VK_OEM_1, 0x27)},
    {SDL_SCANCODE_APOSTROPHE, Key(VK_OEM_7, 0x28)},
    {SDL_SCANCODE_GRAVE, Key(VK_OEM_3, 0x29)},
    {SDL_SCANCODE_COMMA, Key(VK_OEM_COMMA, 0x33)},
    {SDL_SCANCODE_PERIOD, Key(VK_OEM_PERIOD, 0x34)},
    {SDL_SCANCODE_SLASH, Key(VK_OEM_2, 0x35)},
    {SDL_SCANCODE_CAPSLOCK, Key(VK_CAPITAL, 0x3A)},
    {SDL_SCANCODE_F1, Key(VK_F1, 0x3B)},
    {SDL_SCANCODE_F2, Key(VK_F2, 0x3C)},
    {SDL_SCANCODE_F3, Key(VK_F3, 0x3D)},
    {SDL_SCANCODE_F4, Key(VK_F4, 0x3E)},
    {SDL_SCANCODE_F5, Key(VK_F5, 0x3F)},
    {SDL_SCANCODE_F6, Key(VK_F6, 0x40)},
    {SDL_SCANCODE_F7, Key(VK_F7, 0x41)},
    {SDL_SCANCODE_F8, Key(VK_F8, 0x42)},
    {SDL_SCANCODE_F9, Key(VK_F9, 0x43)},
    {SDL_SCANCODE_F10, Key(VK_F10, 0x44)},
    {SDL_SCANCODE_F11, Key(VK_F11, 0x57)},
    {SDL_SCANCODE_F12, Key(VK_F12, 0x58)},
    {SDL_SCANCODE_PRINTSCREEN, Key(VK_SNAPSHOT, 0x37, true)},
    {SDL_SCANCODE_SCROLLLOCK, Key(VK_SCROLL, 0x46)},
    // Pause sends E1 1D 45; by convention its code is 0x45 without the extended flag.
    {SDL_SCANCODE_PAUSE, Key(VK_PAUSE, 0x45)},
    {SDL_SCANCODE_INSERT, Key(VK_INSERT, 0x52, true)},
    {SDL_SCANCODE_HOME, Key(VK_HOME, 0x47, true)},
    {SDL_SCANCODE_PAGEUP, Key(VK_PRIOR, 0x49, true)},
    {SDL_SCANCODE_DELETE, Key(VK_DELETE, 0x53, true)},
    {SDL_SCANCODE_END, Key(VK_END, 0x4F, true)},
    {SDL_SCANCODE_PAGEDOWN, Key(VK_NEXT, 0x51, true)},
    {SDL_SCANCODE_RIGHT, Key(VK_RIGHT, 0x4D, true)},
    {SDL_SCANCODE_LEFT, Key(VK_LEFT, 0x4B, true)},
    {SDL_SCANCODE_DOWN, Key(VK_DOWN, 0x50, true)},
    {SDL_SCANCODE_UP, Key(VK_UP, 0x48, true)},
    {SDL_SCANCODE_NUMLOCKCLEAR, Key(VK_NUMLOCK, 0x45, true)},
    {SDL_SCANCODE_KP_DIVIDE, Key(VK_DIVIDE, 0x35, true)},
    {SDL_SCANCODE_KP_MULTIPLY, Key(VK_MULTIPLY, 0x37)},
    {SDL_SCANCODE_KP_MINUS, Key(VK_SUBTRACT, 0x4A)},
    {SDL_SCANCODE_KP_PLUS, Key(VK_ADD, 0x4E)},
    {SDL_SCANCODE_KP_ENTER, Key(VK_RETURN, 0x1C, true)},
    {SDL_SCANCODE_KP_1, Key(VK_NUMPAD0 + 1, 0x4F)},
    {SDL_SCANCODE_KP_2, Key(VK_NUMPAD0 + 2, 0x50)},
    {SDL_SCANCODE_KP_3, Key(VK_NUMPAD0 + 3, 0x51)},
    {SDL_SCANCODE_KP_4, Key(VK_NUMPAD0 + 4, 0x4B)},
    {SDL_SCANCODE_KP_5, Key(VK_NUMPAD0 + 5, 0x4C)},
    {SDL_SCANCODE_KP_6, Key(VK_NUMPAD0 + 6, 0x4D)},
    {SDL_SCANCODE_KP_7, Key(VK_NUMPAD0 + 7, 0x47)},
    {SDL_SCANCODE_KP_8, Key(VK_NUMPAD0 + 8, 0x48)},
    {SDL_SCANCODE_KP_9, Key(VK_NUMPAD0 + 9, 0x49)},
    {SDL_SCANCODE_KP_0, Key(VK_NUMPAD0, 0x52)},
    {SDL_SCANCODE_KP_PERIOD, Key(VK_DECIMAL, 0x53)},
    {SDL_SCANCODE_NONUSBACKSLASH, Key(VK_OEM_102, 0x56)},
    {SDL_SCANCODE_APPLICATION, Key(VK_APPS, 0x5D, true)},
    {SDL_SCANCODE_KP_EQUALS, Key(VK_OEM_PLUS, 0x59)},
    {SDL_SCANCODE_F13, Key(VK_F13, 0x64)},
    {SDL_SCANCODE_F14, Key(VK_F13 + 1, 0x65)},
    {SDL_SCANCODE_F15, Key(VK_F13 + 2, 0x66)},
    {SDL_SCANCODE_F16, Key(VK_F13 + 3, 0x67)},
    {SDL_SCANCODE_F17, Key(VK_F13 + 4, 0x68)},
    {SDL_SCANCODE_F18, Key(VK_F13 + 5, 0x69)},
    {SDL_SCANCODE_F19, Key(VK_F13 + 6, 0x6A)},
    {SDL_SCANCODE_F20, Key(VK_F13 + 7, 0x6B)},
    {SDL_SCANCODE_F21, Key(VK_F13 + 8, 0x6C)},
    {SDL_SCANCODE_F22, Key(VK_F13 + 9, 0x6D)},
    {SDL_SCANCODE_F23, Key(VK_F13 + 10, 0x6E)},
    {SDL_SCANCODE_F24, Key(VK_F24, 0x76)},
    {SDL_SCANCODE_HELP, Key(VK_HELP, 0x63)},
    {SDL_SCANCODE_MENU, Key(VK_APPS, 0x5D, true)},
    {SDL_SCANCODE_SELECT, Key(VK_SELECT, 0x00)},
    {SDL_SCANCODE_EXECUTE, Key(VK_EXECUTE, 0x00)},
    {SDL_SCANCODE_MUTE, Key(VK_VOLUME_MUTE, 0x20, true)},
    {SDL_SCANCODE_VOLUMEUP, Key(VK_VOLUME_UP, 0x30, true)},
    {SDL_SCANCODE_VOLUMEDOWN, Key(VK_VOLUME_DOWN, 0x2E, true)},
    {SDL_SCANCODE_KP_COMMA, Key(VK_SEPARATOR, 0x7E)},
    {SDL_SCANCODE_INTERNATIONAL1, Key(VK_OEM_102, 0x73)},  // the Japanese backslash/underscore
    {SDL_SCANCODE_INTERNATIONAL2, Key(VK_KANA, 0x70)},     // katakana/hiragana
    {SDL_SCANCODE_INTERNATIONAL3, Key(VK_OEM_5, 0x7D)},    // yen
    {SDL_SCANCODE_INTERNATIONAL4, Key(VK_CONVERT, 0x79)},
    {SDL_SCANCODE_INTERNATIONAL5, Key(VK_NONCONVERT, 0x7B)},
    {SDL_SCANCODE_LANG1, Key(VK_KANA, 0x72)},
    {SDL_SCANCODE_LANG2, Key(VK_KANJI, 0x71)},
    {SDL_SCANCODE_LANG5, Key(VK_KANJI, 0x29)},  // hankaku/zenkaku
    {SDL_SCANCODE_CLEAR, Key(VK_CLEAR, 0x4C)},
    {SDL_SCANCODE_KP_CLEAR, Key(VK_CLEAR, 0x4C)},
    {SDL_SCANCODE_LCTRL, Key(VK_CONTROL, 0x1D)},
    {SDL_SCANCODE_LSHIFT, Key(VK_SHIFT, 0x2A)},
    {SDL_SCANCODE_LALT, Key(VK_MENU, 0x38)},
    {SDL_SCANCODE_LGUI, Key(VK_LWIN, 0x5B, true)},
    {SDL_SCANCODE_RCTRL, Key(VK_CONTROL, 0x1D, true, true)},
    {SDL_SCANCODE_RSHIFT, Key(VK_SHIFT, 0x36, false, true)},
    {SDL_SCANCODE_RALT, Key(VK_MENU, 0x38, true, true)},
    {SDL_SCANCODE_RGUI, Key(VK_RWIN, 0x5C, true)},
    {SDL_SCANCODE_AUDIONEXT, Key(VK_MEDIA_NEXT_TRACK, 0x19, true)},
    {SDL_SCANCODE_AUDIOPREV, Key(VK_MEDIA_PREV_TRACK, 0x10, true)},
    {SDL_SCANCODE_AUDIOSTOP, Key(VK_MEDIA_STOP, 0x24, true)},
    {SDL_SCANCODE_AUDIOPLAY, Key(VK_MEDIA_PLAY_PAUSE, 0x22, true)},
    {SDL_SCANCODE_AC_BACK, Key(VK_BROWSER_BACK, 0x6A, true)},
    {SDL_SCANCODE_AC_FORWARD, Key(VK_BROWSER_FORWARD, 0x69, true)},
    {SDL_SCANCODE_SLEEP, Key(VK_SLEEP, 0x5F, true)},
};

// Indexed by scancode; built once.
const std::array<std::optional<KeyCode>, SDL_NUM_SCANCODES>& Table() {
    static const auto table = [] {
        std::array<std::optional<KeyCode>, SDL_NUM_SCANCODES> built{};
        for (const Entry& entry : kKeys) {
            built[static_cast<std::size_t>(entry.scancode)] = entry.key;
        }
        return built;
    }();
    return table;
}

}  // namespace

std::optional<KeyCode> KeyCodeOfSdlScancode(int scancode) {
    if (scancode < 0 || scancode >= SDL_NUM_SCANCODES) {
        return std::nullopt;
    }
    return Table()[static_cast<std::size_t>(scancode)];
}

int SdlScancodeOfVirtualKey(UINT virtualKey, bool rightHand) {
    for (const Entry& entry : kKeys) {
        if (entry.key.virtualKey == virtualKey && entry.key.rightHand == rightHand) {
            return static_cast<int>(entry.scancode);
        }
    }
    return -1;
}

}  // namespace win32_internal
