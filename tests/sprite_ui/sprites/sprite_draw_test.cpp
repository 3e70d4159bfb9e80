// Drawing sprites: the parts of the current frame in each draw mode, mirrored, scaled and
// tinted, as one golden scene; DrawAll's choice of what to draw; the drawn rectangles.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "adventure/game_mode.h"
#include "media/graphics/d3d_functions.h"
#include "sprite_fixture.h"

namespace sprite_tests {
namespace {

class SpriteDrawTest : public SpriteTest {};

std::string RectText(const ISprite* sprite) {
    RECT rect{};
    sprite->GetRect(&rect);
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "-" +
           std::to_string(rect.right) + "," + std::to_string(rect.bottom);
}

TEST_F(SpriteDrawTest, ASceneOfEveryDrawModeMirrorScaleAndTint) {
    // Left half: red, green, blue and white quadrants; right half: a white-to-yellow gradient
    // at half alpha.
    WriteSheet("scene.png", 32, 16, graphics_tests::MakeImage(32, 16, [](int x, int y) {
                   static const std::uint32_t kQuadrants[4] = {0xFFFF0000u, 0xFF00FF00u,
                                                               0xFF0000FFu, 0xFFFFFFFFu};
                   if (x < 16) {
                       return kQuadrants[(y / 8) * 2 + x / 8];
                   }
                   return 0x80FFFF00u | static_cast<std::uint32_t>(255 - (x - 16) * 16);
               }));
    WriteContainer("scene",
                   "magic KRA4\n"
                   "texture 0 mode 0 \"scene.png\"\n"
                   "texture 1 mode 2 \"scene.png\"\n"
                   "texture 2 mode 3 \"scene.png\"\n"
                   "part 0 texture 0 frame 1 src 0,0 16x16 dst 0,0\n"
                   "part 1 texture 0 frame 1 src 16,0 16x16 dst 16,0\n"
                   "part 2 texture 1 frame 2 src 0,0 16x16 dst 0,0\n"
                   "part 3 texture 2 frame 3 src 0,0 16x16 dst 0,0\n"
                   "part 4 texture 7 frame 4 src 0,0 16x16 dst 0,0\n"
                   "part 5 texture 0 frame 4 src 0,0 8x8 dst 4,4\n"
                   "animation 0 \"one\" text \"p1\"\n"
                   "animation 1 \"additive\" text \"p2\"\n"
                   "animation 2 \"inverse\" text \"p3\"\n"
                   "animation 3 \"broken\" text \"p4\"\n",
                   false);
    const struct {
        const char* animation;
        float x;
        float y;
        std::uint32_t flags;
        float scale;
        std::uint32_t colour;
        std::uint32_t blend;
        std::uint32_t filter;
        const char* rect;
    } placements[] = {
        {"one", 4, 4, 0, 1.0f, 0xFFFFFFFFu, 0, kSpriteFilterPoint, "4,4-36,20"},
        {"one", 40, 4, kSpriteMirrorX | kSpriteMirrorY, 1.0f, 0xFFFFFFFFu, 0, kSpriteFilterPoint,
         "40,4-72,20"},
        {"one", 80, 4, 0, 2.0f, 0xFF80FF80u, 0, kSpriteFilterLinear, "80,4-144,36"},
        {"additive", 4, 40, 0, 1.0f, 0xFFFFFFFFu, 0, kSpriteFilterPoint, "4,40-20,56"},
        {"inverse", 40, 40, 0, 1.0f, 0xFFFFFFFFu, 0, kSpriteFilterPoint, "40,40-56,56"},
        {"one", 4, 76, 0, 1.0f, 0xFFFFFFFFu, kSpriteBlendAdditive, kSpriteFilterPoint,
         "4,76-36,92"},
        {"broken", 40, 76, 0, 1.0f, 0xFFFFFFFFu, 0, kSpriteFilterPoint, "44,80-52,88"},
        {"one", 80, 76, kSpriteMirrorX, 1.5f, 0xC0FFFFFFu, 0, kSpriteFilterNone, "80,76-128,100"},
    };
    D3D_ColorFill(nullptr, 0xFF606060u);
    std::vector<ISprite*> sprites;
    for (const auto& p : placements) {
        ISprite* sprite = ISprite::Create("scene");
        ASSERT_NE(sprite, nullptr);
        ASSERT_EQ(sprite->Start(p.animation, kSpriteVisible | kSpritePlaying | p.flags, 0), 1);
        sprite->SetPosition(p.x, p.y);
        sprite->SetScale(p.scale);
        sprite->colour = p.colour;
        sprite->blendMode = p.blend;
        sprite->SetFilter(p.filter);
        sprites.push_back(sprite);
    }
    // Drawn early by its owner, so DrawAll leaves it (drawn twice its translucent half would
    // be darker); hidden ones are not drawn; one without its frame's parts draws nothing.
    sprites[7]->DrawParts();
    ISprite* hidden = ISprite::Create("scene");
    hidden->Start("one", kSpritePlaying, 0);
    hidden->SetPosition(120, 40);
    ISprite* noFrame = ISprite::Create("scene");
    noFrame->SetVisible(true);

    ISprite::DrawAll(0);
    ExpectGolden("sprite_scene");
    for (std::size_t i = 0; i < sprites.size(); ++i) {
        EXPECT_EQ(RectText(sprites[i]), placements[i].rect) << i;
    }
    EXPECT_EQ(RectText(hidden), "0,0-0,0") << "never drawn";
    EXPECT_EQ(RectText(noFrame), "9999,9999-0,0") << "drawn with no part";
    EXPECT_EQ(CountLogLines("ISprite::Load: " + WinPath("sprite\\scene.kra") +
                            ": part 4 names texture 7 of 3; it is not drawn"),
              1);
    ISprite::DeleteAll();
}

TEST_F(SpriteDrawTest, ADesignPositionIsPlacedIntoTheLetterbox) {
    WriteQuadrantSheet("q.png");
    WriteContainer("q", "magic KRA2\ntexture 0 mode 0 \"q.png\"\n");
    ISprite* sprite = ISprite::Create("q");
    ASSERT_NE(sprite, nullptr);
    const struct {
        double scale;
        RECT letterbox;
        float x;
        float y;
        std::uint32_t filter;
    } cases[] = {
        {1.0, {0, 0, 800, 600}, 100.0f, 50.0f, kSpriteFilterPoint},
        {1.8, {240, 0, 1680, 1080}, 420.0f, 90.0f, kSpriteFilterLinear},
    };
    for (const auto& c : cases) {
        LetterboxScale = c.scale;
        LetterboxRect = c.letterbox;
        PlaceSpriteScaled(sprite, 100.0f, 50.0f);
        float x = 0;
        float y = 0;
        sprite->GetPositionFloat(&x, &y);
        EXPECT_FLOAT_EQ(x, c.x);
        EXPECT_FLOAT_EQ(y, c.y);
        EXPECT_FLOAT_EQ(sprite->scaleX, static_cast<float>(c.scale));
        EXPECT_EQ(sprite->filter, c.filter);
    }
    LetterboxScale = 0.0;
    LetterboxRect = {};
    ISprite::Delete(sprite);
}

std::string ReadDemoFile(const std::string& relative) {
    std::ifstream in(std::string(QVN_SOURCE_DIR) + "/demo/sprite/" + relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST_F(SpriteDrawTest, TheDemoContainersHoldWhatTheGameStartsAndDrawAScene) {
    StartDevice(800, 600);
    for (const char* sheet : {"mowl.png", "train.png", "stand/hina.png", "stand/sora.png"}) {
        dir_->writeFile(std::string("sprite/") + sheet, ReadDemoFile(sheet));
    }
    for (const char* name : {"mowl", "train", "stand/hina", "stand/sora"}) {
        WriteContainer(name, ReadDemoFile(std::string(name) + ".txt"));
    }
    // Each animation the mascot, the stands and the train map start, with its length.
    const struct {
        const char* container;
        const char* animation;
        std::uint32_t length;
    } animations[] = {
        {"mowl", "awake", 210},         {"mowl", "mowl", 2000},
        {"mowl", "goodnight", 270},     {"mowl", "sleep", 900},
        {"stand\\hina", "stand", 2000}, {"stand\\hina", "wink", 200},
        {"stand\\sora", "begin", 270},  {"stand\\sora", "stand", 2000},
        {"stand\\sora", "wink1", 200},  {"stand\\sora", "wink2", 300},
        {"train", "0", 1000},           {"train", "", 20},
        {"train", "JULY", 20},          {"train", "SUNDAY5", 20},
        {"train", "ON/OFF", 600},       {"train", "ON.ST3", 400},
    };
    for (const auto& a : animations) {
        SCOPED_TRACE(std::string(a.container) + " " + a.animation);
        ISprite* sprite = ISprite::Create(a.container);
        ASSERT_NE(sprite, nullptr);
        EXPECT_EQ(sprite->RunToEnd(a.animation, 1), a.length);
        ISprite::Delete(sprite);
    }

    // The letterboxed stage at its own size: two stands in the left and right slots, the mascot
    // asleep at the corner, a station hovered on the calendar.
    D3D_ColorFill(nullptr, 0xFF305080u);
    const struct {
        const char* container;
        const char* animation;
        float x;
        float y;
        std::uint32_t ticks;
    } scene[] = {
        {"stand\\hina", "wink", 200, 600, 120}, {"stand\\sora", "begin", 600, 600, 0},
        {"mowl", "sleep", 760, 572, 500},       {"train", "JULY", 20, 20, 0},
        {"train", "SUNDAY3", 96, 20, 0},        {"train", "0", 20, 20, 600},
        {"train", "ON/OFF", 240, 60, 0},        {"train", "ON.ST1", 240, 60, 0},
    };
    for (const auto& placed : scene) {
        ISprite* sprite = ISprite::Create(placed.container);
        ASSERT_NE(sprite, nullptr);
        ASSERT_EQ(sprite->Start(placed.animation, kSpriteVisible | kSpritePlaying | kSpriteLoop,
                                placed.ticks),
                  1);
        sprite->SetPosition(placed.x, placed.y);
    }
    ISprite::DrawAll(0);
    ExpectGolden("sprite_demo_scene");
    ISprite::DeleteAll();
}

}  // namespace
}  // namespace sprite_tests
