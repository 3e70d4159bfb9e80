#include "shell/display_modes.h"

#include <algorithm>
#include <cstdint>
#include <tuple>

#include "foundation/app_settings.h"
#include "foundation/log.h"
#include "foundation/registry_settings.h"
#include "media/graphics/d3d_application.h"
#include "media/graphics/format_names.h"

std::vector<DisplayMode> DisplayModeList;

namespace {

constexpr UINT kMinimumWidth = 800;
constexpr UINT kMinimumHeight = 600;
constexpr DWORD kFullScreen32 = 1;  // capability flag: full screen in X8R8G8B8 works

// The formats whose modes are offered, in this order.
constexpr D3DFORMAT kModeFormats[] = {D3DFMT_X8R8G8B8, D3DFMT_R5G6B5};
// Tried in this order when no depth format is stored or the stored one is refused.
constexpr D3DFORMAT kDepthFallbacks[] = {D3DFMT_D32, D3DFMT_D24X8};

UINT BitsPerPixel(D3DFORMAT format) {
    UINT bits = 0;
    D3D_GetFormatName(format, &bits);
    return bits;
}

bool HaveDirect3D() {
    return D3DApp != nullptr && D3DApp->direct3D != nullptr;
}

bool DepthFormatAccepted(D3DFORMAT backBuffer, D3DFORMAT depth) {
    return HaveDirect3D() &&
           SUCCEEDED(D3DApp->direct3D->CheckDepthStencilMatch(D3DApp->adapter, D3DApp->deviceType,
                                                              backBuffer, backBuffer, depth));
}

UINT Distance(UINT a, UINT b) {
    return a > b ? a - b : b - a;
}

// The listed mode nearest to width x height (the first in list order on a tie); null for an
// empty list.
const DisplayMode* NearestListedMode(UINT width, UINT height) {
    const DisplayMode* nearest = nullptr;
    std::uint64_t nearestDistance = 0;
    for (const DisplayMode& mode : DisplayModeList) {
        const std::uint64_t distance =
            std::uint64_t{Distance(mode.width, width)} + Distance(mode.height, height);
        if (nearest == nullptr || distance < nearestDistance) {
            nearest = &mode;
            nearestDistance = distance;
        }
    }
    return nearest;
}

}  // namespace

bool CompareDisplayModes(const DisplayMode& a, const DisplayMode& b) {
    return std::tuple(a.width, a.height, a.refreshRate, BitsPerPixel(a.format),
                      static_cast<int>(a.format)) < std::tuple(b.width, b.height, b.refreshRate,
                                                               BitsPerPixel(b.format),
                                                               static_cast<int>(b.format));
}

void BuildDisplayModeList(D3DFORMAT backBufferFormat, BOOL windowed,
                          const D3DDISPLAYMODE& desktop) {
    DisplayModeList.clear();
    if (!HaveDirect3D()) {
        return;
    }
    for (D3DFORMAT format : kModeFormats) {
        const UINT count = D3DApp->direct3D->GetAdapterModeCount(D3DApp->adapter, format);
        for (UINT i = 0; i < count; ++i) {
            D3DDISPLAYMODE mode{};
            if (FAILED(D3DApp->direct3D->EnumAdapterModes(D3DApp->adapter, format, i, &mode))) {
                continue;
            }
            const bool fits = mode.Format == backBufferFormat && mode.Width >= kMinimumWidth &&
                              mode.Height >= kMinimumHeight;
            const bool fitsWindow =
                !windowed || (mode.Width < desktop.Width && mode.Height < desktop.Height &&
                              mode.RefreshRate == desktop.RefreshRate);
            if (fits && fitsWindow) {
                DisplayModeList.push_back({mode.Width, mode.Height, mode.RefreshRate, mode.Format});
            }
        }
    }
    std::sort(DisplayModeList.begin(), DisplayModeList.end(), CompareDisplayModes);
}

void ApplyBackBufferSize() {
    const bool listed =
        std::any_of(DisplayModeList.begin(), DisplayModeList.end(), [](const DisplayMode& mode) {
            return mode.width == ScreenWidth && mode.height == ScreenHeight;
        });
    if (!listed) {
        const DisplayMode* nearest = NearestListedMode(ScreenWidth, ScreenHeight);
        const UINT width = nearest != nullptr ? nearest->width : kMinimumWidth;
        const UINT height = nearest != nullptr ? nearest->height : kMinimumHeight;
        if (width != ScreenWidth || height != ScreenHeight) {
            LogPrintf("display settings: %ux%u is not offered %s; %ux%u is used instead.",
                      static_cast<unsigned>(ScreenWidth), static_cast<unsigned>(ScreenHeight),
                      WindowedFlag ? "in a window" : "in full screen", width, height);
            ScreenWidth = width;
            ScreenHeight = height;
            WriteRegistryDword(kSettingsMain, "ScreenWidth", ScreenWidth);
            WriteRegistryDword(kSettingsMain, "ScreenHeight", ScreenHeight);
        }
    }
    DisplaySettings.BackBufferWidth = ScreenWidth;
    DisplaySettings.BackBufferHeight = ScreenHeight;
}

void ChooseSurfaceFormats() {
    ReadSurfaceFormatSettings();
    const bool fullColourPossible = D3DApp != nullptr && (D3DApp->modeFlags & kFullScreen32) != 0;
    D3DFORMAT backBuffer = fullColourPossible && Fullcolor == 1 ? D3DFMT_X8R8G8B8 : D3DFMT_R5G6B5;
    if (DisplaySettings.Windowed) {
        D3DDISPLAYMODE desktop{};
        if (HaveDirect3D() &&
            SUCCEEDED(D3DApp->direct3D->GetAdapterDisplayMode(D3DApp->adapter, &desktop))) {
            backBuffer = desktop.Format;
        }
    }
    DisplaySettings.BackBufferFormat = backBuffer;
    if (!DisplaySettings.EnableAutoDepthStencil) {
        return;
    }
    const auto stored = static_cast<D3DFORMAT>(DepthFormat);
    if (stored != D3DFMT_UNKNOWN && DepthFormatAccepted(backBuffer, stored)) {
        DisplaySettings.AutoDepthStencilFormat = stored;
        return;
    }
    for (D3DFORMAT depth : kDepthFallbacks) {
        if (DepthFormatAccepted(backBuffer, depth)) {
            DisplaySettings.AutoDepthStencilFormat = depth;
            return;
        }
    }
    DisplaySettings.AutoDepthStencilFormat = D3DFMT_D16;
}
