#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "dinput_fixture.h"
#include "platform/dinput/system_input_settings.h"

namespace qvn::test {
namespace {

using KeyboardMouseTest = DInputTest;

std::array<BYTE, 256> ReadKeys(IDirectInputDevice8A& keyboard) {
    std::array<BYTE, 256> keys{};
    keys.fill(0xCC);
    EXPECT_EQ(keyboard.GetDeviceState(256, keys.data()), DI_OK);
    return keys;
}

DIMOUSESTATE2 ReadMouse(IDirectInputDevice8A& mouse) {
    DIMOUSESTATE2 state{};
    EXPECT_EQ(mouse.GetDeviceState(sizeof(state), &state), DI_OK);
    return state;
}

TEST_F(KeyboardMouseTest, KeysReadAsDikIndexedBytesWhileHeld) {
    DevicePtr keyboard = Acquired(GUID_SysKeyboard, c_dfDIKeyboard);
    Backend().KeyDown(DIK_RETURN);
    Backend().KeyDown(DIK_UP);
    std::array<BYTE, 256> keys = ReadKeys(*keyboard);
    for (int code = 0; code < 256; ++code) {
        BYTE expected = (code == DIK_RETURN || code == DIK_UP) ? 0x80 : 0x00;
        EXPECT_EQ(keys[code], expected) << "code " << code;
    }
    // Still held at the next read; gone after release.
    EXPECT_EQ(ReadKeys(*keyboard)[DIK_RETURN], 0x80);
    Backend().KeyUp(DIK_RETURN);
    keys = ReadKeys(*keyboard);
    EXPECT_EQ(keys[DIK_RETURN], 0x00);
    EXPECT_EQ(keys[DIK_UP], 0x80);
}

TEST_F(KeyboardMouseTest, MouseMotionAccumulatesUntilReadThenClears) {
    DevicePtr mouse = Acquired(GUID_SysMouse, c_dfDIMouse2);
    Backend().MoveMouse(3, -4);
    Backend().MoveMouse(10, 1);
    Backend().MoveMouse(-2, 0);
    DIMOUSESTATE2 state = ReadMouse(*mouse);
    EXPECT_EQ(state.lX, 11);
    EXPECT_EQ(state.lY, -3);
    state = ReadMouse(*mouse);
    EXPECT_EQ(state.lX, 0);
    EXPECT_EQ(state.lY, 0);
}

TEST_F(KeyboardMouseTest, MotionBeforeAcquisitionIsNotReported) {
    DevicePtr mouse = Create(GUID_SysMouse);
    ASSERT_EQ(mouse->SetDataFormat(&c_dfDIMouse2), DI_OK);
    Backend().MoveMouse(50, 50);
    Backend().TurnWheel(2);
    ASSERT_EQ(mouse->Acquire(), DI_OK);
    DIMOUSESTATE2 state = ReadMouse(*mouse);
    EXPECT_EQ(state.lX, 0);
    EXPECT_EQ(state.lZ, 0);
}

TEST_F(KeyboardMouseTest, WheelMovesByWheelDeltaPerNotch) {
    DevicePtr mouse = Acquired(GUID_SysMouse, c_dfDIMouse2);
    Backend().TurnWheel(1);
    EXPECT_EQ(ReadMouse(*mouse).lZ, 120);
    Backend().TurnWheel(3);
    Backend().TurnWheel(-1);
    EXPECT_EQ(ReadMouse(*mouse).lZ, 240);
    Backend().TurnWheel(-2);
    EXPECT_EQ(ReadMouse(*mouse).lZ, -240);
    EXPECT_EQ(ReadMouse(*mouse).lZ, 0);

    // The game reads the wheel's granularity by offset before it divides by it.
    DIPROPDWORD granularity{};
    granularity.diph = {sizeof(DIPROPDWORD), sizeof(DIPROPHEADER), DIMOFS_Z, DIPH_BYOFFSET};
    ASSERT_EQ(mouse->GetProperty(DIPROP_GRANULARITY, &granularity.diph), DI_OK);
    EXPECT_EQ(granularity.dwData, 120u);
    granularity.diph.dwObj = DIMOFS_X;
    ASSERT_EQ(mouse->GetProperty(DIPROP_GRANULARITY, &granularity.diph), DI_OK);
    EXPECT_EQ(granularity.dwData, 1u);
    EXPECT_EQ(mouse->SetProperty(DIPROP_GRANULARITY, &granularity.diph), DIERR_READONLY);
}

TEST_F(KeyboardMouseTest, MouseButtonsInBothFormats) {
    DevicePtr mouse2 = Acquired(GUID_SysMouse, c_dfDIMouse2);
    DevicePtr mouse = Acquired(GUID_SysMouse, c_dfDIMouse);
    Backend().MouseButton(0, true);
    Backend().MouseButton(4, true);
    DIMOUSESTATE2 state2 = ReadMouse(*mouse2);
    EXPECT_EQ(state2.rgbButtons[0], 0x80);
    EXPECT_EQ(state2.rgbButtons[1], 0x00);
    EXPECT_EQ(state2.rgbButtons[4], 0x80);

    DIMOUSESTATE state{};
    EXPECT_EQ(mouse->GetDeviceState(sizeof(DIMOUSESTATE2), &state), DIERR_INVALIDPARAM);
    ASSERT_EQ(mouse->GetDeviceState(sizeof(state), &state), DI_OK);
    EXPECT_EQ(state.rgbButtons[0], 0x80);
    Backend().MouseButton(0, false);
    EXPECT_EQ(ReadMouse(*mouse2).rgbButtons[0], 0x00);
}

TEST_F(KeyboardMouseTest, ATapBetweenTwoReadsReadsAsDownForOneRead) {
    const PadId pad = Backend().PlugPad({});
    struct Case {
        const char* device;
        DevicePtr handle;
        std::function<void(bool)> set;  // the key or button down or up
        std::function<BYTE(IDirectInputDevice8A&)> read;
    };
    Case cases[] = {
        {"keyboard", Acquired(GUID_SysKeyboard, c_dfDIKeyboard),
         [&](bool down) { down ? Backend().KeyDown(DIK_SPACE) : Backend().KeyUp(DIK_SPACE); },
         [](IDirectInputDevice8A& d) { return ReadKeys(d)[DIK_SPACE]; }},
        {"mouse", Acquired(GUID_SysMouse, c_dfDIMouse2),
         [&](bool down) { Backend().MouseButton(1, down); },
         [](IDirectInputDevice8A& d) { return ReadMouse(d).rgbButtons[1]; }},
        {"pad", Acquired(PadGuid(0), c_dfDIJoystick2, DISCL_EXCLUSIVE | DISCL_FOREGROUND),
         [&](bool down) { Backend().SetPadButton(pad, 3, down); },
         [](IDirectInputDevice8A& d) {
             DIJOYSTATE2 state{};
             EXPECT_EQ(d.GetDeviceState(sizeof(state), &state), DI_OK);
             return state.rgbButtons[3];
         }},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.device);
        ASSERT_TRUE(c.handle);
        IDirectInputDevice8A& device = *c.handle;
        c.set(true);
        c.set(false);
        EXPECT_EQ(c.read(device), 0x80) << "the tap, once";
        EXPECT_EQ(c.read(device), 0x00) << "and up at the next read";
        c.set(true);
        EXPECT_EQ(c.read(device), 0x80);
        c.set(false);
        EXPECT_EQ(c.read(device), 0x00) << "a press already read is not read again";
        ASSERT_EQ(device.Unacquire(), DI_OK);
        c.set(true);
        c.set(false);
        ASSERT_EQ(device.Acquire(), DI_OK);
        EXPECT_EQ(c.read(device), 0x00) << "a tap while not acquired is not this device's";
    }
}

TEST_F(KeyboardMouseTest, CapabilitiesAndDescriptions) {
    DevicePtr mouse = Create(GUID_SysMouse);
    DIDEVCAPS caps{};
    EXPECT_EQ(mouse->GetCapabilities(&caps), DIERR_INVALIDPARAM);  // size not set
    caps.dwSize = sizeof(caps);
    ASSERT_EQ(mouse->GetCapabilities(&caps), DI_OK);
    EXPECT_EQ(GET_DIDEVICE_TYPE(caps.dwDevType), DI8DEVTYPE_MOUSE);
    EXPECT_EQ(caps.dwAxes, 3u);  // the game reads the wheel only with more than two axes
    EXPECT_EQ(caps.dwButtons, 5u);
    EXPECT_NE(caps.dwFlags & DIDC_ATTACHED, 0u);

    DevicePtr keyboard = Create(GUID_SysKeyboard);
    ASSERT_EQ(keyboard->GetCapabilities(&caps), DI_OK);
    EXPECT_EQ(GET_DIDEVICE_TYPE(caps.dwDevType), DI8DEVTYPE_KEYBOARD);
    EXPECT_GT(caps.dwButtons, 100u);

    DIDEVICEINSTANCEA info{};
    info.dwSize = sizeof(info);
    ASSERT_EQ(keyboard->GetDeviceInfo(&info), DI_OK);
    EXPECT_TRUE(info.guidInstance == GUID_SysKeyboard);
    EXPECT_STREQ(info.tszProductName, "Keyboard");
}

TEST_F(KeyboardMouseTest, FormatsMustSuitTheDevice) {
    DevicePtr keyboard = Create(GUID_SysKeyboard);
    EXPECT_EQ(keyboard->SetDataFormat(&c_dfDIMouse2), DIERR_INVALIDPARAM);
    EXPECT_EQ(keyboard->SetDataFormat(nullptr), DIERR_INVALIDPARAM);
    // A copy of a published format is the same format.
    DIDATAFORMAT copy = c_dfDIKeyboard;
    EXPECT_EQ(keyboard->SetDataFormat(&copy), DI_OK);
    copy.dwDataSize = 128;
    EXPECT_EQ(keyboard->SetDataFormat(&copy), DIERR_INVALIDPARAM);
    DevicePtr mouse = Create(GUID_SysMouse);
    EXPECT_EQ(mouse->SetDataFormat(&c_dfDIJoystick2), DIERR_INVALIDPARAM);
}

TEST(SystemInputSettingsTest, ReportsTheSystemDefaultsAndTestOverrides) {
    int delay = -1;
    DWORD speed = 0;
    ASSERT_EQ(SystemParametersInfoA(SPI_GETKEYBOARDDELAY, 0, &delay, 0), TRUE);
    ASSERT_EQ(SystemParametersInfoA(SPI_GETKEYBOARDSPEED, 0, &speed, 0), TRUE);
    EXPECT_EQ(delay, 1);
    EXPECT_EQ(speed, 31u);
    EXPECT_EQ(GetSystemMetrics(SM_SWAPBUTTON), 0);
    EXPECT_EQ(SystemParametersInfoA(SPI_GETKEYBOARDDELAY, 0, nullptr, 0), FALSE);
    EXPECT_EQ(SystemParametersInfoA(0x1234, 0, &delay, 0), FALSE);

    dinput_test::SetKeyboardRepeatSettings(3, 0);
    dinput_test::SetMouseButtonsSwapped(true);
    ASSERT_EQ(SystemParametersInfoA(SPI_GETKEYBOARDDELAY, 0, &delay, 0), TRUE);
    ASSERT_EQ(SystemParametersInfoA(SPI_GETKEYBOARDSPEED, 0, &speed, 0), TRUE);
    EXPECT_EQ(delay, 3);
    EXPECT_EQ(speed, 0u);
    EXPECT_NE(GetSystemMetrics(SM_SWAPBUTTON), 0);
    dinput_test::SetKeyboardRepeatSettings(1, 31);
    dinput_test::SetMouseButtonsSwapped(false);
}

}  // namespace
}  // namespace qvn::test
