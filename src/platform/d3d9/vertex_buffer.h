#pragma once
// A vertex buffer: bytes in memory that Lock hands out.

#include <cstdint>

#include "platform/d3d9/buffer_bytes.h"
#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/resource_core.h"

namespace d3d9_internal {

class VertexBuffer final : public IDirect3DVertexBuffer9, public ResourceCore {
public:
    VertexBuffer(Device* device, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool);
    ~VertexBuffer() override = default;

    HRESULT QueryInterface(REFIID riid, void** object) override;
    ULONG AddRef() override { return AddPublicRef(); }
    ULONG Release() override { return ReleasePublicRef(); }
    HRESULT GetDevice(IDirect3DDevice9** device) override { return GetDeviceRef(device); }
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_VERTEXBUFFER; }
    HRESULT Lock(UINT offsetToLock, UINT sizeToLock, void** data, DWORD) override {
        return bytes_.Lock(offsetToLock, sizeToLock, data);
    }
    HRESULT Unlock() override { return bytes_.Unlock(); }
    HRESULT GetDesc(D3DVERTEXBUFFER_DESC* desc) override;

    const std::uint8_t* data() const { return bytes_.data(); }
    UINT length() const { return bytes_.length(); }

private:
    BufferBytes bytes_;
    DWORD usage_;
    DWORD fvf_;
    D3DPOOL bufferPool_;
};

}  // namespace d3d9_internal
