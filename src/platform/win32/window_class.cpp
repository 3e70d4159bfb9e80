#include <algorithm>
#include <cstdint>

#include "platform/win32/window_api.h"
#include "platform/win32/window_state.h"
#include "platform/winbase/file_api.h"

using namespace win32_internal;

namespace {

ATOM RegisterClassCommon(UINT style, WNDPROC procedure, HINSTANCE instance, LPCSTR name,
                         HICON icon) {
    if (procedure == nullptr || name == nullptr ||
        reinterpret_cast<std::uintptr_t>(name) < 0x10000u || name[0] == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (FindClassLocked(state, name) != nullptr) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    WindowClass windowClass;
    windowClass.name = name;
    windowClass.atom = state.nextAtom;
    state.nextAtom = state.nextAtom == 0xFFFF ? 0xC000 : static_cast<ATOM>(state.nextAtom + 1);
    windowClass.style = style;
    windowClass.procedure = procedure;
    windowClass.instance = instance;
    windowClass.icon = icon;
    state.classes.push_back(windowClass);
    return windowClass.atom;
}

}  // namespace

ATOM RegisterClassExA(const WNDCLASSEXA* windowClass) {
    if (windowClass == nullptr || windowClass->cbSize != sizeof(WNDCLASSEXA)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return RegisterClassCommon(windowClass->style, windowClass->lpfnWndProc, windowClass->hInstance,
                               windowClass->lpszClassName, windowClass->hIcon);
}

ATOM RegisterClassA(const WNDCLASSA* windowClass) {
    if (windowClass == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return RegisterClassCommon(windowClass->style, windowClass->lpfnWndProc, windowClass->hInstance,
                               windowClass->lpszClassName, windowClass->hIcon);
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE /*instance*/) {
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    WindowClass* windowClass = FindClassLocked(state, className);
    if (windowClass == nullptr) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    if (windowClass->liveWindows > 0) {
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return FALSE;
    }
    ATOM atom = windowClass->atom;
    std::erase_if(state.classes, [atom](const WindowClass& c) { return c.atom == atom; });
    return TRUE;
}
