// The game window's menu bar in a running game: attached in a window, absent in full screen
// until the pointer rests on the top row, and opened through the menu loop as a presentation
// would open it.

#include <gtest/gtest.h>

#include "platform/win32/menu_api.h"
#include "platform/win32/menu_loop.h"
#include "platform/win32/message_box.h"
#include "platform/win32/message_keys.h"
#include "platform/win32/shell_test_hooks.h"
#include "replay_harness.h"
#include "shell/frame_control.h"
#include "shell/game_window.h"
#include "shell/shell_texts.h"

namespace {

using qvn::test::ReplayEvent;
using qvn::test::ReplayHarness;
using Kind = ReplayEvent::Kind;

void PrepareGame(ReplayHarness& game, DWORD fullScreen) {
    game.PrepareGame(qvn::test::kReplayEndlessStart, fullScreen);
}

TEST(MenuReplayTest, ExitItemOfTheFileMenuAsksTheCloseQuestion) {
    ReplayHarness game;
    PrepareGame(game, 0);
    bool attached = false;
    bool chosen = false;
    game.AddAction(5, [&] { attached = MainMenu != nullptr && GetMenu(MainWindow) == MainMenu; });
    game.AddAction(10, [&] {
        win32_test::QueueMessageBoxAnswer(IDYES);
        chosen = Win32ChooseMenuCommand(MainWindow, 0, 40001) != FALSE;
    });
    EXPECT_EQ(game.Run(), 0);
    EXPECT_TRUE(attached) << "windowed: the menu bar is attached";
    EXPECT_TRUE(chosen);
    EXPECT_FALSE(game.closedByHarness()) << "the exit item closed the game";
    EXPECT_LT(game.ticks(), 20);
    const auto boxes = win32_test::TakeShownMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kCloseQuestionText);
    EXPECT_EQ(boxes[0].style, 0x144u);
}

TEST(MenuReplayTest, MenuLoopPausesTheGameAndGreyedItemsCannotBeChosen) {
    ReplayHarness game;
    PrepareGame(game, 0);
    bool chosen = true;
    int pauseAfterLoop = -1;
    game.AddAction(10, [&] {
        TitleReturnEnabled = 0;
        chosen = Win32ChooseMenuCommand(MainWindow, 0, 40012) != FALSE;
        pauseAfterLoop = PauseFlag;
    });
    game.Add({20, Kind::Close, IDYES});
    game.Run();
    EXPECT_FALSE(chosen) << "return to title is greyed as the popup opens";
    EXPECT_EQ(pauseAfterLoop, 0) << "leaving the menu loop ends its pause";
    EXPECT_GT(game.FramesBetween(11, 19), 0);
    EXPECT_EQ(win32_test::TakeShownMessageBoxes().size(), 1u) << "only the close question";
}

TEST(MenuReplayTest, FullScreenShowsTheBarOnlyWhileThePointerIsOnTheTopRow) {
    ReplayHarness game;
    PrepareGame(game, 1);
    struct Seen {
        bool menu;
        int dialogMode;
    };
    std::vector<Seen> seen;
    const auto look = [&] { seen.push_back({GetMenu(MainWindow) != nullptr, DialogModeFlag}); };
    game.AddAction(5, look);
    game.Add({10, Kind::MouseMove, 200, 0});
    game.AddAction(11, look);  // the bar pauses the game: the timeline skips to tick 15
    game.Add({15, Kind::MouseMove, 200, 300});
    game.AddAction(17, look);
    game.Add({20, Kind::Key, static_cast<int>(VK_MENU), 1});
    game.Add({20, Kind::Key, static_cast<int>(VK_RETURN), 1});
    game.Add({21, Kind::Key, static_cast<int>(VK_RETURN), 0});
    game.Add({21, Kind::Key, static_cast<int>(VK_MENU), 0});
    game.AddAction(25, look);
    game.Add({30, Kind::Close, IDYES});
    game.Run();
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_FALSE(seen[0].menu) << "full screen starts without the bar";
    EXPECT_TRUE(seen[1].menu) << "the pointer on the top row shows it";
    EXPECT_EQ(seen[1].dialogMode, 1) << "time stops while the bar shows";
    EXPECT_FALSE(seen[2].menu) << "moving away hides it";
    EXPECT_EQ(seen[2].dialogMode, 0);
    EXPECT_TRUE(seen[3].menu) << "back in a window the bar is attached";
}

}  // namespace
