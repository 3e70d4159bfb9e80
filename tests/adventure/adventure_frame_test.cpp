// The adventure frame's own rules: frame milliseconds, the held-key repeat of backlog paging,
// the window-message hook, the end of a movie and the label hook.

#include <vector>

#include "adventure/adventure_frame.h"
#include "adventure/message_window.h"
#include "adventure/variable_editor.h"
#include "adventure_fixture.h"
#include "foundation/app_settings.h"
#include "platform/win32/message_api.h"
#include "platform/win32/message_keys.h"
#include "shell/cursor.h"
#include "shell/frame_control.h"

namespace adventure_tests {
namespace {

class AdventureFrameTest : public AdventureTest {};

TEST_F(AdventureFrameTest, FrameMillisecondsCountAtLeastOneForAnyTime) {
    struct Case {
        double seconds;
        std::uint32_t ms;
    };
    const Case cases[] = {{0.0004, 1}, {0.0, 0}, {-0.5, 0}, {0.0166, 16}, {1.0 / 15.0, 66}};
    for (const Case& c : cases) {
        EXPECT_EQ(FrameMilliseconds(c.seconds), c.ms) << c.seconds;
    }
}

TEST_F(AdventureFrameTest, HeldBacklogKeyStepsAfterTheDelayThenAtTheInterval) {
    // Repeat delay 0.25 s, interval 0.0625 s (the fixture's); frames of 0.0625 s.
    struct Step {
        Input input;
        int direction;
    };
    const Input up{{200}};
    const Input pageDown{{209}};
    const std::vector<Step> steps = {
        {up, -1},
        {up, 0},
        {up, 0},
        {up, 0},
        {up, -1},
        {up, -1},
        {up, -1},
        // Released: no direction, and the hold is over.
        {{}, 0},
        {{}, 0},
        // Page down: a fresh hold.
        {pageDown, 1},
        // Let go within the repeat delay: the hold is over, and the next press steps at once.
        {{}, 0},
        {pageDown, 1},
        // The wheel waits while a held key's timer runs; with no key held it steps every poll.
        {{{209}, {}, {}, 120}, 0},
        {{{}, {}, {}, 120}, -1},
        {{{}, {}, {}, -120}, 1},
        // The pad's Y axis against 9/10 of its range (1000).
        {{{}, {}, {}, 0, -900}, -1},
        {{}, 0},
        {{}, 0},
        {{}, 0},
        {{}, 0},
        {{{}, {}, {}, 0, 899}, 0},
        {{{}, {}, {}, 0, 900}, 1},
        {{}, 0},
        {{{}, {}, {}, 0, 900}, 1},
    };
    int index = 0;
    for (const Step& step : steps) {
        Poll(step.input);
        EXPECT_EQ(ReadBacklogDirection(0.0625), step.direction) << "step " << index;
        ++index;
    }

    // A step in auto mode ends it.
    AutoMode = 1;
    FastForwardMode = 1;
    PendingDelayMs = 300;
    KeyRepeatTimer = 0.0;
    Poll({{201}});
    EXPECT_EQ(ReadBacklogDirection(0.0625), -1);
    EXPECT_EQ(AutoMode, 0);
    EXPECT_EQ(FastForwardMode, 0);
    EXPECT_EQ(PendingDelayMs, 0u);
}

TEST_F(AdventureFrameTest, MessageHookTakesKeysButtonsAndMovesOnly) {
    struct Case {
        const char* name;
        UINT message;
        WPARAM wParam;
        LRESULT result;
    };
    const Case cases[] = {
        {"the Pause key is taken too", WM_KEYDOWN, VK_PAUSE, 0},
        {"a right button", WM_RBUTTONDOWN, 0, 0},
        {"a pointer move", WM_MOUSEMOVE, 0, 0},
        {"a key release passes on", WM_KEYUP, VK_RETURN, 1},
        {"a character passes on", WM_CHAR, 'a', 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AdventureOnMessage(nullptr, c.message, c.wParam, 0), c.result) << c.name;
    }
    SetCursorShape(0);
    AdventureOnMessage(nullptr, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(GetWantedCursorShape(), 1) << "no cross-fade, no movie: the busy pointer";
}

TEST_F(AdventureFrameTest, EveryEndOfAMovieLeavesDialogMode) {
    struct Case {
        int reason;
        int pauseAfter;
    };
    // The end, a user abort, an error abort; any other event leaves the movie playing.
    const Case cases[] = {{1, 0}, {2, 0}, {3, 0}, {4, 1}, {0, 1}};
    for (const Case& c : cases) {
        SetDialogMode(1);
        EXPECT_EQ(EndMovie(c.reason), 0) << c.reason;
        EXPECT_EQ(PauseFlag, c.pauseAfter) << c.reason;
        EXPECT_EQ(DialogModeFlag, c.pauseAfter) << c.reason;
    }
    SetDialogMode(0);
}

TEST_F(AdventureFrameTest, LabelFoundEndsTheSpeaker) {
    for (const std::uint32_t position : {12u, 0xFFFFFFFFu}) {
        SpeakerName[0] = 'A';
        SpeakerName[1] = '\0';
        EXPECT_EQ(OnLabelFound("top", position), position != 0xFFFFFFFFu);
        EXPECT_EQ(SpeakerName[0], '\0');
    }
}

}  // namespace
}  // namespace adventure_tests
