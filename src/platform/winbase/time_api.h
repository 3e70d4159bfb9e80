#pragma once
// The performance counter, the millisecond timer and Sleep. Tests switch to a manual clock that
// only they advance (test_hooks.h); Sleep then waits for the manual clock.

#include <atomic>

#include "platform/winbase/win_types.h"

BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);
DWORD timeGetTime();
void Sleep(DWORD milliseconds);
// Sleep that ends as soon as `wake` is true; whoever sets it calls WakeSleepers. On the manual
// clock a woken sleeper leaves without the clock moving, so a thread that waits for the
// sleeper's end never waits for a clock that only it would advance.
void SleepUnless(DWORD milliseconds, const std::atomic<bool>& wake);
// Lets every SleepUnless whose flag is set return.
void WakeSleepers();

// True while tests drive the clock by hand. A thread that waits in real time for another
// thread's work then waits for that work to be done instead, so that what it sees does not
// depend on the scheduler (time stands still meanwhile).
bool Win32ClockIsManual();
