#pragma once
// An index buffer: 16- or 32-bit indices in memory that Lock hands out.

#include <cstdint>

#include "platform/d3d9/buffer_bytes.h"
#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/resource_core.h"

namespace d3d9_internal {

class IndexBuffer final : public IDirect3DIndexBuffer9, public ResourceCore {
public:
    // `format` is D3DFMT_INDEX16 or D3DFMT_INDEX32.
    IndexBuffer(Device* device, UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool);
    ~IndexBuffer() override = default;

    HRESULT QueryInterface(REFIID riid, void** object) override;
    ULONG AddRef() override { return AddPublicRef(); }
    ULONG Release() override { return ReleasePublicRef(); }
    HRESULT GetDevice(IDirect3DDevice9** device) override { return GetDeviceRef(device); }
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_INDEXBUFFER; }
    HRESULT Lock(UINT offsetToLock, UINT sizeToLock, void** data, DWORD) override {
        return bytes_.Lock(offsetToLock, sizeToLock, data);
    }
    HRESULT Unlock() override { return bytes_.Unlock(); }
    HRESULT GetDesc(D3DINDEXBUFFER_DESC* desc) override;

    const std::uint8_t* data() const { return bytes_.data(); }
    bool wide() const { return format_ == D3DFMT_INDEX32; }
    // Whole indices the buffer holds.
    UINT count() const { return bytes_.length() / (wide() ? 4u : 2u); }

private:
    BufferBytes bytes_;
    DWORD usage_;
    D3DFORMAT format_;
    D3DPOOL bufferPool_;
};

inline IndexBuffer* AsIndexBuffer(IDirect3DIndexBuffer9* buffer) {
    return static_cast<IndexBuffer*>(buffer);
}

}  // namespace d3d9_internal
