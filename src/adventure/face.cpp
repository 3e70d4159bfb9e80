#include "adventure/face.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "adventure/game_mode.h"
#include "adventure/message_window.h"
#include "foundation/path.h"
#include "media/graphics/plane.h"

D3DPlane* FacePlane = nullptr;

namespace {

// The face's size against the letterbox scale.
constexpr float kFaceScale = 0.7f;

}  // namespace

void SetFace(const char* name) {
    if (name == nullptr || name[0] == '*') {
        ClearFace();
        return;
    }
    // The new face is made before the old one goes, so that a face shown again shares the
    // texture that is still loaded instead of reading and decoding its picture anew.
    D3DPlane* face = nullptr;
    const std::string picture = std::string("face\\") + name;
    const HRESULT hr = D3D_LoadPlane(GetPath(PathKind::Image, picture.c_str()), &face, 1, 0,
                                     D3DFMT_UNKNOWN, D3DPOOL_MANAGED);
    ClearFace();
    if (FAILED(hr)) {
        if (face != nullptr) {
            face->Release();
        }
        return;
    }
    FacePlane = face;
    const auto scale = static_cast<float>(LetterboxScale) * kFaceScale;
    FacePlane->SetScale(scale, scale);
    FacePlane->SetPivot(0.0f, static_cast<float>(FacePlane->height));
    FacePlane->SetPosition(static_cast<int>(LetterboxRect.left),
                           static_cast<int>(LetterboxRect.bottom));
    FacePlane->SetFilter(D3DTEXF_LINEAR);
    FacePlane->SetUpdateCallback(FaceUpdate, nullptr);
}

void ClearFace() {
    if (FacePlane != nullptr) {
        FacePlane->Release();
        FacePlane = nullptr;
    }
}

int FaceUpdate(D3DPlane* plane, double, void*) {
    const float fade = WindowFadeTime * 5.0f;
    const float k = MessageWindowShown != 0 ? fade : 1.0f - fade;
    const float x = static_cast<float>(plane->width) * k * static_cast<float>(LetterboxScale);
    const int alpha = 255 - static_cast<int>(std::trunc(255.0f * k));
    plane->SetAlpha(static_cast<BYTE>(std::clamp(alpha, 0, 255)));
    plane->SetPosition(static_cast<float>(LetterboxRect.left) - x,
                       static_cast<float>(LetterboxRect.bottom), plane->z);
    return 1;
}

bool BuiltinFace(const ScriptArguments& arguments) {
    SetFace(arguments.String(0));
    return true;
}
