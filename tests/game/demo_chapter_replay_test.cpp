// The demo's first chapter played from its start to its end over
// tests/fixtures/replay/demo_chapter1.timeline with the stored settings' defaults (the choices
// of the station square that follows it taken on the way to the game's end): the frames
// captured on the way, whose hashes and the end of the run are kept in
// tests/fixtures/golden/demo_chapter1_replay.txt exactly as `qvn-replay GAME_DIR TIMELINE OUT_DIR`
// prints them (rewrite it with --update-golden after looking at the frames qvn-replay writes), a
// log free of errors, and what the chapter stored.

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/registry_settings.h"
#include "platform/win32/shell_test_hooks.h"
#include "platform/winbase/test_hooks.h"
#include "replay_harness.h"
#include "support/golden.h"

namespace {

using qvn::test::ReplayCapture;
using qvn::test::ReplayHarness;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Channel `shift` of the pixel at (x, y).
int Channel(const ReplayCapture& capture, int x, int y, int shift) {
    return static_cast<int>(
               capture.frame.argb[static_cast<std::size_t>(y) * capture.frame.width + x] >> shift) &
           0xFF;
}

TEST(DemoChapterReplayTest, FirstChapterPlaysFromItsStartToItsEnd) {
    ReplayHarness game;
    qvn::test::CopyDemoGame(game.dir());
    game.LoadTimeline("demo_chapter1");
    const int result = game.Run();

    std::string transcript;
    for (const std::string& line : game.reportLines()) {
        transcript += line + "\n";
    }
    transcript +=
        "ended tick " + std::to_string(game.ticks()) + "\nresult " + std::to_string(result) + "\n";
    EXPECT_EQ(qvn::test::CompareWithGolden(
                  "demo_chapter1_replay.txt",
                  std::vector<std::uint8_t>(transcript.begin(), transcript.end())),
              "")
        << transcript;
    EXPECT_FALSE(game.closedByHarness()) << "the chapter returned and the game ended";
    EXPECT_TRUE(game.problems().empty());

    for (const std::string& line : game.LogLines()) {
        const std::string lower = Lower(line);
        EXPECT_EQ(lower.find("error"), std::string::npos) << line;
        EXPECT_EQ(lower.find("fail"), std::string::npos) << line;
        EXPECT_EQ(lower.find("not built"), std::string::npos) << line;
    }

    // Halfway through its fade the station shows at half its brightness over black, within what
    // one frame of the fade changes.
    const ReplayCapture* fade = game.FindCapture("station_fade");
    const ReplayCapture* page = game.FindCapture("station_page");
    ASSERT_TRUE(fade != nullptr && page != nullptr && fade->drawn && page->drawn);
    for (const int shift : {0, 8, 16}) {
        EXPECT_NEAR(Channel(*fade, 400, 200, shift) * 2, Channel(*page, 400, 200, shift), 12)
            << "channel " << shift;
    }

    win32_test::ForgetSettingsStore();
    EXPECT_EQ(ReadRegistryDword("main", "DemoVisits"), 1u) << "the visit the chapter counted";
}

}  // namespace
