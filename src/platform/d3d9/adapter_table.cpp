#include "platform/d3d9/adapter_table.h"

#include <SDL.h>

#include <algorithm>
#include <mutex>
#include <optional>

namespace d3d9_internal {
namespace {

std::mutex tableMutex;
std::optional<d3d9_test::AdapterTable> testTable;

D3DFORMAT FormatFromSdl(Uint32 format) {
    return SDL_BITSPERPIXEL(format) <= 16 ? D3DFMT_R5G6B5 : D3DFMT_X8R8G8B8;
}

void AddModeBothFormats(std::vector<D3DDISPLAYMODE>* modes, UINT width, UINT height, UINT refresh) {
    for (D3DFORMAT format : {D3DFMT_X8R8G8B8, D3DFMT_R5G6B5}) {
        const D3DDISPLAYMODE mode{width, height, refresh, format};
        const bool known = std::any_of(modes->begin(), modes->end(), [&](const D3DDISPLAYMODE& m) {
            return m.Width == width && m.Height == height && m.RefreshRate == refresh &&
                   m.Format == format;
        });
        if (!known) {
            modes->push_back(mode);
        }
    }
}

// Display modes of SDL's first display; false when video is not up or it reports none.
bool ReadSdlModes(d3d9_test::AdapterTable* table) {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        return false;
    }
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0 || desktop.w <= 0 || desktop.h <= 0) {
        return false;
    }
    table->desktop = D3DDISPLAYMODE{static_cast<UINT>(desktop.w), static_cast<UINT>(desktop.h),
                                    static_cast<UINT>(std::max(desktop.refresh_rate, 0)),
                                    FormatFromSdl(desktop.format)};
    std::vector<D3DDISPLAYMODE> modes;
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) == 0 && mode.w > 0 && mode.h > 0) {
            AddModeBothFormats(&modes, static_cast<UINT>(mode.w), static_cast<UINT>(mode.h),
                               static_cast<UINT>(std::max(mode.refresh_rate, 0)));
        }
    }
    // A desktop-sized window shows the back buffer scaled, so the usual sizes below the
    // desktop work too.
    for (const auto& [w, h] : {std::pair{800u, 600u},
                               {1024u, 768u},
                               {1280u, 720u},
                               {1280u, 960u},
                               {1600u, 900u},
                               {1920u, 1080u}}) {
        if (w <= table->desktop.Width && h <= table->desktop.Height) {
            AddModeBothFormats(&modes, w, h, table->desktop.RefreshRate);
        }
    }
    table->modes = std::move(modes);
    return true;
}

}  // namespace

bool IsDisplayFormat(D3DFORMAT format) {
    return format == D3DFMT_X8R8G8B8 || format == D3DFMT_R5G6B5;
}

bool ContainsFormat(const std::vector<D3DFORMAT>& formats, D3DFORMAT format) {
    return std::find(formats.begin(), formats.end(), format) != formats.end();
}

HRESULT CheckAdapter(UINT adapter, D3DDEVTYPE deviceType) {
    if (adapter != D3DADAPTER_DEFAULT) {
        return D3DERR_INVALIDCALL;
    }
    if (deviceType != D3DDEVTYPE_HAL && deviceType != D3DDEVTYPE_REF) {
        return D3DERR_NOTAVAILABLE;
    }
    return D3D_OK;
}

d3d9_test::AdapterTable CurrentAdapterTable() {
    {
        std::lock_guard<std::mutex> lock(tableMutex);
        if (testTable) {
            return *testTable;
        }
    }
    d3d9_test::AdapterTable table = d3d9_test::DefaultAdapterTable();
    ReadSdlModes(&table);
    return table;
}

}  // namespace d3d9_internal

namespace d3d9_test {

AdapterTable DefaultAdapterTable() {
    AdapterTable table{};
    D3DCAPS9& caps = table.caps;
    caps.DeviceType = D3DDEVTYPE_HAL;
    caps.AdapterOrdinal = 0;
    caps.PresentationIntervals = D3DPRESENT_INTERVAL_ONE | D3DPRESENT_INTERVAL_IMMEDIATE;
    caps.CursorCaps = D3DCURSORCAPS_COLOR;
    caps.DevCaps = D3DDEVCAPS_HWTRANSFORMANDLIGHT;
    caps.PrimitiveMiscCaps = D3DPMISCCAPS_CULLNONE | D3DPMISCCAPS_CULLCW | D3DPMISCCAPS_CULLCCW;
    caps.RasterCaps = D3DPRASTERCAPS_SCISSORTEST;
    caps.ZCmpCaps = 0xFF;
    caps.SrcBlendCaps = 0x3FF;
    caps.DestBlendCaps = 0x3FF;
    caps.AlphaCmpCaps = 0xFF;
    caps.ShadeCaps = 0x8 | 0x4000;  // Gouraud colour and alpha
    caps.TextureCaps = D3DPTEXTURECAPS_ALPHA;
    caps.TextureFilterCaps = D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR |
                             D3DPTFILTERCAPS_MAGFPOINT | D3DPTFILTERCAPS_MAGFLINEAR;
    caps.TextureAddressCaps = D3DPTADDRESSCAPS_WRAP | D3DPTADDRESSCAPS_CLAMP;
    caps.MaxTextureWidth = 4096;
    caps.MaxTextureHeight = 4096;
    caps.MaxTextureRepeat = 8192;
    caps.MaxTextureAspectRatio = 4096;
    caps.MaxAnisotropy = 1;
    caps.MaxTextureBlendStages = 1;
    caps.MaxSimultaneousTextures = 1;
    caps.FVFCaps = 1;
    caps.TextureOpCaps = 0x7F;  // disable, select 1 and 2, modulate 1x 2x 4x, add
    caps.MaxPrimitiveCount = 0xFFFFF;
    caps.MaxVertexIndex = 0xFFFFF;
    caps.MaxStreams = 1;
    caps.MaxStreamStride = 255;
    caps.VertexShaderVersion = D3DVS_VERSION(0, 0);
    caps.PixelShaderVersion = D3DPS_VERSION(0, 0);

    table.desktop = D3DDISPLAYMODE{1920, 1080, 60, D3DFMT_X8R8G8B8};
    for (const auto& [w, h] : {std::pair{640u, 480u},
                               {800u, 600u},
                               {1024u, 768u},
                               {1280u, 720u},
                               {1280u, 960u},
                               {1280u, 1024u},
                               {1366u, 768u},
                               {1600u, 900u},
                               {1920u, 1080u}}) {
        d3d9_internal::AddModeBothFormats(&table.modes, w, h, 60);
    }
    table.textureFormats = {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_R5G6B5,  D3DFMT_X1R5G5B5,
                            D3DFMT_A1R5G5B5, D3DFMT_A4R4G4B4, D3DFMT_X4R4G4B4};
    table.renderTargetFormats = {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_R5G6B5};
    table.depthFormats = {D3DFMT_D16, D3DFMT_D24X8, D3DFMT_D24S8, D3DFMT_D32};
    table.textureMemoryBytes = std::uint64_t{512} << 20;
    return table;
}

void SetAdapterTable(const AdapterTable& table) {
    std::lock_guard<std::mutex> lock(d3d9_internal::tableMutex);
    d3d9_internal::testTable = table;
}

void ResetAdapterTable() {
    std::lock_guard<std::mutex> lock(d3d9_internal::tableMutex);
    d3d9_internal::testTable.reset();
}

}  // namespace d3d9_test
