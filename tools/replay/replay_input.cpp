#include "tools/replay/replay_input.h"

#include "platform/dinput/test_input_backend.h"
#include "platform/win32/message_keys.h"
#include "platform/win32/shell_test_hooks.h"
#include "platform/winbase/time_api.h"
#include "tools/replay/replay_timeline.h"

ReplayInput::ReplayInput() : backend_(&dinput_test::UseTestInputBackend()) {
    dinput_test::TestPad pad;
    pad.name = "Replay Pad";
    pad.buttons = kReplayPadButtons;
    pad_ = backend_->PlugPad(pad);
}

ReplayInput::~ReplayInput() {
    InstallInputBackend(nullptr);
}

void ReplayInput::StampTime() {
    backend_->SetTime(timeGetTime());
}

void ReplayInput::Key(HWND window, UINT virtualKey, bool down) {
    bool rightHand = false;
    if (virtualKey >= VK_LSHIFT && virtualKey <= VK_RMENU) {
        static constexpr UINT kPairs[] = {VK_SHIFT, VK_CONTROL, VK_MENU};
        rightHand = ((virtualKey - VK_LSHIFT) & 1u) != 0;
        virtualKey = kPairs[(virtualKey - VK_LSHIFT) / 2];
    }
    if (const BYTE dik = dinput_test::DikOfVirtualKey(virtualKey, rightHand); dik != 0) {
        StampTime();
        if (down) {
            backend_->KeyDown(dik);
        } else {
            backend_->KeyUp(dik);
        }
    }
    win32_test::InjectKey(window, virtualKey, down, false, rightHand);
}

void ReplayInput::MoveTo(HWND window, POINT client) {
    const POINT from = Pointer();
    if (pointer_ && from.x == client.x && from.y == client.y) {
        return;
    }
    pointer_ = client;
    StampTime();
    backend_->MoveMouse(client.x - from.x, client.y - from.y);
    win32_test::InjectMouseMove(window, client.x, client.y);
}

void ReplayInput::Button(HWND window, int button, bool down) {
    StampTime();
    backend_->MouseButton(button, down);
    const POINT at = Pointer();
    win32_test::InjectMouseButton(window, button, down, at.x, at.y);
}

void ReplayInput::Wheel(HWND window, int notches) {
    StampTime();
    backend_->TurnWheel(notches);
    const POINT at = Pointer();
    win32_test::InjectMouseWheel(window, notches, at.x, at.y);
}

void ReplayInput::PadButton(int button, bool down) {
    StampTime();
    backend_->SetPadButton(pad_, button, down);
}
