#include "platform/d3d9/buffer_bytes.h"

namespace d3d9_internal {

HRESULT BufferBytes::Lock(UINT offsetToLock, UINT sizeToLock, void** out) {
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

HRESULT BufferBytes::Unlock() {
    if (locks_ == 0) {
        return D3DERR_INVALIDCALL;
    }
    --locks_;
    return D3D_OK;
}

}  // namespace d3d9_internal
