// Contact sheets of whole scene frames on a 320 x 240 screen (the 800 x 600 pictures drawn at
// 0.4 with linear filtering), and of the letterbox bars.

#include "adventure/adventure_state.h"
#include "adventure/game_mode.h"
#include "adventure/scene.h"
#include "adventure/scene_effects.h"
#include "scene_fixture.h"

namespace scene_tests {
namespace {

// Left to right: 1 "stripes"; 2 the cross-fade to "sky" at its middle; 3 a quake of (40, 20)
// half over: the snapshot shifted at random within (20, 10), its last place behind; 4 the
// colour picture (64, 128, 192); 5 "stripes" tinted (255, 128, 128); 6 the screen captured
// mid cross-fade, shown as BASE after the fade; 7 "stripes" saved, "sky" shown, "stripes"
// restored; 8 "patch" pasted into BASE at (100, 50) picture pixels.
TEST_F(SceneTest, BackgroundsCrossFadeQuakeAndCaptureSheet) {
    StartScene(320, 240);
    EXPECT_TRUE(Call(BuiltinBackground, {Text("stripes")}));
    Frame(0.0);
    AddTile();
    EXPECT_TRUE(Call(BuiltinBackground, {Text("sky")}));
    StartSceneFade(1000);
    Frame(0.5);
    AddTile();
    Frame(0.6);
    EXPECT_TRUE(Call(BuiltinBackground, {Text("stripes")}));
    EXPECT_FALSE(Call(BuiltinQuake, {Int(40), Int(20), Int(10)}));
    Frame(0.5);
    AddTile();
    Frame(0.5);
    EXPECT_TRUE(Call(BuiltinColourPicture, {Int(64), Int(128), Int(192)}));
    Frame(0.0);
    AddTile();
    EXPECT_TRUE(Call(BuiltinBackground, {Text("stripes")}));
    EXPECT_TRUE(Call(BuiltinBaseColour, {Int(255), Int(128), Int(128)}));
    Frame(0.0);
    AddTile();
    EXPECT_TRUE(Call(BuiltinBackground, {Text("sky")}));
    StartSceneFade(1000);
    Frame(0.5);
    EXPECT_TRUE(Call(BuiltinCaptureScreen, {}));
    Frame(0.6);
    AddTile();
    EXPECT_TRUE(Call(BuiltinBackground, {Text("stripes")}));
    EXPECT_TRUE(Call(BuiltinSavePicture, {}));
    EXPECT_TRUE(Call(BuiltinBackground, {Text("sky")}));
    EXPECT_TRUE(Call(BuiltinRestorePicture, {}));
    Frame(0.0);
    AddTile();
    EXPECT_TRUE(Call(BuiltinBackground, {Text("stripes")}));
    EXPECT_TRUE(Call(BuiltinBackground, {Text("patch"), Int(100), Int(50)}));
    Frame(0.0);
    AddTile();
    ExpectSheet("scene_transitions", 4);
}

// Each tile: "stripes" over a "sky" snapshot, the sub-commands of the BASE animation, a run of
// a second and a frame after `elapsed`. Row 1: move to (-200, -100); a turn of 90 degrees and
// a zoom to 2 about the middle; alpha to 0 (all half way). Row 2: blend modes 2 (additive) and
// 3 (multiply); capture (the move leaves a trail); a length of 0 (at the target at once).
// Row 3: a move to (-400, 0) a quarter of the way through with the curves linear, 1, 2 and 3
// (still 0.75, 0.924, 0.617 and 0.854 of the way to go).
TEST_F(SceneTest, BaseAnimationSubCommandsAndCurvesSheet) {
    StartScene(320, 240);
    struct Animation {
        std::vector<std::vector<ScriptValue>> commands;
        double elapsed;
    };
    const ScriptValue middle[] = {Int(1), Int(400), Int(300)};
    const Animation animations[] = {
        {{{Int(2), Int(200), Int(100)}}, 0.5},
        {{{middle[0], middle[1], middle[2]}, {Int(3), Int(90)}}, 0.5},
        {{{middle[0], middle[1], middle[2]}, {Int(4), ScriptValue::MakeFloat(2.0f)}}, 0.5},
        {{{Int(5), Int(0)}}, 0.5},
        {{{Int(7), Int(2)}}, 0.5},
        {{{Int(7), Int(3)}}, 0.5},
        {{{Int(8), Int(1)}, {Int(2), Int(300), Int(0)}}, 0.1},
        {{{Int(2), Int(200), Int(100)}}, 0.0},
        {{{Int(6), Int(0)}, {Int(2), Int(400), Int(0)}}, 0.25},
        {{{Int(6), Int(1)}, {Int(2), Int(400), Int(0)}}, 0.25},
        {{{Int(6), Int(2)}, {Int(2), Int(400), Int(0)}}, 0.25},
        {{{Int(6), Int(3)}, {Int(2), Int(400), Int(0)}}, 0.25},
    };
    for (const Animation& animation : animations) {
        ReleaseScene();
        ResetAdventureFlags();
        Call(BuiltinBackground, {Text("sky")});
        Call(BuiltinBackground, {Text("stripes")});
        for (const auto& command : animation.commands) {
            EXPECT_TRUE(Call(BuiltinBaseAnimation, command));
        }
        const bool zero = animation.elapsed == 0.0;
        EXPECT_EQ(Call(BuiltinBaseAnimation, {Int(0), Int(zero ? 0 : 10)}), zero);
        for (int i = CaptureMode != 0 ? 5 : 1; i > 0; --i) {
            Frame(animation.elapsed);
        }
        AddTile();
    }
    ExpectSheet("scene_base_animation", 4);
}

// A 200 x 150 screen over white with side margins (letterbox (50, 0, 150, 150)) or top margins
// ((0, 37, 200, 112)): forward 0.75 s before the end (whole, alpha 191) and 0.25 s before (half
// wide, alpha 63); reversed half way (whole, alpha 127) and run out (whole, black); no margin.
TEST_F(SceneTest, LetterboxBarsSheet) {
    StartScene(200, 150);
    struct Bars {
        RECT letterbox;
        double timer;
        std::int32_t reverse;
    };
    const Bars cases[] = {
        {{50, 0, 150, 150}, 0.75, 0}, {{50, 0, 150, 150}, 0.25, 0}, {{0, 37, 200, 112}, 0.25, 0},
        {{0, 37, 200, 112}, 0.5, 1},  {{50, 0, 150, 150}, 0.0, 1},  {{0, 0, 200, 150}, 0.5, 0},
    };
    device()->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    for (const Bars& bars : cases) {
        LetterboxRect = bars.letterbox;
        EffectTimer = bars.timer;
        EffectReverse = bars.reverse;
        device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFFFFFFu, 1.0f, 0);
        device()->BeginScene();
        DrawLetterboxBars();
        device()->EndScene();
        AddTile();
    }
    ExpectSheet("scene_letterbox_bars", 3);
}

}  // namespace
}  // namespace scene_tests
