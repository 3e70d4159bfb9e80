// A UI window in the running game: start-up loads the demo's frame images, the frame step reads
// the window's input and draws it, the window procedure's hook tracks the pointer, and the
// window closes with the game window.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/graphics/texture.h"
#include "platform/dinput/dik_codes.h"
#include "platform/dinput/test_input_backend.h"
#include "replay_harness.h"
#include "sprite_ui/baloon.h"
#include "sprite_ui/frame_textures.h"
#include "sprite_ui/menu_window.h"

namespace {

using qvn::test::ReplayEvent;
using qvn::test::ReplayHarness;
using Kind = ReplayEvent::Kind;

std::vector<std::string> events;

int Record(MenuWindow*, int event, std::intptr_t argument, void*) {
    if (event < kMenuEventDrawWindow || event > kMenuEventAfterDraw) {
        events.push_back(std::to_string(event) + "(" + std::to_string(argument) + ")");
    }
    return 0;
}

TEST(MenuWindowReplayTest, WindowAnswersPointerAndKeysAndClosesWithTheGame) {
    events.clear();
    ReplayHarness game;
    game.PrepareGame(qvn::test::kReplayEndlessStart);
    for (const char* image :
         {"frame0.png", "frame1.png", "frame2.png", "frame3.png", "frame4.png", "baloon.png"}) {
        game.CopyDemoImage(image);
    }
    dinput_test::TestInputBackend& input = dinput_test::UseTestInputBackend();
    bool framesLoaded = false;
    MenuWindow* window = nullptr;
    game.AddAction(5, [&] {
        framesLoaded = DefaultFrameTextures()[kFrameScrollBar] != nullptr;
        window = CreateMenuWindow(100, 100, 300, 120, 24, Record, nullptr, 0);
        for (int i = 0; i < 6; ++i) {
            const std::string text = "item " + std::to_string(i);
            MenuItem item;
            item.text = text.c_str();
            item.helpText = i == 2 ? "help of item 2" : nullptr;
            window->AddItem(item);
        }
        SetFocusWindow(window);
    });
    game.Add({10, Kind::MouseMove, 150, 129});
    game.AddAction(20, [&] { input.KeyDown(DIK_DOWN); });
    game.AddAction(22, [&] { input.KeyUp(DIK_DOWN); });
    int current = -1;
    bool drawn = false;
    bool balloonOpen = false;
    game.AddAction(100, [&] {
        current = window->current;
        drawn = (window->flags & kMenuDrawn) != 0 && window->windowRect.left == 92;
        balloonOpen = HelpBaloon != nullptr;
    });
    game.SetTickLimit(110);
    EXPECT_EQ(game.Run(), 0);

    EXPECT_TRUE(framesLoaded) << "start-up loads frame0.png .. frame4.png";
    EXPECT_EQ(current, 2);
    EXPECT_TRUE(drawn) << "the frame step draws the window";
    EXPECT_TRUE(balloonOpen) << "BaloonTime after the key moved to item 2";
    const std::vector<std::string> expected = {
        "0(0)", "9(0)", "3(" + std::to_string((129 << 16) | 150) + ")", "9(1)", "7(1)",
        "9(2)", "13(0)"};
    EXPECT_EQ(events, expected);
    EXPECT_TRUE(MenuWindowList().empty());
    EXPECT_TRUE(DefaultFrameTextures()[kFrameBackground] == nullptr)
        << "released with the game window";
}

}  // namespace
