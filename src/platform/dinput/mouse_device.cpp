// The system mouse: movement since the last read, the wheel in WHEEL_DELTA units per notch, and
// up to eight buttons (0x80 while down).

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/dinput/device_factories.h"
#include "platform/dinput/input_device.h"

namespace {

constexpr DWORD kMouseDevType = DI8DEVTYPE_MOUSE | (DI8DEVTYPEMOUSE_TRADITIONAL << 8);
// Left, right, middle and the two side buttons.
constexpr DWORD kMouseButtonCount = 5;

LONG ClampToLong(std::int64_t value) {
    return static_cast<LONG>(std::clamp<std::int64_t>(value, std::numeric_limits<LONG>::min(),
                                                      std::numeric_limits<LONG>::max()));
}

class MouseDevice final : public InputDevice {
public:
    explicit MouseDevice(std::shared_ptr<InputState> state) : InputDevice(std::move(state)) {
        objects_.push_back(
            {&GUID_XAxis, DIMOFS_X, DIDFT_RELAXIS | DIDFT_MAKEINSTANCE(0), "X Axis"});
        objects_.push_back(
            {&GUID_YAxis, DIMOFS_Y, DIDFT_RELAXIS | DIDFT_MAKEINSTANCE(1), "Y Axis"});
        objects_.push_back({&GUID_ZAxis, DIMOFS_Z, DIDFT_RELAXIS | DIDFT_MAKEINSTANCE(2), "Wheel"});
        for (DWORD i = 0; i < kMouseButtonCount; ++i) {
            objects_.push_back({&GUID_Button, DIMOFS_BUTTON0 + i,
                                DIDFT_PSHBUTTON | DIDFT_MAKEINSTANCE(i),
                                "Button " + std::to_string(i)});
        }
    }

protected:
    GUID DeviceGuid() const override { return GUID_SysMouse; }
    bool AcceptsFormat(const DIDATAFORMAT& format) const override {
        return &format == &c_dfDIMouse || &format == &c_dfDIMouse2;
    }
    const std::vector<DeviceObject>& Objects() const override { return objects_; }

    void FillCapabilities(DIDEVCAPS& caps) const override {
        caps.dwDevType = kMouseDevType;
        caps.dwAxes = 3;
        caps.dwButtons = kMouseButtonCount;
    }

    void FillInstance(DIDEVICEINSTANCEA& instance) const override { DescribeMouse(instance); }

    void OnAcquired() override { lastRead_ = State().Mouse(); }

    void ReadState(BYTE* out) override {
        const MouseReading& now = State().Mouse();
        DIMOUSESTATE2 state{};
        state.lX = ClampToLong(now.x - lastRead_.x);
        state.lY = ClampToLong(now.y - lastRead_.y);
        state.lZ = ClampToLong(now.wheel - lastRead_.wheel);
        for (int i = 0; i < kMouseButtons; ++i) {
            state.rgbButtons[i] = ReadsDown(i, now.buttons[i]) ? 0x80 : 0x00;
        }
        lastRead_ = now;
        std::memcpy(out, &state, Format()->dwDataSize);
    }

    int PressedObject(const InputEvent& event) const override {
        return event.kind == InputEventKind::MouseButton && event.value != 0 ? event.index : -1;
    }

    bool ToObjectData(const InputEvent& event, DIDEVICEOBJECTDATA& data) const override {
        if (event.kind == InputEventKind::MouseAxis) {
            data.dwOfs = DIMOFS_X + static_cast<DWORD>(event.index) * sizeof(LONG);
            data.dwData = static_cast<DWORD>(event.value);
            return true;
        }
        if (event.kind == InputEventKind::MouseButton) {
            data.dwOfs = DIMOFS_BUTTON0 + static_cast<DWORD>(event.index);
            data.dwData = event.value != 0 ? 0x80 : 0x00;
            return true;
        }
        return false;
    }

    HRESULT GetKindProperty(DWORD number, DIPROPHEADER& header,
                            const DeviceObject* object) override {
        if (number != DIPROP_GRANULARITY.Data1) {
            return DIERR_UNSUPPORTED;
        }
        if (header.dwSize != sizeof(DIPROPDWORD) || object == nullptr) {
            return DIERR_INVALIDPARAM;
        }
        if (DIDFT_GETTYPE(object->type) != DIDFT_RELAXIS) {
            return DIERR_UNSUPPORTED;
        }
        reinterpret_cast<DIPROPDWORD&>(header).dwData =
            object->offset == DIMOFS_Z ? static_cast<DWORD>(WHEEL_DELTA) : 1;
        return DI_OK;
    }

    HRESULT SetKindProperty(DWORD number, const DIPROPHEADER&, const DeviceObject*) override {
        return number == DIPROP_GRANULARITY.Data1 ? DIERR_READONLY : DIERR_UNSUPPORTED;
    }

private:
    std::vector<DeviceObject> objects_;
    MouseReading lastRead_;  // the totals at the last read or acquisition
};

}  // namespace

void DescribeMouse(DIDEVICEINSTANCEA& instance) {
    instance.guidInstance = GUID_SysMouse;
    instance.guidProduct = GUID_SysMouse;
    instance.dwDevType = kMouseDevType;
    CopyDeviceName(instance.tszInstanceName, "Mouse");
    CopyDeviceName(instance.tszProductName, "Mouse");
}

IDirectInputDevice8A* CreateMouseDevice(std::shared_ptr<InputState> state) {
    return new MouseDevice(std::move(state));
}
