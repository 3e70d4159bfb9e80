#pragma once
// The music tests' fixture: a null sound device, the PCM music window and helpers that let the
// streaming thread take exact steps on the manual clock.

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "media/music/music_state.h"
#include "media/music/music_window.h"
#include "media/music/pcm_music_stream.h"
#include "media/sound/sound_test_support.h"

namespace qvn::test {

// Runs `action` while another thread keeps the manual clock moving, so that a streaming thread
// asleep on it wakes up and can be joined. Only for stopping and restarting: what the stream
// does meanwhile is not exact. The clock moves 1 ms at a time with a pause between moves: the
// clock's lock, which a waking sleeper must take too, is never taken again at once.
inline void WhileClockRuns(const std::function<void()>& action) {
    std::atomic<bool> done{false};
    std::thread pump([&done] {
        while (!done.load()) {
            win32_test::AdvanceClockMicroseconds(1000);
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    });
    action();
    done.store(true);
    pump.join();
}

// A fade from `from` to `target` over `milliseconds`, checked after each group of ticks of 50 ms:
// the current volume and whether the fade still runs.
struct FadeStep {
    int ticks;
    DWORD volume;
    int fading;
};
struct FadeCase {
    const char* name;
    DWORD from;
    DWORD milliseconds;
    DWORD target;
    std::vector<FadeStep> steps;
};

class MusicTest : public SoundDeviceTest {
protected:
    void SetUp() override {
        SoundDeviceTest::SetUp();
        ASSERT_EQ(CreateMusicWindow(GameWindow(), kMusicDevicePcm), 1);
    }

    void TearDown() override {
        WhileClockRuns([] { DestroyMusicWindow(); });
        SoundDeviceTest::TearDown();
    }

    std::string WriteMusic(const std::string& file, const std::vector<std::uint8_t>& bytes) {
        return WriteSound("music/" + file, bytes);
    }

    // Waits until the streaming thread sleeps after its next step.
    static void AwaitStep() { win32_test::WaitForSleepers(1); }

    // Plays `steps` streaming steps of 100 ms: mixes 4,410 frames, then lets the thread refill.
    static std::vector<std::int16_t> Stream(int steps) {
        std::vector<std::int16_t> out;
        for (int i = 0; i < steps; ++i) {
            std::vector<std::int16_t> part = Mix(4410);
            out.insert(out.end(), part.begin(), part.end());
            win32_test::AdvanceClockMicroseconds(100000);
            AwaitStep();
        }
        return out;
    }

    static void Stop() {
        WhileClockRuns([] { StopMusic(); });
    }
};

// `frames` frames of the concatenation of `parts`, repeated from `repeatFrom` (an index into
// parts) once all are used.
inline std::vector<std::int16_t> Joined(const std::vector<std::vector<std::int16_t>>& parts,
                                        std::size_t repeatFrom, std::size_t frames) {
    std::vector<std::int16_t> out;
    std::size_t index = 0;
    while (out.size() < frames * 2) {
        out.insert(out.end(), parts[index].begin(), parts[index].end());
        index = index + 1 < parts.size() ? index + 1 : repeatFrom;
    }
    out.resize(frames * 2);
    return out;
}

// The first frame where two sample streams differ, or -1.
inline long FirstDifference(const std::vector<std::int16_t>& a,
                            const std::vector<std::int16_t>& b) {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (a[i] != b[i]) {
            return static_cast<long>(i / 2);
        }
    }
    return a.size() == b.size() ? -1 : static_cast<long>(n / 2);
}

}  // namespace qvn::test
