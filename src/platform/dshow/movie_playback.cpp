#include "platform/dshow/movie_playback.h"

#include <algorithm>
#include <chrono>
#include <vector>

#include "platform/winbase/time_api.h"

namespace dshow_detail {
namespace {

// The decoding thread looks at the sound ring this often even when nobody wakes it, since the
// mixer frees room in the ring without telling anyone.
constexpr auto kPollPeriod = std::chrono::milliseconds(20);
// The ring is refilled once this much room is free, at most kSoundChunkFrames at a time.
constexpr std::uint32_t kSoundRefillFrames = 1024;
constexpr std::uint32_t kSoundChunkFrames = 4096;
// Pictures decoded ahead of the clock, and the most kept.
constexpr std::size_t kPicturesAhead = 3;
constexpr std::size_t kMaxPictures = 8;

LONGLONG CounterNow() {
    LARGE_INTEGER count{};
    QueryPerformanceCounter(&count);
    return count.QuadPart;
}

REFERENCE_TIME CounterToTime(LONGLONG counts) {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    if (frequency.QuadPart <= 0) {
        return 0;
    }
    return static_cast<REFERENCE_TIME>(static_cast<double>(counts) * kUnitsPerSecond /
                                       static_cast<double>(frequency.QuadPart));
}

REFERENCE_TIME SoundTime(std::uint64_t frames) {
    return static_cast<REFERENCE_TIME>(frames * kUnitsPerSecond / kSoundRate);
}

}  // namespace

MoviePlayback::MoviePlayback(std::unique_ptr<MovieSource> source)
    : source_(std::move(source)),
      hasVideo_(source_->hasVideo()),
      hasAudio_(source_->hasAudio()),
      videoSize_(source_->videoSize()) {
    thread_ = std::thread([this] { DecodeLoop(); });
}

MoviePlayback::~MoviePlayback() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void MoviePlayback::Run(HWND soundWindow) {
    std::unique_lock lock(mutex_);
    if (!started_) {
        started_ = true;
        // The decoding thread has not touched the source yet: it works only once cued.
        if (hasAudio_) {
            ring_ = SoundRing::Create(soundWindow);
            if (ring_) {
                ring_->SetVolume(volume_);
            } else {
                source_->DiscardSound();
                hasAudio_ = false;
            }
        }
    }
    if (running_) {
        return;
    }
    cued_ = true;
    wake_.notify_all();
    WaitSatisfiedLocked(lock);
    running_ = true;
    StartClockLocked();
}

void MoviePlayback::StartClockLocked() {
    runStartedAt_ = CounterNow();
    if (ring_) {
        ring_->Start();
    }
}

void MoviePlayback::Stop() {
    std::lock_guard lock(mutex_);
    if (!running_) {
        return;
    }
    clockBase_ = NowLocked();
    running_ = false;
    if (ring_) {
        ring_->Stop();
    }
}

void MoviePlayback::Rewind() {
    std::unique_lock lock(mutex_);
    if (ring_) {
        ring_->Stop();
    }
    rewindRequested_ = true;
    const std::uint64_t before = rewinds_;
    wake_.notify_all();
    idle_.wait(lock, [&] { return rewinds_ != before || quit_; });
    shown_.reset();
    completedTold_ = false;
    if (running_) {
        WaitSatisfiedLocked(lock);
        StartClockLocked();
    }
}

void MoviePlayback::SetVolume(LONG volume) {
    std::lock_guard lock(mutex_);
    volume_ = volume;
    if (ring_) {
        ring_->SetVolume(volume);
    }
}

REFERENCE_TIME MoviePlayback::NowLocked() {
    if (ring_) {
        return SoundTime(ring_->PlayedFrames());
    }
    if (!running_) {
        return clockBase_;
    }
    return clockBase_ + CounterToTime(CounterNow() - runStartedAt_);
}

bool MoviePlayback::SoundWantedLocked() {
    return ring_ && !ringBroken_ && ring_->FreeFrames() >= kSoundRefillFrames;
}

bool MoviePlayback::PictureWantedLocked(REFERENCE_TIME now) const {
    if (!hasVideo_ || videoEnded_ || pictures_.size() >= kMaxPictures) {
        return false;
    }
    return lastPictureTime_ <= now || pictures_.size() < kPicturesAhead;
}

bool MoviePlayback::SatisfiedLocked(REFERENCE_TIME now) {
    if (quit_) {
        return true;
    }
    const bool pictureReady = !hasVideo_ || videoEnded_ || lastPictureTime_ > now;
    return pictureReady && !SoundWantedLocked();
}

void MoviePlayback::PruneLocked(REFERENCE_TIME now) {
    while (pictures_.size() >= 2 && pictures_[1]->time <= now) {
        pictures_.pop_front();
    }
}

void MoviePlayback::WaitSatisfiedLocked(std::unique_lock<std::mutex>& lock) {
    for (;;) {
        const REFERENCE_TIME now = NowLocked();
        PruneLocked(now);
        if (SatisfiedLocked(now)) {
            return;
        }
        wake_.notify_all();
        idle_.wait(lock);
    }
}

MoviePlayback::Step MoviePlayback::Present() {
    Step step;
    std::unique_lock lock(mutex_);
    if (!running_) {
        return step;
    }
    if (Win32ClockIsManual()) {
        WaitSatisfiedLocked(lock);
    }
    const REFERENCE_TIME now = NowLocked();
    PruneLocked(now);
    wake_.notify_all();
    if (!pictures_.empty() && pictures_.front()->time <= now) {
        shown_ = std::move(pictures_.front());
        pictures_.pop_front();
        step.picture = shown_;
    }
    if (failure_ != S_OK) {
        if (!failureTold_ && now >= failureTime_) {
            failureTold_ = true;
            step.failure = failure_;
        }
        return step;
    }
    const bool picturesDone = !hasVideo_ || (videoEnded_ && pictures_.empty());
    const bool soundDone = !hasAudio_ || audioEnded_;
    if (picturesDone && soundDone && now >= endTime_ && !completedTold_) {
        completedTold_ = true;
        step.completed = true;
    }
    return step;
}

void MoviePlayback::DecodeLoop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait_for(lock, kPollPeriod, [&] {
            if (quit_ || rewindRequested_) {
                return true;
            }
            if (!cued_) {
                return false;
            }
            return SoundWantedLocked() || PictureWantedLocked(NowLocked());
        });
        if (quit_) {
            return;
        }
        if (rewindRequested_) {
            RewindSource(lock);
        } else if (cued_) {
            if (SoundWantedLocked()) {
                FillSound(lock);
            } else if (PictureWantedLocked(NowLocked())) {
                DecodePicture(lock);
            }
        }
        idle_.notify_all();
    }
}

void MoviePlayback::FailLocked(REFERENCE_TIME at) {
    if (failure_ == S_OK || at < failureTime_) {
        failureTime_ = at;
    }
    failure_ = VFW_E_INVALID_FILE_FORMAT;
}

void MoviePlayback::FillSound(std::unique_lock<std::mutex>& lock) {
    const std::uint32_t frames = std::min(ring_->FreeFrames(), kSoundChunkFrames);
    const bool ended = audioEnded_;
    lock.unlock();
    std::vector<std::int16_t> samples(static_cast<std::size_t>(frames) * 2, 0);
    std::size_t got = 0;
    DecodeStatus status = DecodeStatus::kEnd;
    if (!ended) {
        status = source_->ReadSound(samples.data(), frames, &got);
    }
    // Past the end of the sound, and after it failed, silence.
    const bool written = ring_->Write(samples.data(), frames);
    lock.lock();
    if (!written) {
        // The ring takes nothing more: the sound ends here.
        ringBroken_ = true;
        status = DecodeStatus::kFailed;
    }
    soundFrames_ += got;
    endTime_ = std::max(endTime_, SoundTime(soundFrames_));
    if (status == DecodeStatus::kFailed) {
        // The sound ends where it failed; the pictures go on up to then.
        FailLocked(SoundTime(soundFrames_));
    }
    if (status != DecodeStatus::kOk) {
        audioEnded_ = true;
    }
}

void MoviePlayback::DecodePicture(std::unique_lock<std::mutex>& lock) {
    const REFERENCE_TIME now = NowLocked();
    lock.unlock();
    REFERENCE_TIME time = 0;
    REFERENCE_TIME duration = 0;
    int number = 0;
    DecodeStatus status = source_->NextPicture(&time, &duration, &number);
    std::shared_ptr<MoviePicture> picture;
    // A picture whose successor is due already is never shown: it is not converted.
    if (status == DecodeStatus::kOk && time + duration > now) {
        picture = std::make_shared<MoviePicture>();
        picture->time = time;
        picture->duration = duration;
        picture->number = number;
        if (!source_->ConvertPicture(picture.get())) {
            status = DecodeStatus::kFailed;
        }
    }
    lock.lock();
    switch (status) {
        case DecodeStatus::kFailed:
            // The pictures end with the last good one; the sound goes on up to then.
            videoEnded_ = true;
            FailLocked(pictureEnd_);
            return;
        case DecodeStatus::kEnd:
            videoEnded_ = true;
            return;
        case DecodeStatus::kOk:
            break;
    }
    lastPictureTime_ = time;
    pictureEnd_ = time + duration;
    endTime_ = std::max(endTime_, pictureEnd_);
    if (picture) {
        pictures_.push_back(std::move(picture));
    }
    PruneLocked(NowLocked());
}

void MoviePlayback::RewindSource(std::unique_lock<std::mutex>& lock) {
    lock.unlock();
    const bool rewound = source_->Rewind();
    if (ring_) {
        ring_->Reset();
    }
    lock.lock();
    rewindRequested_ = false;
    ++rewinds_;
    pictures_.clear();
    lastPictureTime_ = -1;
    pictureEnd_ = 0;
    endTime_ = 0;
    videoEnded_ = !rewound;
    audioEnded_ = !rewound;
    if (!rewound) {
        FailLocked(0);
    }
    soundFrames_ = 0;
    clockBase_ = 0;
    runStartedAt_ = CounterNow();
}

}  // namespace dshow_detail
