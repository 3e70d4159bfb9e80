// The picture of a window with a device, as it is presented: its menu bar (in a strip above the
// back buffer in a window, on the back buffer's top rows in full screen), the dialogs drawn over
// it and its open menu.

#include "platform/d3d9/present_overlay.h"
#include "platform/ui/device_textures.h"
#include "platform/ui/drawn_windows.h"
#include "platform/ui/ui_font.h"
#include "platform/win32/menu_api.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_placement.h"

namespace ui_internal {
namespace {

// Frames built at most per presented picture: each may want glyphs the atlas lacks.
constexpr int kAtlasPasses = 3;

bool IsFullScreenWindow(HWND window) {
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
    return (style & (WS_POPUP | WS_CHILD)) == WS_POPUP && (style & WS_CAPTION) == 0;
}

}  // namespace

POINT WindowOrigin(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return POINT{rect.left, rect.top};
}

LONG StripRows(HWND window) {
    if (IsFullScreenWindow(window) || (GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) != 0 ||
        GetMenu(window) == nullptr) {
        return 0;
    }
    return kMenuBarHeight;
}

void Overlay(IDirect3DDevice9* device, HWND window, IDirect3DSurface9** strip) {
    DrawnFrame menus;
    for (int pass = 0; pass < kAtlasPasses; ++pass) {
        BuildFontAtlas();
        menus = BuildMenuFrame(window);
        if (RefreshDialogFramesOver(window) && !FontAtlasDirty() &&
            (menus.lists.empty() || menus.atlasGeneration == FontAtlasGeneration())) {
            break;
        }
    }
    IDirect3DTexture9* font = FontTexture(device);
    const LONG stripRows = StripRows(window);
    IDirect3DSurface9* backBuffer = nullptr;
    if (stripRows > 0 && !menus.lists.empty() &&
        SUCCEEDED(device->GetRenderTarget(0, &backBuffer))) {
        D3DSURFACE_DESC desc{};
        backBuffer->GetDesc(&desc);
        IDirect3DSurface9* bar = nullptr;
        if (SUCCEEDED(device->CreateRenderTarget(desc.Width, static_cast<UINT>(stripRows),
                                                 desc.Format, D3DMULTISAMPLE_NONE, 0, TRUE, &bar,
                                                 nullptr)) &&
            SUCCEEDED(device->SetRenderTarget(0, bar))) {
            DrawFrame(device, menus, font);
            device->SetRenderTarget(0, backBuffer);
            *strip = bar;
        } else if (bar != nullptr) {
            bar->Release();
        }
        backBuffer->Release();
    }
    const auto offset = static_cast<float>(-stripRows);
    DrawDialogsOver(device, window, font, offset);
    DrawFrame(device, menus, font, offset);
}

}  // namespace ui_internal
