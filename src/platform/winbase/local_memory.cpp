#include <cstddef>
#include <cstdlib>

#include "platform/winbase/file_api.h"

HLOCAL LocalAlloc(UINT flags, SIZE_T bytes) {
    if ((flags & ~LMEM_ZEROINIT) != LMEM_FIXED) {
        SetLastError(ERROR_INVALID_PARAMETER);  // only fixed memory exists here
        return nullptr;
    }
    std::size_t size = bytes == 0 ? 1 : bytes;  // a zero-byte block is still a valid block
    void* memory = (flags & LMEM_ZEROINIT) ? std::calloc(1, size) : std::malloc(size);
    if (memory == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    }
    return memory;
}

HLOCAL LocalFree(HLOCAL memory) {
    std::free(memory);
    return nullptr;
}

namespace {

// The block's size lies in front of its bytes.
struct GlobalBlock {
    SIZE_T size;
    alignas(std::max_align_t) unsigned char bytes[1];
};

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
    if ((flags & ~(GMEM_MOVEABLE | GMEM_ZEROINIT)) != 0 || bytes > static_cast<SIZE_T>(1) << 40) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const std::size_t total = offsetof(GlobalBlock, bytes) + (bytes == 0 ? 1 : bytes);
    void* memory = (flags & GMEM_ZEROINIT) ? std::calloc(1, total) : std::malloc(total);
    if (memory == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    static_cast<GlobalBlock*>(memory)->size = bytes;
    return memory;
}

void* GlobalLock(HGLOBAL memory) {
    return memory != nullptr ? static_cast<GlobalBlock*>(memory)->bytes : nullptr;
}

BOOL GlobalUnlock(HGLOBAL memory) {
    return memory != nullptr ? TRUE : FALSE;
}

SIZE_T GlobalSize(HGLOBAL memory) {
    return memory != nullptr ? static_cast<GlobalBlock*>(memory)->size : 0;
}

HGLOBAL GlobalFree(HGLOBAL memory) {
    std::free(memory);
    return nullptr;
}
