#include "platform/dinput/system_input_settings.h"

#include <algorithm>

#include "platform/dinput/test_input_backend.h"
#include "platform/win32/window_placement.h"

namespace {

// The Windows defaults.
int keyboardDelay = 1;
DWORD keyboardSpeed = 31;
int buttonsSwapped = 0;

}  // namespace

BOOL SystemParametersInfoA(UINT action, UINT, LPVOID value, UINT) {
    if (value == nullptr) {
        return FALSE;
    }
    switch (action) {
        case SPI_GETKEYBOARDDELAY:
            *static_cast<int*>(value) = keyboardDelay;
            return TRUE;
        case SPI_GETKEYBOARDSPEED:
            *static_cast<DWORD*>(value) = keyboardSpeed;
            return TRUE;
        default:
            return FALSE;
    }
}

int GetSystemMetrics(int index) {
    if (index == SM_SWAPBUTTON) {
        return buttonsSwapped;
    }
    return Win32ScreenMetric(index);
}

namespace dinput_test {

void SetKeyboardRepeatSettings(int delay, int speed) {
    keyboardDelay = std::clamp(delay, 0, 3);
    keyboardSpeed = static_cast<DWORD>(std::clamp(speed, 0, 31));
}

void SetMouseButtonsSwapped(bool swapped) {
    buttonsSwapped = swapped ? 1 : 0;
}

}  // namespace dinput_test
