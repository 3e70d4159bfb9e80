// The program's backend: SDL events handed to its listener, as the Windows layer's pump does,
// change what the devices read.

#include <SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "dinput_fixture.h"
#include "platform/dinput/sdl_input_backend.h"
#include "platform/win32/sdl_host.h"

namespace qvn::test {
namespace {

class SdlBackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Win32InitSdl(SDL_INIT_JOYSTICK)) << SDL_GetError();
        auto backend = std::make_unique<SdlInputBackend>();
        backend_ = backend.get();
        InstallInputBackend(std::move(backend));
        DInputSetAppActive(true);
        void* out = nullptr;
        ASSERT_EQ(
            DirectInput8Create(nullptr, DIRECTINPUT_VERSION, IID_IDirectInput8A, &out, nullptr),
            DI_OK);
        input_.reset(static_cast<IDirectInput8A*>(out));
    }

    void TearDown() override {
        input_.reset();
        dinput_test::UseTestInputBackend();
        for (int index : virtualPads_) {
            SDL_JoystickDetachVirtual(index);
        }
    }

    // Calls the listener exactly as the pump would.
    void Send(const SDL_Event& event) { SdlInputBackend::OnSdlEvent(event, backend_); }

    // Hands every queued SDL event (joysticks plugged, moved, unplugged) to the listener.
    void Pump() {
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0) {
            Send(event);
        }
    }

    void Key(SDL_Scancode scancode, bool down) {
        SDL_Event event{};
        event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.scancode = scancode;
        Send(event);
    }

    int AttachVirtualPad() {
        int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 4, 1);
        EXPECT_GE(index, 0) << SDL_GetError();
        virtualPads_.push_back(index);
        return index;
    }

    DevicePtr Acquired(const GUID& guid, const DIDATAFORMAT& format) {
        IDirectInputDevice8A* device = nullptr;
        EXPECT_EQ(input_->CreateDevice(guid, &device, nullptr), DI_OK);
        DevicePtr result(device);
        if (result) {
            EXPECT_EQ(result->SetDataFormat(&format), DI_OK);
            EXPECT_EQ(
                result->SetCooperativeLevel(TestWindow(), DISCL_NONEXCLUSIVE | DISCL_FOREGROUND),
                DI_OK);
            EXPECT_EQ(result->Acquire(), DI_OK);
        }
        return result;
    }

    std::vector<GUID> GameControllers() {
        std::vector<GUID> guids;
        auto collect = [](LPCDIDEVICEINSTANCEA device, LPVOID context) -> BOOL {
            static_cast<std::vector<GUID>*>(context)->push_back(device->guidInstance);
            return DIENUM_CONTINUE;
        };
        EXPECT_EQ(input_->EnumDevices(DI8DEVCLASS_GAMECTRL, collect, &guids, DIEDFL_ATTACHEDONLY),
                  DI_OK);
        return guids;
    }

    SdlInputBackend* backend_ = nullptr;
    InputPtr input_;
    std::vector<int> virtualPads_;
};

TEST_F(SdlBackendTest, ScancodesBecomeDikCodes) {
    DevicePtr keyboard = Acquired(GUID_SysKeyboard, c_dfDIKeyboard);
    struct Case {
        const char* name;
        SDL_Scancode scancode;
        int dik;  // the number the game tests
    };
    const Case cases[] = {
        {"A", SDL_SCANCODE_A, 0x1E},
        {"Q", SDL_SCANCODE_Q, 0x10},
        {"Z", SDL_SCANCODE_Z, 0x2C},
        {"1", SDL_SCANCODE_1, 0x02},
        {"0", SDL_SCANCODE_0, 0x0B},
        {"Up", SDL_SCANCODE_UP, 200},
        {"Down", SDL_SCANCODE_DOWN, 208},
        {"Left", SDL_SCANCODE_LEFT, 203},
        {"Right", SDL_SCANCODE_RIGHT, 205},
        {"Page up", SDL_SCANCODE_PAGEUP, 201},
        {"Page down", SDL_SCANCODE_PAGEDOWN, 209},
        {"Return", SDL_SCANCODE_RETURN, 28},
        {"Escape", SDL_SCANCODE_ESCAPE, 1},
        {"Space", SDL_SCANCODE_SPACE, 57},
        {"Pause", SDL_SCANCODE_PAUSE, 0xC5},
        {"Left Ctrl", SDL_SCANCODE_LCTRL, 29},
        {"Right Ctrl", SDL_SCANCODE_RCTRL, 157},
        {"F1", SDL_SCANCODE_F1, 0x3B},
        {"F10", SDL_SCANCODE_F10, 0x44},
        {"F11", SDL_SCANCODE_F11, 0x57},
        {"F12", SDL_SCANCODE_F12, 0x58},
        {"Keypad 0", SDL_SCANCODE_KP_0, 0x52},
        {"Keypad 5", SDL_SCANCODE_KP_5, 0x4C},
        {"Keypad 9", SDL_SCANCODE_KP_9, 0x49},
        {"Keypad Enter", SDL_SCANCODE_KP_ENTER, 156},
        {"Keypad divide", SDL_SCANCODE_KP_DIVIDE, 0xB5},
        {"Yen", SDL_SCANCODE_INTERNATIONAL3, 0x7D},
    };
    for (const Case& c : cases) {
        Key(c.scancode, true);
        std::array<BYTE, 256> keys{};
        ASSERT_EQ(keyboard->GetDeviceState(256, keys.data()), DI_OK);
        for (int code = 0; code < 256; ++code) {
            EXPECT_EQ(keys[code], code == c.dik ? 0x80 : 0x00) << c.name << " code " << code;
        }
        Key(c.scancode, false);
        ASSERT_EQ(keyboard->GetDeviceState(256, keys.data()), DI_OK);
        EXPECT_EQ(keys[c.dik], 0x00) << c.name;
    }
}

TEST_F(SdlBackendTest, MouseEventsMoveButtonsAndWheel) {
    DevicePtr mouse = Acquired(GUID_SysMouse, c_dfDIMouse2);
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.xrel = 7;
    event.motion.yrel = -3;
    Send(event);
    Send(event);
    event = {};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.y = 2;
    event.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    Send(event);
    event.wheel.y = 1;
    event.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;  // a natural-scrolling system reports it
    Send(event);
    event = {};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.button = SDL_BUTTON_RIGHT;
    Send(event);

    DIMOUSESTATE2 state{};
    ASSERT_EQ(mouse->GetDeviceState(sizeof(state), &state), DI_OK);
    EXPECT_EQ(state.lX, 14);
    EXPECT_EQ(state.lY, -6);
    EXPECT_EQ(state.lZ, 120);
    EXPECT_EQ(state.rgbButtons[0], 0x00);
    EXPECT_EQ(state.rgbButtons[1], 0x80);

    event.type = SDL_MOUSEBUTTONUP;
    Send(event);
    ASSERT_EQ(mouse->GetDeviceState(sizeof(state), &state), DI_OK);
    EXPECT_EQ(state.rgbButtons[1], 0x00);
    EXPECT_EQ(state.lX, 0);
}

TEST_F(SdlBackendTest, JoystickPluggedMovedAndUnplugged) {
    int index = AttachVirtualPad();
    Pump();  // the added event
    std::vector<GUID> pads = GameControllers();
    ASSERT_EQ(pads.size(), 1u);
    DevicePtr pad = Acquired(pads[0], c_dfDIJoystick2);
    DIDEVCAPS caps{};
    caps.dwSize = sizeof(caps);
    ASSERT_EQ(pad->GetCapabilities(&caps), DI_OK);
    EXPECT_EQ(caps.dwAxes, 2u);
    EXPECT_EQ(caps.dwButtons, 4u);
    EXPECT_EQ(caps.dwPOVs, 1u);
    EXPECT_EQ(GET_DIDEVICE_TYPE(caps.dwDevType), DI8DEVTYPE_GAMEPAD);

    // Moved through SDL, as the pump delivers it.
    SDL_Joystick* joystick = SDL_JoystickOpen(index);
    ASSERT_NE(joystick, nullptr);
    SDL_JoystickSetVirtualAxis(joystick, 0, 32767);
    SDL_JoystickSetVirtualButton(joystick, 2, SDL_PRESSED);
    SDL_JoystickSetVirtualHat(joystick, 0, SDL_HAT_RIGHTDOWN);
    SDL_JoystickUpdate();
    Pump();
    DIJOYSTATE2 state{};
    ASSERT_EQ(pad->GetDeviceState(sizeof(state), &state), DI_OK);
    EXPECT_EQ(state.lX, 65535);
    EXPECT_EQ(state.rgbButtons[2], 0x80);
    EXPECT_EQ(state.rgdwPOV[0], 13500u);

    // A synthetic event for the same joystick.
    SDL_Event event{};
    event.type = SDL_JOYAXISMOTION;
    event.jaxis.which = SDL_JoystickInstanceID(joystick);
    event.jaxis.axis = 1;
    event.jaxis.value = -32768;
    Send(event);
    ASSERT_EQ(pad->GetDeviceState(sizeof(state), &state), DI_OK);
    EXPECT_EQ(state.lY, 0);
    SDL_JoystickClose(joystick);

    ASSERT_EQ(SDL_JoystickDetachVirtual(index), 0);
    virtualPads_.clear();
    Pump();  // the removed event
    EXPECT_EQ(pad->GetDeviceState(sizeof(state), &state), DIERR_UNPLUGGED);
    EXPECT_EQ(pad->Acquire(), DIERR_UNPLUGGED);
    EXPECT_TRUE(GameControllers().empty());
}

TEST_F(SdlBackendTest, PadsAttachedBeforeAnyEventAreListed) {
    AttachVirtualPad();
    // No event handed over: the enumeration asks SDL itself.
    std::vector<GUID> pads = GameControllers();
    ASSERT_EQ(pads.size(), 1u);
    DevicePtr pad = Acquired(pads[0], c_dfDIJoystick);
    DIDEVICEINSTANCEA info{};
    info.dwSize = sizeof(info);
    ASSERT_EQ(pad->GetDeviceInfo(&info), DI_OK);
    EXPECT_STRNE(info.tszProductName, "");
    // The added event that follows does not list it twice.
    Pump();
    EXPECT_EQ(GameControllers().size(), 1u);
}

}  // namespace
}  // namespace qvn::test
