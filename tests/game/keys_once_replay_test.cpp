// One key, one action, in the running demo: an Enter held through a message box or taken by
// Alt+Enter leaves the square's choice open; quick presses of Page Up page back through the
// backlog, a frame that only redraws takes no click a second time, and quick pushes of the stick
// step on the title screen, once each, as slow ones do.

#include <string>

#include <gtest/gtest.h>

#include "adventure/message_backlog.h"
#include "platform/win32/message_box.h"
#include "platform/win32/shell_test_hooks.h"
#include "platform/winbase/code_page.h"
#include "replay_harness.h"

namespace {

using qvn::test::ReplayCapture;
using qvn::test::ReplayHarness;

// A start script that plays one of the demo's scripts from its top.
std::string StartAt(const std::string& script) {
    return "*top\n*restart\n    callfile \"" + script + "\" \"top\"\n    return\n";
}

// Plays the demo over the timelines (from `script`, or from its title screen when empty) and
// answers the capture `name`.
ReplayCapture Play(ReplayHarness& game, const std::string& script, const char* timeline,
                   const char* name) {
    qvn::test::CopyDemoGame(game.dir());
    if (!script.empty()) {
        game.WriteScript("start", StartAt(script));
    }
    game.SetHashEveryFrame(false);
    game.LoadTimeline(timeline);
    EXPECT_EQ(game.Run(), 0) << timeline;
    EXPECT_TRUE(game.problems().empty()) << timeline;
    const ReplayCapture* capture = game.FindCapture(name);
    EXPECT_TRUE(capture != nullptr && capture->drawn) << timeline << ": " << name;
    return capture != nullptr ? *capture : ReplayCapture{};
}

int CountLines(const ReplayHarness& game, const std::string& text) {
    int count = 0;
    for (const std::string& line : game.LogLines()) {
        count += line.find(text) != std::string::npos ? 1 : 0;
    }
    return count;
}

TEST(KeysOnceReplayTest, EnterThatABoxOrAltEnterTookLeavesTheChoiceOpen) {
    ReplayHarness reference;
    reference.SetSetting("Fullscreen", 0);
    const ReplayCapture untouched = Play(reference, "choices", "square_choice_reference", "square");
    win32_test::TakeShownMessageBoxes();

    ReplayHarness game;
    game.SetSetting("Fullscreen", 0);
    const ReplayCapture square = Play(game, "choices", "square_choice_keys", "square");
    const std::vector<win32_test::ShownMessageBox> boxes = win32_test::TakeShownMessageBoxes();
    ASSERT_EQ(boxes.size(), 2u) << "the save's report and the close question of the end";
    EXPECT_EQ(boxes[0].text, Utf8ToCp932("ゲームデータをハードディスクに保存しました。"));
    EXPECT_EQ(boxes[0].answer, IDOK);
    EXPECT_FALSE(game.dir().readFile("save/save03.dat").empty());
    EXPECT_EQ(CountLines(game, "Changed fullscreen mode"), 1);
    EXPECT_EQ(CountLines(game, "Changed windowed mode"), 2) << "at the start and back";
    EXPECT_EQ(square.hash, untouched.hash) << "the choice waits as it did";
}

// What two plays of the first chapter show: a value read at `tick` and the frame `capture`.
struct TwoPlays {
    std::size_t value[2] = {};
    std::uint64_t hash[2] = {};
};

TwoPlays PlayChapter1Twice(const char* first, const char* second, const char* capture, int tick,
                           std::size_t (*read)()) {
    TwoPlays plays;
    const char* const timelines[] = {first, second};
    for (int i = 0; i < 2; ++i) {
        ReplayHarness game;
        game.AddAction(tick, [&plays, i, read] { plays.value[i] = read(); });
        plays.hash[i] = Play(game, "chapter1", timelines[i], capture).hash;
    }
    return plays;
}

TEST(KeysOnceReplayTest, QuickPressesOfPageUpStepTheBacklogOnceEach) {
    const TwoPlays plays = PlayChapter1Twice("backlog_quick_presses", "backlog_slow_presses",
                                             "four_back", 240, MessageBacklog::Cursor);
    EXPECT_EQ(plays.value[1], 4u)
        << "four entries back: the first step shows the current page's own";
    EXPECT_EQ(plays.value[0], plays.value[1]);
    EXPECT_EQ(plays.hash[0], plays.hash[1]);
}

TEST(KeysOnceReplayTest, AClickIsTakenOnceWhenTheMenuBarRedrawsRightAfterIt) {
    const TwoPlays plays = PlayChapter1Twice("click_then_menu_bar", "click_then_menu_bar_later",
                                             "one_page_on", 119, MessageBacklog::Size);
    EXPECT_EQ(plays.value[0], plays.value[1]) << "the redraw of the menu bar turned no page";
    EXPECT_EQ(plays.hash[0], plays.hash[1]);
}

TEST(KeysOnceReplayTest, QuickPushesOfTheStickStepOnceEachOnTheTitle) {
    ReplayHarness game;
    const std::uint64_t quick = Play(game, "", "title_stick_pushes", "quick_pushes").hash;
    const ReplayCapture* three = game.FindCapture("three_pushes");
    const ReplayCapture* slow = game.FindCapture("slow_pushes");
    ASSERT_TRUE(three != nullptr && slow != nullptr);
    EXPECT_NE(three->hash, slow->hash) << "the fourth push moves on";
    EXPECT_EQ(quick, slow->hash);
}

}  // namespace
