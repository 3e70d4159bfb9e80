// Baloon: drawing the box, the tail and the contents.
#include <cmath>
#include <string>

#include "media/graphics/d3d_functions.h"
#include "media/graphics/font.h"
#include "media/graphics/texture.h"
#include "sprite_ui/baloon.h"
#include "sprite_ui/baloon_text.h"

namespace {

constexpr D3DCOLOR kWhite = 0xFFFFFFFFu;
constexpr D3DCOLOR kShadow = 0xFF000000u;

// Quarter (column, row) of the balloon image, `columns` x `rows` quarters large.
RECT Quarter(int column, int row, int columns, int rows, int qw, int qh) {
    return RECT{column * qw, row * qh, (column + columns) * qw, (row + rows) * qh};
}

void DrawStretched(D3DTexture* texture, int left, int top, int right, int bottom,
                   const RECT& source) {
    if (right <= left || bottom <= top) {
        return;
    }
    const RECT dest{left, top, right, bottom};
    texture->DrawRect(&dest, &source, kWhite);
}

}  // namespace

void DrawShadowText(Baloon* baloon, int x, int y, const char* text, D3DCOLOR colour) {
    if (baloon == nullptr || baloon->font == nullptr || text == nullptr) {
        return;
    }
    D3DFont* font = baloon->font;
    if (colour != kShadow) {
        font->SetColor(kShadow);
        font->Draw(x + 1, y + 1, text, nullptr);
    }
    font->SetColor(colour);
    font->Draw(x, y, text, nullptr);
}

int Baloon::Draw() {
    flags |= kBaloonDrawn;
    IDirect3DDevice9* device = CurrentDevice();
    if (device == nullptr || texture == nullptr) {
        return 1;
    }
    device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
    device->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    const int qw = static_cast<int>(texture->imageWidth) / 4;
    const int qh = static_cast<int>(texture->imageHeight) / 4;
    DrawBox(box.right - box.left, box.bottom - box.top, qw, qh);
    DrawTail(qw, qh);
    device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    device->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    DrawContents(qw, qh);
    return 1;
}

void Baloon::DrawBox(int w, int h, int qw, int qh) {
    const int l = box.left;
    const int t = box.top;
    // The last quarter row of the box stays free for the tail.
    const int bodyBottom = t + h - 2 * qh;
    DrawStretched(texture, l, t, l + qw, t + qh, Quarter(0, 0, 1, 1, qw, qh));
    DrawStretched(texture, l + w - qw, t, l + w, t + qh, Quarter(2, 0, 1, 1, qw, qh));
    DrawStretched(texture, l, bodyBottom, l + qw, bodyBottom + qh, Quarter(0, 2, 1, 1, qw, qh));
    DrawStretched(texture, l + w - qw, bodyBottom, l + w, bodyBottom + qh,
                  Quarter(2, 2, 1, 1, qw, qh));
    DrawStretched(texture, l + qw, t, l + w - qw, t + qh, Quarter(1, 0, 1, 1, qw, qh));
    DrawStretched(texture, l + qw, bodyBottom, l + w - qw, bodyBottom + qh,
                  Quarter(1, 2, 1, 1, qw, qh));
    DrawStretched(texture, l, t + qh, l + qw, bodyBottom, Quarter(0, 1, 1, 1, qw, qh));
    DrawStretched(texture, l + w - qw, t + qh, l + w, bodyBottom, Quarter(2, 1, 1, 1, qw, qh));
    DrawStretched(texture, l + qw, t + qh, l + w - qw, bodyBottom, Quarter(1, 1, 1, 1, qw, qh));
}

void Baloon::DrawTail(int qw, int qh) {
    const int left = x - qw / 2;
    const RECT source = Quarter(3, 0, 1, 2, qw, qh);
    if (y < box.top) {
        // The point lies above the box: the tail points up.
        const int top = box.top - qh - 1;
        const FloatRect dest(left, top, left + qw, top + 2 * qh);
        const FloatRect flipped(source.left, source.bottom, source.right, source.top);
        texture->DrawQuad(&dest, &flipped, kWhite);
    } else {
        DrawStretched(texture, left, box.bottom - 2 * qh, left + qw, box.bottom, source);
    }
}

void Baloon::DrawContents(int qw, int qh) {
    const int textX = box.left + (icon != nullptr ? 5 : 1) * qw;
    int textY = box.top + qh;
    if (title != nullptr) {
        DrawShadowText(this, textX, textY, title, kBaloonTitleColour);
        textY += lineHeight;
    }
    for (const std::string& piece : SplitBaloonLines(text)) {
        if (piece.empty()) {
            continue;
        }
        DrawShadowText(this, textX, textY, piece.c_str(), kBaloonTextColour);
        textY += lineHeight;
    }
    if (icon != nullptr) {
        const int bottom = box.bottom - static_cast<int>(qh * 1.4);
        const RECT dest{box.left + qw, bottom - 4 * qh, box.left + 5 * qw, bottom};
        const RECT source{0, 0, static_cast<LONG>(icon->imageWidth),
                          static_cast<LONG>(icon->imageHeight)};
        icon->DrawRect(&dest, &source, kWhite);
    }
}
