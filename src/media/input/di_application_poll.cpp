// Polling, the state accessors and the buffered-data calls of DIApplication.

#include <cstring>
#include <utility>

#include "foundation/log.h"
#include "media/input/di_application.h"
#include "platform/d3dx/error_names.h"

namespace {

constexpr DWORD kDeviceOrder[] = {kDIKeyboardBit, kDIMouseBit, kDIPadBit};

// As many events as a device holds.
constexpr DWORD kEveryEvent = 0xFFFFFFFFu;

void LogFailure(const char* where, HRESULT result) {
    LogPrintf("%s: %s", where, DXGetErrorString9(result));
}

// Polls one device and reads its state; a device that cannot be read reads as all zeros.
HRESULT ReadDevice(IDirectInputDevice8* device, void* state, void* previous, DWORD size) {
    std::memcpy(previous, state, size);
    HRESULT result = device->Poll();
    if (FAILED(result)) {
        result = device->Acquire();
    }
    if (FAILED(result)) {
        std::memset(state, 0, size);
        return result;
    }
    result = device->GetDeviceState(size, state);
    if (FAILED(result)) {
        std::memset(state, 0, size);
    }
    return result;
}

bool Down(BYTE value) {
    return (value & 0x80) != 0;
}

bool InRange(int index, int count) {
    return index >= 0 && index < count;
}

}  // namespace

HRESULT DIApplication::Poll(DWORD mask) {
    HRESULT first = DI_OK;
    for (DWORD bit : kDeviceOrder) {
        IDirectInputDevice8* device = DeviceOf(mask & bit);
        if (device == nullptr) {
            continue;
        }
        HRESULT result = DI_OK;
        if (bit == kDIKeyboardBit) {
            result = ReadDevice(device, keys, previousKeys, sizeof(keys));
        } else if (bit == kDIMouseBit) {
            result = ReadDevice(device, &mouseState, &previousMouseState, sizeof(mouseState));
            if (SUCCEEDED(result) && buttonsSwapped != 0) {
                std::swap(mouseState.rgbButtons[0], mouseState.rgbButtons[1]);
            }
        } else {
            result = ReadDevice(device, &padState, &previousPadState, sizeof(padState));
        }
        if (SUCCEEDED(result)) {
            continue;
        }
        if (SUCCEEDED(first)) {
            first = result;
        }
        if (result != DIERR_OTHERAPPHASPRIO && result != DIERR_UNPLUGGED) {
            LogFailure("DIApplication::Poll", result);
            break;
        }
    }
    return first;
}

bool DIApplication::IsKeyDown(int key) const {
    return InRange(key, 256) && Down(keys[key]);
}

bool DIApplication::IsKeyPressed(int key) const {
    return InRange(key, 256) && Down(keys[key]) && !Down(previousKeys[key]);
}

void DIApplication::GetMouseState(DIMOUSESTATE2* out) const {
    if (out != nullptr) {
        *out = mouseState;
    }
}

bool DIApplication::IsMouseButtonDown(int button) const {
    return InRange(button, 8) && Down(mouseState.rgbButtons[button]);
}

bool DIApplication::IsMouseButtonPressed(int button) const {
    return InRange(button, 8) && Down(mouseState.rgbButtons[button]) &&
           !Down(previousMouseState.rgbButtons[button]);
}

void DIApplication::GetPadRange(LONG* min, LONG* max) const {
    if (min != nullptr) {
        *min = padMin;
    }
    if (max != nullptr) {
        *max = padMax;
    }
}

void DIApplication::GetPadState(DIJOYSTATE2* out) const {
    if (out != nullptr) {
        *out = padState;
    }
}

bool DIApplication::IsPadButtonPressed(int button) const {
    return InRange(button, 128) && Down(padState.rgbButtons[button]) &&
           !Down(previousPadState.rgbButtons[button]);
}

HRESULT DIApplication::SetBufferSize(DWORD mask, DWORD size) {
    for (DWORD bit : kDeviceOrder) {
        IDirectInputDevice8* device = DeviceOf(mask & bit);
        if (device == nullptr) {
            continue;
        }
        device->Unacquire();
        DIPROPDWORD property{};
        property.diph.dwSize = sizeof(property);
        property.diph.dwHeaderSize = sizeof(DIPROPHEADER);
        property.diph.dwHow = DIPH_DEVICE;
        property.dwData = size;
        HRESULT result = device->SetProperty(DIPROP_BUFFERSIZE, &property.diph);
        if (FAILED(result)) {
            LogFailure("DIApplication::SetBufferSize", result);
            return result;
        }
    }
    return DI_OK;
}

IDirectInputDevice8* DIApplication::FirstDevice(DWORD mask) const {
    for (DWORD bit : kDeviceOrder) {
        if (IDirectInputDevice8* device = DeviceOf(mask & bit)) {
            return device;
        }
    }
    return nullptr;
}

DWORD DIApplication::GetBufferSize(DWORD mask) const {
    IDirectInputDevice8* device = FirstDevice(mask);
    if (device == nullptr) {
        return 0;
    }
    DIPROPDWORD property{};
    property.diph.dwSize = sizeof(property);
    property.diph.dwHeaderSize = sizeof(DIPROPHEADER);
    property.diph.dwHow = DIPH_DEVICE;
    return SUCCEEDED(device->GetProperty(DIPROP_BUFFERSIZE, &property.diph)) ? property.dwData : 0;
}

HRESULT DIApplication::GetBufferedCount(DWORD mask, DWORD* count) {
    if (count == nullptr) {
        return E_INVALIDARG;
    }
    *count = 0;
    IDirectInputDevice8* device = FirstDevice(mask);
    if (device == nullptr) {
        return E_FAIL;
    }
    DWORD waiting = kEveryEvent;
    const HRESULT result =
        device->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), nullptr, &waiting, DIGDD_PEEK);
    if (FAILED(result)) {
        LogFailure("DIApplication::GetBufferedCount", result);
        return result;
    }
    *count = waiting;
    return result;
}

HRESULT DIApplication::GetBufferedData(DWORD mask, DIDEVICEOBJECTDATA* data, DWORD* count) {
    if (data == nullptr || count == nullptr) {
        return E_INVALIDARG;
    }
    *count = 0;
    for (DWORD bit : kDeviceOrder) {
        IDirectInputDevice8* device = DeviceOf(mask & bit);
        if (device == nullptr) {
            continue;
        }
        DWORD taken = 1;
        HRESULT result = device->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), data, &taken, 0);
        if (FAILED(result)) {
            LogFailure("DIApplication::GetBufferedData", result);
            return result;
        }
        if (taken != 0) {
            *count = taken;
            return result;
        }
    }
    return DI_OK;
}

HRESULT DIApplication::GetBufferedDatas(DWORD mask, DIDEVICEOBJECTDATA* data, DWORD* count) {
    if (data == nullptr || count == nullptr) {
        return E_INVALIDARG;
    }
    IDirectInputDevice8* device = FirstDevice(mask);
    if (device == nullptr) {
        *count = 0;
        return E_FAIL;
    }
    const HRESULT result = device->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), data, count, 0);
    if (FAILED(result)) {
        LogFailure("DIApplication::GetBufferedDatas", result);
    }
    return result;
}

HRESULT DIApplication::ClearBuffer(DWORD mask) {
    for (DWORD bit : kDeviceOrder) {
        IDirectInputDevice8* device = DeviceOf(mask & bit);
        if (device == nullptr) {
            continue;
        }
        DWORD all = kEveryEvent;
        HRESULT result = device->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), nullptr, &all, 0);
        if (FAILED(result)) {
            LogFailure("DIApplication::ClearBuffer", result);
            return result;
        }
    }
    return DI_OK;
}
