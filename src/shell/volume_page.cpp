// Page 0 of the preferences: the three volumes, applied while the sliders move (a sample loops
// while the sound or voice slider is dragged), and the music device, switched at once.

#include <cstring>
#include <string>

#include "adventure/voice.h"
#include "foundation/app_settings.h"
#include "foundation/path.h"
#include "media/movie/ds_movie.h"
#include "media/movie/ds_movie9.h"
#include "media/music/cd_audio_player.h"
#include "media/music/music_state.h"
#include "media/music/music_window.h"
#include "media/sound/direct_sound.h"
#include "media/sound/ds_sound.h"
#include "platform/win32/window_api.h"
#include "shell/game_window.h"
#include "shell/preference_pages.h"
#include "shell/preferences_texts.h"

using namespace preference_page;

namespace {

enum Control : int {
    kMusicSlider = 1134,
    kSoundSlider = 1135,
    kCdAudioButton = 1136,
    kPcmButton = 1137,
    kVoiceSlider = 1138,
    kVoiceLabel = 1149,
};

constexpr int kVolumeMaximum = 10000;
constexpr int kVolumeTick = 1000;
// Global variable 11: the music piece now playing, 0 for none.
constexpr unsigned kMusicVariable = 11;
// The samples: a sound effect, and a line of the demo's guide (prefix "AN" of the voice table).
constexpr const char kSampleSound[] = "se009";
constexpr const char kSampleVoice[] = "an0000";

DSSound* sample = nullptr;
int sampleSlider = 0;        // the slider the sample belongs to
bool sampleMissing = false;  // this drag's sample could not be made: not asked again

void ReleaseSample() {
    if (sample != nullptr) {
        if (gDirectSound != nullptr && gDirectSound->HasSound(sample) != 0) {
            sample->Release();
        }
        sample = nullptr;
    }
    sampleSlider = 0;
    sampleMissing = false;
}

// The sample of `slider` loops at `volume` (0..10000), made on the first call of a drag.
void LoopSample(int slider, DWORD volume) {
    if (sampleSlider != slider) {
        ReleaseSample();
        sampleSlider = slider;
    }
    if (sample == nullptr && !sampleMissing) {
        const char* path = slider == kSoundSlider ? GetPath(PathKind::Sound, kSampleSound)
                                                  : GetPath(PathKind::Voice, kSampleVoice);
        if (FAILED(CreateSound(path, &sample, DSBCAPS_CTRLVOLUME, 0)) || sample == nullptr) {
            sample = nullptr;
            sampleMissing = true;
            return;
        }
        sample->SetVolume(SoundVolumeFromSetting(static_cast<LONG>(volume)));
        sample->Play(DSBPLAY_LOOPING);
        return;
    }
    if (sample != nullptr) {
        sample->SetVolume(SoundVolumeFromSetting(static_cast<LONG>(volume)));
    }
}

// The drive part of a path: its first three characters ("d:\"); a path under the program
// directory lies on C:, the drive that holds it.
std::string DrivePart(const char* path) {
    if (std::strlen(path) >= 3 && path[1] == ':') {
        return std::string(path, 3);
    }
    return "c:\\";
}

void Init(HWND page) {
    SetupSlider(page, kMusicSlider, 0, kVolumeMaximum, kVolumeTick, static_cast<int>(MusicVolume));
    SetupSlider(page, kSoundSlider, 0, kVolumeMaximum, kVolumeTick, static_cast<int>(SoundVolume));
    SetupSlider(page, kVoiceSlider, 0, kVolumeMaximum, kVolumeTick, static_cast<int>(VoiceVolume));
    SetChecked(page, MusicDevice == kMusicDevicePcm ? kPcmButton : kCdAudioButton, true);
    const bool soundDevice = gDirectSound != nullptr;
    Enable(page, kPcmButton, soundDevice);
    Enable(page, kCdAudioButton, true);
    Enable(page, kVoiceSlider, soundDevice && VoiceEnabled != 0);
    Enable(page, kVoiceLabel, soundDevice && VoiceEnabled != 0);
    InstallHelp(page, {{kPcmButton, kHelpPcm},
                       {kCdAudioButton, kHelpCdAudio},
                       {kMusicSlider, kHelpMusicVolume},
                       {kSoundSlider, kHelpSoundVolume},
                       {kVoiceSlider, kHelpVoiceVolume}});
}

void Scroll(HWND page, WORD code, HWND slider) {
    MusicVolume = static_cast<DWORD>(SliderPosition(page, kMusicSlider));
    SoundVolume = static_cast<DWORD>(SliderPosition(page, kSoundSlider));
    VoiceVolume = static_cast<DWORD>(SliderPosition(page, kVoiceSlider));
    SetMusicVolume(MusicVolume);
    const LONG movieVolume = SoundVolumeFromSetting(static_cast<LONG>(MusicVolume));
    DSMovie_SetVolume(movieVolume);
    DSMovie9_SetVolume(movieVolume);
    const int id = GetDlgCtrlID(slider);
    if (id != kSoundSlider && id != kVoiceSlider) {
        return;
    }
    if (code == TB_THUMBTRACK) {
        LoopSample(id, id == kSoundSlider ? SoundVolume : VoiceVolume);
    } else if (code == TB_THUMBPOSITION) {
        ReleaseSample();
    }
}

// The music window made again for the other device; the piece that was playing starts again
// on it with the loop mode it had.
void SwitchMusicDevice(int button) {
    MusicDevice = button == kPcmButton ? kMusicDevicePcm : kMusicDeviceCd;
    const DWORD loopMode = GetMusicLoopMode();
    DestroyMusicWindow();
    CreateMusicWindow(MainWindow, MusicDevice);
    const int piece = ScriptGlobal(kMusicVariable);
    if (piece < 1) {
        return;
    }
    const char* path = GetPath(PathKind::Music, piece);
    if (MusicDevice == kMusicDeviceCd) {
        CheckCdAudioDrive(DrivePart(path).c_str());
    }
    SetMusicVolume(MusicVolume);
    PlayMusic(piece - 1, path, loopMode, 1);
}

}  // namespace

DSSound* PreferenceSampleSound() {
    if (sample != nullptr && (gDirectSound == nullptr || gDirectSound->HasSound(sample) == 0)) {
        sample = nullptr;
    }
    return sample;
}

INT_PTR VolumePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            Init(page);
            return TRUE;
        case WM_HSCROLL:
            Scroll(page, LOWORD(wParam), reinterpret_cast<HWND>(lParam));
            return TRUE;
        case WM_COMMAND:
            if ((LOWORD(wParam) == kCdAudioButton || LOWORD(wParam) == kPcmButton) &&
                HIWORD(wParam) == BN_CLICKED) {
                SwitchMusicDevice(LOWORD(wParam));
                return TRUE;
            }
            return FALSE;
        case WM_DESTROY:
            ReleaseSample();
            WriteSoundSettings();
            return TRUE;
        default:
            return FALSE;
    }
}
