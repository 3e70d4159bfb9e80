#include "shell/frame_control.h"

#include <algorithm>

#include "foundation/clock.h"
#include "media/graphics/d3d_application.h"
#include "media/graphics/d3d_functions.h"
#include "media/input/di_application.h"
#include "shell/cursor.h"

int PauseFlag = 0;
int SingleStepFlag = 0;
int DialogModeFlag = 0;
int AppActiveFlag = 1;
int DeviceResetPending = 0;
float GameSpeed = 1.0f;
FrameClock FrameClockState;

double MeasureFrameTime(double now) {
    FrameClock& clock = FrameClockState;
    if (clock.lastFrameTime == 0.0 || AppActiveFlag == 0 || PauseFlag != 0) {
        clock.lastFrameTime = now;
    }
    double t = now - clock.lastFrameTime;
    clock.lastFrameTime = now;
    if (t <= kMinFrameTime) {
        t = kMinFrameTime;
    }
    if (t >= kMaxFrameTime) {
        t = kMaxFrameTime;
    }
    return t;
}

double AdvanceTime(double measured, int advance) {
    double t = measured;
    if (DialogModeFlag != 0 || PauseFlag != 0 || advance == 0) {
        t = 0.0;
    }
    if (SingleStepFlag != 0) {
        t = kSingleStepTime;
        PauseFlag = 1;
    }
    return t;
}

unsigned SpriteStepMilliseconds(double seconds) {
    if (seconds <= 0.0) {
        return 0;
    }
    return static_cast<unsigned>(std::max(seconds * 1000.0, 1.0));
}

void CountFrame(double now) {
    FrameClock& clock = FrameClockState;
    if (clock.fpsPeriodStart == 0.0) {
        clock.fpsPeriodStart = now;
    }
    DrawFpsOverlay(static_cast<unsigned>(clock.framesInLastPeriod), clock.fpsPeriodLength);
    if (now - clock.fpsPeriodStart > 1.0) {
        clock.fpsPeriodLength = now - clock.fpsPeriodStart;
        clock.framesInLastPeriod = clock.framesInPeriod;
        clock.fpsPeriodStart = now;
        clock.framesInPeriod = 1;
    } else {
        ++clock.framesInPeriod;
    }
}

HRESULT PresentFrame() {
    if (D3DApp == nullptr) {
        return E_FAIL;
    }
    return D3DApp->Present(nullptr, nullptr, nullptr, nullptr);
}

void SetDialogMode(int on) {
    DialogModeFlag = on;
    PauseFlag = on;
    if (IDirect3DDevice9* device = CurrentDevice()) {
        device->SetDialogBoxMode(on != 0 ? TRUE : FALSE);
    }
    if (on == 0 && gDIApplication != nullptr) {
        // What the dialog took (the key that answered it) is no press of the game's.
        gDIApplication->ForgetHeldInput(kDIKeyboardBit | kDIMouseBit | kDIPadBit);
    }
    SetCursorShape(kCursorShapeRebuild);
}

void ResetFrameControl() {
    PauseFlag = 0;
    SingleStepFlag = 0;
    DialogModeFlag = 0;
    AppActiveFlag = 1;
    DeviceResetPending = 0;
    GameSpeed = 1.0f;
    FrameClockState = FrameClock{};
    FpsOverlayFlag = 0;
    SetFrameDrawnObserver(nullptr, nullptr);
}
