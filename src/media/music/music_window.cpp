#include "media/music/music_window.h"

#include <cstring>

#include "media/music/cd_audio_player.h"
#include "media/music/music_state.h"
#include "media/music/pcm_music_stream.h"
#include "media/sound/direct_sound.h"
#include "platform/win32/timer_api.h"

namespace {

constexpr const char* kMusicClass = "MUSIC";

// The instance the class "MUSIC" was registered with.
HINSTANCE gMusicInstance = nullptr;

WNDPROC ProcedureFor(DWORD device) {
    switch (device) {
        case kMusicDevicePcm:
            return PcmMusicPlayer;
        case kMusicDeviceCd:
            return CdAudioPlayer;
        default:
            return nullptr;
    }
}

}  // namespace

int CreateMusicWindow(HWND owner, DWORD device) {
    DestroyMusicWindow();
    MusicState& state = GetMusicState();
    state.device = device;
    WNDPROC procedure = ProcedureFor(device);
    if (procedure == nullptr) {
        return 0;
    }
    // The device going away stops the stream first, so the stream never outlives its sound.
    SetSoundDeviceClosingHook(StopPcmMusicStream);
    HINSTANCE instance = owner != nullptr
                             ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE))
                             : nullptr;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kMusicClass;
    RegisterClassExA(&windowClass);
    gMusicInstance = instance;
    state.window = CreateWindowExA(WS_EX_APPWINDOW, kMusicClass, kMusicClass, 0, 0, 0, 0, 0, owner,
                                   nullptr, instance, nullptr);
    if (state.window == nullptr) {
        UnregisterClassA(kMusicClass, instance);
        return 0;
    }
    return 1;
}

void DestroyMusicWindow() {
    MusicState& state = GetMusicState();
    if (state.window == nullptr) {
        return;
    }
    // The window dies with the game window it belongs to; then only its class is left.
    if (IsWindow(state.window)) {
        StopMusic();
        FadeMusic(0, 1);
        DestroyWindow(state.window);
    } else {
        StopPcmMusicStream();
        state.fadeStep = 0.0f;
    }
    UnregisterClassA(kMusicClass, gMusicInstance);
    state.window = nullptr;
    state.ready = 0;
}

int PlayMusic(int number, const char* name, DWORD loopMode, int playNow) {
    MusicState& state = GetMusicState();
    std::memset(state.playName, 0, sizeof(state.playName));
    if (name != nullptr) {
        std::strncpy(state.playName, name, sizeof(state.playName) - 1);
    }
    if (state.window == nullptr) {
        return 0;
    }
    if (state.fadeStep != 0.0f) {
        StopMusic();
    }
    state.paused.store(playNow == 0 ? 1 : 0);
    KillTimer(state.window, kMusicFadeTimer);
    if (state.device == kMusicDeviceCd) {
        SendMessageA(state.window, WM_MUSIC_PLAY, loopMode, number + 1);
    } else {
        SendMessageA(state.window, WM_MUSIC_PLAY, loopMode,
                     reinterpret_cast<LPARAM>(state.playName));
    }
    return 1;
}

void StopMusic() {
    MusicState& state = GetMusicState();
    state.fadeStep = 0.0f;
    if (state.window == nullptr) {
        return;
    }
    KillTimer(state.window, kMusicFadeTimer);
    SendMessageA(state.window, WM_MUSIC_STOP, 0, 0);
    SendMessageA(state.window, WM_MUSIC_VOLUME, state.targetVolume.load(), 0);
}

void PauseMusic(int pause) {
    MusicState& state = GetMusicState();
    if (state.window != nullptr) {
        SendMessageA(state.window, WM_MUSIC_PAUSE, pause, 0);
    }
}

void SetMusicVolume(DWORD volume) {
    MusicState& state = GetMusicState();
    state.targetVolume.store(volume);
    if (state.window != nullptr) {
        SendMessageA(state.window, WM_MUSIC_VOLUME, volume, 0);
    }
}

void FadeMusic(DWORD milliseconds, DWORD target) {
    MusicState& state = GetMusicState();
    if (state.window == nullptr || state.ready == 0) {
        return;
    }
    int steps = static_cast<int>(milliseconds / kMusicFadeStepMs);
    if (steps < 1) {
        steps = 1;
    }
    int current = static_cast<int>(state.currentVolume.load());
    state.fadeStep = static_cast<float>((static_cast<int>(target) - current) / steps);
    state.targetVolume.store(target);
    state.fadeVolume = static_cast<float>(current);
    SetTimer(state.window, kMusicFadeTimer, kMusicFadeStepMs, nullptr);
}

DWORD GetMusicLoopMode() {
    return GetMusicState().loopMode.load();
}

DWORD GetMusicPosition() {
    MusicState& state = GetMusicState();
    if (state.window == nullptr) {
        return 0;
    }
    return static_cast<DWORD>(SendMessageA(state.window, WM_MUSIC_POSITION, 0, 0));
}

int IsMusicFading() {
    return GetMusicState().fadeStep != 0.0f ? 1 : 0;
}

int IsMusicReady() {
    return GetMusicState().ready;
}

int IsMusicPlaying() {
    MusicState& state = GetMusicState();
    return state.playing.load() != 0 && state.paused.load() == 0 ? 1 : 0;
}
