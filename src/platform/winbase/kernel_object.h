#pragma once
// Internal to src/platform: the objects behind HANDLE values (files, and whatever else the
// layer hands out as a HANDLE). CloseHandle destroys any of them; a value that is not a live
// object is refused with ERROR_INVALID_HANDLE instead of being dereferenced.

#include <memory>

#include "platform/winbase/win_types.h"

class KernelObject {
public:
    virtual ~KernelObject() = default;
};

// Takes ownership and returns the handle; the handle stays valid until CloseHandle.
HANDLE RegisterKernelObject(std::unique_ptr<KernelObject> object);

// The live object behind `handle`, else null. The object stays alive while the caller holds
// the pointer, even when another thread closes the handle meanwhile.
std::shared_ptr<KernelObject> FindKernelObject(HANDLE handle);
// The same, when the object is of type T.
template <typename T>
std::shared_ptr<T> FindKernelObjectAs(HANDLE handle) {
    return std::dynamic_pointer_cast<T>(FindKernelObject(handle));
}
