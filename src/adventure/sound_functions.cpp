#include "adventure/sound_functions.h"

#include <algorithm>

#include "foundation/app_settings.h"
#include "foundation/path.h"
#include "media/sound/direct_sound.h"
#include "media/sound/ds_sound.h"

std::vector<DSSound*> LoopingSoundList;

namespace {

constexpr std::int32_t kSilent = -10000;
// DSBCAPS_CTRLVOLUME: the effect's volume can be set and faded.
constexpr DWORD kSoundEffectFlags = 128;

DSSound* LiveSound(const char* channel) {
    return gDirectSound != nullptr ? gDirectSound->FindSound(channel) : nullptr;
}

// Deletes a channel's live sound: a looping one drops the adventure's reference and leaves the
// list; a one-shot one gives up the reference its end timer would have dropped.
void DeleteChannelSound(DSSound* sound) {
    const auto listed = std::find(LoopingSoundList.begin(), LoopingSoundList.end(), sound);
    if (listed != LoopingSoundList.end()) {
        LoopingSoundList.erase(listed);
    }
    sound->Release();
}

}  // namespace

void PlaySystemSound(const char* name) {
    PlaySE(GetPath(PathKind::Sound, name), SoundEffectAttenuation(false, 0), nullptr,
           kSoundEffectFlags);
}

std::int32_t ClampAttenuation(std::int64_t attenuation) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(attenuation, kSilent, 0));
}

std::int32_t SoundEffectAttenuation(bool hasPercent, std::int32_t percent) {
    if (!hasPercent) {
        return ClampAttenuation(static_cast<std::int64_t>(SoundVolume) - 10000);
    }
    if (percent == 0) {
        return kSilent;
    }
    return ClampAttenuation((static_cast<std::int64_t>(percent) - 100) * 50);
}

void DeleteScriptSounds() {
    for (DSSound* sound : LoopingSoundList) {
        if (gDirectSound != nullptr && gDirectSound->HasSound(sound) != 0) {
            sound->Release();
        }
    }
    LoopingSoundList.clear();
}

bool BuiltinSound(const ScriptArguments& arguments) {
    if (SoundVolume == 0) {
        return true;
    }
    const char* channel = arguments.String(1, kDefaultSoundChannel);
    if (arguments.Has(1)) {
        if (DSSound* live = LiveSound(channel)) {
            DeleteChannelSound(live);
        }
    }
    DSSound* sound = nullptr;
    if (FAILED(CreateSound(GetPath(PathKind::Sound, arguments.String(0)), &sound, kSoundEffectFlags,
                           0))) {
        return true;
    }
    sound->SetName(channel);
    sound->SetVolume(SoundEffectAttenuation(arguments.Has(3), arguments.Long(3, 100)));
    const std::uint32_t loop = arguments.ULong(2, arguments.Count() == 2 ? 1u : 0u);
    if (loop == 1) {
        sound->Play(DSBPLAY_LOOPING);
        LoopingSoundList.push_back(sound);
    } else {
        sound->PlayAndDelete();
    }
    return true;
}

bool BuiltinStopSound(const ScriptArguments& arguments) {
    if (DSSound* live = LiveSound(arguments.String(0, kDefaultSoundChannel))) {
        DeleteChannelSound(live);
    }
    return true;
}

bool BuiltinFadeSound(const ScriptArguments& arguments) {
    DSSound* live = LiveSound(arguments.String(0));
    if (live == nullptr) {
        return true;
    }
    const std::int64_t percent = arguments.UShort(1, 0);
    const std::uint32_t tenths = arguments.UShort(2, 0);
    live->Fade(ClampAttenuation(percent * SoundVolume / 100 - 10000), tenths * 100u);
    return true;
}
