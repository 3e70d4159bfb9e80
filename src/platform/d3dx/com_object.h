#pragma once
// The reference count shared by the utility library's interface objects: a new object holds
// one reference and the last Release deletes it. QueryInterface knows no other interface
// unless a class answers it itself.

#include <atomic>

#include "platform/winbase/win_types.h"

namespace d3dx {

template <class Interface>
class ComObject : public Interface {
public:
    HRESULT QueryInterface(REFIID, void** object) override {
        if (object != nullptr) {
            *object = nullptr;
        }
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++references_; }
    ULONG Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

protected:
    ~ComObject() override = default;

private:
    std::atomic<ULONG> references_{1};
};

}  // namespace d3dx
