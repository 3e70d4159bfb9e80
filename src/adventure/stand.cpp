#include "adventure/stand.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "adventure/adventure_frame.h"
#include "adventure/game_mode.h"
#include "adventure/message_functions.h"
#include "adventure/scene.h"
#include "foundation/app_settings.h"
#include "foundation/random.h"
#include "foundation/sjis.h"

std::vector<StandSprite*> StandList;

namespace {

// The cross-fade that brings a new stand in, when adventure effects are on.
constexpr std::uint32_t kStandFadeMs = 300;
// A new countdown is (RandomInt(4) + 2) seconds.
constexpr std::int32_t kBlinkSpread = 4;
constexpr std::int32_t kBlinkShortest = 2;

// `name` cut to what the name field holds, before the character that would not fit whole.
std::string StandName(const char* name) {
    std::size_t length = 0;
    while (name[length] != '\0') {
        const auto step = static_cast<std::size_t>(sjis::Next(name + length) - (name + length));
        if (length + step > kStandNameSize - 1) {
            break;
        }
        length += step;
    }
    return std::string(name, length);
}

void DeleteStand(StandSprite* stand) {
    delete stand;
}

StandSprite* CreateStand(const char* name) {
    auto* stand = new StandSprite();
    const std::string path = std::string("stand\\") + name;
    if (stand->Open(path.c_str()) == 0) {
        DeleteStand(stand);
        return nullptr;
    }
    stand->SetPosition(0.0f, 0.0f);
    const std::string cut = StandName(name);
    std::memcpy(stand->name, cut.c_str(), cut.size() + 1);
    stand->SetScale(static_cast<float>(LetterboxScale));
    stand->SetFilter(LetterboxScale == 1.0 ? kSpriteFilterPoint : kSpriteFilterLinear);
    return stand;
}

// Removes the stand that `slot` replaces; answers the slot the new stand takes.
std::int32_t ReplaceBySlot(std::uint32_t slot) {
    if (StandList.empty()) {
        return slot == 0 ? kStandSlotLeft : static_cast<std::int32_t>(slot);
    }
    auto replaced = StandList.end();
    std::int32_t taken = static_cast<std::int32_t>(slot);
    if (slot == 0) {
        replaced = StandList.end() - 1;
        taken = (*replaced)->slot;
    } else {
        replaced = std::find_if(StandList.begin(), StandList.end(), [&](const StandSprite* s) {
            return s->slot == static_cast<std::int32_t>(slot);
        });
    }
    if (replaced != StandList.end()) {
        DeleteStand(*replaced);
        StandList.erase(replaced);
    }
    return taken;
}

// Functions 4 and 31: true when a stand was added or removed and the scene should fade.
bool StandFromArguments(const ScriptArguments& arguments) {
    const char* name = arguments.Has(0) ? arguments.String(0) : nullptr;
    if (name != nullptr && FindStand(name) != nullptr) {
        return false;
    }
    return AddStand(name, arguments.ULong(1, 0));
}

}  // namespace

bool AddStand(const char* name, std::uint32_t slot) {
    StandSprite* stand = nullptr;
    if (name != nullptr && name[0] != '\0') {
        stand = CreateStand(name);
        if (stand == nullptr) {
            return false;
        }
    }
    const std::int32_t taken = ReplaceBySlot(slot);
    if (stand == nullptr) {
        return true;
    }
    stand->slot = taken;
    StandList.push_back(stand);
    if (stand->Start("begin", kStandAnimationFlags, 0) == 0) {
        stand->Start("stand", kStandAnimationFlags, 0);
    }
    stand->SetStepCallback(StandStep, nullptr);
    stand->SetEndCallback(StandAnimationEnd, nullptr);
    stand->blinkCountdown = 0;
    LayoutStands();
    return true;
}

bool AnyStandShown() {
    return !StandList.empty();
}

void ClearStands() {
    for (StandSprite* stand : StandList) {
        DeleteStand(stand);
    }
    StandList.clear();
}

StandSprite* FindStand(const char* name) {
    const std::string cut = StandName(name);
    const auto found = std::find_if(StandList.begin(), StandList.end(),
                                    [&](const StandSprite* s) { return cut == s->name; });
    return found != StandList.end() ? *found : nullptr;
}

void LayoutStands() {
    const auto width = static_cast<std::uint32_t>(LetterboxRect.right - LetterboxRect.left);
    for (StandSprite* stand : StandList) {
        if (StandList.size() == 1 || stand->slot == kStandSlotCentre) {
            stand->offset = static_cast<float>(width / 2);
        } else if (stand->slot == kStandSlotRight) {
            stand->offset = static_cast<float>(width / 4 * 3);
        } else if (stand->slot == kStandSlotLeft) {
            stand->offset = static_cast<float>(width / 4);
        }
        stand->SetPosition(static_cast<float>(LetterboxRect.left) + stand->offset,
                           static_cast<float>(LetterboxRect.bottom));
    }
}

void DrawStands() {
    for (StandSprite* stand : StandList) {
        stand->DrawParts();
    }
}

int StandStep(ISprite* sprite, std::uint32_t elapsed, void*) {
    auto* stand = static_cast<StandSprite*>(sprite);
    stand->blinkCountdown -= std::min(stand->blinkCountdown, elapsed);
    return 1;
}

int StandAnimationEnd(ISprite* sprite, std::uint32_t, void*) {
    auto* stand = static_cast<StandSprite*>(sprite);
    if (stand->blinkCountdown != 0) {
        stand->Start("stand", kStandAnimationFlags, 0);
        return 1;
    }
    if (stand->Start("wink", kStandAnimationFlags, 0) == 0) {
        const char* blink = RandomInt(3) == 0 ? "wink2" : "wink1";
        if (stand->Start(blink, kStandAnimationFlags, 0) == 0) {
            stand->SetStepCallback(nullptr, nullptr);
            stand->SetEndCallback(nullptr, nullptr);
            stand->Start("stand", kStandAnimationFlags, 0);
        }
    }
    stand->blinkCountdown =
        static_cast<std::uint32_t>(RandomInt(kBlinkSpread) + kBlinkShortest) * 1000u;
    return 1;
}

bool BuiltinStand(const ScriptArguments& arguments) {
    RenderAdventureScene(0);
    if (!StandFromArguments(arguments) || FastForwardMode != 0) {
        return true;
    }
    StartSceneFade(AdvEffectEnable != 0 ? kStandFadeMs : 0);
    return false;
}

bool BuiltinStartStands(const ScriptArguments& arguments) {
    for (StandSprite* stand : StandList) {
        stand->Start("stand", kStandAnimationFlags, 0);
    }
    StartSceneFade(AdvEffectEnable != 0 ? arguments.UShort(0, 0) * 100u : 0u);
    HideMessageWindowAtOnce();
    return false;
}

bool BuiltinStandAtOnce(const ScriptArguments& arguments) {
    StandFromArguments(arguments);
    return true;
}
