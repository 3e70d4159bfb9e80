#include "platform/dsound/sound_device.h"

#include <new>
#include <vector>

#include "platform/dsound/output_drivers.h"
#include "platform/dsound/pcm_format.h"
#include "platform/dsound/primary_buffer.h"
#include "platform/dsound/secondary_buffer.h"
#include "platform/dsound/window_sound.h"

namespace dsound_detail {
namespace {

// The size of DSBUFFERDESC in 32-bit programs, where the format pointer has 4 bytes.
constexpr DWORD kBufferDescriptionSize32 = 36;

}  // namespace

SoundDevice::SoundDevice(std::shared_ptr<DeviceCore> core) : core_(std::move(core)) {}

SoundDevice::~SoundDevice() {
    core_->Retire();
}

HRESULT SoundDevice::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (riid == IID_IDirectSound8) {
        AddRef();
        *object = static_cast<IDirectSound8*>(this);
        return S_OK;
    }
    return E_NOINTERFACE;
}

HRESULT SoundDevice::SetCooperativeLevel(HWND window, DWORD level) {
    return core_->SetCooperativeLevel(window, level);
}

HRESULT SoundDevice::CreateSoundBuffer(LPCDSBUFFERDESC description, LPDIRECTSOUNDBUFFER* buffer,
                                       IUnknown* outer) {
    if (buffer == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    *buffer = nullptr;
    if (outer != nullptr) {
        return DSERR_NOAGGREGATION;
    }
    return CreateBufferOnCore(core_, description, buffer);
}

HRESULT CreateBufferOnCore(const std::shared_ptr<DeviceCore>& core, LPCDSBUFFERDESC description,
                           LPDIRECTSOUNDBUFFER* buffer) {
    if (buffer == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    *buffer = nullptr;
    if (description == nullptr || (description->dwSize != sizeof(DSBUFFERDESC) &&
                                   description->dwSize != kBufferDescriptionSize32)) {
        return DSERR_INVALIDPARAM;
    }
    if ((description->dwFlags & DSBCAPS_PRIMARYBUFFER) != 0) {
        if (description->dwBufferBytes != 0 || description->lpwfxFormat != nullptr) {
            return DSERR_INVALIDPARAM;
        }
        return PrimaryBuffer::Obtain(core, description->dwFlags, buffer);
    }
    if (const HRESULT check = CheckPcmFormat(description->lpwfxFormat); FAILED(check)) {
        return check;
    }
    const DSBUFFERDESC& wanted = *description;
    if (wanted.dwBufferBytes < DSBSIZE_MIN || wanted.dwBufferBytes > DSBSIZE_MAX ||
        wanted.dwBufferBytes < wanted.lpwfxFormat->nBlockAlign) {
        return DSERR_INVALIDPARAM;
    }
    // A 3-D sound has one channel and takes its direction from its position, not a pan.
    if ((wanted.dwFlags & DSBCAPS_CTRL3D) != 0 &&
        (wanted.lpwfxFormat->nChannels != 1 || (wanted.dwFlags & DSBCAPS_CTRLPAN) != 0)) {
        return DSERR_INVALIDPARAM;
    }
    std::shared_ptr<std::vector<BYTE>> memory;
    try {
        memory = std::make_shared<std::vector<BYTE>>(wanted.dwBufferBytes);
    } catch (const std::bad_alloc&) {
        return DSERR_OUTOFMEMORY;
    }
    auto* secondary = new (std::nothrow)
        SecondaryBuffer(core, wanted.dwFlags, ToMixFormat(*wanted.lpwfxFormat), std::move(memory));
    if (secondary == nullptr) {
        return DSERR_OUTOFMEMORY;
    }
    *buffer = secondary;
    return DS_OK;
}

HRESULT SoundDevice::DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER original,
                                          LPDIRECTSOUNDBUFFER* duplicate) {
    if (duplicate == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    *duplicate = nullptr;
    if (dynamic_cast<PrimaryBuffer*>(original) != nullptr) {
        return DSERR_INVALIDCALL;
    }
    auto* secondary = dynamic_cast<SecondaryBuffer*>(original);
    if (secondary == nullptr || &secondary->core() != core_.get()) {
        return DSERR_INVALIDPARAM;
    }
    SecondaryBuffer* copy = secondary->Duplicate();
    if (copy == nullptr) {
        return DSERR_OUTOFMEMORY;
    }
    *duplicate = copy;
    return DS_OK;
}

}  // namespace dsound_detail

HRESULT DirectSoundCreate8(const GUID* device, LPDIRECTSOUND8* sound, IUnknown* outer) {
    using namespace dsound_detail;
    if (sound == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    *sound = nullptr;
    if (outer != nullptr) {
        return DSERR_NOAGGREGATION;
    }
    if (const HRESULT forced = ForcedCreateFailure(); FAILED(forced)) {
        return forced;
    }
    const std::optional<OutputTarget> target = FindOutputTarget(device);
    if (!target) {
        return DSERR_NODRIVER;
    }
    std::shared_ptr<DeviceCore> core = DeviceCore::Create(*target);
    if (!core) {
        return DSERR_NODRIVER;
    }
    auto* created = new (std::nothrow) SoundDevice(std::move(core));
    if (created == nullptr) {
        return DSERR_OUTOFMEMORY;
    }
    *sound = created;
    return DS_OK;
}

HRESULT DSoundCreateBufferForWindow(HWND window, LPCDSBUFFERDESC description,
                                    LPDIRECTSOUNDBUFFER* buffer) {
    if (buffer == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    *buffer = nullptr;
    std::shared_ptr<dsound_detail::DeviceCore> core =
        dsound_detail::NewestLiveDeviceOfWindow(window);
    if (!core) {
        return DSERR_NODRIVER;
    }
    return dsound_detail::CreateBufferOnCore(core, description, buffer);
}

HRESULT DirectSoundEnumerateA(LPDSENUMCALLBACKA callback, LPVOID context) {
    if (callback == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    if (!callback(nullptr, "Primary Sound Driver", "", context)) {
        return DS_OK;
    }
    for (dsound_detail::OutputDriver& driver : dsound_detail::ListOutputDrivers()) {
        if (!callback(&driver.guid, driver.description.c_str(), driver.module.c_str(), context)) {
            break;
        }
    }
    return DS_OK;
}
