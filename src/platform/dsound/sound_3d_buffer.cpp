#include "platform/dsound/sound_3d_buffer.h"

#include <cmath>

#include "platform/dsound/secondary_buffer.h"

namespace dsound_detail {
namespace {

bool ValidDistance(D3DVALUE distance) {
    return std::isfinite(distance) && distance > 0.0f;
}

}  // namespace

Sound3DBuffer::Sound3DBuffer(SecondaryBuffer* buffer) : buffer_(buffer) {
    buffer_->AddRef();
}

Sound3DBuffer::~Sound3DBuffer() {
    buffer_->Release();
}

HRESULT Sound3DBuffer::QueryInterface(REFIID riid, void** object) {
    return buffer_->QueryInterface(riid, object);
}

// Applies `change` to the buffer's placement now, or to its deferred placement.
template <class Change>
HRESULT Sound3DBuffer::Update(DWORD apply, Change change) {
    if (apply != DS3D_IMMEDIATE && apply != DS3D_DEFERRED) {
        return DSERR_INVALIDPARAM;
    }
    std::lock_guard lock(buffer_->core().mixer().mutex());
    MixVoice& voice = buffer_->voiceLocked();
    if (apply == DS3D_IMMEDIATE) {
        change(voice.placement);
        if (voice.hasPendingPlacement) {
            change(voice.pendingPlacement);
        }
        return DS_OK;
    }
    if (!voice.hasPendingPlacement) {
        voice.pendingPlacement = voice.placement;
        voice.hasPendingPlacement = true;
    }
    change(voice.pendingPlacement);
    return DS_OK;
}

HRESULT Sound3DBuffer::GetPosition(D3DVECTOR* position) {
    if (position == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    std::lock_guard lock(buffer_->core().mixer().mutex());
    *position = buffer_->voiceLocked().placement.position;
    return DS_OK;
}

HRESULT Sound3DBuffer::SetPosition(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD apply) {
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) {
        return DSERR_INVALIDPARAM;
    }
    return Update(apply, [&](Placement3D& placement) { placement.position = D3DVECTOR{x, y, z}; });
}

HRESULT Sound3DBuffer::GetMinDistance(D3DVALUE* distance) {
    if (distance == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    std::lock_guard lock(buffer_->core().mixer().mutex());
    *distance = buffer_->voiceLocked().placement.minDistance;
    return DS_OK;
}

HRESULT Sound3DBuffer::SetMinDistance(D3DVALUE distance, DWORD apply) {
    if (!ValidDistance(distance)) {
        return DSERR_INVALIDPARAM;
    }
    return Update(apply, [&](Placement3D& placement) { placement.minDistance = distance; });
}

HRESULT Sound3DBuffer::GetMaxDistance(D3DVALUE* distance) {
    if (distance == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    std::lock_guard lock(buffer_->core().mixer().mutex());
    *distance = buffer_->voiceLocked().placement.maxDistance;
    return DS_OK;
}

HRESULT Sound3DBuffer::SetMaxDistance(D3DVALUE distance, DWORD apply) {
    if (!ValidDistance(distance)) {
        return DSERR_INVALIDPARAM;
    }
    return Update(apply, [&](Placement3D& placement) { placement.maxDistance = distance; });
}

}  // namespace dsound_detail
