#include "platform/dinput/input_device.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/dinput/app_activation.h"
#include "platform/dinput/device_factories.h"
#include "platform/winbase/code_page.h"

namespace {

constexpr GUID kIidIUnknown = {
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// The DirectX 3 size of DIDEVICEOBJECTDATA, without uAppData.
constexpr DWORD kObjectDataSizeV3 = 16;

bool IsPropertyId(const GUID& property) {
    GUID numberOnly = MAKEDIPROP(property.Data1);
    return property == numberOnly;
}

bool SameFormat(const DIDATAFORMAT& a, const DIDATAFORMAT& b) {
    return a.dwSize == b.dwSize && a.dwObjSize == b.dwObjSize && a.dwFlags == b.dwFlags &&
           a.dwDataSize == b.dwDataSize && a.dwNumObjs == b.dwNumObjs && a.rgodf == b.rgodf;
}

}  // namespace

bool ObjectTypeMatches(DWORD objectType, DWORD flags) {
    DWORD wanted = DIDFT_GETTYPE(flags);
    return wanted == 0 || (DIDFT_GETTYPE(objectType) & wanted) != 0;
}

void CopyDeviceName(CHAR (&field)[MAX_PATH], const std::string& utf8) {
    std::optional<std::string> converted = Utf8ToCp932(utf8);
    std::string sjis;
    if (converted) {
        sjis = std::move(*converted);
    } else {
        for (unsigned char c : utf8) {
            if (c < 0x80) {
                sjis.push_back(static_cast<char>(c));
            } else if ((c & 0xC0) != 0x80) {
                sjis.push_back('?');
            }
        }
    }
    std::size_t length = 0;
    while (length < sjis.size()) {
        std::size_t step = Cp932CharLength(sjis, length);
        if (step == 0 || length + step > MAX_PATH - 1) {
            break;
        }
        length += step;
    }
    std::memcpy(field, sjis.data(), length);
    field[length] = '\0';
}

InputDevice::InputDevice(std::shared_ptr<InputState> state) : state_(std::move(state)) {
    state_->AddObserver(this);
}

InputDevice::~InputDevice() {
    if (holdsExclusive_) {
        state_->ReleaseExclusive(exclusiveGuid_, this);
    }
    state_->RemoveObserver(this);
}

HRESULT InputDevice::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (iid == IID_IDirectInputDevice8A || iid == kIidIUnknown) {
        AddRef();
        *object = static_cast<IDirectInputDevice8A*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG InputDevice::AddRef() {
    return ++references_;
}

ULONG InputDevice::Release() {
    ULONG left = --references_;
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT InputDevice::GetCapabilities(LPDIDEVCAPS caps) {
    if (caps == nullptr || caps->dwSize != sizeof(DIDEVCAPS)) {
        return DIERR_INVALIDPARAM;
    }
    *caps = DIDEVCAPS{};
    caps->dwSize = sizeof(DIDEVCAPS);
    FillCapabilities(*caps);
    if (IsAttached()) {
        caps->dwFlags |= DIDC_ATTACHED;
    } else {
        caps->dwFlags &= ~DIDC_ATTACHED;
    }
    return DI_OK;
}

HRESULT InputDevice::EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACKA callback, LPVOID context,
                                 DWORD flags) {
    if (callback == nullptr) {
        return DIERR_INVALIDPARAM;
    }
    // A copy: the callback may change properties or release other devices.
    std::vector<DeviceObject> objects = Objects();
    for (const DeviceObject& object : objects) {
        if (!ObjectTypeMatches(object.type, flags)) {
            continue;
        }
        DIDEVICEOBJECTINSTANCEA instance{};
        instance.dwSize = sizeof(instance);
        instance.guidType = *object.guidType;
        instance.dwOfs = object.offset;
        instance.dwType = object.type;
        CopyDeviceName(instance.tszName, object.name);
        if (callback(&instance, context) == DIENUM_STOP) {
            break;
        }
    }
    return DI_OK;
}

HRESULT InputDevice::FindObject(const DIPROPHEADER& header, const DeviceObject** object) const {
    *object = nullptr;
    switch (header.dwHow) {
        case DIPH_DEVICE:
            return header.dwObj == 0 ? DI_OK : DIERR_INVALIDPARAM;
        case DIPH_BYOFFSET:
            for (const DeviceObject& candidate : Objects()) {
                if (candidate.offset == header.dwObj) {
                    *object = &candidate;
                    return DI_OK;
                }
            }
            return DIERR_OBJECTNOTFOUND;
        case DIPH_BYID:
            for (const DeviceObject& candidate : Objects()) {
                if ((candidate.type & 0x00FFFFFF) == (header.dwObj & 0x00FFFFFF)) {
                    *object = &candidate;
                    return DI_OK;
                }
            }
            return DIERR_OBJECTNOTFOUND;
        case DIPH_BYUSAGE:
            return DIERR_UNSUPPORTED;
        default:
            return DIERR_INVALIDPARAM;
    }
}

HRESULT InputDevice::CheckPropertyCall(REFGUID property, const DIPROPHEADER* header,
                                       const DeviceObject** object) const {
    *object = nullptr;
    if (header == nullptr || header->dwHeaderSize != sizeof(DIPROPHEADER)) {
        return DIERR_INVALIDPARAM;
    }
    if (!IsPropertyId(property)) {
        return DIERR_UNSUPPORTED;
    }
    if (HRESULT hr = FindObject(*header, object); FAILED(hr)) {
        return hr;
    }
    if (property == DIPROP_BUFFERSIZE &&
        (*object != nullptr || header->dwSize != sizeof(DIPROPDWORD))) {
        return DIERR_INVALIDPARAM;
    }
    return DI_OK;
}

HRESULT InputDevice::GetProperty(REFGUID property, LPDIPROPHEADER header) {
    const DeviceObject* object = nullptr;
    if (HRESULT hr = CheckPropertyCall(property, header, &object); FAILED(hr)) {
        return hr;
    }
    if (property == DIPROP_BUFFERSIZE) {
        reinterpret_cast<DIPROPDWORD*>(header)->dwData = bufferSize_;
        return DI_OK;
    }
    return GetKindProperty(property.Data1, *header, object);
}

HRESULT InputDevice::SetProperty(REFGUID property, LPCDIPROPHEADER header) {
    const DeviceObject* object = nullptr;
    if (HRESULT hr = CheckPropertyCall(property, header, &object); FAILED(hr)) {
        return hr;
    }
    if (property == DIPROP_BUFFERSIZE) {
        SyncAcquisition();
        if (acquired_) {
            return DIERR_ACQUIRED;
        }
        bufferSize_ = reinterpret_cast<const DIPROPDWORD*>(header)->dwData;
        while (buffer_.size() > bufferSize_) {
            buffer_.pop_front();
        }
        return DI_OK;
    }
    return SetKindProperty(property.Data1, *header, object);
}

HRESULT InputDevice::GetKindProperty(DWORD, DIPROPHEADER&, const DeviceObject*) {
    return DIERR_UNSUPPORTED;
}

HRESULT InputDevice::SetKindProperty(DWORD, const DIPROPHEADER&, const DeviceObject*) {
    return DIERR_UNSUPPORTED;
}

void InputDevice::DropAcquisition(bool lost) {
    if (holdsExclusive_) {
        state_->ReleaseExclusive(exclusiveGuid_, this);
        holdsExclusive_ = false;
    }
    acquired_ = false;
    lost_ = lost;
    wentDown_.reset();
    wentDownBeforeAcquire_.reset();
    hiddenForOneRead_.reset();
}

void InputDevice::SyncAcquisition() {
    if (!acquired_) {
        return;
    }
    bool foreground = (cooperativeLevel_ & DISCL_FOREGROUND) != 0;
    bool deactivated = foreground && (!DInputIsInForeground(cooperativeWindow_) ||
                                      DInputDeactivationCount() != acquiredAtDeactivation_);
    if (deactivated || !IsAttached() || Connection() != acquiredConnection_) {
        DropAcquisition(true);
    }
}

HRESULT InputDevice::Acquire() {
    if (format_ == nullptr) {
        return DIERR_INVALIDPARAM;
    }
    SyncAcquisition();
    if (!IsAttached()) {
        return DIERR_UNPLUGGED;
    }
    if ((cooperativeLevel_ & DISCL_FOREGROUND) != 0 && !DInputIsInForeground(cooperativeWindow_)) {
        return DIERR_OTHERAPPHASPRIO;
    }
    if (acquired_) {
        return DI_NOEFFECT;
    }
    if ((cooperativeLevel_ & DISCL_EXCLUSIVE) != 0) {
        if (IsHeldElsewhere() || !state_->ClaimExclusive(DeviceGuid(), this)) {
            return DIERR_OTHERAPPHASPRIO;
        }
        holdsExclusive_ = true;
        exclusiveGuid_ = DeviceGuid();
    }
    acquired_ = true;
    lost_ = false;
    acquiredAtDeactivation_ = DInputDeactivationCount();
    acquiredConnection_ = Connection();
    buffer_.clear();
    overflowed_ = false;
    wentDown_.reset();
    // What went down after the window came back shows from the second read on: the first read
    // is the state taken over from the time without input, whose held keys count as no press.
    hiddenForOneRead_ = wentDownBeforeAcquire_;
    wentDownBeforeAcquire_.reset();
    OnAcquired();
    return DI_OK;
}

HRESULT InputDevice::Unacquire() {
    SyncAcquisition();
    if (!acquired_) {
        lost_ = false;
        return DI_NOEFFECT;
    }
    DropAcquisition(false);
    return DI_OK;
}

HRESULT InputDevice::ReadCheck() {
    SyncAcquisition();
    if (!IsAttached()) {
        return DIERR_UNPLUGGED;
    }
    if ((cooperativeLevel_ & DISCL_FOREGROUND) != 0 && !DInputIsInForeground(cooperativeWindow_)) {
        return DIERR_OTHERAPPHASPRIO;
    }
    if (!acquired_) {
        return lost_ ? DIERR_INPUTLOST : DIERR_NOTACQUIRED;
    }
    return DI_OK;
}

HRESULT InputDevice::GetDeviceState(DWORD size, LPVOID data) {
    if (data == nullptr || (format_ != nullptr && size != format_->dwDataSize)) {
        return DIERR_INVALIDPARAM;
    }
    if (HRESULT hr = ReadCheck(); FAILED(hr)) {
        return hr;
    }
    ReadState(static_cast<BYTE*>(data));
    wentDown_ = hiddenForOneRead_;
    hiddenForOneRead_.reset();
    return DI_OK;
}

HRESULT InputDevice::GetDeviceData(DWORD objectDataSize, LPDIDEVICEOBJECTDATA data, LPDWORD inOut,
                                   DWORD flags) {
    if (inOut == nullptr ||
        (objectDataSize != sizeof(DIDEVICEOBJECTDATA) && objectDataSize != kObjectDataSizeV3) ||
        (flags & ~DIGDD_PEEK) != 0) {
        return DIERR_INVALIDPARAM;
    }
    if (bufferSize_ == 0) {
        return DIERR_NOTBUFFERED;
    }
    if (HRESULT hr = ReadCheck(); FAILED(hr)) {
        return hr;
    }
    bool peek = (flags & DIGDD_PEEK) != 0;
    std::size_t count = std::min<std::size_t>(*inOut, buffer_.size());
    if (data != nullptr) {
        auto* out = reinterpret_cast<BYTE*>(data);
        for (std::size_t i = 0; i < count; ++i) {
            std::memcpy(out + i * objectDataSize, &buffer_[i], objectDataSize);
        }
    }
    HRESULT result = overflowed_ ? DI_BUFFEROVERFLOW : DI_OK;
    if (!peek) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(count));
        overflowed_ = false;
    }
    *inOut = static_cast<DWORD>(count);
    return result;
}

void InputDevice::OnInputEvent(const InputEvent& event) {
    if (format_ == nullptr) {
        return;
    }
    const int pressed = PressedObject(event);
    const bool pressedObject = pressed >= 0 && pressed < static_cast<int>(wentDown_.size());
    if (ReadCheck() != DI_OK) {
        // A device that lost its acquisition to another window keeps what goes down once its
        // window is active again, until it is acquired again: the quick click that brings the
        // window back is the first thing the player does there.
        if (pressedObject && lost_ && (cooperativeLevel_ & DISCL_FOREGROUND) != 0 &&
            DInputIsInForeground(cooperativeWindow_)) {
            wentDownBeforeAcquire_.set(static_cast<std::size_t>(pressed));
        }
        return;
    }
    if (pressedObject) {
        wentDown_.set(static_cast<std::size_t>(pressed));
    }
    if (bufferSize_ == 0) {
        return;
    }
    DIDEVICEOBJECTDATA data{};
    if (!ToObjectData(event, data) || data.dwOfs >= format_->dwDataSize) {
        return;
    }
    data.dwTimeStamp = event.timeMs;
    data.dwSequence = event.sequence;
    buffer_.push_back(data);
    if (buffer_.size() > bufferSize_) {
        // The oldest event is dropped; the next read reports the overflow.
        buffer_.pop_front();
        overflowed_ = true;
    }
}

HRESULT InputDevice::SetDataFormat(LPCDIDATAFORMAT format) {
    if (format == nullptr) {
        return DIERR_INVALIDPARAM;
    }
    SyncAcquisition();
    if (acquired_) {
        return DIERR_ACQUIRED;
    }
    for (const DIDATAFORMAT* known :
         {&c_dfDIKeyboard, &c_dfDIMouse, &c_dfDIMouse2, &c_dfDIJoystick, &c_dfDIJoystick2}) {
        if ((format == known || SameFormat(*format, *known)) && AcceptsFormat(*known)) {
            format_ = known;
            buffer_.clear();
            overflowed_ = false;
            return DI_OK;
        }
    }
    return DIERR_INVALIDPARAM;
}

HRESULT InputDevice::SetCooperativeLevel(HWND window, DWORD flags) {
    constexpr DWORD known =
        DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE | DISCL_FOREGROUND | DISCL_BACKGROUND | DISCL_NOWINKEY;
    DWORD access = flags & (DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE);
    DWORD focus = flags & (DISCL_FOREGROUND | DISCL_BACKGROUND);
    if ((flags & ~known) != 0 || access == 0 || access == (DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE) ||
        focus == 0 || focus == (DISCL_FOREGROUND | DISCL_BACKGROUND)) {
        return DIERR_INVALIDPARAM;
    }
    // Foreground and exclusive access follow a window.
    if (window == nullptr && flags != (DISCL_NONEXCLUSIVE | DISCL_BACKGROUND)) {
        return DIERR_INVALIDPARAM;
    }
    SyncAcquisition();
    if (acquired_) {
        return DIERR_ACQUIRED;
    }
    if (HRESULT hr = CheckCooperativeLevel(flags); FAILED(hr)) {
        return hr;
    }
    cooperativeLevel_ = flags;
    cooperativeWindow_ = window;
    return DI_OK;
}

HRESULT InputDevice::GetDeviceInfo(LPDIDEVICEINSTANCEA instance) {
    if (instance == nullptr || instance->dwSize != sizeof(DIDEVICEINSTANCEA)) {
        return DIERR_INVALIDPARAM;
    }
    *instance = DIDEVICEINSTANCEA{};
    instance->dwSize = sizeof(DIDEVICEINSTANCEA);
    FillInstance(*instance);
    return DI_OK;
}

HRESULT InputDevice::Poll() {
    if (format_ == nullptr) {
        return DIERR_NOTACQUIRED;
    }
    if (HRESULT hr = ReadCheck(); FAILED(hr)) {
        return hr;
    }
    return PollResult();
}
