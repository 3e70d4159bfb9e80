// ReadDisplayValues: the display settings the start-up dialog shows and puts into
// DisplaySettings.

#include <cstddef>
#include <cstdint>

#include "foundation/app_settings.h"
#include "foundation/log.h"
#include "foundation/registry_settings.h"
#include "media/graphics/d3d_application.h"
#include "media/graphics/format_names.h"
#include "shell/display_modes.h"

namespace {

constexpr UINT kFallbackWidth = 800;
constexpr UINT kFallbackHeight = 600;

UINT Distance(UINT a, UINT b) {
    return a > b ? a - b : b - a;
}

// The listed mode of exactly this size and rate, else the nearest in size (then in rate; the
// first in list order on a tie); -1 for an empty list.
int ChooseListedMode(UINT width, UINT height, UINT rate) {
    int nearest = -1;
    std::uint64_t nearestSize = 0;
    UINT nearestRate = 0;
    for (std::size_t i = 0; i < DisplayModeList.size(); ++i) {
        const D3DDISPLAYMODE& mode = DisplayModeList[i];
        const std::uint64_t size =
            std::uint64_t{Distance(mode.Width, width)} + Distance(mode.Height, height);
        const UINT rateDistance = Distance(mode.RefreshRate, rate);
        if (size == 0 && rateDistance == 0) {
            return static_cast<int>(i);
        }
        if (nearest < 0 || size < nearestSize ||
            (size == nearestSize && rateDistance < nearestRate)) {
            nearest = static_cast<int>(i);
            nearestSize = size;
            nearestRate = rateDistance;
        }
    }
    return nearest;
}

// The chosen mode (ScreenWidth x ScreenHeight at `*rate`) when listed; else the nearest listed
// one, or 800 x 600 without a list, which becomes the chosen mode and is stored.
int SettleChosenMode(UINT* rate, bool windowed) {
    const int index = ChooseListedMode(ScreenWidth, ScreenHeight, *rate);
    UINT width = kFallbackWidth;
    UINT height = kFallbackHeight;
    UINT newRate = *rate;
    if (index >= 0) {
        const D3DDISPLAYMODE& mode = DisplayModeList[static_cast<std::size_t>(index)];
        width = mode.Width;
        height = mode.Height;
        newRate = mode.RefreshRate;
    }
    if (width == ScreenWidth && height == ScreenHeight && newRate == *rate) {
        return index;
    }
    LogPrintf("display settings: %ux%u (%uHz) is not offered %s; %ux%u (%uHz) is used instead.",
              static_cast<unsigned>(ScreenWidth), static_cast<unsigned>(ScreenHeight), *rate,
              windowed ? "in a window" : "in full screen", width, height, newRate);
    if (width != ScreenWidth || height != ScreenHeight) {
        ScreenWidth = width;
        ScreenHeight = height;
        WriteRegistryDword(kSettingsMain, "ScreenWidth", ScreenWidth);
        WriteRegistryDword(kSettingsMain, "ScreenHeight", ScreenHeight);
    }
    if (newRate != *rate && !windowed) {
        *rate = newRate;
        RefreshRate = newRate;
        WriteRegistryDword(kSettingsMain, "RefreshRate", RefreshRate);
    }
    return index;
}

}  // namespace

DisplayValues ReadDisplayValues() {
    DisplayValues values{};
    values.selectedMode = -1;
    ReadDisplaySettings();
    if (D3DApp == nullptr || D3DApp->direct3D == nullptr) {
        DisplaySettings.BackBufferWidth = ScreenWidth;
        DisplaySettings.BackBufferHeight = ScreenHeight;
        return values;
    }
    D3DApp->CheckDevice(D3DApp->adapter, static_cast<D3DDEVTYPE>(DevType));
    const bool fullScreen = Fullscreen != 0 || (D3DApp->modeFlags & 2) == 0;
    DisplaySettings.Windowed = fullScreen ? FALSE : TRUE;
    DisplaySettings.PresentationInterval =
        fullScreen && Vsync == 1 ? D3DPRESENT_INTERVAL_DEFAULT : D3DPRESENT_INTERVAL_IMMEDIATE;
    if ((D3DApp->caps.CursorCaps & D3DCURSORCAPS_COLOR) == 0) {
        HWCursor = 0;
    }
    ChooseSurfaceFormats();
    D3D_GetFormatName(DisplaySettings.BackBufferFormat, &values.bitsPerPixel);

    D3DApp->direct3D->GetAdapterDisplayMode(D3DApp->adapter, &values.desktop);
    values.refreshRate = !fullScreen || RefreshRate == 0 ? values.desktop.RefreshRate : RefreshRate;
    BuildDisplayModeList(values.desktop);
    values.selectedMode = SettleChosenMode(&values.refreshRate, !fullScreen);
    DisplaySettings.BackBufferWidth = ScreenWidth;
    DisplaySettings.BackBufferHeight = ScreenHeight;
    DisplaySettings.FullScreen_RefreshRateInHz = fullScreen ? values.refreshRate : 0;
    return values;
}
