// MenuWindow: layout and drawing of a window (frame, scroll bar, items) and of all windows.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "foundation/app_settings.h"
#include "media/graphics/d3d_functions.h"
#include "media/graphics/font.h"
#include "media/graphics/texture.h"
#include "shell/cursor.h"
#include "sprite_ui/baloon.h"
#include "sprite_ui/menu_window.h"

namespace {

constexpr D3DCOLOR kWhite = 0xFFFFFFFFu;
constexpr D3DCOLOR kHighlightBlue = 0x000000A0u;
constexpr UINT kFontCacheSize = 256;
// The cursor sent to a just-focused window stays this far inside its line.
constexpr int kCursorMargin = 8;

int ImageWidth(const D3DTexture* texture) {
    return texture != nullptr ? static_cast<int>(texture->imageWidth) : 0;
}

int ImageHeight(const D3DTexture* texture) {
    return texture != nullptr ? static_cast<int>(texture->imageHeight) : 0;
}

void SetAddressing(IDirect3DDevice9* device, DWORD mode) {
    device->SetSamplerState(0, D3DSAMP_ADDRESSU, mode);
    device->SetSamplerState(0, D3DSAMP_ADDRESSV, mode);
}

void SetPointFiltering(IDirect3DDevice9* device) {
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
}

// `source` (texels) drawn into `dest` (screen pixels); nothing when either is empty.
void DrawPiece(D3DTexture* texture, const RECT& dest, const RECT& source) {
    if (texture == nullptr || dest.right <= dest.left || dest.bottom <= dest.top ||
        source.right <= source.left || source.bottom <= source.top) {
        return;
    }
    texture->DrawRect(&dest, &source, kWhite);
}

RECT MakeRect(int left, int top, int width, int height) {
    return RECT{left, top, left + width, top + height};
}

}  // namespace

void MenuWindow::Draw() {
    if ((flags & kMenuHidden) != 0) {
        return;
    }
    flags |= kMenuDrawn;
    IDirect3DDevice9* device = CurrentDevice();
    IDirect3DSurface9* target = nullptr;
    if (device == nullptr || FAILED(D3D_GetRenderTarget(&target))) {
        return;
    }
    D3DSURFACE_DESC desc{};
    const HRESULT described = target->GetDesc(&desc);
    target->Release();
    if (FAILED(described)) {
        return;
    }
    D3DTexture* const sides = frameTextures[kFrameSides];
    D3DTexture* const topBottom = frameTextures[kFrameTopBottom];
    D3DTexture* const corners = frameTextures[kFrameCorners];
    const int bw = ImageWidth(sides) / 2;
    const int bh = ImageHeight(topBottom) / 2;
    const int cw = bw != 0 ? bw : ImageWidth(corners) / 2;
    const int ch = bh != 0 ? bh : ImageHeight(corners) / 2;

    const int w = width == kMenuAuto ? contentWidth : width;
    const int h = height == kMenuAuto ? contentHeight : height;
    int left = x == kMenuAuto ? (static_cast<int>(desc.Width) - w) / 2 : x;
    int top = y == kMenuAuto ? (static_cast<int>(desc.Height) - h) / 2 : y;
    const auto screenWidth = static_cast<int>(ScreenWidth);
    const auto screenHeight = static_cast<int>(ScreenHeight);
    if (left + w + bw > screenWidth) {
        left -= left + w + bw - screenWidth;
    }
    if (left - bw < 0) {
        left = bw;
    }
    if (top + h + bh > screenHeight) {
        top -= top + h + bh - screenHeight;
    }
    if (top - bh < 0) {
        top = bh;
    }
    itemArea = RECT{left, top, left + w, top + h};
    windowRect = RECT{left - bw, top - bh, left + w + bw, top + h + bh};

    const MenuWindowWatch watch(this);
    if (DispatchWindowEvent(this, kMenuEventDrawWindow, 0) != 0 || !watch.Alive()) {
        return;
    }
    SetAddressing(device, D3DTADDRESS_CLAMP);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    SetPointFiltering(device);
    if (font == nullptr && !items.empty()) {
        SetFont(fontDescription);
        if (font == nullptr) {
            return;
        }
    }
    DrawFrame(bw, bh, cw, ch);
    DrawScrollBar();
    DrawItems();
    if (!watch.Alive()) {
        return;
    }
    flags &= ~kMenuJustFocused;
    DispatchWindowEvent(this, kMenuEventAfterDraw, 0);
}

void MenuWindow::DrawFrame(int bw, int bh, int cw, int ch) {
    IDirect3DDevice9* device = CurrentDevice();
    const int w = itemArea.right - itemArea.left;
    const int h = itemArea.bottom - itemArea.top;
    const int left = windowRect.left;
    const int top = windowRect.top;
    // The background and the borders repeat their images across the window.
    SetAddressing(device, D3DTADDRESS_WRAP);
    D3DTexture* const background = frameTextures[kFrameBackground];
    if ((flags & kMenuNoBackground) == 0 && background != nullptr) {
        const RECT source{0, 0, w + 2 * bw, h + 2 * bh};
        background->DrawAt(left, top, &source, kWhite);
    }
    if ((flags & kMenuNoBorder) == 0) {
        D3DTexture* const corners = frameTextures[kFrameCorners];
        const int tw = ImageWidth(corners);
        const int th = ImageHeight(corners);
        const RECT& r = windowRect;
        DrawPiece(corners, MakeRect(r.left, r.top, cw, ch), RECT{0, 0, cw, ch});
        DrawPiece(corners, MakeRect(r.right - cw, r.top, cw, ch), RECT{tw - cw, 0, tw, ch});
        DrawPiece(corners, MakeRect(r.left, r.bottom - ch, cw, ch), RECT{0, th - ch, cw, th});
        DrawPiece(corners, MakeRect(r.right - cw, r.bottom - ch, cw, ch),
                  RECT{tw - cw, th - ch, tw, th});

        D3DTexture* const sides = frameTextures[kFrameSides];
        D3DTexture* const topBottom = frameTextures[kFrameTopBottom];
        const int sideHeight = h - (topBottom == nullptr ? 2 * ch : 0);
        const int sw = ImageWidth(sides);
        DrawPiece(sides, MakeRect(left, top + ch, bw, sideHeight), RECT{0, 0, bw, sideHeight});
        DrawPiece(sides, MakeRect(left + w + cw, top + ch, bw, sideHeight),
                  RECT{sw - bw, 0, sw, sideHeight});

        const int edgeWidth = w - (sides == nullptr ? 2 * cw : 0);
        const int eh = ImageHeight(topBottom);
        DrawPiece(topBottom, MakeRect(left + cw, top, edgeWidth, bh), RECT{0, 0, edgeWidth, bh});
        DrawPiece(topBottom, MakeRect(left + cw, top + h + ch, edgeWidth, bh),
                  RECT{0, eh - bh, edgeWidth, eh});
    }
    SetAddressing(device, D3DTADDRESS_CLAMP);
}

void MenuWindow::DrawScrollBar() {
    scrollUpButton = RECT{};
    scrollDownButton = RECT{};
    scrollThumb = RECT{};
    D3DTexture* const bar = frameTextures[kFrameScrollBar];
    if (bar == nullptr || (flags & kMenuPassive) != 0) {
        return;
    }
    const int sw = ImageWidth(bar) / 2;
    const int sh = ImageHeight(bar) / 2;
    const int left = itemArea.left;
    const int top = itemArea.top;
    const int w = itemArea.right - itemArea.left;
    const int h = itemArea.bottom - itemArea.top;
    if ((flags & kMenuNoThumb) == 0 && h < contentHeight) {
        const auto thumbTop =
            top + static_cast<int>(static_cast<std::int64_t>(scroll) * h / contentHeight);
        const auto thumbHeight = static_cast<int>(static_cast<std::int64_t>(h) * h / contentHeight);
        const int cap = sh / 2;
        const int barLeft = left + w;
        DrawPiece(bar, MakeRect(barLeft, thumbTop, sw, thumbHeight), RECT{sw, 1, 2 * sw, sh - 1});
        DrawPiece(bar, MakeRect(barLeft, thumbTop - cap, sw, cap), RECT{0, 0, sw, cap});
        DrawPiece(bar, MakeRect(barLeft, thumbTop + thumbHeight, sw, cap),
                  RECT{0, sh - cap, sw, sh});
        scrollThumb = RECT{barLeft, thumbTop - cap, barLeft + sw, thumbTop + thumbHeight + cap};
    }
    if ((flags & kMenuNoScrollButtons) != 0) {
        return;
    }
    const int buttonLeft = left + (w - sw) / 2;
    if (scroll + h < contentHeight) {
        scrollDownButton = MakeRect(buttonLeft, top + h, sw, sh);
        DrawPiece(bar, scrollDownButton, RECT{0, sh, sw, 2 * sh});
    }
    if (scroll > 0) {
        scrollUpButton = MakeRect(buttonLeft, top - sh, sw, sh);
        DrawPiece(bar, scrollUpButton, RECT{sw, sh, 2 * sw, 2 * sh});
    }
}

D3DFont* MenuWindow::ItemFont(int index) {
    const auto i = static_cast<std::size_t>(index);
    if (i < itemFonts.size() && itemFonts[i] != nullptr) {
        return itemFonts[i];
    }
    if (shrinkToFit == 0 || font == nullptr || i >= itemFonts.size()) {
        return font;
    }
    SIZE size{};
    font->GetTextExtent(&size, items[i]->text);
    const int w = itemArea.right - itemArea.left;
    if ((size.cx <= w && size.cy <= lineHeight) || size.cx <= 0 || size.cy <= 0) {
        return font;
    }
    // Each dimension shrinks only, so that fitting one never makes the other overflow.
    LOGFONTA shrunk = fontDescription;
    const LONG baseWidth = shrunk.lfWidth != 0 ? shrunk.lfWidth : shrunk.lfHeight / 2;
    if (size.cx > w) {
        shrunk.lfWidth = std::max<LONG>(1, baseWidth * w / size.cx);
    }
    if (size.cy > lineHeight) {
        shrunk.lfHeight = std::max<LONG>(1, shrunk.lfHeight * lineHeight / size.cy);
    }
    if (FAILED(D3D_CreateFont(&itemFonts[i], &shrunk, kFontCacheSize))) {
        if (itemFonts[i] != nullptr) {
            itemFonts[i]->Release();
            itemFonts[i] = nullptr;
        }
        return font;
    }
    return itemFonts[i];
}

void MenuWindow::DrawItems() {
    IDirect3DDevice9* device = CurrentDevice();
    const MenuWindowWatch watch(this);
    const RECT area = itemArea;
    const int first = area.top - DrawnScroll();
    const bool focused = GetFocusWindow() == this && (flags & kMenuPassive) == 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const int top = first + static_cast<int>(i) * lineHeight;
        const int bottom = top + lineHeight;
        if (bottom <= area.top) {
            continue;
        }
        if (top >= area.bottom) {
            break;
        }
        const RECT visible{area.left, std::max(top, static_cast<int>(area.top)), area.right,
                           std::min(bottom, static_cast<int>(area.bottom))};
        MenuItem* item = items[i];
        if (focused && static_cast<int>(i) == current &&
            (item->flags & kMenuItemNoHighlight) == 0) {
            const auto alpha =
                static_cast<std::uint32_t>(std::fabs(std::cos(2.0 * HighlightClock)) * 255.0);
            device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
            D3D_ColorFillRect(&visible, (alpha << 24) | kHighlightBlue);
            device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
            if ((flags & kMenuJustFocused) != 0) {
                const POINT cursor = MenuCursorPosition();
                const int lo = static_cast<int>(visible.left) + kCursorMargin;
                const int hi = static_cast<int>(visible.right) - kCursorMargin;
                SetCursorTarget(std::max(lo, std::min(static_cast<int>(cursor.x), hi)),
                                static_cast<int>(visible.bottom) - kCursorMargin);
            }
        }
        MenuItemDraw record;
        record.index = static_cast<int>(i);
        record.line =
            RECT{area.left, top, area.left + item->extent.right - item->extent.left, bottom};
        record.item = item;
        record.visible = *item;
        record.visible.extent = RECT{record.line.left, visible.top,
                                     std::min(record.line.right, area.right), visible.bottom};
        const int handled =
            DispatchWindowEvent(this, kMenuEventDrawItem, reinterpret_cast<std::intptr_t>(&record));
        // The handler may have deleted the window or changed its items.
        if (!watch.Alive()) {
            return;
        }
        if (handled != 0 || i >= items.size() || items[i] != item || item->text == nullptr) {
            continue;
        }
        D3DFont* itemFont = ItemFont(static_cast<int>(i));
        if (itemFont == nullptr) {
            continue;
        }
        UINT cellHeight = 0;
        itemFont->GetCellSize(nullptr, &cellHeight);
        int textX = area.left;
        if ((item->flags & kMenuItemCentred) != 0) {
            SIZE size{};
            itemFont->GetTextExtent(&size, item->text);
            textX = area.left + (area.right - area.left - size.cx) / 2;
        }
        // Centred in the whole line and clipped to its visible part, so that a line scrolling
        // in or out keeps its text in place.
        const int textY = top + (lineHeight - static_cast<int>(cellHeight)) / 2;
        itemFont->SetColor(item->colour);
        itemFont->Draw(textX, textY, item->text, &visible);
    }
}

void DrawMenuWindows() {
    if (IDirect3DDevice9* device = CurrentDevice(); device != nullptr) {
        SetPointFiltering(device);
    }
    // Handlers may add or remove windows while drawing: the walk starts again after each one.
    for (;;) {
        const std::vector<MenuWindow*>& list = MenuWindowList();
        MenuWindow* const focus = GetFocusWindow();
        const auto next = std::find_if(list.begin(), list.end(), [focus](MenuWindow* w) {
            return w != focus && (w->flags & (kMenuDrawn | kMenuHidden)) == 0;
        });
        if (next == list.end()) {
            break;
        }
        (*next)->Draw();
    }
    MenuWindow* const focus = GetFocusWindow();
    if (focus != nullptr) {
        focus->Draw();
    }
    if (GetFocusWindow() != focus && GetFocusWindow() != nullptr) {
        GetFocusWindow()->Draw();
    }
    const std::vector<Baloon*>& baloons = BaloonList();
    for (std::size_t i = 0; i < baloons.size(); ++i) {
        if ((baloons[i]->flags & kBaloonDrawn) == 0) {
            baloons[i]->Draw();
        }
    }
}
