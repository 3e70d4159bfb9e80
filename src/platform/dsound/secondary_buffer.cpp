#include "platform/dsound/secondary_buffer.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/dsound/pcm_format.h"
#include "platform/dsound/sound_3d_buffer.h"

namespace dsound_detail {

SecondaryBuffer::SecondaryBuffer(std::shared_ptr<DeviceCore> core, DWORD capabilities,
                                 const MixFormat& format, std::shared_ptr<std::vector<BYTE>> memory)
    : core_(std::move(core)) {
    voice_.memory = std::move(memory);
    voice_.format = format;
    voice_.frameCount = static_cast<DWORD>(voice_.memory->size() / format.blockAlign);
    voice_.capabilities = capabilities;
    voice_.frequency = format.samplesPerSec;
    PcmMixer& mixer = core_->mixer();
    std::lock_guard lock(mixer.mutex());
    mixer.AttachLocked(&voice_);
}

SecondaryBuffer::~SecondaryBuffer() {
    PcmMixer& mixer = core_->mixer();
    std::lock_guard lock(mixer.mutex());
    mixer.DetachLocked(&voice_);
}

SecondaryBuffer* SecondaryBuffer::Duplicate() {
    std::shared_ptr<std::vector<BYTE>> memory;
    MixFormat format;
    DWORD capabilities;
    DWORD frequency;
    LONG volume;
    LONG pan;
    Placement3D placement;
    {
        std::lock_guard lock(core_->mixer().mutex());
        memory = voice_.memory;
        format = voice_.format;
        capabilities = voice_.capabilities;
        frequency = voice_.frequency;
        volume = voice_.volume;
        pan = voice_.pan;
        placement = voice_.placement;
    }
    auto* duplicate = new (std::nothrow) SecondaryBuffer(core_, capabilities, format, memory);
    if (duplicate == nullptr) {
        return nullptr;
    }
    std::lock_guard lock(core_->mixer().mutex());
    duplicate->voice_.frequency = frequency;
    duplicate->voice_.volume = volume;
    duplicate->voice_.pan = pan;
    duplicate->voice_.placement = placement;
    return duplicate;
}

HRESULT SecondaryBuffer::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (riid == IID_IDirectSoundBuffer || riid == IID_IDirectSoundBuffer8) {
        AddRef();
        *object = static_cast<IDirectSoundBuffer8*>(this);
        return S_OK;
    }
    if (riid == IID_IDirectSound3DBuffer && has(DSBCAPS_CTRL3D)) {
        auto* interface3d = new (std::nothrow) Sound3DBuffer(this);
        if (interface3d == nullptr) {
            return E_OUTOFMEMORY;
        }
        *object = static_cast<IDirectSound3DBuffer*>(interface3d);
        return S_OK;
    }
    return E_NOINTERFACE;
}

DWORD SecondaryBuffer::writeCursorLocked() const {
    const DWORD play = voice_.playCursorBytes();
    if (!voice_.playing) {
        return play;
    }
    // The frame after the play cursor may still be read for interpolation.
    return (play + voice_.format.blockAlign) % ringBytesLocked();
}

HRESULT SecondaryBuffer::GetCurrentPosition(DWORD* playCursor, DWORD* writeCursor) {
    if (playCursor == nullptr && writeCursor == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    std::lock_guard lock(core_->mixer().mutex());
    if (playCursor != nullptr) {
        *playCursor = voice_.playCursorBytes();
    }
    if (writeCursor != nullptr) {
        *writeCursor = writeCursorLocked();
    }
    return DS_OK;
}

HRESULT SecondaryBuffer::GetFormat(LPWAVEFORMATEX format, DWORD sizeAllocated, DWORD* sizeWritten) {
    return CopyFormatOut(ToWaveFormat(voice_.format), format, sizeAllocated, sizeWritten);
}

HRESULT SecondaryBuffer::GetVolume(LONG* volume) {
    if (volume == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    if (!has(DSBCAPS_CTRLVOLUME)) {
        return DSERR_CONTROLUNAVAIL;
    }
    std::lock_guard lock(core_->mixer().mutex());
    *volume = voice_.volume;
    return DS_OK;
}

HRESULT SecondaryBuffer::SetVolume(LONG volume) {
    if (!has(DSBCAPS_CTRLVOLUME)) {
        return DSERR_CONTROLUNAVAIL;
    }
    if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) {
        return DSERR_INVALIDPARAM;
    }
    std::lock_guard lock(core_->mixer().mutex());
    voice_.volume = volume;
    return DS_OK;
}

HRESULT SecondaryBuffer::GetPan(LONG* pan) {
    if (pan == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    if (!has(DSBCAPS_CTRLPAN)) {
        return DSERR_CONTROLUNAVAIL;
    }
    std::lock_guard lock(core_->mixer().mutex());
    *pan = voice_.pan;
    return DS_OK;
}

HRESULT SecondaryBuffer::SetPan(LONG pan) {
    if (!has(DSBCAPS_CTRLPAN)) {
        return DSERR_CONTROLUNAVAIL;
    }
    if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT) {
        return DSERR_INVALIDPARAM;
    }
    std::lock_guard lock(core_->mixer().mutex());
    voice_.pan = pan;
    return DS_OK;
}

HRESULT SecondaryBuffer::GetFrequency(DWORD* frequency) {
    if (frequency == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    if (!has(DSBCAPS_CTRLFREQUENCY)) {
        return DSERR_CONTROLUNAVAIL;
    }
    std::lock_guard lock(core_->mixer().mutex());
    *frequency = voice_.frequency;
    return DS_OK;
}

HRESULT SecondaryBuffer::SetFrequency(DWORD frequency) {
    if (!has(DSBCAPS_CTRLFREQUENCY)) {
        return DSERR_CONTROLUNAVAIL;
    }
    if (frequency == DSBFREQUENCY_ORIGINAL) {
        frequency = voice_.format.samplesPerSec;
    }
    if (frequency < DSBFREQUENCY_MIN || frequency > DSBFREQUENCY_MAX) {
        return DSERR_INVALIDPARAM;
    }
    std::lock_guard lock(core_->mixer().mutex());
    voice_.frequency = frequency;
    return DS_OK;
}

HRESULT SecondaryBuffer::GetStatus(DWORD* status) {
    if (status == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    std::lock_guard lock(core_->mixer().mutex());
    *status = 0;
    if (voice_.playing) {
        *status |= DSBSTATUS_PLAYING;
        if (voice_.looping) {
            *status |= DSBSTATUS_LOOPING;
        }
    }
    return DS_OK;
}

HRESULT SecondaryBuffer::Lock(DWORD offset, DWORD bytes, LPVOID* part1, DWORD* bytes1,
                              LPVOID* part2, DWORD* bytes2, DWORD flags) {
    if (part1 == nullptr || bytes1 == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    std::lock_guard lock(core_->mixer().mutex());
    std::vector<BYTE>& memory = *voice_.memory;
    const auto size = static_cast<DWORD>(memory.size());
    if ((flags & DSBLOCK_FROMWRITECURSOR) != 0) {
        offset = writeCursorLocked();
    }
    if ((flags & DSBLOCK_ENTIREBUFFER) != 0) {
        bytes = size;
    }
    if (offset >= size || bytes == 0 || bytes > size) {
        return DSERR_INVALIDPARAM;
    }
    const DWORD length1 = std::min(bytes, size - offset);
    // Without a second pointer the lock ends at the end of the buffer.
    const DWORD length2 = part2 != nullptr ? bytes - length1 : 0;
    PendingLock pending{nullptr, offset, length1, length2};
    try {
        pending.bytes = std::make_unique<BYTE[]>(static_cast<std::size_t>(length1) + length2);
        locks_.reserve(locks_.size() + 1);
    } catch (const std::bad_alloc&) {
        return DSERR_OUTOFMEMORY;
    }
    std::memcpy(pending.bytes.get(), memory.data() + offset, length1);
    std::memcpy(pending.bytes.get() + length1, memory.data(), length2);
    *part1 = pending.bytes.get();
    *bytes1 = length1;
    if (part2 != nullptr) {
        *part2 = length2 != 0 ? pending.bytes.get() + length1 : nullptr;
    }
    if (bytes2 != nullptr) {
        *bytes2 = length2;
    }
    locks_.push_back(std::move(pending));
    return DS_OK;
}

HRESULT SecondaryBuffer::Unlock(LPVOID part1, DWORD bytes1, LPVOID part2, DWORD bytes2) {
    std::lock_guard lock(core_->mixer().mutex());
    const auto found = std::find_if(locks_.begin(), locks_.end(), [&](const PendingLock& pending) {
        return part1 != nullptr && pending.bytes.get() == part1;
    });
    if (found == locks_.end()) {
        return DSERR_INVALIDPARAM;
    }
    if (bytes1 > found->length1 || bytes2 > found->length2 ||
        (bytes2 != 0 && part2 != found->bytes.get() + found->length1)) {
        return DSERR_INVALIDPARAM;
    }
    std::vector<BYTE>& memory = *voice_.memory;
    std::memcpy(memory.data() + found->offset, found->bytes.get(), bytes1);
    std::memcpy(memory.data(), found->bytes.get() + found->length1, bytes2);
    locks_.erase(found);
    return DS_OK;
}

HRESULT SecondaryBuffer::Play(DWORD reserved, DWORD /*priority*/, DWORD flags) {
    if (reserved != 0) {
        return DSERR_INVALIDPARAM;
    }
    if (core_->cooperativeLevel() == 0) {
        return DSERR_PRIOLEVELNEEDED;
    }
    std::lock_guard lock(core_->mixer().mutex());
    voice_.playing = true;
    voice_.looping = (flags & DSBPLAY_LOOPING) != 0;
    return DS_OK;
}

HRESULT SecondaryBuffer::Stop() {
    std::lock_guard lock(core_->mixer().mutex());
    voice_.playing = false;
    return DS_OK;
}

HRESULT SecondaryBuffer::SetCurrentPosition(DWORD position) {
    std::lock_guard lock(core_->mixer().mutex());
    if (position >= ringBytesLocked()) {
        return DSERR_INVALIDPARAM;
    }
    voice_.position = static_cast<std::uint64_t>(position / voice_.format.blockAlign) << 32;
    return DS_OK;
}

HRESULT SecondaryBuffer::SetFormat(LPCWAVEFORMATEX /*format*/) {
    return DSERR_INVALIDCALL;
}

}  // namespace dsound_detail
