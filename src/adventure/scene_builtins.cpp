// The built-in functions whose work is the scene: backgrounds, colour pictures, the quake, the
// letterbox bars, waiting for the BASE animation, the saved picture, the scene render, the
// BASE colour and the screen capture.

#include <algorithm>
#include <cstdio>

#include "adventure/adventure_state.h"
#include "adventure/face.h"
#include "adventure/game_mode.h"
#include "adventure/mascot.h"
#include "adventure/scene.h"
#include "adventure/stand.h"
#include "foundation/path.h"
#include "media/graphics/texture.h"
#include "title/title_data.h"

namespace {

D3DCOLOR Argb(std::uint8_t alpha, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<D3DCOLOR>(alpha) << 24 | static_cast<D3DCOLOR>(red) << 16 |
           static_cast<D3DCOLOR>(green) << 8 | blue;
}

}  // namespace

bool BuiltinBackground(const ScriptArguments& arguments) {
    const char* picture = arguments.String(0);
    Title::MarkSeenVisual(picture);
    char name[kPathLength];
    std::snprintf(name, sizeof name, "%s\\%s", "visual", picture);
    if (arguments.Count() >= 3) {
        const std::int32_t x = arguments.Long(1, 0);
        const std::int32_t y = arguments.Long(2, 0);
        if (BasePlane == nullptr || BasePlane->texture == nullptr) {
            return false;
        }
        return SUCCEEDED(BasePlane->texture->LoadAt(GetPath(PathKind::Image, name), x, y));
    }
    RenderAdventureScene(0);
    ClearStands();
    ClearFace();
    LoadBasePlane(name);
    return true;
}

bool BuiltinColourPicture(const ScriptArguments& arguments) {
    const D3DCOLOR colour = Argb(arguments.UChar(3, 255), arguments.UChar(0, 0),
                                 arguments.UChar(1, 0), arguments.UChar(2, 0));
    RenderAdventureScene(0);
    ClearStands();
    ClearFace();
    if (FAILED(LoadBasePlane(nullptr))) {
        return false;
    }
    BasePlane->texture->ColorFill(nullptr, colour);
    return true;
}

bool BuiltinQuake(const ScriptArguments& arguments) {
    RenderAdventureScene(0);
    QuakeAmplitude = POINT{arguments.Long(0, 0), arguments.Long(1, 0)};
    // A negative length counts as 0.
    QuakeDuration = std::max(arguments.Long(2, 0), 0) * 0.1;
    QuakeTime = QuakeDuration;
    return false;
}

bool BuiltinLetterbox(const ScriptArguments& arguments) {
    if (LetterboxRect.left > 0 || LetterboxRect.top > 0) {
        EffectTimer = 1.0;
        EffectReverse = arguments.Long(0, 0);
    }
    HideMascot();
    return false;
}

bool BuiltinWaitBaseAnimation(const ScriptArguments&) {
    if (TransitionDuration == 0.0) {
        return true;
    }
    SetScriptWaitFlag();
    return false;
}

bool BuiltinSavePicture(const ScriptArguments&) {
    if (BasePlane == nullptr) {
        return false;
    }
    RenderAdventureScene(0);
    if (SavedScenePicture != nullptr) {
        SavedScenePicture->Release();
        SavedScenePicture = nullptr;
    }
    if (FadePlane != nullptr) {
        FadePlane->BackupTexture(&SavedScenePicture);
    }
    return true;
}

bool BuiltinRestorePicture(const ScriptArguments&) {
    if (BasePlane == nullptr || SavedScenePicture == nullptr) {
        return false;
    }
    RenderAdventureScene(0);
    ClearStands();
    if (FAILED(LoadBasePlane(nullptr))) {
        return false;
    }
    BasePlane->RestoreTexture(SavedScenePicture);
    SavedScenePicture->Release();
    SavedScenePicture = nullptr;
    return true;
}

bool BuiltinSceneRender(const ScriptArguments&) {
    RenderAdventureScene(0);
    return true;
}

bool BuiltinBaseColour(const ScriptArguments& arguments) {
    if (BasePlane != nullptr) {
        BasePlane->SetColor(
            Argb(0xFF, arguments.UChar(0, 0), arguments.UChar(1, 0), arguments.UChar(2, 0)));
    }
    return true;
}

bool BuiltinCaptureScreen(const ScriptArguments&) {
    RenderAdventureScene(1);
    CaptureBasePlane(nullptr);
    return true;
}
