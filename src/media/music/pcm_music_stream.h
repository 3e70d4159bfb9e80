#pragma once
// The PCM streaming of background music: a thread that plays a wave file through a 128 KiB
// DirectSound ring, refilling it every 100 ms, with an intro file followed by its loop file in
// loop mode 2.

#include "media/music/music_state.h"
#include "platform/winbase/win_types.h"

constexpr DWORD kMusicRingBytes = 0x20000;  // 131,072
constexpr DWORD kMusicMinimumFill = 16384;  // bytes; smaller gaps wait for the next step
constexpr DWORD kMusicStreamStepMs = 100;

// The stream volume in hundredths of a decibel of a 0..10000 music volume:
// p = volume x 100 / 10000, then (p - 100) x 50, or -10000 when p is 0.
LONG MusicVolumeToDecibels(DWORD volume);

// The name of the loop file of an intro file: the character before the last "." increased by
// one (bgm05a.wav becomes bgm05b.wav). Unchanged when there is no such character.
void MakeLoopFileName(char* name);

// Starts the streaming thread for `name` in `loopMode`. Any thread still running is stopped
// and joined first.
void StartPcmMusicStream(const char* name, DWORD loopMode);
// Asks the streaming thread to stop and waits for its end; nothing when none runs. Main
// thread only. The thread reacts within one step (at most 100 ms).
void StopPcmMusicStream();
// True while a streaming thread exists (running or not yet joined).
bool HasPcmMusicStream();
