#include "platform/dinput/app_activation.h"

#include "platform/dinput/direct_input.h"

namespace {

bool appActive = true;
// The program's active window; null while it is not known (the program is taken as active with
// every window in the foreground until the Windows layer says otherwise).
HWND activeWindow = nullptr;
std::uint64_t deactivations = 0;

void SetForeground(bool active, HWND window) {
    // A window that was in the foreground and no longer is has lost what it had acquired.
    if (appActive && (!active || (activeWindow != nullptr && activeWindow != window))) {
        ++deactivations;
    }
    appActive = active;
    activeWindow = active ? window : nullptr;
}

}  // namespace

void DInputSetAppActive(bool active) {
    SetForeground(active, nullptr);
}

void DInputSetActiveWindow(HWND window) {
    SetForeground(window != nullptr, window);
}

bool DInputIsAppActive() {
    return appActive;
}

bool DInputIsInForeground(HWND window) {
    return appActive && (activeWindow == nullptr || window == nullptr || window == activeWindow);
}

std::uint64_t DInputDeactivationCount() {
    return deactivations;
}
