// Mouse capture, kept per thread as on Windows.

#include "platform/win32/capture_api.h"
#include "platform/win32/message_api.h"
#include "platform/win32/window_api.h"
#include "platform/winbase/file_api.h"

namespace {

thread_local HWND captureWindow = nullptr;

}  // namespace

HWND SetCapture(HWND window) {
    if (!IsWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    HWND previous = GetCapture();
    captureWindow = window;
    if (previous != nullptr && previous != window) {
        SendMessageA(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(window));
    }
    return previous;
}

BOOL ReleaseCapture() {
    HWND previous = GetCapture();
    captureWindow = nullptr;
    if (previous != nullptr) {
        SendMessageA(previous, WM_CAPTURECHANGED, 0, 0);
    }
    return TRUE;
}

HWND GetCapture() {
    if (captureWindow != nullptr && !IsWindow(captureWindow)) {
        captureWindow = nullptr;
    }
    return captureWindow;
}
