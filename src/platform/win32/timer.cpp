#include <algorithm>

#include "platform/win32/timer_api.h"
#include "platform/win32/timer_queue.h"
#include "platform/win32/window_state.h"
#include "platform/winbase/file_api.h"
#include "platform/winbase/time_api.h"

namespace win32_internal {
namespace {

std::int32_t MsPastDue(const Timer& timer, DWORD now) {
    return static_cast<std::int32_t>(now - timer.dueMs);
}

Timer* FindTimer(MessageQueue& queue, HWND window, UINT_PTR id) {
    auto it = std::find_if(queue.timers.begin(), queue.timers.end(), [&](const Timer& timer) {
        return timer.window == window && timer.id == id;
    });
    return it == queue.timers.end() ? nullptr : &*it;
}

}  // namespace

bool TimerIsDue(const Timer& timer, DWORD now) {
    return MsPastDue(timer, now) >= 0;
}

Timer* EarliestDueTimerLocked(MessageQueue& queue, HWND filter, DWORD now) {
    Timer* best = nullptr;
    for (Timer& timer : queue.timers) {
        if (!TimerIsDue(timer, now) || !WindowFilterMatches(filter, timer.window)) {
            continue;
        }
        if (best == nullptr || MsPastDue(timer, now) > MsPastDue(*best, now) ||
            (MsPastDue(timer, now) == MsPastDue(*best, now) && timer.order < best->order)) {
            best = &timer;
        }
    }
    return best;
}

void RearmTimer(Timer& timer, DWORD now) {
    std::int32_t past = MsPastDue(timer, now);
    std::uint64_t late = past < 0 ? 0 : static_cast<std::uint64_t>(past);
    std::uint64_t periods = late / timer.periodMs + 1;
    timer.dueMs = static_cast<DWORD>(timer.dueMs + periods * timer.periodMs);
    timer.announced = false;
}

bool AnnounceDueTimersLocked(MessageQueue& queue, DWORD now) {
    bool anyDue = false;
    for (Timer& timer : queue.timers) {
        if (!TimerIsDue(timer, now)) {
            continue;
        }
        anyDue = true;
        if (!timer.announced) {
            timer.announced = true;
            queue.newKinds |= QS_TIMER;
        }
    }
    return anyDue;
}

std::int64_t MsUntilNextTimerLocked(const MessageQueue& queue, DWORD now) {
    std::int64_t soonest = -1;
    for (const Timer& timer : queue.timers) {
        if (TimerIsDue(timer, now)) {
            continue;
        }
        std::int64_t wait = -static_cast<std::int64_t>(MsPastDue(timer, now));
        if (soonest < 0 || wait < soonest) {
            soonest = wait;
        }
    }
    return soonest;
}

}  // namespace win32_internal

using namespace win32_internal;

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapseMs, TIMERPROC procedure) {
    UINT period = std::clamp(elapseMs, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    DWORD now = timeGetTime();
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    MessageQueue* queue = nullptr;
    if (window != nullptr) {
        WindowRecord* record = FindWindowLocked(state, window);
        if (record == nullptr || record->destroying) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return 0;
        }
        queue = FindQueueLocked(state, record->ownerThread);
        if (queue == nullptr) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return 0;
        }
    } else {
        queue = &CurrentQueueLocked(state);
    }

    Timer* existing = FindTimer(*queue, window, id);
    if (window == nullptr && existing == nullptr) {
        // A new thread timer gets an id of its own, whatever the caller passed.
        do {
            id = state.nextThreadTimerId++;
        } while (id == 0 || FindTimer(*queue, nullptr, id) != nullptr);
    }
    Timer timer;
    timer.window = window;
    timer.id = id;
    timer.periodMs = period;
    timer.dueMs = now + period;
    timer.procedure = procedure;
    timer.order = state.nextTimerOrder++;
    if (existing != nullptr) {
        *existing = timer;
    } else {
        queue->timers.push_back(timer);
    }
    queue->wake.notify_all();  // a waiting GetMessageA recomputes its timeout
    if (window == nullptr) {
        return id;
    }
    return id != 0 ? id : 1;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    MessageQueue* queue = nullptr;
    if (window != nullptr) {
        WindowRecord* record = FindWindowOrFailLocked(state, window);
        if (record == nullptr) {
            return FALSE;
        }
        queue = FindQueueLocked(state, record->ownerThread);
    } else {
        queue = FindQueueLocked(state, GetCurrentThreadId());
    }
    if (queue == nullptr || FindTimer(*queue, window, id) == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::erase_if(queue->timers,
                  [&](const Timer& timer) { return timer.window == window && timer.id == id; });
    return TRUE;
}
