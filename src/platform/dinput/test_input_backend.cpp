#include "platform/dinput/test_input_backend.h"

#include "platform/dinput/direct_input.h"
#include "platform/dinput/sdl_scancode_to_dik.h"
#include "platform/win32/sdl_virtual_keys.h"

namespace dinput_test {

PadId TestInputBackend::PlugPad(const TestPad& pad) {
    PadDescription description;
    description.name = pad.name;
    description.joystickGuid = pad.joystickGuid;
    description.devType = pad.devType;
    description.axisCount = pad.axes;
    description.buttonCount = pad.buttons;
    description.hatCount = pad.hats;
    return State()->AttachPad(description, PadReading{});
}

TestInputBackend& UseTestInputBackend() {
    auto backend = std::make_unique<TestInputBackend>();
    TestInputBackend& result = *backend;
    InstallInputBackend(std::move(backend));
    DInputSetAppActive(true);
    return result;
}

BYTE DikOfVirtualKey(UINT virtualKey, bool rightHand) {
    const int scancode = win32_internal::SdlScancodeOfVirtualKey(virtualKey, rightHand);
    return scancode < 0 ? 0 : DikFromSdlScancode(scancode);
}

}  // namespace dinput_test
