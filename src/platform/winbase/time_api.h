#pragma once
// The performance counter, the millisecond timer and Sleep. Tests switch to a manual clock that
// only they advance (test_hooks.h); Sleep then waits for the manual clock.

#include "platform/winbase/win_types.h"

BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);
DWORD timeGetTime();
void Sleep(DWORD milliseconds);

// True while tests drive the clock by hand. A thread that waits in real time for another
// thread's work then waits for that work to be done instead, so that what it sees does not
// depend on the scheduler (time stands still meanwhile).
bool Win32ClockIsManual();
