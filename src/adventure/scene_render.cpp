// Drawing the scene: BASE, the standing characters and FADE into the back buffer or into
// FADE's own texture, with the quake, the screen capture, the letterbox bars and the end of the
// BASE animation.

#include <algorithm>
#include <cmath>

#include "adventure/adventure_state.h"
#include "adventure/game_mode.h"
#include "adventure/scene.h"
#include "adventure/scene_effects.h"
#include "adventure/stand.h"
#include "foundation/app_settings.h"
#include "foundation/random.h"
#include "media/graphics/d3d_application.h"
#include "media/graphics/d3d_functions.h"
#include "media/graphics/device_log.h"
#include "media/graphics/texture.h"
#include "platform/d3dx/com_ptr.h"
#include "platform/d3dx/matrix.h"

namespace {

constexpr const char* kLog = "RenderAdventureScene";
constexpr D3DCOLOR kOpaqueBlack = 0xFF000000u;
// Offsets beyond this would overflow the doubled range RandomInt draws from.
constexpr double kMaxQuakeOffset = 0x3FFFFFFF;

void SetBlend(IDirect3DDevice9* device, DWORD source, DWORD dest) {
    device->SetRenderState(D3DRS_SRCBLEND, source);
    device->SetRenderState(D3DRS_DESTBLEND, dest);
}

void SetPointSampling(IDirect3DDevice9* device) {
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
}

// Black everywhere; depth 0.0 in the margins and 1.0 inside the letterbox, so that planes at a
// depth below 1.0 show only inside it under the "less" test.
void ClearTarget(IDirect3DDevice9* device) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kOpaqueBlack, 0.0f, 0);
    device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, kOpaqueBlack, 0.0f, 0);
    const D3DRECT inside{LetterboxRect.left, LetterboxRect.top, LetterboxRect.right,
                         LetterboxRect.bottom};
    device->Clear(1, &inside, D3DCLEAR_ZBUFFER, kOpaqueBlack, 1.0f, 0);
}

void SetSceneStates(IDirect3DDevice9* device) {
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    D3DApp->SetTransform(D3DTS_WORLD, &identity);
    SetPointSampling(device);
    device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    device->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESS);
    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    SetBlend(device, D3DBLEND_ONE, D3DBLEND_ZERO);
}

// Half the range of one quake axis now: the amplitude scaled by the time left, as a magnitude
// (a negative amplitude shakes as its positive does).
std::int32_t QuakeRange(LONG amplitude, double k) {
    const double range = std::fabs(std::trunc(static_cast<double>(amplitude) * k));
    return static_cast<std::int32_t>(std::min(range, kMaxQuakeOffset));
}

// The snapshot shaken: placed at random within the amplitude, which falls linearly to 0.
void DrawQuake() {
    const double k = QuakeDuration > 0.0 ? QuakeTime / QuakeDuration : 0.0;
    const std::int32_t ax = QuakeRange(QuakeAmplitude.x, k);
    const std::int32_t ay = QuakeRange(QuakeAmplitude.y, k);
    const std::int32_t x = RandomInt(2 * ax) - ax;
    const std::int32_t y = RandomInt(2 * ay) - ay;
    FadePlane->SetPosition(static_cast<int>(x), static_cast<int>(y));
    FadePlane->Draw();
}

void DrawBaseAndStands(IDirect3DDevice9* device) {
    if (BasePlane != nullptr) {
        ApplyBlendMode();
        BasePlane->Draw();
    }
    SetPointSampling(device);
    DrawStands();
}

// FADE keeps the last frame: the back buffer is copied into its texture.
void CaptureFrame(IDirect3DDevice9* device) {
    d3dx::ComPtr<IDirect3DSurface9> backBuffer;
    d3dx::ComPtr<IDirect3DSurface9> fade;
    IDirect3DSurface9* surface = nullptr;
    HRESULT hr = device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &surface);
    if (SUCCEEDED(hr)) {
        backBuffer.reset(surface);
        hr = GetLevelZero(FadePlane->texture->texture, &fade);
    }
    if (SUCCEEDED(hr)) {
        const RECT screen{0, 0, static_cast<LONG>(ScreenWidth), static_cast<LONG>(ScreenHeight)};
        hr = device->StretchRect(backBuffer.get(), &screen, fade.get(), &screen, D3DTEXF_NONE);
    }
    if (FAILED(hr)) {
        LogDeviceError(kLog, hr);
    }
}

bool HasFadeTexture() {
    return FadePlane != nullptr && FadePlane->texture != nullptr &&
           FadePlane->texture->texture != nullptr;
}

// The animation is over: with capture on, the last frame becomes the new BASE; the values
// settle at their targets and blending and capture return to normal.
void EndTransition() {
    if (CaptureMode != 0 && HasFadeTexture() && SUCCEEDED(LoadBasePlane(nullptr))) {
        BasePlane->RestoreTexture(FadePlane->texture->texture);
    }
    TransitionDuration = 0.0;
    BaseFromPos = BaseToPos;
    BaseFromScale = BaseToScale;
    BaseFromAngle = BaseToAngle;
    BaseFromAlpha = BaseToAlpha;
    BlendMode = 1;
    CaptureMode = 0;
}

}  // namespace

void DrawLetterboxBars() {
    if (EffectTimer == 0.0 && EffectReverse == 0) {
        return;
    }
    IDirect3DDevice9* device = CurrentDevice();
    if (device == nullptr) {
        return;
    }
    float t = std::clamp(static_cast<float>(EffectTimer), 0.0f, 1.0f);
    if (EffectReverse != 0) {
        t = 1.0f - t;
    }
    const D3DCOLOR colour = static_cast<D3DCOLOR>(static_cast<int>(t * 255.0f)) << 24;
    const float f = std::min(2.0f * t, 1.0f);
    const auto width = static_cast<float>(ScreenWidth);
    const auto height = static_cast<float>(ScreenHeight);
    RECT first{};
    RECT second{};
    if (LetterboxRect.left > 0) {
        const auto right = static_cast<float>(LetterboxRect.right);
        first = RECT{0, 0, static_cast<LONG>(static_cast<float>(LetterboxRect.left) * f),
                     static_cast<LONG>(ScreenHeight)};
        second = RECT{static_cast<LONG>(width - (width - right) * f), 0,
                      static_cast<LONG>(ScreenWidth), static_cast<LONG>(ScreenHeight)};
    } else if (LetterboxRect.top > 0) {
        const auto bottom = static_cast<float>(LetterboxRect.bottom);
        first = RECT{0, 0, static_cast<LONG>(ScreenWidth),
                     static_cast<LONG>(static_cast<float>(LetterboxRect.top) * f)};
        second = RECT{0, static_cast<LONG>(height - (height - bottom) * f),
                      static_cast<LONG>(ScreenWidth), static_cast<LONG>(ScreenHeight)};
    } else {
        return;
    }
    SetBlend(device, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
    D3D_ColorFillRect(&first, colour);
    D3D_ColorFillRect(&second, colour);
}

void RenderAdventureScene(int toScreen) {
    IDirect3DDevice9* device = CurrentDevice();
    if (device == nullptr) {
        return;
    }
    const bool screen = toScreen != 0;
    if (!screen) {
        if (FadePlane == nullptr && FAILED(CreateFadePlane(kOpaqueBlack))) {
            return;
        }
        FadePlane->ResetPosition();
    }
    if (FAILED(D3D_SetRenderTarget(screen ? nullptr : FadePlane->texture))) {
        return;
    }
    ClearTarget(device);
    SetSceneStates(device);
    if (TransitionDuration != 0.0) {
        UpdateTransition();
    }
    if (screen && FadePlane != nullptr && FadePlane->gameData == 0) {
        FadePlane->Draw();
    }
    if (QuakeTime == 0.0 || !screen || FadePlane == nullptr) {
        DrawBaseAndStands(device);
        if (screen && FadePlane != nullptr && FadePlane->gameData != 0) {
            SetBlend(device, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
            FadePlane->Draw();
        }
    } else {
        DrawQuake();
    }
    if (screen && CaptureMode != 0 && HasFadeTexture()) {
        SetBlend(device, D3DBLEND_ONE, D3DBLEND_ZERO);
        CaptureFrame(device);
    }
    DrawLetterboxBars();
    if (screen && TransitionDuration != 0.0 && TransitionTimeLeft <= 0.0) {
        EndTransition();
    }
    if (!screen) {
        D3D_SetRenderTarget(nullptr);
    }
}
