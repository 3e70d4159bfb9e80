// When a device may be read: acquisition, the window's activation, unplugging and exclusive use.

#include <gtest/gtest.h>

#include <array>

#include "dinput_fixture.h"

namespace qvn::test {
namespace {

constexpr DWORD kForeground = DISCL_NONEXCLUSIVE | DISCL_FOREGROUND;
constexpr DWORD kExclusive = DISCL_EXCLUSIVE | DISCL_FOREGROUND;

using DeviceAccessTest = DInputTest;

HRESULT ReadKeyboard(IDirectInputDevice8A& keyboard, std::array<BYTE, 256>* keys = nullptr) {
    std::array<BYTE, 256> local{};
    return keyboard.GetDeviceState(256, keys != nullptr ? keys->data() : local.data());
}

HRESULT ReadPad(IDirectInputDevice8A& pad) {
    DIJOYSTATE2 state{};
    return pad.GetDeviceState(sizeof(state), &state);
}

TEST_F(DeviceAccessTest, AcquisitionLifecycle) {
    DevicePtr keyboard = Create(GUID_SysKeyboard);
    EXPECT_EQ(keyboard->Acquire(), DIERR_INVALIDPARAM);  // no data format yet
    ASSERT_EQ(keyboard->SetDataFormat(&c_dfDIKeyboard), DI_OK);
    EXPECT_EQ(ReadKeyboard(*keyboard), DIERR_NOTACQUIRED);
    EXPECT_EQ(keyboard->Poll(), DIERR_NOTACQUIRED);
    EXPECT_EQ(keyboard->Acquire(), DI_OK);
    EXPECT_EQ(keyboard->Acquire(), DI_NOEFFECT);
    EXPECT_TRUE(SUCCEEDED(keyboard->Poll()));
    EXPECT_EQ(ReadKeyboard(*keyboard), DI_OK);
    // Settings that shape the data cannot change under an acquisition.
    EXPECT_EQ(keyboard->SetDataFormat(&c_dfDIKeyboard), DIERR_ACQUIRED);
    EXPECT_EQ(keyboard->SetCooperativeLevel(TestWindow(), kForeground), DIERR_ACQUIRED);
    EXPECT_EQ(keyboard->Unacquire(), DI_OK);
    EXPECT_EQ(keyboard->Unacquire(), DI_NOEFFECT);
    EXPECT_EQ(ReadKeyboard(*keyboard), DIERR_NOTACQUIRED);
}

TEST_F(DeviceAccessTest, CooperativeLevels) {
    struct Case {
        const char* name;
        GUID device;
        bool window;
        DWORD flags;
        HRESULT expected;
    };
    const Case cases[] = {
        {"nonexclusive foreground", GUID_SysKeyboard, true, kForeground, DI_OK},
        {"exclusive foreground mouse", GUID_SysMouse, true, kExclusive, DI_OK},
        {"background without window", GUID_SysMouse, false, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND,
         DI_OK},
        {"foreground without window", GUID_SysMouse, false, kForeground, DIERR_INVALIDPARAM},
        {"no access bit", GUID_SysMouse, true, DISCL_FOREGROUND, DIERR_INVALIDPARAM},
        {"both access bits", GUID_SysMouse, true,
         DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE | DISCL_FOREGROUND, DIERR_INVALIDPARAM},
        {"both focus bits", GUID_SysMouse, true,
         DISCL_NONEXCLUSIVE | DISCL_FOREGROUND | DISCL_BACKGROUND, DIERR_INVALIDPARAM},
        {"unknown bit", GUID_SysMouse, true, kForeground | 0x100, DIERR_INVALIDPARAM},
        {"keyboard exclusive background", GUID_SysKeyboard, true,
         DISCL_EXCLUSIVE | DISCL_BACKGROUND, DIERR_UNSUPPORTED},
    };
    for (const Case& c : cases) {
        DevicePtr device = Create(c.device);
        EXPECT_EQ(device->SetCooperativeLevel(c.window ? TestWindow() : nullptr, c.flags),
                  c.expected)
            << c.name;
    }
}

TEST_F(DeviceAccessTest, InactiveWindowGivesOtherAppHasPriority) {
    DevicePtr foreground = Acquired(GUID_SysKeyboard, c_dfDIKeyboard, kForeground);
    DevicePtr background =
        Acquired(GUID_SysKeyboard, c_dfDIKeyboard, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND);
    Backend().KeyDown(DIK_SPACE);

    DInputSetAppActive(false);
    EXPECT_EQ(ReadKeyboard(*foreground), DIERR_OTHERAPPHASPRIO);
    EXPECT_EQ(foreground->Poll(), DIERR_OTHERAPPHASPRIO);
    EXPECT_EQ(foreground->Acquire(), DIERR_OTHERAPPHASPRIO);
    // A background device goes on reading.
    std::array<BYTE, 256> keys{};
    EXPECT_EQ(ReadKeyboard(*background, &keys), DI_OK);
    EXPECT_EQ(keys[DIK_SPACE], 0x80);

    // Back in front, the acquisition is gone until the device is acquired again.
    DInputSetAppActive(true);
    EXPECT_EQ(ReadKeyboard(*foreground), DIERR_INPUTLOST);
    EXPECT_EQ(foreground->Poll(), DIERR_INPUTLOST);
    EXPECT_EQ(foreground->Acquire(), DI_OK);
    EXPECT_EQ(ReadKeyboard(*foreground, &keys), DI_OK);
    EXPECT_EQ(keys[DIK_SPACE], 0x80);
}

// Another window of the program active (the developer's editor beside the game): the game
// window's foreground devices give no input, and a tap made once the game window is active again,
// before the device is acquired anew, is a press of its own: up in the first read, which takes
// over what was held meanwhile, and down in the next.
TEST_F(DeviceAccessTest, AnotherWindowOfTheProgramTakesTheInputUntilOursIsActiveAgain) {
    static int editorWindow;
    const HWND editor = reinterpret_cast<HWND>(&editorWindow);
    DevicePtr keyboard = Acquired(GUID_SysKeyboard, c_dfDIKeyboard, kForeground);
    DevicePtr mouse = Acquired(GUID_SysMouse, c_dfDIMouse2, kForeground);
    DInputSetActiveWindow(TestWindow());
    EXPECT_EQ(ReadKeyboard(*keyboard), DI_OK);

    DInputSetActiveWindow(editor);
    EXPECT_TRUE(DInputIsAppActive());
    Backend().KeyDown(DIK_DOWN);  // the editor's list
    Backend().MouseButton(0, true);
    Backend().MouseButton(0, false);
    EXPECT_EQ(ReadKeyboard(*keyboard), DIERR_OTHERAPPHASPRIO);
    EXPECT_EQ(keyboard->Acquire(), DIERR_OTHERAPPHASPRIO);

    DInputSetActiveWindow(TestWindow());
    Backend().MouseButton(0, true);  // the tap that brings the game back
    Backend().MouseButton(0, false);
    ASSERT_EQ(keyboard->Acquire(), DI_OK);
    ASSERT_EQ(mouse->Acquire(), DI_OK);
    std::array<BYTE, 256> keys{};
    DIMOUSESTATE2 first{};
    DIMOUSESTATE2 second{};
    ASSERT_EQ(ReadKeyboard(*keyboard, &keys), DI_OK);
    EXPECT_EQ(keys[DIK_DOWN], 0x80) << "held over the change: the reader decides";
    ASSERT_EQ(mouse->GetDeviceState(sizeof first, &first), DI_OK);
    ASSERT_EQ(mouse->GetDeviceState(sizeof second, &second), DI_OK);
    EXPECT_EQ(first.rgbButtons[0], 0x00);
    EXPECT_EQ(second.rgbButtons[0], 0x80);
    DIMOUSESTATE2 third{};
    ASSERT_EQ(mouse->GetDeviceState(sizeof third, &third), DI_OK);
    EXPECT_EQ(third.rgbButtons[0], 0x00) << "seen once";

    // Given up on purpose (a menu opening), a device keeps nothing for later.
    ASSERT_EQ(mouse->Unacquire(), DI_OK);
    DInputSetActiveWindow(editor);
    DInputSetActiveWindow(TestWindow());
    Backend().MouseButton(0, true);
    Backend().MouseButton(0, false);
    ASSERT_EQ(mouse->Acquire(), DI_OK);
    ASSERT_EQ(mouse->GetDeviceState(sizeof first, &first), DI_OK);
    ASSERT_EQ(mouse->GetDeviceState(sizeof second, &second), DI_OK);
    EXPECT_EQ(first.rgbButtons[0] | second.rgbButtons[0], 0x00);
}

TEST_F(DeviceAccessTest, UnpluggedPadAnswersUnplugged) {
    PadId pad = Backend().PlugPad({});
    GUID guid = PadGuid(0);
    DevicePtr device = Acquired(guid, c_dfDIJoystick2, kExclusive);
    ASSERT_EQ(ReadPad(*device), DI_OK);

    Backend().UnplugPad(pad);
    EXPECT_EQ(ReadPad(*device), DIERR_UNPLUGGED);
    EXPECT_EQ(device->Poll(), DIERR_UNPLUGGED);
    EXPECT_EQ(device->Acquire(), DIERR_UNPLUGGED);
    DIDEVCAPS caps{};
    caps.dwSize = sizeof(caps);
    ASSERT_EQ(device->GetCapabilities(&caps), DI_OK);
    EXPECT_EQ(caps.dwFlags & DIDC_ATTACHED, 0u);
    IDirectInputDevice8A* again = nullptr;
    EXPECT_EQ(input_->CreateDevice(guid, &again, nullptr), DIERR_DEVICENOTREG);
    EXPECT_EQ(again, nullptr);

    // Plugged in again, the same pad is found under its GUID once acquired anew.
    Backend().PlugPad({});
    EXPECT_EQ(ReadPad(*device), DIERR_INPUTLOST);
    EXPECT_EQ(device->Acquire(), DI_OK);
    EXPECT_EQ(ReadPad(*device), DI_OK);
}

TEST_F(DeviceAccessTest, ExclusiveAccessIsHeldByOneOwner) {
    PadId pad = Backend().PlugPad({});
    DevicePtr first = Create(PadGuid(0));
    DevicePtr second = Create(PadGuid(0));
    for (IDirectInputDevice8A* device : {first.get(), second.get()}) {
        ASSERT_EQ(device->SetDataFormat(&c_dfDIJoystick2), DI_OK);
        ASSERT_EQ(device->SetCooperativeLevel(TestWindow(), kExclusive), DI_OK);
    }
    EXPECT_EQ(first->Acquire(), DI_OK);
    EXPECT_EQ(second->Acquire(), DIERR_OTHERAPPHASPRIO);
    first.reset();
    EXPECT_EQ(second->Acquire(), DI_OK);
    second->Unacquire();

    // Another program holding the pad shuts out exclusive use only.
    Backend().SetPadHeldElsewhere(pad, true);
    EXPECT_EQ(second->Acquire(), DIERR_OTHERAPPHASPRIO);
    EXPECT_EQ(ReadPad(*second), DIERR_NOTACQUIRED);
    DevicePtr shared = Acquired(PadGuid(0), c_dfDIJoystick2, kForeground);
    EXPECT_EQ(ReadPad(*shared), DI_OK);
}

}  // namespace
}  // namespace qvn::test
