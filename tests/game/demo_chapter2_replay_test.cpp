// The demo played from its start to its end with its second chapter played through
// tests/fixtures/replay/demo_chapter2.timeline: the frames captured on the way (their hashes
// and the end of the run kept in tests/fixtures/golden/demo_chapter2_replay.txt exactly as
// qvn-replay prints them), what the running game holds at the ticks that matter (the stands,
// the face, the voice playing, the backlog's cursor, the mascot), a log free of errors, and the
// voice switches the first voices wrote.

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "adventure/adventure_frame.h"
#include "adventure/face.h"
#include "adventure/mascot.h"
#include "adventure/message_backlog.h"
#include "adventure/stand.h"
#include "adventure/voice.h"
#include "foundation/registry_settings.h"
#include "media/graphics/plane.h"
#include "platform/win32/dialog_api.h"
#include "platform/win32/dialog_input.h"
#include "platform/win32/shell_test_hooks.h"
#include "platform/win32/window_api.h"
#include "platform/winbase/test_hooks.h"
#include "replay_harness.h"
#include "sprite_ui/sprite.h"
#include "support/golden.h"

namespace {

using qvn::test::ReplayHarness;

// What the game holds at the start of a tick.
struct Seen {
    std::string stands;  // names in list order
    std::string face;    // the face plane's name, or empty
    bool voice = false;  // a voice plays
    std::size_t cursor = MessageBacklog::kEnd;
    std::string mascot;  // its animation
    bool operator==(const Seen&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Seen& seen) {
    return out << "stands [" << seen.stands << "] face '" << seen.face << "' voice " << seen.voice
               << " cursor " << static_cast<long long>(seen.cursor) << " mascot " << seen.mascot;
}

Seen Look() {
    Seen seen;
    for (const StandSprite* stand : StandList) {
        seen.stands += seen.stands.empty() ? stand->name : std::string(" ") + stand->name;
    }
    seen.face = FacePlane != nullptr ? FacePlane->name : "";
    seen.voice = IsVoicePlaying();
    seen.cursor = MessageBacklog::Cursor();
    seen.mascot = Mascot != nullptr ? Mascot->GetAnimationName() : "";
    return seen;
}

TEST(DemoChapter2ReplayTest, TheFriendsStandSpeakAndThePlayerPagesBack) {
    ReplayHarness game;
    qvn::test::CopyDemoGame(game.dir());
    game.LoadTimeline("demo_chapter2");
    game.SetHashEveryFrame(false);  // the captures are hashed all the same
    const std::size_t end = MessageBacklog::kEnd;
    const struct {
        int tick;
        Seen seen;
    } expected[] = {
        {185, {"hina", "hina.png", true, end, "mowl"}},  // Hina's first line plays
        {231, {"hina sora", "sora.png", true, end, "mowl"}},
        // The narration: Sora's line plays on over the page turn (VoiceSkip is off).
        {315, {"hina sora kai", "", true, end, "mowl"}},
        {326, {"hina sora kai", "hina.png", true, end, "mowl"}},  // the thought, unrecorded
        {401, {"hina sora", "", true, 1, "mowl"}},                // the wheel: the narration
        {481, {"hina sora", "kai.png", true, 3, "mowl"}},         // page up, up: Kai's line
        {487, {"hina sora", "kai.png", true, 3, "mowl"}},         // a click replays its voice
        {601,
         {"hina sora", "sora.png", true, end, "mowl"}},     // back at the page; Kai's replay plays
        {651, {"sora kai", "kai.png", true, end, "mowl"}},  // Kai in Hina's place
        {715, {"sora kai", "sora.png", true, end, "sleep"}},  // auto mode waits for it
    };
    std::vector<Seen> seen(std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        game.AddAction(expected[i].tick, [&seen, i] { seen[i] = Look(); });
    }
    const int result = game.Run();

    const std::string transcript = game.Transcript(result);
    EXPECT_EQ(qvn::test::CompareWithGolden(
                  "demo_chapter2_replay.txt",
                  std::vector<std::uint8_t>(transcript.begin(), transcript.end())),
              "")
        << transcript;
    EXPECT_FALSE(game.closedByHarness()) << "the game ended by itself or by the player's close";
    EXPECT_TRUE(game.problems().empty());
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(seen[i], expected[i].seen) << "at tick " << expected[i].tick;
    }
    EXPECT_EQ(game.LogLinesWith({"error", "fail", "not built"}), std::vector<std::string>{});

    win32_test::ForgetSettingsStore();
    for (const char* heard : {"Hina", "Sora", "Kai"}) {
        EXPECT_EQ(ReadRegistryDword("voice", heard), 1u) << heard << ": written when first heard";
    }
    DWORD type = 0;
    QueryRegistryType("voice", "Annai", &type);
    EXPECT_EQ(type, 0u) << "the guide speaks without a voice";
}

// A voice switch the player sets before the character is first heard holds: unticked on the
// voice page with fresh settings, it is still 0 after her first line, her box is unticked at the
// next start, and her line plays no voice then either.
TEST(DemoChapter2ReplayTest, AVoiceSwitchThePlayerSetHoldsAcrossStarts) {
    const struct {
        const char* timeline;
        bool boxTicked;  // Sora's box as the voice page opens
    } runs[] = {{"voice_switch_untick", true}, {"voice_switch_next_start", false}};
    std::string settings;  // the settings file the first run leaves
    for (const auto& run : runs) {
        ReplayHarness game;
        qvn::test::CopyDemoGame(game.dir());
        const std::string file = game.dir().configHome() + "/Velkaro/qvn/settings.txt";
        if (!settings.empty()) {
            std::filesystem::create_directories(game.dir().configHome() + "/Velkaro/qvn");
            std::ofstream(file, std::ios::binary) << settings;
            win32_test::ForgetSettingsStore();
        }
        game.LoadTimeline(run.timeline);
        game.SetHashEveryFrame(false);
        int ticked = -1;
        game.AddAction(8, [&] {
            HWND box = Win32FindDialogControl(Win32ActiveModalDialog(), 1238);
            ticked = static_cast<int>(IsDlgButtonChecked(GetParent(box), 1238));
        });
        bool voiceAtHerLine = true;
        game.AddAction(420, [&] { voiceAtHerLine = IsVoicePlaying(); });
        game.Run();
        EXPECT_TRUE(game.problems().empty()) << run.timeline;
        EXPECT_EQ(ticked, run.boxTicked ? 1 : 0) << run.timeline;
        EXPECT_FALSE(voiceAtHerLine) << run.timeline << ": Sora's line plays no voice";
        win32_test::ForgetSettingsStore();
        EXPECT_EQ(ReadRegistryDword("voice", "Sora"), 0u) << run.timeline;
        EXPECT_EQ(ReadRegistryDword("voice", "Hina"), 1u) << run.timeline;
        std::ifstream in(file, std::ios::binary);
        settings.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        ASSERT_FALSE(settings.empty()) << run.timeline;
    }
}

}  // namespace
