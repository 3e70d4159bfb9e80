#pragma once
// The frame step and its control flags: frame time measured on the seconds clock and clamped,
// pausing and single steps, dialog mode, device-loss recovery, the fixed drawing order and the
// frame-rate count.

#include "platform/winbase/win_types.h"

extern int PauseFlag;
extern int SingleStepFlag;
extern int DialogModeFlag;
extern int AppActiveFlag;  // 0 while the window is inactive in windowed mode
extern int DeviceResetPending;
extern float GameSpeed;  // always 1.0

// Shortest and longest frame time in seconds, and the length of a single step.
constexpr double kMinFrameTime = 0.001;
constexpr double kMaxFrameTime = 0.06666666666666667;
constexpr double kSingleStepTime = 0.041666666666666664;

// Clock values in seconds and the frame-rate count.
struct FrameClock {
    double lastFrameTime = 0.0;
    double fpsPeriodStart = 0.0;
    double fpsPeriodLength = 0.0;
    int framesInPeriod = 1;
    int framesInLastPeriod = 1;
};
extern FrameClock FrameClockState;

// The measured and clamped time of a frame at clock value `now` (seconds); moves the last frame
// time on. Inactive, paused or first frames measure from `now` itself.
double MeasureFrameTime(double now);
// The time the frame advances the game by: 0 in dialog mode, while paused or for a redraw; the
// single step's 1/24 s (which pauses again).
double AdvanceTime(double measured, int advance);
// Whole milliseconds of the sprite step: at least 1 when the time is positive.
unsigned SpriteStepMilliseconds(double seconds);
// Counts the frame into the frame-rate periods of more than one second.
void CountFrame(double now);

// One frame; advance 0 redraws without advancing time.
void UpdateFrame(int advance);
HRESULT PresentFrame();
// Brackets every dialog and message box over the game window; switching off clears PauseFlag,
// and the keys and buttons then held are the dialog's: the game sees them only once released.
void SetDialogMode(int on);

// Every flag and clock back to the start of a run.
void ResetFrameControl();

// Called after each frame is drawn and before it is presented (the replay harness hashes it).
using FrameDrawnObserver = void (*)(void* context);
void SetFrameDrawnObserver(FrameDrawnObserver observer, void* context);
