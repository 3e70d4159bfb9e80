#include "platform/win32/sdl_event_translation.h"

#include <SDL.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/win32/client_mapping.h"
#include "platform/win32/sdl_host.h"
#include "platform/win32/sdl_virtual_keys.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_input.h"
#include "platform/win32/window_placement.h"
#include "platform/win32/window_state.h"
#include "platform/win32/x11_window_manager.h"

namespace win32_internal {
namespace {

constexpr int kWheelDelta = 120;

struct Target {
    HWND window = nullptr;
    SDL_Window* sdlWindow = nullptr;
    SIZE windowSize{};  // the window rectangle: the menu bar rows, then the client area
    LONG barRows = 0;
    bool fullScreen = false;
};

// The window whose SDL window has the id; with id 0 (keyboard events without a focus window)
// the active window.
std::optional<Target> TargetOf(Uint32 windowId) {
    HWND fallback = windowId == 0 ? ActiveWindow() : nullptr;
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    for (auto& [key, record] : state.windows) {
        if (!record->sdlWindow || record->destroying) {
            continue;
        }
        if (fallback != nullptr ? record->handle == fallback
                                : SDL_GetWindowID(record->sdlWindow.get()) == windowId) {
            return Target{record->handle, record->sdlWindow.get(),
                          SIZE{RectWidth(record->rect), RectHeight(record->rect)},
                          MenuBarRows(*record), IsFullScreenStyle(record->style)};
        }
    }
    return std::nullopt;
}

// SDL's window pixels to client coordinates: the window's own pixels unless the SDL window shows
// it scaled (full screen, or a desktop that would not give the size asked for), less the menu
// bar's rows (a point on the bar has a negative y).
POINT ClientPoint(const Target& target, int x, int y) {
    SIZE output{};
    POINT at{x, y};
    if (SdlWindowSize(target.sdlWindow, &output) &&
        (output.cx != target.windowSize.cx || output.cy != target.windowSize.cy)) {
        at = OutputToClient(target.windowSize, output, POINT{x, y}, target.fullScreen);
    }
    at.y -= target.barRows;
    return at;
}

// A button press already waiting behind the focus event, in the window's client area: the window
// is being activated by a click there. (A click on the menu bar activates the window as any
// other, and goes on to open the menu.)
bool ClientClickIsPending(const Target& target) {
    SDL_Event pending[8];
    const int count =
        SDL_PeepEvents(pending, 8, SDL_PEEKEVENT, SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONDOWN);
    for (int i = 0; i < count; ++i) {
        const SDL_MouseButtonEvent& press = pending[i].button;
        if (press.windowID == SDL_GetWindowID(target.sdlWindow) &&
            ClientPoint(target, press.x, press.y).y >= 0) {
            return true;
        }
    }
    return false;
}

// Whether the keyboard focus that `losing` lost went to another window of ours, or comes back to
// it: then the activation only moves inside the program, and the gain that follows says where.
bool FocusStaysWithUs(SDL_Window* losing) {
    // The gain may already wait behind the loss.
    SDL_Event pending[16];
    const int count = SDL_PeepEvents(pending, 16, SDL_PEEKEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT);
    for (int i = 0; i < count; ++i) {
        if (pending[i].window.event == SDL_WINDOWEVENT_FOCUS_GAINED &&
            TargetOf(pending[i].window.windowID)) {
            return true;
        }
    }
    // SDL passes the desktop's focus changes on a little late, each window's on its own: the X
    // server knows where the focus is now.
    const std::optional<unsigned long> focus = X11InputFocus(losing);
    if (!focus) {
        return false;
    }
    std::vector<SDL_Window*> ours;
    {
        State& state = GetState();
        std::lock_guard<std::mutex> lock(state.mutex);
        for (auto& [key, record] : state.windows) {
            if (record->sdlWindow && !record->destroying) {
                ours.push_back(record->sdlWindow.get());
            }
        }
    }
    return std::any_of(ours.begin(), ours.end(), [&](SDL_Window* window) {
        const std::optional<X11Window> x11 = X11WindowOf(window);
        return x11 && x11->window == *focus;
    });
}

void TranslateWindowEvent(const SDL_WindowEvent& event) {
    std::optional<Target> target = TargetOf(event.windowID);
    if (!target) {
        return;
    }
    HWND window = target->window;
    switch (event.event) {
        case SDL_WINDOWEVENT_EXPOSED:
            DeliverExpose(window);
            break;
        case SDL_WINDOWEVENT_MOVED: {
            // Events are read after the window may have been moved again (by our own placement
            // calls too): only one that tells where the window is now is news.
            POINT now{};
            if (SdlWindowPosition(target->sdlWindow, &now) &&
                (now.x != event.data1 || now.y != event.data2)) {
                break;
            }
            DeliverMove(window, event.data1, event.data2);
            break;
        }
        case SDL_WINDOWEVENT_SIZE_CHANGED: {
            SIZE now{};
            if (SdlWindowSize(target->sdlWindow, &now) &&
                (now.cx != event.data1 || now.cy != event.data2)) {
                break;  // stale, as above
            }
            bool maximised = (SDL_GetWindowFlags(target->sdlWindow) & SDL_WINDOW_MAXIMIZED) != 0;
            DeliverSize(window, maximised ? SIZE_MAXIMIZED : SIZE_RESTORED, event.data1,
                        event.data2);
            RescalePointer();
            break;
        }
        case SDL_WINDOWEVENT_MINIMIZED:
            DeliverSize(window, SIZE_MINIMIZED, 0, 0);
            break;
        case SDL_WINDOWEVENT_MAXIMIZED:
        case SDL_WINDOWEVENT_RESTORED: {
            SIZE size{};
            SdlWindowSize(target->sdlWindow, &size);
            DeliverSize(window,
                        event.event == SDL_WINDOWEVENT_MAXIMIZED ? SIZE_MAXIMIZED : SIZE_RESTORED,
                        size.cx, size.cy);
            break;
        }
        case SDL_WINDOWEVENT_LEAVE: {
            PointerPosition last = LastPointerPosition();
            DeliverMouseLeave(window, last.screen.x, last.screen.y);
            break;
        }
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            // A window with the keyboard focus is on the screen, whatever became of a request to
            // minimise it (a desktop without a window manager, or one that never minimises,
            // leaves it shown): it is restored, as a minimised window that gets activated is.
            if (IsIconic(window) != FALSE) {
                SIZE size{};
                SdlWindowSize(target->sdlWindow, &size);
                DeliverSize(window, SIZE_RESTORED, size.cx, size.cy);
            }
            DeliverActivation(window, true, ClientClickIsPending(*target));
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            if (!FocusStaysWithUs(target->sdlWindow)) {
                DeliverActivation(window, false, false);
            }
            break;
        case SDL_WINDOWEVENT_CLOSE:
            DeliverClose(window);
            break;
        default:
            break;
    }
}

}  // namespace

void ActivateOnPress(const SDL_Event& event) {
    if (event.type != SDL_MOUSEBUTTONDOWN) {
        return;
    }
    if (std::optional<Target> target = TargetOf(event.button.windowID)) {
        const POINT at = ClientPoint(*target, event.button.x, event.button.y);
        ActivateForPress(target->window, at.y >= 0);
    }
}

void TranslateSdlEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_WINDOWEVENT:
            TranslateWindowEvent(event.window);
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            std::optional<KeyCode> key = KeyCodeOfSdlScancode(event.key.keysym.scancode);
            if (!key) {
                break;
            }
            std::optional<Target> target = TargetOf(event.key.windowID);
            if (!target) {
                // SDL lets go of every held key when a window loses the keyboard, also one that
                // is being destroyed: the keys are up all the same.
                DeliverKeyWithoutWindow(key->virtualKey, key->rightHand, event.type == SDL_KEYDOWN);
                break;
            }
            DeliverKey(target->window, key->virtualKey, key->scanCode, key->extended,
                       key->rightHand, event.type == SDL_KEYDOWN, event.key.repeat != 0);
            break;
        }
        case SDL_MOUSEMOTION: {
            if (std::optional<Target> target = TargetOf(event.motion.windowID)) {
                POINT at = ClientPoint(*target, event.motion.x, event.motion.y);
                DeliverMouseMove(target->window, at.x, at.y);
            }
            break;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            const int button = Win32MouseButtonOfSdl(event.button.button);
            if (std::optional<Target> target = TargetOf(event.button.windowID)) {
                POINT at = ClientPoint(*target, event.button.x, event.button.y);
                DeliverMouseButton(target->window, button, event.type == SDL_MOUSEBUTTONDOWN, at.x,
                                   at.y);
            } else {
                DeliverMouseButtonWithoutWindow(button, event.type == SDL_MOUSEBUTTONDOWN);
            }
            break;
        }
        case SDL_MOUSEWHEEL: {
            std::optional<Target> target = TargetOf(event.wheel.windowID);
            if (!target || event.wheel.y == 0) {
                break;
            }
            int notches =
                event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
            PointerPosition last = LastPointerPosition();
            POINT at = last.window == target->window ? last.client : POINT{0, 0};
            DeliverMouseWheel(target->window, notches * kWheelDelta, at.x, at.y);
            break;
        }
        default:
            break;
    }
}

}  // namespace win32_internal

int Win32MouseButtonOfSdl(std::uint8_t sdlButton) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT:
            return 0;
        case SDL_BUTTON_RIGHT:
            return 1;
        case SDL_BUTTON_MIDDLE:
            return 2;
        case SDL_BUTTON_X1:
            return 3;
        case SDL_BUTTON_X2:
            return 4;
        default:
            return -1;
    }
}
