#include "media/input/di_application.h"

#include <climits>
#include <initializer_list>
#include <new>

#include "foundation/log.h"
#include "platform/d3dx/error_names.h"
#include "platform/dinput/system_input_settings.h"
#include "platform/winbase/file_api.h"

DIApplication* gDIApplication = nullptr;

namespace {

void LogFailure(const char* where, HRESULT result) {
    LogPrintf("%s: %s", where, DXGetErrorString9(result));
}

void ReleaseDevice(IDirectInputDevice8* device) {
    if (device != nullptr) {
        device->Unacquire();
        device->Release();
    }
}

// Creates the device of `guid` with its data format and cooperative level; on a failure logs it
// under `where`, releases what was made and leaves *out null.
HRESULT OpenDevice(IDirectInput8* input, const GUID& guid, const DIDATAFORMAT* format, HWND window,
                   DWORD cooperativeLevel, const char* where, IDirectInputDevice8** out) {
    *out = nullptr;
    IDirectInputDevice8* device = nullptr;
    HRESULT result = input->CreateDevice(guid, &device, nullptr);
    if (SUCCEEDED(result)) {
        result = device->SetDataFormat(format);
    }
    if (SUCCEEDED(result)) {
        result = device->SetCooperativeLevel(window, cooperativeLevel);
    }
    if (FAILED(result)) {
        LogFailure(where, result);
        ReleaseDevice(device);
        return result;
    }
    *out = device;
    return result;
}

// The pad choice without a GUID: the attached controller with the smallest joystick id.
struct PadSearch {
    IDirectInput8* input = nullptr;
    IDirectInputDevice8* best = nullptr;
    DWORD bestId = UINT_MAX;
};

BOOL ChoosePad(LPCDIDEVICEINSTANCEA instance, LPVOID context) {
    auto* search = static_cast<PadSearch*>(context);
    IDirectInputDevice8* device = nullptr;
    if (FAILED(search->input->CreateDevice(instance->guidInstance, &device, nullptr))) {
        return DIENUM_CONTINUE;
    }
    DIPROPDWORD id{};
    id.diph.dwSize = sizeof(id);
    id.diph.dwHeaderSize = sizeof(DIPROPHEADER);
    id.diph.dwHow = DIPH_DEVICE;
    if (FAILED(device->GetProperty(DIPROP_JOYSTICKID, &id.diph))) {
        device->Release();
        return DIENUM_CONTINUE;
    }
    if (id.dwData < search->bestId) {
        if (search->best != nullptr) {
            search->best->Release();
        }
        search->best = device;
        search->bestId = id.dwData;
    } else {
        device->Release();
    }
    return search->bestId == 0 ? DIENUM_STOP : DIENUM_CONTINUE;
}

struct RangeSetting {
    IDirectInputDevice8* device;
    LONG min;
    LONG max;
    HRESULT result = DI_OK;
};

BOOL SetAxisRange(LPCDIDEVICEOBJECTINSTANCEA object, LPVOID context) {
    auto* setting = static_cast<RangeSetting*>(context);
    DIPROPRANGE range{};
    range.diph.dwSize = sizeof(range);
    range.diph.dwHeaderSize = sizeof(DIPROPHEADER);
    range.diph.dwHow = DIPH_BYID;
    range.diph.dwObj = object->dwType;
    range.lMin = setting->min;
    range.lMax = setting->max;
    setting->result = setting->device->SetProperty(DIPROP_RANGE, &range.diph);
    return FAILED(setting->result) ? DIENUM_STOP : DIENUM_CONTINUE;
}

}  // namespace

const char* DIDeviceTypeText(BYTE type) {
    switch (type) {
        case DI8DEVTYPE_MOUSE:
            return "mouse";
        case DI8DEVTYPE_KEYBOARD:
            return "keyboard";
        case DI8DEVTYPE_JOYSTICK:
            return "joystick";
        case DI8DEVTYPE_GAMEPAD:
            return "game pad";
        case DI8DEVTYPE_DRIVING:
            return "steering type";
        case DI8DEVTYPE_FLIGHT:
            return "for Flight Simulator";
        case DI8DEVTYPE_1STPERSON:
            return "for 1st person";
        case DI8DEVTYPE_SCREENPOINTER:
            return "screen pointer";
        case DI8DEVTYPE_REMOTE:
            return "remote control device";
        case DI8DEVTYPE_SUPPLEMENTAL:
            return "supplemental";
        default:
            return "unknown";
    }
}

HRESULT CreateDIApplication(HINSTANCE instance) {
    DestroyDIApplication();
    gDIApplication = new (std::nothrow) DIApplication();
    if (gDIApplication == nullptr) {
        return E_OUTOFMEMORY;
    }
    return gDIApplication->Initialize(instance);
}

void DestroyDIApplication() {
    delete gDIApplication;
    gDIApplication = nullptr;
}

DIApplication::~DIApplication() {
    DropDevice(keyboard, kDIKeyboardBit);
    DropDevice(mouse, kDIMouseBit);
    DropDevice(pad, kDIPadBit);
    if (directInput != nullptr) {
        directInput->Release();
        directInput = nullptr;
    }
    if (event != nullptr) {
        CloseHandle(event);
        event = nullptr;
    }
}

void DIApplication::DropDevice(IDirectInputDevice8*& device, DWORD bit) {
    if (device != nullptr) {
        device->Unacquire();
        device->Release();
        device = nullptr;
    }
    deviceFlags &= ~bit;
}

HRESULT DIApplication::Initialize(HINSTANCE instanceHandle) {
    void* created = nullptr;
    HRESULT result = DirectInput8Create(instanceHandle, DIRECTINPUT_VERSION, IID_IDirectInput8A,
                                        &created, nullptr);
    if (FAILED(result)) {
        LogFailure("DIApplication::Initialize", result);
        if (gDIApplication == this) {
            DestroyDIApplication();  // deletes this object
        }
        return result;
    }
    directInput = static_cast<IDirectInput8*>(created);
    instance = instanceHandle;
    return result;
}

IDirectInputDevice8* DIApplication::DeviceOf(DWORD bit) const {
    if ((deviceFlags & bit) == 0) {
        return nullptr;
    }
    switch (bit) {
        case kDIKeyboardBit:
            return keyboard;
        case kDIMouseBit:
            return mouse;
        case kDIPadBit:
            return pad;
        default:
            return nullptr;
    }
}

HRESULT DIApplication::SetKeyboardDevice(HWND window, DWORD cooperativeLevel) {
    if (directInput == nullptr) {
        return E_FAIL;
    }
    DropDevice(keyboard, kDIKeyboardBit);
    IDirectInputDevice8* device = nullptr;
    const HRESULT result =
        OpenDevice(directInput, GUID_SysKeyboard, &c_dfDIKeyboard, window, cooperativeLevel,
                   "DIApplication::SetKeyboardDevice", &device);
    if (FAILED(result)) {
        return result;
    }
    keyboard = device;
    deviceFlags |= kDIKeyboardBit;
    keyboardCaps = DIDEVCAPS{};
    keyboardCaps.dwSize = sizeof(DIDEVCAPS);
    keyboard->GetCapabilities(&keyboardCaps);

    int delay = 0;
    DWORD speed = 0;
    SystemParametersInfoA(SPI_GETKEYBOARDDELAY, 0, &delay, 0);
    SystemParametersInfoA(SPI_GETKEYBOARDSPEED, 0, &speed, 0);
    keyRepeatDelay = (delay + 1) * 0.25;
    keyRepeatInterval = 0.4 - speed * 0.0125;
    return SetAcquire(kDIKeyboardBit, true);
}

HRESULT DIApplication::SetMouseDevice(HWND window, DWORD cooperativeLevel) {
    if (directInput == nullptr) {
        return E_FAIL;
    }
    DropDevice(mouse, kDIMouseBit);
    IDirectInputDevice8* device = nullptr;
    const HRESULT result = OpenDevice(directInput, GUID_SysMouse, &c_dfDIMouse2, window,
                                      cooperativeLevel, "DIApplication::SetMouseDevice", &device);
    if (FAILED(result)) {
        return result;
    }
    buttonsSwapped = GetSystemMetrics(SM_SWAPBUTTON);
    mouse = device;
    deviceFlags |= kDIMouseBit;
    mouseCaps = DIDEVCAPS{};
    mouseCaps.dwSize = sizeof(DIDEVCAPS);
    mouse->GetCapabilities(&mouseCaps);
    if (mouseCaps.dwAxes > 2) {
        DIPROPDWORD granularity{};
        granularity.diph.dwSize = sizeof(granularity);
        granularity.diph.dwHeaderSize = sizeof(DIPROPHEADER);
        granularity.diph.dwObj = DIMOFS_Z;
        granularity.diph.dwHow = DIPH_BYOFFSET;
        if (SUCCEEDED(mouse->GetProperty(DIPROP_GRANULARITY, &granularity.diph))) {
            wheelGranularity = granularity.dwData;
        }
    }
    return SetAcquire(kDIMouseBit, true);
}

HRESULT DIApplication::SetPadDevice(HWND window, const GUID* guid, DWORD cooperativeLevel) {
    constexpr const char* kWhere = "DIApplication::SetPadDevice";
    if (directInput == nullptr) {
        return E_FAIL;
    }
    IDirectInputDevice8* device = nullptr;
    HRESULT result = DI_OK;
    if (guid != nullptr) {
        result = directInput->CreateDevice(*guid, &device, nullptr);
    } else {
        PadSearch search;
        search.input = directInput;
        result =
            directInput->EnumDevices(DI8DEVCLASS_GAMECTRL, ChoosePad, &search, DIEDFL_ATTACHEDONLY);
        device = search.best;
        if (SUCCEEDED(result) && device == nullptr) {
            LogPrintf("no devices.");
            return DI_OK;
        }
    }
    if (SUCCEEDED(result)) {
        result = device->SetDataFormat(&c_dfDIJoystick2);
    }
    if (SUCCEEDED(result)) {
        result = device->SetCooperativeLevel(window, cooperativeLevel);
    }
    DIDEVCAPS caps{};
    caps.dwSize = sizeof(caps);
    if (SUCCEEDED(result)) {
        result = device->GetCapabilities(&caps);
    }
    DIDEVICEINSTANCEA info{};
    info.dwSize = sizeof(info);
    if (SUCCEEDED(result)) {
        result = device->GetDeviceInfo(&info);
    }
    if (FAILED(result)) {
        LogFailure(kWhere, result);
        ReleaseDevice(device);
        return result;
    }
    LogPrintf("Device Name: %s(%s)", info.tszProductName, info.tszInstanceName);
    LogPrintf("Device Type: %s (0x%02x, sub:0x%02x)",
              DIDeviceTypeText(GET_DIDEVICE_TYPE(info.dwDevType)),
              GET_DIDEVICE_TYPE(info.dwDevType), GET_DIDEVICE_SUBTYPE(info.dwDevType));
    LogPrintf("Axes: %d", static_cast<int>(caps.dwAxes));
    LogPrintf("Buttons: %d", static_cast<int>(caps.dwButtons));
    LogPrintf("POVs: %d", static_cast<int>(caps.dwPOVs));
    LogPrintf("Firmware Revision: %d", static_cast<int>(caps.dwFirmwareRevision));
    LogPrintf("Hardware Revision: %d", static_cast<int>(caps.dwHardwareRevision));
    LogPrintf("Driver Version: %d", static_cast<int>(caps.dwFFDriverVersion));

    // A pad kept before is let go first, so that its device is not leaked.
    DropDevice(pad, kDIPadBit);
    padCaps = caps;
    padWindow = window;
    pad = device;
    deviceFlags |= kDIPadBit;
    padState = DIJOYSTATE2{};
    previousPadState = DIJOYSTATE2{};
    result = SetAcquire(kDIPadBit, true);
    SetPadRange(-1000, 1000);
    return result;
}

HRESULT DIApplication::ApplyPadRange(LONG min, LONG max) {
    RangeSetting setting{pad, min, max};
    HRESULT result = pad->EnumObjects(SetAxisRange, &setting, DIDFT_AXIS);
    return FAILED(result) ? result : setting.result;
}

HRESULT DIApplication::SetPadRange(LONG min, LONG max) {
    if (DeviceOf(kDIPadBit) == nullptr) {
        return E_FAIL;
    }
    HRESULT result = ApplyPadRange(min, max);
    if (SUCCEEDED(result)) {
        padMin = min;
        padMax = max;
        return result;
    }
    LogFailure("DIApplication::SetPadRange", result);
    ApplyPadRange(padMin, padMax);
    return result;
}

HRESULT DIApplication::SetAcquire(DWORD mask, bool acquire) {
    for (DWORD bit : {kDIKeyboardBit, kDIMouseBit, kDIPadBit}) {
        IDirectInputDevice8* device = DeviceOf(mask & bit);
        if (device == nullptr) {
            continue;
        }
        HRESULT result = DI_OK;
        int attempts = 0;
        do {
            result = acquire ? device->Acquire() : device->Unacquire();
        } while (result == DIERR_INPUTLOST && ++attempts < kDIAcquireRetryLimit);
        if (FAILED(result)) {
            if (result != DIERR_OTHERAPPHASPRIO) {
                LogFailure("DIApplication::SetAcquire", result);
            }
            return result;
        }
        if (acquire && result == DI_OK) {
            // Acquired anew, not kept: what is held now went down elsewhere.
            ForgetHeldInput(bit);
        }
    }
    return DI_OK;
}
