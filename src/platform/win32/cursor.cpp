// The system pointer: shape, display counter, position and clip rectangle.

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <optional>

#include "platform/win32/client_mapping.h"
#include "platform/win32/cursor_api.h"
#include "platform/win32/window_input.h"
#include "platform/win32/window_placement.h"
#include "platform/win32/window_state.h"
#include "platform/winbase/file_api.h"

using namespace win32_internal;

namespace {

HCURSOR ArrowCursor() {
    return reinterpret_cast<HCURSOR>(reinterpret_cast<std::uintptr_t>(IDC_ARROW));
}

struct PointerState {
    std::mutex mutex;
    HCURSOR shape = ArrowCursor();
    int displayCount = 0;
    // On a window's menu bar the arrow shows whatever shape the client area has.
    bool overMenuBar = false;
    std::optional<RECT> clip;
    HWND grabbed = nullptr;
};

PointerState& Pointer() {
    static PointerState* const state = new PointerState;
    return *state;
}

// The top-level window of this thread whose client area holds the screen point, preferring the
// active one; its SDL window and the point in client coordinates.
struct Hit {
    HWND window = nullptr;
    SDL_Window* sdlWindow = nullptr;
    POINT client{};
    SIZE windowSize{};
    LONG barRows = 0;
    bool fullScreen = false;
};

bool VisibleLocked(const PointerState& pointer) {
    return pointer.displayCount >= 0 && (pointer.shape != nullptr || pointer.overMenuBar);
}

std::optional<Hit> WindowAt(POINT screen) {
    HWND active = ActiveWindow();
    std::vector<HWND> candidates;
    if (active != nullptr) {
        candidates.push_back(active);
    }
    for (HWND window : TopLevelWindowsOfThread(GetCurrentThreadId())) {
        candidates.push_back(window);
    }
    for (HWND window : candidates) {
        Hit hit;
        hit.window = window;
        hit.client = screen;
        if (ScreenToClient(window, &hit.client) == FALSE) {
            continue;
        }
        State& state = GetState();
        std::lock_guard<std::mutex> lock(state.mutex);
        WindowRecord* record = FindWindowLocked(state, window);
        if (record == nullptr || !record->sdlWindow || (record->style & WS_VISIBLE) == 0) {
            continue;
        }
        hit.windowSize = SIZE{RectWidth(record->rect), RectHeight(record->rect)};
        hit.barRows = MenuBarRows(*record);
        hit.fullScreen = IsFullScreenStyle(record->style);
        hit.sdlWindow = record->sdlWindow.get();
        const LONG row = hit.client.y + hit.barRows;
        if (hit.client.x >= 0 && row >= 0 && hit.client.x < hit.windowSize.cx &&
            row < hit.windowSize.cy) {
            return hit;
        }
    }
    return std::nullopt;
}

}  // namespace

namespace win32_internal {

void ClampToCursorClip(POINT* screen) {
    PointerState& pointer = Pointer();
    std::lock_guard<std::mutex> lock(pointer.mutex);
    if (!pointer.clip) {
        return;
    }
    const RECT& clip = *pointer.clip;
    screen->x = std::clamp(screen->x, clip.left, std::max(clip.left, clip.right - 1));
    screen->y = std::clamp(screen->y, clip.top, std::max(clip.top, clip.bottom - 1));
}

void ReapplyPointerVisibility() {
    bool visible = false;
    {
        PointerState& pointer = Pointer();
        std::lock_guard<std::mutex> lock(pointer.mutex);
        visible = VisibleLocked(pointer);
    }
    SdlShowPointer(visible);
}

void SetPointerOverMenuBar(bool over) {
    bool visible = false;
    {
        PointerState& pointer = Pointer();
        std::lock_guard<std::mutex> lock(pointer.mutex);
        if (pointer.overMenuBar == over) {
            return;
        }
        pointer.overMenuBar = over;
        visible = VisibleLocked(pointer);
    }
    SdlShowPointer(visible);
}

}  // namespace win32_internal

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
    if (instance == nullptr && name == IDC_ARROW) {
        return ArrowCursor();
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
}

HCURSOR SetCursor(HCURSOR cursor) {
    HCURSOR previous = nullptr;
    bool visible = false;
    {
        PointerState& pointer = Pointer();
        std::lock_guard<std::mutex> lock(pointer.mutex);
        previous = pointer.shape;
        pointer.shape = cursor;
        visible = VisibleLocked(pointer);
    }
    SdlShowPointer(visible);
    return previous;
}

HCURSOR GetCursor() {
    PointerState& pointer = Pointer();
    std::lock_guard<std::mutex> lock(pointer.mutex);
    return pointer.shape;
}

int ShowCursor(BOOL show) {
    int count = 0;
    bool visible = false;
    {
        PointerState& pointer = Pointer();
        std::lock_guard<std::mutex> lock(pointer.mutex);
        pointer.displayCount += show != FALSE ? 1 : -1;
        count = pointer.displayCount;
        visible = VisibleLocked(pointer);
    }
    SdlShowPointer(visible);
    return count;
}

BOOL GetCursorPos(POINT* point) {
    if (point == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *point = LastPointerPosition().screen;
    return TRUE;
}

BOOL SetCursorPos(int x, int y) {
    POINT screen{x, y};
    ClampToCursorClip(&screen);
    PointerPosition position;
    position.screen = screen;
    position.client = screen;
    if (std::optional<Hit> hit = WindowAt(screen)) {
        position.window = hit->window;
        position.client = hit->client;
        SIZE output{};
        if (SdlWindowSize(hit->sdlWindow, &output)) {
            SdlWarpPointer(hit->sdlWindow,
                           ClientToOutput(hit->windowSize, output,
                                          POINT{hit->client.x, hit->client.y + hit->barRows}));
        }
    }
    SetLastPointerPosition(position);
    return TRUE;
}

BOOL ClipCursor(const RECT* rect) {
    HWND grab = nullptr;
    HWND release = nullptr;
    {
        PointerState& pointer = Pointer();
        std::lock_guard<std::mutex> lock(pointer.mutex);
        release = pointer.grabbed;
        pointer.grabbed = nullptr;
        if (rect == nullptr) {
            pointer.clip.reset();
        } else {
            RECT clip = *rect;
            if (clip.right < clip.left) {
                std::swap(clip.left, clip.right);
            }
            if (clip.bottom < clip.top) {
                std::swap(clip.top, clip.bottom);
            }
            pointer.clip = clip;
            grab = ActiveWindow();
            pointer.grabbed = grab;
        }
    }
    if (release != nullptr) {
        SdlGrabPointer(EnsureSdlWindow(release), false);
    }
    if (grab != nullptr) {
        SdlGrabPointer(EnsureSdlWindow(grab), true);
    }
    return TRUE;
}

BOOL GetClipCursor(RECT* rect) {
    if (rect == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    PointerState& pointer = Pointer();
    std::lock_guard<std::mutex> lock(pointer.mutex);
    if (pointer.clip) {
        *rect = *pointer.clip;
    } else {
        rect->left = 0;
        rect->top = 0;
        rect->right = Win32ScreenMetric(SM_CXSCREEN);
        rect->bottom = Win32ScreenMetric(SM_CYSCREEN);
    }
    return TRUE;
}

namespace win32_test {

void ResetPointer() {
    {
        PointerState& pointer = Pointer();
        std::lock_guard<std::mutex> lock(pointer.mutex);
        pointer.shape = ArrowCursor();
        pointer.displayCount = 0;
        pointer.overMenuBar = false;
        pointer.clip.reset();
        pointer.grabbed = nullptr;
    }
    SetLastPointerPosition(PointerPosition{});
}

}  // namespace win32_test
