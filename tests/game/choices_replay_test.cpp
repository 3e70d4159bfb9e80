// The demo's station square played twice over tests/fixtures/replay/demo_choices.timeline and
// demo_choices_again.timeline, the second run over the save folder of the first: choices taken
// by pointer, wheel, pad and keys, the help balloon, the popup, a save from the menu with its
// boxes, a refused overwrite and load, a load that resumes the scene in its middle, the ending's
// system variable read by the next play-through and the option taken before coloured there. The
// captures' hashes and the variables printed on the way are kept in
// tests/fixtures/golden/demo_choices_replay.txt as qvn-replay prints them (rewrite it with
// --update-golden after looking at the frames qvn-replay writes).

#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "adventure/save_slot_table.h"
#include "foundation/byte_reader.h"
#include "platform/win32/message_box.h"
#include "platform/win32/shell_test_hooks.h"
#include "platform/winbase/code_page.h"
#include "replay_harness.h"
#include "support/golden.h"

namespace {

using qvn::test::ReplayCapture;
using qvn::test::ReplayHarness;

constexpr const char* kSquareOnly = R"(
*top
*restart
    callfile "choices" "top"
    return
)";

const char* const kSaveFiles[] = {"save/save03.dat", "save/save20.dat", "save/save90.dat",
                                  "save/save91.dat"};

std::string Sjis(const char* utf8) {
    return Utf8ToCp932(utf8).value_or("?");
}

// The title and label of a save file's header.
std::pair<std::string, std::string> Header(const std::string& file) {
    ByteReader reader(file.data(), file.size());
    reader.Skip(8);
    std::string title = reader.FixedString(64);
    return {title, reader.FixedString(32)};
}

// Pixels of the item rows' text area of the centred choice of three (y 264..336) in the taken
// colour's hue: blue and green high, red low.
int TakenColourPixels(const ReplayCapture& capture, int row) {
    int count = 0;
    for (int y = 264 + 24 * row; y < 288 + 24 * row; ++y) {
        for (int x = 330; x < 470; ++x) {
            const std::uint32_t pixel = capture.frame.argb[static_cast<std::size_t>(y) * 800 + x];
            const int red = (pixel >> 16) & 0xFF;
            const int green = (pixel >> 8) & 0xFF;
            const int blue = pixel & 0xFF;
            count += red < 64 && green > 150 && blue > 200 ? 1 : 0;
        }
    }
    return count;
}

void Play(ReplayHarness& game, const char* timeline, std::string* transcript) {
    qvn::test::CopyDemoGame(game.dir());
    game.WriteScript("start", kSquareOnly);
    game.LoadTimeline(timeline);
    const int result = game.Run();
    for (const std::string& line : game.reportLines()) {
        *transcript += line + "\n";
    }
    *transcript +=
        "ended tick " + std::to_string(game.ticks()) + "\nresult " + std::to_string(result) + "\n";
    EXPECT_FALSE(game.closedByHarness()) << timeline << ": the game ended by itself";
    EXPECT_TRUE(game.problems().empty()) << timeline;
}

TEST(ChoicesReplayTest, ChoicesPopupsSavesAndTheNextPlayThrough) {
    std::string transcript;
    std::map<std::string, std::string> files;
    int squareTaken = 0;
    {
        ReplayHarness game;
        Play(game, "demo_choices", &transcript);
        const std::vector<win32_test::ShownMessageBox> boxes = win32_test::TakeShownMessageBoxes();
        struct Box {
            const char* text;
            const char* caption;
            int answer;
        };
        const Box expected[] = {
            {"ゲームデータをハードディスクに保存しました。", "報告", IDOK},
            {"『4月 1週 平日 ホーム』 に 『4月 1週 平日 ホーム』 "
             "を上書き保存します。よろしいですか？",
             "確認", IDNO},
            {"ゲームデータのロードに失敗しました。", "警告！", IDOK},
        };
        ASSERT_EQ(boxes.size(), std::size(expected));
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            EXPECT_EQ(boxes[i].text, Sjis(expected[i].text)) << i;
            EXPECT_EQ(boxes[i].caption, Sjis(expected[i].caption)) << i;
            EXPECT_EQ(boxes[i].answer, expected[i].answer) << i;
        }
        for (const std::string& line : game.LogLines()) {
            if (line.find("error") != std::string::npos) {
                EXPECT_EQ(line.rfind("load error. code:00000003(3) ", 0), 0u) << line;
                EXPECT_NE(line.find("save10.dat"), std::string::npos) << line;
            }
        }
        for (const char* name : kSaveFiles) {
            files[name] = game.dir().readFile(name);
            EXPECT_FALSE(files[name].empty()) << name;
        }
        const std::string slot3 = SaveSlotText(SaveSlots[3]);
        EXPECT_EQ(slot3.substr(slot3.size() - Sjis("　4月 1週 平日 ホーム").size()),
                  Sjis("　4月 1週 平日 ホーム"));
        const ReplayCapture* square = game.FindCapture("square");
        ASSERT_TRUE(square != nullptr && square->drawn);
        squareTaken = TakenColourPixels(*square, 2);
    }
    EXPECT_EQ(squareTaken, 0) << "nothing was taken before the first run";
    EXPECT_EQ(Header(files["save/save03.dat"]),
              std::make_pair(Sjis("4月 1週 平日 ホーム"), std::string("platform_middle")));
    EXPECT_EQ(Header(files["save/save20.dat"]),
              std::make_pair(Sjis("旅の終わり"), std::string("ending")));
    // The square's choice (occurrence 0 of function 20) took value 2; the ticket window's
    // choice is cancellable and not recorded.
    const std::string choices = std::string("\1\0\0\0choices\0\1\0\0\0\1\0\0\0\2\0\0\0", 24);
    EXPECT_EQ(files["save/save91.dat"], choices);

    {
        ReplayHarness game;
        for (const auto& [name, bytes] : files) {
            game.dir().writeFile(name, bytes);
        }
        Play(game, "demo_choices_again", &transcript);
        EXPECT_TRUE(win32_test::TakeShownMessageBoxes().empty());
        const ReplayCapture* square = game.FindCapture("square_coloured");
        ASSERT_TRUE(square != nullptr && square->drawn);
        EXPECT_GT(TakenColourPixels(*square, 2), 50) << "the option taken before";
        EXPECT_EQ(TakenColourPixels(*square, 1), 0);
        EXPECT_EQ(Header(game.dir().readFile("save/save20.dat")).first, Sjis("旅の終わり"));
    }
    EXPECT_EQ(qvn::test::CompareWithGolden(
                  "demo_choices_replay.txt",
                  std::vector<std::uint8_t>(transcript.begin(), transcript.end())),
              "")
        << transcript;
}

}  // namespace
