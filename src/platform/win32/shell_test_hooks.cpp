#include "platform/win32/shell_test_hooks.h"

#include "platform/win32/message_keys.h"
#include "platform/win32/sdl_virtual_keys.h"
#include "platform/win32/window_input.h"

using namespace win32_internal;

namespace win32_test {

void InjectActivation(HWND window, bool active, bool byClick) {
    DeliverActivation(window, active, byClick);
}

void InjectClose(HWND window) {
    DeliverClose(window);
}

void InjectSize(HWND window, WPARAM sizeKind, int width, int height) {
    DeliverSize(window, sizeKind, width, height);
}

void InjectMove(HWND window, int x, int y) {
    DeliverMove(window, x, y);
}

void InjectSizeMove(HWND window, bool entering) {
    DeliverSizeMove(window, entering);
}

void InjectExpose(HWND window) {
    DeliverExpose(window);
}

void InjectKey(HWND window, UINT virtualKey, bool down, bool repeat, bool rightHand) {
    KeyCode key;
    key.virtualKey = virtualKey;
    if (std::optional<KeyCode> known =
            KeyCodeOfSdlScancode(SdlScancodeOfVirtualKey(virtualKey, rightHand))) {
        key = *known;
    }
    DeliverKey(window, virtualKey, key.scanCode, key.extended, rightHand, down, repeat);
}

void InjectMouseMove(HWND window, int x, int y) {
    DeliverMouseMove(window, x, y);
}

void InjectMouseButton(HWND window, int button, bool down, int x, int y) {
    DeliverMouseButton(window, button, down, x, y);
}

void InjectMouseWheel(HWND window, int notches, int x, int y) {
    constexpr int kWheelDelta = 120;
    DeliverMouseWheel(window, notches * kWheelDelta, x, y);
}

void InjectMouseLeave(HWND window, int screenX, int screenY) {
    DeliverMouseLeave(window, screenX, screenY);
}

void ResetWindowInput() {
    ResetInputState();
    ResetPointer();
}

}  // namespace win32_test
