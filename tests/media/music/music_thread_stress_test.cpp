// Play, stop, pause, volume and fade commands from the main thread while the streaming thread
// runs on a clock that keeps moving. Built a second time under ThreadSanitizer
// (tools/test-tsan) to hold the stream to its locking rules.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "music_test_support.h"

namespace qvn::test {
namespace {

using MusicThreadStressTest = MusicTest;

TEST_F(MusicThreadStressTest, CommandsRaceTheStreamingThreadSafely) {
    std::string names[3] = {
        WriteMusic("bgm20a.wav", WaveFile(AsBytes(RampSamples(40000, 1)))),
        WriteMusic("bgm21a.wav", WaveFile(AsBytes(RampSamples(10000, 2)))),
        WriteMusic("bgm22a.wav", WaveFile(AsBytes(RampSamples(20000, 3)))),
    };
    WriteMusic("bgm22b.wav", WaveFile(AsBytes(RampSamples(30000, 4))));
    std::atomic<bool> done{false};
    // Mixes 5 ms at a time with a pause between mixes, as a sound device does: the mixer's lock,
    // which the streaming thread takes for each step, is never taken again at once.
    std::thread mixer([&done] {
        while (!done.load()) {
            win32_test::AdvanceClockMicroseconds(5000);
            dsound_test::MixFrames(220);
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    });
    for (int round = 0; round < 60; ++round) {
        const std::string& name = names[round % 3];
        PlayMusic(round, name.c_str(), static_cast<DWORD>(round % 3), round % 4 != 0);
        SetMusicVolume(static_cast<DWORD>((round * 1234) % 10001));
        PauseMusic(round % 2);
        FadeMusic(100, 2000);
        PumpMessages();
        GetMusicPosition();
        IsMusicPlaying();
        if (round % 5 == 4) {
            StopMusic();
        }
    }
    StopMusic();
    done.store(true);
    mixer.join();
    EXPECT_EQ(IsMusicPlaying(), 0);
    EXPECT_FALSE(HasPcmMusicStream());
    EXPECT_EQ(gDirectSound->SoundCount(), 0u);
}

}  // namespace
}  // namespace qvn::test
