#pragma once
// Internal to the movie graph: one movie playing. A decoding thread of its own keeps the sound
// ring a second ahead of the mixer and decodes the pictures a few ahead of the clock; the clock
// is the sound the mixer has played (the system clock for a movie without sound). The caller's
// thread asks, once a step, for the picture due now: the latest one whose time stamp is at or
// before the clock. Pictures already late when they are decoded are never converted and are
// dropped; the sound is never dropped.
//
// Under the manual clock of tests every step first waits for the decoding thread to reach the
// clock, so that what is shown never depends on the scheduler. Otherwise nothing on the caller's
// thread waits for decoding but the start of a run and a rewind.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/dshow/movie_source.h"
#include "platform/dshow/sound_ring.h"

namespace dshow_detail {

class MoviePlayback {
public:
    explicit MoviePlayback(std::unique_ptr<MovieSource> source);
    ~MoviePlayback();
    MoviePlayback(const MoviePlayback&) = delete;
    MoviePlayback& operator=(const MoviePlayback&) = delete;

    bool hasVideo() const { return hasVideo_; }
    SIZE videoSize() const { return videoSize_; }

    // Plays on from the current position once the pictures and sound due are decoded. The first
    // run takes the sound device of `soundWindow` for the sound (without one the movie plays
    // silent on the system clock).
    void Run(HWND soundWindow);
    // Halts the clock and the sound where they are.
    void Stop();
    // Back to the start, playing on if it ran.
    void Rewind();
    // Hundredths of a decibel; kept for a sound that starts later.
    void SetVolume(LONG volume);

    struct Step {
        std::shared_ptr<const MoviePicture> picture;  // due and not shown yet, or null
        bool completed = false;  // the end was reached (told once after each start)
        HRESULT failure = S_OK;  // decoding failed: told once, when what was decoded before
                                 // the failure has played
    };
    // One step of the presentation; nothing while not running.
    Step Present();

private:
    void DecodeLoop();
    // The movie's time now, in 100-nanosecond units.
    REFERENCE_TIME NowLocked();
    bool SoundWantedLocked();
    bool PictureWantedLocked(REFERENCE_TIME now) const;
    bool SatisfiedLocked(REFERENCE_TIME now);
    // Drops the pictures that a later one already replaces at `now`.
    void PruneLocked(REFERENCE_TIME now);
    void WaitSatisfiedLocked(std::unique_lock<std::mutex>& lock);
    void StartClockLocked();
    void FillSound(std::unique_lock<std::mutex>& lock);
    void DecodePicture(std::unique_lock<std::mutex>& lock);
    void RewindSource(std::unique_lock<std::mutex>& lock);
    // A stream failed: the movie's failure is told once the clock reaches `at`, the end of what
    // was good (the earliest such end when both streams fail).
    void FailLocked(REFERENCE_TIME at);

    std::unique_ptr<MovieSource> source_;  // the decoding thread's, but for the start of a run
    const bool hasVideo_;
    bool hasAudio_;
    const SIZE videoSize_;

    std::mutex mutex_;
    std::condition_variable wake_;  // the decoding thread waits for work
    std::condition_variable idle_;  // the caller waits for the decoding thread
    std::unique_ptr<SoundRing> ring_;
    bool started_ = false;
    bool running_ = false;
    bool cued_ = false;  // the decoding thread may work
    bool quit_ = false;
    bool rewindRequested_ = false;
    std::uint64_t rewinds_ = 0;
    HRESULT failure_ = S_OK;
    REFERENCE_TIME failureTime_ = 0;
    bool failureTold_ = false;
    bool completedTold_ = false;
    LONG volume_ = 0;

    std::deque<std::shared_ptr<const MoviePicture>> pictures_;  // decoded, not shown, in order
    std::shared_ptr<const MoviePicture> shown_;
    REFERENCE_TIME lastPictureTime_ = -1;
    REFERENCE_TIME pictureEnd_ = 0;  // the end of the last picture decoded
    REFERENCE_TIME endTime_ = 0;     // the end of everything decoded so far
    bool videoEnded_ = false;
    bool audioEnded_ = false;
    bool ringBroken_ = false;        // the sound buffer refused a write
    std::uint64_t soundFrames_ = 0;  // frames of the movie's own sound written

    // The system clock of a movie without sound: time run before, and when the run began.
    REFERENCE_TIME clockBase_ = 0;
    LONGLONG runStartedAt_ = 0;

    std::thread thread_;
};

}  // namespace dshow_detail
