// The five data formats of the game's devices, with their objects laid out as in the state
// structures of dinput_types.h.

#include <array>
#include <cstddef>

#include "platform/dinput/dinput_types.h"

namespace {

constexpr DWORD kReportsPosition = 0x00000100;  // the object reports a position

constexpr std::array<DIOBJECTDATAFORMAT, 256> KeyboardObjects() {
    std::array<DIOBJECTDATAFORMAT, 256> objects{};
    for (DWORD key = 0; key < 256; ++key) {
        objects[key] = {&GUID_Key, key, DIDFT_BUTTON | DIDFT_OPTIONAL | DIDFT_MAKEINSTANCE(key), 0};
    }
    return objects;
}

template <std::size_t Buttons>
constexpr std::array<DIOBJECTDATAFORMAT, 3 + Buttons> MouseObjects() {
    std::array<DIOBJECTDATAFORMAT, 3 + Buttons> objects{};
    objects[0] = {&GUID_XAxis, DIMOFS_X, DIDFT_AXIS | DIDFT_ANYINSTANCE, 0};
    objects[1] = {&GUID_YAxis, DIMOFS_Y, DIDFT_AXIS | DIDFT_ANYINSTANCE, 0};
    objects[2] = {&GUID_ZAxis, DIMOFS_Z, DIDFT_AXIS | DIDFT_ANYINSTANCE | DIDFT_OPTIONAL, 0};
    for (DWORD i = 0; i < Buttons; ++i) {
        objects[3 + i] = {nullptr, DIMOFS_BUTTON0 + i,
                          DIDFT_BUTTON | DIDFT_ANYINSTANCE | DIDFT_OPTIONAL, 0};
    }
    return objects;
}

// Axes, hats and buttons; the velocity, acceleration and force members of DIJOYSTATE2 have no
// objects, since no pad here reports them.
template <std::size_t Buttons>
constexpr std::array<DIOBJECTDATAFORMAT, 8 + 4 + Buttons> JoystickObjects() {
    std::array<DIOBJECTDATAFORMAT, 8 + 4 + Buttons> objects{};
    constexpr DWORD axis = DIDFT_AXIS | DIDFT_ANYINSTANCE | DIDFT_OPTIONAL;
    objects[0] = {&GUID_XAxis, DIJOFS_X, axis, kReportsPosition};
    objects[1] = {&GUID_YAxis, DIJOFS_Y, axis, kReportsPosition};
    objects[2] = {&GUID_ZAxis, DIJOFS_Z, axis, kReportsPosition};
    objects[3] = {&GUID_RxAxis, DIJOFS_RX, axis, kReportsPosition};
    objects[4] = {&GUID_RyAxis, DIJOFS_RY, axis, kReportsPosition};
    objects[5] = {&GUID_RzAxis, DIJOFS_RZ, axis, kReportsPosition};
    objects[6] = {&GUID_Slider, DIJOFS_SLIDER(0), axis, kReportsPosition};
    objects[7] = {&GUID_Slider, DIJOFS_SLIDER(1), axis, kReportsPosition};
    for (DWORD i = 0; i < 4; ++i) {
        objects[8 + i] = {&GUID_POV, DIJOFS_POV(i), DIDFT_POV | DIDFT_ANYINSTANCE | DIDFT_OPTIONAL,
                          0};
    }
    for (DWORD i = 0; i < Buttons; ++i) {
        objects[12 + i] = {nullptr, DIJOFS_BUTTON(i),
                           DIDFT_BUTTON | DIDFT_ANYINSTANCE | DIDFT_OPTIONAL, 0};
    }
    return objects;
}

constexpr auto kKeyboardObjects = KeyboardObjects();
constexpr auto kMouseObjects = MouseObjects<4>();
constexpr auto kMouse2Objects = MouseObjects<8>();
constexpr auto kJoystickObjects = JoystickObjects<32>();
constexpr auto kJoystick2Objects = JoystickObjects<128>();

template <std::size_t N>
constexpr DIDATAFORMAT MakeFormat(DWORD flags, DWORD dataSize,
                                  const std::array<DIOBJECTDATAFORMAT, N>& objects) {
    return DIDATAFORMAT{
        sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), flags, dataSize, static_cast<DWORD>(N),
        objects.data()};
}

}  // namespace

const DIDATAFORMAT c_dfDIKeyboard = MakeFormat(DIDF_RELAXIS, 256, kKeyboardObjects);
const DIDATAFORMAT c_dfDIMouse = MakeFormat(DIDF_RELAXIS, sizeof(DIMOUSESTATE), kMouseObjects);
const DIDATAFORMAT c_dfDIMouse2 = MakeFormat(DIDF_RELAXIS, sizeof(DIMOUSESTATE2), kMouse2Objects);
const DIDATAFORMAT c_dfDIJoystick = MakeFormat(DIDF_ABSAXIS, sizeof(DIJOYSTATE), kJoystickObjects);
const DIDATAFORMAT c_dfDIJoystick2 =
    MakeFormat(DIDF_ABSAXIS, sizeof(DIJOYSTATE2), kJoystick2Objects);
