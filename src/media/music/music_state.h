#pragma once
// The process-wide state of the background music, shared by the music window's players and the
// PCM streaming thread. The main thread runs the window procedures; the streaming thread only
// streams. What both touch is either atomic or guarded by streamMutex.

#include <atomic>
#include <cstddef>
#include <mutex>
#include <thread>

#include "platform/winbase/win_types.h"

class DSSound;

constexpr DWORD kMusicDevicePcm = 1;
constexpr DWORD kMusicDeviceCd = 2;
constexpr std::size_t kMusicNameLength = 260;

struct MusicState {
    HWND window = nullptr;
    DWORD device = 0;
    int ready = 0;
    // 1 while music plays (PCM: while the streaming thread runs its loop). Set to 1 only by the
    // thread; cleared by the thread when it ends and by the main thread after the join.
    std::atomic<int> playing{0};
    std::atomic<int> paused{0};
    std::atomic<DWORD> loopMode{1};  // 0 once, 1 loop the file, 2 intro then loop file
    std::atomic<DWORD> targetVolume{10000};
    std::atomic<DWORD> currentVolume{10000};
    float fadeStep = 0.0f;  // 0: no fade runs
    float fadeVolume = 0.0f;
    std::atomic<DWORD> startTime{0};  // timeGetTime milliseconds
    char playName[kMusicNameLength] = {};

    // Guards the names, the stream sound and the loop-play flag.
    std::mutex streamMutex;
    char currentName[kMusicNameLength] = {};  // the music being streamed (the loop file in mode 2)
    char requestedName[kMusicNameLength] = {};  // the name it was requested by
    DSSound* streamSound = nullptr;             // reachable by the main thread while set
    bool loopPlay = false;

    std::thread thread;
    // Asks the streaming thread to end; it checks this at every step.
    std::atomic<bool> stopRequested{false};
};

MusicState& GetMusicState();
