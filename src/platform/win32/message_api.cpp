// Posting, sending and retrieving messages.

#include <memory>

#include "platform/win32/message_api.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/window_state.h"
#include "platform/winbase/file_api.h"
#include "platform/winbase/time_api.h"

using namespace win32_internal;

namespace {

// A window filter that names no live window of this thread (null and (HWND)-1 are always
// valid): its messages can never arrive in this queue, so a wait for them would never end.
bool InvalidFilterLocked(State& state, HWND filter) {
    if (filter == nullptr || filter == ThreadMessagesOnlyFilter()) {
        return false;
    }
    WindowRecord* record = FindWindowLocked(state, filter);
    return record == nullptr || record->ownerThread != GetCurrentThreadId();
}

}  // namespace

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window == nullptr) {
        return PostThreadMessageA(GetCurrentThreadId(), message, wParam, lParam);
    }
    MSG posted{window, message, wParam, lParam, timeGetTime(), POINT{}};
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    WindowRecord* record = FindWindowOrFailLocked(state, window);
    if (record == nullptr) {
        return FALSE;
    }
    MessageQueue* queue = FindQueueLocked(state, record->ownerThread);
    if (queue == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return PostToQueueLocked(*queue, posted) ? TRUE : FALSE;
}

BOOL PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG posted{nullptr, message, wParam, lParam, timeGetTime(), POINT{}};
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    MessageQueue* queue = threadId == GetCurrentThreadId() ? &CurrentQueueLocked(state)
                                                           : FindQueueLocked(state, threadId);
    if (queue == nullptr) {
        SetLastError(ERROR_INVALID_THREAD_ID);
        return FALSE;
    }
    return PostToQueueLocked(*queue, posted) ? TRUE : FALSE;
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    State& state = GetState();
    std::unique_lock<std::mutex> lock(state.mutex);
    WindowRecord* record = FindWindowOrFailLocked(state, window);
    if (record == nullptr) {
        return 0;
    }
    if (record->ownerThread == GetCurrentThreadId()) {
        WNDPROC procedure = record->procedure;
        lock.unlock();
        return procedure != nullptr ? procedure(window, message, wParam, lParam) : 0;
    }
    MessageQueue* target = FindQueueLocked(state, record->ownerThread);
    if (target == nullptr) {
        return 0;
    }
    MessageQueue& own = CurrentQueueLocked(state);
    auto sent = std::make_shared<SentMessage>();
    sent->window = window;
    sent->message = message;
    sent->wParam = wParam;
    sent->lParam = lParam;
    sent->replyWake = &own.wake;
    target->incomingSent.push_back(sent);
    target->newKinds |= QS_SENDMESSAGE;
    target->wake.notify_all();
    while (!sent->done) {
        // Answer messages sent to this thread meanwhile, so that two threads sending to each
        // other do not wait for ever.
        DeliverSentMessages(state, lock, own);
        if (sent->done) {
            break;
        }
        own.wake.wait(lock);
    }
    return sent->result;
}

void PostQuitMessage(int exitCode) {
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    MessageQueue& queue = CurrentQueueLocked(state);
    queue.quitPosted = true;
    queue.quitCode = exitCode;
    queue.newKinds |= QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;
    queue.wake.notify_all();
}

BOOL GetMessageA(LPMSG message, HWND window, UINT first, UINT last) {
    if (message == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    State& state = GetState();
    for (;;) {
        SdlPumpEvents();
        bool pumpsSdl = SdlPumpsOnThisThread();
        DWORD now = timeGetTime();
        std::unique_lock<std::mutex> lock(state.mutex);
        if (InvalidFilterLocked(state, window)) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return -1;
        }
        MessageQueue& queue = CurrentQueueLocked(state);
        DeliverSentMessages(state, lock, queue);
        if (TakeMessageLocked(queue, window, first, last, true, now, message)) {
            queue.newKinds = 0;
            return message->message == WM_QUIT ? 0 : 1;
        }
        WaitForQueueLocked(lock, queue, now, pumpsSdl);
    }
}

BOOL PeekMessageA(LPMSG message, HWND window, UINT first, UINT last, UINT remove) {
    if (message == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    SdlPumpEvents();
    DWORD now = timeGetTime();
    State& state = GetState();
    std::unique_lock<std::mutex> lock(state.mutex);
    if (InvalidFilterLocked(state, window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    MessageQueue& queue = CurrentQueueLocked(state);
    DeliverSentMessages(state, lock, queue);
    bool found =
        TakeMessageLocked(queue, window, first, last, (remove & PM_REMOVE) != 0, now, message);
    queue.newKinds = 0;
    return found ? TRUE : FALSE;
}

DWORD GetQueueStatus(UINT flags) {
    SdlPumpEvents();
    DWORD now = timeGetTime();
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    MessageQueue& queue = CurrentQueueLocked(state);
    UINT current = CurrentKindsLocked(queue, now) & flags & 0xFFFFu;
    UINT arrived = queue.newKinds & current;
    queue.newKinds &= ~flags;
    return (static_cast<DWORD>(current) << 16) | arrived;
}

BOOL WaitMessage() {
    State& state = GetState();
    for (;;) {
        SdlPumpEvents();
        bool pumpsSdl = SdlPumpsOnThisThread();
        DWORD now = timeGetTime();
        std::unique_lock<std::mutex> lock(state.mutex);
        MessageQueue& queue = CurrentQueueLocked(state);
        DeliverSentMessages(state, lock, queue);
        if ((queue.newKinds & CurrentKindsLocked(queue, now)) != 0) {
            return TRUE;
        }
        WaitForQueueLocked(lock, queue, now, pumpsSdl);
    }
}
