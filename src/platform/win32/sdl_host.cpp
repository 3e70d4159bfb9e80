// SDL ownership: initialisation of the subsystems, the SDL windows behind window handles, and
// the single event pump.

#include "platform/win32/sdl_host.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/message_api.h"
#include "platform/win32/sdl_event_translation.h"
#include "platform/win32/sdl_window_bridge.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_input.h"
#include "platform/win32/window_state.h"
#include "platform/winbase/code_page.h"
#include "platform/winbase/debug_output.h"

namespace {

// Events handed out per pump call: a listener that pushes an event for every event it gets
// cannot keep the pump from returning.
constexpr int kMaxEventsPerPump = 1024;

constexpr Uint32 kKnownSubsystems[] = {SDL_INIT_TIMER,    SDL_INIT_AUDIO,         SDL_INIT_VIDEO,
                                       SDL_INIT_JOYSTICK, SDL_INIT_HAPTIC,        SDL_INIT_EVENTS,
                                       SDL_INIT_SENSOR,   SDL_INIT_GAMECONTROLLER};
constexpr Uint32 kSubsystemsWithEvents =
    SDL_INIT_VIDEO | SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER | SDL_INIT_EVENTS;

struct Listener {
    Win32SdlEventListener function;
    void* context;
    bool operator==(const Listener&) const = default;
};

struct SdlHost {
    std::mutex mutex;
    Uint32 started = 0;  // subsystems we initialised
    Uint32 failed = 0;   // subsystems that could not start; not tried again
    bool exitHandlerRegistered = false;
    DWORD pumpThread = 0;  // 0 until a subsystem that brings events has started
    bool videoStarted = false;
    std::vector<Listener> listeners;
};

// Lives for the whole process: the exit handler and thread exits may still reach it.
SdlHost& Host() {
    static SdlHost* const host = new SdlHost;
    return *host;
}

void ShutDownSdl() {
    win32_internal::ReleaseAllSdlWindows();
    SDL_Quit();
}

const char* SubsystemName(Uint32 subsystem) {
    switch (subsystem) {
        case SDL_INIT_TIMER:
            return "timer";
        case SDL_INIT_AUDIO:
            return "audio";
        case SDL_INIT_VIDEO:
            return "video";
        case SDL_INIT_JOYSTICK:
            return "joystick";
        case SDL_INIT_HAPTIC:
            return "haptic";
        case SDL_INIT_EVENTS:
            return "events";
        case SDL_INIT_SENSOR:
            return "sensor";
        default:
            return "game controller";
    }
}

void Complain(const std::string& what) {
    std::string line = what + ": " + SDL_GetError() + "\n";
    OutputDebugStringA(line.c_str());
}

std::string TitleForSdl(const std::string& titleSjis) {
    std::optional<std::string> utf8 = Cp932ToUtf8(titleSjis);
    return utf8 ? *utf8 : std::string();
}

bool StillListening(const Listener& listener) {
    SdlHost& host = Host();
    std::lock_guard<std::mutex> lock(host.mutex);
    return std::find(host.listeners.begin(), host.listeners.end(), listener) !=
           host.listeners.end();
}

// SDL_QUIT (the desktop asks the program to end) becomes WM_CLOSE to the top-level window, so
// that the game asks its close question as for the close button.
void PostCloseToTopLevelWindow() {
    std::vector<HWND> windows = win32_internal::TopLevelWindowsOfThread(GetCurrentThreadId());
    auto visible = std::find_if(windows.begin(), windows.end(),
                                [](HWND window) { return IsWindowVisible(window) != FALSE; });
    if (visible != windows.end()) {
        PostMessageA(*visible, WM_CLOSE, 0, 0);
    } else if (!windows.empty()) {
        PostMessageA(windows.front(), WM_CLOSE, 0, 0);
    }
}

}  // namespace

namespace {

// Win32InitSdl; a subsystem that cannot start is reported in *failure when given, else on the
// debugger output.
bool InitSdl(std::uint32_t flags, std::string* failure) {
    bool allStarted = true;
    bool videoNewlyStarted = false;
    {
        SdlHost& host = Host();
        std::lock_guard<std::mutex> lock(host.mutex);
        if (!host.exitHandlerRegistered) {
            SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
            // Closing a window asks its procedure (WM_CLOSE); it must not also end the program.
            SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
            // The click that activates a window reaches it, as on the desktop: the game decides
            // what that click does (it may let it open the menu bar, or swallow it).
            SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
            SDL_SetMainReady();
            std::atexit(ShutDownSdl);
            host.exitHandlerRegistered = true;
        }
        for (Uint32 subsystem : kKnownSubsystems) {
            if ((flags & subsystem) == 0 || (host.started & subsystem) != 0) {
                continue;
            }
            if ((host.failed & subsystem) != 0) {
                allStarted = false;
                continue;
            }
            if (SDL_InitSubSystem(subsystem) != 0) {
                const std::string what =
                    std::string("SDL cannot start its ") + SubsystemName(subsystem);
                if (failure != nullptr) {
                    *failure = what + ": " + SDL_GetError();
                } else {
                    Complain(what);
                }
                host.failed |= subsystem;
                allStarted = false;
                continue;
            }
            host.started |= subsystem;
            if ((subsystem & kSubsystemsWithEvents) != 0 && host.pumpThread == 0) {
                host.pumpThread = GetCurrentThreadId();
            }
            if (subsystem == SDL_INIT_VIDEO) {
                host.videoStarted = true;
                videoNewlyStarted = host.pumpThread == GetCurrentThreadId();
            }
        }
    }
    if (videoNewlyStarted) {
        // Keys come as key messages; text input would route them through an input method.
        SDL_StopTextInput();
        win32_internal::ReapplyPointerVisibility();
        // Windows shown before video started get their SDL windows now.
        for (HWND window : win32_internal::TopLevelWindowsOfThread(GetCurrentThreadId())) {
            win32_internal::EnsureSdlWindow(window);
        }
    }
    return allStarted;
}

}  // namespace

bool Win32InitSdl(std::uint32_t flags) {
    return InitSdl(flags, nullptr);
}

SDL_Window* Win32GetSdlWindow(HWND window) {
    return win32_internal::EnsureSdlWindow(window);
}

SDL_Renderer* Win32GetSdlRenderer(SDL_Window* window) {
    if (window == nullptr) {
        return nullptr;
    }
    std::vector<HWND> owners;
    {
        win32_internal::State& state = win32_internal::GetState();
        std::lock_guard<std::mutex> lock(state.mutex);
        for (auto& [key, record] : state.windows) {
            if (record->sdlWindow.get() == window) {
                record->showsPictures = true;
                owners.push_back(record->handle);
            }
        }
    }
    if (SDL_Renderer* renderer = SDL_GetRenderer(window)) {
        return renderer;
    }
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, 0);
    if (renderer == nullptr) {
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    }
    if (renderer == nullptr) {
        SDL_Log("win32: no renderer for the window: %s", SDL_GetError());
    }
    // An OpenGL renderer makes SDL create the desktop's window anew, which a window manager
    // places by its frame where the client area was: the window is placed again.
    for (HWND owner : owners) {
        win32_internal::ApplySdlPlacement(owner);
    }
    return renderer;
}

void Win32AddSdlEventListener(Win32SdlEventListener listener, void* context) {
    if (listener == nullptr) {
        return;
    }
    SdlHost& host = Host();
    std::lock_guard<std::mutex> lock(host.mutex);
    host.listeners.push_back(Listener{listener, context});
}

void Win32RemoveSdlEventListener(Win32SdlEventListener listener, void* context) {
    SdlHost& host = Host();
    std::lock_guard<std::mutex> lock(host.mutex);
    std::erase(host.listeners, Listener{listener, context});
}

BOOL Win32StartDisplay(std::string* problem) {
    std::string failure = "SDL video did not start";
    if (!InitSdl(SDL_INIT_VIDEO, &failure)) {
        if (problem != nullptr) {
            *problem = failure;
        }
        return FALSE;
    }
    // Without a display SDL falls back to a headless driver; one asked for by name (as tests and
    // servers do through SDL_VIDEODRIVER) is what the caller wants.
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    if ((asked == nullptr || asked[0] == '\0') && win32_internal::SdlVideoIsHeadless()) {
        if (problem != nullptr) {
            const char* driver = SDL_GetCurrentVideoDriver();
            *problem = std::string("SDL found only its \"") + (driver != nullptr ? driver : "") +
                       "\" driver, which shows nothing";
        }
        return FALSE;
    }
    return TRUE;
}

namespace win32_internal {

void SdlWindowDeleter::operator()(SDL_Window* window) const {
    if (window != nullptr && SDL_WasInit(SDL_INIT_VIDEO) != 0) {
        // A renderer must go before its window (destroying the window first leaves the renderer
        // dangling); a presenter that outlives the window then drops its pointers unused.
        if (SDL_Renderer* renderer = SDL_GetRenderer(window)) {
            SDL_DestroyRenderer(renderer);
        }
        SDL_DestroyWindow(window);
    }
}

bool SdlVideoReadyOnThisThread() {
    SdlHost& host = Host();
    std::lock_guard<std::mutex> lock(host.mutex);
    return host.videoStarted && host.pumpThread == GetCurrentThreadId();
}

bool SdlVideoIsHeadless() {
    const char* driver = SDL_WasInit(SDL_INIT_VIDEO) != 0 ? SDL_GetCurrentVideoDriver() : nullptr;
    const std::string name = driver != nullptr ? driver : "";
    return name.empty() || name == "offscreen" || name == "dummy";
}

bool SdlPumpsOnThisThread() {
    SdlHost& host = Host();
    std::lock_guard<std::mutex> lock(host.mutex);
    return host.pumpThread != 0 && host.pumpThread == GetCurrentThreadId();
}

SdlWindowPtr SdlCreateWindow(const std::string& titleSjis, const RECT& rect, bool minimised,
                             const std::uint32_t* icon) {
    Uint32 flags = SDL_WINDOW_SHOWN;
    if (minimised) {
        flags |= SDL_WINDOW_MINIMIZED;
    }
    SdlWindowPtr window(SDL_CreateWindow(TitleForSdl(titleSjis).c_str(), rect.left, rect.top,
                                         RectWidth(rect), RectHeight(rect), flags));
    if (!window) {
        Complain("SDL cannot create a window");
    } else if (icon != nullptr) {
        // SDL copies the pixels; the surface only lends them.
        SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
            const_cast<std::uint32_t*>(icon), 32, 32, 32, 32 * 4, SDL_PIXELFORMAT_ARGB8888);
        if (surface != nullptr) {
            SDL_SetWindowIcon(window.get(), surface);
            SDL_FreeSurface(surface);
        }
    }
    return window;
}

void SdlShowWindow(SDL_Window* window, bool visible, bool minimised) {
    if (window == nullptr) {
        return;
    }
    if (!visible) {
        SDL_HideWindow(window);
        return;
    }
    SDL_ShowWindow(window);
    if (minimised) {
        SDL_MinimizeWindow(window);
    } else if ((SDL_GetWindowFlags(window) & SDL_WINDOW_MINIMIZED) != 0) {
        SDL_RestoreWindow(window);
    }
}

void SdlSetTitle(SDL_Window* window, const std::string& titleSjis) {
    if (window != nullptr) {
        SDL_SetWindowTitle(window, TitleForSdl(titleSjis).c_str());
    }
}

void SdlPumpEvents() {
    if (!SdlPumpsOnThisThread()) {
        return;
    }
    SDL_Event event;
    for (int count = 0; count < kMaxEventsPerPump && SDL_PollEvent(&event) != 0; ++count) {
        std::vector<Listener> listeners;
        {
            SdlHost& host = Host();
            std::lock_guard<std::mutex> lock(host.mutex);
            listeners = host.listeners;
        }
        // A press activates its window before anyone sees the press, as the desktop activates
        // a window on the click, so that the input layer takes it as the active window's.
        win32_internal::ActivateOnPress(event);
        for (const Listener& listener : listeners) {
            if (StillListening(listener)) {
                listener.function(event, listener.context);
            }
        }
        win32_internal::TranslateSdlEvent(event);
        if (event.type == SDL_QUIT) {
            PostCloseToTopLevelWindow();
        }
    }
}

}  // namespace win32_internal
