#include "platform/d3d9/vertex_buffer.h"

namespace d3d9_internal {

VertexBuffer::VertexBuffer(Device* device, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool)
    : ResourceCore(device, pool, length, false),
      bytes_(length),
      usage_(usage),
      fvf_(fvf),
      bufferPool_(pool) {}

HRESULT VertexBuffer::QueryInterface(REFIID, void** object) {
    if (object != nullptr) {
        *object = nullptr;
    }
    return E_NOINTERFACE;
}

HRESULT VertexBuffer::GetDesc(D3DVERTEXBUFFER_DESC* desc) {
    if (desc == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    desc->Format = D3DFMT_VERTEXDATA;
    desc->Type = D3DRTYPE_VERTEXBUFFER;
    desc->Usage = usage_;
    desc->Pool = bufferPool_;
    desc->Size = bytes_.length();
    desc->FVF = fvf_;
    return D3D_OK;
}

}  // namespace d3d9_internal
