// Scripts that never yield or that call themselves without end, in a running game: the game
// goes on drawing frames and answering its window, each fault writes one line, and the close
// question ends the game as usual. A script that pushes without end is stopped at the operand
// bound and ends the game as a script error does.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win32/message_box.h"
#include "platform/win32/message_keys.h"
#include "platform/win32/shell_test_hooks.h"
#include "replay_harness.h"
#include "script/call_stack.h"
#include "script/interpreter.h"
#include "shell/cursor.h"
#include "shell/program.h"
#include "shell/shell_texts.h"

namespace {

using qvn::test::ReplayEvent;
using qvn::test::ReplayHarness;
using Kind = ReplayEvent::Kind;

int CountLines(const std::vector<std::string>& lines, const std::string& part) {
    int count = 0;
    for (const std::string& line : lines) {
        count += line.find(part) != std::string::npos ? 1 : 0;
    }
    return count;
}

// A start script that loops for ever without a wait: every frame's run stops at the instruction
// limit, and the frames between show that messages (Shift+I, the close) are still answered.
TEST(RunawayScriptTest, ALoopThatNeverWaitsKeepsTheGameAnswering) {
    ReplayHarness game;
    game.PrepareGame(R"(
*top
@spin
    jump @spin
)");
    game.Add({3, Kind::Key, static_cast<int>(VK_SHIFT), 1});
    game.Add({3, Kind::Key, 'I', 1});
    game.Add({4, Kind::Key, 'I', 0});
    game.Add({4, Kind::Key, static_cast<int>(VK_SHIFT), 0});
    game.Add({8, Kind::Close, IDYES});
    EXPECT_EQ(game.Run(), 0);

    EXPECT_FALSE(game.closedByHarness()) << "the close question was answered";
    EXPECT_EQ(game.FramesBetween(2, 2), 1);
    EXPECT_EQ(game.FramesBetween(5, 7), 3) << "a frame in every tick without input";
    EXPECT_NE(game.HashAt(6), game.HashAt(2)) << "Shift+I was taken: the FPS line shows";
    EXPECT_EQ(game.HashAt(6), game.HashAt(7));
    const auto boxes = win32_test::TakeShownMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kCloseQuestionText);
    const std::vector<std::string> log = game.LogLines();
    EXPECT_EQ(CountLines(log,
                         "scrMain:error: RunScripts: no yield after 10000000 instructions; "
                         "the frame's run ends here."),
              1)
        << "one line, not one per frame";
    EXPECT_EQ(CountLines(log, "start.scr\""), 1) << "the line names the script";
}

// A start script that calls itself before it waits: the call that would go past the limit is
// refused with one line, and the deepest frame goes on to its wait. A second run in the same
// process writes its own line.
TEST(RunawayScriptTest, ASelfCallingScriptStopsAtTheDepthLimit) {
    for (int run = 0; run < 2; ++run) {
        ReplayHarness game;
        game.PrepareGame(R"(
*top
    callfile "" "top"
@wait
    call 99 0
    pop
    jump @wait
)");
        std::size_t depth = 0;
        game.AddAction(5, [&] { depth = ScriptCallStack.size(); });
        game.Add({10, Kind::Close, IDYES});
        EXPECT_EQ(game.Run(), 0);

        EXPECT_EQ(depth, kMaxScriptCallDepth) << "run " << run;
        EXPECT_FALSE(game.closedByHarness()) << "run " << run;
        EXPECT_GT(game.FramesBetween(2, 9), 6) << "run " << run;
        const std::vector<std::string> log = game.LogLines();
        EXPECT_EQ(CountLines(log, "scrMain:error: RunCode: call stack full. (1024 frames)"), 1)
            << "run " << run;
        EXPECT_EQ(CountLines(log, "function: error. no(99)"), game.FramesBetween(1, 10))
            << "one wait per frame, in the deepest frame";
    }
}

// The game's memory stays bounded: the start script's frame ends at the bound with one line
// naming it, and with no frame left the game ends with the failure status.
TEST(RunawayScriptTest, AScriptThatPushesWithoutEndEndsTheGame) {
    ReplayHarness game;
    game.PrepareGame(R"(
*top
@again
    push 1
    jump @again
)");
    game.Add({600, Kind::Close, IDYES});
    EXPECT_EQ(game.Run(), kExitStartFailed);

    EXPECT_FALSE(game.closedByHarness()) << "the script's end ended the game";
    const std::vector<std::string> log = game.LogLines();
    EXPECT_EQ(CountLines(log, "scrMain:error: "), 1) << game.Log();
    EXPECT_EQ(CountLines(log, "scrMain:error: RunCode: operand stack full. (262144 operands)"), 1);
    EXPECT_EQ(CountLines(log, "start.scr\""), 1) << "the line names the script";
    EXPECT_EQ(CountLines(log, "script: the last script ended after the error above."), 1);
}

}  // namespace
