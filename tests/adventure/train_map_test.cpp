// The train map's screen driven directly on a letterbox of half scale with margins: what lands
// where in the back buffer, hover on the drawn rectangles, the answers to messages, a station
// added while the map is open, the close after a choice, and opens that cannot be made.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "adventure/game_mode.h"
#include "adventure/train_map_screen.h"
#include "adventure_fixture.h"
#include "kra/kra_writer.h"
#include "media/graphics/texture.h"
#include "platform/d3dx/png_encode.h"
#include "platform/win32/cursor_api.h"
#include "platform/win32/message_api.h"
#include "script/script_variables.h"
#include "shell/cursor.h"
#include "sprite_ui/sprite.h"

namespace adventure_tests {
namespace {

// Every animation the screen starts shows one white 16 x 16 square centred on the position.
constexpr const char* kAnimations =
    "animation 0 \"0\" text \"p1\"\n"
    "animation 1 \"JAN\" text \"p1\"\n"
    "animation 2 \"WEEKDAY\" text \"p1\"\n"
    "animation 3 \"WEEKDAY1\" text \"p1\"\n"
    "animation 4 \"ON/OFF\" text \"p1\"\n"
    "animation 5 \"A\" text \"p1\"\n"
    "animation 6 \"ON.A\" text \"p1\"\n"
    "animation 7 \"figure3\" text \"p1\"\n";

class TrainMapTest : public AdventureTest {
protected:
    void SetUp() override {
        AdventureTest::SetUp();
        // Design (x, y) lands at (100 + x / 2, 150 + y / 2).
        LetterboxScale = 0.5;
        LetterboxRect = RECT{100, 150, 500, 450};
        GameMode = kGameModeAdventure;
        WriteImage("visual/plain.png", 8, 6,
                   graphics_tests::MakeImage(8, 6, [](int, int) { return 0xFF804020u; }));
        const std::vector<std::uint32_t> white(16 * 16, 0xFFFFFFFFu);
        dir_->writeFile("sprite/sheet.png", d3dx::EncodeArgbAsPng(16, 16, white.data(), 16));
        for (const char* name : {"train", "ch07", "ch08"}) {
            qvn_kra::KraError error;
            const std::optional<qvn_kra::KraSource> source = qvn_kra::ParseKraSource(
                std::string("magic KRA5\ntexture 0 mode 0 \"sheet.png\"\n"
                            "part 0 texture 0 frame 1 src 0,0 16x16 dst -8,-8\n") +
                    kAnimations,
                &error);
            ASSERT_TRUE(source.has_value()) << error.message;
            dir_->writeFile(std::string("sprite/") + name + ".kra",
                            *qvn_kra::WriteKra(*source, &error));
        }
    }
    void TearDown() override {
        TrainMapScreen::Close();
        TrainMapScreen::SetOrigin(0, 0);
        ISprite::DeleteAll();
        AdventureTest::TearDown();
    }

    // One frame of game mode 3 as the frame step runs it.
    void DrawFrame() {
        ISprite::StepAll(16);
        device()->BeginScene();
        device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
        TrainMapScreen::Draw(1.0f / 60.0f);
        ISprite::DrawAll(0);
        device()->EndScene();
    }
    static LRESULT Send(UINT message) { return TrainMapScreen::OnMessage(nullptr, message, 0, 0); }
    static void MovePointer(int x, int y) {
        SetCursorPos(x, y);
        EXPECT_EQ(Send(WM_MOUSEMOVE), 0);
    }
    static void SetVar(std::uint32_t index, std::int32_t value) {
        const auto word = static_cast<std::uint32_t>(value);
        ::SetVar(index, &word);
    }
    static void ExpectAt(const ISprite* sprite, float x, float y, const char* what) {
        ASSERT_NE(sprite, nullptr) << what;
        EXPECT_FLOAT_EQ(sprite->x, x) << what;
        EXPECT_FLOAT_EQ(sprite->y, y) << what;
        EXPECT_FLOAT_EQ(sprite->scaleX, 0.5f) << what;
    }
};

TEST_F(TrainMapTest, EverythingLandsInTheLetterboxAndHoverFollowsTheDrawnRectangles) {
    SetVar(kMonthVariable, 1);
    SetVar(kWeekVariable, 1);
    SetVar(kDayTypeVariable, 0);
    TrainMapScreen::SetOrigin(40, 20);
    ASSERT_TRUE(TrainMapScreen::AddStation(1, "A", 200, 100));
    ASSERT_TRUE(TrainMapScreen::AddStation(2, "A", 600, 500));
    TrainMapScreen::AddFigure(2, 7, 3);
    TrainMapScreen::AddFigure(5, 8, 3);  // no station 5
    ASSERT_TRUE(TrainMapScreen::Open("visual\\plain"));
    EXPECT_EQ(GameMode, kGameModeTrainMap);
    EXPECT_EQ(TrainMapScreen::savedMode, kGameModeAdventure);

    ExpectAt(TrainMapScreen::stations[1], 200, 200, "station 1");
    ExpectAt(TrainMapScreen::stations[2], 400, 400, "station 2");
    ExpectAt(TrainMapScreen::figures[7], 400, 380, "figure 7: 40 design pixels above");
    ExpectAt(TrainMapScreen::calendarClock, 120, 160, "clock");
    ExpectAt(TrainMapScreen::calendarMonth, 120, 160, "month");
    ExpectAt(TrainMapScreen::calendarWeek, 158, 160, "week");
    ExpectAt(TrainMapScreen::calendarDay, 158, 198, "day type");
    EXPECT_TRUE(TrainMapScreen::figures[7]->flags & kSpriteVisible);
    EXPECT_FALSE(TrainMapScreen::figures[8]->flags & kSpriteVisible) << "no station to stand at";
    EXPECT_EQ(TrainMapScreen::stations[2]->userWord, 7u);
    EXPECT_EQ(TrainMapScreen::stations[1]->userWord, 0u);

    DrawFrame();
    EXPECT_EQ(PixelAt(99, 300), 0xFF000000u) << "the margin";
    const std::uint32_t shaded = PixelAt(300, 300);
    EXPECT_NEAR(static_cast<int>(shaded >> 16 & 0xFF), 0x80 * 192 / 255, 1);
    EXPECT_NEAR(static_cast<int>(shaded >> 8 & 0xFF), 0x40 * 192 / 255, 1);
    EXPECT_EQ(PixelAt(200, 200), 0xFFFFFFFFu) << "station 1";

    // Station 1 is drawn as the 8 x 8 square (196, 196)-(204, 204).
    const struct {
        int x;
        int y;
        std::int32_t hovered;
        const char* animation;  // of station 1 after the next frame
    } moves[] = {
        {196, 196, 1, "ON.A"}, {203, 203, 1, "ON.A"}, {204, 200, 0, "A"}, {300, 300, 0, "A"}};
    for (const auto& move : moves) {
        SCOPED_TRACE(std::to_string(move.x) + ", " + std::to_string(move.y));
        MovePointer(move.x, move.y);
        EXPECT_EQ(TrainMapScreen::hovered, move.hovered);
        DrawFrame();
        EXPECT_STREQ(TrainMapScreen::stations[1]->GetAnimationName(), move.animation);
        EXPECT_EQ(GetWantedCursorShape(), 2) << "the frame ends with the hand in every case";
    }
}

TEST_F(TrainMapTest, AChoiceIsStoredAndTheNextFrameClosesTheMap) {
    const std::size_t textures = TextureList().size();
    ASSERT_TRUE(TrainMapScreen::AddStation(4, "A", 200, 100));
    TrainMapScreen::AddFigure(4, 8, 3);
    ASSERT_TRUE(TrainMapScreen::Open("visual\\plain"));
    DrawFrame();
    // Only the three mouse messages are the map's.
    for (const UINT message : {WM_LBUTTONUP, WM_RBUTTONDOWN, WM_KEYDOWN, WM_MOUSEWHEEL}) {
        EXPECT_EQ(Send(message), 1) << message;
    }
    EXPECT_EQ(Send(WM_RBUTTONUP), 0);
    EXPECT_EQ(Send(WM_LBUTTONDOWN), 0) << "nothing hovered: nothing chosen";
    EXPECT_EQ(TrainMapScreen::done, 0);

    // A station added while the map is open stays hidden.
    ASSERT_TRUE(TrainMapScreen::AddStation(9, "A", 300, 300));
    DrawFrame();
    EXPECT_NE(PixelAt(250, 300), 0xFFFFFFFFu) << "station 9";
    MovePointer(200, 200);
    EXPECT_EQ(Send(WM_LBUTTONDOWN), 0);
    EXPECT_EQ(Var(kChosenStationVariable), 4);
    EXPECT_EQ(Var(kChosenFigureVariable), 8);
    EXPECT_EQ(GameMode, kGameModeTrainMap) << "until the next frame";
    DrawFrame();
    EXPECT_EQ(GameMode, kGameModeAdventure);
    EXPECT_EQ(ISprite::Count(), 0u);
    EXPECT_EQ(TextureList().size(), textures);
    EXPECT_EQ(TrainMapScreen::hovered, 0);
}

TEST_F(TrainMapTest, AnOpenThatCannotBeMadeLeavesNothingAndKeepsTheMode) {
    const struct {
        const char* name;
        const char* missing;  // a file of the program directory removed first
    } cases[] = {{"no picture", "bmp/visual/plain.png"}, {"no sheet", "sprite/train.kra"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Restart();
        SetVar(kChosenStationVariable, 12);
        SetVar(kChosenFigureVariable, 34);
        const std::size_t textures = TextureList().size();
        ASSERT_TRUE(TrainMapScreen::AddStation(1, "A", 200, 100));
        std::filesystem::remove(dir_->path() + "/" + c.missing);
        EXPECT_FALSE(TrainMapScreen::Open("visual\\plain"));
        EXPECT_EQ(GameMode, kGameModeAdventure);
        EXPECT_EQ(ISprite::Count(), 0u) << "the stations added before went with it";
        EXPECT_EQ(TextureList().size(), textures);
        EXPECT_EQ(Var(kChosenStationVariable), 12);
        EXPECT_EQ(Var(kChosenFigureVariable), 34);
    }
}

}  // namespace
}  // namespace adventure_tests
