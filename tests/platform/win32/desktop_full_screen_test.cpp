// The game window's full screen and its way back, as the X server shows them on a desktop of the
// test's own, with a window manager and without one: full screen covers the screen exactly, and
// the window comes back where it was with its decoration (the title bar) on the screen, every
// time.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <thread>

#include "platform/win32/message_api.h"
#include "platform/win32/sdl_host.h"
#include "platform/win32/sdl_window_bridge.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_placement.h"
#include "platform/win32/x11_test_hooks.h"
#include "support/x_desktop.h"

namespace {

using win32_test::X11Placement;

// SDL's flag for video, restated so that the tests need no SDL header.
constexpr std::uint32_t kSdlInitVideo = 0x00000020u;
// The game window's styles in a window and in full screen.
constexpr DWORD kWindowed = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kFullScreen = WS_POPUP | WS_VISIBLE | WS_SYSMENU;
constexpr LONG kWidth = 800;
constexpr LONG kHeight = 600;
constexpr RECT kScreen{0, 0, 1280, 1024};
// How long the window manager may take, and how long a placement must then hold.
constexpr auto kLimit = std::chrono::seconds(20);
constexpr auto kSettled = std::chrono::milliseconds(250);
constexpr auto kPollPeriod = std::chrono::milliseconds(10);

struct Desktop {
    const char* name;
    bool windowManager;
};

void PrintTo(const Desktop& desktop, std::ostream* out) {
    *out << desktop.name;
}

bool Same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Describe(const std::optional<X11Placement>& placement) {
    if (!placement) {
        return "no X11 window";
    }
    std::ostringstream text;
    const auto rect = [&](const RECT& r) {
        text << "(" << r.left << ", " << r.top << ") " << RectWidth(r) << " x " << RectHeight(r);
    };
    text << "client ";
    rect(placement->client);
    text << ", frame ";
    rect(placement->frame);
    return text.str();
}

class DesktopFullScreenTest : public ::testing::TestWithParam<Desktop> {
protected:
    void SetUp() override {
        if (win32_internal::SdlVideoReadyOnThisThread()) {
            GTEST_SKIP() << "SDL video already runs in this process: the case needs a process of "
                            "its own, as CTest runs it";
        }
        const qvn::test::XDesktop desktop = qvn::test::StartXDesktop(GetParam().windowManager);
        ASSERT_FALSE(desktop.display.empty()) << desktop.problem;
        setenv("SDL_VIDEODRIVER", "x11", 1);
        // SDL's own software renderer, and no session bus: the GL drivers and the bus library
        // keep allocations until the process ends, which the leak checker reports.
        setenv("SDL_RENDER_DRIVER", "software", 1);
        setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 1);
        setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
        ASSERT_TRUE(Win32InitSdl(kSdlInitVideo));
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &DefWindowProcA;
        windowClass.lpszClassName = "desktop game";
        ASSERT_NE(RegisterClassA(&windowClass), 0);
        // As the game makes its window: at the stored position (none yet: the screen's corner),
        // then shown, with a device presenting into it.
        window_ = CreateWindowExA(WS_EX_APPWINDOW, "desktop game", "game", kWindowed, 0, 0, kWidth,
                                  kHeight, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
        ShowWindow(window_, SW_SHOW);
        ASSERT_NE(Win32GetSdlRenderer(Win32GetSdlWindow(window_)), nullptr);
    }
    void TearDown() override {
        if (window_ != nullptr) {
            DestroyWindow(window_);
        }
        UnregisterClassA("desktop game", nullptr);
    }

    // As the game's full-screen toggle applies the window mode.
    void applyMode(bool fullScreen) {
        SetWindowLongA(window_, GWL_STYLE, static_cast<LONG>(fullScreen ? kFullScreen : kWindowed));
        SetWindowPos(window_, HWND_TOP, 0, 0, kWidth, kHeight, SWP_NOZORDER | SWP_FRAMECHANGED);
        ShowWindow(window_, SW_SHOW);
    }

    // Runs the window's messages and SDL's events until the X server shows a placement that
    // `wanted` accepts and that then holds for a while; the last placement seen when it does not
    // within the limit.
    std::optional<X11Placement> awaitPlacement(
        const std::function<bool(const X11Placement&)>& wanted) {
        using Clock = std::chrono::steady_clock;
        const Clock::time_point deadline = Clock::now() + kLimit;
        bool holding = false;
        Clock::time_point heldSince = Clock::now();
        std::optional<X11Placement> placement;
        while (Clock::now() < deadline) {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageA(&message);
            }
            placement = win32_test::X11WindowPlacement(window_);
            const bool held = placement && wanted(*placement);
            if (held && !holding) {
                heldSince = Clock::now();
            }
            holding = held;
            if (holding && Clock::now() - heldSince >= kSettled) {
                return placement;
            }
            std::this_thread::sleep_for(kPollPeriod);
        }
        return placement;
    }

    // The window as the game sees it agrees with the X server: its client origin on the screen.
    void expectModelAgrees(const X11Placement& placement) {
        POINT origin{0, 0};
        ASSERT_TRUE(ClientToScreen(window_, &origin));
        EXPECT_EQ(origin.x, placement.client.left);
        EXPECT_EQ(origin.y, placement.client.top);
    }

    HWND window_ = nullptr;
};

TEST_P(DesktopFullScreenTest, FullScreenCoversTheScreenAndTheWindowComesBackWithItsFrameOnIt) {
    const bool managed = GetParam().windowManager;
    // A window of the game's size whose decoration lies on the screen: the window manager's title
    // bar above the client area, or no decoration at all without one.
    const auto framedOnScreen = [&](const X11Placement& p) {
        const bool decorated = managed ? p.frame.top < p.client.top : Same(p.frame, p.client);
        return RectWidth(p.client) == kWidth && RectHeight(p.client) == kHeight && decorated &&
               p.frame.left >= kScreen.left && p.frame.top >= kScreen.top &&
               p.frame.right <= kScreen.right && p.frame.bottom <= kScreen.bottom;
    };
    std::optional<X11Placement> placement = awaitPlacement(framedOnScreen);
    ASSERT_TRUE(placement && framedOnScreen(*placement))
        << "made at the screen's corner: " << Describe(placement);
    const RECT windowed = placement->client;
    expectModelAgrees(*placement);

    for (int round = 1; round <= 2; ++round) {
        applyMode(true);
        const auto coversScreen = [](const X11Placement& p) {
            return Same(p.client, kScreen) && Same(p.frame, kScreen);
        };
        placement = awaitPlacement(coversScreen);
        ASSERT_TRUE(placement && coversScreen(*placement))
            << "full screen, round " << round << ": " << Describe(placement);
        expectModelAgrees(*placement);

        applyMode(false);
        const auto backWhereItWas = [&](const X11Placement& p) {
            return framedOnScreen(p) && Same(p.client, windowed);
        };
        placement = awaitPlacement(backWhereItWas);
        ASSERT_TRUE(placement && backWhereItWas(*placement))
            << "back in a window, round " << round << ": " << Describe(placement);
        expectModelAgrees(*placement);
    }
}

INSTANTIATE_TEST_SUITE_P(Desktops, DesktopFullScreenTest,
                         ::testing::Values(Desktop{"WithWindowManager", true},
                                           Desktop{"WithoutWindowManager", false}),
                         [](const ::testing::TestParamInfo<Desktop>& desktop) {
                             return std::string(desktop.param.name);
                         });

}  // namespace
