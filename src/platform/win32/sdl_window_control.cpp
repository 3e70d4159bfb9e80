// What the window calls do to SDL's windows and pointer.

#include <SDL.h>

#include <cstring>
#include <memory>
#include <optional>

#include "platform/win32/sdl_window_bridge.h"
#include "platform/win32/x11_window_manager.h"

namespace win32_internal {

namespace {

bool OnWayland() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr && std::strcmp(driver, "wayland") == 0;
}

// The part of the desktop a window's decoration must stay on: the work area of the window's
// display (the desktop less its panels), else the whole display.
std::optional<RECT> WorkAreaOf(SDL_Window* window) {
    int display = SDL_GetWindowDisplayIndex(window);
    display = display < 0 ? 0 : display;
    SDL_Rect area{};
    if ((SDL_GetDisplayUsableBounds(display, &area) != 0 || area.w <= 0 || area.h <= 0) &&
        (SDL_GetDisplayBounds(display, &area) != 0 || area.w <= 0 || area.h <= 0)) {
        return std::nullopt;
    }
    return RECT{area.x, area.y, area.x + area.w, area.y + area.h};
}

// How far a window at `rect` with decoration `frame` moves so that the decoration lies on `area`:
// first so that its right and bottom edges do, then its left and top edges (the title bar) win.
POINT ShiftOntoArea(const RECT& rect, const RECT& frame, const RECT& area) {
    const auto shift = [](LONG low, LONG high, LONG areaLow, LONG areaHigh) {
        LONG by = high > areaHigh ? areaHigh - high : 0;
        return low + by < areaLow ? areaLow - low : by;
    };
    return POINT{shift(rect.left - frame.left, rect.right + frame.right, area.left, area.right),
                 shift(rect.top - frame.top, rect.bottom + frame.bottom, area.top, area.bottom)};
}

// Moves and sizes the window so that its client area is at `rect`, or, for a decorated window, as
// near as keeps the decoration on the desktop; answers where the client area went.
RECT PlaceWindow(SDL_Window* window, const RECT& rect, bool bordered) {
    RECT placed = rect;
    POINT request{rect.left, rect.top};
    // Known only where a window manager decorates windows.
    const std::optional<RECT> extents = X11FrameExtents(window);
    if (extents) {
        const RECT frame = bordered ? *extents : RECT{};
        const std::optional<RECT> area = WorkAreaOf(window);
        const POINT shift = bordered && area ? ShiftOntoArea(rect, frame, *area) : POINT{};
        placed = RECT{rect.left + shift.x, rect.top + shift.y, rect.right + shift.x,
                      rect.bottom + shift.y};
        // SDL places the frame by the decoration it last heard of, which lags behind the window
        // manager's (leaving full screen decorates the window again): the request makes up the
        // difference.
        int top = 0;
        int left = 0;
        if (SDL_GetWindowBordersSize(window, &top, &left, nullptr, nullptr) != 0) {
            top = 0;
            left = 0;
        }
        request = POINT{placed.left - frame.left + left, placed.top - frame.top + top};
    }
    const int width = RectWidth(placed);
    const int height = RectHeight(placed);
    if (width > 0 && height > 0) {
        SDL_SetWindowSize(window, width, height);
    }
    SDL_SetWindowPosition(window, request.x, request.y);
    return placed;
}

}  // namespace

RECT SdlApplyPlacement(SDL_Window* window, const RECT& rect, bool bordered, bool fullScreen) {
    if (window == nullptr) {
        return rect;
    }
    const bool isFullScreen = (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
    if (fullScreen && (OnWayland() || X11WindowManagerDoesFullScreen(window))) {
        // The desktop's own full screen: the window manager (or the Wayland compositor, where a
        // window cannot place itself) covers the display with the window, undecorated.
        if (!isFullScreen) {
            SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
            X11AwaitFullScreenState(window, true);
        }
        return rect;
    }
    if (isFullScreen) {
        SDL_SetWindowFullscreen(window, 0);
        // The window manager decorates the window again before it can be placed by its frame.
        X11AwaitFullScreenState(window, false);
    }
    SDL_SetWindowBordered(window, bordered ? SDL_TRUE : SDL_FALSE);
    // Without a window manager nothing answers SDL's full-screen request: the undecorated window
    // covers the display by itself there.
    return PlaceWindow(window, rect, bordered);
}

bool SdlDisplayBounds(SDL_Window* window, RECT* bounds) {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        return false;
    }
    int display = window != nullptr ? SDL_GetWindowDisplayIndex(window) : 0;
    SDL_Rect area{};
    if (display < 0 || SDL_GetDisplayBounds(display, &area) != 0) {
        if (SDL_GetDisplayBounds(0, &area) != 0) {
            return false;
        }
    }
    if (area.w <= 0 || area.h <= 0) {
        return false;
    }
    *bounds = RECT{area.x, area.y, area.x + area.w, area.y + area.h};
    return true;
}

bool SdlWindowSize(SDL_Window* window, SIZE* size) {
    if (window == nullptr) {
        return false;
    }
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window, &width, &height);
    if (width <= 0 || height <= 0) {
        return false;
    }
    *size = SIZE{width, height};
    return true;
}

bool SdlWindowPosition(SDL_Window* window, POINT* position) {
    if (window == nullptr) {
        return false;
    }
    int x = 0;
    int y = 0;
    SDL_GetWindowPosition(window, &x, &y);
    *position = POINT{x, y};
    return true;
}

bool SdlDesktopSize(SIZE* size) {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        return false;
    }
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0 || mode.w <= 0 || mode.h <= 0) {
        return false;
    }
    *size = SIZE{mode.w, mode.h};
    return true;
}

bool SdlDesktopWorkArea(SIZE* size) {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        return false;
    }
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0 || usable.w <= 0 || usable.h <= 0) {
        return false;
    }
    *size = SIZE{usable.w, usable.h};
    return true;
}

void SdlRaiseWindow(SDL_Window* window) {
    if (window == nullptr) {
        return;
    }
    SDL_RaiseWindow(window);
    // Without a window manager nobody carries out the request to activate the window, and the
    // keyboard stays where it was (nowhere, after the window that had it was destroyed).
    if (X11WindowOf(window) && !X11WindowManagerRuns(window)) {
        SDL_SetWindowInputFocus(window);
    }
}

void SdlWarpPointer(SDL_Window* window, POINT pixel) {
    if (window != nullptr) {
        SDL_WarpMouseInWindow(window, pixel.x, pixel.y);
    }
}

void SdlShowPointer(bool visible) {
    if (SdlVideoReadyOnThisThread()) {
        SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
    }
}

void SdlSetPointerImage(const std::uint32_t* argb, int size, POINT hotSpot) {
    struct CursorDeleter {
        void operator()(SDL_Cursor* cursor) const { SDL_FreeCursor(cursor); }
    };
    struct SurfaceDeleter {
        void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
    };
    // The colour cursor SDL shows now; freed once another one is set (SDL_Quit frees the last).
    static SDL_Cursor* colour = nullptr;
    if (!SdlVideoReadyOnThisThread()) {
        return;
    }
    std::unique_ptr<SDL_Cursor, CursorDeleter> made;
    if (argb != nullptr && size > 0) {
        // SDL only reads the pixels.
        const std::unique_ptr<SDL_Surface, SurfaceDeleter> surface(
            SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(argb), size, size, 32,
                                               size * 4, SDL_PIXELFORMAT_ARGB8888));
        if (surface) {
            made.reset(SDL_CreateColorCursor(surface.get(), hotSpot.x, hotSpot.y));
        }
    }
    SDL_SetCursor(made ? made.get() : SDL_GetDefaultCursor());
    if (colour != nullptr) {
        SDL_FreeCursor(colour);
    }
    colour = made.release();
}

void SdlGrabPointer(SDL_Window* window, bool grab) {
    if (window != nullptr) {
        SDL_SetWindowGrab(window, grab ? SDL_TRUE : SDL_FALSE);
    }
}

}  // namespace win32_internal
