#pragma once
// The reference count that textures, planes and fonts keep as their first field. Each class
// has its own Release, which deletes the object at zero.

#include "platform/winbase/win_types.h"

struct RefCounted {
    ULONG refCount = 1;

    // Answers the new count.
    ULONG AddRef() { return ++refCount; }
};

// Releases the reference `object` holds (a counted object of this layer or an interface of the
// device), when it holds one, and clears the pointer.
template <typename Counted>
void ReleaseRef(Counted*& object) {
    if (object != nullptr) {
        object->Release();
        object = nullptr;
    }
}
