#include "platform/dinput/sdl_input_backend.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/dinput/sdl_scancode_to_dik.h"
#include "platform/win32/sdl_host.h"

namespace {

struct JoystickCloser {
    void operator()(SDL_Joystick* joystick) const {
        // After SDL has shut down its joysticks, the handle is gone with them.
        if (SDL_WasInit(SDL_INIT_JOYSTICK) != 0) {
            SDL_JoystickClose(joystick);
        }
    }
};
using JoystickPtr = std::unique_ptr<SDL_Joystick, JoystickCloser>;

DWORD DevTypeOf(SDL_Joystick* joystick) {
    switch (SDL_JoystickGetType(joystick)) {
        case SDL_JOYSTICK_TYPE_GAMECONTROLLER:
            return DI8DEVTYPE_GAMEPAD | (DI8DEVTYPEGAMEPAD_STANDARD << 8);
        case SDL_JOYSTICK_TYPE_WHEEL:
            return DI8DEVTYPE_DRIVING | (DI8DEVTYPEDRIVING_COMBINEDPEDALS << 8);
        case SDL_JOYSTICK_TYPE_FLIGHT_STICK:
        case SDL_JOYSTICK_TYPE_THROTTLE:
            return DI8DEVTYPE_FLIGHT | (DI8DEVTYPEFLIGHT_STICK << 8);
        default:
            return DI8DEVTYPE_JOYSTICK | (DI8DEVTYPEJOYSTICK_STANDARD << 8);
    }
}

BYTE HatBitsOf(Uint8 value) {
    BYTE bits = 0;
    bits |= (value & SDL_HAT_UP) != 0 ? kHatUp : 0;
    bits |= (value & SDL_HAT_RIGHT) != 0 ? kHatRight : 0;
    bits |= (value & SDL_HAT_DOWN) != 0 ? kHatDown : 0;
    bits |= (value & SDL_HAT_LEFT) != 0 ? kHatLeft : 0;
    return bits;
}

}  // namespace

struct SdlInputBackend::Joysticks {
    struct Open {
        SDL_JoystickID instanceId;
        PadId pad;
        JoystickPtr joystick;
    };
    std::vector<Open> open;
};

SdlInputBackend::SdlInputBackend() : joysticks_(std::make_unique<Joysticks>()) {
    joysticksAvailable_ = Win32InitSdl(SDL_INIT_JOYSTICK);
    Win32AddSdlEventListener(&SdlInputBackend::OnSdlEvent, this);
    RefreshPads();
}

SdlInputBackend::~SdlInputBackend() {
    Win32RemoveSdlEventListener(&SdlInputBackend::OnSdlEvent, this);
}

void SdlInputBackend::OnSdlEvent(const SDL_Event& event, void* context) {
    static_cast<SdlInputBackend*>(context)->HandleEvent(event);
}

void SdlInputBackend::RefreshPads() {
    if (!joysticksAvailable_) {
        return;
    }
    std::vector<SDL_JoystickID> gone;
    for (const Joysticks::Open& open : joysticks_->open) {
        if (!SDL_JoystickGetAttached(open.joystick.get())) {
            gone.push_back(open.instanceId);
        }
    }
    for (SDL_JoystickID instanceId : gone) {
        CloseJoystick(instanceId);
    }
    int count = SDL_NumJoysticks();
    for (int index = 0; index < count; ++index) {
        OpenJoystick(index);
    }
}

void SdlInputBackend::OpenJoystick(int deviceIndex) {
    SDL_JoystickID instanceId = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (instanceId < 0 || PadOf(instanceId) != 0) {
        return;
    }
    JoystickPtr joystick(SDL_JoystickOpen(deviceIndex));
    if (!joystick) {
        return;
    }
    SDL_Joystick* handle = joystick.get();
    PadDescription description;
    const char* name = SDL_JoystickName(handle);
    description.name = name != nullptr ? name : "";
    SDL_JoystickGUID guid = SDL_JoystickGetGUID(handle);
    static_assert(sizeof(guid.data) == 16);
    std::memcpy(description.joystickGuid.data(), guid.data, 16);
    description.devType = DevTypeOf(handle);
    description.axisCount = std::max(0, SDL_JoystickNumAxes(handle));
    description.buttonCount = std::max(0, SDL_JoystickNumButtons(handle));
    description.hatCount = std::max(0, SDL_JoystickNumHats(handle));
    description.firmwareRevision = SDL_JoystickGetFirmwareVersion(handle);
    description.hardwareRevision = SDL_JoystickGetProductVersion(handle);

    PadReading reading;
    for (int i = 0; i < std::min(description.axisCount, kMaxPadAxes); ++i) {
        reading.axes[static_cast<std::size_t>(i)] = SDL_JoystickGetAxis(handle, i);
    }
    for (int i = 0; i < std::min(description.hatCount, kMaxPadHats); ++i) {
        reading.hats[static_cast<std::size_t>(i)] = HatBitsOf(SDL_JoystickGetHat(handle, i));
    }
    for (int i = 0; i < std::min(description.buttonCount, kMaxPadButtons); ++i) {
        reading.buttons[static_cast<std::size_t>(i)] = SDL_JoystickGetButton(handle, i) != 0;
    }
    PadId pad = State()->AttachPad(std::move(description), reading);
    joysticks_->open.push_back({instanceId, pad, std::move(joystick)});
}

void SdlInputBackend::CloseJoystick(int instanceId) {
    auto& open = joysticks_->open;
    auto it = std::find_if(open.begin(), open.end(), [instanceId](const auto& entry) {
        return entry.instanceId == instanceId;
    });
    if (it == open.end()) {
        return;
    }
    State()->DetachPad(it->pad);
    open.erase(it);
}

PadId SdlInputBackend::PadOf(int instanceId) const {
    for (const Joysticks::Open& open : joysticks_->open) {
        if (open.instanceId == instanceId) {
            return open.pad;
        }
    }
    return 0;
}

void SdlInputBackend::HandleEvent(const SDL_Event& event) {
    InputState& state = *State();
    state.SetEventTime(event.common.timestamp);
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            if (BYTE dik = DikFromSdlScancode(event.key.keysym.scancode); dik != 0) {
                state.SetKey(dik, event.type == SDL_KEYDOWN);
            }
            break;
        case SDL_MOUSEMOTION:
            state.MoveMouse(event.motion.xrel, event.motion.yrel);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            state.SetMouseButton(Win32MouseButtonOfSdl(event.button.button),
                                 event.type == SDL_MOUSEBUTTONDOWN);
            break;
        case SDL_MOUSEWHEEL: {
            // Positive away from the user, whatever the system's scrolling direction.
            LONG notches =
                event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
            state.TurnWheel(notches * WHEEL_DELTA);
            break;
        }
        case SDL_JOYDEVICEADDED:
            if (joysticksAvailable_) {
                OpenJoystick(event.jdevice.which);
            }
            break;
        case SDL_JOYDEVICEREMOVED:
            CloseJoystick(event.jdevice.which);
            break;
        case SDL_JOYAXISMOTION:
            if (PadId pad = PadOf(event.jaxis.which); pad != 0) {
                state.SetPadAxis(pad, event.jaxis.axis, event.jaxis.value);
            }
            break;
        case SDL_JOYHATMOTION:
            if (PadId pad = PadOf(event.jhat.which); pad != 0) {
                state.SetPadHat(pad, event.jhat.hat, HatBitsOf(event.jhat.value));
            }
            break;
        case SDL_JOYBUTTONDOWN:
        case SDL_JOYBUTTONUP:
            if (PadId pad = PadOf(event.jbutton.which); pad != 0) {
                state.SetPadButton(pad, event.jbutton.button, event.type == SDL_JOYBUTTONDOWN);
            }
            break;
        default:
            break;
    }
}
