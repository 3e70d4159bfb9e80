// The window procedure of the PCM music device.

#include <algorithm>
#include <mutex>

#include "foundation/text.h"
#include "media/music/music_state.h"
#include "media/music/music_window.h"
#include "media/music/pcm_music_stream.h"
#include "media/sound/direct_sound.h"
#include "media/sound/ds_sound.h"
#include "platform/win32/timer_api.h"
#include "platform/winbase/time_api.h"

namespace {

void OnPlay(MusicState& state, DWORD loopMode, const char* name) {
    if (state.ready == 0 || name == nullptr) {
        return;
    }
    if (state.playing.load() != 0) {
        std::lock_guard lock(state.streamMutex);
        // The request names the intro file; in loop mode 2 the stream has moved on to the loop
        // file, so either name means the music that plays.
        if (CompareNoCase(name, state.currentName) == 0 ||
            CompareNoCase(name, state.requestedName) == 0) {
            return;
        }
    }
    // A running stream is always stopped and joined first, so the new request is never lost.
    StopPcmMusicStream();
    state.loopMode.store(loopMode);
    StartPcmMusicStream(name, loopMode);
}

void OnStop(MusicState& state) {
    StopPcmMusicStream();
    state.playing.store(0);
    state.paused.store(0);
    state.startTime.store(0);
}

void OnPause(MusicState& state, int pause) {
    {
        std::lock_guard lock(state.streamMutex);
        if (state.playing.load() != 0 && state.streamSound != nullptr &&
            pause != state.paused.load()) {
            if (pause != 0) {
                state.streamSound->Stop();
            } else {
                state.streamSound->Play(state.loopPlay ? DSBPLAY_LOOPING : 0);
            }
        }
        state.paused.store(pause);
    }
    if (state.startTime.load() == 0) {
        state.startTime.store(timeGetTime());
    }
}

void OnVolume(MusicState& state, DWORD volume) {
    std::lock_guard lock(state.streamMutex);
    state.currentVolume.store(volume);
    if (state.streamSound != nullptr) {
        state.streamSound->SetVolume(MusicVolumeToDecibels(volume));
    }
}

// A fade stops at its target in either direction (a fade downwards to a volume above 0 ends
// there rather than going on to silence).
void OnFadeTick(HWND window, MusicState& state) {
    float target = static_cast<float>(state.targetVolume.load());
    state.fadeVolume += state.fadeStep;
    float volume = state.fadeStep < 0.0f ? std::max({state.fadeVolume, target, 0.0f})
                                         : std::min(state.fadeVolume, target);
    SendMessageA(window, WM_MUSIC_VOLUME, static_cast<WPARAM>(volume), 0);
    DWORD current = state.currentVolume.load();
    bool ended = (state.fadeStep < 0.0f && (current == 0 || current <= target)) ||
                 (state.fadeStep > 0.0f && current == state.targetVolume.load());
    if (ended) {
        state.fadeStep = 0.0f;
        KillTimer(window, kMusicFadeTimer);
    }
}

}  // namespace

LRESULT PcmMusicPlayer(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MusicState& state = GetMusicState();
    switch (message) {
        case WM_CREATE:
            if (gDirectSound == nullptr) {
                return -1;
            }
            state.ready = 1;
            state.playing.store(0);
            state.targetVolume.store(10000);
            state.currentVolume.store(10000);
            SendMessageA(window, WM_MUSIC_VOLUME, 10000, 0);
            return 0;
        case WM_MUSIC_PLAY:
            OnPlay(state, static_cast<DWORD>(wParam), reinterpret_cast<const char*>(lParam));
            return 0;
        case WM_MUSIC_STOP:
            OnStop(state);
            return 0;
        case WM_MUSIC_PAUSE:
            OnPause(state, static_cast<int>(wParam));
            return 0;
        case WM_MUSIC_VOLUME:
            OnVolume(state, static_cast<DWORD>(wParam));
            return 0;
        case WM_MUSIC_POSITION:
            if (state.playing.load() == 0 || state.paused.load() != 0) {
                return 0;
            }
            return static_cast<LRESULT>(timeGetTime() - state.startTime.load());
        case WM_TIMER:
            if (wParam == kMusicFadeTimer) {
                OnFadeTick(window, state);
            }
            return 0;
        case WM_DESTROY:
            StopPcmMusicStream();
            state.playing.store(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}
