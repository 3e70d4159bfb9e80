#pragma once
// Internal to the sound device: the 3-D interface of a secondary buffer. It holds a reference
// to its buffer for as long as it lives.

#include "platform/dsound/com_object.h"
#include "platform/dsound/dsound.h"

namespace dsound_detail {

class SecondaryBuffer;

class Sound3DBuffer final : public ComObject<IDirectSound3DBuffer> {
public:
    explicit Sound3DBuffer(SecondaryBuffer* buffer);

    HRESULT QueryInterface(REFIID riid, void** object) override;
    HRESULT GetPosition(D3DVECTOR* position) override;
    HRESULT SetPosition(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD apply) override;
    HRESULT GetMinDistance(D3DVALUE* distance) override;
    HRESULT SetMinDistance(D3DVALUE distance, DWORD apply) override;
    HRESULT GetMaxDistance(D3DVALUE* distance) override;
    HRESULT SetMaxDistance(D3DVALUE distance, DWORD apply) override;

private:
    ~Sound3DBuffer() override;
    template <class Change>
    HRESULT Update(DWORD apply, Change change);

    SecondaryBuffer* buffer_;
};

}  // namespace dsound_detail
