#include "shell/cursor.h"

#include "foundation/app_settings.h"
#include "foundation/log.h"
#include "foundation/path.h"
#include "media/graphics/d3d_application.h"
#include "media/graphics/texture.h"
#include "platform/d3dx/d3dx_types.h"
#include "platform/d3dx/error_names.h"
#include "platform/win32/cursor_api.h"
#include "platform/win32/window_placement.h"
#include "shell/frame_control.h"
#include "shell/game_window.h"

namespace {

int wantedShape = kCursorShapeNone;
int installedShape = kCursorShapeNone;
D3DTexture* cursorImage = nullptr;
D3DTexture* hardwareCursor = nullptr;
D3DTexture* softwareCursor = nullptr;
// Set once the cursor could not be built (its image missing, or refused by the device) and that
// was logged; cleared by a rebuild request (device reset or dialog mode change), so that the
// cursor is tried, and a failure logged, again only then and not in every frame.
bool cursorFailed = false;

bool UseHardwareCursor() {
    return HWCursor != 0;
}

// Logs the failure once, with the image's name; the objects already built go (`release`) so that
// the rebuild starts from scratch.
bool FailCursor(HRESULT hr, bool release) {
    LogPrintf("UpdateCursor: cursor.png: %s", DXGetErrorString9(hr));
    if (release) {
        ReleaseCursor();
    }
    cursorFailed = true;
    return false;
}

// Copies the wanted cell of the cursor image into level 0 of `target`.
HRESULT CopyCell(D3DTexture* target) {
    IDirect3DSurface9* source = nullptr;
    HRESULT hr = cursorImage->GetTexture()->GetSurfaceLevel(0, &source);
    if (FAILED(hr)) {
        return hr;
    }
    IDirect3DSurface9* dest = nullptr;
    hr = target->GetTexture()->GetSurfaceLevel(0, &dest);
    if (SUCCEEDED(hr)) {
        const int shape = wantedShape == kCursorShapeNone ? 0 : wantedShape;
        const RECT cell{shape * kCursorCellSize, 0, (shape + 1) * kCursorCellSize, kCursorCellSize};
        const POINT origin{0, 0};
        hr = D3DApp->device->UpdateSurface(source, &cell, dest, &origin);
        if (SUCCEEDED(hr) && target == hardwareCursor) {
            const POINT hot = CursorHotSpot(wantedShape);
            hr = D3DApp->device->SetCursorProperties(static_cast<UINT>(hot.x),
                                                     static_cast<UINT>(hot.y), dest);
        }
        dest->Release();
    }
    source->Release();
    return hr;
}

HRESULT MakeCursorTexture(D3DTexture** texture, D3DFORMAT format, const char* name) {
    if (*texture != nullptr) {
        return D3D_OK;
    }
    HRESULT hr =
        D3D_CreateTexture(texture, kCursorCellSize, kCursorCellSize, 0, format, D3DPOOL_DEFAULT);
    if (FAILED(hr)) {
        ReleaseRef(*texture);
        return hr;
    }
    (*texture)->SetName(name);
    return D3D_OK;
}

}  // namespace

void SetCursorShape(int shape) {
    if (shape == kCursorShapeRebuild) {
        installedShape = kCursorShapeNone;
        cursorFailed = false;
        UpdateCursor();
        return;
    }
    wantedShape = shape;
}

POINT CursorHotSpot(int shape) {
    return shape == 2 ? POINT{12, 0} : POINT{0, 0};
}

bool UpdateCursor() {
    if (installedShape != kCursorShapeNone && installedShape == wantedShape) {
        return true;
    }
    if (D3DApp == nullptr || D3DApp->device == nullptr || cursorFailed) {
        return false;
    }
    const bool hardware = UseHardwareCursor();
    const D3DFORMAT format = hardware ? D3DFMT_A8R8G8B8 : D3DFMT_A1R5G5B5;
    if (cursorImage == nullptr) {
        const HRESULT hr = D3D_LoadTexture(GetPath(PathKind::Image, "cursor"), &cursorImage, 0, 0,
                                           format, D3DPOOL_SYSTEMMEM, D3DX_FILTER_NONE);
        if (FAILED(hr)) {
            ReleaseRef(cursorImage);
            return FailCursor(hr, false);
        }
    }
    D3DTexture** target = hardware ? &hardwareCursor : &softwareCursor;
    HRESULT hr = MakeCursorTexture(target, format, hardware ? "HW Cursor" : "SW Cursor");
    if (SUCCEEDED(hr)) {
        hr = CopyCell(*target);
    }
    if (FAILED(hr)) {
        return FailCursor(hr, true);
    }
    installedShape = wantedShape;
    return true;
}

void ReleaseCursor() {
    ReleaseRef(softwareCursor);
    ReleaseRef(hardwareCursor);
    ReleaseRef(cursorImage);
    wantedShape = kCursorShapeNone;
    installedShape = kCursorShapeNone;
    cursorFailed = false;
}

int GetWantedCursorShape() {
    return wantedShape;
}

D3DTexture* SoftwareCursorTexture() {
    return softwareCursor;
}

void DrawSoftwareCursor() {
    if (softwareCursor == nullptr || DialogModeFlag != 0 || D3DApp == nullptr ||
        D3DApp->device == nullptr) {
        return;
    }
    POINT pointer{};
    GetCursorPos(&pointer);
    if (WindowedFlag && MainWindow != nullptr) {
        ScreenToClient(MainWindow, &pointer);
    }
    if (pointer.x < 0 || pointer.y < 0) {
        return;
    }
    IDirect3DDevice9* device = D3DApp->device.get();
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    const POINT hot = CursorHotSpot(installedShape);
    softwareCursor->DrawAt(pointer.x - hot.x, pointer.y - hot.y, nullptr, 0xFFFFFFFFu);
}
