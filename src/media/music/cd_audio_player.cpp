#include "media/music/cd_audio_player.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "foundation/log.h"
#include "media/music/music_state.h"
#include "media/music/music_window.h"
#include "platform/mci/logical_drives.h"
#include "platform/win32/message_api.h"
#include "platform/win32/timer_api.h"
#include "platform/winbase/debug_output.h"
#include "platform/winbase/time_api.h"

namespace {

constexpr DWORD kVolumeScale = 10000;
constexpr int kMciErrorTextLength = 128;

// Every MCI call goes through here: a failure fetches the error's text, which reaches the
// debugger output only; the player itself goes on without a message.
MCIERROR SendMci(MCIDEVICEID device, UINT message, DWORD_PTR flags, void* parameters) {
    MCIERROR error =
        mciSendCommandA(device, message, flags, reinterpret_cast<DWORD_PTR>(parameters));
    if (error != 0) {
        char text[kMciErrorTextLength];
        mciGetErrorStringA(error, text, sizeof text);
        char line[kMciErrorTextLength + 32];
        std::snprintf(line, sizeof line, "cdaudio: %s\n", text);
        OutputDebugStringA(line);
    }
    return error;
}

// Opens "cdaudio" on the drive of `root`, shareable; kCdDeviceClosed on failure.
MCIDEVICEID OpenCdAudio(const char* root) {
    MCI_OPEN_PARMSA open{};
    open.lpstrDeviceType = "cdaudio";
    open.lpstrElementName = root;
    if (SendMci(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_OPEN_SHAREABLE, &open) != 0) {
        return kCdDeviceClosed;
    }
    return open.wDeviceID;
}

MCIERROR SetTmsf(MCIDEVICEID device) {
    MCI_SET_PARMS set{};
    set.dwTimeFormat = MCI_FORMAT_TMSF;
    return SendMci(device, MCI_SET, MCI_SET_TIME_FORMAT, &set);
}

void CloseCdAudio(CdAudioState& cd) {
    SendMci(cd.deviceId, MCI_CLOSE, 0, nullptr);
    cd.deviceId = kCdDeviceClosed;
}

// Plays `track` with a notification to `window`, to the start of the next track, or to the end
// of the disc from its last track. A disc of more tracks than the player counts still ends
// track kCdMaxTracks at the start of the next one.
MCIERROR PlayTrack(HWND window, const CdAudioState& cd, int track) {
    if (MCIERROR error = SetTmsf(cd.deviceId); error != 0) {
        return error;
    }
    MCI_PLAY_PARMS play{};
    play.dwCallback = reinterpret_cast<DWORD_PTR>(window);
    play.dwFrom = MCI_MAKE_TMSF(static_cast<DWORD>(track), 0, 0, 0);
    DWORD flags = MCI_NOTIFY | MCI_FROM;
    if (track < cd.discTrackCount) {
        play.dwTo = MCI_MAKE_TMSF(static_cast<DWORD>(track + 1), 0, 0, 0);
        flags |= MCI_TO;
    }
    return SendMci(cd.deviceId, MCI_PLAY, flags, &play);
}

// Probes "a:\" to "z:\" in order until a drive is usable.
bool FindDrive(CdAudioState& cd) {
    cd.driveRoot.clear();
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        const char root[] = {letter, ':', '\\', '\0'};
        if (ProbeCdAudioDrive(root) != 0) {
            return true;
        }
    }
    return false;
}

// Keeps the volume control of the compact-disc source lines of the speakers (the last found).
void FindMixerLine(CdAudioState& cd) {
    cd.hasMixerLine = false;
    if (mixerGetNumDevs() == 0) {
        return;
    }
    MIXERCAPSA caps{};
    if (mixerGetDevCapsA(0, &caps, sizeof caps) != MMSYSERR_NOERROR) {
        return;
    }
    LogPrintf("Audio Mixer: %s", caps.szPname);
    HMIXEROBJ mixer = nullptr;  // mixer id 0
    for (DWORD destination = 0; destination < caps.cDestinations; ++destination) {
        MIXERLINEA speakers{};
        speakers.cbStruct = sizeof speakers;
        speakers.dwDestination = destination;
        if (mixerGetLineInfoA(mixer, &speakers, MIXER_GETLINEINFOF_DESTINATION) !=
                MMSYSERR_NOERROR ||
            speakers.dwComponentType != MIXERLINE_COMPONENTTYPE_DST_SPEAKERS) {
            continue;
        }
        for (DWORD source = 0; source < speakers.cConnections; ++source) {
            MIXERLINEA line{};
            line.cbStruct = sizeof line;
            line.dwDestination = destination;
            line.dwSource = source;
            if (mixerGetLineInfoA(mixer, &line, MIXER_GETLINEINFOF_SOURCE) != MMSYSERR_NOERROR ||
                line.dwComponentType != MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC) {
                continue;
            }
            MIXERCONTROLA control{};
            control.cbStruct = sizeof control;
            MIXERLINECONTROLSA controls{};
            controls.cbStruct = sizeof controls;
            controls.dwLineID = line.dwLineID;
            controls.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
            controls.cControls = 1;
            controls.cbmxctrl = sizeof control;
            controls.pamxctrl = &control;
            if (mixerGetLineControlsA(mixer, &controls, MIXER_GETLINECONTROLSF_ONEBYTYPE) ==
                MMSYSERR_NOERROR) {
                cd.mixerLine = line;
                cd.volumeControl = control;
                cd.hasMixerLine = true;
            }
        }
    }
}

void OnCreate(MusicState& state, CdAudioState& cd) {
    FindDrive(cd);
    state.ready = 1;
    state.playing.store(0);
    FindMixerLine(cd);
    state.targetVolume.store(kVolumeScale);
    state.currentVolume.store(kVolumeScale);
    cd.savedMixerVolume = SetCdVolume(kVolumeScale);
}

void OnPlay(HWND window, MusicState& state, CdAudioState& cd, WPARAM loop, LPARAM track) {
    if (state.ready == 0) {
        return;
    }
    if (cd.driveRoot.empty() && !FindDrive(cd)) {
        return;
    }
    if (track < 1 || track > cd.trackCount ||
        (state.playing.load() != 0 && track == cd.currentTrack)) {
        return;
    }
    state.loopMode.store(static_cast<DWORD>(loop));
    StopCdAudio();
    cd.requestedTrack = static_cast<int>(track);
    // A paused request plays when the music resumes.
    if (state.paused.load() != 0) {
        state.playing.store(1);
        return;
    }
    cd.deviceId = OpenCdAudio(cd.driveRoot.c_str());
    if (cd.deviceId == kCdDeviceClosed) {
        cd.driveRoot.clear();
        return;
    }
    if (PlayTrack(window, cd, cd.requestedTrack) != 0) {
        CloseCdAudio(cd);
        cd.driveRoot.clear();
        return;
    }
    cd.currentTrack = cd.requestedTrack;
    state.startTime.store(0);
    state.playing.store(1);
}

// A play that reaches its end starts again when the music loops. Only the notification of the
// device now open counts: one posted before a stop or another play arrives late and is left.
void OnNotify(HWND window, MusicState& state, CdAudioState& cd, WPARAM code, LPARAM device) {
    if (code != MCI_NOTIFY_SUCCESSFUL || cd.deviceId == kCdDeviceClosed ||
        static_cast<MCIDEVICEID>(device) != cd.deviceId || state.loopMode.load() == 0 ||
        state.playing.load() == 0) {
        return;
    }
    if (PlayTrack(window, cd, cd.currentTrack) != 0) {
        StopCdAudio();
        cd.driveRoot.clear();
        return;
    }
    state.startTime.store(0);
}

void OnPause(HWND window, MusicState& state, CdAudioState& cd, WPARAM pause) {
    if (static_cast<int>(pause) == state.paused.load()) {
        return;
    }
    state.paused.store(static_cast<int>(pause));
    if (pause != 0) {
        // The position is not kept: resuming starts the track again.
        StopCdAudio();
        state.paused.store(1);
        return;
    }
    state.playing.store(0);
    SendMessageA(window, WM_MUSIC_PLAY, state.loopMode.load(), cd.requestedTrack);
}

LRESULT OnPosition(MusicState& state, const CdAudioState& cd) {
    if (state.playing.load() == 0 || state.paused.load() != 0) {
        return 0;
    }
    const DWORD now = timeGetTime();
    if (state.startTime.load() == 0) {
        MCI_STATUS_PARMS status{};
        status.dwItem = MCI_STATUS_POSITION;
        if (cd.deviceId == kCdDeviceClosed || SetTmsf(cd.deviceId) != 0 ||
            SendMci(cd.deviceId, MCI_STATUS, MCI_STATUS_ITEM, &status) != 0) {
            return 0;
        }
        const auto position = static_cast<DWORD>(status.dwReturn);
        const DWORD seconds = MCI_TMSF_MINUTE(position) * 60 + MCI_TMSF_SECOND(position);
        state.startTime.store(now - seconds * 1000 - MCI_TMSF_FRAME(position) * 1000 / 75);
    }
    return static_cast<LRESULT>(now - state.startTime.load());
}

// The fade ends at its target: a step that would pass the target stops there.
void OnFadeTick(HWND window, MusicState& state) {
    const auto target = static_cast<float>(state.targetVolume.load());
    state.fadeVolume += state.fadeStep;
    float volume = state.fadeStep < 0.0f ? std::max(state.fadeVolume, target)
                                         : std::min(state.fadeVolume, target);
    volume = std::clamp(volume, 0.0f, static_cast<float>(kVolumeScale));
    SendMessageA(window, WM_MUSIC_VOLUME, static_cast<WPARAM>(volume), 0);
    const DWORD current = state.currentVolume.load();
    if (current == 0 || current == kVolumeScale || current == state.targetVolume.load()) {
        state.fadeStep = 0.0f;
        KillTimer(window, kMusicFadeTimer);
    }
}

}  // namespace

CdAudioState& GetCdAudioState() {
    static CdAudioState* state = new CdAudioState;
    return *state;
}

int ProbeCdAudioDrive(const char* root) {
    if (root == nullptr || GetDriveTypeA(root) != DRIVE_CDROM) {
        return 0;
    }
    const MCIDEVICEID device = OpenCdAudio(root);
    if (device == kCdDeviceClosed) {
        return 0;
    }
    int usable = 0;
    MCI_STATUS_PARMS status{};
    status.dwItem = MCI_STATUS_NUMBER_OF_TRACKS;
    if (SetTmsf(device) == 0 && SendMci(device, MCI_STATUS, MCI_STATUS_ITEM, &status) == 0) {
        const int tracks = static_cast<int>(std::min<DWORD_PTR>(status.dwReturn, 99));
        if (std::min(tracks, kCdMaxTracks) >= 2) {
            CdAudioState& cd = GetCdAudioState();
            cd.driveRoot = root;
            cd.trackCount = std::min(tracks, kCdMaxTracks);
            cd.discTrackCount = tracks;
            usable = 1;
        }
    }
    SendMci(device, MCI_CLOSE, 0, nullptr);
    return usable;
}

int CheckCdAudioDrive(const char* root) {
    MusicState& state = GetMusicState();
    if (state.ready == 0 || state.device != kMusicDeviceCd) {
        return 0;
    }
    return ProbeCdAudioDrive(root);
}

DWORD SetCdVolume(DWORD volume) {
    CdAudioState& cd = GetCdAudioState();
    const MIXERCONTROLA& control = cd.volumeControl;
    if (!cd.hasMixerLine || control.Bounds.dwMaximum <= control.Bounds.dwMinimum ||
        cd.mixerLine.cChannels == 0) {
        return 0;
    }
    HMIXER mixer = nullptr;
    if (mixerOpen(&mixer, 0, 0, 0, MIXER_OBJECTF_MIXER) != MMSYSERR_NOERROR) {
        return 0;
    }
    std::vector<MIXERCONTROLDETAILS_UNSIGNED> values(cd.mixerLine.cChannels);
    MIXERCONTROLDETAILS details{};
    details.cbStruct = sizeof details;
    details.dwControlID = control.dwControlID;
    details.cChannels = cd.mixerLine.cChannels;
    details.cbDetails = sizeof(MIXERCONTROLDETAILS_UNSIGNED);
    details.paDetails = values.data();
    DWORD previous = 0;
    const std::uint64_t range = control.Bounds.dwMaximum - control.Bounds.dwMinimum;
    if (mixerGetControlDetailsA(reinterpret_cast<HMIXEROBJ>(mixer), &details,
                                MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE) ==
        MMSYSERR_NOERROR) {
        const DWORD first =
            std::clamp(values[0].dwValue, control.Bounds.dwMinimum, control.Bounds.dwMaximum);
        previous = static_cast<DWORD>((first - control.Bounds.dwMinimum) * kVolumeScale / range);
        volume = std::min(volume, kVolumeScale);
        for (MIXERCONTROLDETAILS_UNSIGNED& value : values) {
            value.dwValue =
                static_cast<DWORD>(range * volume / kVolumeScale) + control.Bounds.dwMinimum;
        }
        mixerSetControlDetails(reinterpret_cast<HMIXEROBJ>(mixer), &details,
                               MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE);
        GetMusicState().currentVolume.store(volume);
    }
    mixerClose(mixer);
    return previous;
}

void StopCdAudio() {
    MusicState& state = GetMusicState();
    if (state.playing.load() == 0) {
        return;
    }
    CdAudioState& cd = GetCdAudioState();
    if (cd.deviceId != kCdDeviceClosed) {
        SendMci(cd.deviceId, MCI_STOP, 0, nullptr);
        CloseCdAudio(cd);
    }
    state.playing.store(0);
    state.paused.store(0);
}

LRESULT CdAudioPlayer(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MusicState& state = GetMusicState();
    CdAudioState& cd = GetCdAudioState();
    switch (message) {
        case WM_CREATE:
            OnCreate(state, cd);
            return 0;
        case WM_DESTROY:
            if (state.ready != 0) {
                StopCdAudio();
                SetCdVolume(cd.savedMixerVolume);
            }
            return 0;
        case WM_MUSIC_PLAY:
            OnPlay(window, state, cd, wParam, lParam);
            return 0;
        case MM_MCINOTIFY:
            OnNotify(window, state, cd, wParam, lParam);
            return 0;
        case WM_MUSIC_STOP:
            if (state.ready != 0) {
                state.startTime.store(0);
                StopCdAudio();
            }
            return 0;
        case WM_MUSIC_PAUSE:
            OnPause(window, state, cd, wParam);
            return 0;
        case WM_MUSIC_VOLUME:
            state.currentVolume.store(static_cast<DWORD>(wParam));
            SetCdVolume(static_cast<DWORD>(wParam));
            return 0;
        case WM_MUSIC_POSITION:
            return OnPosition(state, cd);
        case WM_TIMER:
            if (wParam == kMusicFadeTimer) {
                OnFadeTick(window, state);
            }
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}
