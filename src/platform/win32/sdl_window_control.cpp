// What the window calls do to SDL's windows and pointer.

#include <SDL.h>

#include <cstring>
#include <memory>

#include "platform/win32/sdl_window_bridge.h"

namespace win32_internal {

void SdlApplyPlacement(SDL_Window* window, const RECT& rect, bool bordered, bool fullScreen) {
    if (window == nullptr) {
        return;
    }
    const bool isFullScreen = (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (fullScreen && driver != nullptr && std::strcmp(driver, "wayland") == 0) {
        // A Wayland window cannot place itself; the compositor's full screen covers its output.
        if (!isFullScreen) {
            SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
        }
        return;
    }
    if (isFullScreen) {
        SDL_SetWindowFullscreen(window, 0);
    }
    SDL_SetWindowBordered(window, bordered ? SDL_TRUE : SDL_FALSE);
    int width = RectWidth(rect);
    int height = RectHeight(rect);
    if (width > 0 && height > 0) {
        SDL_SetWindowSize(window, width, height);
    }
    SDL_SetWindowPosition(window, rect.left, rect.top);
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
    if (window != nullptr) {
        SDL_RaiseWindow(window);
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
