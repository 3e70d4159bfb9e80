// Run, Stop, rewinds, volume changes and the release of graphs from the caller's thread while
// their decoding threads work and another thread mixes the sound, on the manual clock and on the
// real one. Built a second time under ThreadSanitizer (tools/test-tsan) to hold the decoding
// thread to its locking rules.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "graph_test_support.h"

namespace qvn::test {
namespace {

using GraphThreadStressTest = MovieClockTest;

// Each mix is 10 ms of sound.
constexpr std::uint32_t kMixFrames = 441;
constexpr std::uint64_t kMixMicroseconds = 10000;
// On the real clock the mixer mixes at this period, and the caller pumps its messages once a
// period.
constexpr auto kRealMixPeriod = std::chrono::milliseconds(2);

// A thread that mixes the sound as a sound device does: a mix takes the mixer's lock for a
// moment and leaves it alone until the next, so that the decoding thread, which reads the play
// cursor under that lock, always gets it. (A mixer that takes the lock again at once leaves the
// decoding thread, and the caller waiting for it, to the scheduler's mercy.)
//
// On the real clock it mixes once a period. On the manual clock it mixes 10 ms and moves the
// clock on for each Step of the caller, while the caller goes on; the caller waits only for the
// mix it asked for before, so that a run covers the same stretch of the movies on any scheduler.
class PacedMixer {
public:
    explicit PacedMixer(bool manualClock)
        : manualClock_(manualClock), thread_([this] { manualClock_ ? MixAsked() : MixTimed(); }) {}
    PacedMixer(const PacedMixer&) = delete;
    PacedMixer& operator=(const PacedMixer&) = delete;
    ~PacedMixer() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }

    void Step() {
        if (!manualClock_) {
            std::this_thread::sleep_for(kRealMixPeriod);
            return;
        }
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return mixed_ == asked_; });
        ++asked_;
        changed_.notify_all();
    }

private:
    void MixAsked() {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return done_ || mixed_ < asked_; });
            if (done_) {
                return;
            }
            lock.unlock();
            dsound_test::MixFrames(kMixFrames);
            win32_test::AdvanceClockMicroseconds(kMixMicroseconds);
            lock.lock();
            ++mixed_;
            changed_.notify_all();
        }
    }

    void MixTimed() {
        std::unique_lock lock(mutex_);
        while (!done_) {
            lock.unlock();
            dsound_test::MixFrames(kMixFrames);
            lock.lock();
            changed_.wait_for(lock, kRealMixPeriod, [this] { return done_; });
        }
    }

    const bool manualClock_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::uint64_t asked_ = 0;
    std::uint64_t mixed_ = 0;
    bool done_ = false;
    std::thread thread_;  // last: it starts once the rest is made
};

TEST_F(GraphThreadStressTest, CallsRaceTheDecodingThreadSafely) {
    for (const bool manualClock : {true, false}) {
        win32_test::UseManualClock(manualClock);
        PacedMixer mixer(manualClock);
        for (int round = 0; round < 12; ++round) {
            const char* name = round % 3 == 2 ? "movie\\silent.avi" : "movie\\colours.avi";
            TestGraph g = MakeGraph(WidePath(name), window(), round % 2 == 0, RECT{0, 0, 800, 600});
            ASSERT_EQ(g.rendered, S_OK);
            for (int step = 0; step < 8; ++step) {
                switch ((round + step) % 4) {
                    case 0:
                        g.control->Run();
                        break;
                    case 1:
                        g.audio->put_Volume(-100 * step);
                        break;
                    case 2: {
                        LONGLONG start = 0;
                        g.seeking->SetPositions(&start, AM_SEEKING_AbsolutePositioning, nullptr,
                                                AM_SEEKING_NoPositioning);
                        break;
                    }
                    default:
                        if (round % 5 == 4) {
                            g.control->Stop();
                        }
                        break;
                }
                for (int pump = 0; pump < 5; ++pump) {
                    PumpMessages();
                    mixer.Step();
                }
            }
            TakeEvents(g.events.get());
        }
        TakePosted();
    }
    win32_test::UseManualClock(true);
}

}  // namespace
}  // namespace qvn::test
