#include "platform/d3d9/resource_core.h"

#include "platform/d3d9/device.h"

namespace d3d9_internal {

ResourceCore::ResourceCore(Device* device, D3DPOOL pool, std::size_t bytes, bool deviceOwned)
    : device_(device), pool_(pool), bytes_(bytes), deviceOwned_(deviceOwned) {
    if (device_ != nullptr) {
        device_->RegisterResource(this);
    }
}

ResourceCore::~ResourceCore() {
    if (device_ != nullptr) {
        device_->UnregisterResource(this);
    }
}

ULONG ResourceCore::ReleasePublicRef() {
    if (publicRefs_ == 0) {
        return 0;
    }
    const ULONG left = --publicRefs_;
    DeleteIfUnused();
    return left;
}

void ResourceCore::Unbind() {
    if (bindings_ > 0) {
        --bindings_;
    }
    DeleteIfUnused();
}

void ResourceCore::DeleteIfUnused() {
    if (publicRefs_ == 0 && bindings_ == 0 && !deviceOwned_) {
        delete this;
    }
}

HRESULT ResourceCore::GetDeviceRef(IDirect3DDevice9** device) const {
    if (device == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *device = device_;
    if (device_ == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    device_->AddRef();
    return D3D_OK;
}

}  // namespace d3d9_internal
