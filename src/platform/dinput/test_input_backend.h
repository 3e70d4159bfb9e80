#pragma once
// Test-only: an input backend that tests drive by hand, deterministically. The program itself
// never uses it.

#include <array>
#include <string>

#include "platform/dinput/input_backend.h"

namespace dinput_test {

struct TestPad {
    std::string name = "Test Pad";
    std::array<BYTE, 16> joystickGuid{};
    DWORD devType = DI8DEVTYPE_GAMEPAD | (DI8DEVTYPEGAMEPAD_STANDARD << 8);
    int axes = 2;
    int buttons = 8;
    int hats = 1;
};

class TestInputBackend : public InputBackend {
public:
    void RefreshPads() override {}

    void SetTime(DWORD timeMs) { State()->SetEventTime(timeMs); }
    void KeyDown(BYTE dik) { State()->SetKey(dik, true); }
    void KeyUp(BYTE dik) { State()->SetKey(dik, false); }
    void MoveMouse(LONG dx, LONG dy) { State()->MoveMouse(dx, dy); }
    // Notches away from the user are positive.
    void TurnWheel(int notches) { State()->TurnWheel(notches * WHEEL_DELTA); }
    void MouseButton(int button, bool down) { State()->SetMouseButton(button, down); }

    // Plugs a pad in with every axis centred (0), hats centred and buttons up.
    PadId PlugPad(const TestPad& pad);
    void UnplugPad(PadId pad) { State()->DetachPad(pad); }
    void SetPadAxis(PadId pad, int axis, std::int16_t value) {
        State()->SetPadAxis(pad, axis, value);
    }
    // `bits`: kHatUp, kHatRight, kHatDown, kHatLeft combined; 0 centred.
    void SetPadHat(PadId pad, int hat, BYTE bits) { State()->SetPadHat(pad, hat, bits); }
    void SetPadButton(PadId pad, int button, bool down) {
        State()->SetPadButton(pad, button, down);
    }
    // Another program holds the pad exclusively: an exclusive Acquire answers
    // DIERR_OTHERAPPHASPRIO.
    void SetPadHeldElsewhere(PadId pad, bool held) { State()->SetPadHeldElsewhere(pad, held); }
};

// Installs a fresh test backend, with the application active, and returns it. It stays
// installed until another backend is.
TestInputBackend& UseTestInputBackend();

// The DIK code of the key that gives `virtualKey` on a US keyboard (of a modifier pair, the side
// asked for), as the SDL backend would set it for that key; 0 when DirectInput has no code.
BYTE DikOfVirtualKey(UINT virtualKey, bool rightHand = false);

// The user's keyboard repeat settings and mouse button swap that SystemParametersInfoA and
// GetSystemMetrics report (defaults: delay 1, speed 31, not swapped).
void SetKeyboardRepeatSettings(int delay, int speed);
void SetMouseButtonsSwapped(bool swapped);

}  // namespace dinput_test
