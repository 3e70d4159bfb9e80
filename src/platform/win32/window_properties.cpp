// Window properties: the Get/SetWindowLong values, visibility, title, search and rectangles.

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "platform/win32/message_api.h"
#include "platform/win32/single_instance.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_placement.h"
#include "platform/win32/window_state.h"
#include "platform/winbase/code_page.h"
#include "platform/winbase/file_api.h"

using namespace win32_internal;

namespace {

constexpr DWORD kShowStateBits = WS_VISIBLE | WS_MINIMIZE;

// Runs `action` on the window's record with the state mutex held; false (with
// ERROR_INVALID_WINDOW_HANDLE) when the window does not exist.
template <typename Action>
bool WithWindow(HWND window, Action&& action) {
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    WindowRecord* record = FindWindowOrFailLocked(state, window);
    if (record == nullptr) {
        return false;
    }
    action(*record);
    return true;
}

HWND FindLocalWindow(LPCSTR className, LPCSTR windowName) {
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    ATOM atom = 0;
    if (className != nullptr) {
        WindowClass* windowClass = FindClassLocked(state, className);
        if (windowClass == nullptr) {
            return nullptr;
        }
        atom = windowClass->atom;
    }
    for (const auto& [key, record] : state.windows) {
        if ((record->style & WS_CHILD) != 0 || record->destroying) {
            continue;
        }
        if (className != nullptr && record->classAtom != atom) {
            continue;
        }
        if (windowName != nullptr && !EqualNoCaseCp932(record->title, windowName)) {
            continue;
        }
        return record->handle;
    }
    return nullptr;
}

// The value GetWindowLongPtrA answers for `index`; none for an index it does not know.
std::optional<LONG_PTR> ReadWindowLong(const WindowRecord& record, int index) {
    switch (index) {
        case GWLP_WNDPROC:
            return reinterpret_cast<LONG_PTR>(record.procedure);
        case GWLP_HINSTANCE:
            return reinterpret_cast<LONG_PTR>(record.instance);
        case GWLP_HWNDPARENT:
            return reinterpret_cast<LONG_PTR>(record.parent);
        case GWLP_ID:
            return reinterpret_cast<LONG_PTR>(record.menu);
        case GWL_STYLE:
            return static_cast<LONG_PTR>(static_cast<LONG>(record.style));
        case GWL_EXSTYLE:
            return static_cast<LONG_PTR>(static_cast<LONG>(record.exStyle));
        case GWLP_USERDATA:
            return record.userData;
        default:
            return std::nullopt;
    }
}

}  // namespace

LONG_PTR GetWindowLongPtrA(HWND window, int index) {
    std::optional<LONG_PTR> value;
    if (!WithWindow(window, [&](WindowRecord& record) { value = ReadWindowLong(record, index); })) {
        return 0;
    }
    if (!value) {
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    return *value;
}

LONG_PTR SetWindowLongPtrA(HWND window, int index, LONG_PTR value) {
    if (index == GWLP_WNDPROC && value == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    LONG_PTR previous = 0;
    bool validIndex = true;
    if (!WithWindow(window, [&](WindowRecord& record) {
            previous = ReadWindowLong(record, index).value_or(0);
            switch (index) {
                case GWLP_WNDPROC:
                    record.procedure = reinterpret_cast<WNDPROC>(value);
                    break;
                case GWLP_ID:
                    record.menu = reinterpret_cast<HMENU>(value);
                    break;
                case GWL_STYLE:
                    record.style = (static_cast<DWORD>(value) & ~kShowStateBits) |
                                   (record.style & kShowStateBits);
                    break;
                case GWL_EXSTYLE:
                    record.exStyle = static_cast<DWORD>(value);
                    break;
                case GWLP_USERDATA:
                    record.userData = value;
                    break;
                default:  // the instance and the parent are read-only here
                    validIndex = false;
                    break;
            }
        })) {
        return 0;
    }
    if (!validIndex) {
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    // Enabling or disabling a window (a modal dialog's owner) does not place it again: that
    // would undo a size the desktop gave it.
    const DWORD placementBits = ~(kShowStateBits | WS_DISABLED);
    if ((index == GWL_STYLE &&
         ((static_cast<DWORD>(previous) ^ static_cast<DWORD>(value)) & placementBits) != 0) ||
        index == GWL_EXSTYLE) {
        ApplySdlPlacement(window);
    }
    SetLastError(ERROR_SUCCESS);
    return previous;
}

LONG GetWindowLongA(HWND window, int index) {
    if (index == GWLP_WNDPROC || index == GWLP_HINSTANCE || index == GWLP_HWNDPARENT) {
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    return static_cast<LONG>(GetWindowLongPtrA(window, index));
}

LONG SetWindowLongA(HWND window, int index, LONG value) {
    if (index == GWLP_WNDPROC || index == GWLP_HINSTANCE || index == GWLP_HWNDPARENT) {
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    // Style values are bit sets: widen without sign extension.
    LONG_PTR wide = (index == GWL_STYLE || index == GWL_EXSTYLE)
                        ? static_cast<LONG_PTR>(static_cast<DWORD>(value))
                        : static_cast<LONG_PTR>(value);
    return static_cast<LONG>(SetWindowLongPtrA(window, index, wide));
}

BOOL ShowWindow(HWND window, int command) {
    bool wasVisible = false;
    bool visible = false;
    bool minimised = false;
    bool wasMinimised = false;
    RECT rect{};
    SDL_Window* sdlWindow = nullptr;
    bool validCommand = true;
    if (!WithWindow(window, [&](WindowRecord& record) {
            wasVisible = (record.style & WS_VISIBLE) != 0;
            visible = wasVisible;
            minimised = (record.style & WS_MINIMIZE) != 0;
            wasMinimised = minimised;
            rect = record.rect;
            switch (command) {
                case SW_HIDE:
                    visible = false;
                    break;
                case SW_SHOWNORMAL:
                case SW_RESTORE:
                case SW_SHOWMAXIMIZED:
                    visible = true;
                    minimised = false;
                    break;
                case SW_SHOWMINIMIZED:
                case SW_MINIMIZE:
                case SW_SHOWMINNOACTIVE:
                    visible = true;
                    minimised = true;
                    break;
                case SW_SHOWNOACTIVATE:
                case SW_SHOW:
                case SW_SHOWNA:
                case SW_SHOWDEFAULT:
                    visible = true;
                    break;
                default:
                    validCommand = false;
                    return;
            }
            if (record.destroying) {
                visible = false;
            }
            record.style = (record.style & ~kShowStateBits) | (visible ? WS_VISIBLE : 0u) |
                           (minimised ? WS_MINIMIZE : 0u);
            sdlWindow = record.sdlWindow.get();
        })) {
        return FALSE;
    }
    if (!validCommand) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (visible != wasVisible) {
        SendMessageA(window, WM_SHOWWINDOW, visible ? TRUE : FALSE, 0);
    }
    if (minimised != wasMinimised) {
        SendMessageA(window, WM_SIZE, minimised ? SIZE_MINIMIZED : SIZE_RESTORED,
                     minimised ? 0
                               : MAKELPARAM(static_cast<WORD>(RectWidth(rect)),
                                            static_cast<WORD>(RectHeight(rect))));
    }
    if (sdlWindow != nullptr) {
        SdlShowWindow(sdlWindow, visible, minimised);
    } else if (visible) {
        EnsureSdlWindow(window);
    }
    return wasVisible ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND window) {
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    WindowRecord* record = FindWindowLocked(state, window);
    if (record == nullptr) {
        return FALSE;
    }
    // A child is visible only with its parents; an owned top-level window on its own. The
    // depth bound guards against a damaged chain.
    for (int depth = 0; record != nullptr && depth < 1000; ++depth) {
        if ((record->style & WS_VISIBLE) == 0) {
            return FALSE;
        }
        if ((record->style & WS_CHILD) == 0 || record->parent == nullptr) {
            return TRUE;
        }
        record = FindWindowLocked(state, record->parent);
    }
    return FALSE;
}

BOOL IsIconic(HWND window) {
    bool minimised = false;
    WithWindow(window,
               [&](WindowRecord& record) { minimised = (record.style & WS_MINIMIZE) != 0; });
    return minimised ? TRUE : FALSE;
}

BOOL SetWindowTextA(HWND window, LPCSTR text) {
    std::string title = text != nullptr ? text : "";
    SDL_Window* sdlWindow = nullptr;
    if (!WithWindow(window, [&](WindowRecord& record) {
            record.title = title;
            sdlWindow = record.sdlWindow.get();
        })) {
        return FALSE;
    }
    if (sdlWindow != nullptr) {
        SdlSetTitle(sdlWindow, title);
    }
    return TRUE;
}

int GetWindowTextA(HWND window, LPSTR buffer, int size) {
    if (buffer == nullptr || size <= 0) {
        return 0;
    }
    buffer[0] = '\0';
    std::string title;
    if (!WithWindow(window, [&](WindowRecord& record) { title = record.title; })) {
        return 0;
    }
    std::size_t limit = static_cast<std::size_t>(size) - 1;
    std::size_t length = 0;
    while (length < title.size()) {
        std::size_t step = std::max<std::size_t>(1, Cp932CharLength(title, length));
        if (length + step > limit) {
            break;
        }
        length += step;
    }
    std::memcpy(buffer, title.data(), length);
    buffer[length] = '\0';
    return static_cast<int>(length);
}

int GetWindowTextLengthA(HWND window) {
    int length = 0;
    WithWindow(window,
               [&](WindowRecord& record) { length = static_cast<int>(record.title.size()); });
    return length;
}

HWND FindWindowA(LPCSTR className, LPCSTR windowName) {
    if (HWND local = FindLocalWindow(className, windowName)) {
        return local;
    }
    // A window of another running copy of the program (single_instance.h). Class atoms are
    // private to this process, so only a search by name reaches other copies.
    bool byAtom = className != nullptr && reinterpret_cast<std::uintptr_t>(className) < 0x10000u;
    if (!byAtom && ForeignInstanceWindowExists(className, windowName)) {
        return ForeignWindowHandle();
    }
    return nullptr;
}

BOOL GetClientRect(HWND window, RECT* rect) {
    if (rect == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return WithWindow(window,
                      [&](WindowRecord& record) {
                          *rect = RECT{
                              0, 0, RectWidth(record.rect),
                              std::max<LONG>(RectHeight(record.rect) - MenuBarRows(record), 0)};
                      })
               ? TRUE
               : FALSE;
}

BOOL GetWindowRect(HWND window, RECT* rect) {
    if (rect == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    HWND parent = nullptr;
    if (!WithWindow(window, [&](WindowRecord& record) {
            *rect = record.rect;
            parent = (record.style & WS_CHILD) != 0 ? record.parent : nullptr;
        })) {
        return FALSE;
    }
    // A child's rectangle is kept in its parent's client coordinates; the answer is on the
    // screen.
    POINT origin{0, 0};
    if (parent != nullptr && ClientToScreen(parent, &origin)) {
        rect->left += origin.x;
        rect->right += origin.x;
        rect->top += origin.y;
        rect->bottom += origin.y;
    }
    return TRUE;
}
