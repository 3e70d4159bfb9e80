// The scene's rules: what each built-in function answers and leaves behind, the cross-fade's
// hold on the script, the quake's range, BASE's placement in a letterbox with margins, and the
// end of a captured animation.

#include <cstdio>
#include <functional>
#include <string>

#include "adventure/adventure_frame.h"
#include "adventure/adventure_state.h"
#include "adventure/game_mode.h"
#include "adventure/scene.h"
#include "media/graphics/texture.h"
#include "scene_fixture.h"
#include "script/game_hooks.h"

namespace scene_tests {
namespace {

// BASE (name, position, ARGB or -), FADE, the saved picture, the transition, the wait flag,
// the quake, the bars, the blend mode, the capture and the curve.
std::string SceneState() {
    char text[256];
    char base[64] = "-";
    if (BasePlane != nullptr) {
        std::snprintf(base, sizeof base, "%s@%g,%g:%08X", BasePlane->texture->name.c_str(),
                      BasePlane->x, BasePlane->y, BasePlane->colour);
    }
    std::snprintf(text, sizeof text,
                  "base %s fade %d saved %d anim %g wait %d quake %g "
                  "bars %g/%d blend %u capture %d curve %d",
                  base, FadePlane != nullptr, SavedScenePicture != nullptr, TransitionDuration,
                  ScriptWaitFlag, QuakeTime, EffectTimer, EffectReverse, BlendMode, CaptureMode,
                  TransitionCurve);
    return text;
}

// Each step's result and a part of the state it leaves (SceneState's words).
TEST_F(SceneTest, BuiltinResultsAndWhatTheyLeave) {
    StartScene(320, 240);
    struct Step {
        BuiltinFunction function;
        std::vector<ScriptValue> arguments;
        bool result;
        const char* state;
    };
    const Step steps[] = {
        {BuiltinWaitBaseAnimation, {}, true, "base - fade 0 saved 0 anim 0 wait 0"},
        {BuiltinSavePicture, {}, false, "base - fade 0 saved 0"},
        {BuiltinRestorePicture, {}, false, "base - fade 0 saved 0"},
        {BuiltinBaseColour, {Int(1), Int(2), Int(3)}, true, "base - fade 0"},
        {BuiltinBackground, {Text("patch"), Int(0), Int(0)}, false, "base - fade 0"},
        {BuiltinBackground, {Text("none")}, true, "base - fade 1"},
        {BuiltinBackground, {Text("stripes")}, true, "base BASE@0,0:FFFFFFFF fade 1"},
        {BuiltinRestorePicture, {}, false, "saved 0"},
        {BuiltinBackground, {Text("none"), Int(1), Int(2)}, false, "BASE@0,0"},
        {BuiltinBackground, {Text("patch"), Int(-50), Int(550)}, true, "BASE@0,0"},
        {BuiltinBaseAnimation, {Int(5), Int(300)}, true, "FFFFFFFF fade 1 saved 0 anim 0"},
        {BuiltinBaseAnimation, {Int(2), Int(10), Int(20)}, true, "BASE@0,0"},
        {BuiltinBaseAnimation, {Int(0), Int(10)}, false, "anim 1 wait 0"},
        {BuiltinWaitBaseAnimation, {}, false, "anim 1 wait 1"},
        {BuiltinSceneRender, {}, true, "BASE@0,0:FFFFFFFF"},
        // A negative length applies the targets at once; alpha 300 stays 255.
        {BuiltinBaseAnimation,
         {Int(0), Int(-5)},
         true,
         "BASE@-4,-8:FFFFFFFF fade 1 saved 0 anim 0"},
        {BuiltinWaitBaseAnimation, {}, true, "anim 0 wait 0"},
        // The pivot moves onto the middle (160, 120) and the picture stays in place.
        {BuiltinBaseAnimation, {Int(1), Int(400), Int(300)}, true, "BASE@156,112"},
        {BuiltinBaseAnimation, {Int(6), Int(3)}, true, "curve 3"},
        {BuiltinBaseAnimation, {Int(9), Int(1)}, true, "blend 1 capture 0 curve 3"},
        {BuiltinBaseAnimation, {Int(7), Int(2)}, true, "blend 2 capture 0"},
        {BuiltinBaseAnimation, {Int(8), Int(1)}, true, "blend 2 capture 1"},
        {BuiltinBaseAnimation, {}, true, "anim 0"},
        {BuiltinQuake, {Int(3), Int(-4), Int(15)}, false, "quake 1.5 bars 0/0"},
        {BuiltinLetterbox, {Int(1)}, false, "bars 0/0"},
        {BuiltinSavePicture, {}, true, "saved 1"},
        {BuiltinRestorePicture, {}, true, "base BASE@0,0:FFFFFFFF fade 1 saved 0"},
        {BuiltinBaseColour, {Int(0x11), Int(0x22), Int(0x133)}, true, "BASE@0,0:FF112233"},
        {BuiltinColourPicture, {Int(1), Int(2), Int(3)}, true, "BASE@0,0:FFFFFFFF"},
    };
    int number = 0;
    for (const Step& step : steps) {
        ++number;
        ScriptWaitFlag = 0;
        EXPECT_EQ(Call(step.function, step.arguments), step.result) << "step " << number;
        EXPECT_NE(SceneState().find(step.state), std::string::npos)
            << "step " << number << ": " << SceneState();
    }
    EXPECT_EQ(BasePlane->z, 0.1f);
    EXPECT_EQ(FadePlane->colour, 0xFFFFFFFFu);
}

TEST_F(SceneTest, CrossFadeHoldsTheScriptOnceAndEndsWhenSkipping) {
    StartScene(320, 240);
    StartSceneFade(300);
    EXPECT_EQ(BlockingCount, 0) << "no FADE, no fade";
    RenderAdventureScene(0);
    struct Moment {
        const char* name;
        std::function<void()> action;
        std::int32_t blocking;
        std::uint32_t remaining;
        std::uint32_t alpha;
    };
    const Moment moments[] = {
        {"start", [] { StartSceneFade(400); }, 1, 400, 255},
        {"started again", [] { StartSceneFade(200); }, 1, 200, 255},
        {"50.9 ms", [this] { Frame(0.0509); }, 1, 150, 191},
        {"skipping ends it", [this] { SkipActive = 1, Frame(0.0); }, 0, 0, 191},
        {"none starts while skipping", [] { StartSceneFade(300); }, 0, 0, 191},
        {"a zero fade", [] { SkipActive = 0, StartSceneFade(0); }, 1, 0, 255},
        {"ends in the next frame", [this] { Frame(0.0); }, 0, 0, 255},
        {"to the end", [this] { StartSceneFade(100), Frame(0.1); }, 0, 0, 255},
    };
    for (const Moment& moment : moments) {
        moment.action();
        EXPECT_EQ(BlockingCount, moment.blocking) << moment.name;
        EXPECT_EQ(FadePlane->gameData, moment.remaining) << moment.name;
        EXPECT_EQ(FadePlane->colour >> 24, moment.alpha) << moment.name;
        EXPECT_EQ(FadePlane->updateCallback != nullptr, moment.blocking != 0) << moment.name;
    }
    StartSceneFade(300);
    ReleaseScene();
    EXPECT_EQ(BlockingCount, 0) << "a fade released with its plane lets the script go on";
}

TEST_F(SceneTest, QuakeShakesWithinItsMagnitude) {
    StartScene(320, 240);
    Call(BuiltinBackground, {Text("stripes")});
    Frame(0.0);
    const std::vector<std::uint32_t> still = ReadTarget();
    EXPECT_FALSE(Call(BuiltinQuake, {Int(0), Int(0), Int(10)}));
    Frame(0.1);
    EXPECT_EQ(ReadTarget(), still) << "amplitude (0, 0) leaves the snapshot in place";
    EXPECT_FALSE(Call(BuiltinQuake, {Int(-6), Int(0), Int(10)}));
    float lowest = 0.0f;
    float highest = 0.0f;
    for (int i = 0; i < 80; ++i) {
        Frame(0.0);
        lowest = std::min(lowest, FadePlane->x);
        highest = std::max(highest, FadePlane->x);
        ASSERT_EQ(FadePlane->y, 0.0f);
    }
    EXPECT_EQ(lowest, -6.0f) << "a negative amplitude shakes both ways";
    EXPECT_EQ(highest, 5.0f);
    Frame(1.0);
    EXPECT_EQ(ReadTarget(), still) << "over: BASE again";
}

// 1024 x 600: LetterboxScale 1.0 and side margins of 112 pixels.
TEST_F(SceneTest, BaseInALetterboxWithMargins) {
    StartScene(1024, 600);
    ASSERT_EQ(LoadBasePlane("visual\\stripes"), D3D_OK);
    EXPECT_EQ(BasePlane->filter, D3DTEXF_POINT);
    EXPECT_FLOAT_EQ(BasePlane->vertices[0].x, 111.5f);
    EXPECT_FLOAT_EQ(BasePlane->vertices[3].y, 599.5f);
    EXPECT_FLOAT_EQ(BasePlane->vertices[3].u,
                    800.0f / static_cast<float>(BasePlane->texture->width));
    BasePlane->SetPosition(-300.0f, 0.0f, 0.1f);
    Frame(0.0);
    EXPECT_EQ(PixelAt(111, 100), 0xFF000000u) << "clipped to the letterbox";
    EXPECT_EQ(PixelAt(112, 0), 0xFF40C040u) << "picture x 300";

    D3DTexture* picture = nullptr;
    ASSERT_EQ(D3D_LoadTexture(WinPath("bmp\\visual\\sky.png").c_str(), &picture, 0, 0,
                              D3DFMT_UNKNOWN, D3DPOOL_MANAGED, 1),
              D3D_OK);
    ASSERT_EQ(CaptureBasePlane(picture), D3D_OK);
    picture->Release();
    Frame(0.0);
    EXPECT_EQ(PixelAt(111, 0), 0xFF000000u);
    EXPECT_EQ(PixelAt(112, 0), 0xFF0028FFu) << "the picture at the letterbox's corner";
    EXPECT_EQ(PixelAt(911, 420), 0xFF203040u);
    EXPECT_EQ(PixelAt(912, 420), 0xFF000000u);

    EXPECT_FALSE(Call(BuiltinLetterbox, {Int(2)}));
    EXPECT_EQ(EffectTimer, 1.0);
    EXPECT_EQ(EffectReverse, 2);
}

TEST_F(SceneTest, CapturedAnimationKeepsItsLastFrame) {
    StartScene(320, 240);
    Call(BuiltinBackground, {Text("stripes")});
    Call(BuiltinBaseAnimation, {Int(8), Int(1)});
    Call(BuiltinBaseAnimation, {Int(4), ScriptValue::MakeFloat(0.5f)});
    Call(BuiltinBaseAnimation, {Int(7), Int(2)});
    EXPECT_FALSE(Call(BuiltinBaseAnimation, {Int(0), Int(3)}));
    for (int i = 0; i < 3; ++i) {
        Frame(0.125);
    }
    const std::vector<std::uint32_t> last = ReadTarget();
    EXPECT_EQ(SceneState(),
              "base BASE@0,0:FFFFFFFF fade 1 saved 0 anim 0 wait 0 quake 0 bars 0/0 blend 1 "
              "capture 0 curve 0");
    EXPECT_EQ(BasePlane->scaleX, 1.0f) << "a blank BASE holds the frame";
    Frame(0.1);
    EXPECT_EQ(ReadTarget(), last);
}

}  // namespace
}  // namespace scene_tests
