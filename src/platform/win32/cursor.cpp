// The system pointer: shape, display counter, position and clip rectangle.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/win32/client_mapping.h"
#include "platform/win32/colour_cursor.h"
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

constexpr int kColourCursorCell = 32;

using ShownKind = win32_test::ShownPointer::Kind;

// A device's hardware cursor over its window (colour_cursor.h).
struct ColourCursor {
    HWND window = nullptr;
    std::vector<std::uint32_t> argb;  // kColourCursorCell squared, empty when none was set
    POINT hotSpot{};
    bool shown = false;
    int generation = 0;  // counts the images set
};

// What SDL was last asked to show, so that a pointer move that changes nothing costs nothing.
struct AppliedPointer {
    bool valid = false;
    win32_test::ShownPointer shown;
    int generation = -1;
};

struct PointerState {
    std::mutex mutex;
    HCURSOR shape = ArrowCursor();
    int displayCount = 0;
    // On a window's menu bar the arrow shows whatever shape the client area has.
    bool overMenuBar = false;
    std::optional<RECT> clip;
    HWND grabbed = nullptr;
    ColourCursor colour;
    AppliedPointer applied;
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

ShownKind ChooseLocked(const PointerState& pointer) {
    if (pointer.overMenuBar && pointer.displayCount >= 0) {
        return ShownKind::kArrow;
    }
    if (pointer.colour.shown && !pointer.colour.argb.empty()) {
        return ShownKind::kColour;
    }
    return VisibleLocked(pointer) ? ShownKind::kArrow : ShownKind::kNone;
}

// Output pixels per client pixel of the picture in `window`'s SDL window; 1 without one.
double PictureScale(HWND window) {
    SIZE windowSize{};
    SDL_Window* sdlWindow = nullptr;
    {
        State& state = GetState();
        std::lock_guard<std::mutex> lock(state.mutex);
        WindowRecord* record = FindWindowLocked(state, window);
        if (record == nullptr || !record->sdlWindow) {
            return 1.0;
        }
        windowSize = SIZE{RectWidth(record->rect), RectHeight(record->rect)};
        sdlWindow = record->sdlWindow.get();
    }
    SIZE output{};
    if (!SdlWindowSize(sdlWindow, &output)) {
        return 1.0;
    }
    return FitPicture(windowSize, output).scale;
}

// The colour cursor's cell scaled by `scale`, pixel by nearest pixel (as the picture is).
std::vector<std::uint32_t> ScaledCell(const std::vector<std::uint32_t>& cell, int size,
                                      double scale) {
    std::vector<std::uint32_t> out(static_cast<std::size_t>(size) * static_cast<std::size_t>(size));
    for (int y = 0; y < size; ++y) {
        const int sy = std::min(kColourCursorCell - 1, static_cast<int>((y + 0.5) / scale));
        for (int x = 0; x < size; ++x) {
            const int sx = std::min(kColourCursorCell - 1, static_cast<int>((x + 0.5) / scale));
            out[static_cast<std::size_t>(y * size + x)] =
                cell[static_cast<std::size_t>(sy * kColourCursorCell + sx)];
        }
    }
    return out;
}

// Asks SDL for the pointer the state calls for, when it differs from the one last asked for
// (always with `force`).
void ApplyPointer(bool force = false) {
    PointerState& pointer = Pointer();
    HWND colourWindow = nullptr;
    {
        std::lock_guard<std::mutex> lock(pointer.mutex);
        colourWindow = pointer.colour.window;
    }
    const double scale = colourWindow != nullptr ? PictureScale(colourWindow) : 1.0;
    win32_test::ShownPointer shown;
    std::vector<std::uint32_t> pixels;
    {
        std::lock_guard<std::mutex> lock(pointer.mutex);
        shown.kind = ChooseLocked(pointer);
        if (shown.kind == ShownKind::kColour) {
            shown.size = std::max(1, static_cast<int>(std::lround(kColourCursorCell * scale)));
            shown.hotSpot = POINT{static_cast<LONG>(pointer.colour.hotSpot.x * scale),
                                  static_cast<LONG>(pointer.colour.hotSpot.y * scale)};
        }
        AppliedPointer& applied = pointer.applied;
        const bool same =
            applied.valid && applied.shown.kind == shown.kind &&
            (shown.kind != ShownKind::kColour ||
             (applied.shown.size == shown.size && applied.generation == pointer.colour.generation));
        if (same && !force) {
            return;
        }
        if (shown.kind == ShownKind::kColour) {
            pixels = ScaledCell(pointer.colour.argb, shown.size, scale);
            shown.centre = pixels[pixels.size() / 2 + static_cast<std::size_t>(shown.size) / 2];
        }
        applied = AppliedPointer{true, shown, pointer.colour.generation};
    }
    if (shown.kind != ShownKind::kNone) {
        SdlSetPointerImage(pixels.empty() ? nullptr : pixels.data(), shown.size, shown.hotSpot);
    }
    SdlShowPointer(shown.kind != ShownKind::kNone);
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
    ApplyPointer(true);
}

void RescalePointer() {
    ApplyPointer();
}

void SetPointerOverMenuBar(bool over) {
    {
        PointerState& pointer = Pointer();
        std::lock_guard<std::mutex> lock(pointer.mutex);
        if (pointer.overMenuBar == over) {
            return;
        }
        pointer.overMenuBar = over;
    }
    ApplyPointer();
}

void SetColourCursor(HWND window, const std::uint32_t* argb, POINT hotSpot) {
    if (argb == nullptr) {
        return;
    }
    {
        PointerState& pointer = Pointer();
        std::lock_guard<std::mutex> lock(pointer.mutex);
        ColourCursor& colour = pointer.colour;
        if (colour.window != window) {
            colour.shown = false;
        }
        colour.window = window;
        colour.argb.assign(argb, argb + kColourCursorCell * kColourCursorCell);
        colour.hotSpot = hotSpot;
        ++colour.generation;
    }
    ApplyPointer();
}

void ShowColourCursor(HWND window, bool show) {
    {
        PointerState& pointer = Pointer();
        std::lock_guard<std::mutex> lock(pointer.mutex);
        ColourCursor& colour = pointer.colour;
        if (colour.window != nullptr && colour.window != window) {
            return;  // another window's
        }
        colour.window = window;
        colour.shown = show;
    }
    ApplyPointer();
}

void DropColourCursor(HWND window) {
    {
        PointerState& pointer = Pointer();
        std::lock_guard<std::mutex> lock(pointer.mutex);
        if (pointer.colour.window != window) {
            return;
        }
        const int generation = pointer.colour.generation;
        pointer.colour = ColourCursor{};
        pointer.colour.generation = generation + 1;
    }
    ApplyPointer();
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
    {
        PointerState& pointer = Pointer();
        std::lock_guard<std::mutex> lock(pointer.mutex);
        previous = pointer.shape;
        pointer.shape = cursor;
    }
    ApplyPointer();
    return previous;
}

HCURSOR GetCursor() {
    PointerState& pointer = Pointer();
    std::lock_guard<std::mutex> lock(pointer.mutex);
    return pointer.shape;
}

int ShowCursor(BOOL show) {
    int count = 0;
    {
        PointerState& pointer = Pointer();
        std::lock_guard<std::mutex> lock(pointer.mutex);
        pointer.displayCount += show != FALSE ? 1 : -1;
        count = pointer.displayCount;
    }
    ApplyPointer();
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
        pointer.colour = ColourCursor{};
        pointer.applied = AppliedPointer{};
    }
    SetLastPointerPosition(PointerPosition{});
}

ShownPointer CurrentShownPointer() {
    PointerState& pointer = Pointer();
    std::lock_guard<std::mutex> lock(pointer.mutex);
    return pointer.applied.valid ? pointer.applied.shown : ShownPointer{};
}

}  // namespace win32_test
