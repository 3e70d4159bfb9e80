// The preferences dialog in the running game over tests/fixtures/replay/preferences.timeline:
// the message colour redraws the page behind the dialog while time stands still, and the pages
// store their values when they go.

#include <string>

#include <gtest/gtest.h>

#include "foundation/app_settings.h"
#include "foundation/registry_settings.h"
#include "replay_harness.h"

namespace {

using qvn::test::ReplayHarness;

constexpr const char* kPage = R"(
*top
    invoke 13 255 255 255
    invoke 1 "案内人"
    text "色を変えてみましょう。"
    invoke 2
    return
)";

// The pixel near the bottom left corner of a capture: the message window's back.
std::uint32_t WindowBack(const qvn::test::ReplayCapture* capture) {
    if (capture == nullptr || !capture->drawn) {
        ADD_FAILURE() << "no frame";
        return 0;
    }
    const CapturedFrame& frame = capture->frame;
    return frame.argb[static_cast<std::size_t>((frame.height - 3) * frame.width + 2)] & 0xFFFFFFu;
}

TEST(PreferencesReplayTest, TheColourRedrawsBehindTheDialogAndThePagesStoreTheirValues) {
    ReplayHarness game;
    game.PrepareGame(kPage, 0);
    game.LoadTimeline("preferences");
    int framesWhileOpen = -1;
    game.AddAction(69, [&] { framesWhileOpen = game.FramesBetween(42, 69); });
    EXPECT_EQ(game.Run(), 0);
    EXPECT_TRUE(game.problems().empty()) << game.problems().front();

    EXPECT_EQ(WindowBack(game.FindCapture("page")), 0x7F7F7Fu) << "0x80000000 over white";
    EXPECT_EQ(WindowBack(game.FindCapture("coloured")), 0x00AAFFu) << "redrawn behind the dialog";
    EXPECT_EQ(WindowBack(game.FindCapture("after")), 0x00AAFFu);
    // Four drags of three track-bar messages each, and nothing else: time stands still.
    EXPECT_EQ(framesWhileOpen, 12);

    EXPECT_EQ(ReadRegistryDword(kSettingsMain, "WndColor"), 0xFF00AAFFu);
    EXPECT_EQ(ReadRegistryDword(kSettingsVoice, "male"), 0u);
    EXPECT_EQ(ReadRegistryDword(kSettingsVoice, "female"), 1u);
    EXPECT_EQ(ReadRegistryDword(kSettingsMain, "MusicVolume"), 3000u);
    EXPECT_EQ(MusicVolume, 3000u);
}

}  // namespace
