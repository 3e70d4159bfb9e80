#pragma once
// Internal to the sound device: the reference count shared by its interface objects. A new
// object holds one reference; the last Release deletes it.

#include <atomic>

#include "platform/winbase/win_types.h"

namespace dsound_detail {

template <class Interface>
class ComObject : public Interface {
public:
    ULONG AddRef() override { return references_.fetch_add(1) + 1; }
    ULONG Release() override {
        const ULONG left = references_.fetch_sub(1) - 1;
        if (left == 0) {
            delete this;
        }
        return left;
    }

private:
    std::atomic<ULONG> references_{1};
};

}  // namespace dsound_detail
