// Window creation, destruction and the default procedure.

#include <cstdint>
#include <utility>

#include "platform/win32/icon_api.h"
#include "platform/win32/menu_loop.h"
#include "platform/win32/message_api.h"
#include "platform/win32/message_keys.h"
#include "platform/win32/paint_api.h"
#include "platform/win32/single_instance.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_input.h"
#include "platform/win32/window_state.h"
#include "platform/winbase/file_api.h"

using namespace win32_internal;

namespace {

constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;

bool QualifiesForSdlWindow(const WindowRecord& record) {
    return (record.style & WS_CHILD) == 0 && !record.drawnInOwner &&
           (record.style & WS_VISIBLE) != 0 && !record.destroying &&
           record.rect.right > record.rect.left && record.rect.bottom > record.rect.top &&
           record.ownerThread == GetCurrentThreadId();
}

// Removes the record of a window whose WM_NCDESTROY has been sent.
void RemoveWindowRecord(HWND window) {
    State& state = GetState();
    SdlWindowPtr sdlWindow;  // destroyed after the lock is released
    std::lock_guard<std::mutex> lock(state.mutex);
    auto it = state.windows.find(reinterpret_cast<std::uintptr_t>(window));
    if (it == state.windows.end()) {
        return;
    }
    WindowRecord& record = *it->second;
    PurgeWindowLocked(state, window, record.ownerThread);
    for (WindowClass& windowClass : state.classes) {
        if (windowClass.atom == record.classAtom) {
            --windowClass.liveWindows;
        }
    }
    sdlWindow = std::move(record.sdlWindow);
    state.windows.erase(it);
}

}  // namespace

namespace win32_internal {

SDL_Window* EnsureSdlWindow(HWND window) {
    bool mayCreate = SdlVideoReadyOnThisThread();
    State& state = GetState();
    std::string title;
    RECT rect{};
    bool minimised = false;
    HICON icon = nullptr;
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        WindowRecord* record = FindWindowLocked(state, window);
        if (record == nullptr) {
            return nullptr;
        }
        if (record->sdlWindow || !mayCreate || !QualifiesForSdlWindow(*record)) {
            return record->sdlWindow.get();
        }
        title = record->title;
        rect = record->rect;
        minimised = (record->style & WS_MINIMIZE) != 0;
        for (const WindowClass& windowClass : state.classes) {
            if (windowClass.atom == record->classAtom) {
                icon = windowClass.icon;
            }
        }
    }
    SdlWindowPtr created = SdlCreateWindow(title, rect, minimised, Win32IconPixels(icon));
    SDL_Window* result = nullptr;
    bool fresh = false;
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        WindowRecord* record = FindWindowLocked(state, window);
        if (record == nullptr) {
            return nullptr;
        }
        if (!record->sdlWindow) {
            fresh = created != nullptr;
            record->sdlWindow = std::move(created);
        }
        result = record->sdlWindow.get();
    }
    if (fresh) {
        ApplySdlPlacement(window);
    }
    return result;
}

void ReleaseAllSdlWindows() {
    State& state = GetState();
    std::vector<SdlWindowPtr> released;  // destroyed after the lock is released
    std::lock_guard<std::mutex> lock(state.mutex);
    for (auto& [key, record] : state.windows) {
        if (record->sdlWindow) {
            released.push_back(std::move(record->sdlWindow));
        }
    }
}

std::vector<HWND> TopLevelWindowsOfThread(DWORD threadId) {
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    std::vector<HWND> result;
    for (const auto& [key, record] : state.windows) {
        if (record->ownerThread == threadId && (record->style & WS_CHILD) == 0 &&
            !record->destroying) {
            result.push_back(record->handle);
        }
    }
    return result;
}

void MarkDrawnInOwner(HWND window) {
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (WindowRecord* record = FindWindowLocked(state, window)) {
        record->drawnInOwner = true;
    }
}

std::vector<HWND> ChildWindowsOf(HWND parent) {
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    std::vector<HWND> result;
    for (const auto& [key, record] : state.windows) {
        if (record->parent == parent && parent != nullptr && (record->style & WS_CHILD) != 0 &&
            !record->destroying) {
            result.push_back(record->handle);
        }
    }
    return result;
}

}  // namespace win32_internal

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param) {
    if (x == CW_USEDEFAULT) {
        x = 0;
        y = 0;
    }
    if (width == CW_USEDEFAULT) {
        width = (style & WS_CHILD) != 0 ? 0 : kDefaultWidth;
        height = (style & WS_CHILD) != 0 ? 0 : kDefaultHeight;
    }
    width = width < 0 ? 0 : width;
    height = height < 0 ? 0 : height;

    State& state = GetState();
    HWND handle = nullptr;
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        WindowClass* windowClass = FindClassLocked(state, className);
        if (windowClass == nullptr) {
            SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
            return nullptr;
        }
        if (parent != nullptr) {
            WindowRecord* parentRecord = FindWindowLocked(state, parent);
            if (parentRecord == nullptr || parentRecord->destroying) {
                SetLastError(ERROR_INVALID_WINDOW_HANDLE);
                return nullptr;
            }
        } else if ((style & WS_CHILD) != 0) {
            SetLastError(ERROR_TLW_WITH_WSCHILD);
            return nullptr;
        }
        CurrentQueueLocked(state);
        auto record = std::make_unique<WindowRecord>();
        std::uintptr_t key = state.nextHandle;
        state.nextHandle += 4;
        handle = reinterpret_cast<HWND>(key);
        record->handle = handle;
        record->classAtom = windowClass->atom;
        record->procedure = windowClass->procedure;
        record->instance = instance;
        record->parent = parent;
        record->menu = menu;
        record->style = style & ~WS_VISIBLE;
        record->exStyle = exStyle;
        record->title = windowName != nullptr ? windowName : "";
        record->rect = RECT{x, y, static_cast<LONG>(static_cast<std::int64_t>(x) + width),
                            static_cast<LONG>(static_cast<std::int64_t>(y) + height)};
        record->ownerThread = GetCurrentThreadId();
        ++windowClass->liveWindows;
        state.windows.emplace(key, std::move(record));
    }

    CREATESTRUCTA create{};
    create.lpCreateParams = param;
    create.hInstance = instance;
    create.hMenu = menu;
    create.hwndParent = parent;
    create.cy = height;
    create.cx = width;
    create.y = y;
    create.x = x;
    create.style = static_cast<LONG>(style);
    create.lpszName = windowName;
    create.lpszClass = className;
    create.dwExStyle = exStyle;
    LPARAM createParam = reinterpret_cast<LPARAM>(&create);

    if (SendMessageA(handle, WM_NCCREATE, 0, createParam) == 0) {
        SendMessageA(handle, WM_NCDESTROY, 0, 0);
        RemoveWindowRecord(handle);
        return nullptr;
    }
    if (SendMessageA(handle, WM_CREATE, 0, createParam) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    if (!IsWindow(handle)) {
        return nullptr;  // the procedure destroyed it during creation
    }
    if ((style & WS_CHILD) == 0 && (exStyle & WS_EX_APPWINDOW) != 0) {
        RegisterInstanceWindow(handle);
    }
    if ((style & WS_VISIBLE) != 0) {
        ShowWindow(handle, SW_SHOW);
    }
    return handle;
}

BOOL DestroyWindow(HWND window) {
    State& state = GetState();
    SDL_Window* sdlWindow = nullptr;
    HWND owner = nullptr;
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        WindowRecord* record = FindWindowLocked(state, window);
        if (record == nullptr || record->destroying) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        if (record->ownerThread != GetCurrentThreadId()) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        record->destroying = true;
        record->style &= ~WS_VISIBLE;
        sdlWindow = record->sdlWindow.get();
        if ((record->style & WS_CHILD) == 0) {
            owner = record->parent;
        }
        PurgeWindowLocked(state, window, record->ownerThread);
    }
    if (sdlWindow != nullptr) {
        SdlShowWindow(sdlWindow, false, false);
    }
    // The active window goes: its owner takes the activation, as the desktop hands it on, and the
    // keyboard with it.
    if (owner != nullptr && ActiveWindow() == window && IsWindowVisible(owner) != FALSE) {
        DeliverActivation(owner, true, false);
        SetForegroundWindow(owner);
    }
    SendMessageA(window, WM_DESTROY, 0, 0);

    std::vector<HWND> children;
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        for (const auto& [key, record] : state.windows) {
            if (record->parent == window && !record->destroying) {
                children.push_back(record->handle);
            }
        }
    }
    for (HWND child : children) {
        DestroyWindow(child);
    }
    SendMessageA(window, WM_NCDESTROY, 0, 0);
    UnregisterInstanceWindow(window);
    RemoveWindowRecord(window);
    return TRUE;
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE:
            return TRUE;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            if (BeginPaint(window, &paint) != nullptr) {
                EndPaint(window, &paint);
            }
            return 0;
        }
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0u) {
                case SC_CLOSE:
                    SendMessageA(window, WM_CLOSE, 0, 0);
                    break;
                case SC_MINIMIZE:
                    ShowWindow(window, SW_MINIMIZE);
                    break;
                case SC_RESTORE:
                    ShowWindow(window, SW_RESTORE);
                    break;
                case SC_MOUSEMENU:
                    Win32RunMenuBar(window, true, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)},
                                    0);
                    break;
                case SC_KEYMENU:
                    Win32RunMenuBar(window, false, POINT{}, static_cast<char>(lParam & 0xFF));
                    break;
                default:
                    break;
            }
            return 0;
        case WM_NCLBUTTONDOWN:
            if (wParam == HTMENU) {
                SendMessageA(window, WM_SYSCOMMAND, SC_MOUSEMENU | HTMENU, lParam);
            }
            return 0;
        case WM_SYSKEYUP:
            // Alt or F10 pressed and released alone opens the menu bar from the keyboard.
            if ((wParam == VK_MENU || wParam == VK_F10) && win32_internal::MenuKeyPressedAlone() &&
                GetMenu(window) != nullptr) {
                SendMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, 0);
            }
            return 0;
        case WM_SYSCHAR:
            // Alt with a letter: the title with that mnemonic.
            if (wParam > ' ' && wParam < 0x80 && GetMenu(window) != nullptr) {
                SendMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(wParam));
            }
            return 0;
        default:
            return 0;
    }
}

LRESULT CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wParam,
                        LPARAM lParam) {
    if (procedure == nullptr) {
        return 0;
    }
    return procedure(window, message, wParam, lParam);
}

BOOL IsWindow(HWND window) {
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    return FindWindowLocked(state, window) != nullptr ? TRUE : FALSE;
}

HWND GetParent(HWND window) {
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    WindowRecord* record = FindWindowOrFailLocked(state, window);
    if (record == nullptr) {
        return nullptr;
    }
    return record->parent;
}
