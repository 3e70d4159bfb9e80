#pragma once
// The bytes of a vertex or index buffer, handed out by Lock within their bounds.

#include <cstdint>
#include <vector>

#include "platform/d3d9/d3d9_types.h"

namespace d3d9_internal {

class BufferBytes {
public:
    explicit BufferBytes(UINT length) : data_(length, 0) {}

    // sizeToLock 0 locks from offset to the end; a range past the end is D3DERR_INVALIDCALL.
    HRESULT Lock(UINT offsetToLock, UINT sizeToLock, void** out);
    HRESULT Unlock();

    const std::uint8_t* data() const { return data_.data(); }
    UINT length() const { return static_cast<UINT>(data_.size()); }

private:
    std::vector<std::uint8_t> data_;
    int locks_ = 0;
};

}  // namespace d3d9_internal
