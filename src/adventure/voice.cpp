#include "adventure/voice.h"

#include "adventure/adventure_frame.h"
#include "adventure/message_backlog.h"
#include "foundation/app_settings.h"
#include "foundation/path.h"
#include "foundation/registry_settings.h"
#include "foundation/sjis.h"
#include "media/sound/direct_sound.h"
#include "media/sound/ds_sound.h"

// The demo's speakers stand first in their groups: Kai; Hina, Sora and the guide. The others
// are characters the voice page keeps secret until they are heard.
const VoiceCharacter VoiceCharacterTable[kVoiceCharacterCount + 1] = {
    {1230, 0, kVoiceGroupMale, "KA", "Kai"},       {1231, 1, kVoiceGroupMale, "EK", "Ekiin"},
    {1232, 1, kVoiceGroupMale, "TO", "Touya"},     {1233, 1, kVoiceGroupMale, "RE", "Ren"},
    {1234, 1, kVoiceGroupMale, "GO", "Gorou"},     {1235, 1, kVoiceGroupMale, "SH", "Shun"},
    {1236, 1, kVoiceGroupMale, "MA", "Masato"},    {1237, 0, kVoiceGroupFemale, "HN", "Hina"},
    {1238, 0, kVoiceGroupFemale, "SO", "Sora"},    {1239, 0, kVoiceGroupFemale, "AN", "Annai"},
    {1240, 1, kVoiceGroupFemale, "MI", "Mio"},     {1241, 1, kVoiceGroupFemale, "YU", "Yuzu"},
    {1242, 1, kVoiceGroupFemale, "RI", "Rika"},    {1243, 1, kVoiceGroupFemale, "NA", "Nagi"},
    {1244, 1, kVoiceGroupFemale, "TS", "Tsubame"}, {1245, 1, kVoiceGroupFemale, "KO", "Koharu"},
    {1246, 1, kVoiceGroupFemale, "SE", "Seri"},    {0, 0, 0, nullptr, nullptr},
};

VoiceCharacterFlag VoiceCharacterFlags[kVoiceCharacterCount] = {};
DSSound* VoiceSound = nullptr;
std::int32_t VoiceEnabled = 1;

namespace {

constexpr const char* kMaleSwitch = "male";
constexpr const char* kFemaleSwitch = "female";
// DSBCAPS_CTRLVOLUME: the voice's volume can be set.
constexpr DWORD kVoiceSoundFlags = 0x80;

// A stored DWORD, or `fallback` when the value cannot be read; *found tells which.
DWORD ReadVoiceValue(const char* name, DWORD fallback, bool* found) {
    DWORD value = 0;
    DWORD size = 0;
    *found = ReadRegistryValue(kSettingsVoice, name, &value, sizeof value, &size) == 1 &&
             size == sizeof value;
    return *found ? value : fallback;
}

char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The held voice, while the sound device still knows it.
DSSound* HeldVoice() {
    if (VoiceSound != nullptr &&
        (gDirectSound == nullptr || gDirectSound->HasSound(VoiceSound) == 0)) {
        VoiceSound = nullptr;
    }
    return VoiceSound;
}

}  // namespace

void LoadVoiceSettings() {
    bool found = false;
    const DWORD groups[2] = {ReadVoiceValue(kMaleSwitch, 1, &found),
                             ReadVoiceValue(kFemaleSwitch, 1, &found)};
    for (std::size_t i = 0; VoiceCharacterTable[i].controlId != 0; ++i) {
        const VoiceCharacter& character = VoiceCharacterTable[i];
        VoiceCharacterFlag& flag = VoiceCharacterFlags[i];
        const DWORD value = ReadVoiceValue(character.valueName, 1, &found);
        flag.known = found ? 1 : 0;
        flag.on = value != 0 ? 1 : 0;
        if (groups[character.group] == 0) {
            flag.on = 0;
        }
    }
}

void SetVoiceFlag(std::uint32_t controlId, std::int32_t on) {
    for (std::size_t i = 0; VoiceCharacterTable[i].controlId != 0; ++i) {
        if (VoiceCharacterTable[i].controlId == controlId) {
            VoiceCharacterFlags[i].on = on;
        }
    }
}

void StoreVoiceFlag(std::uint32_t controlId, std::int32_t on) {
    for (std::size_t i = 0; VoiceCharacterTable[i].controlId != 0; ++i) {
        if (VoiceCharacterTable[i].controlId == controlId) {
            VoiceCharacterFlags[i] = VoiceCharacterFlag{1, on};
            WriteRegistryDword(kSettingsVoice, VoiceCharacterTable[i].valueName, on != 0 ? 1 : 0);
        }
    }
}

const VoiceCharacter* FindVoiceCharacter(const char* name) {
    if (name == nullptr || name[0] == '\0' ||
        sjis::IsLeadByte(static_cast<unsigned char>(name[0])) || name[1] == '\0') {
        return nullptr;
    }
    for (std::size_t i = 0; VoiceCharacterTable[i].controlId != 0; ++i) {
        const char* prefix = VoiceCharacterTable[i].prefix;
        if (AsciiUpper(prefix[0]) == AsciiUpper(name[0]) &&
            AsciiUpper(prefix[1]) == AsciiUpper(name[1])) {
            return &VoiceCharacterTable[i];
        }
    }
    return nullptr;
}

bool IsVoiceAllowed(const char* name) {
    if (name == nullptr) {
        name = "";
    }
    bool characterOn = true;
    if (const VoiceCharacter* character = FindVoiceCharacter(name)) {
        VoiceCharacterFlag& flag =
            VoiceCharacterFlags[static_cast<std::size_t>(character - VoiceCharacterTable)];
        if (flag.known == 0) {
            WriteRegistryDword(kSettingsVoice, character->valueName, 1);
            flag.known = 1;
        }
        characterOn = flag.on != 0;
    }
    return characterOn && VoiceEnabled != 0 && VoiceVolume != 0 && name[0] != '*';
}

int PlayVoice(const char* name) {
    if (!IsVoiceAllowed(name) || SkipActive != 0) {
        return 1;
    }
    ReleaseVoice();
    DSSound* sound = nullptr;
    if (FAILED(CreateSound(GetPath(PathKind::Voice, name), &sound, kVoiceSoundFlags, 0))) {
        if (sound != nullptr) {
            sound->Release();
        }
        return 0;
    }
    VoiceSound = sound;
    VoiceSound->SetVolume(SoundVolumeFromSetting(static_cast<LONG>(VoiceVolume)));
    VoiceSound->Play(0);
    PendingDelayMs = 0;
    return 1;
}

bool IsVoicePlaying() {
    DSSound* voice = HeldVoice();
    DWORD status = 0;
    return voice != nullptr && SUCCEEDED(voice->GetStatus(&status)) &&
           (status & DSBSTATUS_PLAYING) != 0;
}

void ReleaseVoice() {
    if (DSSound* voice = HeldVoice()) {
        voice->Release();
    }
    VoiceSound = nullptr;
}

bool BuiltinVoice(const ScriptArguments& arguments) {
    const char* name = arguments.String(0);
    PlayVoice(name);
    MessageBacklog::SetPendingVoice(name);
    return true;
}
