#pragma once
// The adventure frame: the per-frame routine of the adventure mode and its window-message hook.
// Each frame it reads the player's input (advance, window toggle, skip, fast-forward, backlog
// paging), counts the page and delay timers down, runs the script VM while nothing holds it,
// and draws the scene and the message window. The state below is what it keeps between frames
// together with the page-end and wait functions.

#include <cstdint>

#include "platform/winbase/win_types.h"

// The current page is complete and waits for the player.
extern int PageWait;
// Milliseconds to wait before the script runs on (a wait, an auto-mode or timed page delay).
extern std::uint32_t PendingDelayMs;
// Skipping this frame (a held skip key or fast-forward mode).
extern int SkipActive;
extern int FastForwardMode;
// Kept by ResetAdventureState.
extern int AutoMode;
// Set by the script: no skipping at all.
extern int SkipDisabled;
// Running scene cross-fades that hold the script.
extern std::int32_t BlockingCount;
// Seconds until a held backlog key or pad direction steps again; 0: not held.
extern double KeyRepeatTimer;
// 1: the next step is the first of a hold (the repeat delay follows it), 0: a repeat.
extern std::uint8_t KeyRepeatFirst;

// One frame of the adventure mode; `dt` in seconds.
void AdventureFrame(double dt);
// The adventure mode's message hook: 0 consumed (every key press, the mouse buttons and moves),
// 1 not.
LRESULT AdventureOnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The end callback of a movie: on its end (1), a user abort (2) or an error abort (3) both
// players are closed and dialog mode ends. Answers 0.
int EndMovie(int reason);

// The fast-forward menu command and pad action; allowed on read pages or with MsgSkipUnseen.
void ToggleFastForwardMode();
// The hands-free menu command.
void ToggleAutoMode();

// Whole milliseconds of a frame: 0 for no time, else at least 1.
std::uint32_t FrameMilliseconds(double dt);
// The backlog-paging input of one frame without its page-wait guard: the repeat timer of a held
// key or pad direction (a frame with neither held ends the hold at once), then the direction
// read (-1 older, +1 newer, 0 none), which also ends auto mode. The caller steps the backlog by
// the answer.
int ReadBacklogDirection(double dt);
