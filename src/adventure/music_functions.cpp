#include "adventure/music_functions.h"

#include <algorithm>

#include "adventure/adventure_frame.h"
#include "adventure/variable_editor.h"
#include "foundation/app_settings.h"
#include "foundation/path.h"
#include "media/music/music_window.h"
#include "script/script_variables.h"

std::uint32_t MusicVolumeForPercent(std::int64_t percent) {
    return static_cast<std::uint32_t>(
        std::clamp<std::int64_t>(percent * MusicVolume / 100, 0, 10000));
}

bool BuiltinMusic(const ScriptArguments& arguments) {
    const std::uint16_t number = arguments.UShort(0, 0);
    if (number == GetVar(kMusicVariable)) {
        return true;
    }
    const std::uint32_t value = number;
    SetVar(kMusicVariable, &value);
    StopMusic();
    PlayMusic(number - 1, GetPath(PathKind::Music, static_cast<int>(number)), arguments.ULong(1, 2),
              0);
    SetMusicVolume(MusicVolumeForPercent(arguments.Long(2, 100)));
    PauseMusic(0);
    RefreshVariableEditor();
    return true;
}

bool BuiltinMusicOff(const ScriptArguments&) {
    StopMusic();
    const std::uint32_t none = 0;
    SetVar(kMusicVariable, &none);
    RefreshVariableEditor();
    return true;
}

bool BuiltinFadeMusic(const ScriptArguments& arguments) {
    const std::uint32_t milliseconds = SkipActive != 0 ? 0u : arguments.UShort(1, 0) * 100u;
    FadeMusic(milliseconds, MusicVolumeForPercent(arguments.UShort(0, 0)));
    return true;
}
