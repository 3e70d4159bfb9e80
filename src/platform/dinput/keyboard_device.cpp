// The system keyboard: 256 bytes indexed by DIK code, 0x80 while a key is down.

#include <array>

#include "platform/dinput/device_factories.h"
#include "platform/dinput/input_device.h"
#include "platform/dinput/sdl_scancode_to_dik.h"

namespace {

constexpr DWORD kKeyboardDevType = DI8DEVTYPE_KEYBOARD | (DI8DEVTYPEKEYBOARD_PCENH << 8);

class KeyboardDevice final : public InputDevice {
public:
    explicit KeyboardDevice(std::shared_ptr<InputState> state) : InputDevice(std::move(state)) {
        for (BYTE dik : MappedDikCodes()) {
            objects_.push_back(
                {&GUID_Key, dik, DIDFT_PSHBUTTON | DIDFT_MAKEINSTANCE(dik), DikKeyName(dik)});
        }
    }

protected:
    GUID DeviceGuid() const override { return GUID_SysKeyboard; }
    bool AcceptsFormat(const DIDATAFORMAT& format) const override {
        return &format == &c_dfDIKeyboard;
    }
    const std::vector<DeviceObject>& Objects() const override { return objects_; }

    void FillCapabilities(DIDEVCAPS& caps) const override {
        caps.dwDevType = kKeyboardDevType;
        caps.dwButtons = static_cast<DWORD>(objects_.size());
    }

    void FillInstance(DIDEVICEINSTANCEA& instance) const override { DescribeKeyboard(instance); }

    void ReadState(BYTE* out) override {
        const std::array<BYTE, 256>& keys = State().Keys();
        for (int code = 0; code < 256; ++code) {
            out[code] = ReadsDown(code, (keys[code] & 0x80) != 0) ? BYTE{0x80} : BYTE{0};
        }
    }

    int PressedObject(const InputEvent& event) const override {
        return event.kind == InputEventKind::Key && event.value != 0 ? event.index : -1;
    }

    bool ToObjectData(const InputEvent& event, DIDEVICEOBJECTDATA& data) const override {
        if (event.kind != InputEventKind::Key) {
            return false;
        }
        data.dwOfs = static_cast<DWORD>(event.index);
        data.dwData = event.value != 0 ? 0x80 : 0x00;
        return true;
    }

    HRESULT CheckCooperativeLevel(DWORD flags) const override {
        // Nobody may take the keyboard away from every other program.
        bool exclusiveBackground =
            (flags & DISCL_EXCLUSIVE) != 0 && (flags & DISCL_BACKGROUND) != 0;
        return exclusiveBackground ? DIERR_UNSUPPORTED : DI_OK;
    }

private:
    std::vector<DeviceObject> objects_;
};

}  // namespace

void DescribeKeyboard(DIDEVICEINSTANCEA& instance) {
    instance.guidInstance = GUID_SysKeyboard;
    instance.guidProduct = GUID_SysKeyboard;
    instance.dwDevType = kKeyboardDevType;
    CopyDeviceName(instance.tszInstanceName, "Keyboard");
    CopyDeviceName(instance.tszProductName, "Keyboard");
}

IDirectInputDevice8A* CreateKeyboardDevice(std::shared_ptr<InputState> state) {
    return new KeyboardDevice(std::move(state));
}
