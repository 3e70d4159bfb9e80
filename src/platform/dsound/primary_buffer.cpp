#include "platform/dsound/primary_buffer.h"

#include <cmath>
#include <new>

#include "platform/dsound/pcm_format.h"

namespace dsound_detail {

PrimaryBuffer::PrimaryBuffer(std::shared_ptr<DeviceCore> core, DWORD capabilities)
    : core_(std::move(core)), capabilities_(capabilities) {}

HRESULT PrimaryBuffer::Obtain(const std::shared_ptr<DeviceCore>& core, DWORD capabilities,
                              LPDIRECTSOUNDBUFFER* buffer) {
    std::lock_guard lock(core->primaryMutex());
    PrimaryBuffer*& primary = core->primaryLocked();
    if (primary != nullptr) {
        ++primary->references_;
        *buffer = primary;
        return DS_OK;
    }
    primary = new (std::nothrow) PrimaryBuffer(core, capabilities);
    if (primary == nullptr) {
        return DSERR_OUTOFMEMORY;
    }
    *buffer = primary;
    return DS_OK;
}

ULONG PrimaryBuffer::AddRef() {
    std::lock_guard lock(core_->primaryMutex());
    return ++references_;
}

ULONG PrimaryBuffer::Release() {
    std::shared_ptr<DeviceCore> core = core_;
    ULONG left;
    {
        std::lock_guard lock(core->primaryMutex());
        left = --references_;
        if (left == 0) {
            core->primaryLocked() = nullptr;
        }
    }
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT PrimaryBuffer::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (riid == IID_IDirectSoundBuffer || riid == IID_IDirectSoundBuffer8) {
        AddRef();
        *object = static_cast<IDirectSoundBuffer8*>(this);
        return S_OK;
    }
    if (riid == IID_IDirectSound3DListener) {
        auto* listener = new (std::nothrow) Listener3D(this);
        if (listener == nullptr) {
            return E_OUTOFMEMORY;
        }
        *object = static_cast<IDirectSound3DListener*>(listener);
        return S_OK;
    }
    return E_NOINTERFACE;
}

HRESULT PrimaryBuffer::GetCurrentPosition(DWORD* /*playCursor*/, DWORD* /*writeCursor*/) {
    return DSERR_UNSUPPORTED;
}

HRESULT PrimaryBuffer::GetFormat(LPWAVEFORMATEX format, DWORD sizeAllocated, DWORD* sizeWritten) {
    return CopyFormatOut(core_->primaryFormat(), format, sizeAllocated, sizeWritten);
}

HRESULT PrimaryBuffer::SetFormat(LPCWAVEFORMATEX format) {
    return core_->SetPrimaryFormat(format);
}

HRESULT PrimaryBuffer::GetVolume(LONG* volume) {
    if (volume == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    if ((capabilities_ & DSBCAPS_CTRLVOLUME) == 0) {
        return DSERR_CONTROLUNAVAIL;
    }
    std::lock_guard lock(core_->mixer().mutex());
    *volume = core_->mixer().masterVolumeLocked();
    return DS_OK;
}

HRESULT PrimaryBuffer::SetVolume(LONG volume) {
    if ((capabilities_ & DSBCAPS_CTRLVOLUME) == 0) {
        return DSERR_CONTROLUNAVAIL;
    }
    if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) {
        return DSERR_INVALIDPARAM;
    }
    std::lock_guard lock(core_->mixer().mutex());
    core_->mixer().SetMasterVolumeLocked(volume);
    return DS_OK;
}

HRESULT PrimaryBuffer::GetPan(LONG* /*pan*/) {
    return DSERR_CONTROLUNAVAIL;
}

HRESULT PrimaryBuffer::SetPan(LONG /*pan*/) {
    return DSERR_CONTROLUNAVAIL;
}

HRESULT PrimaryBuffer::GetFrequency(DWORD* /*frequency*/) {
    return DSERR_CONTROLUNAVAIL;
}

HRESULT PrimaryBuffer::SetFrequency(DWORD /*frequency*/) {
    return DSERR_CONTROLUNAVAIL;
}

HRESULT PrimaryBuffer::GetStatus(DWORD* status) {
    if (status == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    *status = playing_ ? (DSBSTATUS_PLAYING | DSBSTATUS_LOOPING) : 0;
    return DS_OK;
}

HRESULT PrimaryBuffer::Lock(DWORD, DWORD, LPVOID*, DWORD*, LPVOID*, DWORD*, DWORD) {
    return DSERR_PRIOLEVELNEEDED;
}

HRESULT PrimaryBuffer::Unlock(LPVOID, DWORD, LPVOID, DWORD) {
    return DSERR_PRIOLEVELNEEDED;
}

// The output runs while the device lives; playing the primary buffer only marks it so.
HRESULT PrimaryBuffer::Play(DWORD reserved, DWORD /*priority*/, DWORD flags) {
    if (reserved != 0 || (flags & DSBPLAY_LOOPING) == 0) {
        return DSERR_INVALIDPARAM;
    }
    playing_ = true;
    return DS_OK;
}

HRESULT PrimaryBuffer::Stop() {
    playing_ = false;
    return DS_OK;
}

HRESULT PrimaryBuffer::SetCurrentPosition(DWORD /*position*/) {
    return DSERR_INVALIDCALL;
}

Listener3D::Listener3D(PrimaryBuffer* primary) : primary_(primary) {
    primary_->AddRef();
}

Listener3D::~Listener3D() {
    primary_->Release();
}

HRESULT Listener3D::QueryInterface(REFIID riid, void** object) {
    return primary_->QueryInterface(riid, object);
}

HRESULT Listener3D::GetPosition(D3DVECTOR* position) {
    if (position == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    PcmMixer& mixer = primary_->core().mixer();
    std::lock_guard lock(mixer.mutex());
    *position = mixer.listenerLocked().position;
    return DS_OK;
}

HRESULT Listener3D::SetPosition(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD apply) {
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z) ||
        (apply != DS3D_IMMEDIATE && apply != DS3D_DEFERRED)) {
        return DSERR_INVALIDPARAM;
    }
    PcmMixer& mixer = primary_->core().mixer();
    std::lock_guard lock(mixer.mutex());
    if (apply == DS3D_IMMEDIATE) {
        mixer.SetListenerPositionLocked(D3DVECTOR{x, y, z});
    } else {
        mixer.SetPendingListenerPositionLocked(D3DVECTOR{x, y, z});
    }
    return DS_OK;
}

HRESULT Listener3D::CommitDeferredSettings() {
    PcmMixer& mixer = primary_->core().mixer();
    std::lock_guard lock(mixer.mutex());
    mixer.CommitDeferredLocked();
    return DS_OK;
}

}  // namespace dsound_detail
