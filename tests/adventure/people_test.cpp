// Standing characters, faces and the mascot with the demo's own containers and pictures: the
// three places and the slot rules as one golden sheet on a screen with side margins, names cut
// to their field, blinking over many cycles, the face's slide as the window fades, and the
// mascot's animations and how it follows the game's modes.

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "adventure/adventure_frame.h"
#include "adventure/face.h"
#include "adventure/game_mode.h"
#include "adventure/mascot.h"
#include "adventure/message_window.h"
#include "adventure/scene.h"
#include "adventure/stand.h"
#include "foundation/app_settings.h"
#include "foundation/random.h"
#include "media/graphics/plane.h"
#include "media/graphics/texture.h"
#include "people_fixture.h"
#include "support/golden_image.h"

namespace adventure_tests {
namespace {

using Strings = std::vector<std::string>;

class StandTest : public PeopleTest {
protected:
    // Every other pixel of rows `top`..`top` + 2 x height of the target, from column `left`.
    std::vector<std::uint32_t> Half(int left, int top, int width, int height) {
        const std::vector<std::uint32_t> pixels = ReadTarget();
        std::vector<std::uint32_t> half;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                half.push_back(
                    pixels[static_cast<std::size_t>(top + 2 * y) * width_ + left + 2 * x]);
            }
        }
        return half;
    }

    void DrawScene() {
        device()->BeginScene();
        RenderAdventureScene(1);
        device()->EndScene();
    }

    static Strings Names() {
        Strings names;
        for (const StandSprite* stand : StandList) {
            names.push_back(std::string(stand->name) + "@" + std::to_string(stand->slot) + "@" +
                            std::to_string(static_cast<int>(stand->x)));
        }
        return names;
    }
};

// A screen 960 wide: the letterbox (80, 0, 880, 600) leaves a margin at each side, of which the
// 800-pixel target shows the left one. The places are the margin plus a quarter, a half and
// three quarters of 800.
TEST_F(StandTest, StandsTakeTheirPlacesAndReplaceEachOtherBySlot) {
    ComputeLetterbox(960, 600, &LetterboxScale, &LetterboxRect);
    ASSERT_EQ(LetterboxRect.left, 80);
    ASSERT_EQ(LoadBasePlane(nullptr), S_OK);
    BasePlane->texture->ColorFill(nullptr, 0xFF283C64u);
    const struct {
        const char* name;
        std::uint32_t slot;
        Strings expected;
    } steps[] = {
        {"hina", static_cast<std::uint32_t>(kStandSlotLeft), {"hina@-1@480"}},
        {"sora", static_cast<std::uint32_t>(kStandSlotRight), {"hina@-1@280", "sora@-2@680"}},
        {"kai",
         static_cast<std::uint32_t>(kStandSlotCentre),
         {"hina@-1@280", "sora@-2@680", "kai@-3@480"}},
        // An empty name only removes, and nothing moves.
        {"", static_cast<std::uint32_t>(kStandSlotCentre), {"hina@-1@280", "sora@-2@680"}},
        // Slot 0 replaces the last stand and takes its place.
        {"kai", 0, {"hina@-1@280", "kai@-2@680"}},
        // A slot of the script's own keeps its x within the letterbox through later layouts.
        {"sora", 7, {"hina@-1@280", "kai@-2@680", "sora@7@80"}},
        {"hina",
         static_cast<std::uint32_t>(kStandSlotLeft),
         {"kai@-2@680", "sora@7@80", "hina@-1@280"}},
        {"nobody",
         static_cast<std::uint32_t>(kStandSlotLeft),
         {"kai@-2@680", "sora@7@80", "hina@-1@280"}},
    };
    std::vector<std::uint32_t> sheet;
    int tile = 0;
    for (const auto& step : steps) {
        SCOPED_TRACE(std::string(step.name) + " at " + std::to_string(static_cast<int>(step.slot)));
        EXPECT_EQ(AddStand(step.name, step.slot), std::strcmp(step.name, "nobody") != 0);
        EXPECT_EQ(Names(), step.expected);
        DrawScene();
        if (tile++ < 6) {
            const std::vector<std::uint32_t> half = Half(0, 200, 400, 200);
            sheet.insert(sheet.end(), half.begin(), half.end());
        }
    }
    // Six tiles of 400 x 200, one above the other: one stand, two, three, one removed, one
    // replaced by slot 0, one at a slot of the script's own.
    EXPECT_EQ(qvn::test::CompareImageWithGolden("stand_places", 400, 1200, sheet.data(), 400), "");
    for (const StandSprite* stand : StandList) {
        EXPECT_EQ(stand->y, 600.0f);
        EXPECT_EQ(stand->scaleX, 1.0f);
        EXPECT_EQ(stand->filter, kSpriteFilterPoint);
    }
    ClearStands();
    EXPECT_TRUE(StandList.empty());
}

TEST_F(StandTest, NamesAreCutToTheirFieldOnACharacterBoundary) {
    const char* source =
        "magic KRA2\nframes 2\ntexture 0 mode 0 \"hina.png\"\n"
        "part 0 texture 0 frame 1 src 0,0 160x400 dst -80,-400\n"
        "animation 0 \"stand\" text \"s2000 p1\"\n";
    const char* longName =
        "\xe3\x81\xb2\xe3\x81\xaa\xe3\x81\x9f\xe3\x81\xbc\xe3\x81\xa3"
        "\xe3\x81\x93\xe6\x97\xa5\xe5\x92\x8c\xe3\x81\xae\xe3\x83\x92"
        "\xe3\x83\x8a";  // ひなたぼっこ日和のヒナ: 11 characters, 22 bytes
    WriteContainer("stand/abcdefghijklmnopqrst", source);
    WriteContainer(std::string("stand/") + longName, source);
    const std::string sjis = Sjis(longName);
    ASSERT_TRUE(AddStand("abcdefghijklmnopqrst", static_cast<std::uint32_t>(kStandSlotLeft)));
    ASSERT_TRUE(AddStand(sjis.c_str(), static_cast<std::uint32_t>(kStandSlotRight)));
    EXPECT_STREQ(StandList[0]->name, "abcdefghijklmno");
    EXPECT_EQ(std::string(StandList[1]->name), sjis.substr(0, 14)) << "seven whole characters";
    EXPECT_EQ(FindStand(sjis.c_str()), StandList[1]);
    ClearStands();
}

// Each character blinks over two minutes of frames of 16 and 17 ms: every blink shows all its
// frames in order, starts only when "stand" ends with the countdown run out, and is followed by
// "stand" with a new countdown of 2 to 5 seconds; an event of the blink fires once per blink.
TEST_F(StandTest, StandsBlinkOverManyCyclesWithoutSkippingAFrameOrAnEvent) {
    WriteContainer("stand/blinker", R"(magic KRA2
frames 4
texture 0 mode 0 "hina.png"
part 0 texture 0 frame 1 src 0,0 160x400 dst -80,-400
part 1 texture 0 frame 2 src 0,0 160x400 dst -80,-400
part 2 texture 0 frame 3 src 0,0 160x400 dst -80,-400
animation 0 "stand" text "s700 p1"
animation 1 "wink" text "s40 p2,a,3,b,2,1"
)");
    GetRandomGenerator().InitGenrand(77u);
    const std::map<std::string, std::map<std::string, Strings>> blinks = {
        {"hina", {{"wink", {"2", "3", "2", "1"}}}},
        {"sora", {{"wink1", {"2", "3", "2", "1"}}, {"wink2", {"2", "3", "2", "3", "2", "1"}}}},
        {"kai", {{"wink", {"2", "3", "2", "1"}}}},
        {"blinker", {{"wink", {"2", "a", "3", "b", "2", "1"}}}},
    };
    for (const auto& [name, kinds] : blinks) {
        SCOPED_TRACE(name);
        ClearStands();
        ASSERT_TRUE(AddStand(name.c_str(), 0));
        StandSprite* stand = StandList.front();
        Strings seen;  // frames and events of the running blink
        stand->SetEventCallback(
            [](ISprite*, std::uint32_t event, void* context) {
                static_cast<Strings*>(context)->push_back(
                    std::string(1, static_cast<char>('a' + event)));
                return 1;
            },
            &seen);
        std::map<std::string, int> counts;
        std::string last = stand->GetAnimationName();
        std::uint32_t lastFrame = stand->frame;
        std::uint32_t countdownBefore = 0;
        for (int step = 0; step < 7200; ++step) {
            stand->Step(step % 3 == 0 ? 17 : 16);
            const std::string now = stand->GetAnimationName();
            if (now != last) {
                if (kinds.count(last) != 0) {
                    EXPECT_EQ(seen, kinds.at(last)) << "blink " << counts[last];
                    EXPECT_EQ(now, "stand");
                    EXPECT_GE(stand->blinkCountdown, 1500u);
                    EXPECT_LE(stand->blinkCountdown, 5000u);
                }
                if (kinds.count(now) != 0) {
                    ++counts[now];
                    EXPECT_TRUE(last == "stand" || last == "begin") << last;
                    EXPECT_EQ(countdownBefore, 0u) << "a blink only after the countdown";
                    seen.clear();
                }
                last = now;
                lastFrame = kSpriteNoFrame;
            }
            if (kinds.count(now) != 0 && stand->frame != lastFrame) {
                seen.push_back(std::to_string(stand->frame));
            }
            lastFrame = stand->frame;
            countdownBefore = stand->blinkCountdown;
        }
        int total = 0;
        for (const auto& [kind, count] : counts) {
            total += count;
        }
        EXPECT_GE(total, 18) << "about one blink in 2.5 to 6 seconds";
        for (const auto& [kind, sequence] : kinds) {
            EXPECT_GT(counts[kind], 0) << kind;
        }
    }
    ClearStands();
}

// The window closes over 0.2 s: midway (k = 0.5) the face stands half its width left of the
// letterbox's edge at half its alpha while the text fades. A name beginning with "*", or a
// picture that does not load, leaves no face.
TEST_F(PeopleTest, FaceSlidesOutAsTheWindowFades) {
    WndColor = 0xFF305078u;
    WriteScript("start", R"(
*top
    invoke 1 "ヒナ"
    invoke 5 "hina"
    text "「顔が左から入ってくる。」"
    invoke 2
    return
)");
    StartScript("start");
    Frame();
    ASSERT_NE(FacePlane, nullptr);
    EXPECT_EQ(FacePlane->name, "hina.png");
    EXPECT_EQ(FacePlane->x, 0.0f);
    Frame({{57}});  // Space: the window closes with its fade
    Frame({}, 0.1);
    Frame({}, 0.0);  // the planes take the fade's state at the start of a frame
    EXPECT_FLOAT_EQ(FacePlane->x, -120.0f);
    EXPECT_EQ(FacePlane->colour >> 24, 128u);
    ExpectRowsGolden("face_slide_midway", 400);

    const struct {
        const char* name;
        bool shown;
    } faces[] = {{"sora", true}, {"*sora", false}, {"nobody", false}, {"kai", true}};
    for (const auto& face : faces) {
        SetFace(face.name);
        EXPECT_EQ(IsFaceShown(), face.shown) << face.name;
    }
}

// Each row one animation of the mascot ("awake", "mowl", "goodnight", "sleep"), each column
// 70 ms later than the one before.
TEST_F(PeopleTest, MascotAnimationsGolden) {
    const char* animations[] = {"awake", "mowl", "goodnight", "sleep"};
    device()->BeginScene();
    device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF305078u, 1.0f, 0);
    for (int row = 0; row < 4; ++row) {
        ISprite* sprite = ISprite::Create(kMascotContainer);
        ASSERT_NE(sprite, nullptr);
        ASSERT_EQ(sprite->Start(animations[row], 25, 0), 1);
        for (int column = 0; column < 12; ++column) {
            sprite->SetPosition(30.0f + 50.0f * column, 30.0f + 50.0f * row);
            sprite->DrawParts();
            sprite->Step(70);
        }
        ISprite::Delete(sprite);
    }
    device()->EndScene();
    const std::vector<std::uint32_t> pixels = ReadTarget();
    EXPECT_EQ(qvn::test::CompareImageWithGolden("mascot_animations", 600, 200, pixels.data(), 800),
              "");
}

// The mascot over a page wait, auto mode, the hidden window and skipping: its animation after
// each frame.
TEST_F(PeopleTest, MascotShowsWhetherTheGameWaitsOrRunsOn) {
    WriteScript("start", R"(
*top
    text "一"
    invoke 2
    text "二"
    invoke 2
    text "三"
    invoke 2
    text "四"
    invoke 2
    return
)");
    StartScript("start");
    Frame();
    ASSERT_NE(Mascot, nullptr);
    EXPECT_EQ(Mascot->x, 760.0f);
    EXPECT_EQ(Mascot->y, 572.0f);
    auto animation = [] { return std::string(Mascot->GetAnimationName()); };
    EXPECT_EQ(animation(), "awake") << "the page waits";
    for (int i = 0; i < 14; ++i) {
        ISprite::StepAll(16);  // as the frame step does before the adventure frame
        Frame();
    }
    EXPECT_EQ(animation(), "mowl") << "after the 210 ms of \"awake\"";

    // A change of AutoMode reaches the mascot at its next step, before the frame picks.
    AutoMode = 1;
    Mascot->Step(16);
    EXPECT_EQ(animation(), "goodnight");
    EXPECT_EQ(MascotLastAuto, 1);
    AutoMode = 0;
    Mascot->Step(16);
    EXPECT_EQ(animation(), "awake");

    ToggleAutoMode();
    EXPECT_EQ(animation(), "goodnight");
    for (int i = 0; i < 20; ++i) {
        Mascot->Step(16);
    }
    EXPECT_EQ(animation(), "sleep") << "after the 270 ms of \"goodnight\"";
    ToggleAutoMode();
    EXPECT_EQ(animation(), "awake");

    Frame({{57}});  // Space hides the window and the mascot, which then keeps its animation
    EXPECT_EQ(Mascot->flags & kSpriteVisible, 0u);
    MascotGoodnight();
    EXPECT_EQ(animation(), "awake");
    Frame();
    Frame({{57}});
    EXPECT_NE(Mascot->flags & kSpriteVisible, 0u);
    Frame({{29}});  // Ctrl held: the page ends and the next one waits while skipping
    EXPECT_EQ(animation(), "goodnight");
    Frame();
    EXPECT_EQ(animation(), "awake") << "the page waits for the player again";

    ReleaseScene();
    EXPECT_EQ(Mascot, nullptr);
}

}  // namespace
}  // namespace adventure_tests
