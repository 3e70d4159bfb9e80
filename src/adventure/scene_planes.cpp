// The scene's planes: making BASE and FADE, capturing the screen into BASE, and releasing the
// whole scene.

#include <cstring>

#include "adventure/adventure_state.h"
#include "adventure/face.h"
#include "adventure/game_mode.h"
#include "adventure/mascot.h"
#include "adventure/message_window.h"
#include "adventure/scene.h"
#include "adventure/scene_effects.h"
#include "adventure/stand.h"
#include "foundation/app_settings.h"
#include "foundation/path.h"
#include "media/graphics/d3d_functions.h"
#include "media/graphics/device_log.h"
#include "media/graphics/texture.h"
#include "platform/d3dx/com_ptr.h"
#include "platform/d3dx/surface_load.h"

D3DPlane* BasePlane = nullptr;
D3DPlane* FadePlane = nullptr;
IDirect3DTexture9* SavedScenePicture = nullptr;

SceneVector BaseFromPos;
SceneVector BaseToPos;
SceneVector BaseFromScale{1.0f, 1.0f};
SceneVector BaseToScale{1.0f, 1.0f};
float BaseFromAngle = 0.0f;
float BaseToAngle = 0.0f;
std::int32_t BaseFromAlpha = 255;
std::int32_t BaseToAlpha = 255;
std::int32_t TransitionCurve = 0;
POINT QuakeAmplitude{0, 0};
double QuakeDuration = 0.0;
std::int32_t EffectReverse = 0;

namespace {

constexpr float kBaseDepth = 0.1f;
constexpr D3DCOLOR kOpaqueBlack = 0xFF000000u;
constexpr const char* kCaptureLog = "CaptureBasePlane";

using SurfacePtr = d3dx::ComPtr<IDirect3DSurface9>;

void ReleasePlane(D3DPlane*& plane) {
    if (plane != nullptr) {
        plane->Release();
        plane = nullptr;
    }
}

void ReleaseFadePlane() {
    // A fade cut short must still let the script go on.
    if (FadePlane != nullptr && FadePlane->updateCallback == SceneFadeUpdate) {
        EndSceneFade(FadePlane);
    }
    ReleasePlane(FadePlane);
}

void ResetAnimationValues() {
    BaseFromPos = BaseToPos = SceneVector{};
    BaseFromScale = BaseToScale = SceneVector{1.0f, 1.0f};
    BaseFromAngle = BaseToAngle = 0.0f;
    BaseFromAlpha = BaseToAlpha = 255;
    TransitionTimeLeft = 0.0;
    TransitionDuration = 0.0;
}

// A ScreenWidth x ScreenHeight render-target plane filled with `colour` into `plane`.
HRESULT MakeBlankPlane(D3DPlane** plane, D3DCOLOR colour) {
    HRESULT hr = D3D_CreateTexturePlane(ScreenWidth, ScreenHeight, plane, D3DUSAGE_RENDERTARGET,
                                        D3DFMT_UNKNOWN, D3DPOOL_DEFAULT);
    if (SUCCEEDED(hr)) {
        hr = (*plane)->texture->ColorFill(nullptr, colour);
    }
    return hr;
}

// The picture strip: from the letterbox's top left, the picture's size times LetterboxScale.
HRESULT PlaceBasePicture(D3DPlane* plane) {
    const D3DTexture& texture = *plane->texture;
    const float left = static_cast<float>(LetterboxRect.left) - 0.5f;
    const float top = static_cast<float>(LetterboxRect.top) - 0.5f;
    const auto right = left + static_cast<float>(texture.imageWidth * LetterboxScale);
    const auto bottom = top + static_cast<float>(texture.imageHeight * LetterboxScale);
    const float u = texture.width != 0
                        ? static_cast<float>(texture.imageWidth) / static_cast<float>(texture.width)
                        : 0.0f;
    const float v = texture.height != 0 ? static_cast<float>(texture.imageHeight) /
                                              static_cast<float>(texture.height)
                                        : 0.0f;
    TLVertex strip[4] = {TLVertex(left, top, 0.0f, 0.0f), TLVertex(right, top, u, 0.0f),
                         TLVertex(left, bottom, 0.0f, v), TLVertex(right, bottom, u, v)};
    for (TLVertex& vertex : strip) {
        vertex.z = kBaseDepth;
    }
    const HRESULT hr = plane->CreateVB(D3DPT_TRIANGLESTRIP, sizeof(TLVertex), kTLVertexFvf, strip,
                                       4, 0, D3DPOOL_SYSTEMMEM);
    plane->SetFilter(LetterboxScale == 1.0 ? D3DTEXF_POINT : D3DTEXF_LINEAR);
    return hr;
}

// The source of a capture: the whole back buffer (`texture` null) or the texture's picture.
HRESULT CaptureSource(D3DTexture* texture, SurfacePtr* source, RECT* sourceRect,
                      const RECT** sourceArea, RECT* destRect) {
    if (texture == nullptr) {
        IDirect3DSurface9* backBuffer = nullptr;
        const HRESULT hr =
            CurrentDevice()->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer);
        if (SUCCEEDED(hr)) {
            source->reset(backBuffer);
        }
        *sourceArea = nullptr;
        *destRect = RECT{0, 0, static_cast<LONG>(ScreenWidth), static_cast<LONG>(ScreenHeight)};
        return hr;
    }
    if (texture->texture == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    // The picture only: a level padded past the image would squeeze the picture.
    *sourceRect =
        RECT{0, 0, static_cast<LONG>(texture->imageWidth), static_cast<LONG>(texture->imageHeight)};
    *sourceArea = sourceRect;
    *destRect = LetterboxRect;
    return GetLevelZero(texture->texture, source);
}

bool NamedBase(const D3DTexture* texture) {
    return texture != nullptr && texture->name == "BASE";
}

}  // namespace

void ReleaseBasePlane() {
    ReleasePlane(BasePlane);
}

HRESULT LoadBasePlane(const char* name) {
    ReleasePlane(BasePlane);
    HRESULT hr;
    if (name == nullptr) {
        hr = MakeBlankPlane(&BasePlane, kOpaqueBlack);
    } else {
        hr = D3D_LoadPlane(GetPath(PathKind::Image, name), &BasePlane, 1, 0, D3DFMT_UNKNOWN,
                           D3DPOOL_MANAGED);
        if (SUCCEEDED(hr)) {
            hr = PlaceBasePicture(BasePlane);
        }
    }
    if (FAILED(hr)) {
        ReleasePlane(BasePlane);
        return hr;
    }
    BasePlane->SetPosition(0.0f, 0.0f, kBaseDepth);
    BasePlane->SetName("BASE");
    BasePlane->texture->SetName("BASE");
    ResetAnimationValues();
    return hr;
}

HRESULT CreateFadePlane(D3DCOLOR colour) {
    ReleaseFadePlane();
    const HRESULT hr = MakeBlankPlane(&FadePlane, colour);
    if (FAILED(hr)) {
        ReleasePlane(FadePlane);
        return hr;
    }
    FadePlane->SetName("FADE");
    FadePlane->texture->SetName("FADE");
    return hr;
}

HRESULT CaptureBasePlane(D3DTexture* texture) {
    ClearStands();
    HRESULT hr = LoadBasePlane(nullptr);
    if (FAILED(hr)) {
        return hr;
    }
    SurfacePtr dest;
    SurfacePtr source;
    RECT sourceRect{};
    const RECT* sourceArea = nullptr;
    RECT destRect{};
    hr = GetLevelZero(BasePlane->texture->texture, &dest);
    if (SUCCEEDED(hr)) {
        hr = CaptureSource(texture, &source, &sourceRect, &sourceArea, &destRect);
    }
    if (SUCCEEDED(hr)) {
        const DWORD filter = LetterboxScale == 1.0 ? D3DX_FILTER_NONE : D3DX_FILTER_LINEAR;
        hr = D3DXLoadSurfaceFromSurface(dest.get(), nullptr, &destRect, source.get(), nullptr,
                                        sourceArea, filter, 0);
    }
    if (FAILED(hr)) {
        return LogDeviceError(kCaptureLog, hr);
    }
    return hr;
}

D3DPlane* EnsureBasePlane(int check) {
    const bool renamed = check != 0 && BasePlane != nullptr && !NamedBase(BasePlane->texture);
    if (BasePlane == nullptr || renamed) {
        LoadBasePlane(nullptr);
    }
    return BasePlane;
}

D3DTexture* GetBaseTexture(int check) {
    D3DPlane* plane = EnsureBasePlane(check);
    return plane != nullptr ? plane->texture : nullptr;
}

void ReleaseScene() {
    ClearStands();
    ReleaseMessageWindow();
    ClearFace();
    ReleaseFadePlane();
    if (SavedScenePicture != nullptr) {
        SavedScenePicture->Release();
        SavedScenePicture = nullptr;
    }
    ReleasePlane(BasePlane);
    ReleaseMascot();
}
