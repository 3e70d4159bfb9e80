#include "scene_fixture.h"

#include <algorithm>

#include "adventure/adventure_frame.h"
#include "adventure/adventure_state.h"
#include "adventure/game_mode.h"
#include "adventure/scene.h"
#include "foundation/app_settings.h"
#include "foundation/random.h"
#include "script/game_hooks.h"
#include "support/golden_image.h"

namespace scene_tests {

namespace {

void ResetSceneValues() {
    ResetAdventureFlags();
    SkipActive = 0;
    ScriptWaitFlag = 0;
    QuakeAmplitude = POINT{0, 0};
    QuakeDuration = 0.0;
    EffectReverse = 0;
    TransitionCurve = 0;
}

std::uint32_t Stripes(int x, int y) {
    static const std::uint32_t bands[8] = {0xFFE04040, 0xFFE09040, 0xFFE0E040, 0xFF40C040,
                                           0xFF40C0C0, 0xFF4060E0, 0xFFA040C0, 0xFFF0F0F0};
    if ((x - 400) * (x - 400) + (y - 300) * (y - 300) < 90 * 90) {
        return 0xFFFFFFFF;
    }
    if (x >= 40 && x < 200 && y >= 40 && y < 200) {
        return 0xFF000000;
    }
    return (y / 150) % 2 == 0 ? bands[x / 100] : (bands[x / 100] & 0xFFB0B0B0);
}

std::uint32_t Sky(int, int y) {
    const auto level = static_cast<std::uint32_t>(y / 3);
    return y >= 400 && y < 480 ? 0xFF203040u : 0xFF0000FFu | level << 16 | (level + 40) << 8;
}

}  // namespace

void SceneTest::SetUp() {
    GraphicsTest::SetUp();
    ResetSceneValues();
    GetRandomGenerator().InitGenrand(5489u);
}

void SceneTest::TearDown() {
    ReleaseScene();
    ResetSceneValues();
    LetterboxScale = 0.0;
    LetterboxRect = RECT{};
    GraphicsTest::TearDown();
}

void SceneTest::StartScene(UINT width, UINT height) {
    StartDevice(width, height);
    ScreenWidth = width;
    ScreenHeight = height;
    ComputeLetterbox(width, height, &LetterboxScale, &LetterboxRect);
    WriteImage("visual/stripes.png", 800, 600, graphics_tests::MakeImage(800, 600, Stripes));
    WriteImage("visual/sky.png", 800, 600, graphics_tests::MakeImage(800, 600, Sky));
    WriteImage("visual/patch.png", 200, 100, graphics_tests::MakeImage(200, 100, [](int x, int y) {
                   const bool frame = x < 10 || y < 10 || x >= 190 || y >= 90;
                   return frame ? 0xFFFFFF00u : 0xFFFF00FFu;
               }));
}

void SceneTest::Frame(double seconds) {
    D3D_UpdatePlanes(seconds);
    for (double* timer : {&QuakeTime, &EffectTimer, &TransitionTimeLeft}) {
        *timer = SkipActive != 0 ? 0.0 : std::max(*timer - seconds, 0.0);
    }
    device()->BeginScene();
    RenderAdventureScene(1);
    device()->EndScene();
}

bool SceneTest::Call(BuiltinFunction function, std::vector<ScriptValue> arguments) {
    std::vector<ScriptValue*> list;
    for (ScriptValue& value : arguments) {
        list.push_back(&value);
    }
    return function(ScriptArguments(list));
}

void SceneTest::ExpectSheet(const std::string& name, int columns) {
    const int rows = (static_cast<int>(tiles_.size()) + columns - 1) / columns;
    const int sheetWidth = width_ * columns;
    std::vector<std::uint32_t> sheet(static_cast<std::size_t>(sheetWidth) * height_ * rows);
    for (std::size_t i = 0; i < tiles_.size(); ++i) {
        const int left = static_cast<int>(i) % columns * width_;
        const int top = static_cast<int>(i) / columns * height_;
        for (int y = 0; y < height_; ++y) {
            std::copy_n(tiles_[i].begin() + static_cast<std::ptrdiff_t>(y) * width_, width_,
                        sheet.begin() + static_cast<std::ptrdiff_t>(top + y) * sheetWidth + left);
        }
    }
    EXPECT_EQ(qvn::test::CompareImageWithGolden(name, sheetWidth, height_ * rows, sheet.data(),
                                                sheetWidth),
              "");
}

}  // namespace scene_tests
