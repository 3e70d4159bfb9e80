// The demo played over a timeline kept in tests/fixtures/replay/ with the stored settings'
// defaults: the frames captured on the way, whose hashes and the end of the run are kept in
// tests/fixtures/golden/<timeline>_replay.txt exactly as `qvn-replay GAME_DIR TIMELINE OUT_DIR`
// prints them (rewrite it with --update-golden after looking at the frames qvn-replay writes), a
// log free of errors, and what the game stored. demo_chapter1 opens the locked recollection,
// plays the first chapter from NEW GAME to its end, skips the second chapter and the journey
// after it and takes the station square's choices on the way to the story's end, then sees the
// recollection unlocked; demo_title_again is the next run over its saves; demo_journey plays the
// journey with its movies and its train map; demo_save_points saves in every part of the story and
// loads each save back from the title; demo_backlog pages the backlog back to a page that shows a
// global word; demo_first_page_backlog pages the first chapter's first page back and forth.

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "adventure/message_backlog.h"
#include "adventure/message_window.h"
#include "foundation/app_settings.h"
#include "foundation/byte_reader.h"
#include "foundation/registry_settings.h"
#include "media/graphics/texture.h"
#include "platform/d3dx/surface_pixels.h"
#include "platform/win32/dialog_api.h"
#include "platform/win32/dialog_input.h"
#include "platform/win32/shell_test_hooks.h"
#include "platform/winbase/code_page.h"
#include "platform/winbase/test_hooks.h"
#include "replay_harness.h"
#include "script/script_variables.h"
#include "support/golden.h"

namespace {

using qvn::test::ReplayCapture;
using qvn::test::ReplayHarness;

// Channel `shift` of the pixel at (x, y).
int Channel(const ReplayCapture& capture, int x, int y, int shift) {
    return static_cast<int>(
               capture.frame.argb[static_cast<std::size_t>(y) * capture.frame.width + x] >> shift) &
           0xFF;
}

// Runs the demo over the timeline NAME and checks the transcript and the log; with `earlier`,
// over the save folder that run left.
void PlayDemo(ReplayHarness* game, const std::string& name,
              const ReplayHarness* earlier = nullptr) {
    qvn::test::CopyDemoGame(game->dir());
    if (earlier != nullptr) {
        std::filesystem::copy(std::filesystem::path(earlier->dir().path()) / "save",
                              std::filesystem::path(game->dir().path()) / "save",
                              std::filesystem::copy_options::overwrite_existing |
                                  std::filesystem::copy_options::recursive);
    }
    game->LoadTimeline(name);
    game->SetHashEveryFrame(false);
    const int result = game->Run();

    const std::string transcript = game->Transcript(result);
    EXPECT_EQ(
        qvn::test::CompareWithGolden(
            name + "_replay.txt", std::vector<std::uint8_t>(transcript.begin(), transcript.end())),
        "")
        << transcript;
    EXPECT_FALSE(game->closedByHarness()) << "the game ended by itself or by the player's close";
    EXPECT_TRUE(game->problems().empty());

    EXPECT_EQ(game->LogLinesWith({"error", "fail", "not built"}), std::vector<std::string>{});
}

TEST(DemoChapterReplayTest, FirstChapterPlaysFromItsStartToItsEnd) {
    ReplayHarness game;
    PlayDemo(&game, "demo_chapter1");

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

    // The play-through unlocked the three pictures and the story's three scenes, written once.
    const std::string seen = game.dir().readFile("save/save99.dat");
    EXPECT_EQ(seen, std::string("station\0street.jpg\0grid\0chapter1\0chapter2\0journey\0", 50));
    const ReplayCapture* locked = game.FindCapture("gallery_locked");
    const ReplayCapture* unlocked = game.FindCapture("gallery_seen");
    ASSERT_TRUE(locked != nullptr && unlocked != nullptr);
    EXPECT_NE(locked->hash, unlocked->hash);

    // The next run over that save folder: the unlocks stay, a scene replays and returns to the
    // gallery, and the save point loads. Its saves name the scripts of this run's folder, which
    // is kept until the next run ends.
    ReplayHarness again;
    PlayDemo(&again, "demo_title_again", &game);
    const ReplayCapture* seenAgain = again.FindCapture("gallery_seen");
    ASSERT_TRUE(seenAgain != nullptr);
    EXPECT_EQ(seenAgain->hash, unlocked->hash);
    EXPECT_EQ(again.dir().readFile("save/save99.dat"), seen) << "the unlocks kept";
}

TEST(DemoChapterReplayTest, JourneyPlaysItsMoviesAndBranchesOnTheTrainMap) {
    ReplayHarness game;
    PlayDemo(&game, "demo_journey");
    const std::vector<std::string>& report = game.reportLines();
    for (const char* line : {"var 16 = 3", "var 17 = 1"}) {
        EXPECT_NE(std::find(report.begin(), report.end(), line), report.end())
            << line << ": MINATO chosen, where hina stands";
    }
    // Four seconds of the opening at 30 pictures a second, and the railway movie until the
    // click that ended it after 78 ticks.
    EXPECT_GE(game.moviePictures(), 120 + 35);
    EXPECT_LE(game.moviePictures(), 125 + 45);
    const ReplayCapture* map = game.FindCapture("map");
    const ReplayCapture* hovered = game.FindCapture("minato_hovered");
    ASSERT_TRUE(map != nullptr && hovered != nullptr && map->drawn && hovered->drawn);
    // The hover ring lies around MINATO, 26 pixels to the left of its centre.
    EXPECT_NE(Channel(*map, 614, 450, 16), Channel(*hovered, 614, 450, 16));
}

// What the message window holds: the mask copy of its text (the texture's rows 0..W-1, drawn in
// one colour whatever the age of the entry shown; empty when there is no window), variable 9 and
// the backlog's cursor.
struct MessageWindowLook {
    std::vector<std::uint32_t> mask;
    std::int32_t variable9 = 0;
    std::size_t cursor = 0;
};

MessageWindowLook LookAtMessageWindow() {
    MessageWindowLook look;
    look.variable9 = static_cast<std::int32_t>(GetVar(9));
    look.cursor = MessageBacklog::Cursor();
    IDirect3DSurface9* surface = nullptr;
    if (MessageTexture == nullptr ||
        FAILED(MessageTexture->texture->GetSurfaceLevel(0, &surface))) {
        return look;
    }
    const RECT rows{0, 0, static_cast<LONG>(ScreenWidth), GetMessageGeometry().height};
    if (FAILED(d3dx::ReadSurfaceArgb(surface, rows, &look.mask))) {
        look.mask.clear();
    }
    surface->Release();
    return look;
}

// The first chapter's count of trains ("#0") paged back to from the street, after the page that
// put the screen width in variable 9, shows the count as the page showed it: the same text.
TEST(DemoChapterReplayTest, TheBacklogShowsAPageAsThePageShowedIt) {
    ReplayHarness game;
    MessageWindowLook shown;
    MessageWindowLook pagedBack;
    game.AddAction(210, [&] { shown = LookAtMessageWindow(); });
    game.AddAction(490, [&] { pagedBack = LookAtMessageWindow(); });
    PlayDemo(&game, "demo_backlog");
    EXPECT_EQ(shown.cursor, MessageBacklog::kEnd);
    EXPECT_EQ(pagedBack.cursor, 3u) << "three entries back: the count of trains";
    EXPECT_EQ(pagedBack.variable9, 800) << "the screen width";
    EXPECT_NE(shown.variable9, pagedBack.variable9);
    ASSERT_FALSE(shown.mask.empty());
    EXPECT_TRUE(pagedBack.mask == shown.mask) << "the count the page showed";
}

// The text lines of the message window that show anything: line k is the F rows from
// F / 2 + H x k of the mask copy (the speaker's name is line 0; ruby lies above its line).
std::vector<int> LinesShown(const MessageWindowLook& look) {
    const MessageGeometry g = GetMessageGeometry();
    std::vector<int> lines;
    for (int k = 0; g.fontSize / 2 + g.lineHeight * k + g.fontSize <= g.height; ++k) {
        const auto first =
            static_cast<std::size_t>(g.fontSize / 2 + g.lineHeight * k) * ScreenWidth;
        const auto last = first + static_cast<std::size_t>(g.fontSize) * ScreenWidth;
        if (last <= look.mask.size() &&
            std::any_of(look.mask.begin() + static_cast<std::ptrdiff_t>(first),
                        look.mask.begin() + static_cast<std::ptrdiff_t>(last),
                        [](std::uint32_t pixel) { return (pixel & 0xFFFFFF) != 0; })) {
            lines.push_back(k);
        }
    }
    return lines;
}

// The first chapter's first page, its three sentences one message, paged back to the chapter's
// title with the wheel and forward again, comes back whole: the same frame, the name and three
// lines.
TEST(DemoChapterReplayTest, AWholePageComesBackFromTheBacklog) {
    ReplayHarness game;
    MessageWindowLook page;
    MessageWindowLook back;
    MessageWindowLook again;
    game.AddAction(125, [&] { page = LookAtMessageWindow(); });
    game.AddAction(170, [&] { back = LookAtMessageWindow(); });
    game.AddAction(210, [&] { again = LookAtMessageWindow(); });
    PlayDemo(&game, "demo_first_page_backlog");
    EXPECT_EQ(LinesShown(page), (std::vector<int>{0, 1, 2, 3})) << "the name and three sentences";
    EXPECT_EQ(back.cursor, 1u) << "the chapter's title, one entry back";
    EXPECT_EQ(again.cursor, MessageBacklog::kEnd);
    EXPECT_TRUE(again.mask == page.mask) << "the page as it was";
    const ReplayCapture* first = game.FindCapture("first_page");
    const ReplayCapture* title = game.FindCapture("title_paged_back");
    const ReplayCapture* whole = game.FindCapture("first_page_again");
    ASSERT_TRUE(first != nullptr && title != nullptr && whole != nullptr);
    EXPECT_NE(title->hash, first->hash);
    EXPECT_EQ(whole->hash, first->hash);
}

// The share of the pixels of rows top..bottom - 1 that are lit (a channel above 16).
double LitShare(const ReplayCapture& capture, int top, int bottom) {
    int lit = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = 0; x < capture.frame.width; ++x) {
            const std::uint32_t pixel =
                capture.frame.argb[static_cast<std::size_t>(y) * capture.frame.width + x];
            lit += ((pixel >> 16 & 0xFF) > 16 || (pixel >> 8 & 0xFF) > 16 || (pixel & 0xFF) > 16);
        }
    }
    return static_cast<double>(lit) / ((bottom - top) * capture.frame.width);
}

// After a run that did not end normally the notice shows the demo's advice, and its mail button
// copies the old log followed by the demo's questions; then the game starts.
TEST(DemoChapterReplayTest, TheNoticeShowsTheDemosAdviceAndCopiesItsQuestions) {
    ReplayHarness game;
    qvn::test::CopyDemoGame(game.dir());
    game.SetSetting("SafetyQuit", 1);
    game.dir().writeFile("qvn.log", "old run\r\n");
    game.LoadTimeline("notice_copy_log");
    std::string advice(4096, '\0');
    game.AddAction(2, [&] {
        advice.resize(GetDlgItemTextA(Win32ActiveModalDialog(), 1152, advice.data(),
                                      static_cast<int>(advice.size())));
    });
    EXPECT_EQ(game.Run(), 0);
    EXPECT_EQ(advice, game.dir().readFile("data/emergency.txt"));
    EXPECT_EQ(win32_test::ClipboardText(), "old run\r\n" + game.dir().readFile("data/support.txt"));
    EXPECT_EQ(game.LogLinesWith({"error"}), std::vector<std::string>{});
}

TEST(DemoChapterReplayTest, EverySavePointLoadsFromTheTitleIntoItsOwnScene) {
    ReplayHarness game;
    PlayDemo(&game, "demo_save_points");
    // A loaded game brings back the frame it was saved in, with its own locals only.
    EXPECT_EQ(game.LogLinesWith({"warning"}), std::vector<std::string>{});

    // Each part of the story saved its own point, titled with the date the part is set on (the
    // journey's is its own), and each loaded game resumed on a scene of its own: its background
    // (the first chapter's title on black, as the chapter opens).
    struct SavePoint {
        const char* capture;
        const char* title;
        const char* label;
        int top;
        int bottom;
        double lit;  // at least this share of those rows
    };
    const SavePoint points[] = {
        {"loaded_chapter1", "4月 1週 平日 第一章　北の駅", "top", 440, 470, 0.01},
        {"loaded_chapter2", "4月 1週 平日 第二章　三人の駅", "top", 0, 200, 0.9},
        {"loaded_journey", "5月 2週 土曜 旅のはじまり", "top", 0, 200, 0.9},
        {"loaded_square", "5月 2週 土曜 駅前の広場", "top", 0, 200, 0.9},
        {"loaded_ticket", "5月 2週 土曜 切符売り場", "ticket", 0, 200, 0.9},
        {"loaded_platform_middle", "5月 2週 土曜 ホーム", "platform_middle", 0, 200, 0.9},
        {"loaded_the_end", "旅の終わり", "ending", 0, 200, 0.9},
    };
    for (std::size_t slot = 0; slot < std::size(points); ++slot) {
        const SavePoint& point = points[slot];
        const std::string file = game.dir().readFile("save/save0" + std::to_string(slot) + ".dat");
        ByteReader reader(file.data(), file.size());
        reader.Skip(8);
        EXPECT_EQ(reader.FixedString(64), Utf8ToCp932(point.title).value_or("?")) << slot;
        EXPECT_EQ(reader.FixedString(32), point.label) << slot;
        const ReplayCapture* loaded = game.FindCapture(point.capture);
        ASSERT_TRUE(loaded != nullptr && loaded->drawn) << point.capture;
        EXPECT_GE(LitShare(*loaded, point.top, point.bottom), point.lit) << point.capture;
    }
}

}  // namespace
