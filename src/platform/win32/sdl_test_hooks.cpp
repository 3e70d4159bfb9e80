#include "platform/win32/sdl_test_hooks.h"

#include <SDL.h>

#include "platform/win32/sdl_host.h"

namespace win32_test {

bool PushSdlUserEvent(std::int32_t code) {
    if (SDL_WasInit(SDL_INIT_EVENTS) == 0) {
        return false;
    }
    SDL_Event event{};
    event.type = SDL_USEREVENT;
    event.user.code = code;
    return SDL_PushEvent(&event) == 1;
}

bool PushSdlQuitEvent() {
    if (SDL_WasInit(SDL_INIT_EVENTS) == 0) {
        return false;
    }
    SDL_Event event{};
    event.type = SDL_QUIT;
    return SDL_PushEvent(&event) == 1;
}

namespace {

// The id of the SDL window behind `window`, 0 when it has none.
Uint32 SdlIdOf(HWND window) {
    SDL_Window* sdlWindow = Win32GetSdlWindow(window);
    return sdlWindow != nullptr ? SDL_GetWindowID(sdlWindow) : 0;
}

bool Push(SDL_Event& event) {
    if (SDL_WasInit(SDL_INIT_EVENTS) == 0) {
        return false;
    }
    event.common.timestamp = SDL_GetTicks();
    return SDL_PushEvent(&event) == 1;
}

bool PushKey(Uint32 windowId, int scancode, bool down, bool repeat) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.windowID = windowId;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.scancode = static_cast<SDL_Scancode>(scancode);
    event.key.keysym.sym = SDL_GetKeyFromScancode(event.key.keysym.scancode);
    return windowId != 0 && Push(event);
}

}  // namespace

bool PushSdlKeyEvent(HWND window, int scancode, bool down, bool repeat) {
    return PushKey(SdlIdOf(window), scancode, down, repeat);
}

std::uint32_t SdlWindowId(HWND window) {
    return SdlIdOf(window);
}

bool PushSdlKeyEventForId(std::uint32_t sdlWindowId, int scancode, bool down) {
    return PushKey(sdlWindowId, scancode, down, false);
}

bool PushSdlMouseMotion(HWND window, int x, int y) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = SdlIdOf(window);
    event.motion.x = x;
    event.motion.y = y;
    return event.motion.windowID != 0 && Push(event);
}

bool PushSdlMouseButton(HWND window, int button, bool down, int x, int y) {
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.windowID = SdlIdOf(window);
    event.button.button = static_cast<Uint8>(button);
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    event.button.x = x;
    event.button.y = y;
    return event.button.windowID != 0 && Push(event);
}

bool PushSdlMouseWheel(HWND window, int notches, bool flipped) {
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.windowID = SdlIdOf(window);
    event.wheel.y = notches;
    event.wheel.direction = flipped ? SDL_MOUSEWHEEL_FLIPPED : SDL_MOUSEWHEEL_NORMAL;
    return event.wheel.windowID != 0 && Push(event);
}

bool PushSdlWindowEvent(HWND window, SdlWindowEventKind kind, int data1, int data2) {
    static constexpr SDL_WindowEventID kEvents[] = {
        SDL_WINDOWEVENT_EXPOSED,   SDL_WINDOWEVENT_MOVED,        SDL_WINDOWEVENT_SIZE_CHANGED,
        SDL_WINDOWEVENT_MINIMIZED, SDL_WINDOWEVENT_MAXIMIZED,    SDL_WINDOWEVENT_RESTORED,
        SDL_WINDOWEVENT_LEAVE,     SDL_WINDOWEVENT_FOCUS_GAINED, SDL_WINDOWEVENT_FOCUS_LOST,
        SDL_WINDOWEVENT_CLOSE,
    };
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = SdlIdOf(window);
    event.window.event = static_cast<Uint8>(kEvents[static_cast<int>(kind)]);
    event.window.data1 = data1;
    event.window.data2 = data2;
    return event.window.windowID != 0 && Push(event);
}

bool SdlWindowPlacement(HWND window, RECT* rect) {
    SDL_Window* sdlWindow = Win32GetSdlWindow(window);
    if (sdlWindow == nullptr) {
        return false;
    }
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    SDL_GetWindowPosition(sdlWindow, &x, &y);
    SDL_GetWindowSize(sdlWindow, &width, &height);
    *rect = RECT{x, y, x + width, y + height};
    return true;
}

bool ResizeSdlWindow(HWND window, int width, int height) {
    SDL_Window* sdlWindow = Win32GetSdlWindow(window);
    if (sdlWindow == nullptr) {
        return false;
    }
    SDL_SetWindowSize(sdlWindow, width, height);
    return true;
}

bool MoveSdlWindow(HWND window, int x, int y) {
    SDL_Window* sdlWindow = Win32GetSdlWindow(window);
    if (sdlWindow == nullptr) {
        return false;
    }
    SDL_SetWindowPosition(sdlWindow, x, y);
    return true;
}

std::optional<std::int32_t> SdlUserEventCode(const SDL_Event& event) {
    if (event.type != SDL_USEREVENT) {
        return std::nullopt;
    }
    return event.user.code;
}

}  // namespace win32_test
