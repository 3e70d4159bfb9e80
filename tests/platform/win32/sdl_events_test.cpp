// SDL's events, through the event pump, as the window messages of the game window.

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

#include "platform/dinput/direct_input.h"
#include "platform/dinput/input_backend.h"
#include "platform/win32/client_mapping.h"
#include "platform/win32/menu_api.h"
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
constexpr int kScancodeReturn = 40;
constexpr int kScancodeTab = 43;
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

    // DirectInput's keyboard as SDL's events leave it (DIK codes, 0x80 while down).
    static const std::array<BYTE, 256>& DInputKeys() {
        return CurrentInputBackend().State()->Keys();
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
    Win32SetActivationObserver(&DInputSetActiveWindow);
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

// Keys that go down in one of our windows and come up while the windows change: SDL lets go of
// every held key, for the window that loses the keyboard, when that window is destroyed or loses
// the focus, and presses a modifier that is still held again for the window that gains it. Each
// row ends with the next key the player presses in the game window, and checks what it makes.
TEST_F(SdlEventsTest, AKeyLetGoWhileOurWindowsChangeIsUpForTheProgram) {
    DInputKeys();  // the input layer follows SDL's events from here on
    struct Stroke {
        enum Where { kPage, kGoneGame, kGame, kGameLoses, kGameGains } where;
        int scancode;  // 0 for a focus event
        bool down;
    };
    struct Case {
        const char* name;
        std::vector<Stroke> beforePageGoes;
        bool pageGoesBeforeDispatch;  // the page's messages are still queued when it goes
        std::vector<Stroke> after;
        int nextKey;
        UINT nextMessage;
    };
    using S = Stroke;
    const Case cases[] = {
        {"Alt+A ends the simple page; A and Alt come up for the page that has gone: Tab moves",
         {{S::kPage, kScancodeLeftAlt, true}, {S::kPage, kScancodeA, true}},
         false,
         {{S::kGoneGame, kScancodeA, false}, {S::kGoneGame, kScancodeLeftAlt, false}},
         kScancodeTab,
         WM_KEYDOWN},
        {"Return starts the game and comes up for the dialog that has gone: the next is new",
         {{S::kPage, kScancodeReturn, true}},
         false,
         {{S::kGoneGame, kScancodeReturn, false}},
         kScancodeReturn,
         WM_KEYDOWN},
        {"the releases are still queued for the page when it goes",
         {{S::kPage, kScancodeLeftAlt, true},
          {S::kPage, kScancodeA, true},
          {S::kPage, kScancodeA, false},
          {S::kPage, kScancodeLeftAlt, false}},
         true,
         {},
         kScancodeTab,
         WM_KEYDOWN},
        {"Alt+Enter held while the game switches between full screen and a window",
         {},
         false,
         {{S::kGame, kScancodeLeftAlt, true},
          {S::kGame, kScancodeReturn, true},
          {S::kGame, kScancodeReturn, false},
          {S::kGame, kScancodeLeftAlt, false},
          {S::kGameLoses, 0, false},
          {S::kGameGains, 0, true},
          {S::kGame, kScancodeLeftAlt, true},
          {S::kGame, kScancodeLeftAlt, false}},
         kScancodeReturn,
         WM_KEYDOWN},
    };
    ASSERT_TRUE(win32_test::PushSdlWindowEvent(window_, SdlWindowEventKind::FocusGained));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MessageRecorder& pageRecorder = newRecorder();
        HWND page = makeWindow(pageRecorder, WS_CAPTION | WS_VISIBLE, nullptr, "page", 200, 100);
        const std::uint32_t pageId = win32_test::SdlWindowId(page);
        ASSERT_NE(pageId, 0u);
        const auto push = [&](const Stroke& stroke) {
            switch (stroke.where) {
                case S::kPage:
                    return win32_test::PushSdlKeyEvent(page, stroke.scancode, stroke.down);
                case S::kGoneGame:
                    return win32_test::PushSdlKeyEventForId(pageId, stroke.scancode, stroke.down);
                case S::kGame:
                    return win32_test::PushSdlKeyEvent(window_, stroke.scancode, stroke.down);
                case S::kGameLoses:
                    return win32_test::PushSdlWindowEvent(window_, SdlWindowEventKind::FocusLost);
                case S::kGameGains:
                    return win32_test::PushSdlWindowEvent(window_, SdlWindowEventKind::FocusGained);
            }
            return false;
        };
        for (const Stroke& stroke : c.beforePageGoes) {
            ASSERT_TRUE(push(stroke));
        }
        MSG peeked;
        PeekMessageA(&peeked, nullptr, 0, 0, PM_NOREMOVE);  // runs the pump
        if (!c.pageGoesBeforeDispatch) {
            dispatchAll();
        }
        DestroyWindow(page);
        for (const Stroke& stroke : c.after) {
            ASSERT_TRUE(push(stroke));
        }
        take({});
        EXPECT_GE(GetKeyState(VK_MENU), 0);
        EXPECT_GE(GetAsyncKeyState(VK_MENU), 0);
        EXPECT_GE(GetKeyState(VK_RETURN), 0);
        EXPECT_EQ(DInputKeys()[0x38], 0) << "DirectInput's left Alt";
        EXPECT_EQ(DInputKeys()[0x1C], 0) << "DirectInput's Enter";

        ASSERT_TRUE(win32_test::PushSdlKeyEvent(window_, c.nextKey, true));
        ASSERT_TRUE(win32_test::PushSdlKeyEvent(window_, c.nextKey, false));
        const std::vector<Received> got = take({WM_KEYDOWN, WM_SYSKEYDOWN});
        ASSERT_EQ(got.size(), 1u);
        EXPECT_EQ(got[0].message, c.nextMessage);
        EXPECT_EQ(got[0].lParam & (1 << 30), 0) << "the key was up before";
    }
}

// Activation that moves between the program's own windows (the game and a window it owns, as the
// variable editor) is no change of the program's activity; a press activates the window it lands
// in before the window sees it; and a window that goes while active hands the activation to its
// owner.
TEST_F(SdlEventsTest, ActivationMovesBetweenOurWindowsWithoutLeavingTheProgram) {
    Win32SetActivationObserver(&DInputSetActiveWindow);
    MessageRecorder& editorRecorder = newRecorder();
    const auto editorOpens = [&] {
        return makeWindow(editorRecorder, WS_POPUP | WS_CAPTION | WS_VISIBLE, window_, "editor",
                          200, 100);
    };
    HWND editor = editorOpens();
    ASSERT_TRUE(win32_test::PushSdlWindowEvent(window_, SdlWindowEventKind::FocusGained));
    take({});
    editorRecorder.clear();
    const std::vector<UINT> activation = {WM_ACTIVATEAPP, WM_ACTIVATE, WM_LBUTTONDOWN};
    const auto editorGot = [&] {
        std::vector<Received> got;
        for (const Received& r : editorRecorder.received()) {
            if (std::find(activation.begin(), activation.end(), r.message) != activation.end()) {
                got.push_back(r);
            }
        }
        editorRecorder.clear();
        return got;
    };

    // The editor takes the focus as it opens: the desktop reports the loss and the gain.
    ASSERT_TRUE(win32_test::PushSdlWindowEvent(window_, SdlWindowEventKind::FocusLost));
    ASSERT_TRUE(win32_test::PushSdlWindowEvent(editor, SdlWindowEventKind::FocusGained));
    std::vector<Received> game = take(activation);
    std::vector<Received> other = editorGot();
    ASSERT_EQ(game.size(), 1u);
    EXPECT_EQ(LOWORD(game[0].wParam), WA_INACTIVE);
    ASSERT_EQ(other.size(), 1u);
    EXPECT_EQ(LOWORD(other[0].wParam), WA_ACTIVE);
    EXPECT_EQ(GetForegroundWindow(), editor);
    EXPECT_TRUE(DInputIsAppActive());

    // A click on the game: the game is active before its button message, the click counts.
    ASSERT_TRUE(win32_test::PushSdlMouseButton(window_, 1, true, 30, 40));
    game = take(activation);
    ASSERT_EQ(game.size(), 2u);
    EXPECT_EQ(game[0].message, WM_ACTIVATE);
    EXPECT_EQ(LOWORD(game[0].wParam), WA_CLICKACTIVE);
    EXPECT_EQ(game[1].message, WM_LBUTTONDOWN);
    EXPECT_EQ(GetForegroundWindow(), window_);
    other = editorGot();
    ASSERT_EQ(other.size(), 1u);
    EXPECT_EQ(LOWORD(other[0].wParam), WA_INACTIVE);
    ASSERT_TRUE(win32_test::PushSdlMouseButton(window_, 1, false, 30, 40));
    take({});

    // Another program takes the focus: every window of ours hears that the program lost it; a
    // click on the editor brings the program back.
    ASSERT_TRUE(win32_test::PushSdlWindowEvent(window_, SdlWindowEventKind::FocusLost));
    game = take({WM_ACTIVATEAPP});
    other = editorGot();
    ASSERT_EQ(game.size(), 1u);
    EXPECT_EQ(game[0].wParam, static_cast<WPARAM>(FALSE));
    ASSERT_EQ(other.size(), 1u);
    EXPECT_EQ(other[0].wParam, static_cast<WPARAM>(FALSE));
    EXPECT_FALSE(DInputIsAppActive());
    ASSERT_TRUE(win32_test::PushSdlMouseButton(editor, 1, true, 10, 10));
    game = take({WM_ACTIVATEAPP});
    other = editorGot();
    ASSERT_EQ(game.size(), 1u);
    EXPECT_EQ(game[0].wParam, static_cast<WPARAM>(TRUE)) << "the game runs on beside the editor";
    ASSERT_EQ(other.size(), 3u);
    EXPECT_EQ(other[0].message, WM_ACTIVATEAPP);
    EXPECT_EQ(LOWORD(other[1].wParam), WA_CLICKACTIVE);
    EXPECT_EQ(other[2].message, WM_LBUTTONDOWN);
    ASSERT_TRUE(win32_test::PushSdlMouseButton(editor, 1, false, 10, 10));

    // The editor closes while it is active: its owner, the game, takes the activation.
    DestroyWindow(editor);
    game = take(activation);
    ASSERT_EQ(game.size(), 1u);
    EXPECT_EQ(LOWORD(game[0].wParam), WA_ACTIVE);
    EXPECT_EQ(GetForegroundWindow(), window_);
    EXPECT_TRUE(DInputIsAppActive());

    // A click on the menu bar of the inactive game activates it without taking the click.
    ASSERT_TRUE(win32_test::PushSdlWindowEvent(window_, SdlWindowEventKind::FocusLost));
    take({});
    SetMenu(window_, CreateMenu());
    ASSERT_TRUE(win32_test::PushSdlMouseButton(window_, 1, true, 30, 5));
    game = take({WM_ACTIVATE, WM_NCLBUTTONDOWN});
    SetMenu(window_, nullptr);
    ASSERT_EQ(game.size(), 2u);
    EXPECT_EQ(LOWORD(game[0].wParam), WA_ACTIVE);
    EXPECT_EQ(game[1].message, WM_NCLBUTTONDOWN);
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
