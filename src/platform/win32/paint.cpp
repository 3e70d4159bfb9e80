// Invalid regions and WM_PAINT.

#include <algorithm>

#include "platform/win32/message_api.h"
#include "platform/win32/paint_api.h"
#include "platform/win32/window_painted.h"
#include "platform/win32/window_state.h"
#include "platform/winbase/file_api.h"

using namespace win32_internal;

namespace {

// Handed out by BeginPaint; nothing draws through it.
HDC PaintContextOf(HWND window) {
    return reinterpret_cast<HDC>(window);
}

RECT UnionOf(const RECT& a, const RECT& b) {
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

RECT ClientRectOf(const WindowRecord& record) {
    return RECT{0, 0, RectWidth(record.rect), RectHeight(record.rect)};
}

// Clips `rect` to the client area; false when nothing is left.
bool ClipToClient(const WindowRecord& record, RECT* rect) {
    RECT client = ClientRectOf(record);
    rect->left = std::max(rect->left, client.left);
    rect->top = std::max(rect->top, client.top);
    rect->right = std::min(rect->right, client.right);
    rect->bottom = std::min(rect->bottom, client.bottom);
    return rect->left < rect->right && rect->top < rect->bottom;
}

}  // namespace

namespace win32_internal {

namespace {
WindowPaintedListener paintedListener = nullptr;
}  // namespace

void SetWindowPaintedListener(WindowPaintedListener listener) {
    paintedListener = listener;
}

void NotifyWindowPainted(HWND window) {
    if (paintedListener != nullptr) {
        paintedListener(window);
    }
}

WindowRecord* FindPaintDueLocked(State& state, DWORD threadId, HWND filter) {
    for (auto& [key, record] : state.windows) {
        if (record->paintDue && record->invalid && record->ownerThread == threadId &&
            !record->destroying && (record->style & WS_VISIBLE) != 0 &&
            WindowFilterMatches(filter, record->handle)) {
            return record.get();
        }
    }
    return nullptr;
}

}  // namespace win32_internal

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL /*erase*/) {
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    WindowRecord* record = FindWindowOrFailLocked(state, window);
    if (record == nullptr) {
        return FALSE;
    }
    RECT area = rect != nullptr ? *rect : ClientRectOf(*record);
    if (!ClipToClient(*record, &area)) {
        return TRUE;
    }
    record->invalidRect = record->invalid ? UnionOf(record->invalidRect, area) : area;
    record->invalid = true;
    record->paintDue = true;
    if (MessageQueue* queue = FindQueueLocked(state, record->ownerThread)) {
        queue->newKinds |= QS_PAINT;
        queue->wake.notify_all();
    }
    return TRUE;
}

BOOL ValidateRect(HWND window, const RECT* rect) {
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    WindowRecord* record = FindWindowOrFailLocked(state, window);
    if (record == nullptr) {
        return FALSE;
    }
    if (!record->invalid) {
        return TRUE;
    }
    const RECT& invalid = record->invalidRect;
    if (rect == nullptr || (rect->left <= invalid.left && rect->top <= invalid.top &&
                            rect->right >= invalid.right && rect->bottom >= invalid.bottom)) {
        record->invalid = false;
        record->paintDue = false;
        record->invalidRect = RECT{};
    }
    return TRUE;
}

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
    if (paint == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    WindowRecord* record = FindWindowOrFailLocked(state, window);
    if (record == nullptr) {
        return nullptr;
    }
    *paint = PAINTSTRUCT{};
    paint->hdc = PaintContextOf(window);
    paint->rcPaint = record->invalid ? record->invalidRect : RECT{};
    record->invalid = false;
    record->paintDue = false;
    record->invalidRect = RECT{};
    return paint->hdc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) {
    if (paint == nullptr || IsWindow(window) == FALSE) {
        return FALSE;
    }
    NotifyWindowPainted(window);
    return TRUE;
}

BOOL UpdateWindow(HWND window) {
    bool due = false;
    {
        State& state = GetState();
        std::lock_guard<std::mutex> lock(state.mutex);
        WindowRecord* record = FindWindowOrFailLocked(state, window);
        if (record == nullptr) {
            return FALSE;
        }
        due = record->invalid && (record->style & WS_VISIBLE) != 0;
        if (due) {
            record->paintDue = false;
        }
    }
    if (due) {
        SendMessageA(window, WM_PAINT, 0, 0);
    }
    return TRUE;
}

BOOL GetUpdateRect(HWND window, RECT* rect, BOOL /*erase*/) {
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    WindowRecord* record = FindWindowOrFailLocked(state, window);
    if (record == nullptr) {
        return FALSE;
    }
    if (rect != nullptr) {
        *rect = record->invalid ? record->invalidRect : RECT{};
    }
    return record->invalid ? TRUE : FALSE;
}
