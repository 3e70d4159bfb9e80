#include "adventure/mascot.h"

#include <cstring>

#include "adventure/adventure_frame.h"
#include "sprite_ui/sprite.h"

ISprite* Mascot = nullptr;
std::int32_t MascotLastAuto = 0;

namespace {

// Visible, playing and looping.
constexpr std::uint32_t kShownFlags = kSpriteVisible | kSpritePlaying | kSpriteLoop;
constexpr float kMascotDepth = 1.0f;

bool IsVisible() {
    return Mascot != nullptr && (Mascot->flags & kSpriteVisible) != 0;
}

bool Playing(const char* first, const char* second) {
    const char* name = Mascot->GetAnimationName();
    return std::strcmp(name, first) == 0 || std::strcmp(name, second) == 0;
}

// The animation that follows the first one of a change, looping, visible as the mascot is.
void Follow(ISprite* sprite, const char* animation) {
    const bool visible = (sprite->flags & kSpriteVisible) != 0;
    sprite->Start(animation, visible ? kShownFlags : kShownFlags & ~kSpriteVisible, 0);
    sprite->SetEndCallback(nullptr, nullptr);
}

}  // namespace

void CreateMascot(int x, int y) {
    if (Mascot != nullptr) {
        return;
    }
    Mascot = ISprite::Create(kMascotContainer);
    if (Mascot == nullptr) {
        return;
    }
    Mascot->SetPosition(static_cast<float>(x), static_cast<float>(y));
    Mascot->z3 = kMascotDepth;
}

void SetMascotVisible(bool visible) {
    if (Mascot != nullptr) {
        Mascot->SetVisible(visible);
    }
}

void HideMascot() {
    SetMascotVisible(false);
}

void ReleaseMascot() {
    ISprite::Delete(Mascot);
    Mascot = nullptr;
}

void MascotAwake() {
    if (!IsVisible() || Playing("awake", "mowl")) {
        return;
    }
    Mascot->SetEndCallback(MascotToIdle, nullptr);
    Mascot->SetStepCallback(MascotStep, nullptr);
    Mascot->Start("awake", kShownFlags, 0);
    Mascot->SetVisible(true);
    MascotLastAuto = AutoMode;
}

void MascotGoodnight() {
    if (!IsVisible() || Playing("sleep", "goodnight")) {
        return;
    }
    Mascot->SetStepCallback(MascotStep, nullptr);
    Mascot->SetEndCallback(MascotToSleep, nullptr);
    Mascot->Start("goodnight", kShownFlags, 0);
    Mascot->SetVisible(true);
    MascotLastAuto = AutoMode;
}

int MascotToIdle(ISprite* sprite, std::uint32_t, void*) {
    Follow(sprite, "mowl");
    return 1;
}

int MascotToSleep(ISprite* sprite, std::uint32_t, void*) {
    Follow(sprite, "sleep");
    return 1;
}

int MascotStep(ISprite*, std::uint32_t, void*) {
    if (AutoMode == MascotLastAuto) {
        return 1;
    }
    if (AutoMode == 0) {
        MascotAwake();
    } else {
        MascotGoodnight();
    }
    MascotLastAuto = AutoMode;
    return 0;
}

void PageEnd() {
    PendingDelayMs = 0;
    PageWait = 1;
    if (SkipActive == 0 && AutoMode == 0) {
        MascotAwake();
    } else {
        MascotGoodnight();
    }
    SetMascotVisible(true);
}
