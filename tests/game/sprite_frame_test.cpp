// The frame step steps every sprite by the frame's milliseconds and draws the visible ones
// after the planes.

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "kra/kra_writer.h"
#include "platform/d3dx/png_encode.h"
#include "platform/win32/message_box.h"
#include "replay_harness.h"
#include "sprite_ui/sprite.h"

namespace {

using qvn::test::ReplayEvent;
using qvn::test::ReplayHarness;

TEST(SpriteFrameTest, EachFrameStepsAndDrawsTheSprites) {
    ReplayHarness game;
    game.PrepareGame(qvn::test::kReplayEndlessStart, 0, false);
    const std::vector<std::uint32_t> green(16 * 16, 0xFF00FF00u);
    game.dir().writeFile("sprite/box.png", d3dx::EncodeArgbAsPng(16, 16, green.data(), 16));
    qvn_kra::KraError error;
    const std::optional<qvn_kra::KraSource> source = qvn_kra::ParseKraSource(
        "magic KRA2\n"
        "texture 0 mode 0 \"box.png\"\n"
        "part 0 texture 0 frame 1 src 0,0 16x16 dst 0,0\n"
        "animation 0 \"idle\" text \"s100000 p1\"\n",
        &error);
    ASSERT_TRUE(source.has_value());
    game.dir().writeFile("sprite/box.kra", *qvn_kra::WriteKra(*source, &error));

    ISprite* sprite = nullptr;
    std::uint32_t ticksAtStart = 0;
    game.AddAction(5, [&] {
        sprite = ISprite::Create("box");
        ASSERT_NE(sprite, nullptr);
        sprite->Start("idle", kSpriteVisible | kSpritePlaying | kSpriteLoop, 0);
        sprite->SetPosition(200, 100);
        ticksAtStart = sprite->GetTotalTicks();
    });
    game.AddAction(11, [&] {
        ASSERT_NE(sprite, nullptr);
        // Six frames of a sixtieth of a second each, in whole milliseconds.
        EXPECT_GE(sprite->GetTotalTicks() - ticksAtStart, 96u);
        EXPECT_LE(sprite->GetTotalTicks() - ticksAtStart, 102u);
        RECT drawn{};
        sprite->GetRect(&drawn);
        EXPECT_EQ(drawn.left, 200);
        EXPECT_EQ(drawn.bottom, 116);
    });
    game.CaptureTick(12);
    game.AddAction(13, [&] { sprite = reinterpret_cast<ISprite*>(ISprite::Delete(sprite)); });
    game.Add({20, ReplayEvent::Kind::Close, IDYES});
    game.Run();
    ASSERT_EQ(game.capturedWidth(), 800);
    EXPECT_EQ(game.captured()[105 * 800 + 205] & 0xFFFFFFu, 0x00FF00u) << "the sprite";
    EXPECT_EQ(game.captured()[105 * 800 + 230] & 0xFFFFFFu, 0u) << "beside it";
    EXPECT_EQ(ISprite::Count(), 0u);
}

}  // namespace
