// ISprite drawing: the parts of the current frame as textured quads, and the frame step's
// drawing of every sprite not yet drawn.

#include <algorithm>
#include <cmath>

#include "adventure/game_mode.h"
#include "media/graphics/d3d_functions.h"
#include "media/graphics/texture.h"
#include "sprite_ui/sprite.h"

namespace {

void SetBlend(IDirect3DDevice9* device, std::uint32_t mode) {
    DWORD source = D3DBLEND_SRCALPHA;
    DWORD dest = D3DBLEND_INVSRCALPHA;
    if (mode == kSpriteBlendAdditive) {
        source = D3DBLEND_ONE;
        dest = D3DBLEND_ONE;
    } else if (mode == kSpriteBlendInverse) {
        source = D3DBLEND_ZERO;
        dest = D3DBLEND_INVSRCCOLOR;
    }
    device->SetRenderState(D3DRS_SRCBLEND, source);
    device->SetRenderState(D3DRS_DESTBLEND, dest);
}

}  // namespace

void ISprite::DrawParts() {
    if (data == nullptr) {
        return;
    }
    drawnRect = {9999, 9999, 0, 0};
    IDirect3DDevice9* device = CurrentDevice();
    for (const SpritePart& part : data->parts) {
        if (part.frame != frame || !part.drawable || device == nullptr) {
            continue;
        }
        D3DTexture* texture = data->textures[part.texture];
        if (texture == nullptr) {
            continue;
        }
        const std::uint32_t drawMode = data->drawModes[part.texture];
        SetBlend(device, drawMode == kSpriteBlendAdditive || drawMode == kSpriteBlendInverse
                             ? drawMode
                             : blendMode);

        FloatRect dest(0, 0, part.source.right - part.source.left,
                       part.source.bottom - part.source.top);
        if ((flags & kSpriteMirrorX) != 0) {
            std::swap(dest.left, dest.right);
        }
        if ((flags & kSpriteMirrorY) != 0) {
            std::swap(dest.top, dest.bottom);
        }
        dest.Offset(static_cast<float>(part.destX), static_cast<float>(part.destY));
        dest.left = dest.left * scaleX + x;
        dest.right = dest.right * scaleX + x;
        dest.top = dest.top * scaleY + y;
        dest.bottom = dest.bottom * scaleY + y;

        if (filter != kSpriteFilterNone) {
            device->SetSamplerState(0, D3DSAMP_MINFILTER, filter);
            device->SetSamplerState(0, D3DSAMP_MAGFILTER, filter);
        }
        const FloatRect source(part.source);
        texture->DrawQuad(&dest, &source, colour);

        drawnRect.left =
            std::min(drawnRect.left, SpriteCoordinate(std::min(dest.left, dest.right)));
        drawnRect.top = std::min(drawnRect.top, SpriteCoordinate(std::min(dest.top, dest.bottom)));
        drawnRect.right =
            std::max(drawnRect.right, SpriteCoordinate(std::max(dest.left, dest.right)));
        drawnRect.bottom =
            std::max(drawnRect.bottom, SpriteCoordinate(std::max(dest.top, dest.bottom)));
    }
    drawnMark = 1;
}

void ISprite::DrawAll(int /*flags*/) {
    for (ISprite* sprite : List()) {
        if (sprite->data != nullptr && (sprite->flags & kSpriteVisible) != 0 &&
            sprite->drawnMark == 0) {
            sprite->DrawParts();
            sprite->drawnMark = 1;
        }
    }
}

void ISprite::GetRect(RECT* rect) const {
    if (rect == nullptr) {
        return;
    }
    *rect = data != nullptr ? drawnRect : RECT{0, 0, -1, -1};
}

void PlaceSpriteScaled(ISprite* sprite, float x, float y) {
    if (sprite == nullptr) {
        return;
    }
    const auto scale = static_cast<float>(LetterboxScale);
    sprite->SetPosition(x * scale + static_cast<float>(LetterboxRect.left),
                        y * scale + static_cast<float>(LetterboxRect.top));
    sprite->SetScale(scale);
    sprite->SetFilter(LetterboxScale == 1.0 ? kSpriteFilterPoint : kSpriteFilterLinear);
}
