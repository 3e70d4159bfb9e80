#include "tools/replay/replay_input.h"

#include "platform/dinput/test_input_backend.h"
#include "platform/win32/cursor_api.h"
#include "platform/win32/message_keys.h"
#include "platform/win32/shell_test_hooks.h"
#include "platform/win32/window_placement.h"
#include "platform/winbase/time_api.h"
#include "tools/replay/replay_timeline.h"

ReplayInput::ReplayInput() {
    dinput_test::TestPad pad;
    pad.name = "Replay Pad";
    pad.buttons = kReplayPadButtons;
    dinput_test::UseTestInputBackend().PlugPad(pad);
}

ReplayInput::~ReplayInput() {
    InstallInputBackend(nullptr);
}

dinput_test::TestInputBackend* ReplayInput::Backend() {
    auto* backend = dynamic_cast<dinput_test::TestInputBackend*>(&CurrentInputBackend());
    if (backend != nullptr) {
        backend->SetTime(timeGetTime());
    }
    return backend;
}

void ReplayInput::Key(HWND window, UINT virtualKey, bool down) {
    bool rightHand = false;
    if (virtualKey >= VK_LSHIFT && virtualKey <= VK_RMENU) {
        static constexpr UINT kPairs[] = {VK_SHIFT, VK_CONTROL, VK_MENU};
        rightHand = ((virtualKey - VK_LSHIFT) & 1u) != 0;
        virtualKey = kPairs[(virtualKey - VK_LSHIFT) / 2];
    }
    const BYTE dik = dinput_test::DikOfVirtualKey(virtualKey, rightHand);
    if (dinput_test::TestInputBackend* backend = Backend(); backend != nullptr && dik != 0) {
        if (down) {
            backend->KeyDown(dik);
        } else {
            backend->KeyUp(dik);
        }
    }
    win32_test::InjectKey(window, virtualKey, down, false, rightHand);
}

void ReplayInput::PlaceAt(HWND window, POINT client) {
    pointer_ = client;
    POINT screen = client;
    if (ClientToScreen(window, &screen)) {
        SetCursorPos(screen.x, screen.y);
    }
}

void ReplayInput::MoveTo(HWND window, POINT client) {
    // From where the pointer stands now: the game may have put it elsewhere since the last move.
    POINT from = pointer_;
    if (POINT now{}; GetCursorPos(&now) && ScreenToClient(window, &now)) {
        from = now;
    }
    if (from.x == client.x && from.y == client.y) {
        return;
    }
    pointer_ = client;
    if (dinput_test::TestInputBackend* backend = Backend()) {
        backend->MoveMouse(client.x - from.x, client.y - from.y);
    }
    win32_test::InjectMouseMove(window, client.x, client.y);
}

void ReplayInput::Button(HWND window, int button, bool down) {
    // The window first: a press activates an inactive window before the input layer sees it.
    const POINT at = pointer_;
    win32_test::InjectMouseButton(window, button, down, at.x, at.y);
    if (dinput_test::TestInputBackend* backend = Backend()) {
        backend->MouseButton(button, down);
    }
}

void ReplayInput::Wheel(HWND window, int notches) {
    if (dinput_test::TestInputBackend* backend = Backend()) {
        backend->TurnWheel(notches);
    }
    const POINT at = pointer_;
    win32_test::InjectMouseWheel(window, notches, at.x, at.y);
}

PadId ReplayInput::FirstPad(dinput_test::TestInputBackend** backend) {
    *backend = Backend();
    if (*backend == nullptr || (*backend)->State()->Pads().empty()) {
        return 0;
    }
    return (*backend)->State()->Pads().front().id;
}

void ReplayInput::PadButton(int button, bool down) {
    dinput_test::TestInputBackend* backend = nullptr;
    if (const PadId pad = FirstPad(&backend); pad != 0) {
        backend->SetPadButton(pad, button, down);
    }
}

void ReplayInput::PadStick(int xPercent, int yPercent) {
    dinput_test::TestInputBackend* backend = nullptr;
    if (const PadId pad = FirstPad(&backend); pad != 0) {
        constexpr int kFull = 32767;
        backend->SetPadAxis(pad, 0, static_cast<std::int16_t>(xPercent * kFull / 100));
        backend->SetPadAxis(pad, 1, static_cast<std::int16_t>(yPercent * kFull / 100));
    }
}
