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
