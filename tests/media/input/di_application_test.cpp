#include "media/input/di_application.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "foundation/foundation_test.h"
#include "platform/dinput/test_input_backend.h"
#include "support/temp_program_dir.h"

namespace qvn::test {
namespace {

HWND GameWindow() {
    static int window;
    return reinterpret_cast<HWND>(&window);
}

constexpr DWORD kShared = DISCL_NONEXCLUSIVE | DISCL_FOREGROUND;
constexpr DWORD kExclusive = DISCL_EXCLUSIVE | DISCL_FOREGROUND;

class DIApplicationTest : public ::testing::Test {
protected:
    void SetUp() override {
        foundation_test::ResetState();
        backend_ = &dinput_test::UseTestInputBackend();
        dinput_test::SetKeyboardRepeatSettings(1, 31);
        dinput_test::SetMouseButtonsSwapped(false);
        ASSERT_EQ(CreateDIApplication(nullptr), DI_OK);
        ASSERT_NE(gDIApplication, nullptr);
    }
    void TearDown() override {
        DestroyDIApplication();
        DInputSetAppActive(true);
    }

    DIApplication& App() { return *gDIApplication; }
    dinput_test::TestInputBackend& Backend() { return *backend_; }
    std::string Log() const { return dir_.readFile("qvn.log"); }

    void MakeKeyboardAndMouse() {
        ASSERT_EQ(App().SetMouseDevice(GameWindow(), kShared), DI_OK);
        ASSERT_EQ(App().SetKeyboardDevice(GameWindow(), kShared), DI_OK);
    }

private:
    TempProgramDir dir_;
    dinput_test::TestInputBackend* backend_ = nullptr;
};

// A device whose acquisition and reads answer fixed results, counting its releases.
class ScriptedDevice : public IDirectInputDevice8A {
public:
    explicit ScriptedDevice(HRESULT acquireResult) : acquireResult_(acquireResult) {}
    HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG AddRef() override { return ++references; }
    ULONG Release() override {
        ++releases;
        return --references;
    }
    HRESULT GetCapabilities(LPDIDEVCAPS) override { return DI_OK; }
    HRESULT EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACKA, LPVOID, DWORD) override { return DI_OK; }
    HRESULT GetProperty(REFGUID, LPDIPROPHEADER) override { return E_FAIL; }
    HRESULT SetProperty(REFGUID, LPCDIPROPHEADER) override { return E_FAIL; }
    HRESULT Acquire() override {
        ++acquires;
        return acquireResult_;
    }
    HRESULT Unacquire() override { return DI_OK; }
    HRESULT GetDeviceState(DWORD, LPVOID) override { return acquireResult_; }
    HRESULT GetDeviceData(DWORD, LPDIDEVICEOBJECTDATA, LPDWORD, DWORD) override { return E_FAIL; }
    HRESULT SetDataFormat(LPCDIDATAFORMAT) override { return DI_OK; }
    HRESULT SetCooperativeLevel(HWND, DWORD) override { return DI_OK; }
    HRESULT GetDeviceInfo(LPDIDEVICEINSTANCEA) override { return DI_OK; }
    HRESULT Poll() override { return acquireResult_; }

    ULONG references = 1;
    int releases = 0;
    int acquires = 0;

private:
    HRESULT acquireResult_;
};

TEST_F(DIApplicationTest, KeyHeldOverTwoPollsIsPressedOnlyOnce) {
    MakeKeyboardAndMouse();
    Backend().KeyDown(DIK_RETURN);
    ASSERT_EQ(App().Poll(7), DI_OK);
    EXPECT_TRUE(App().IsKeyDown(DIK_RETURN));
    EXPECT_TRUE(App().IsKeyPressed(DIK_RETURN));
    ASSERT_EQ(App().Poll(7), DI_OK);
    EXPECT_TRUE(App().IsKeyDown(DIK_RETURN));
    EXPECT_FALSE(App().IsKeyPressed(DIK_RETURN));
    EXPECT_FALSE(App().IsKeyDown(DIK_ESCAPE));
    Backend().KeyUp(DIK_RETURN);
    ASSERT_EQ(App().Poll(7), DI_OK);
    EXPECT_FALSE(App().IsKeyDown(DIK_RETURN));
    // Indices outside the state arrays read as up rather than past their ends.
    EXPECT_FALSE(App().IsKeyDown(-1));
    EXPECT_FALSE(App().IsKeyPressed(256));
    EXPECT_FALSE(App().IsMouseButtonDown(8));
    EXPECT_FALSE(App().IsPadButtonPressed(128));
}

// A key or button that went down while the game did not have the input (a dialog, a menu, another
// window, the Alt+Enter command) reads as up until it is released; pressed again, it is a press.
TEST_F(DIApplicationTest, WhatWentDownElsewhereIsNoPressUntilReleased) {
    MakeKeyboardAndMouse();
    const PadId pad = Backend().PlugPad(dinput_test::TestPad{});
    ASSERT_EQ(App().SetPadDevice(GameWindow(), nullptr, kExclusive), DI_OK);
    struct Target {
        std::function<void(bool)> set;
        std::function<bool()> down;
        std::function<bool()> pressed;
    };
    const auto key = [&](BYTE dik) {
        return Target{[&, dik](bool down) { down ? Backend().KeyDown(dik) : Backend().KeyUp(dik); },
                      [&, dik] { return App().IsKeyDown(dik); },
                      [&, dik] { return App().IsKeyPressed(dik); }};
    };
    const Target enter = key(DIK_RETURN);
    const Target padEnter = key(DIK_NUMPADENTER);
    const Target left{[&](bool down) { Backend().MouseButton(0, down); },
                      [&] { return App().IsMouseButtonDown(0); },
                      [&] { return App().IsMouseButtonPressed(0); }};
    const Target padButton{[&](bool down) { Backend().SetPadButton(pad, 2, down); },
                           [&] { return (App().padState.rgbButtons[2] & 0x80) != 0; },
                           [&] { return App().IsPadButtonPressed(2); }};
    const auto alt = key(DIK_LMENU).set;
    struct Case {
        const char* name;
        const Target& target;
        std::function<void()> elsewhere;  // then one poll
        bool down;
        bool pressed;
    };
    const Case cases[] = {
        {"Enter that answered a message box, still held", enter,
         [&] { enter.set(true), App().ForgetHeldInput(7); }, false, false},
        {"Enter tapped in a dialog", enter,
         [&] { enter.set(true), enter.set(false), App().ForgetHeldInput(7); }, false, false},
        {"the click that closed a dialog", left, [&] { left.set(true), App().ForgetHeldInput(7); },
         false, false},
        {"a pad button held through a dialog", padButton,
         [&] { padButton.set(true), App().ForgetHeldInput(7); }, false, false},
        {"Enter in a menu, which gave the devices up", enter,
         [&] { App().SetAcquire(7, false), enter.set(true); }, false, false},
        {"Enter while another window had the focus", enter,
         [&] {
             DInputSetAppActive(false), App().Poll(7), enter.set(true), DInputSetAppActive(true);
         },
         false, false},
        {"Alt+Enter, Alt let go first", enter,
         [&] { alt(true), App().Poll(7), enter.set(true), App().Poll(7), alt(false); }, false,
         false},
        {"Alt+Enter between two polls", padEnter,
         [&] { alt(true), padEnter.set(true), padEnter.set(false), alt(false); }, false, false},
        {"Enter once the dialog is over", enter, [&] { App().ForgetHeldInput(7), enter.set(true); },
         true, true},
        {"Enter, then Alt: held, pressed before", enter,
         [&] { enter.set(true), App().Poll(7), alt(true); }, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(App().Poll(7), DI_OK);
        c.elsewhere();
        EXPECT_EQ(App().Poll(7), DI_OK);
        EXPECT_EQ(c.target.down(), c.down);
        EXPECT_EQ(c.target.pressed(), c.pressed);
        c.target.set(false);
        alt(false);
        EXPECT_EQ(App().Poll(7), DI_OK);
        c.target.set(true);
        EXPECT_EQ(App().Poll(7), DI_OK);
        EXPECT_TRUE(c.target.pressed()) << "released and pressed again";
        c.target.set(false);
    }
}

TEST_F(DIApplicationTest, MouseMovementWheelAndButtons) {
    MakeKeyboardAndMouse();
    EXPECT_EQ(App().GetWheelGranularity(), static_cast<DWORD>(WHEEL_DELTA));
    Backend().MoveMouse(5, -3);
    Backend().TurnWheel(-1);
    Backend().MouseButton(0, true);
    ASSERT_EQ(App().Poll(kDIMouseBit), DI_OK);
    DIMOUSESTATE2 state{};
    App().GetMouseState(&state);
    EXPECT_EQ(state.lX, 5);
    EXPECT_EQ(state.lY, -3);
    EXPECT_EQ(state.lZ, -WHEEL_DELTA);
    EXPECT_TRUE(App().IsMouseButtonPressed(0));
    ASSERT_EQ(App().Poll(kDIMouseBit), DI_OK);
    App().GetMouseState(&state);
    EXPECT_EQ(state.lX, 0);
    EXPECT_EQ(state.lZ, 0);
    EXPECT_TRUE(App().IsMouseButtonDown(0));
    EXPECT_FALSE(App().IsMouseButtonPressed(0));
}

TEST_F(DIApplicationTest, SwappedButtonsReportThePrimaryAsButtonZero) {
    dinput_test::SetMouseButtonsSwapped(true);
    MakeKeyboardAndMouse();
    Backend().MouseButton(1, true);  // the physical right button
    ASSERT_EQ(App().Poll(7), DI_OK);
    EXPECT_TRUE(App().IsMouseButtonDown(0));
    EXPECT_FALSE(App().IsMouseButtonDown(1));
}

TEST_F(DIApplicationTest, KeyRepeatSettingsBecomeSeconds) {
    struct Case {
        const char* name;
        int delay;
        int speed;
        double delaySeconds;
        double intervalSeconds;
    };
    const Case cases[] = {
        {"fastest", 0, 31, 0.25, 0.0125},
        {"slowest", 3, 0, 1.0, 0.4},
        {"default", 1, 31, 0.5, 0.0125},
    };
    for (const Case& c : cases) {
        dinput_test::SetKeyboardRepeatSettings(c.delay, c.speed);
        ASSERT_EQ(App().SetKeyboardDevice(GameWindow(), kShared), DI_OK) << c.name;
        EXPECT_NEAR(App().GetKeyRepeatDelay(), c.delaySeconds, 1e-12) << c.name;
        EXPECT_NEAR(App().GetKeyRepeatInterval(), c.intervalSeconds, 1e-12) << c.name;
    }
}

TEST_F(DIApplicationTest, PadIsChosenLoggedAndScaledToItsRange) {
    MakeKeyboardAndMouse();
    PadId first = Backend().PlugPad(dinput_test::TestPad{});
    dinput_test::TestPad second;
    second.name = "Second Pad";
    Backend().PlugPad(second);
    ASSERT_EQ(App().SetPadDevice(GameWindow(), nullptr, kExclusive), DI_OK);
    std::string log = Log();
    EXPECT_NE(log.find("Device Name: Test Pad("), std::string::npos) << log;
    EXPECT_NE(log.find("Device Type: game pad (0x15, sub:0x02)"), std::string::npos) << log;
    EXPECT_NE(log.find("Axes: 2\r\nButtons: 8\r\nPOVs: 1\r\n"), std::string::npos) << log;
    LONG min = 0;
    LONG max = 0;
    App().GetPadRange(&min, &max);
    EXPECT_EQ(min, -1000);
    EXPECT_EQ(max, 1000);
    EXPECT_EQ(App().GetPadRangeMax(), 1000);

    Backend().SetPadAxis(first, 0, 32767);
    Backend().SetPadAxis(first, 1, -32768);
    Backend().SetPadButton(first, 3, true);
    Backend().SetPadHat(first, 0, kHatRight);
    ASSERT_EQ(App().Poll(7), DI_OK);
    DIJOYSTATE2 state{};
    App().GetPadState(&state);
    EXPECT_EQ(state.lX, 1000);
    EXPECT_EQ(state.lY, -1000);
    EXPECT_EQ(state.rgdwPOV[0], 9000u);
    EXPECT_TRUE(App().IsPadButtonPressed(3));
    ASSERT_EQ(App().Poll(7), DI_OK);
    EXPECT_FALSE(App().IsPadButtonPressed(3));

    ASSERT_EQ(App().SetPadRange(-10, 10), DI_OK);
    ASSERT_EQ(App().Poll(7), DI_OK);
    App().GetPadState(&state);
    EXPECT_EQ(state.lX, 10);
}

TEST_F(DIApplicationTest, NoPadLogsNoDevicesAndKeyboardStillReads) {
    MakeKeyboardAndMouse();
    EXPECT_EQ(App().SetPadDevice(GameWindow(), nullptr, kExclusive), DI_OK);
    EXPECT_EQ(App().pad, nullptr);
    EXPECT_NE(Log().find("no devices.\r\n"), std::string::npos);
    EXPECT_EQ(App().SetPadRange(-1000, 1000), E_FAIL);
    Backend().KeyDown(DIK_SPACE);
    EXPECT_EQ(App().Poll(7), DI_OK);
    EXPECT_TRUE(App().IsKeyPressed(DIK_SPACE));
}

TEST_F(DIApplicationTest, InactiveWindowGivesOtherAppHasPriorityWithoutLogLines) {
    MakeKeyboardAndMouse();
    Backend().KeyDown(DIK_A);
    ASSERT_EQ(App().Poll(7), DI_OK);
    std::string before = Log();
    DInputSetAppActive(false);
    EXPECT_EQ(App().SetAcquire(7, true), DIERR_OTHERAPPHASPRIO);
    EXPECT_EQ(App().Poll(7), DIERR_OTHERAPPHASPRIO);
    EXPECT_FALSE(App().IsKeyDown(DIK_A));
    EXPECT_EQ(Log(), before);

    // Back in front, a key held all along went down for another window: the game sees it only
    // once it has been released and pressed again.
    DInputSetAppActive(true);
    EXPECT_EQ(App().SetAcquire(7, true), DI_OK);
    EXPECT_EQ(App().Poll(7), DI_OK);
    EXPECT_FALSE(App().IsKeyDown(DIK_A));
    Backend().KeyUp(DIK_A);
    EXPECT_EQ(App().Poll(7), DI_OK);
    Backend().KeyDown(DIK_A);
    EXPECT_EQ(App().Poll(7), DI_OK);
    EXPECT_TRUE(App().IsKeyPressed(DIK_A));
}

TEST_F(DIApplicationTest, PadHeldElsewhereReadsZeroAndKeyboardStillReads) {
    MakeKeyboardAndMouse();
    PadId pad = Backend().PlugPad(dinput_test::TestPad{});
    ASSERT_EQ(App().SetPadDevice(GameWindow(), nullptr, kExclusive), DI_OK);
    Backend().SetPadButton(pad, 0, true);
    ASSERT_EQ(App().Poll(7), DI_OK);
    App().SetAcquire(kDIPadBit, false);
    Backend().SetPadHeldElsewhere(pad, true);
    std::string before = Log();
    Backend().KeyDown(DIK_Z);
    EXPECT_EQ(App().Poll(7), DIERR_OTHERAPPHASPRIO);
    DIJOYSTATE2 state{};
    App().GetPadState(&state);
    EXPECT_EQ(state.rgbButtons[0], 0);
    EXPECT_TRUE(App().IsKeyPressed(DIK_Z));
    EXPECT_EQ(Log(), before);
}

TEST_F(DIApplicationTest, PersistentInputLossEndsAfterBoundedRetries) {
    ScriptedDevice lost(DIERR_INPUTLOST);
    App().keyboard = &lost;
    App().deviceFlags = kDIKeyboardBit;
    EXPECT_EQ(App().SetAcquire(kDIKeyboardBit, true), DIERR_INPUTLOST);
    EXPECT_EQ(lost.acquires, kDIAcquireRetryLimit);
    EXPECT_NE(Log().find("DIApplication::SetAcquire: DIERR_INPUTLOST"), std::string::npos);
    App().keyboard = nullptr;
    App().deviceFlags = 0;
}

TEST_F(DIApplicationTest, NewPadReleasesThePadKeptBefore) {
    Backend().PlugPad(dinput_test::TestPad{});
    ScriptedDevice old(DI_OK);
    old.references = 2;  // the test keeps its own reference
    App().pad = &old;
    App().deviceFlags = kDIPadBit;
    ASSERT_EQ(App().SetPadDevice(GameWindow(), nullptr, kExclusive), DI_OK);
    EXPECT_EQ(old.releases, 1);
    EXPECT_NE(App().pad, &old);
}

TEST_F(DIApplicationTest, UnpluggedPadDoesNotStopThePoll) {
    MakeKeyboardAndMouse();
    PadId pad = Backend().PlugPad(dinput_test::TestPad{});
    ASSERT_EQ(App().SetPadDevice(GameWindow(), nullptr, kExclusive), DI_OK);
    Backend().UnplugPad(pad);
    Backend().MoveMouse(1, 1);
    std::string before = Log();
    EXPECT_EQ(App().Poll(7), DIERR_UNPLUGGED);
    DIMOUSESTATE2 state{};
    App().GetMouseState(&state);
    EXPECT_EQ(state.lX, 1);
    EXPECT_EQ(Log(), before);
}

TEST(DIDeviceTypeTextTest, NamesEveryKnownTypeAndUnknown) {
    EXPECT_STREQ(DIDeviceTypeText(0x14), "joystick");
    EXPECT_STREQ(DIDeviceTypeText(0x17), "for Flight Simulator");
    EXPECT_STREQ(DIDeviceTypeText(0x1C), "supplemental");
    EXPECT_STREQ(DIDeviceTypeText(0x19), "unknown");
}

}  // namespace
}  // namespace qvn::test
