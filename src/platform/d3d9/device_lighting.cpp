// The material and the lights of the fixed-function vertex stage.

#include "platform/d3d9/device.h"

namespace d3d9_internal {
namespace {

// What LightEnable makes at an index that was never set.
D3DLIGHT9 DefaultLight() {
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = D3DCOLORVALUE{1.0f, 1.0f, 1.0f, 0.0f};
    light.Direction = D3DVECTOR{0.0f, 0.0f, 1.0f};
    return light;
}

}  // namespace

HRESULT Device::SetMaterial(const D3DMATERIAL9* material) {
    if (material == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    material_ = *material;
    return D3D_OK;
}

HRESULT Device::GetMaterial(D3DMATERIAL9* material) {
    if (material == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *material = material_;
    return D3D_OK;
}

HRESULT Device::SetLight(DWORD index, const D3DLIGHT9* light) {
    if (light == nullptr || light->Type != D3DLIGHT_DIRECTIONAL) {
        return D3DERR_INVALIDCALL;
    }
    auto [slot, added] = lights_.try_emplace(index, LightSlot{*light, false});
    if (!added) {
        slot->second.light = *light;
    }
    return D3D_OK;
}

HRESULT Device::GetLight(DWORD index, D3DLIGHT9* light) {
    const auto found = lights_.find(index);
    if (light == nullptr || found == lights_.end()) {
        return D3DERR_INVALIDCALL;
    }
    *light = found->second.light;
    return D3D_OK;
}

HRESULT Device::LightEnable(DWORD index, BOOL enable) {
    auto found = lights_.find(index);
    if (enable && (found == lights_.end() || !found->second.enabled)) {
        DWORD active = 0;
        for (const auto& entry : lights_) {
            active += entry.second.enabled ? 1 : 0;
        }
        if (active >= kMaxActiveLights) {
            return D3DERR_INVALIDCALL;
        }
    }
    if (found == lights_.end()) {
        found = lights_.emplace(index, LightSlot{DefaultLight(), false}).first;
    }
    found->second.enabled = enable != FALSE;
    return D3D_OK;
}

HRESULT Device::GetLightEnable(DWORD index, BOOL* enable) {
    const auto found = lights_.find(index);
    if (enable == nullptr || found == lights_.end()) {
        return D3DERR_INVALIDCALL;
    }
    *enable = found->second.enabled ? TRUE : FALSE;
    return D3D_OK;
}

}  // namespace d3d9_internal
