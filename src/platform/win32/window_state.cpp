#include "platform/win32/window_state.h"

#include <unistd.h>

#include <algorithm>
#include <utility>

#include "platform/win32/window_input.h"
#include "platform/winbase/code_page.h"
#include "platform/winbase/file_api.h"

namespace win32_internal {
namespace {

// Drops the queue and the windows of a thread that ends. No messages are sent: the thread can
// no longer run window procedures.
void DropThread(DWORD threadId) {
    State& state = GetState();
    std::vector<SdlWindowPtr> sdlWindows;
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        auto queueIt = state.queues.find(threadId);
        if (queueIt != state.queues.end()) {
            for (const std::shared_ptr<SentMessage>& sent : queueIt->second->incomingSent) {
                sent->done = true;
                if (sent->replyWake != nullptr) {
                    sent->replyWake->notify_all();
                }
            }
            state.queues.erase(queueIt);
        }
        for (auto it = state.windows.begin(); it != state.windows.end();) {
            WindowRecord& record = *it->second;
            if (record.ownerThread != threadId) {
                ++it;
                continue;
            }
            for (WindowClass& windowClass : state.classes) {
                if (windowClass.atom == record.classAtom) {
                    --windowClass.liveWindows;
                }
            }
            if (record.sdlWindow) {
                sdlWindows.push_back(std::move(record.sdlWindow));
            }
            it = state.windows.erase(it);
        }
    }
}

struct QueueRegistration {
    DWORD threadId = 0;
    ~QueueRegistration() {
        if (threadId != 0) {
            DropThread(threadId);
        }
    }
};

thread_local QueueRegistration currentRegistration;

bool IsAtom(LPCSTR nameOrAtom) {
    return reinterpret_cast<std::uintptr_t>(nameOrAtom) < 0x10000u;
}

}  // namespace

State& GetState() {
    static State* const state = new State;
    return *state;
}

WindowRecord* FindWindowLocked(State& state, HWND window) {
    auto it = state.windows.find(reinterpret_cast<std::uintptr_t>(window));
    return it == state.windows.end() ? nullptr : it->second.get();
}

WindowRecord* FindWindowOrFailLocked(State& state, HWND window) {
    WindowRecord* record = FindWindowLocked(state, window);
    if (record == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    }
    return record;
}

MessageQueue& CurrentQueueLocked(State& state) {
    DWORD threadId = GetCurrentThreadId();
    auto it = state.queues.find(threadId);
    if (it != state.queues.end()) {
        return *it->second;
    }
    auto queue = std::make_shared<MessageQueue>();
    queue->threadId = threadId;
    state.queues.emplace(threadId, queue);
    currentRegistration.threadId = threadId;
    return *queue;
}

MessageQueue* FindQueueLocked(State& state, DWORD threadId) {
    auto it = state.queues.find(threadId);
    return it == state.queues.end() ? nullptr : it->second.get();
}

WindowClass* FindClassLocked(State& state, LPCSTR nameOrAtom) {
    if (nameOrAtom == nullptr) {
        return nullptr;
    }
    for (WindowClass& windowClass : state.classes) {
        if (IsAtom(nameOrAtom)) {
            if (windowClass.atom == reinterpret_cast<std::uintptr_t>(nameOrAtom)) {
                return &windowClass;
            }
        } else if (EqualNoCaseCp932(windowClass.name, nameOrAtom)) {
            return &windowClass;
        }
    }
    return nullptr;
}

UINT QueueKindOfMessage(UINT message) {
    if (message >= WM_KEYFIRST && message <= WM_KEYLAST) {
        return QS_KEY;
    }
    if (message == WM_MOUSEMOVE) {
        return QS_MOUSEMOVE;
    }
    if (message > WM_MOUSEMOVE && message <= WM_MOUSELAST) {
        return QS_MOUSEBUTTON;
    }
    return QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;
}

bool PostToQueueLocked(MessageQueue& queue, const MSG& message) {
    if (queue.posted.size() >= kPostedMessageLimit) {
        SetLastError(ERROR_NOT_ENOUGH_QUOTA);
        return false;
    }
    queue.posted.push_back(message);
    queue.newKinds |= QueueKindOfMessage(message.message);
    queue.wake.notify_all();
    return true;
}

void PurgeWindowLocked(State& state, HWND window, DWORD ownerThread) {
    MessageQueue* queue = FindQueueLocked(state, ownerThread);
    if (queue == nullptr) {
        return;
    }
    std::erase_if(queue->timers, [window](const Timer& timer) { return timer.window == window; });
    std::erase_if(queue->posted, [window](const MSG& message) {
        if (message.hwnd != window) {
            return false;
        }
        NoteDiscardedMessage(message);
        return true;
    });
    std::erase_if(queue->incomingSent, [window](const std::shared_ptr<SentMessage>& sent) {
        if (sent->window != window) {
            return false;
        }
        sent->result = 0;
        sent->done = true;
        if (sent->replyWake != nullptr) {
            sent->replyWake->notify_all();
        }
        return true;
    });
}

void DeliverSentMessages(State& state, std::unique_lock<std::mutex>& lock, MessageQueue& queue) {
    while (!queue.incomingSent.empty()) {
        std::shared_ptr<SentMessage> sent = queue.incomingSent.front();
        queue.incomingSent.pop_front();
        WindowRecord* record = FindWindowLocked(state, sent->window);
        WNDPROC procedure = record != nullptr ? record->procedure : nullptr;
        LRESULT result = 0;
        if (procedure != nullptr) {
            lock.unlock();
            result = procedure(sent->window, sent->message, sent->wParam, sent->lParam);
            lock.lock();
        }
        sent->result = result;
        sent->done = true;
        if (sent->replyWake != nullptr) {
            sent->replyWake->notify_all();
        }
    }
}

}  // namespace win32_internal

DWORD GetCurrentThreadId() {
    return static_cast<DWORD>(gettid());
}
