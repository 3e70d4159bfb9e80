#include "platform/d3d9/index_buffer.h"

namespace d3d9_internal {

IndexBuffer::IndexBuffer(Device* device, UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool)
    : ResourceCore(device, pool, length, false),
      bytes_(length),
      usage_(usage),
      format_(format),
      bufferPool_(pool) {}

HRESULT IndexBuffer::QueryInterface(REFIID, void** object) {
    if (object != nullptr) {
        *object = nullptr;
    }
    return E_NOINTERFACE;
}

HRESULT IndexBuffer::GetDesc(D3DINDEXBUFFER_DESC* desc) {
    if (desc == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    desc->Format = format_;
    desc->Type = D3DRTYPE_INDEXBUFFER;
    desc->Usage = usage_;
    desc->Pool = bufferPool_;
    desc->Size = bytes_.length();
    return D3D_OK;
}

}  // namespace d3d9_internal
