#pragma once
// Internal to the movie graph: the movie's sound on its way to the program's mixer, and the clock
// it gives. A one-second ring of 16-bit stereo at kSoundRate in a sound buffer of the program's
// own device plays looping; the decoding thread writes ahead of its play cursor, and the frames
// the mixer has played are the movie's time. Every call may come from any thread.

#include <cstdint>
#include <memory>
#include <mutex>

#include "platform/d3dx/com_ptr.h"
#include "platform/dsound/dsound.h"

namespace dshow_detail {

constexpr std::uint32_t kSoundRingFrames = 44100;

class SoundRing {
public:
    // A ring on the sound device whose cooperative level was set for `window`; null when there
    // is none or it refuses the buffer.
    static std::unique_ptr<SoundRing> Create(HWND window);
    SoundRing(const SoundRing&) = delete;
    SoundRing& operator=(const SoundRing&) = delete;

    void Start();
    void Stop();
    HRESULT SetVolume(LONG volume);
    // Frames the mixer has played since the ring was made or last reset. Called at least once a
    // ring's length (a second) while playing, so that no whole turn of the cursor goes unseen.
    std::uint64_t PlayedFrames();
    // Frames that may be written now: the ring less what is written and not yet played. When the
    // mixer has played past what was written, the writing goes on from where it plays.
    std::uint32_t FreeFrames();
    // Writes `frames` frames (`samples` null: silence) after those written; at most FreeFrames.
    // False when the sound buffer refuses them.
    bool Write(const std::int16_t* samples, std::uint32_t frames);
    // Stopped and silent, with the cursor and both counts back at 0.
    void Reset();

private:
    explicit SoundRing(d3dx::ComPtr<IDirectSoundBuffer> buffer);
    void UpdateLocked();

    std::mutex mutex_;
    d3dx::ComPtr<IDirectSoundBuffer> buffer_;
    DWORD lastCursor_ = 0;  // bytes
    std::uint64_t played_ = 0;
    std::uint64_t written_ = 0;
};

}  // namespace dshow_detail
