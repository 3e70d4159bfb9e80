// Temporary definitions of the display-mode list, until its own implementation lands.

#include <algorithm>

#include "foundation/app_settings.h"
#include "media/graphics/d3d_application.h"
#include "shell/display_modes.h"

std::vector<DisplayMode> DisplayModeList;

bool CompareDisplayModes(const DisplayMode& a, const DisplayMode& b) {
    if (a.width != b.width) {
        return a.width < b.width;
    }
    if (a.height != b.height) {
        return a.height < b.height;
    }
    if (a.refreshRate != b.refreshRate) {
        return a.refreshRate < b.refreshRate;
    }
    return a.format < b.format;
}

void BuildDisplayModeList(D3DFORMAT backBufferFormat, BOOL windowed,
                          const D3DDISPLAYMODE& desktop) {
    DisplayModeList.clear();
    if (D3DApp == nullptr || D3DApp->direct3D == nullptr) {
        return;
    }
    IDirect3D9* direct3D = D3DApp->direct3D.get();
    for (D3DFORMAT format : {D3DFMT_X8R8G8B8, D3DFMT_R5G6B5}) {
        const UINT count = direct3D->GetAdapterModeCount(D3DApp->adapter, format);
        for (UINT i = 0; i < count; ++i) {
            D3DDISPLAYMODE mode{};
            if (FAILED(direct3D->EnumAdapterModes(D3DApp->adapter, format, i, &mode)) ||
                mode.Format != backBufferFormat || mode.Width < 800 || mode.Height < 600) {
                continue;
            }
            if (windowed && (mode.Width >= desktop.Width || mode.Height >= desktop.Height ||
                             mode.RefreshRate != desktop.RefreshRate)) {
                continue;
            }
            DisplayModeList.push_back({mode.Width, mode.Height, mode.RefreshRate, mode.Format});
        }
    }
    std::sort(DisplayModeList.begin(), DisplayModeList.end(), CompareDisplayModes);
}

void ApplyBackBufferSize() {
    DisplaySettings.BackBufferWidth = ScreenWidth;
    DisplaySettings.BackBufferHeight = ScreenHeight;
}
