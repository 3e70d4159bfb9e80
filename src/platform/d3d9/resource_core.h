#pragma once
// Reference counting and device bookkeeping shared by surfaces, textures and vertex buffers.

#include <cstddef>
#include <new>
#include <utility>

#include "platform/d3d9/d3d9.h"

namespace d3d9_internal {

class Device;

// Public references are those the caller holds (AddRef/Release); bindings are the device's own
// (a bound texture, render target, depth surface or stream). The object is deleted when both
// reach zero. Device-owned objects (the back buffer, the automatic depth surface) are deleted
// only by their device. When the device goes away first, its resources stay valid but orphaned.
class ResourceCore {
public:
    ResourceCore(Device* device, D3DPOOL pool, std::size_t bytes, bool deviceOwned);
    virtual ~ResourceCore();
    ResourceCore(const ResourceCore&) = delete;
    ResourceCore& operator=(const ResourceCore&) = delete;

    ULONG AddPublicRef() { return ++publicRefs_; }
    ULONG ReleasePublicRef();
    void Bind() { ++bindings_; }
    void Unbind();

    ULONG publicRefs() const { return publicRefs_; }
    D3DPOOL pool() const { return pool_; }
    std::size_t bytes() const { return bytes_; }
    bool deviceOwned() const { return deviceOwned_; }
    Device* device() const { return device_; }
    void Orphan() { device_ = nullptr; }
    // The device lets go of one of its own objects: deleted now unless the caller still holds
    // references, in which case their last Release deletes it.
    void DropDeviceOwnership() {
        deviceOwned_ = false;
        DeleteIfUnused();
    }
    // Adds a reference to the device for the caller (D3DERR_INVALIDCALL when orphaned).
    HRESULT GetDeviceRef(IDirect3DDevice9** device) const;

private:
    void DeleteIfUnused();

    Device* device_;
    D3DPOOL pool_;
    std::size_t bytes_;
    bool deviceOwned_;
    ULONG publicRefs_ = 1;
    ULONG bindings_ = 0;
};

// Makes a resource whose pixel or vertex memory may be too large to allocate: null then, never
// an exception.
template <class T, class... Args>
T* TryCreate(Args&&... args) {
    try {
        return new T(std::forward<Args>(args)...);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace d3d9_internal
