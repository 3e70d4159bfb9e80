#pragma once
// Window timers with Windows' semantics. A due timer makes the owning thread's next
// GetMessageA or PeekMessageA return WM_TIMER (wParam the timer id, lParam its TIMERPROC or 0)
// when no posted message waits; at most one WM_TIMER per timer is pending, and due timers come
// out in the order of their due times. Time is timeGetTime (time_api.h), so a test's manual
// clock drives the timers.

#include "platform/winbase/win_types.h"

using TIMERPROC = void (*)(HWND window, UINT message, UINT_PTR id, DWORD time);

// Periods are kept within these bounds (milliseconds); a period of 0 becomes the minimum.
constexpr UINT USER_TIMER_MINIMUM = 0x0000000Au;
constexpr UINT USER_TIMER_MAXIMUM = 0x7FFFFFFFu;

// With a window: the timer (window, id) belongs to the window's thread and is replaced when it
// exists; the result is nonzero on success. Without a window: a timer of the calling thread;
// an id that names an existing timer of the thread is replaced, else a new id is chosen and
// returned. The due time counts from this call; after each WM_TIMER the next due time is the
// next multiple of the period after the previous one.
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapseMs, TIMERPROC procedure);
// Stops the timer at once (no WM_TIMER of it is returned afterwards). May be called from any
// thread.
BOOL KillTimer(HWND window, UINT_PTR id);
