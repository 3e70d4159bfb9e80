#include "platform/d3d9/direct3d.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "platform/d3d9/adapter_table.h"
#include "platform/d3d9/device.h"
#include "platform/d3d9/pixel_format.h"

namespace d3d9_internal {
namespace {

std::vector<D3DDISPLAYMODE> ModesOf(const d3d9_test::AdapterTable& table, D3DFORMAT format) {
    std::vector<D3DDISPLAYMODE> out;
    for (const D3DDISPLAYMODE& mode : table.modes) {
        if (mode.Format == format) {
            out.push_back(mode);
        }
    }
    return out;
}

}  // namespace

HRESULT Direct3D::QueryInterface(REFIID, void** object) {
    if (object != nullptr) {
        *object = nullptr;
    }
    return E_NOINTERFACE;
}

ULONG Direct3D::Release() {
    const ULONG left = --refs_;
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT Direct3D::GetAdapterIdentifier(UINT adapter, DWORD, D3DADAPTER_IDENTIFIER9* identifier) {
    if (adapter != D3DADAPTER_DEFAULT || identifier == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    std::memset(identifier, 0, sizeof(*identifier));
    std::snprintf(identifier->Driver, sizeof(identifier->Driver), "%s", "qvn_d3d9_soft");
    std::snprintf(identifier->Description, sizeof(identifier->Description), "%s",
                  "Software rasteriser (SDL2 presentation)");
    std::snprintf(identifier->DeviceName, sizeof(identifier->DeviceName), "%s", "\\\\.\\DISPLAY1");
    // Product 1, version 0, sub-version 0, build 1.
    identifier->DriverVersion.u.HighPart = (1 << 16) | 0;
    identifier->DriverVersion.u.LowPart = (0u << 16) | 1u;
    identifier->WHQLLevel = 0;
    return D3D_OK;
}

UINT Direct3D::GetAdapterModeCount(UINT adapter, D3DFORMAT format) {
    if (adapter != D3DADAPTER_DEFAULT) {
        return 0;
    }
    return static_cast<UINT>(ModesOf(CurrentAdapterTable(), format).size());
}

HRESULT Direct3D::EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT mode,
                                   D3DDISPLAYMODE* displayMode) {
    if (adapter != D3DADAPTER_DEFAULT || displayMode == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    const std::vector<D3DDISPLAYMODE> modes = ModesOf(CurrentAdapterTable(), format);
    if (mode >= modes.size()) {
        return D3DERR_INVALIDCALL;
    }
    *displayMode = modes[mode];
    return D3D_OK;
}

HRESULT Direct3D::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) {
    if (adapter != D3DADAPTER_DEFAULT || mode == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *mode = CurrentAdapterTable().desktop;
    return D3D_OK;
}

HRESULT Direct3D::CheckDeviceType(UINT adapter, D3DDEVTYPE deviceType, D3DFORMAT adapterFormat,
                                  D3DFORMAT backBufferFormat, BOOL windowed) {
    if (const HRESULT hr = CheckAdapter(adapter, deviceType); FAILED(hr)) {
        return hr;
    }
    const d3d9_test::AdapterTable table = CurrentAdapterTable();
    if (!IsDisplayFormat(adapterFormat)) {
        return D3DERR_NOTAVAILABLE;
    }
    if (windowed) {
        if (adapterFormat != table.desktop.Format) {
            return D3DERR_NOTAVAILABLE;
        }
        if (backBufferFormat == D3DFMT_UNKNOWN) {
            return D3D_OK;
        }
    } else if (ModesOf(table, adapterFormat).empty()) {
        return D3DERR_NOTAVAILABLE;
    }
    const bool matches = backBufferFormat == adapterFormat ||
                         (adapterFormat == D3DFMT_X8R8G8B8 && backBufferFormat == D3DFMT_A8R8G8B8);
    return matches ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT Direct3D::CheckDeviceFormat(UINT adapter, D3DDEVTYPE deviceType, D3DFORMAT adapterFormat,
                                    DWORD usage, D3DRESOURCETYPE resourceType,
                                    D3DFORMAT checkFormat) {
    if (const HRESULT hr = CheckAdapter(adapter, deviceType); FAILED(hr)) {
        return hr;
    }
    if (!IsDisplayFormat(adapterFormat)) {
        return D3DERR_INVALIDCALL;
    }
    const d3d9_test::AdapterTable table = CurrentAdapterTable();
    if (usage & D3DUSAGE_DEPTHSTENCIL) {
        return resourceType == D3DRTYPE_SURFACE && ContainsFormat(table.depthFormats, checkFormat)
                   ? D3D_OK
                   : D3DERR_NOTAVAILABLE;
    }
    if ((usage & D3DUSAGE_RENDERTARGET) &&
        !ContainsFormat(table.renderTargetFormats, checkFormat)) {
        return D3DERR_NOTAVAILABLE;
    }
    switch (resourceType) {
        case D3DRTYPE_TEXTURE:
            return ContainsFormat(table.textureFormats, checkFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
        case D3DRTYPE_SURFACE:
            return IsColorFormat(checkFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
        default:
            return D3DERR_NOTAVAILABLE;
    }
}

HRESULT Direct3D::CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE deviceType,
                                         D3DFORMAT adapterFormat, D3DFORMAT renderTargetFormat,
                                         D3DFORMAT depthStencilFormat) {
    if (const HRESULT hr = CheckAdapter(adapter, deviceType); FAILED(hr)) {
        return hr;
    }
    if (!IsDisplayFormat(adapterFormat) || !IsColorFormat(renderTargetFormat)) {
        return D3DERR_INVALIDCALL;
    }
    return ContainsFormat(CurrentAdapterTable().depthFormats, depthStencilFormat)
               ? D3D_OK
               : D3DERR_NOTAVAILABLE;
}

HRESULT Direct3D::GetDeviceCaps(UINT adapter, D3DDEVTYPE deviceType, D3DCAPS9* caps) {
    if (caps == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    if (const HRESULT hr = CheckAdapter(adapter, deviceType); FAILED(hr)) {
        return hr;
    }
    *caps = CurrentAdapterTable().caps;
    caps->DeviceType = deviceType;
    caps->AdapterOrdinal = adapter;
    return D3D_OK;
}

HRESULT Direct3D::CreateDevice(UINT adapter, D3DDEVTYPE deviceType, HWND focusWindow,
                               DWORD behaviorFlags, D3DPRESENT_PARAMETERS* parameters,
                               IDirect3DDevice9** device) {
    if (device == nullptr || parameters == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *device = nullptr;
    if (const HRESULT hr = CheckAdapter(adapter, deviceType); FAILED(hr)) {
        return hr;
    }
    const DWORD processing =
        behaviorFlags & (D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_HARDWARE_VERTEXPROCESSING |
                         D3DCREATE_MIXED_VERTEXPROCESSING);
    if (processing != D3DCREATE_SOFTWARE_VERTEXPROCESSING &&
        processing != D3DCREATE_HARDWARE_VERTEXPROCESSING &&
        processing != D3DCREATE_MIXED_VERTEXPROCESSING) {
        return D3DERR_INVALIDCALL;
    }
    if (processing != D3DCREATE_SOFTWARE_VERTEXPROCESSING &&
        !(CurrentAdapterTable().caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT)) {
        return D3DERR_INVALIDCALL;
    }
    Device* created = new (std::nothrow) Device(this, deviceType, focusWindow, behaviorFlags);
    if (created == nullptr) {
        return E_OUTOFMEMORY;
    }
    const HRESULT hr = created->Initialize(parameters);
    if (FAILED(hr)) {
        created->Release();
        return hr;
    }
    *device = created;
    return D3D_OK;
}

}  // namespace d3d9_internal

IDirect3D9* Direct3DCreate9(UINT sdkVersion) {
    if ((sdkVersion & 0x7FFFFFFFu) != D3D_SDK_VERSION) {
        return nullptr;
    }
    return new (std::nothrow) d3d9_internal::Direct3D();
}
