#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "dinput_fixture.h"

namespace qvn::test {
namespace {

using PadTest = DInputTest;

constexpr LONG kLongMin = std::numeric_limits<LONG>::min();
constexpr LONG kLongMax = std::numeric_limits<LONG>::max();

DIJOYSTATE2 ReadPad(IDirectInputDevice8A& pad) {
    DIJOYSTATE2 state{};
    EXPECT_EQ(pad.GetDeviceState(sizeof(state), &state), DI_OK);
    return state;
}

DIPROPRANGE RangeHeader(DWORD how, DWORD object, LONG min, LONG max) {
    DIPROPRANGE range{};
    range.diph = {sizeof(DIPROPRANGE), sizeof(DIPROPHEADER), object, how};
    range.lMin = min;
    range.lMax = max;
    return range;
}

// Sets the range on every axis the way the game does: enumerate the axes, set each by id.
HRESULT SetRangeByEnumeration(IDirectInputDevice8A& pad, LONG min, LONG max) {
    struct Context {
        IDirectInputDevice8A* pad;
        LONG min;
        LONG max;
        HRESULT result;
        int axes;
    } context{&pad, min, max, DI_OK, 0};
    auto callback = [](LPCDIDEVICEOBJECTINSTANCEA object, LPVOID raw) -> BOOL {
        auto* c = static_cast<Context*>(raw);
        DIPROPRANGE range = RangeHeader(DIPH_BYID, object->dwType, c->min, c->max);
        c->result = c->pad->SetProperty(DIPROP_RANGE, &range.diph);
        ++c->axes;
        return FAILED(c->result) ? DIENUM_STOP : DIENUM_CONTINUE;
    };
    HRESULT hr = pad.EnumObjects(callback, &context, DIDFT_AXIS);
    EXPECT_EQ(context.axes, 2);
    return FAILED(hr) ? hr : context.result;
}

TEST_F(PadTest, AxesScaleIntoTheirRange) {
    PadId pad = Backend().PlugPad({});
    DevicePtr device = Acquired(PadGuid(0), c_dfDIJoystick2);
    struct Case {
        const char* name;
        LONG min;
        LONG max;
        std::int16_t raw;
        LONG expected;
    };
    const Case cases[] = {
        {"default low end", 0, 65535, -32768, 0},
        {"default centre", 0, 65535, 0, 32768},
        {"default high end", 0, 65535, 32767, 65535},
        {"game range low end", -1000, 1000, -32768, -1000},
        {"game range centre", -1000, 1000, 0, 0},
        {"game range half", -1000, 1000, 16384, 500},
        {"game range high end", -1000, 1000, 32767, 1000},
        {"narrow range", 0, 1, 100, 1},
        {"widest range low end", kLongMin, kLongMax, -32768, kLongMin},
        {"widest range high end", kLongMin, kLongMax, 32767, kLongMax},
    };
    for (const Case& c : cases) {
        if (c.min != 0 || c.max != 65535) {
            ASSERT_EQ(SetRangeByEnumeration(*device, c.min, c.max), DI_OK) << c.name;
        }
        Backend().SetPadAxis(pad, 0, c.raw);
        Backend().SetPadAxis(pad, 1, static_cast<std::int16_t>(-1 - c.raw));
        DIJOYSTATE2 state = ReadPad(*device);
        EXPECT_EQ(state.lX, c.expected) << c.name;
        // The mirrored reading on Y lands at the mirrored place of the range.
        EXPECT_EQ(static_cast<std::int64_t>(state.lY),
                  static_cast<std::int64_t>(c.min) + c.max - c.expected)
            << c.name;
    }
}

TEST_F(PadTest, RangeAndDeadZoneProperties) {
    PadId pad = Backend().PlugPad({});
    DevicePtr device = Acquired(PadGuid(0), c_dfDIJoystick2);
    DIPROPRANGE range = RangeHeader(DIPH_DEVICE, 0, -1000, 1000);
    ASSERT_EQ(device->SetProperty(DIPROP_RANGE, &range.diph), DI_OK);

    DIPROPRANGE read = RangeHeader(DIPH_BYOFFSET, DIJOFS_Y, 0, 0);
    ASSERT_EQ(device->GetProperty(DIPROP_RANGE, &read.diph), DI_OK);
    EXPECT_EQ(read.lMin, -1000);
    EXPECT_EQ(read.lMax, 1000);

    DIPROPRANGE bad = RangeHeader(DIPH_DEVICE, 0, 5, 5);
    EXPECT_EQ(device->SetProperty(DIPROP_RANGE, &bad.diph), DIERR_INVALIDPARAM);
    bad = RangeHeader(DIPH_BYOFFSET, DIJOFS_Z, 0, 10);  // the pad has two axes
    EXPECT_EQ(device->SetProperty(DIPROP_RANGE, &bad.diph), DIERR_OBJECTNOTFOUND);
    bad = RangeHeader(DIPH_DEVICE, 0, 0, 10);
    bad.diph.dwSize = sizeof(DIPROPDWORD);
    EXPECT_EQ(device->SetProperty(DIPROP_RANGE, &bad.diph), DIERR_INVALIDPARAM);

    DIPROPDWORD deadZone{};
    deadZone.diph = {sizeof(DIPROPDWORD), sizeof(DIPROPHEADER), DIJOFS_X, DIPH_BYOFFSET};
    deadZone.dwData = 10001;
    EXPECT_EQ(device->SetProperty(DIPROP_DEADZONE, &deadZone.diph), DIERR_INVALIDPARAM);
    deadZone.dwData = 5000;
    ASSERT_EQ(device->SetProperty(DIPROP_DEADZONE, &deadZone.diph), DI_OK);
    struct Case {
        std::int16_t raw;
        LONG expected;
    };
    for (const Case& c : {Case{8000, 0}, Case{-16000, 0}, Case{-24576, -500}, Case{32767, 1000},
                          Case{-32768, -1000}}) {
        Backend().SetPadAxis(pad, 0, c.raw);
        EXPECT_EQ(ReadPad(*device).lX, c.expected) << "raw " << c.raw;
    }
    // The dead zone was set on X only.
    Backend().SetPadAxis(pad, 1, 8000);
    EXPECT_EQ(ReadPad(*device).lY, 244);
}

TEST_F(PadTest, HatsReadAsPointOfViewInHundredthsOfADegree) {
    dinput_test::TestPad model;
    model.hats = 2;
    PadId pad = Backend().PlugPad(model);
    DevicePtr device = Acquired(PadGuid(0), c_dfDIJoystick2);
    struct Case {
        const char* name;
        BYTE bits;
        DWORD expected;
    };
    const Case cases[] = {
        {"centred", 0, DI_POV_CENTERED},
        {"north", kHatUp, 0},
        {"north-east", kHatUp | kHatRight, 4500},
        {"east", kHatRight, 9000},
        {"south-east", kHatDown | kHatRight, 13500},
        {"south", kHatDown, 18000},
        {"south-west", kHatDown | kHatLeft, 22500},
        {"west", kHatLeft, 27000},
        {"north-west", kHatUp | kHatLeft, 31500},
        {"up and down at once", kHatUp | kHatDown, DI_POV_CENTERED},
    };
    for (const Case& c : cases) {
        Backend().SetPadHat(pad, 1, c.bits);
        DIJOYSTATE2 state = ReadPad(*device);
        EXPECT_EQ(state.rgdwPOV[1], c.expected) << c.name;
        EXPECT_EQ(state.rgdwPOV[0], DI_POV_CENTERED) << c.name;
        // Hats the pad does not have never read as north.
        EXPECT_EQ(state.rgdwPOV[2], DI_POV_CENTERED) << c.name;
        EXPECT_EQ(state.rgdwPOV[3], DI_POV_CENTERED) << c.name;
    }
}

TEST_F(PadTest, ButtonsAndAxesInDeviceOrder) {
    dinput_test::TestPad model;
    model.axes = 8;
    model.buttons = 40;
    PadId pad = Backend().PlugPad(model);
    DevicePtr full = Acquired(PadGuid(0), c_dfDIJoystick2);
    DevicePtr small = Acquired(PadGuid(0), c_dfDIJoystick);
    for (int button : {0, 3, 31, 32, 39}) {
        Backend().SetPadButton(pad, button, true);
    }
    Backend().SetPadAxis(pad, 2, 32767);   // Z
    Backend().SetPadAxis(pad, 6, -32768);  // first slider

    DIJOYSTATE2 state = ReadPad(*full);
    std::vector<int> down;
    for (int i = 0; i < 128; ++i) {
        if (state.rgbButtons[i] == 0x80) {
            down.push_back(i);
        } else {
            EXPECT_EQ(state.rgbButtons[i], 0) << i;
        }
    }
    EXPECT_EQ(down, (std::vector<int>{0, 3, 31, 32, 39}));
    EXPECT_EQ(state.lZ, 65535);
    EXPECT_EQ(state.rglSlider[0], 0);
    EXPECT_EQ(state.rglSlider[1], 32768);

    DIJOYSTATE small_state{};
    ASSERT_EQ(small->GetDeviceState(sizeof(small_state), &small_state), DI_OK);
    EXPECT_EQ(small_state.rgbButtons[31], 0x80);
    EXPECT_EQ(small_state.lZ, 65535);

    DIDEVCAPS caps{};
    caps.dwSize = sizeof(caps);
    ASSERT_EQ(full->GetCapabilities(&caps), DI_OK);
    EXPECT_EQ(caps.dwAxes, 8u);
    EXPECT_EQ(caps.dwButtons, 40u);
    EXPECT_EQ(caps.dwPOVs, 1u);
    EXPECT_EQ(GET_DIDEVICE_TYPE(caps.dwDevType), DI8DEVTYPE_GAMEPAD);
}

TEST_F(PadTest, InstanceGuidsAreStableAndDistinct) {
    dinput_test::TestPad model;
    model.joystickGuid = {3, 0, 0, 0, 0x5E, 0x04, 0, 0, 0x8E, 0x02, 0, 0, 0x14, 0x01, 0, 0};
    PadId first = Backend().PlugPad(model);
    Backend().PlugPad(model);
    GUID firstGuid = PadGuid(0);
    GUID secondGuid = PadGuid(1);
    EXPECT_FALSE(firstGuid == secondGuid);
    EXPECT_TRUE(Backend().State()->Pads()[0].productGuid ==
                Backend().State()->Pads()[1].productGuid);

    // Another model gets other GUIDs.
    dinput_test::TestPad other = model;
    other.joystickGuid[4] = 0x6D;
    Backend().PlugPad(other);
    EXPECT_FALSE(PadGuid(2) == firstGuid);
    EXPECT_FALSE(PadGuid(2) == secondGuid);

    // The first pad, plugged in again, takes its old GUID back.
    Backend().UnplugPad(first);
    Backend().PlugPad(model);
    EXPECT_TRUE(PadGuid(2) == firstGuid);

    // The same model in a fresh run gets the same GUID again.
    dinput_test::TestInputBackend& fresh = dinput_test::UseTestInputBackend();
    fresh.PlugPad(model);
    EXPECT_TRUE(fresh.State()->Pads()[0].instanceGuid == firstGuid);
}

TEST_F(PadTest, JoystickIdAndDescription) {
    dinput_test::TestPad model;
    model.name = "ゲームパッド Pro";
    Backend().PlugPad({});
    Backend().PlugPad(model);
    DevicePtr device = Create(PadGuid(1));
    DIPROPDWORD id{};
    id.diph = {sizeof(DIPROPDWORD), sizeof(DIPROPHEADER), 0, DIPH_DEVICE};
    ASSERT_EQ(device->GetProperty(DIPROP_JOYSTICKID, &id.diph), DI_OK);
    EXPECT_EQ(id.dwData, 1u);
    EXPECT_EQ(device->SetProperty(DIPROP_JOYSTICKID, &id.diph), DIERR_READONLY);

    DIDEVICEINSTANCEA info{};
    info.dwSize = sizeof(info);
    ASSERT_EQ(device->GetDeviceInfo(&info), DI_OK);
    EXPECT_TRUE(info.guidInstance == PadGuid(1));
    // Names come in Shift-JIS.
    EXPECT_STREQ(info.tszProductName, "\x83\x51\x81\x5B\x83\x80\x83\x70\x83\x62\x83\x68 Pro");
    EXPECT_STREQ(info.tszInstanceName, info.tszProductName);
}

TEST_F(PadTest, OverlongNamesAreCutAtACharacterBoundary) {
    dinput_test::TestPad model;
    model.name = "A";
    for (int i = 0; i < 200; ++i) {
        model.name += "パ";  // two bytes in Shift-JIS
    }
    Backend().PlugPad(model);
    DevicePtr device = Create(PadGuid(0));
    DIDEVICEINSTANCEA info{};
    info.dwSize = sizeof(info);
    ASSERT_EQ(device->GetDeviceInfo(&info), DI_OK);
    std::string name = info.tszProductName;
    EXPECT_EQ(name.size(), 259u);  // "A" and 129 whole characters
    EXPECT_EQ(name.substr(name.size() - 2), "\x83\x70");
}

}  // namespace
}  // namespace qvn::test
