#pragma once
// Internal to the message core: the due-time bookkeeping of a queue's timers. All calls need
// the state mutex held. Times are timeGetTime values, compared by wrapping difference.

#include <cstdint>

#include "platform/win32/window_state.h"

namespace win32_internal {

bool TimerIsDue(const Timer& timer, DWORD now);
// The due timer that passes `filter` and has waited longest (ties: the one set first).
Timer* EarliestDueTimerLocked(MessageQueue& queue, HWND filter, DWORD now);
// After a WM_TIMER was taken: the next due time is the first multiple of the period after the
// previous due time that lies in the future, so a late reader gets one WM_TIMER, not a burst.
void RearmTimer(Timer& timer, DWORD now);
// Marks timers that became due as new (QS_TIMER in the queue's new kinds); true when any timer
// is due.
bool AnnounceDueTimersLocked(MessageQueue& queue, DWORD now);
// Milliseconds until the next timer that is not due yet becomes due; -1 when there is none.
std::int64_t MsUntilNextTimerLocked(const MessageQueue& queue, DWORD now);

}  // namespace win32_internal
