#include <gtest/gtest.h>

#include "music_test_support.h"

namespace qvn::test {
namespace {

using MusicWindowTest = MusicTest;

TEST(MusicVolumeScaleTest, PercentThenFiftiethsOfADecibel) {
    struct Case {
        DWORD volume;
        LONG decibels;
    };
    const Case cases[] = {{0, -10000},   {50, -10000}, {100, -4950},
                          {5000, -2500}, {10000, 0},   {20000, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(MusicVolumeToDecibels(c.volume), c.decibels) << c.volume;
    }
}

TEST(MusicLoopNameTest, CharacterBeforeTheLastDotGoesUpByOne) {
    char name[] = "C:\\game\\music\\bgm05a.wav";
    MakeLoopFileName(name);
    EXPECT_STREQ(name, "C:\\game\\music\\bgm05b.wav");
    char noDot[] = "bgm05a";
    MakeLoopFileName(noDot);
    EXPECT_STREQ(noDot, "bgm05a");
    char leadingDot[] = ".wav";
    MakeLoopFileName(leadingDot);
    EXPECT_STREQ(leadingDot, ".wav");
}

TEST_F(MusicWindowTest, WindowIsHiddenReadyAndAtFullVolume) {
    MusicState& state = GetMusicState();
    ASSERT_NE(state.window, nullptr);
    EXPECT_EQ(GetParent(state.window), GameWindow());
    EXPECT_FALSE(IsWindowVisible(state.window));
    EXPECT_EQ(IsMusicReady(), 1);
    EXPECT_EQ(state.currentVolume.load(), 10000u);
    EXPECT_EQ(GetMusicPosition(), 0u);
}

TEST_F(MusicWindowTest, FadesStepEvery50Milliseconds) {
    MusicState& state = GetMusicState();
    const FadeCase cases[] = {
        {"down to silence", 10000, 500, 0, {{1, 9000, 1}, {4, 5000, 1}, {5, 0, 0}}},
        {"down stops at its target",
         10000,
         1000,
         3000,
         {{1, 9650, 1}, {18, 3350, 1}, {1, 3000, 0}}},
        {"up with truncated steps",
         1000,
         150,
         2000,
         {{1, 1333, 1}, {1, 1666, 1}, {1, 1999, 1}, {1, 2000, 0}}},
        {"no time: one step", 8000, 0, 500, {{1, 500, 0}}},
        {"a step of 0 waits for a stop", 4000, 50, 4000, {{3, 4000, 1}}},
    };
    for (const FadeCase& c : cases) {
        SetMusicVolume(c.from);
        FadeMusic(c.milliseconds, c.target);
        EXPECT_EQ(IsMusicFading(), c.from != c.target ? 1 : 0) << c.name;
        for (const FadeStep& step : c.steps) {
            RunTimers(step.ticks, 50);
            EXPECT_EQ(state.currentVolume.load(), step.volume) << c.name;
            if (c.target != c.from) {
                EXPECT_EQ(IsMusicFading(), step.fading) << c.name;
            }
        }
        StopMusic();
        EXPECT_EQ(IsMusicFading(), 0) << c.name;
        EXPECT_EQ(state.currentVolume.load(), c.target) << c.name << ": stop restores the target";
    }
}

TEST(MusicWindowCreationTest, PcmNeedsASoundDeviceAndTheDeviceAKnownPlayer) {
    EXPECT_EQ(CreateMusicWindow(nullptr, 1), 0) << "no sound device";
    EXPECT_EQ(CreateMusicWindow(nullptr, 7), 0);
    EXPECT_EQ(PlayMusic(0, "x", 1, 1), 0);
    EXPECT_EQ(IsMusicReady(), 0);
}

}  // namespace
}  // namespace qvn::test
