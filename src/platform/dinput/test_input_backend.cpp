#include "platform/dinput/test_input_backend.h"

#include "platform/dinput/direct_input.h"

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

}  // namespace dinput_test
