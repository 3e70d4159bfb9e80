// A game pad: up to eight axes scaled into their DIPROP_RANGE, four hats as point-of-view values
// and 128 buttons, in the DIJOYSTATE or DIJOYSTATE2 layout.

#include <array>
#include <cstring>

#include "platform/dinput/device_factories.h"
#include "platform/dinput/input_device.h"
#include "platform/dinput/pad_axis.h"

namespace {

struct AxisSlot {
    const GUID* guid;
    DWORD offset;
    const char* name;
};

constexpr std::array<AxisSlot, kMaxPadAxes> kAxisSlots = {{
    {&GUID_XAxis, DIJOFS_X, "X Axis"},
    {&GUID_YAxis, DIJOFS_Y, "Y Axis"},
    {&GUID_ZAxis, DIJOFS_Z, "Z Axis"},
    {&GUID_RxAxis, DIJOFS_RX, "X Rotation"},
    {&GUID_RyAxis, DIJOFS_RY, "Y Rotation"},
    {&GUID_RzAxis, DIJOFS_RZ, "Z Rotation"},
    {&GUID_Slider, DIJOFS_SLIDER(0), "Slider"},
    {&GUID_Slider, DIJOFS_SLIDER(1), "Slider"},
}};

class PadDevice final : public InputDevice {
public:
    PadDevice(std::shared_ptr<InputState> state, const PadRecord& pad)
        : InputDevice(std::move(state)), pad_(pad) {
        const PadDescription& description = pad_.description;
        for (int i = 0; i < description.axisCount; ++i) {
            const AxisSlot& slot = kAxisSlots[static_cast<std::size_t>(i)];
            objects_.push_back({slot.guid, slot.offset,
                                DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(static_cast<DWORD>(i)),
                                slot.name});
        }
        for (int i = 0; i < description.hatCount; ++i) {
            objects_.push_back({&GUID_POV, DIJOFS_POV(static_cast<DWORD>(i)),
                                DIDFT_POV | DIDFT_MAKEINSTANCE(static_cast<DWORD>(i)),
                                "Hat Switch " + std::to_string(i)});
        }
        for (int i = 0; i < description.buttonCount; ++i) {
            objects_.push_back({&GUID_Button, DIJOFS_BUTTON(static_cast<DWORD>(i)),
                                DIDFT_PSHBUTTON | DIDFT_MAKEINSTANCE(static_cast<DWORD>(i)),
                                "Button " + std::to_string(i)});
        }
    }

protected:
    GUID DeviceGuid() const override { return pad_.instanceGuid; }
    const PadRecord* Current() const { return State().FindPad(pad_.instanceGuid); }
    bool IsAttached() const override { return Current() != nullptr; }
    bool IsHeldElsewhere() const override {
        const PadRecord* pad = Current();
        return pad != nullptr && pad->heldElsewhere;
    }
    std::uint64_t Connection() const override {
        const PadRecord* pad = Current();
        return pad != nullptr ? pad->id : 0;
    }
    bool AcceptsFormat(const DIDATAFORMAT& format) const override {
        return &format == &c_dfDIJoystick || &format == &c_dfDIJoystick2;
    }
    const std::vector<DeviceObject>& Objects() const override { return objects_; }

    void FillCapabilities(DIDEVCAPS& caps) const override {
        const PadDescription& description = pad_.description;
        caps.dwDevType = description.devType;
        caps.dwAxes = static_cast<DWORD>(description.axisCount);
        caps.dwButtons = static_cast<DWORD>(description.buttonCount);
        caps.dwPOVs = static_cast<DWORD>(description.hatCount);
        caps.dwFirmwareRevision = description.firmwareRevision;
        caps.dwHardwareRevision = description.hardwareRevision;
    }

    void FillInstance(DIDEVICEINSTANCEA& instance) const override { DescribePad(pad_, instance); }

    void ReadState(BYTE* out) override {
        const PadRecord* pad = Current();
        const PadDescription& description = pad_.description;
        DIJOYSTATE2 state{};
        LONG* axes[kMaxPadAxes] = {&state.lX,           &state.lY,          &state.lZ,
                                   &state.lRx,          &state.lRy,         &state.lRz,
                                   &state.rglSlider[0], &state.rglSlider[1]};
        for (int i = 0; i < description.axisCount; ++i) {
            *axes[i] = ScaleAxis(pad->reading.axes[static_cast<std::size_t>(i)], axes_[i]);
        }
        // Hats the pad lacks read centred, never "north".
        for (int i = 0; i < kMaxPadHats; ++i) {
            state.rgdwPOV[i] = i < description.hatCount
                                   ? HatToPov(pad->reading.hats[static_cast<std::size_t>(i)])
                                   : DI_POV_CENTERED;
        }
        for (int i = 0; i < description.buttonCount; ++i) {
            const bool down = ReadsDown(i, pad->reading.buttons[static_cast<std::size_t>(i)]);
            state.rgbButtons[i] = down ? 0x80 : 0x00;
        }
        std::memcpy(out, &state, Format()->dwDataSize);
    }

    int PressedObject(const InputEvent& event) const override {
        const bool ours = event.pad == Connection() && event.kind == InputEventKind::PadButton;
        return ours && event.value != 0 ? event.index : -1;
    }

    bool ToObjectData(const InputEvent& event, DIDEVICEOBJECTDATA& data) const override {
        if (event.pad != Connection()) {
            return false;
        }
        auto index = static_cast<DWORD>(event.index);
        switch (event.kind) {
            case InputEventKind::PadAxis:
                data.dwOfs = kAxisSlots[index].offset;
                data.dwData = static_cast<DWORD>(
                    ScaleAxis(static_cast<std::int16_t>(event.value), axes_[index]));
                return true;
            case InputEventKind::PadHat:
                data.dwOfs = DIJOFS_POV(index);
                data.dwData = HatToPov(static_cast<BYTE>(event.value));
                return true;
            case InputEventKind::PadButton:
                data.dwOfs = DIJOFS_BUTTON(index);
                data.dwData = event.value != 0 ? 0x80 : 0x00;
                return true;
            default:
                return false;
        }
    }

    HRESULT GetKindProperty(DWORD number, DIPROPHEADER& header,
                            const DeviceObject* object) override {
        if (number == DIPROP_JOYSTICKID.Data1) {
            if (header.dwSize != sizeof(DIPROPDWORD) || object != nullptr) {
                return DIERR_INVALIDPARAM;
            }
            int id = State().JoystickId(static_cast<PadId>(Connection()));
            if (id < 0) {
                return DIERR_UNPLUGGED;
            }
            reinterpret_cast<DIPROPDWORD&>(header).dwData = static_cast<DWORD>(id);
            return DI_OK;
        }
        if (number != DIPROP_RANGE.Data1 && number != DIPROP_DEADZONE.Data1 &&
            number != DIPROP_GRANULARITY.Data1) {
            return DIERR_UNSUPPORTED;
        }
        DWORD expected = number == DIPROP_RANGE.Data1 ? sizeof(DIPROPRANGE) : sizeof(DIPROPDWORD);
        if (header.dwSize != expected || object == nullptr) {
            return DIERR_INVALIDPARAM;
        }
        if (DIDFT_GETTYPE(object->type) != DIDFT_ABSAXIS) {
            return DIERR_UNSUPPORTED;
        }
        const AxisSettings& axis = axes_[DIDFT_GETINSTANCE(object->type)];
        if (number == DIPROP_RANGE.Data1) {
            auto& range = reinterpret_cast<DIPROPRANGE&>(header);
            range.lMin = axis.min;
            range.lMax = axis.max;
        } else {
            reinterpret_cast<DIPROPDWORD&>(header).dwData =
                number == DIPROP_DEADZONE.Data1 ? axis.deadZone : 1;
        }
        return DI_OK;
    }

    HRESULT SetKindProperty(DWORD number, const DIPROPHEADER& header,
                            const DeviceObject* object) override {
        if (number == DIPROP_JOYSTICKID.Data1 || number == DIPROP_GRANULARITY.Data1) {
            return DIERR_READONLY;
        }
        if (number != DIPROP_RANGE.Data1 && number != DIPROP_DEADZONE.Data1) {
            return DIERR_UNSUPPORTED;
        }
        bool range = number == DIPROP_RANGE.Data1;
        if (header.dwSize != (range ? sizeof(DIPROPRANGE) : sizeof(DIPROPDWORD))) {
            return DIERR_INVALIDPARAM;
        }
        if (object != nullptr && DIDFT_GETTYPE(object->type) != DIDFT_ABSAXIS) {
            return DIERR_UNSUPPORTED;
        }
        AxisSettings wanted;
        if (range) {
            const auto& value = reinterpret_cast<const DIPROPRANGE&>(header);
            if (value.lMin >= value.lMax) {
                return DIERR_INVALIDPARAM;
            }
            wanted.min = value.lMin;
            wanted.max = value.lMax;
        } else {
            wanted.deadZone = reinterpret_cast<const DIPROPDWORD&>(header).dwData;
            if (wanted.deadZone > 10000) {
                return DIERR_INVALIDPARAM;
            }
        }
        for (int i = 0; i < kMaxPadAxes; ++i) {
            if (object != nullptr && DIDFT_GETINSTANCE(object->type) != static_cast<DWORD>(i)) {
                continue;
            }
            if (range) {
                axes_[i].min = wanted.min;
                axes_[i].max = wanted.max;
            } else {
                axes_[i].deadZone = wanted.deadZone;
            }
        }
        return DI_OK;
    }

private:
    PadRecord pad_;  // as it was when the device was made
    std::vector<DeviceObject> objects_;
    AxisSettings axes_[kMaxPadAxes];
};

}  // namespace

void DescribePad(const PadRecord& pad, DIDEVICEINSTANCEA& instance) {
    instance.guidInstance = pad.instanceGuid;
    instance.guidProduct = pad.productGuid;
    instance.dwDevType = pad.description.devType;
    CopyDeviceName(instance.tszInstanceName, pad.description.name);
    CopyDeviceName(instance.tszProductName, pad.description.name);
}

IDirectInputDevice8A* CreatePadDevice(std::shared_ptr<InputState> state, const GUID& instance) {
    const PadRecord* pad = state->FindPad(instance);
    if (pad == nullptr) {
        return nullptr;
    }
    PadRecord copy = *pad;
    return new PadDevice(std::move(state), copy);
}
