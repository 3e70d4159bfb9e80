// The demo's title after a popup closed without a choice: the button that opened it is drawn
// plain again, so that the title looks as it did before, and a key then lights one button only.
// The recollection's page, left by Esc or a right click wherever the pointer stands, gives the
// same title back.

#include <vector>

#include <gtest/gtest.h>

#include "platform/win32/message_box.h"
#include "platform/win32/shell_test_hooks.h"
#include "replay_harness.h"

namespace {

using qvn::test::ReplayCapture;
using qvn::test::ReplayHarness;

// The title's four buttons, 48 pixels high every 64 from y 300; a point of each left of its text.
constexpr int kButtonX = 292;
constexpr int kFirstButtonY = 324;
constexpr int kButtonStep = 64;
constexpr int kButtons = 4;

std::uint32_t Pixel(const ReplayCapture& capture, int x, int y) {
    return capture.frame.argb[static_cast<std::size_t>(y) * capture.frame.width + x];
}

TEST(TitlePopupReplayTest, TheTitleComesBackPlainFromItsPopupsAndFromTheRecollection) {
    ReplayHarness game;
    qvn::test::CopyDemoGame(game.dir());
    game.SetHashEveryFrame(false);
    game.LoadTimeline("title_popups_closed");
    EXPECT_EQ(game.Run(), 0);
    EXPECT_TRUE(game.problems().empty());
    const std::vector<win32_test::ShownMessageBox> boxes = win32_test::TakeShownMessageBoxes();
    ASSERT_EQ(boxes.size(), 2u) << "EXIT's close question, then the end's";
    EXPECT_EQ(boxes[0].answer, IDNO);

    const ReplayCapture* untouched = game.FindCapture("untouched");
    const ReplayCapture* cancelled = game.FindCapture("load_cancelled");
    const ReplayCapture* declined = game.FindCapture("exit_declined");
    const ReplayCapture* up = game.FindCapture("one_lit");
    for (const ReplayCapture* capture : {untouched, cancelled, declined, up}) {
        ASSERT_TRUE(capture != nullptr && capture->drawn);
    }
    EXPECT_EQ(cancelled->hash, untouched->hash) << "LOAD pressed after its popup was cancelled";
    EXPECT_EQ(declined->hash, untouched->hash) << "EXIT pressed after No";

    std::vector<int> lit;
    for (int i = 0; i < kButtons; ++i) {
        const int y = kFirstButtonY + i * kButtonStep;
        if (Pixel(*up, kButtonX, y) != Pixel(*untouched, kButtonX, y)) {
            lit.push_back(i);
        }
    }
    EXPECT_EQ(lit, std::vector<int>{0}) << "Up lights NEW GAME and nothing else";

    const ReplayCapture* recollection = game.FindCapture("recollection");
    const ReplayCapture* escaped = game.FindCapture("escaped");
    const ReplayCapture* rightClicked = game.FindCapture("right_clicked");
    for (const ReplayCapture* capture : {recollection, escaped, rightClicked}) {
        ASSERT_TRUE(capture != nullptr && capture->drawn);
    }
    EXPECT_NE(recollection->hash, untouched->hash);
    EXPECT_EQ(escaped->hash, untouched->hash) << "Esc on the recollection's page";
    EXPECT_EQ(rightClicked->hash, untouched->hash) << "a right click on the recollection's page";
}

}  // namespace
