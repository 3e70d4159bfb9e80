#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "media/sound/ds_sound.h"
#include "music_test_support.h"

namespace qvn::test {
namespace {

using MusicStreamTest = MusicTest;

const std::vector<std::int16_t> kSilence(4410 * 2, 0);

TEST_F(MusicStreamTest, IntroThenLoopFileThroughTheRingIsSampleExact) {
    std::vector<std::int16_t> intro = RampSamples(25000, 1);     // 100,000 bytes
    std::vector<std::int16_t> loop = RampSamples(50000, 12345);  // 200,000 bytes
    std::string name = WriteMusic("bgm01a.wav", WaveFile(AsBytes(intro)));
    WriteMusic("bgm01b.wav", WaveFile(AsBytes(loop)));
    ASSERT_EQ(PlayMusic(0, name.c_str(), 2, 1), 1);
    AwaitStep();
    EXPECT_EQ(IsMusicPlaying(), 1);
    EXPECT_EQ(GetMusicLoopMode(), 2u);
    EXPECT_NE(std::string(GetMusicState().currentName).find("bgm01b.wav"), std::string::npos);

    std::vector<std::int16_t> out = Stream(40);  // 176,400 frames: the loop file 3.03 times
    EXPECT_EQ(FirstDifference(out, Joined({intro, loop}, 1, out.size() / 2)), -1);
    EXPECT_EQ(gDirectSound->SoundCount(), 1u);

    Stop();
    EXPECT_EQ(IsMusicPlaying(), 0);
    EXPECT_FALSE(HasPcmMusicStream());
    EXPECT_EQ(gDirectSound->SoundCount(), 0u);
    EXPECT_EQ(Mix(4410), kSilence);
}

TEST_F(MusicStreamTest, LoopModesOfShortAndLongFiles) {
    struct Case {
        const char* name;
        std::size_t frames;
        DWORD mode;
        bool loops;
    };
    const Case cases[] = {
        {"short, once: played from memory", 10000, 0, false},
        {"short, looped from memory", 10000, 1, true},
        {"long, once: the ring plays silence after the end", 40000, 0, false},
        {"long, looped through the ring", 40000, 1, true},
    };
    for (const Case& c : cases) {
        std::vector<std::int16_t> pcm = RampSamples(c.frames, 77);
        std::string name = WriteMusic("bgm02a.wav", WaveFile(AsBytes(pcm)));
        ASSERT_EQ(PlayMusic(1, name.c_str(), c.mode, 1), 1) << c.name;
        AwaitStep();
        std::vector<std::int16_t> out = Stream(25);
        std::vector<std::int16_t> silence(pcm.size() * 4, 0);
        std::vector<std::int16_t> expected =
            c.loops ? Joined({pcm}, 0, out.size() / 2) : Joined({pcm, silence}, 1, out.size() / 2);
        EXPECT_EQ(FirstDifference(out, expected), -1) << c.name;
        EXPECT_EQ(IsMusicPlaying(), 1) << c.name << ": the thread runs until stopped";
        Stop();
    }
}

TEST_F(MusicStreamTest, LoopFileProblems) {
    std::vector<std::int16_t> intro = RampSamples(20000, 5);
    struct Case {
        const char* name;
        std::vector<std::uint8_t> loopFile;  // empty: no loop file
        bool introRepeats;
    };
    const Case cases[] = {
        {"missing loop file: the intro loops", {}, true},
        {"loop file without data: the music ends", WaveFile({}), false},
    };
    for (const Case& c : cases) {
        std::remove((Dir().path() + "/music/bgm03b.wav").c_str());
        if (!c.loopFile.empty()) {
            WriteMusic("bgm03b.wav", c.loopFile);
        }
        std::string name = WriteMusic("bgm03a.wav", WaveFile(AsBytes(intro)));
        ASSERT_EQ(PlayMusic(2, name.c_str(), 2, 1), 1) << c.name;
        AwaitStep();
        std::vector<std::int16_t> out = Stream(20);
        std::vector<std::int16_t> silence(intro.size() * 10, 0);
        std::vector<std::int16_t> expected = c.introRepeats
                                                 ? Joined({intro}, 0, out.size() / 2)
                                                 : Joined({intro, silence}, 1, out.size() / 2);
        EXPECT_EQ(FirstDifference(out, expected), -1) << c.name;
        Stop();
    }
}

TEST_F(MusicStreamTest, ShortReadGivesSilenceNotStaleRingData) {
    // The header promises 200,000 bytes; the file holds 150,000.
    std::vector<std::int16_t> pcm = RampSamples(37500, 3);
    std::string name = WriteMusic("bgm04a.wav", WaveFile(AsBytes(pcm), 2, 44100, 16, 200000));
    ASSERT_EQ(PlayMusic(3, name.c_str(), 1, 1), 1);
    AwaitStep();
    std::vector<std::int16_t> out = Stream(30);
    std::vector<std::int16_t> gap(12500 * 2, 0);
    EXPECT_EQ(FirstDifference(out, Joined({pcm, gap}, 0, out.size() / 2)), -1);
    Stop();
}

TEST_F(MusicStreamTest, SameMusicInAnyCaseIsNotRestarted) {
    std::vector<std::int16_t> intro = RampSamples(25000, 1);
    std::vector<std::int16_t> loop = RampSamples(50000, 999);
    std::string name = WriteMusic("bgm05a.wav", WaveFile(AsBytes(intro)));
    WriteMusic("bgm05b.wav", WaveFile(AsBytes(loop)));
    ASSERT_EQ(PlayMusic(4, name.c_str(), 2, 1), 1);
    AwaitStep();
    std::vector<std::int16_t> first = Stream(10);
    std::string upper = name.substr(0, name.size() - 10) + "BGM05A.WAV";
    PlayMusic(4, upper.c_str(), 2, 1);  // the intro's name while the loop file streams
    std::vector<std::int16_t> second = Stream(10);
    first.insert(first.end(), second.begin(), second.end());
    EXPECT_EQ(FirstDifference(first, Joined({intro, loop}, 1, first.size() / 2)), -1);
    Stop();
}

TEST_F(MusicStreamTest, PauseKeepsThePositionAndThePositionQueryFollows) {
    std::vector<std::int16_t> pcm = RampSamples(60000, 11);
    std::string name = WriteMusic("bgm06a.wav", WaveFile(AsBytes(pcm)));
    ASSERT_EQ(PlayMusic(5, name.c_str(), 1, 1), 1);
    AwaitStep();
    std::vector<std::int16_t> before = Stream(5);
    EXPECT_EQ(GetMusicPosition(), 500u);
    PauseMusic(1);
    EXPECT_EQ(IsMusicPlaying(), 0);
    EXPECT_EQ(GetMusicPosition(), 0u);
    EXPECT_EQ(Stream(3)[0], 0);
    PauseMusic(0);
    std::vector<std::int16_t> after = Stream(5);
    before.insert(before.end(), after.begin(), after.end());
    EXPECT_EQ(FirstDifference(before, Joined({pcm}, 0, before.size() / 2)), -1);
    Stop();
}

TEST_F(MusicStreamTest, PlayingPausedWaitsForResume) {
    std::vector<std::int16_t> pcm = RampSamples(60000, 21);
    std::string name = WriteMusic("bgm07a.wav", WaveFile(AsBytes(pcm)));
    ASSERT_EQ(PlayMusic(6, name.c_str(), 1, 0), 1);
    AwaitStep();
    EXPECT_EQ(Stream(2), std::vector<std::int16_t>(4410 * 2 * 2, 0));
    PauseMusic(0);
    std::vector<std::int16_t> out = Stream(4);
    EXPECT_EQ(FirstDifference(out, Joined({pcm}, 0, out.size() / 2)), -1);
    Stop();
}

TEST_F(MusicStreamTest, VolumeReachesTheStream) {
    std::vector<std::int16_t> pcm(60000 * 2, 20000);
    std::string name = WriteMusic("bgm08a.wav", WaveFile(AsBytes(pcm)));
    SetMusicVolume(5000);
    ASSERT_EQ(PlayMusic(7, name.c_str(), 1, 1), 1);
    AwaitStep();
    std::vector<std::int16_t> out = Stream(1);
    EXPECT_NEAR(out[0], 20000 * std::pow(10.0, -2500 / 2000.0), 1.0);
    SetMusicVolume(0);
    EXPECT_EQ(Stream(1)[0], 0);
    Stop();
    EXPECT_EQ(GetMusicState().currentVolume.load(), 0u);
}

TEST_F(MusicStreamTest, StopOrNewPlayDuringStartUpIsNeverLost) {
    std::vector<std::int16_t> a = RampSamples(60000, 100);
    std::vector<std::int16_t> b = RampSamples(60000, 20000);
    std::string nameA = WriteMusic("bgm09a.wav", WaveFile(AsBytes(a)));
    std::string nameB = WriteMusic("bgm10a.wav", WaveFile(AsBytes(b)));
    for (int round = 0; round < 20; ++round) {
        WhileClockRuns([&] {
            PlayMusic(8, nameA.c_str(), 1, 1);
            StopMusic();
        });
        EXPECT_EQ(IsMusicPlaying(), 0) << round;
        EXPECT_FALSE(HasPcmMusicStream()) << round;
        EXPECT_EQ(gDirectSound->SoundCount(), 0u) << round;
        EXPECT_EQ(Mix(4410), kSilence) << round;
    }
    WhileClockRuns([&] {
        PlayMusic(8, nameA.c_str(), 1, 1);
        PlayMusic(9, nameB.c_str(), 1, 1);
    });
    AwaitStep();
    std::vector<std::int16_t> out = Stream(3);
    EXPECT_EQ(FirstDifference(out, Joined({b}, 0, out.size() / 2)), -1);
    EXPECT_EQ(gDirectSound->SoundCount(), 1u);
    Stop();
}

TEST_F(MusicStreamTest, UnplayableMusicEndsQuietly) {
    std::string missing = std::string(GetProgramDir()) + "music\\bgm99a.wav";
    std::string mp3 = WriteMusic("bgm98a.wav", {0xFF, 0xFB, 0x90, 0x44, 0, 0, 0, 0});
    for (const std::string& name : {missing, mp3}) {
        WhileClockRuns([&] { PlayMusic(0, name.c_str(), 1, 1); });
        WhileClockRuns([] { StopPcmMusicStream(); });
        EXPECT_EQ(IsMusicPlaying(), 0);
        EXPECT_EQ(gDirectSound->SoundCount(), 0u);
    }
}

TEST_F(MusicStreamTest, SoundDeviceShutdownStopsTheStreamFirst) {
    std::vector<std::int16_t> pcm = RampSamples(60000, 1);
    std::string name = WriteMusic("bgm11a.wav", WaveFile(AsBytes(pcm)));
    ASSERT_EQ(PlayMusic(0, name.c_str(), 1, 1), 1);
    AwaitStep();
    WhileClockRuns([] { DestroyDirectSound(); });
    EXPECT_FALSE(HasPcmMusicStream());
    EXPECT_EQ(IsMusicPlaying(), 0);
}

}  // namespace
}  // namespace qvn::test
