// The page flow of the running game over tests/fixtures/replay/page_flow.timeline: which page
// the script has reached, and whether the window shows, after the frames that matter.

#include <map>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "adventure/message_window.h"
#include "replay_harness.h"
#include "script/script_variables.h"

namespace {

using qvn::test::ReplayHarness;

// Variable 15 counts the pages passed. Page 9 forbids skipping; pages 10 and 11 run in auto
// mode; after page 11 the background fades in for a second, held by built-in 28.
constexpr const char* kPages = R"(
*top
    invoke 1 "案内人"
    text "一"
    invoke 2
    set g15 1
    text "二"
    invoke 2
    set g15 2
    text "三"
    invoke 2
    set g15 3
    text "四"
    invoke 2
    set g15 4
    text "五"
    invoke 2
    set g15 5
    text "六"
    invoke 2
    set g15 6
    text "七"
    invoke 2
    set g15 7
    text "八"
    invoke 2
    set g15 8
    invoke 0 8 4 1
    text "九"
    invoke 2
    set g15 9
    invoke 0 8 4 0
    invoke 0 8 3 1
    text "十"
    invoke 2
    set g15 10
    text "十一"
    invoke 2
    set g15 11
    invoke 13 0 0 0
    invoke 27 5 0
    invoke 27 0 10
    call 28 0
    pop
    set g15 12
    text "十二"
    invoke 2
    set g15 13
    text "十三"
    invoke 2
    set g15 14
    text "十四"
    invoke 2
    set g15 15
    return
)";

struct State {
    int pages;
    int shown;
    bool operator==(const State&) const = default;
};

std::ostream& operator<<(std::ostream& out, const State& state) {
    return out << "pages " << state.pages << ", window " << state.shown;
}

TEST(PageFlowReplayTest, PlayerTurnsSkipsAndAutoPlaysPagesThroughTheRunningGame) {
    ReplayHarness game;
    game.PrepareGame(kPages);
    game.SetSetting("MsgSkipUnseen", 1);
    game.SetSetting("MsgAutoInterval", 0);
    game.LoadTimeline("page_flow");
    // The state after the frame of each tick, read at the start of the next.
    std::map<int, State> after;
    for (int tick = 2; tick < 250; ++tick) {
        game.AddAction(tick, [&after, tick] {
            if (ScriptVariables.size() > 15) {
                after[tick - 1] = State{static_cast<int>(GetVar(15)), MessageWindowShown};
            }
        });
    }
    game.Run();

    const std::pair<int, State> expected[] = {
        {1, {0, 1}},     // page 1 shows at once
        {5, {1, 1}},     // a click
        {10, {2, 1}},    // Enter
        {15, {3, 1}},    // the pad's advance button
        {20, {3, 1}},    // the wheel shows the page before in the backlog
        {21, {3, 1}},    // and the current page again: it turns no page
        {25, {3, 0}},    // Space hides the window
        {30, {3, 1}},    // the next click only shows it
        {35, {4, 1}},    // and the one after turns the page
        {40, {5, 1}},    // Ctrl: a page in the frame of its press
        {42, {7, 1}},    // and one every frame
        {50, {8, 1}},    // until page 9, which forbids skipping, Ctrl still held
        {55, {9, 1}},    // a click; auto mode from page 10 on
        {148, {9, 1}},   // 1,000 ms + 50 per byte of the speaker and the text: 1,500 ms
        {149, {10, 1}},  // at 16 ms a frame
        {159, {10, 1}},  // page 11 waits in auto mode
        {160, {11, 0}},  // a click turns it and ends auto mode; the fade holds the script
        {220, {11, 0}},  // clicks in the fade change nothing
        {221, {12, 1}},  // page 12 waits for the player
        {239, {12, 1}}, {240, {13, 1}},  // the fast-forward button: a page a frame
        {241, {14, 1}},
    };
    for (const auto& [tick, state] : expected) {
        EXPECT_EQ(after[tick], state) << "after the frame of tick " << tick;
    }
    EXPECT_FALSE(game.closedByHarness()) << "the script returned and the game ended";
    EXPECT_EQ(game.ticks(), 242) << "the last page passed, the script returned";
}

}  // namespace
