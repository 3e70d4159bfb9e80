// The BASE animation: easing, the values for the time left, and BASE's blend factors.

#include <algorithm>
#include <cmath>

#include "adventure/adventure_state.h"
#include "adventure/scene.h"
#include "media/graphics/d3d_functions.h"
#include "script/game_hooks.h"

namespace {

constexpr float kHalfPi = 1.5707964f;
constexpr float kPi = 3.1415927f;

// The share of the From value at `t` (1 at the start, 0 at the end).
float Ease(std::int32_t curve, float t) {
    switch (curve) {
        case 1:
            return std::sin(t * kHalfPi);
        case 2:
            return 1.0f - std::cos(t * kHalfPi);
        case 3:
            return (1.0f - std::cos(t * kPi)) / 2.0f;
        default:
            return t;
    }
}

float Between(float from, float to, float e) {
    return to + (from - to) * e;
}

}  // namespace

void UpdateTransition() {
    if (BasePlane == nullptr) {
        return;
    }
    float t = 0.0f;
    if (TransitionDuration != 0.0) {
        t = std::clamp(static_cast<float>(TransitionTimeLeft / TransitionDuration), 0.0f, 1.0f);
    }
    const float e = Ease(TransitionCurve, t);
    BasePlane->SetPosition(Between(BaseFromPos.x, BaseToPos.x, e),
                           Between(BaseFromPos.y, BaseToPos.y, e), 0.0f);
    BasePlane->SetScale(Between(BaseFromScale.x, BaseToScale.x, e),
                        Between(BaseFromScale.y, BaseToScale.y, e));
    BasePlane->SetRotation(Between(BaseFromAngle, BaseToAngle, e));
    const float alpha =
        std::trunc(Between(static_cast<float>(BaseFromAlpha), static_cast<float>(BaseToAlpha), e));
    // Clamped: a script's alpha outside 0..255 must not wrap around. The plane's own tint
    // (the BASE colour function) is kept.
    const auto level = static_cast<D3DCOLOR>(std::clamp(alpha, 0.0f, 255.0f));
    BasePlane->SetColor((BasePlane->colour & 0x00FFFFFFu) | (level << 24));
    if (e == 0.0f) {
        BaseFromPos = BaseToPos;
        BaseFromScale = BaseToScale;
        BaseFromAngle = BaseToAngle;
        BaseFromAlpha = BaseToAlpha;
    }
}

void ApplyBlendMode() {
    IDirect3DDevice9* device = CurrentDevice();
    if (device == nullptr) {
        return;
    }
    DWORD source = D3DBLEND_SRCALPHA;
    DWORD dest = D3DBLEND_INVSRCALPHA;
    if (BlendMode == 2) {
        dest = D3DBLEND_ONE;
    } else if (BlendMode == 3) {
        source = D3DBLEND_DESTCOLOR;
        dest = D3DBLEND_ZERO;
    }
    device->SetRenderState(D3DRS_SRCBLEND, source);
    device->SetRenderState(D3DRS_DESTBLEND, dest);
}

void SetScriptWaitFlag() {
    ScriptWaitFlag = 1;
}
