#pragma once
// Input of a replay, brought as the desktop and the devices bring it to the running program:
// keys, the pointer, its buttons and the wheel reach both DirectInput's state and the game
// window's messages, DirectInput first, the order in which the SDL event pump feeds them; pad
// buttons reach DirectInput's first attached pad alone. DirectInput's part goes to whichever test
// backend is installed at the time (a test may install one of its own); with none, only the
// window messages are sent.

#include "platform/dinput/input_state.h"
#include "platform/winbase/win_types.h"

namespace dinput_test {
class TestInputBackend;
}

class ReplayInput {
public:
    // Installs DirectInput's test backend with one pad of kReplayPadButtons buttons attached,
    // so that the program finds a pad when it sets its devices up.
    ReplayInput();
    // Puts the default backend back.
    ~ReplayInput();
    ReplayInput(const ReplayInput&) = delete;
    ReplayInput& operator=(const ReplayInput&) = delete;

    // VK_LSHIFT..VK_RMENU stand for the left or right key of VK_SHIFT, VK_CONTROL or VK_MENU.
    void Key(HWND window, UINT virtualKey, bool down);
    // The pointer stands at `client` (client coordinates) without having moved there, as the
    // desktop's pointer stands where it is when a window opens under it: no message, no movement.
    void PlaceAt(HWND window, POINT client);
    // `client` in client coordinates, from where the pointer stands now (the game may have put it
    // there). A move to where the pointer already is brings nothing, as a real pointer that did
    // not move would not.
    void MoveTo(HWND window, POINT client);
    // Button 0 left, 1 right, at the pointer's position.
    void Button(HWND window, int button, bool down);
    // Notches positive away from the user, at the pointer's position.
    void Wheel(HWND window, int notches);
    void PadButton(int button, bool down);
    // The stick (the pad's X and Y axes) in per cent of a full deflection, -100..100 each.
    void PadStick(int xPercent, int yPercent);

private:
    // The installed test backend with its event time set to the program's clock; null when the
    // installed backend is not a test backend.
    static dinput_test::TestInputBackend* Backend();
    // The first attached pad of the installed test backend (*backend), 0 when there is none.
    static PadId FirstPad(dinput_test::TestInputBackend** backend);

    POINT pointer_{0, 0};
};
