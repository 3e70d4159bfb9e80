#include "platform/win32/message_queue.h"

#include <algorithm>
#include <chrono>

#include "platform/win32/timer_queue.h"
#include "platform/win32/window_input.h"

namespace win32_internal {
namespace {

// Longest wait between two looks at the clock and at SDL's events, in milliseconds.
constexpr std::int64_t kPollSliceMs = 10;

bool InRange(UINT message, UINT first, UINT last) {
    return (first == 0 && last == 0) || (message >= first && message <= last);
}

}  // namespace

bool TakeMessageLocked(MessageQueue& queue, HWND filter, UINT first, UINT last, bool remove,
                       DWORD now, MSG* message) {
    auto posted = std::find_if(queue.posted.begin(), queue.posted.end(), [&](const MSG& m) {
        return WindowFilterMatches(filter, m.hwnd) && InRange(m.message, first, last);
    });
    if (posted != queue.posted.end()) {
        *message = *posted;
        if (remove) {
            queue.posted.erase(posted);
            NoteRetrievedMessage(*message);
        }
        return true;
    }
    if (queue.quitPosted) {
        *message = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0, now, POINT{}};
        if (remove) {
            queue.quitPosted = false;
        }
        return true;
    }
    if (InRange(WM_PAINT, first, last)) {
        if (WindowRecord* record = FindPaintDueLocked(GetState(), queue.threadId, filter)) {
            *message = MSG{record->handle, WM_PAINT, 0, 0, now, POINT{}};
            if (remove) {
                record->paintDue = false;
            }
            return true;
        }
    }
    if (InRange(WM_TIMER, first, last)) {
        Timer* timer = EarliestDueTimerLocked(queue, filter, now);
        if (timer != nullptr) {
            *message =
                MSG{timer->window, WM_TIMER, timer->id, reinterpret_cast<LPARAM>(timer->procedure),
                    now,           POINT{}};
            if (remove) {
                RearmTimer(*timer, now);
            }
            return true;
        }
    }
    return false;
}

UINT CurrentKindsLocked(MessageQueue& queue, DWORD now) {
    UINT kinds = 0;
    for (const MSG& message : queue.posted) {
        kinds |= QueueKindOfMessage(message.message);
    }
    if (queue.quitPosted) {
        kinds |= QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;
    }
    if (!queue.incomingSent.empty()) {
        kinds |= QS_SENDMESSAGE;
    }
    if (FindPaintDueLocked(GetState(), queue.threadId, nullptr) != nullptr) {
        kinds |= QS_PAINT;
    }
    if (AnnounceDueTimersLocked(queue, now)) {
        kinds |= QS_TIMER;
    }
    return kinds;
}

void WaitForQueueLocked(std::unique_lock<std::mutex>& lock, MessageQueue& queue, DWORD now,
                        bool pumpsSdl) {
    std::int64_t waitMs = MsUntilNextTimerLocked(queue, now);
    if (waitMs >= 0) {
        waitMs = std::min(waitMs, kPollSliceMs);
    }
    if (pumpsSdl) {
        waitMs = waitMs < 0 ? kPollSliceMs : std::min(waitMs, kPollSliceMs);
    }
    if (waitMs < 0) {
        queue.wake.wait(lock);
    } else if (waitMs > 0) {
        queue.wake.wait_for(lock, std::chrono::milliseconds(waitMs));
    }
}

}  // namespace win32_internal
