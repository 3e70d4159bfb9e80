// Built-in function 27: the BASE animation's sub-commands set the start and target values,
// the curve, the blend mode and the capture; the scene runs the animation frame by frame.

#include <algorithm>

#include "adventure/adventure_state.h"
#include "adventure/game_mode.h"
#include "adventure/scene.h"

namespace {

// 0: the animation's length; a length of 0 applies the targets at once.
bool SetDuration(const ScriptArguments& arguments) {
    // A negative length counts as 0.
    const std::int32_t tenths = std::max(arguments.Long(1, 0), 0);
    TransitionDuration = tenths * 0.1;
    TransitionTimeLeft = TransitionDuration;
    if (TransitionDuration == 0.0) {
        UpdateTransition();
        return true;
    }
    return false;
}

// 1: the pivot moves onto the logical point (x, y) and the position with it, so the picture
// stays in place. The point is taken on the 800 x 600 screen as shown in the letterbox, where
// BASE's vertices lie, so that a turn or zoom about it is the same on every display.
void SetPivot(D3DPlane* base, const ScriptArguments& arguments) {
    const auto scale = static_cast<float>(LetterboxScale);
    const float x =
        static_cast<float>(LetterboxRect.left) + static_cast<float>(arguments.Long(1, 0)) * scale;
    const float y =
        static_cast<float>(LetterboxRect.top) + static_cast<float>(arguments.Long(2, 0)) * scale;
    const float dx = x - base->pivotX;
    const float dy = y - base->pivotY;
    base->SetPivot(x, y);
    base->SetPosition(base->x + dx, base->y + dy, base->z);
    BaseFromPos = BaseToPos = SceneVector{base->x, base->y};
}

// 2: a move to (-x, -y) logical pixels.
void SetMove(const D3DPlane* base, const ScriptArguments& arguments) {
    const auto scale = static_cast<float>(LetterboxScale);
    BaseFromPos = SceneVector{base->x, base->y};
    BaseToPos = SceneVector{-static_cast<float>(arguments.Long(1, 0)) * scale,
                            -static_cast<float>(arguments.Long(2, 0)) * scale};
}

void SetRotation(D3DPlane* base, const ScriptArguments& arguments) {
    BaseFromAngle = base->rotation;
    BaseToAngle = static_cast<float>(arguments.Long(1, 0)) * 0.017453292f;
    base->SetFilter(D3DTEXF_LINEAR);
}

void SetZoom(D3DPlane* base, const ScriptArguments& arguments) {
    const auto zoom = static_cast<float>(arguments.Float(1, 0.0));
    BaseFromScale = SceneVector{base->scaleX, base->scaleY};
    BaseToScale = SceneVector{zoom, zoom};
    base->SetFilter(D3DTEXF_LINEAR);
}

void SetFade(D3DPlane* base, const ScriptArguments& arguments) {
    BaseFromAlpha = static_cast<std::int32_t>(base->colour >> 24);
    BaseToAlpha = arguments.Long(1, 0);
    base->SetFlagBits(kPlaneGameSwitch, true);
}

void SetCapture(const ScriptArguments& arguments) {
    CaptureMode = arguments.Long(1, 0);
    if (CaptureMode != 0) {
        RenderAdventureScene(0);
        if (FadePlane != nullptr) {
            FadePlane->SetColor(0xFFFFFFFFu);
        }
    }
}

}  // namespace

bool BuiltinBaseAnimation(const ScriptArguments& arguments) {
    D3DPlane* base = EnsureBasePlane(0);
    if (base == nullptr) {
        return false;
    }
    switch (arguments.Long(0, 0)) {
        case 0:
            return SetDuration(arguments);
        case 1:
            SetPivot(base, arguments);
            break;
        case 2:
            SetMove(base, arguments);
            break;
        case 3:
            SetRotation(base, arguments);
            break;
        case 4:
            SetZoom(base, arguments);
            break;
        case 5:
            SetFade(base, arguments);
            break;
        case 6:
            TransitionCurve = arguments.Long(1, 0);
            break;
        case 7:
            BlendMode = static_cast<std::uint32_t>(arguments.Long(1, 0));
            break;
        case 8:
            SetCapture(arguments);
            break;
        default:
            break;
    }
    return true;
}
