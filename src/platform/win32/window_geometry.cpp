// Window placement: moving and sizing, coordinates, the foreground window, the screen size.

#include <algorithm>
#include <atomic>
#include <cstdint>

#include "platform/win32/dialog_focus.h"
#include "platform/win32/dialog_windows.h"
#include "platform/win32/message_api.h"
#include "platform/win32/shell_test_hooks.h"
#include "platform/win32/window_input.h"
#include "platform/win32/window_placement.h"
#include "platform/win32/window_state.h"
#include "platform/winbase/file_api.h"

using namespace win32_internal;

namespace {

constexpr SIZE kScreenWithoutVideo{800, 600};

// Set by tests; 0 means "ask SDL".
std::atomic<LONG> desktopWidthOverride{0};
std::atomic<LONG> desktopHeightOverride{0};

LPARAM PackPoint(LONG x, LONG y) {
    return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(x)),
                      static_cast<WORD>(static_cast<SHORT>(y)));
}

// The screen position of the client origin. The state mutex must be held.
bool ClientOriginLocked(State& state, HWND window, POINT* origin) {
    POINT total{0, 0};
    WindowRecord* record = FindWindowLocked(state, window);
    for (int depth = 0; record != nullptr && depth < 1000; ++depth) {
        if ((record->style & WS_CHILD) == 0) {
            if (!IsFullScreenStyle(record->style)) {
                total.x += record->rect.left;
                total.y += record->rect.top;
            }
            total.y += MenuBarRows(*record);
            *origin = total;
            return true;
        }
        total.x += record->rect.left;
        total.y += record->rect.top;
        record = FindWindowLocked(state, record->parent);
    }
    return false;
}

// Moves `point` by the window's client origin: +1 from client to screen, -1 back.
BOOL ShiftByClientOrigin(HWND window, POINT* point, int direction) {
    if (point == nullptr) {
        return FALSE;
    }
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    POINT origin{};
    if (!ClientOriginLocked(state, window, &origin)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    point->x += direction * origin.x;
    point->y += direction * origin.y;
    return TRUE;
}

// The desktop the SDL window lies on: the test's desktop when one is set, else the bounds of its
// display; `fallback` when neither is known.
RECT DesktopOf(SDL_Window* sdlWindow, const RECT& fallback) {
    if (desktopWidthOverride.load() > 0) {
        return RECT{0, 0, desktopWidthOverride.load(), desktopHeightOverride.load()};
    }
    RECT bounds{};
    return SdlDisplayBounds(sdlWindow, &bounds) ? bounds : fallback;
}

// The desktop moved the window from `requested` to `placed` to keep its decoration on the
// screen: the window learns of it as of any move.
void NoteDecorationShift(HWND window, const RECT& requested, const RECT& placed) {
    {
        State& state = GetState();
        std::lock_guard<std::mutex> lock(state.mutex);
        WindowRecord* record = FindWindowLocked(state, window);
        if (record == nullptr || record->rect.left != requested.left ||
            record->rect.top != requested.top || record->rect.right != requested.right ||
            record->rect.bottom != requested.bottom) {
            return;
        }
        record->rect = placed;
    }
    POINT origin{};
    if (ClientToScreen(window, &origin)) {
        PostMessageA(window, WM_MOVE, 0, PackPoint(origin.x, origin.y));
    }
}

}  // namespace

namespace win32_internal {

void ApplySdlPlacement(HWND window) {
    SDL_Window* sdlWindow = nullptr;
    RECT rect{};
    DWORD style = 0;
    {
        State& state = GetState();
        std::lock_guard<std::mutex> lock(state.mutex);
        WindowRecord* record = FindWindowLocked(state, window);
        if (record == nullptr || !record->sdlWindow) {
            return;
        }
        sdlWindow = record->sdlWindow.get();
        rect = record->rect;
        style = record->style;
    }
    if (!IsFullScreenStyle(style)) {
        const RECT placed =
            SdlApplyPlacement(sdlWindow, rect, (style & WS_CAPTION) == WS_CAPTION, false);
        if (placed.left != rect.left || placed.top != rect.top) {
            NoteDecorationShift(window, rect, placed);
        }
        return;
    }
    // The client area keeps its size; the SDL window shows it scaled to the desktop.
    SdlApplyPlacement(sdlWindow,
                      DesktopOf(sdlWindow, RECT{0, 0, RectWidth(rect), RectHeight(rect)}), false,
                      true);
}

SDL_Window* MessageBoxParent(HWND owner) {
    SDL_Window* sdlWindow = owner != nullptr ? EnsureSdlWindow(owner) : nullptr;
    POINT position{};
    SIZE size{};
    if (!SdlWindowPosition(sdlWindow, &position) || !SdlWindowSize(sdlWindow, &size)) {
        return nullptr;
    }
    const RECT desktop = DesktopOf(sdlWindow, RECT{});
    const bool onDesktop = position.x >= desktop.left && position.y >= desktop.top &&
                           position.x + size.cx <= desktop.right &&
                           position.y + size.cy <= desktop.bottom;
    return onDesktop ? sdlWindow : nullptr;
}

void NoteMenuBar(HWND window, bool attached) {
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (WindowRecord* record = FindWindowLocked(state, window)) {
        record->menuBar = attached;
    }
}

LONG MenuBarRowsOf(HWND window) {
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    const WindowRecord* record = FindWindowLocked(state, window);
    return record != nullptr ? MenuBarRows(*record) : 0;
}

}  // namespace win32_internal

BOOL SetWindowPos(HWND window, HWND /*insertAfter*/, int x, int y, int width, int height,
                  UINT flags) {
    RECT before{};
    RECT after{};
    {
        State& state = GetState();
        std::lock_guard<std::mutex> lock(state.mutex);
        WindowRecord* record = FindWindowOrFailLocked(state, window);
        if (record == nullptr) {
            return FALSE;
        }
        before = record->rect;
        LONG left = (flags & SWP_NOMOVE) != 0 ? before.left : x;
        LONG top = (flags & SWP_NOMOVE) != 0 ? before.top : y;
        LONG newWidth = (flags & SWP_NOSIZE) != 0 ? RectWidth(before) : std::max(width, 0);
        LONG newHeight = (flags & SWP_NOSIZE) != 0 ? RectHeight(before) : std::max(height, 0);
        if ((record->style & WS_CHILD) == 0 && IsFullScreenStyle(record->style)) {
            left = 0;
            top = 0;
        }
        after = RECT{left, top, static_cast<LONG>(static_cast<std::int64_t>(left) + newWidth),
                     static_cast<LONG>(static_cast<std::int64_t>(top) + newHeight)};
        record->rect = after;
    }
    bool moved = before.left != after.left || before.top != after.top;
    bool sized = RectWidth(before) != RectWidth(after) || RectHeight(before) != RectHeight(after);
    if ((flags & SWP_HIDEWINDOW) != 0) {
        ShowWindow(window, SW_HIDE);
    }
    if (moved || sized || (flags & SWP_FRAMECHANGED) != 0) {
        ApplySdlPlacement(window);
    }
    if (moved) {
        POINT origin{};
        if (ClientToScreen(window, &origin)) {
            SendMessageA(window, WM_MOVE, 0, PackPoint(origin.x, origin.y));
        }
    }
    if (sized && IsIconic(window) == FALSE) {
        SendMessageA(
            window, WM_SIZE, SIZE_RESTORED,
            MAKELPARAM(static_cast<WORD>(RectWidth(after)), static_cast<WORD>(RectHeight(after))));
    }
    if ((flags & SWP_SHOWWINDOW) != 0) {
        ShowWindow(window, SW_SHOWNA);
    }
    return TRUE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL /*repaint*/) {
    return SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL AdjustWindowRectEx(RECT* rect, DWORD /*style*/, BOOL menu, DWORD /*exStyle*/) {
    if (rect == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (menu != FALSE) {
        rect->top -= kMenuBarHeight;
    }
    return TRUE;
}

BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu) {
    return AdjustWindowRectEx(rect, style, menu, 0);
}

BOOL ClientToScreen(HWND window, POINT* point) {
    return ShiftByClientOrigin(window, point, 1);
}

BOOL ScreenToClient(HWND window, POINT* point) {
    return ShiftByClientOrigin(window, point, -1);
}

HWND GetForegroundWindow() {
    return ProgramIsActive() ? ActiveWindow() : nullptr;
}

HWND GetActiveWindow() {
    return GetForegroundWindow();
}

BOOL SetForegroundWindow(HWND window) {
    SDL_Window* sdlWindow = EnsureSdlWindow(window);
    if (IsWindow(window) == FALSE) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    SdlRaiseWindow(sdlWindow);
    return TRUE;
}

HWND SetFocus(HWND window) {
    if (IsWindow(window) == FALSE) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (const HWND dialog = DialogOf(window); dialog != nullptr && dialog != window) {
        const HWND previous = DialogFocus(dialog);
        SetDialogFocus(dialog, window);
        return previous;
    }
    const HWND previous = GetActiveWindow();
    SetForegroundWindow(window);
    return previous;
}

HWND GetFocus() {
    HWND dialog = ActiveModalDialog();
    if (dialog == nullptr) {
        dialog = DialogOf(GetActiveWindow());
    }
    if (dialog == nullptr) {
        return GetActiveWindow();
    }
    const HWND focus = DialogFocus(dialog);
    return focus != nullptr ? focus : dialog;
}

int Win32ScreenMetric(int index) {
    if (index == SM_CXMAXIMIZED || index == SM_CYMAXIMIZED) {
        SIZE area{};
        if (desktopWidthOverride.load() > 0 || !SdlDesktopWorkArea(&area)) {
            return Win32ScreenMetric(index == SM_CXMAXIMIZED ? SM_CXSCREEN : SM_CYSCREEN);
        }
        return index == SM_CXMAXIMIZED ? area.cx : area.cy;
    }
    if (index != SM_CXSCREEN && index != SM_CYSCREEN) {
        return 0;
    }
    SIZE size = kScreenWithoutVideo;
    bool known = false;
    {
        State& state = GetState();
        std::lock_guard<std::mutex> lock(state.mutex);
        for (const auto& [key, record] : state.windows) {
            if (IsFullScreenStyle(record->style) && (record->style & WS_VISIBLE) != 0 &&
                !record->destroying) {
                size = SIZE{RectWidth(record->rect), RectHeight(record->rect)};
                known = true;
                break;
            }
        }
    }
    if (!known) {
        if (desktopWidthOverride.load() > 0) {
            size = SIZE{desktopWidthOverride.load(), desktopHeightOverride.load()};
        } else {
            SdlDesktopSize(&size);
        }
    }
    return index == SM_CXSCREEN ? size.cx : size.cy;
}

namespace win32_test {

void SetDesktopSize(int width, int height) {
    bool valid = width > 0 && height > 0;
    desktopWidthOverride = valid ? width : 0;
    desktopHeightOverride = valid ? height : 0;
}

}  // namespace win32_test
