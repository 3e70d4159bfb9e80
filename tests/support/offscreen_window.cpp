#include "support/offscreen_window.h"

#include <cstdint>
#include <cstdlib>

#include "platform/win32/sdl_host.h"
#include "platform/win32/window_api.h"

namespace qvn::test {

namespace {

// SDL's flag for video, restated so that the tests need no SDL header.
constexpr std::uint32_t kSdlInitVideo = 0x00000020u;

}  // namespace

OffscreenWindow::OffscreenWindow(const char* className) : className_(className) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    // SDL's own software renderer on a plain framebuffer: the GL drivers it would otherwise load
    // keep allocations until the process ends, which the leak checker reports.
    setenv("SDL_RENDER_DRIVER", "software", 1);
    setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 1);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &DefWindowProcA;
    windowClass.lpszClassName = className;
    registered_ = RegisterClassA(&windowClass) != 0;
    if (!registered_ || !Win32InitSdl(kSdlInitVideo)) {
        return;
    }
    window_ = CreateWindowExA(0, className, "game", WS_CAPTION | WS_VISIBLE, 0, 0, 320, 240,
                              nullptr, nullptr, nullptr, nullptr);
    if (window_ != nullptr && Win32GetSdlWindow(window_) == nullptr) {
        DestroyWindow(window_);
        window_ = nullptr;
    }
}

OffscreenWindow::~OffscreenWindow() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
    if (registered_) {
        UnregisterClassA(className_, nullptr);
    }
}

}  // namespace qvn::test
