#include "platform/dinput/direct_input.h"

#include <atomic>
#include <new>
#include <vector>

#include "platform/dinput/device_factories.h"
#include "platform/dinput/input_backend.h"
#include "platform/win32/sdl_host.h"

namespace {

constexpr GUID kIidIUnknown = {
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

constexpr DWORD kKnownEnumFlags = DIEDFL_ATTACHEDONLY | DIEDFL_FORCEFEEDBACK | 0x00010000 |
                                  0x00020000 | 0x00040000;  // aliases, phantoms, hidden

bool ClassMatches(DWORD deviceType, DWORD devType) {
    BYTE type = GET_DIDEVICE_TYPE(devType);
    switch (deviceType) {
        case DI8DEVCLASS_ALL:
            return true;
        case DI8DEVCLASS_DEVICE:
            return type == DI8DEVTYPE_DEVICE;
        case DI8DEVCLASS_POINTER:
            return type == DI8DEVTYPE_MOUSE || type == DI8DEVTYPE_SCREENPOINTER;
        case DI8DEVCLASS_KEYBOARD:
            return type == DI8DEVTYPE_KEYBOARD;
        case DI8DEVCLASS_GAMECTRL:
            return type >= DI8DEVTYPE_JOYSTICK && type <= DI8DEVTYPE_1STPERSON;
        default:
            return type == deviceType;
    }
}

class DirectInput8 final : public IDirectInput8A {
public:
    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (iid == IID_IDirectInput8A || iid == kIidIUnknown) {
            AddRef();
            *object = static_cast<IDirectInput8A*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }

    ULONG AddRef() override { return ++references_; }

    ULONG Release() override {
        ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

    HRESULT CreateDevice(REFGUID guid, LPDIRECTINPUTDEVICE8A* device, IUnknown* outer) override {
        if (device == nullptr) {
            return DIERR_INVALIDPARAM;
        }
        *device = nullptr;
        if (outer != nullptr) {
            return DIERR_NOAGGREGATION;
        }
        InputBackend& backend = CurrentInputBackend();
        IDirectInputDevice8A* made = nullptr;
        if (guid == GUID_SysKeyboard) {
            made = CreateKeyboardDevice(backend.State());
        } else if (guid == GUID_SysMouse) {
            made = CreateMouseDevice(backend.State());
        } else {
            backend.RefreshPads();
            if (backend.State()->FindPad(guid) == nullptr) {
                return DIERR_DEVICENOTREG;
            }
            made = CreatePadDevice(backend.State(), guid);
        }
        if (made == nullptr) {
            return DIERR_OUTOFMEMORY;
        }
        *device = made;
        return DI_OK;
    }

    HRESULT EnumDevices(DWORD deviceType, LPDIENUMDEVICESCALLBACKA callback, LPVOID context,
                        DWORD flags) override {
        bool knownType = deviceType <= DI8DEVCLASS_GAMECTRL ||
                         (deviceType >= DI8DEVTYPE_DEVICE && deviceType <= DI8DEVTYPE_SUPPLEMENTAL);
        if (callback == nullptr || !knownType || (flags & ~kKnownEnumFlags) != 0) {
            return DIERR_INVALIDPARAM;
        }
        // No device here has force feedback.
        if ((flags & DIEDFL_FORCEFEEDBACK) != 0) {
            return DI_OK;
        }
        // Every listed device is attached. The list is taken first, since the callback may create
        // and release devices.
        InputBackend& backend = CurrentInputBackend();
        backend.RefreshPads();
        std::vector<DIDEVICEINSTANCEA> devices(2 + backend.State()->Pads().size());
        DescribeKeyboard(devices[0]);
        DescribeMouse(devices[1]);
        for (std::size_t i = 0; i < backend.State()->Pads().size(); ++i) {
            DescribePad(backend.State()->Pads()[i], devices[2 + i]);
        }
        for (DIDEVICEINSTANCEA& device : devices) {
            device.dwSize = sizeof(DIDEVICEINSTANCEA);
            if (ClassMatches(deviceType, device.dwDevType) &&
                callback(&device, context) == DIENUM_STOP) {
                break;
            }
        }
        return DI_OK;
    }

private:
    ~DirectInput8() override = default;

    std::atomic<ULONG> references_{1};
};

}  // namespace

HRESULT DirectInput8Create(HINSTANCE, DWORD version, REFIID iid, LPVOID* out, IUnknown* outer) {
    if (out == nullptr) {
        return DIERR_INVALIDPARAM;
    }
    *out = nullptr;
    if (outer != nullptr) {
        return DIERR_NOAGGREGATION;
    }
    if (version > DIRECTINPUT_VERSION) {
        return DIERR_OLDDIRECTINPUTVERSION;
    }
    if (version < DIRECTINPUT_VERSION) {
        return DIERR_BETADIRECTINPUTVERSION;
    }
    if (!(iid == IID_IDirectInput8A)) {
        return DIERR_NOINTERFACE;
    }
    auto* input = new (std::nothrow) DirectInput8();
    if (input == nullptr) {
        return DIERR_OUTOFMEMORY;
    }
    // Bring up the backend now, so that its listener sees events from the start, and follow the
    // windows' activation (no input for a window that is not the active one).
    CurrentInputBackend();
    Win32SetActivationObserver(&DInputSetActiveWindow);
    *out = static_cast<IDirectInput8A*>(input);
    return DI_OK;
}
