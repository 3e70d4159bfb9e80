// Timeline input in a running game: each kind reaches both the window messages (the key state
// follows the messages taken from the queue) and DirectInput, and the frame of the input's own
// tick already polls it.

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/app_settings.h"
#include "media/input/di_application.h"
#include "platform/dinput/dik_codes.h"
#include "platform/dinput/test_input_backend.h"
#include "platform/win32/cursor_api.h"
#include "platform/win32/message_keys.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_placement.h"
#include "replay_harness.h"
#include "shell/game_window.h"

namespace {

using qvn::test::ReplayEvent;
using qvn::test::ReplayHarness;

TEST(ReplayInputTest, EachKindReachesTheWindowAndDirectInputInItsOwnTick) {
    ReplayHarness game;
    game.PrepareGame(qvn::test::kReplayEndlessStart);
    game.LoadTimeline("input");
    struct Check {
        int tick;  // the check runs before this tick's input, after the previous tick's frame
        const char* name;
        std::function<bool()> holds;
    };
    const auto down = [](int key) { return GetKeyState(key) < 0; };
    const auto cursorAt = [](LONG x, LONG y) {
        POINT at{};
        return GetCursorPos(&at) && ScreenToClient(MainWindow, &at) && at.x == x && at.y == y;
    };
    const Check checks[] = {
        {3, "a pad is attached", [] { return gDIApplication->pad != nullptr; }},
        {11, "left press",
         [&] {
             return gDIApplication->IsMouseButtonPressed(0) && down(VK_LBUTTON) &&
                    cursorAt(400, 300);
         }},
        {12, "left release",
         [&] { return !gDIApplication->IsMouseButtonDown(0) && !down(VK_LBUTTON); }},
        {21, "right press",
         [&] {
             return gDIApplication->IsMouseButtonPressed(1) &&
                    !gDIApplication->IsMouseButtonDown(0) && down(VK_RBUTTON) && cursorAt(200, 150);
         }},
        {31, "Enter press",
         [&] { return gDIApplication->IsKeyPressed(DIK_RETURN) && down(VK_RETURN); }},
        {32, "Enter release",
         [&] { return !gDIApplication->IsKeyDown(DIK_RETURN) && !down(VK_RETURN); }},
        {41, "right Ctrl",
         [&] {
             return gDIApplication->IsKeyDown(DIK_RCONTROL) &&
                    !gDIApplication->IsKeyDown(DIK_LCONTROL) && down(VK_RCONTROL) &&
                    !down(VK_LCONTROL);
         }},
        {51, "wheel",
         [] {
             DIMOUSESTATE2 mouse{};
             gDIApplication->GetMouseState(&mouse);
             return mouse.lZ == 2 * WHEEL_DELTA;
         }},
        {61, "pad button 3 press", [] { return gDIApplication->IsPadButtonPressed(3); }},
        {62, "pad button 3 release", [] { return !gDIApplication->IsPadButtonPressed(3); }},
        {66, "the stick, in the pad's range",
         [] { return gDIApplication->padState.lX == -1000 && gDIApplication->padState.lY == 500; }},
    };
    std::vector<std::string> failed;
    for (const Check& check : checks) {
        game.AddAction(check.tick, [&] {
            if (!check.holds()) {
                failed.push_back(check.name);
            }
        });
    }
    EXPECT_EQ(game.Run(), 0);
    EXPECT_EQ(failed, std::vector<std::string>{});
    EXPECT_TRUE(game.closedByHarness()) << "the timeline's end closes the window";
    EXPECT_FALSE(game.reachedTickLimit());
    EXPECT_EQ(game.ticks(), 70);
    EXPECT_EQ(ReadSafetyQuit(), 0u);
}

// A test that installs DirectInput's test backend of its own before the run (to drive it by
// hand as well) gets the timeline's input there, where the program's devices read it.
TEST(ReplayInputTest, TestBackendInstalledBeforeTheRunGetsTheTimelineInput) {
    ReplayHarness game;
    game.PrepareGame(qvn::test::kReplayEndlessStart);
    dinput_test::TestInputBackend& own = dinput_test::UseTestInputBackend();
    game.Add({10, ReplayEvent::Kind::Key, static_cast<int>(VK_RETURN), 1});
    game.Add({10, ReplayEvent::Kind::PadButton, 0, 1});
    game.Add({20, ReplayEvent::Kind::End});
    bool pressed = false;
    bool heldThere = false;
    game.AddAction(11, [&] {
        pressed = gDIApplication->IsKeyPressed(DIK_RETURN);
        heldThere = own.State()->Keys()[DIK_RETURN] == 0x80;
    });
    EXPECT_EQ(game.Run(), 0);
    EXPECT_TRUE(pressed);
    EXPECT_TRUE(heldThere);
    EXPECT_EQ(gDIApplication, nullptr);
}

// The game may put the pointer elsewhere (the title's keys move it onto an item): the next move
// starts from there, even to the point the timeline moved to last.
TEST(ReplayInputTest, AMoveStartsFromWhereTheGamePutThePointer) {
    ReplayHarness game;
    game.PrepareGame(qvn::test::kReplayEndlessStart);
    game.Add({5, ReplayEvent::Kind::MouseMove, 200, 150});
    game.Add({10, ReplayEvent::Kind::MouseMove, 200, 150});
    game.Add({12, ReplayEvent::Kind::End});
    game.AddAction(8, [] {
        POINT elsewhere{600, 450};
        ASSERT_TRUE(ClientToScreen(MainWindow, &elsewhere));
        SetCursorPos(elsewhere.x, elsewhere.y);
    });
    POINT at{};
    DIMOUSESTATE2 mouse{};
    game.AddAction(11, [&] {
        GetCursorPos(&at);
        ScreenToClient(MainWindow, &at);
        gDIApplication->GetMouseState(&mouse);
    });
    EXPECT_EQ(game.Run(), 0);
    EXPECT_EQ(at.x, 200);
    EXPECT_EQ(at.y, 150);
    EXPECT_EQ(mouse.lX, 200 - 600) << "DirectInput's mouse moved back as far";
    EXPECT_EQ(mouse.lY, 150 - 450);
}

}  // namespace
