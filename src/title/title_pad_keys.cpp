// The pad on the title screen: the stick repeats arrow keys, the decide and cancel buttons and
// the page buttons become their keys, all posted to the game window as the keyboard's would be.

#include <algorithm>
#include <cstdlib>

#include "adventure/pad_buttons.h"
#include "media/input/di_application.h"
#include "platform/win32/message_api.h"
#include "platform/win32/message_keys.h"
#include "shell/game_window.h"
#include "title/title_menu.h"

namespace {

// Decide and cancel are the pad's input actions 0 and 1.
constexpr int kDecideAction = 0;
constexpr int kCancelAction = 1;

struct AxisRepeat {
    double timer = 0.0;  // seconds until the next step; 0: ready
    bool firstStep = true;
};

struct PadKeyState {
    AxisRepeat x;
    AxisRepeat y;
    bool diagonal = false;
};

PadKeyState padKeys;

// -1, 0 or +1 for one axis, with its repeat timer.
int AxisDirection(AxisRepeat& axis, LONG value, LONG threshold, double seconds,
                  const DIApplication& input) {
    if (value > -threshold && value < threshold) {
        // Let go: the hold is over, however long its timer still runs, so that the next push
        // steps at once.
        axis.timer = 0.0;
        axis.firstStep = true;
        return 0;
    }
    if (axis.timer > 0.0) {
        axis.timer = std::max(0.0, axis.timer - seconds);
        return 0;
    }
    axis.timer = axis.firstStep ? input.GetKeyRepeatDelay() : input.GetKeyRepeatInterval();
    axis.firstStep = false;
    return value < 0 ? -1 : 1;
}

void PostKey(UINT key) {
    PostMessageA(MainWindow, WM_KEYDOWN, key, 0);
}

}  // namespace

namespace Title {

void ResetPadToKeys() {
    padKeys = PadKeyState{};
}

void PadToKeys(double seconds) {
    const DIApplication* input = gDIApplication;
    if (input == nullptr) {
        return;
    }
    const LONG threshold = std::max<LONG>(1, input->GetPadRangeMax() * 9 / 10);
    DIJOYSTATE2 pad{};
    input->GetPadState(&pad);
    int dx = AxisDirection(padKeys.x, pad.lX, threshold, seconds, *input);
    int dy = AxisDirection(padKeys.y, pad.lY, threshold, seconds, *input);
    if (!padKeys.diagonal && dx != 0 && dy != 0) {
        if (std::labs(pad.lX) >= std::labs(pad.lY)) {
            dy = 0;
        } else {
            dx = 0;
        }
    }
    if (dx != 0) {
        PostKey(dx < 0 ? VK_LEFT : VK_RIGHT);
    }
    if (dy != 0) {
        PostKey(dy < 0 ? VK_UP : VK_DOWN);
    }
    if (input->IsPadButtonPressed(GetPadButton(kDecideAction))) {
        PostKey(VK_RETURN);
    }
    if (input->IsPadButtonPressed(GetPadButton(kCancelAction))) {
        PostKey(VK_ESCAPE);
    }
    if (input->IsPadButtonPressed(kTitlePadPageUp)) {
        PostKey(VK_PRIOR);
    }
    if (input->IsPadButtonPressed(kTitlePadPageDown)) {
        PostKey(VK_NEXT);
    }
}

}  // namespace Title
