#pragma once
// Internal to the message core: taking messages out of a queue and waiting for them. All calls
// need the state mutex held.

#include <mutex>

#include "platform/win32/window_state.h"

namespace win32_internal {

// The next message in retrieval order (posted, WM_QUIT, a due WM_TIMER) that passes the
// filters; removed (and a timer re-armed) when `remove` is set.
bool TakeMessageLocked(MessageQueue& queue, HWND filter, UINT first, UINT last, bool remove,
                       DWORD now, MSG* message);
// The QS_* kinds now in the queue; timers that became due are marked new.
UINT CurrentKindsLocked(MessageQueue& queue, DWORD now);
// Blocks until the queue is woken (a post, a send, a timer change), the next timer may be due,
// or the SDL pump must run again. The wait never exceeds a short slice while timers exist, as a
// test's manual clock may move at any moment without waking the queue.
void WaitForQueueLocked(std::unique_lock<std::mutex>& lock, MessageQueue& queue, DWORD now,
                        bool pumpsSdl);

}  // namespace win32_internal
