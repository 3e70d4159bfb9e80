#include <gtest/gtest.h>

#include <vector>

#include "dinput_fixture.h"

namespace qvn::test {
namespace {

using BufferedDataTest = DInputTest;

HRESULT SetBufferSize(IDirectInputDevice8A& device, DWORD size) {
    DIPROPDWORD property{};
    property.diph = {sizeof(DIPROPDWORD), sizeof(DIPROPHEADER), 0, DIPH_DEVICE};
    property.dwData = size;
    return device.SetProperty(DIPROP_BUFFERSIZE, &property.diph);
}

struct Event {
    DWORD offset;
    DWORD data;
    bool operator==(const Event&) const = default;
};

std::vector<Event> Take(IDirectInputDevice8A& device, HRESULT expected = DI_OK) {
    DIDEVICEOBJECTDATA data[16]{};
    DWORD count = 16;
    EXPECT_EQ(device.GetDeviceData(sizeof(DIDEVICEOBJECTDATA), data, &count, 0), expected);
    std::vector<Event> events;
    for (DWORD i = 0; i < count; ++i) {
        events.push_back({data[i].dwOfs, data[i].dwData});
    }
    return events;
}

DevicePtr Buffered(DevicePtr device, const DIDATAFORMAT& format, DWORD size) {
    EXPECT_EQ(device->SetDataFormat(&format), DI_OK);
    EXPECT_EQ(SetBufferSize(*device, size), DI_OK);
    EXPECT_EQ(device->Acquire(), DI_OK);
    return device;
}

TEST_F(BufferedDataTest, KeyboardEventsInOrderWithTimeAndSequence) {
    DevicePtr keyboard = Create(GUID_SysKeyboard);
    ASSERT_EQ(keyboard->SetDataFormat(&c_dfDIKeyboard), DI_OK);
    DWORD count = 4;
    EXPECT_EQ(keyboard->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), nullptr, &count, 0),
              DIERR_NOTBUFFERED);
    keyboard = Buffered(std::move(keyboard), c_dfDIKeyboard, 8);
    EXPECT_EQ(SetBufferSize(*keyboard, 4), DIERR_ACQUIRED);

    Backend().SetTime(1000);
    Backend().KeyDown(DIK_A);
    Backend().SetTime(1016);
    Backend().KeyDown(DIK_LCONTROL);
    Backend().KeyUp(DIK_A);

    DIDEVICEOBJECTDATA data[4]{};
    count = 4;
    ASSERT_EQ(keyboard->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), data, &count, DIGDD_PEEK), DI_OK);
    ASSERT_EQ(count, 3u);
    EXPECT_EQ(data[0].dwTimeStamp, 1000u);
    EXPECT_EQ(data[2].dwTimeStamp, 1016u);
    EXPECT_LT(data[0].dwSequence, data[1].dwSequence);
    EXPECT_LT(data[1].dwSequence, data[2].dwSequence);
    // Peeking left them in place.
    EXPECT_EQ(Take(*keyboard),
              (std::vector<Event>{{DIK_A, 0x80}, {DIK_LCONTROL, 0x80}, {DIK_A, 0x00}}));
    EXPECT_TRUE(Take(*keyboard).empty());
}

TEST_F(BufferedDataTest, CountingFlushingAndOverflow) {
    DevicePtr keyboard = Buffered(Create(GUID_SysKeyboard), c_dfDIKeyboard, 2);
    Backend().KeyDown(DIK_1);
    Backend().KeyDown(DIK_2);
    Backend().KeyDown(DIK_3);

    DWORD count = 0xFFFFFFFF;
    ASSERT_EQ(keyboard->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), nullptr, &count, DIGDD_PEEK),
              DI_BUFFEROVERFLOW);
    EXPECT_EQ(count, 2u);
    // The oldest event made room for the newest; the overflow is reported once.
    EXPECT_EQ(Take(*keyboard, DI_BUFFEROVERFLOW),
              (std::vector<Event>{{DIK_2, 0x80}, {DIK_3, 0x80}}));
    Backend().KeyUp(DIK_1);
    Backend().KeyUp(DIK_2);
    count = 0xFFFFFFFF;
    ASSERT_EQ(keyboard->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), nullptr, &count, 0), DI_OK);
    EXPECT_EQ(count, 2u);
    EXPECT_TRUE(Take(*keyboard).empty());

    // Nothing is buffered while the device is not acquired.
    keyboard->Unacquire();
    Backend().KeyUp(DIK_3);
    ASSERT_EQ(keyboard->Acquire(), DI_OK);
    EXPECT_TRUE(Take(*keyboard).empty());

    count = 1;
    EXPECT_EQ(keyboard->GetDeviceData(12, nullptr, &count, 0), DIERR_INVALIDPARAM);
    EXPECT_EQ(keyboard->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), nullptr, nullptr, 0),
              DIERR_INVALIDPARAM);
}

TEST_F(BufferedDataTest, MouseAndPadEventsCarryOffsetsAndScaledValues) {
    DevicePtr mouse = Buffered(Create(GUID_SysMouse), c_dfDIMouse, 16);
    Backend().MoveMouse(5, -2);
    Backend().TurnWheel(-1);
    Backend().MouseButton(1, true);
    Backend().MouseButton(4, true);  // no room for it in DIMOUSESTATE
    EXPECT_EQ(Take(*mouse), (std::vector<Event>{{DIMOFS_X, 5u},
                                                {DIMOFS_Y, static_cast<DWORD>(-2)},
                                                {DIMOFS_Z, static_cast<DWORD>(-120)},
                                                {DIMOFS_BUTTON0 + 1, 0x80}}));

    PadId pad = Backend().PlugPad({});
    PadId otherPad = Backend().PlugPad({});
    DevicePtr device = Create(PadGuid(0));
    DIPROPRANGE range{};
    range.diph = {sizeof(DIPROPRANGE), sizeof(DIPROPHEADER), 0, DIPH_DEVICE};
    range.lMin = -1000;
    range.lMax = 1000;
    ASSERT_EQ(device->SetProperty(DIPROP_RANGE, &range.diph), DI_OK);
    device = Buffered(std::move(device), c_dfDIJoystick2, 16);
    Backend().SetPadAxis(pad, 1, -32768);
    Backend().SetPadAxis(otherPad, 1, 100);
    Backend().SetPadHat(pad, 0, kHatLeft);
    Backend().SetPadButton(pad, 7, true);
    EXPECT_EQ(Take(*device), (std::vector<Event>{{DIJOFS_Y, static_cast<DWORD>(-1000)},
                                                 {DIJOFS_POV(0), 27000},
                                                 {DIJOFS_BUTTON(7), 0x80}}));
}

}  // namespace
}  // namespace qvn::test
