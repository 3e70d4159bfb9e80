// Polling, the state accessors and the buffered-data calls of DIApplication.

#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>

#include "foundation/log.h"
#include "media/input/di_application.h"
#include "platform/d3dx/error_names.h"
#include "platform/dinput/dik_codes.h"

namespace {

constexpr DWORD kDeviceOrder[] = {kDIKeyboardBit, kDIMouseBit, kDIPadBit};

// As many events as a device holds.
constexpr DWORD kEveryEvent = 0xFFFFFFFFu;

void LogFailure(const char* where, HRESULT result) {
    LogPrintf("%s: %s", where, DXGetErrorString9(result));
}

// Where one device's state and its keys or buttons (bit 7 = down) are kept.
struct StateLayout {
    void* state;
    void* previous;
    DWORD size;
    BYTE* buttons;
    std::size_t buttonCount;
};

// Polls the device and reads its state; *reacquired when it had to be acquired again first.
HRESULT ReadState(IDirectInputDevice8* device, void* state, DWORD size, bool* reacquired) {
    *reacquired = false;
    HRESULT result = device->Poll();
    if (FAILED(result)) {
        result = device->Acquire();
        *reacquired = result == DI_OK;
    }
    if (SUCCEEDED(result)) {
        result = device->GetDeviceState(size, state);
    }
    return result;
}

bool Down(BYTE value) {
    return (value & 0x80) != 0;
}

bool InRange(int index, int count) {
    return index >= 0 && index < count;
}

// An Enter that goes down while an Alt key is held is the game window's Alt+Enter command.
constexpr BYTE kAltKeys[] = {DIK_LMENU, DIK_RMENU};
constexpr BYTE kEnterKeys[] = {DIK_RETURN, DIK_NUMPADENTER};

StateLayout LayoutOf(DIApplication& app, DWORD bit) {
    if (bit == kDIKeyboardBit) {
        return {app.keys, app.previousKeys, sizeof(app.keys), app.keys, std::size(app.keys)};
    }
    if (bit == kDIMouseBit) {
        return {&app.mouseState, &app.previousMouseState, sizeof(app.mouseState),
                app.mouseState.rgbButtons, std::size(app.mouseState.rgbButtons)};
    }
    return {&app.padState, &app.previousPadState, sizeof(app.padState), app.padState.rgbButtons,
            std::size(app.padState.rgbButtons)};
}

}  // namespace

DIApplication::HeldOver& DIApplication::HeldOverOf(DWORD bit) {
    return bit == kDIKeyboardBit
               ? keysHeldOver_
               : (bit == kDIMouseBit ? mouseButtonsHeldOver_ : padButtonsHeldOver_);
}

void DIApplication::FilterHeldOver(DWORD bit, bool holdOver) {
    if (bit == kDIMouseBit && buttonsSwapped != 0) {
        std::swap(mouseState.rgbButtons[0], mouseState.rgbButtons[1]);
    }
    HeldOver& held = HeldOverOf(bit);
    const StateLayout layout = LayoutOf(*this, bit);
    if (holdOver || held.pending) {
        for (std::size_t i = 0; i < layout.buttonCount; ++i) {
            held.buttons[i] = held.buttons[i] || Down(layout.buttons[i]);
        }
        held.pending = false;
    }
    if (bit == kDIKeyboardBit && std::any_of(std::begin(kAltKeys), std::end(kAltKeys),
                                             [&](BYTE k) { return Down(keys[k]); })) {
        for (BYTE enter : kEnterKeys) {
            if (Down(keys[enter]) && !Down(previousKeys[enter])) {
                held.buttons.set(enter);
            }
        }
    }
    for (std::size_t i = 0; i < layout.buttonCount; ++i) {
        if (!Down(layout.buttons[i])) {
            held.buttons.reset(i);
        } else if (held.buttons.test(i)) {
            layout.buttons[i] = 0;
        }
    }
}

HRESULT DIApplication::Poll(DWORD mask) {
    HRESULT first = DI_OK;
    for (DWORD bit : kDeviceOrder) {
        IDirectInputDevice8* device = DeviceOf(mask & bit);
        if (device == nullptr) {
            continue;
        }
        const StateLayout layout = LayoutOf(*this, bit);
        std::memcpy(layout.previous, layout.state, layout.size);
        bool reacquired = false;
        const HRESULT result = ReadState(device, layout.state, layout.size, &reacquired);
        if (SUCCEEDED(result)) {
            FilterHeldOver(bit, reacquired);
            continue;
        }
        // Nothing reads as held; what is held when it reads again went down elsewhere.
        std::memset(layout.state, 0, layout.size);
        HeldOverOf(bit).pending = true;
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

void DIApplication::ForgetHeldInput(DWORD mask) {
    for (DWORD bit : kDeviceOrder) {
        IDirectInputDevice8* device = DeviceOf(mask & bit);
        if (device == nullptr) {
            continue;
        }
        const StateLayout layout = LayoutOf(*this, bit);
        // Read aside: the state the game reads stays that of the last poll, but for what is
        // held over now.
        alignas(DIJOYSTATE2) BYTE now[sizeof(DIJOYSTATE2)] = {};
        static_assert(sizeof(now) >= sizeof(keys) && sizeof(now) >= sizeof(DIMOUSESTATE2));
        bool reacquired = false;
        HeldOver& held = HeldOverOf(bit);
        if (FAILED(ReadState(device, now, layout.size, &reacquired))) {
            held.pending = true;
            continue;
        }
        const std::size_t offset =
            static_cast<std::size_t>(layout.buttons - static_cast<BYTE*>(layout.state));
        BYTE* buttons = now + offset;
        if (bit == kDIMouseBit && buttonsSwapped != 0) {
            std::swap(buttons[0], buttons[1]);
        }
        for (std::size_t i = 0; i < layout.buttonCount; ++i) {
            if (Down(buttons[i])) {
                held.buttons.set(i);
                layout.buttons[i] = 0;
            }
        }
        held.pending = false;
    }
}

void DIApplication::MarkInputRead() {
    std::memcpy(previousKeys, keys, sizeof(keys));
    std::memcpy(previousMouseState.rgbButtons, mouseState.rgbButtons,
                sizeof(mouseState.rgbButtons));
    mouseState.lX = 0;
    mouseState.lY = 0;
    mouseState.lZ = 0;
    std::memcpy(previousPadState.rgbButtons, padState.rgbButtons, sizeof(padState.rgbButtons));
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
