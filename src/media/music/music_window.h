#pragma once
// Background music, owned by a hidden window (class and title "MUSIC", a child of the game
// window) that the rest of the game commands through the functions below. The window
// procedure is chosen by the music device: 1 streams wave files (PcmMusicPlayer), 2 plays CD
// audio tracks (CdAudioPlayer, cd_audio_player.h).

#include "platform/win32/message_api.h"
#include "platform/win32/window_api.h"

// Messages of the music window.
constexpr UINT WM_MUSIC_PLAY = WM_USER;  // wParam loop mode (or loop flag), lParam name or track
constexpr UINT WM_MUSIC_STOP = WM_USER + 1;
constexpr UINT WM_MUSIC_PAUSE = WM_USER + 2;     // wParam 1 pause, 0 resume
constexpr UINT WM_MUSIC_VOLUME = WM_USER + 3;    // wParam 0..10000
constexpr UINT WM_MUSIC_POSITION = WM_USER + 4;  // returns milliseconds since the music started

// Timer of the music fade on the music window, and its period.
constexpr UINT_PTR kMusicFadeTimer = 2;
constexpr UINT kMusicFadeStepMs = 50;

// 1 on success; 0 for an unknown device or when the window cannot be made.
int CreateMusicWindow(HWND owner, DWORD device);
void DestroyMusicWindow();
// `name`: the music file (PCM); `number`: the track less one (CD). Paused unless `playNow`.
int PlayMusic(int number, const char* name, DWORD loopMode, int playNow);
void StopMusic();
void PauseMusic(int pause);
void SetMusicVolume(DWORD volume);
// Moves the volume to `target` in steps of 50 ms; a fade downwards always ends at 0.
void FadeMusic(DWORD milliseconds, DWORD target);
DWORD GetMusicLoopMode();
DWORD GetMusicPosition();
int IsMusicFading();
int IsMusicReady();
// Music plays and is not paused.
int IsMusicPlaying();

LRESULT PcmMusicPlayer(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
