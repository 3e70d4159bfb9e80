#include "platform/d3d9/vertex_buffer.h"

namespace d3d9_internal {

VertexBuffer::VertexBuffer(Device* device, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool)
    : ResourceCore(device, pool, length, false),
      data_(length, 0),
      usage_(usage),
      fvf_(fvf),
      bufferPool_(pool) {}

HRESULT VertexBuffer::QueryInterface(REFIID, void** object) {
    if (object != nullptr) {
        *object = nullptr;
    }
    return E_NOINTERFACE;
}

HRESULT VertexBuffer::Lock(UINT offsetToLock, UINT sizeToLock, void** out, DWORD) {
    if (out == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *out = nullptr;
    const std::uint64_t end = static_cast<std::uint64_t>(offsetToLock) + sizeToLock;
    if (offsetToLock > data_.size() || end > data_.size()) {
        return D3DERR_INVALIDCALL;
    }
    ++locks_;
    *out = data_.data() + offsetToLock;
    return D3D_OK;
}

HRESULT VertexBuffer::Unlock() {
    if (locks_ == 0) {
        return D3DERR_INVALIDCALL;
    }
    --locks_;
    return D3D_OK;
}

HRESULT VertexBuffer::GetDesc(D3DVERTEXBUFFER_DESC* desc) {
    if (desc == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    desc->Format = D3DFMT_VERTEXDATA;
    desc->Type = D3DRTYPE_VERTEXBUFFER;
    desc->Usage = usage_;
    desc->Pool = bufferPool_;
    desc->Size = static_cast<UINT>(data_.size());
    desc->FVF = fvf_;
    return D3D_OK;
}

}  // namespace d3d9_internal
