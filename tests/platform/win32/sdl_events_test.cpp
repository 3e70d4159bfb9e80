// SDL's events, through the event pump, as the window messages of the game window.

#include <cstdlib>
#include <vector>

#include "platform/dinput/direct_input.h"
#include "platform/win32/client_mapping.h"
#include "platform/win32/sdl_test_hooks.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_placement.h"
#include "platform/win32/window_state.h"
#include "shell_window_test_support.h"

namespace {

using win32_test::SdlWindowEventKind;
using win32_test_support::MessageRecorder;
using win32_test_support::Received;

constexpr std::uint32_t kSdlInitVideo = 0x00000020u;
// SDL's scancodes are USB usage numbers.
constexpr int kScancodeA = 4;
constexpr int kScancodeF4 = 61;
constexpr int kScancodeLeftAlt = 226;
constexpr int kScancodeRightCtrl = 228;
constexpr int kScancodeUnknown = 0;

class SdlEventsTest : public win32_test_support::ShellWindowTest {
protected:
    void SetUp() override {
        ShellWindowTest::SetUp();
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        ASSERT_TRUE(Win32InitSdl(kSdlInitVideo));
        recorder_ = &newRecorder();
        window_ =
            makeWindow(*recorder_, WS_CAPTION | WS_SYSMENU | WS_VISIBLE, nullptr, "game", 320, 240);
        ASSERT_NE(Win32GetSdlWindow(window_), nullptr);
        dispatchAll();
        recorder_->clear();
    }
    void TearDown() override {
        DInputSetAppActive(true);
        ShellWindowTest::TearDown();
    }

    // The messages of the kinds asked for, after the pump has run.
    std::vector<Received> take(const std::vector<UINT>& interesting) {
        dispatchAll();
        std::vector<Received> got;
        for (const Received& r : recorder_->received()) {
            for (UINT kind : interesting) {
                if (r.message == kind) {
                    got.push_back(r);
                }
            }
        }
        recorder_->clear();
        return got;
    }

    MessageRecorder* recorder_ = nullptr;
    HWND window_ = nullptr;
};

TEST_F(SdlEventsTest, KeysBecomeKeyMessages) {
    ASSERT_TRUE(win32_test::PushSdlKeyEvent(window_, kScancodeA, true));
    ASSERT_TRUE(win32_test::PushSdlKeyEvent(window_, kScancodeA, true, /*repeat=*/true));
    ASSERT_TRUE(win32_test::PushSdlKeyEvent(window_, kScancodeA, false));
    ASSERT_TRUE(win32_test::PushSdlKeyEvent(window_, kScancodeUnknown, true));
    ASSERT_TRUE(win32_test::PushSdlKeyEvent(window_, kScancodeLeftAlt, true));
    ASSERT_TRUE(win32_test::PushSdlKeyEvent(window_, kScancodeF4, true));
    ASSERT_TRUE(win32_test::PushSdlKeyEvent(window_, kScancodeF4, false));
    ASSERT_TRUE(win32_test::PushSdlKeyEvent(window_, kScancodeLeftAlt, false));
    ASSERT_TRUE(win32_test::PushSdlKeyEvent(window_, kScancodeRightCtrl, true));
    std::vector<Received> got = take({WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP});
    struct Want {
        UINT message;
        WPARAM key;
        LPARAM lParam;
    };
    const Want want[] = {
        {WM_KEYDOWN, 'A', 0x001E0001},      {WM_KEYDOWN, 'A', 0x401E0001},
        {WM_KEYUP, 'A', 0xC01E0001},        {WM_SYSKEYDOWN, VK_MENU, 0x20380001},
        {WM_SYSKEYDOWN, VK_F4, 0x203E0001}, {WM_SYSKEYUP, VK_F4, 0xE03E0001},
        {WM_SYSKEYUP, VK_MENU, 0xC0380001}, {WM_KEYDOWN, VK_CONTROL, 0x011D0001},
    };
    ASSERT_EQ(got.size(), std::size(want));
    for (std::size_t i = 0; i < got.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(got[i].message, want[i].message);
        EXPECT_EQ(got[i].wParam, want[i].key);
        EXPECT_EQ(got[i].lParam, want[i].lParam);
    }
    EXPECT_LT(GetKeyState(VK_RCONTROL), 0);
}

TEST_F(SdlEventsTest, MouseEventsBecomeMouseMessages) {
    ASSERT_TRUE(win32_test::PushSdlMouseMotion(window_, 10, 20));
    ASSERT_TRUE(win32_test::PushSdlMouseButton(window_, 1, true, 11, 21));
    ASSERT_TRUE(win32_test::PushSdlMouseButton(window_, 3, true, 11, 21));
    ASSERT_TRUE(win32_test::PushSdlMouseButton(window_, 3, false, 11, 21));
    ASSERT_TRUE(win32_test::PushSdlMouseButton(window_, 1, false, 11, 21));
    ASSERT_TRUE(win32_test::PushSdlMouseButton(window_, 2, true, 11, 21));
    ASSERT_TRUE(win32_test::PushSdlMouseWheel(window_, 2));
    ASSERT_TRUE(win32_test::PushSdlMouseWheel(window_, 1, /*flipped=*/true));
    std::vector<Received> got = take({WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN,
                                      WM_RBUTTONUP, WM_MBUTTONDOWN, WM_MOUSEWHEEL});
    std::vector<UINT> kinds;
    for (const Received& r : got) {
        kinds.push_back(r.message);
    }
    ASSERT_EQ(kinds,
              (std::vector<UINT>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_RBUTTONUP,
                                 WM_LBUTTONUP, WM_MBUTTONDOWN, WM_MOUSEWHEEL, WM_MOUSEWHEEL}));
    EXPECT_EQ(got[0].lParam, MAKELPARAM(10, 20));
    EXPECT_EQ(got[2].wParam, MK_LBUTTON | MK_RBUTTON);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(got[6].wParam), 240);
    EXPECT_EQ(LOWORD(got[6].wParam), MK_MBUTTON);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(got[7].wParam), -120) << "flipped scrolling is undone";
    RECT rect{};
    ASSERT_TRUE(GetWindowRect(window_, &rect));
    EXPECT_EQ(got[6].lParam,
              MAKELPARAM(static_cast<WORD>(rect.left + 11), static_cast<WORD>(rect.top + 21)))
        << "the wheel reports screen coordinates";
}

TEST_F(SdlEventsTest, FocusChangesActivateAndDeactivateTheProgram) {
    Win32SetActivationObserver(&DInputSetAppActive);
    const std::vector<UINT> activation = {WM_ACTIVATEAPP, WM_ACTIVATE};

    ASSERT_TRUE(win32_test::PushSdlWindowEvent(window_, SdlWindowEventKind::FocusGained));
    std::vector<Received> got = take(activation);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].message, WM_ACTIVATEAPP);
    EXPECT_EQ(got[0].wParam, static_cast<WPARAM>(TRUE));
    EXPECT_EQ(LOWORD(got[1].wParam), WA_ACTIVE);
    EXPECT_EQ(GetForegroundWindow(), window_);

    ASSERT_TRUE(win32_test::PushSdlWindowEvent(window_, SdlWindowEventKind::FocusLost));
    MSG peeked;
    PeekMessageA(&peeked, nullptr, 0, 0, PM_NOREMOVE);  // runs the pump, dispatches nothing
    EXPECT_FALSE(DInputIsAppActive());
    EXPECT_TRUE(recorder_->received().empty());
    got = take(activation);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].message, WM_ACTIVATE);
    EXPECT_EQ(LOWORD(got[0].wParam), WA_INACTIVE);
    EXPECT_EQ(got[1].message, WM_ACTIVATEAPP);
    EXPECT_EQ(got[1].wParam, static_cast<WPARAM>(FALSE));

    // A click into the inactive window: the focus event comes with the button press behind it.
    ASSERT_TRUE(win32_test::PushSdlWindowEvent(window_, SdlWindowEventKind::FocusGained));
    ASSERT_TRUE(win32_test::PushSdlMouseButton(window_, 1, true, 5, 5));
    got = take({WM_ACTIVATE, WM_LBUTTONDOWN});
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(LOWORD(got[0].wParam), WA_CLICKACTIVE);
    EXPECT_EQ(got[1].message, WM_LBUTTONDOWN);
    EXPECT_TRUE(DInputIsAppActive());

    // Minimised on losing the focus, on a desktop that leaves the window shown (this one never
    // minimises): when the focus comes back the window is restored before it is activated.
    ASSERT_TRUE(win32_test::PushSdlWindowEvent(window_, SdlWindowEventKind::FocusLost));
    take(activation);
    ShowWindow(window_, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(window_));
    take({WM_SIZE});
    ASSERT_TRUE(win32_test::PushSdlWindowEvent(window_, SdlWindowEventKind::FocusGained));
    got = take({WM_SIZE, WM_ACTIVATEAPP});
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].message, WM_SIZE);
    EXPECT_EQ(got[0].wParam, static_cast<WPARAM>(SIZE_RESTORED));
    EXPECT_EQ(got[1].message, WM_ACTIVATEAPP);
    EXPECT_FALSE(IsIconic(window_));
}

TEST_F(SdlEventsTest, WindowEventsBecomeSizeMoveCloseAndPaint) {
    // An event that no longer tells the window's size or place (it changed again since) is
    // stale and says nothing.
    ASSERT_TRUE(win32_test::PushSdlWindowEvent(window_, SdlWindowEventKind::SizeChanged, 999, 99));
    ASSERT_TRUE(win32_test::PushSdlWindowEvent(window_, SdlWindowEventKind::Moved, 999, 99));
    EXPECT_TRUE(take({WM_SIZE, WM_MOVE}).empty());

    // The user resizes and moves the window; SDL may report it itself, and says it again here.
    ASSERT_TRUE(win32_test::ResizeSdlWindow(window_, 400, 300));
    ASSERT_TRUE(win32_test::MoveSdlWindow(window_, 70, 80));
    ASSERT_TRUE(win32_test::PushSdlWindowEvent(window_, SdlWindowEventKind::SizeChanged, 400, 300));
    ASSERT_TRUE(win32_test::PushSdlWindowEvent(window_, SdlWindowEventKind::Moved, 70, 80));
    ASSERT_TRUE(win32_test::PushSdlWindowEvent(window_, SdlWindowEventKind::Minimized));
    ASSERT_TRUE(win32_test::PushSdlWindowEvent(window_, SdlWindowEventKind::Exposed));
    std::vector<Received> got = take({WM_SIZE, WM_MOVE, WM_PAINT});
    ASSERT_EQ(got.size(), 4u) << "each change is reported once";
    EXPECT_EQ(got[0].message, WM_SIZE);
    EXPECT_EQ(got[0].lParam, MAKELPARAM(400, 300));
    EXPECT_EQ(got[1].message, WM_MOVE);
    EXPECT_EQ(got[1].lParam, MAKELPARAM(70, 80));
    EXPECT_EQ(got[2].message, WM_SIZE);
    EXPECT_EQ(got[2].wParam, SIZE_MINIMIZED);
    EXPECT_EQ(got[3].message, WM_PAINT);
    EXPECT_TRUE(IsIconic(window_));
    RECT client{};
    ASSERT_TRUE(GetClientRect(window_, &client));
    EXPECT_EQ(client.right, 400);

    recorder_->setReply([](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        return message == WM_CLOSE ? std::optional<LRESULT>(0) : std::nullopt;
    });
    ASSERT_TRUE(win32_test::PushSdlWindowEvent(window_, SdlWindowEventKind::Close));
    EXPECT_EQ(take({WM_CLOSE}).size(), 1u);
    EXPECT_TRUE(IsWindow(window_)) << "only the procedure decides to close";
}

// Full screen on a desktop larger than the back buffer (5:4 against 4:3, so with bars above and
// below): the SDL window covers the desktop, the client area keeps the back buffer's
// size, and the pointer maps through the picture's scale and offset both ways. Back in a window,
// the SDL window takes the window's place and size again.
TEST_F(SdlEventsTest, FullScreenCoversTheDesktopAndMapsThePointerBothWays) {
    win32_test::SetDesktopSize(1280, 1024);
    RECT placed{};

    SetWindowLongA(window_, GWL_STYLE, static_cast<LONG>(WS_POPUP | WS_VISIBLE | WS_SYSMENU));
    ASSERT_TRUE(SetWindowPos(window_, nullptr, 0, 0, 800, 600, SWP_FRAMECHANGED));
    ASSERT_TRUE(win32_test::SdlWindowPlacement(window_, &placed));
    EXPECT_EQ(placed.left, 0);
    EXPECT_EQ(placed.top, 0);
    EXPECT_EQ(placed.right, 1280);
    EXPECT_EQ(placed.bottom, 1024);
    RECT client{};
    ASSERT_TRUE(GetClientRect(window_, &client));
    EXPECT_EQ(client.right, 800) << "the client area keeps the back buffer's size";
    EXPECT_EQ(client.bottom, 600);
    dispatchAll();
    recorder_->clear();

    // Scale 1.6: the picture covers rows 32..991, with bars above and below.
    const auto moveTo = [&](POINT pixel) {
        EXPECT_TRUE(win32_test::PushSdlMouseMotion(window_, pixel.x, pixel.y));
        std::vector<Received> got = take({WM_MOUSEMOVE});
        EXPECT_EQ(got.size(), 1u);
        return got.empty() ? POINT{-1, -1}
                           : POINT{GET_X_LPARAM(got[0].lParam), GET_Y_LPARAM(got[0].lParam)};
    };
    struct Case {
        const char* name;
        POINT pixel;
        POINT client;
    };
    const Case cases[] = {
        {"centre", {640, 512}, {400, 300}},
        {"picture's top left", {0, 32}, {0, 0}},
        {"picture's bottom right", {1279, 991}, {799, 599}},
        {"a point inside", {100, 100}, {62, 42}},
        {"bar above", {640, 0}, {400, 0}},
        {"bar below", {640, 1023}, {400, 599}},
    };
    for (const Case& c : cases) {
        POINT got = moveTo(c.pixel);
        EXPECT_EQ(got.x, c.client.x) << c.name;
        EXPECT_EQ(got.y, c.client.y) << c.name;
    }
    // Back the other way: the desktop pixel shown for a client pixel leads to that client pixel.
    for (POINT want : {POINT{0, 0}, POINT{400, 300}, POINT{799, 599}, POINT{13, 577}}) {
        POINT pixel = win32_internal::ClientToOutput(SIZE{800, 600}, SIZE{1280, 1024}, want);
        EXPECT_GE(pixel.y, 32);
        EXPECT_LT(pixel.y, 992);
        POINT got = moveTo(pixel);
        EXPECT_EQ(got.x, want.x) << want.x << "," << want.y;
        EXPECT_EQ(got.y, want.y) << want.x << "," << want.y;
        POINT screen = want;
        ASSERT_TRUE(ClientToScreen(window_, &screen));
        EXPECT_EQ(screen.x, want.x) << "the full-screen client area is the screen";
        EXPECT_EQ(screen.y, want.y);
    }

    SetWindowLongA(window_, GWL_STYLE, static_cast<LONG>(WS_CAPTION | WS_SYSMENU | WS_VISIBLE));
    ASSERT_TRUE(SetWindowPos(window_, nullptr, 20, 30, 800, 600, SWP_FRAMECHANGED));
    ASSERT_TRUE(win32_test::SdlWindowPlacement(window_, &placed));
    EXPECT_EQ(placed.left, 20);
    EXPECT_EQ(placed.top, 30);
    EXPECT_EQ(placed.right, 820);
    EXPECT_EQ(placed.bottom, 630);
    EXPECT_EQ(moveTo(POINT{100, 100}).x, 100) << "a window shows its client area unscaled";

    SetWindowLongA(window_, GWL_STYLE, static_cast<LONG>(WS_POPUP | WS_BORDER | WS_VISIBLE));
    ASSERT_TRUE(SetWindowPos(window_, nullptr, 20, 30, 800, 600, SWP_FRAMECHANGED));
    ASSERT_TRUE(win32_test::SdlWindowPlacement(window_, &placed));
    EXPECT_EQ(placed.right, 820) << "a bordered popup is a window";
}

// A message box is centred on its owner only while the owner lies wholly on the desktop
// (1920 x 1080 here); otherwise SDL centres it on the desktop, never off the screen.
TEST_F(SdlEventsTest, MessageBoxesCentreOnTheOwnerOnlyWhenItIsOnTheDesktop) {
    struct Case {
        const char* name;
        DWORD style;
        RECT rect;
        bool owned;
    };
    const DWORD windowed = WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
    const Case cases[] = {
        {"a window on the desktop", windowed, {20, 30, 820, 630}, true},
        {"flush with the bottom right", windowed, {1120, 480, 1920, 1080}, true},
        {"an absurd screen size", windowed, {-15104, -15360, 1280, 1024}, false},
        {"partly off the desktop", windowed, {1800, 900, 2600, 1500}, false},
        {"full screen", WS_POPUP | WS_VISIBLE | WS_SYSMENU, {0, 0, 800, 600}, true},
    };
    for (const Case& c : cases) {
        SetWindowLongA(window_, GWL_STYLE, static_cast<LONG>(c.style));
        ASSERT_TRUE(SetWindowPos(window_, nullptr, c.rect.left, c.rect.top,
                                 c.rect.right - c.rect.left, c.rect.bottom - c.rect.top,
                                 SWP_FRAMECHANGED));
        SDL_Window* parent = win32_internal::MessageBoxParent(window_);
        EXPECT_EQ(parent, c.owned ? Win32GetSdlWindow(window_) : nullptr) << c.name;
    }
    EXPECT_EQ(win32_internal::MessageBoxParent(nullptr), nullptr);
}

}  // namespace
