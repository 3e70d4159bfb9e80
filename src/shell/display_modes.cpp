#include "shell/display_modes.h"

#include <algorithm>
#include <tuple>

#include "foundation/app_settings.h"
#include "media/graphics/d3d_application.h"
#include "media/graphics/format_names.h"

std::vector<D3DDISPLAYMODE> DisplayModeList;

namespace {

constexpr UINT kMinimumWidth = 800;
constexpr UINT kMinimumHeight = 600;

// The formats whose modes are offered, in this order.
constexpr D3DFORMAT kModeFormats[] = {D3DFMT_X8R8G8B8, D3DFMT_R5G6B5};
// Tried in this order when no depth format is stored or the stored one is refused.
constexpr D3DFORMAT kDepthFallbacks[] = {D3DFMT_D32, D3DFMT_D24X8};

UINT BitsPerPixel(D3DFORMAT format) {
    UINT bits = 0;
    D3D_GetFormatName(format, &bits);
    return bits;
}

bool DepthFormatAccepted(D3DFORMAT backBuffer, D3DFORMAT depth) {
    return D3DApp != nullptr && D3DApp->direct3D != nullptr &&
           SUCCEEDED(D3DApp->direct3D->CheckDepthStencilMatch(D3DApp->adapter, D3DApp->deviceType,
                                                              backBuffer, backBuffer, depth));
}

}  // namespace

bool CompareDisplayModes(const D3DDISPLAYMODE& a, const D3DDISPLAYMODE& b) {
    return std::tuple(a.Width, a.Height, a.RefreshRate, BitsPerPixel(a.Format),
                      static_cast<int>(a.Format)) < std::tuple(b.Width, b.Height, b.RefreshRate,
                                                               BitsPerPixel(b.Format),
                                                               static_cast<int>(b.Format));
}

void ChooseSurfaceFormats() {
    ReadSurfaceFormatSettings();
    const bool fullColourPossible = D3DApp != nullptr && (D3DApp->modeFlags & 1) != 0;
    D3DFORMAT backBuffer = fullColourPossible && Fullcolor == 1 ? D3DFMT_X8R8G8B8 : D3DFMT_R5G6B5;
    if (DisplaySettings.Windowed) {
        D3DDISPLAYMODE desktop{};
        if (D3DApp != nullptr && D3DApp->direct3D != nullptr &&
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

void BuildDisplayModeList(const D3DDISPLAYMODE& desktop) {
    DisplayModeList.clear();
    if (D3DApp == nullptr || D3DApp->direct3D == nullptr) {
        return;
    }
    IDirect3D9* direct3D = D3DApp->direct3D;
    const bool windowed = DisplaySettings.Windowed != 0;
    for (D3DFORMAT format : kModeFormats) {
        const UINT count = direct3D->GetAdapterModeCount(D3DApp->adapter, format);
        for (UINT i = 0; i < count; ++i) {
            D3DDISPLAYMODE mode{};
            if (FAILED(direct3D->EnumAdapterModes(D3DApp->adapter, format, i, &mode))) {
                continue;
            }
            const bool fits = mode.Format == DisplaySettings.BackBufferFormat &&
                              mode.Width >= kMinimumWidth && mode.Height >= kMinimumHeight;
            const bool fitsWindow =
                !windowed || (mode.Width < desktop.Width && mode.Height < desktop.Height &&
                              mode.RefreshRate == desktop.RefreshRate);
            if (fits && fitsWindow) {
                DisplayModeList.push_back(mode);
            }
        }
    }
    std::sort(DisplayModeList.begin(), DisplayModeList.end(), CompareDisplayModes);
}
