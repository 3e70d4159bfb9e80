// The diagnostic line in the top left corner: frame rate, screen mode and formats.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "foundation/app_settings.h"
#include "media/graphics/d3d_application.h"
#include "media/graphics/font.h"
#include "media/graphics/format_names.h"
#include "platform/gdi/gdi_types.h"
#include "shell/cursor.h"
#include "shell/logical_screen.h"

int FpsOverlayFlag = 0;

namespace {

D3DFont* fpsFont = nullptr;
bool fpsFontFailed = false;

D3DFont* FpsFont() {
    if (fpsFont != nullptr || fpsFontFailed) {
        return fpsFont;
    }
    LOGFONTA font{};
    font.lfHeight = static_cast<LONG>(ScreenWidth * 16 / kLogicalScreenWidth);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = ANSI_CHARSET;
    font.lfQuality = ANTIALIASED_QUALITY;
    std::strcpy(font.lfFaceName, "Arial");
    if (FAILED(D3D_CreateFont(&fpsFont, &font, 256))) {
        ReleaseRef(fpsFont);
        // Made once: a font that cannot be made now will not be made on the next frame either.
        fpsFontFailed = true;
    }
    return fpsFont;
}

}  // namespace

int GetFpsOverlayFlag() {
    return FpsOverlayFlag;
}

void FormatFpsLine(char* buffer, int size, unsigned frames, double period) {
    D3DDISPLAYMODE mode{};
    if (D3DApp != nullptr && D3DApp->direct3D != nullptr) {
        D3DApp->direct3D->GetAdapterDisplayMode(D3DApp->adapter, &mode);
    }
    std::snprintf(buffer, static_cast<std::size_t>(size), "FPS=%.02f\n%dx%d(%s:%dKHz)\n%s(%s)",
                  static_cast<double>(frames) / std::max(period, 1.0),
                  static_cast<int>(ScreenWidth), static_cast<int>(ScreenHeight),
                  WindowedFlag ? "Win" : "Full", static_cast<int>(mode.RefreshRate),
                  D3D_GetFormatName(mode.Format, nullptr),
                  D3D_GetFormatName(DisplaySettings.AutoDepthStencilFormat, nullptr));
}

void DrawFpsOverlay(unsigned frames, double period) {
    if (FpsOverlayFlag == 0 || D3DApp == nullptr || D3DApp->device == nullptr) {
        return;
    }
    D3DFont* font = FpsFont();
    if (font == nullptr) {
        return;
    }
    IDirect3DDevice9* device = D3DApp->device.get();
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    char text[256];
    FormatFpsLine(text, sizeof text, frames, period);
    font->SetColor(0xFF000000u);
    font->Draw(2, 2, text, nullptr);
    font->SetColor(0xFF00FF00u);
    font->Draw(0, 0, text, nullptr);
}

void ReleaseFpsFont() {
    ReleaseRef(fpsFont);
    fpsFontFailed = false;
}
