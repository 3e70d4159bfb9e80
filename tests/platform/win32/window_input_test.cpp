// Injected window events: the messages a window procedure sees, in order, with their parameters.

#include <string>
#include <vector>

#include "platform/dinput/direct_input.h"
#include "platform/win32/cursor_api.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_input.h"
#include "platform/win32/window_placement.h"
#include "shell_window_test_support.h"

namespace {

using win32_test_support::MessageRecorder;
using win32_test_support::Received;

struct Expected {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

void ExpectMessages(const std::vector<Received>& got, const std::vector<Expected>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE("message " + std::to_string(i));
        EXPECT_EQ(got[i].message, want[i].message);
        EXPECT_EQ(got[i].wParam, want[i].wParam);
        EXPECT_EQ(got[i].lParam, want[i].lParam);
    }
}

constexpr LPARAM Scan(UINT code) {
    return 1 | (static_cast<LPARAM>(code) << 16);
}

class WindowInputTest : public win32_test_support::ShellWindowTest {
protected:
    void SetUp() override {
        ShellWindowTest::SetUp();
        recorder_ = &newRecorder();
        window_ = makeWindow(*recorder_, WS_CAPTION | WS_SYSMENU, nullptr, "game", 800, 600);
        ASSERT_NE(window_, nullptr);
        recorder_->clear();
    }
    void TearDown() override {
        DInputSetAppActive(true);
        ShellWindowTest::TearDown();
    }

    std::vector<Received> take() {
        dispatchAll();
        std::vector<Received> got = inputOf(*recorder_);
        recorder_->clear();
        return got;
    }

    MessageRecorder* recorder_ = nullptr;
    HWND window_ = nullptr;
};

TEST_F(WindowInputTest, ActivationReachesTheInputLayerBeforeTheWindow) {
    Win32SetActivationObserver(&DInputSetActiveWindow);

    win32_test::InjectActivation(window_, true);
    ExpectMessages(take(),
                   {{WM_ACTIVATEAPP, TRUE, 0}, {WM_ACTIVATE, WA_ACTIVE, 0}, {WM_SETFOCUS, 0, 0}});
    EXPECT_EQ(GetForegroundWindow(), window_);

    win32_test::InjectActivation(window_, true);
    EXPECT_TRUE(take().empty()) << "a repeated activation says nothing";

    win32_test::InjectActivation(window_, false);
    EXPECT_FALSE(DInputIsAppActive()) << "the input layer knows before any message is dispatched";
    ExpectMessages(
        take(), {{WM_ACTIVATE, WA_INACTIVE, 0}, {WM_ACTIVATEAPP, FALSE, 0}, {WM_KILLFOCUS, 0, 0}});
    EXPECT_EQ(GetForegroundWindow(), nullptr);

    win32_test::InjectActivation(window_, true, /*byClick=*/true);
    EXPECT_TRUE(DInputIsAppActive());
    std::vector<Received> got = take();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[1].message, WM_ACTIVATE);
    EXPECT_EQ(LOWORD(got[1].wParam), WA_CLICKACTIVE);
}

TEST_F(WindowInputTest, OurOwnMessageBoxTakingTheFocusIsNoDeactivation) {
    Win32SetActivationObserver(&DInputSetActiveWindow);
    win32_test::InjectActivation(window_, true);
    take();
    win32_internal::SetOwnModalBoxShown(true);
    win32_test::InjectActivation(window_, false);
    EXPECT_TRUE(DInputIsAppActive());
    EXPECT_EQ(GetForegroundWindow(), window_);
    win32_test::InjectActivation(window_, true);
    win32_internal::SetOwnModalBoxShown(false);
    EXPECT_TRUE(take().empty());
    win32_test::InjectActivation(window_, false);
    EXPECT_FALSE(DInputIsAppActive()) << "after the box, a loss counts again";
}

TEST_F(WindowInputTest, LosingTheActivationReleasesHeldKeys) {
    win32_test::InjectActivation(window_, true);
    win32_test::InjectKey(window_, VK_MENU, true);
    win32_test::InjectKey(window_, VK_CAPITAL, true);
    win32_test::InjectKey(window_, VK_CAPITAL, false);
    EXPECT_LT(GetAsyncKeyState(VK_MENU), 0);
    EXPECT_GE(GetKeyState(VK_MENU), 0) << "the message of the key has not been handled yet";
    take();
    EXPECT_LT(GetKeyState(VK_MENU), 0);
    EXPECT_LT(GetKeyState(VK_LMENU), 0);
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 1);
    // Alt+Tab: the release of Alt goes to the other program.
    win32_test::InjectActivation(window_, false);
    EXPECT_GE(GetKeyState(VK_MENU), 0);
    EXPECT_GE(GetAsyncKeyState(VK_MENU), 0);
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 1) << "toggle states survive";
    take();

    win32_test::InjectActivation(window_, true);
    win32_test::InjectKey(window_, 'A', true);
    std::vector<Received> got = take();
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.back().message, WM_KEYDOWN) << "Alt is no longer taken as held";
}

TEST_F(WindowInputTest, KeyMessagesCarryVirtualKeysAndKeyboardBits) {
    struct Step {
        const char* name;
        UINT key;
        bool down;
        bool repeat;
        bool rightHand;
        Expected want;
    };
    const Step steps[] = {
        {"A down", 'A', true, false, false, {WM_KEYDOWN, 'A', Scan(0x1E)}},
        {"A repeat", 'A', true, true, false, {WM_KEYDOWN, 'A', Scan(0x1E) | KF_REPEAT_BIT}},
        {"A up", 'A', false, false, false, {WM_KEYUP, 'A', Scan(0x1E) | KF_REPEAT_BIT | KF_UP_BIT}},
        {"left arrow",
         VK_LEFT,
         true,
         false,
         false,
         {WM_KEYDOWN, VK_LEFT, Scan(0x4B) | KF_EXTENDED_BIT}},
        {"pause", VK_PAUSE, true, false, false, {WM_KEYDOWN, VK_PAUSE, Scan(0x45)}},
        {"space", VK_SPACE, true, false, false, {WM_KEYDOWN, VK_SPACE, Scan(0x39)}},
        {"alt down",
         VK_MENU,
         true,
         false,
         false,
         {WM_SYSKEYDOWN, VK_MENU, Scan(0x38) | KF_ALTDOWN_BIT}},
        {"alt+F4", VK_F4, true, false, false, {WM_SYSKEYDOWN, VK_F4, Scan(0x3E) | KF_ALTDOWN_BIT}},
        {"alt+enter",
         VK_RETURN,
         true,
         false,
         false,
         {WM_SYSKEYDOWN, VK_RETURN, Scan(0x1C) | KF_ALTDOWN_BIT}},
        {"F4 up under alt",
         VK_F4,
         false,
         false,
         false,
         {WM_SYSKEYUP, VK_F4, Scan(0x3E) | KF_ALTDOWN_BIT | KF_REPEAT_BIT | KF_UP_BIT}},
        {"alt up",
         VK_MENU,
         false,
         false,
         false,
         {WM_SYSKEYUP, VK_MENU, Scan(0x38) | KF_REPEAT_BIT | KF_UP_BIT}},
        {"F10 alone", VK_F10, true, false, false, {WM_SYSKEYDOWN, VK_F10, Scan(0x44)}},
        {"right ctrl",
         VK_CONTROL,
         true,
         false,
         true,
         {WM_KEYDOWN, VK_CONTROL, Scan(0x1D) | KF_EXTENDED_BIT}},
        {"ctrl+alt is not a system key",
         VK_MENU,
         true,
         false,
         false,
         {WM_SYSKEYDOWN, VK_MENU, Scan(0x38) | KF_ALTDOWN_BIT}},
        {"altgr+Q", 'Q', true, false, false, {WM_KEYDOWN, 'Q', Scan(0x10)}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        win32_test::InjectKey(window_, step.key, step.down, step.repeat, step.rightHand);
        ExpectMessages(take(), {step.want});
    }
    EXPECT_LT(GetKeyState(VK_RCONTROL), 0);
    EXPECT_GE(GetKeyState(VK_LCONTROL), 0);
    EXPECT_LT(GetKeyState(VK_CONTROL), 0);
    win32_test::InjectKey(window_, VK_CONTROL, false, false, true);
    take();
    EXPECT_GE(GetKeyState(VK_CONTROL), 0) << "the generic key follows both sides";
    EXPECT_LT(GetKeyState(VK_MENU), 0);
}

TEST_F(WindowInputTest, TranslatedCharactersFollowShiftCapsLockAndCtrl) {
    auto type = [&](UINT key) {
        win32_test::InjectKey(window_, key, true);
        win32_test::InjectKey(window_, key, false);
    };
    auto typed = [&]() {
        dispatchAll(/*translate=*/true);
        std::string text;
        for (const Received& r : recorder_->received()) {
            if (r.message == WM_CHAR) {
                text.push_back(static_cast<char>(r.wParam));
            }
        }
        recorder_->clear();
        return text;
    };

    win32_test::InjectKey(window_, VK_SHIFT, true);
    type('P');
    type('1');
    type(VK_OEM_MINUS);
    win32_test::InjectKey(window_, VK_SHIFT, false);
    type('L');
    type('2');
    type(VK_OEM_MINUS);
    EXPECT_EQ(typed(), "P!_l2-");

    type(VK_CAPITAL);
    type('O');
    win32_test::InjectKey(window_, VK_SHIFT, true);
    type('V');
    win32_test::InjectKey(window_, VK_SHIFT, false);
    type(VK_CAPITAL);
    type('A');
    EXPECT_EQ(typed(), "Ova");

    win32_test::InjectKey(window_, VK_CONTROL, true);
    type('C');
    type('5');
    win32_test::InjectKey(window_, VK_CONTROL, false);
    type(VK_F1);
    EXPECT_EQ(typed(), "\x03") << "Ctrl+letter is its control code; Ctrl+digit and F1 type nothing";
}

TEST_F(WindowInputTest, MouseMessagesCarryButtonsAndPositions) {
    ASSERT_TRUE(MoveWindow(window_, 100, 200, 800, 600, TRUE));
    win32_test::InjectActivation(window_, true);
    take();
    win32_test::InjectKey(window_, VK_SHIFT, true);
    take();

    win32_test::InjectMouseMove(window_, 10, 20);
    win32_test::InjectMouseButton(window_, 0, true, 11, 21);
    win32_test::InjectMouseMove(window_, -3, -4);
    win32_test::InjectMouseButton(window_, 1, true, 12, 22);
    win32_test::InjectMouseButton(window_, 0, false, 12, 22);
    win32_test::InjectMouseButton(window_, 1, false, 12, 22);
    win32_test::InjectMouseButton(window_, 2, true, 13, 23);
    win32_test::InjectMouseButton(window_, 2, false, 13, 23);
    win32_test::InjectMouseButton(window_, 3, true, 13, 23);  // side button: state only
    win32_test::InjectMouseWheel(window_, -1, 5, 6);
    win32_test::InjectMouseLeave(window_, 950, 700);

    const WPARAM shift = MK_SHIFT;
    ExpectMessages(take(),
                   {
                       {WM_MOUSEMOVE, shift, MAKELPARAM(10, 20)},
                       {WM_LBUTTONDOWN, shift | MK_LBUTTON, MAKELPARAM(11, 21)},
                       {WM_MOUSEMOVE, shift | MK_LBUTTON, MAKELPARAM(0xFFFD, 0xFFFC)},
                       {WM_RBUTTONDOWN, shift | MK_LBUTTON | MK_RBUTTON, MAKELPARAM(12, 22)},
                       {WM_LBUTTONUP, shift | MK_RBUTTON, MAKELPARAM(12, 22)},
                       {WM_RBUTTONUP, shift, MAKELPARAM(12, 22)},
                       {WM_MBUTTONDOWN, shift | MK_MBUTTON, MAKELPARAM(13, 23)},
                       {WM_MBUTTONUP, shift, MAKELPARAM(13, 23)},
                       {WM_MOUSEWHEEL, MAKEWPARAM(static_cast<WORD>(shift | MK_XBUTTON1), 0xFF88),
                        MAKELPARAM(105, 206)},
                       {WM_NCMOUSEMOVE, 0, MAKELPARAM(950, 700)},
                   });
    EXPECT_EQ(GET_X_LPARAM(MAKELPARAM(0xFFFD, 0xFFFC)), -3);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(MAKEWPARAM(0, 0xFF88)), -120);
    POINT at{};
    ASSERT_TRUE(GetCursorPos(&at));
    EXPECT_EQ(at.x, 105);
    EXPECT_EQ(at.y, 206);
    EXPECT_LT(GetKeyState(VK_XBUTTON1), 0);
}

TEST_F(WindowInputTest, DesktopChangesToTheWindowFollowTheRecord) {
    win32_test::InjectSize(window_, SIZE_MINIMIZED, 0, 0);
    win32_test::InjectSize(window_, SIZE_MINIMIZED, 0, 0);
    EXPECT_TRUE(IsIconic(window_));
    win32_test::InjectSize(window_, SIZE_RESTORED, 640, 480);
    win32_test::InjectSize(window_, SIZE_RESTORED, 640, 480);
    win32_test::InjectMove(window_, 30, 40);
    win32_test::InjectMove(window_, 30, 40);
    win32_test::InjectSizeMove(window_, true);
    win32_test::InjectSizeMove(window_, false);
    ExpectMessages(take(), {
                               {WM_SIZE, SIZE_MINIMIZED, 0},
                               {WM_SIZE, SIZE_RESTORED, MAKELPARAM(640, 480)},
                               {WM_MOVE, 0, MAKELPARAM(30, 40)},
                               {WM_ENTERSIZEMOVE, 0, 0},
                               {WM_EXITSIZEMOVE, 0, 0},
                           });
    EXPECT_FALSE(IsIconic(window_));
    RECT rect{};
    ASSERT_TRUE(GetWindowRect(window_, &rect));
    EXPECT_EQ(rect.left, 30);
    EXPECT_EQ(rect.top, 40);
    EXPECT_EQ(rect.right, 670);
    EXPECT_EQ(rect.bottom, 520);

    win32_test::InjectClose(window_);
    ExpectMessages(take(), {{WM_CLOSE, 0, 0}, {WM_DESTROY, 0, 0}});
    EXPECT_FALSE(IsWindow(window_)) << "the default procedure destroys a closed window";
}

TEST_F(WindowInputTest, ShowWindowReportsMinimisingAndRestoring) {
    ShowWindow(window_, SW_SHOW);
    take();
    ShowWindow(window_, SW_MINIMIZE);
    ShowWindow(window_, SW_MINIMIZE);
    ShowWindow(window_, SW_RESTORE);
    std::vector<Received> got;
    for (const Received& r : take()) {
        if (r.message == WM_SIZE) {
            got.push_back(r);
        }
    }
    ExpectMessages(got,
                   {{WM_SIZE, SIZE_MINIMIZED, 0}, {WM_SIZE, SIZE_RESTORED, MAKELPARAM(800, 600)}});
}

}  // namespace
