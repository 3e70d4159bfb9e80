#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "shell/cursor.h"
#include "shell/frame_control.h"
#include "shell/program.h"

namespace {

class FrameTimingTest : public ::testing::Test {
protected:
    void SetUp() override { ResetFrameControl(); }
    void TearDown() override { ResetFrameControl(); }
};

TEST_F(FrameTimingTest, MeasuredTimeIsClampedAndRestartsAfterInactiveOrPausedSpells) {
    struct Step {
        const char* name;
        double now;
        int active;
        int paused;
        double expected;
    };
    const Step steps[] = {
        {"first frame", 10.0, 1, 0, kMinFrameTime},
        {"normal frame", 10.016, 1, 0, 0.016},
        {"tiny frame", 10.0161, 1, 0, kMinFrameTime},
        {"stall of 0.5 s", 10.5161, 1, 0, kMaxFrameTime},
        {"5 s inactive", 15.5161, 0, 0, kMinFrameTime},
        {"first frame back", 15.5331, 1, 0, 0.017},
        {"paused", 17.0, 1, 1, kMinFrameTime},
        {"after the pause", 17.02, 1, 0, 0.02},
    };
    for (const Step& step : steps) {
        AppActiveFlag = step.active;
        PauseFlag = step.paused;
        EXPECT_NEAR(MeasureFrameTime(step.now), step.expected, 1e-9) << step.name;
    }
}

TEST_F(FrameTimingTest, AdvanceIsZeroWhilePausedInDialogOrRedrawAndASingleStepIsOneTwentyFourth) {
    EXPECT_DOUBLE_EQ(AdvanceTime(0.02, 1), 0.02);
    EXPECT_DOUBLE_EQ(AdvanceTime(0.02, 0), 0.0) << "redraw";
    DialogModeFlag = 1;
    EXPECT_DOUBLE_EQ(AdvanceTime(0.02, 1), 0.0) << "dialog";
    DialogModeFlag = 0;
    PauseFlag = 1;
    EXPECT_DOUBLE_EQ(AdvanceTime(0.02, 1), 0.0) << "paused";

    // Pause, then Space: the window procedure clears the pause and asks for one step.
    PauseFlag = 0;
    SingleStepFlag = 1;
    EXPECT_DOUBLE_EQ(AdvanceTime(kMinFrameTime, 1), 1.0 / 24.0);
    EXPECT_EQ(PauseFlag, 1) << "the step pauses again";
    EXPECT_EQ(SpriteStepMilliseconds(AdvanceTime(kMinFrameTime, 1)), 41u);
}

TEST_F(FrameTimingTest, SpriteStepMillisecondsAreWholeAndAtLeastOneWhenTimeRuns) {
    struct Case {
        double seconds;
        unsigned expected;
    };
    for (const Case& c : {Case{0.0, 0}, Case{0.0004, 1}, Case{0.001, 1}, Case{0.0169, 16},
                          Case{kMaxFrameTime, 66}}) {
        EXPECT_EQ(SpriteStepMilliseconds(c.seconds), c.expected) << c.seconds;
    }
}

TEST_F(FrameTimingTest, FramesAreCountedOverPeriodsLongerThanOneSecond) {
    // 69 frames within the first second, then one 1.2 s after the period began.
    for (int i = 0; i < 69; ++i) {
        CountFrame(1.0 + i / 69.0);
    }
    EXPECT_EQ(FrameClockState.framesInLastPeriod, 1) << "no period has finished yet";
    CountFrame(2.2);
    EXPECT_EQ(FrameClockState.framesInLastPeriod, 70);
    EXPECT_NEAR(FrameClockState.fpsPeriodLength, 1.2, 1e-9);
    EXPECT_EQ(FrameClockState.framesInPeriod, 1);
}

TEST_F(FrameTimingTest, FpsLineCountsAShortPeriodAsOneSecond) {
    char line[256];
    FormatFpsLine(line, sizeof line, 30, 0.5);
    EXPECT_EQ(std::string(line).substr(0, std::strlen("FPS=30.00\n")), "FPS=30.00\n");
    FormatFpsLine(line, sizeof line, 70, 1.2);
    EXPECT_EQ(std::string(line).substr(0, std::strlen("FPS=58.33\n")), "FPS=58.33\n");
}

TEST(MessageFontScaleTest, SmallerRatioWinsAndIsTruncated) {
    struct Case {
        unsigned width;
        unsigned height;
        int expected;
    };
    for (const Case& c :
         {Case{800, 600, 20}, Case{1024, 768, 25}, Case{640, 480, 16}, Case{1280, 720, 24}}) {
        EXPECT_EQ(ComputeMessageFontScale(c.width, c.height), c.expected)
            << c.width << "x" << c.height;
    }
}

}  // namespace
