// The train map in the whole game: a script opens it five times over the demo's map, each time
// with another calendar, while tests/fixtures/replay/train_map.timeline hovers and clicks. One
// golden image shows the stations, the figures, the hover markers and every calendar; each
// choice stores the station's key in variable 16 and the figure's in 17, plays "se001", and the
// script goes on after the open in the next frame; an open that fails changes neither.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adventure/game_mode.h"
#include "adventure/train_map_screen.h"
#include "foundation/app_settings.h"
#include "media/sound/direct_sound.h"
#include "media/sound/ds_sound.h"
#include "media/sound/sound_test_support.h"
#include "replay_harness.h"
#include "script/script_variables.h"
#include "support/golden_image.h"

namespace qvn::test {
namespace {

// Variable 9 counts the openings the script went on after; 6 follows the failed open.
constexpr const char* kStart = R"(
.locals 0
*top
    invoke 0 103 612 16
    set g12 1                       ; January, week 1, a weekday
    set g13 1
    set g14 0
    callfile "*" "stations"
    invoke 0 102 3 1 1              ; hina at MINATO
    invoke 0 102 2 2 2              ; sora waving at OKA
    invoke 0 102 4 1 2              ; hina again: only the first stays
    invoke 0 102 4 3 1              ; no figure container ch03
    invoke 0 102 9 2 1              ; sora again
    invoke 0 100 "map"
    set g9 1
    set g12 7                       ; July, week 3, a Saturday
    set g13 3
    set g14 1
    callfile "*" "stations"
    invoke 0 100 "map"
    set g9 2
    set g12 12                      ; December, week 5, a Sunday
    set g13 5
    set g14 2
    callfile "*" "stations"
    invoke 0 102 2 2 1              ; sora standing at OKA
    invoke 0 100 "map"
    set g9 3
    set g12 0                       ; no month, week 2, a day type past the table
    set g13 2
    set g14 3
    callfile "*" "stations"
    invoke 0 100 "map"
    set g9 4
    set g12 -1                      ; a negative month and day type
    set g13 4
    set g14 -1
    callfile "*" "stations"
    invoke 0 100 "map"
    set g9 5
    invoke 0 100 "missing"
    set g9 6
@wait
    invoke 0 0 l0 l0
    jump @wait

; The demo's four stations, one that is hovered but never chosen (key -2), and an overlapping
; pair (5 under 6); a second station 6 is dropped.
*stations
    invoke 0 101 1 "ST1" 170 200
    invoke 0 101 2 "ST2" 380 320
    invoke 0 101 3 "ST3" 640 450
    invoke 0 101 4 "ST4" 200 470
    invoke 0 101 -2 "ST1" 500 200
    invoke 0 101 5 "ST2" 300 120
    invoke 0 101 6 "ST3" 310 120
    invoke 0 101 6 "ST4" 700 300
    return
)";

constexpr int kLastTick = 59;
// The golden image: the whole screen above a row of six squares cut from other frames.
constexpr int kImageWidth = 900;
constexpr int kImageHeight = 752;
constexpr int kSquare = 148;
constexpr DWORD kChoiceSoundRate = 11025;

// What the game shows at the start of a tick, before its events and frame.
struct TickState {
    int mode = 0;
    std::int32_t var9 = 0;
    std::int32_t var16 = 0;
    std::int32_t var17 = 0;
    int choiceSounds = 0;  // one-shot "se001" sounds at the choice volume
};

int ChoiceSounds() {
    int count = 0;
    for (DSSound* sound : gDirectSound->Sounds()) {
        WAVEFORMATEX format{};
        LONG volume = 1;
        sound->Buffer()->GetFormat(&format, sizeof format, nullptr);
        sound->GetVolume(&volume);
        count += format.nSamplesPerSec == kChoiceSoundRate && sound->DeletesWhenStopped() &&
                         sound->CreationFlags() == 128 &&
                         volume == static_cast<LONG>(SoundVolume) - 10000
                     ? 1
                     : 0;
    }
    return count;
}

std::int32_t Var(std::uint32_t index) {
    return static_cast<std::int32_t>(GetVar(index));
}

// Copies the `width` x `height` area of `capture` whose centre is (x, y) to (left, top) of
// `image`.
void Paste(const ReplayCapture& capture, int x, int y, int width, int height,
           std::vector<std::uint32_t>* image, int left, int top) {
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            (*image)[static_cast<std::size_t>(top + row) * kImageWidth + left + column] =
                capture.frame.argb[static_cast<std::size_t>(y - height / 2 + row) * 800 + x -
                                   width / 2 + column];
        }
    }
}

TEST(TrainMapReplayTest, StationsAreHoveredAndChosenOverEveryCalendar) {
    ReplayHarness game;
    CopyDemoGame(game.dir());
    game.PrepareGame(kStart);
    game.SetSetting("SoundVolume", 7000);
    game.dir().writeFile("sound/se001.wav",
                         WaveFile(std::vector<std::uint8_t>(2205, 0), 1, kChoiceSoundRate, 16));
    game.LoadTimeline("train_map");
    std::vector<TickState> states(kLastTick + 1);
    for (int tick = 1; tick <= kLastTick; ++tick) {
        game.AddAction(tick, [&states, tick] {
            states[tick] = {GameMode, Var(9), Var(16), Var(17), ChoiceSounds()};
        });
    }
    bool released = false;
    game.AddAction(kLastTick, [&released] {
        released = TrainMapScreen::background == nullptr && TrainMapScreen::baseSprite == nullptr &&
                   TrainMapScreen::stations.empty() && TrainMapScreen::figures.empty();
    });
    EXPECT_EQ(game.Run(), 0);
    EXPECT_TRUE(game.problems().empty());

    // Clicks on the station with key -2 and beside every station change nothing.
    for (int tick = 3; tick <= 20; ++tick) {
        EXPECT_EQ(states[tick].mode, kGameModeTrainMap) << tick;
        EXPECT_EQ(states[tick].var16, 0) << tick;
        EXPECT_EQ(states[tick].choiceSounds, 0) << tick;
    }
    const struct {
        int tick;  // of the click
        std::int32_t station;
        std::int32_t figure;
    } choices[] = {{20, 3, 1}, {26, 6, 0}, {31, 2, 2}, {36, 1, 0}, {41, 4, 0}};
    for (int i = 0; i < 5; ++i) {
        const int tick = choices[i].tick;
        SCOPED_TRACE("the click at " + std::to_string(tick));
        EXPECT_EQ(states[tick].mode, kGameModeTrainMap);
        EXPECT_EQ(states[tick + 1].mode, kGameModeAdventure) << "closed in the click's frame";
        EXPECT_EQ(states[tick + 1].var16, choices[i].station);
        EXPECT_EQ(states[tick + 1].var17, choices[i].figure);
        EXPECT_EQ(states[tick + 1].choiceSounds, i + 1);
        EXPECT_EQ(states[tick + 1].var9, i) << "the script still waits";
        EXPECT_EQ(states[tick + 2].var9, i + 1) << "and goes on in the next frame";
    }
    // The failed open: the mode stays, the script goes on in the next frame, 16 and 17 stay.
    EXPECT_EQ(states[43].var9, 5);
    EXPECT_EQ(states[44].var9, 6);
    for (int tick = 42; tick <= kLastTick; ++tick) {
        EXPECT_EQ(states[tick].mode, kGameModeAdventure) << tick;
        EXPECT_EQ(states[tick].var16, 4) << tick;
        EXPECT_EQ(states[tick].var17, 0) << tick;
    }
    EXPECT_TRUE(released);
    const std::string log = game.Log();
    for (const char* line : {"\\bmp\\visual\\missing.png", "\\sprite\\ch03.kra",
                             "TrainMapScreen::AddStation: error. key(6) already present",
                             "TrainMapScreen::AddFigure: error. key(1) already present",
                             "TrainMapScreen::AddFigure: error. key(2) already present"}) {
        EXPECT_NE(log.find(line), std::string::npos) << line;
    }

    // MINATO hovered on January's map above; below, the station with key -2 and the overlapping
    // pair hovered, then the calendars of July, December, no month and a negative month.
    std::vector<std::uint32_t> image(static_cast<std::size_t>(kImageWidth) * kImageHeight);
    const ReplayCapture* full = game.FindCapture("minato_hovered");
    ASSERT_TRUE(full != nullptr && full->drawn);
    Paste(*full, 400, 300, 800, 600, &image, 50, 0);
    const struct {
        const char* capture;
        int x;
        int y;
    } crops[] = {{"negative_key_hovered", 500, 200},
                 {"overlap_hovered", 305, 120},
                 {"july", 686, 90},
                 {"december", 686, 90},
                 {"no_month", 686, 90},
                 {"negative_month", 686, 90}};
    int left = 3;
    for (const auto& crop : crops) {
        const ReplayCapture* capture = game.FindCapture(crop.capture);
        ASSERT_TRUE(capture != nullptr && capture->drawn) << crop.capture;
        Paste(*capture, crop.x, crop.y, kSquare, kSquare, &image, left, 602);
        left += kSquare + 1;
    }
    EXPECT_EQ(CompareImageWithGolden("train_map_replay", kImageWidth, kImageHeight, image.data(),
                                     kImageWidth),
              "");
}

}  // namespace
}  // namespace qvn::test
