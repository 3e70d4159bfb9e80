// The message window as the frame draws it: pages of text as golden images, the window's fade,
// its objects and their release.

#include <string>

#include "adventure/adventure_frame.h"
#include "adventure/game_mode.h"
#include "adventure/mascot.h"
#include "adventure/message_window.h"
#include "adventure_fixture.h"
#include "foundation/app_settings.h"
#include "media/graphics/plane.h"
#include "media/graphics/texture.h"
#include "shell/program.h"

namespace adventure_tests {
namespace {

// One page that shows the layout's rules at once: the speaker line; ruby spread over a base of
// two kanji and ruby wider than its one-kanji base; "#0"; colour markup; a full stop hanging at
// the end of a full line; a line opening with a bracket and no indent, whose full stop moves to
// the next line with its closing bracket; that fifth line cut at the window's bottom edge. The
// ruby after the colour markup stands over its base: the markup takes no room on the line.
constexpr const char* kShowcase = R"(
*top
    set g9 42
    invoke 1 "案内人"
    text "{広場/ひろば}に#0人。[FF8080]赤い文字[]と{椿/つばき}の木。"
    text "あいうえおかきくけこさしすせそたちつてとなにぬねの。"
    text "「あいうえおかきくけこさしすせそたちつてとなにぬねの。」と言った。"
    invoke 2
    return
)";

class MessageWindowTest : public AdventureTest {
protected:
    void SetUp() override {
        AdventureTest::SetUp();
        WndColor = 0xFF305078u;  // opaque, so that the shadow and the mask show on it
        WriteScript("start", kShowcase);
        StartScript("start");
    }
    // The window's rows: from 32 rows above its top, where the back begins to fade in.
    int WindowRows() const { return GetMessageGeometry().top - 32; }
};

TEST_F(MessageWindowTest, PageWithRubyWordsMarkupAndLineBreaks) {
    const MessageGeometry g = GetMessageGeometry();
    EXPECT_EQ(g.fontSize, 26);
    EXPECT_EQ(g.rubySize, 10);
    EXPECT_EQ(g.lineHeight, 39);
    EXPECT_EQ(g.top, 600 - 175) << "four and a half lines above the bottom";
    Frame();
    ASSERT_EQ(LineCounter, 5);
    ASSERT_EQ(PageWait, 1);
    ExpectRowsGolden("message_page", WindowRows());
}

TEST_F(MessageWindowTest, PageWithoutRuby) {
    MsgUseRuby = 0;
    Frame();
    ExpectRowsGolden("message_page_without_ruby", WindowRows());
}

TEST_F(MessageWindowTest, WindowFadesInMidway) {
    Frame();
    // Half of the opening fade left: the layers at half strength, text and shadow 2 pixels
    // apart from their places, the back at half its alpha.
    WindowFadeTime = 0.1f;
    Frame({}, 0.0);
    ExpectRowsGolden("message_window_fade_midway", WindowRows());
}

TEST_F(MessageWindowTest, LayersFollowTheFadeAndTheWindowColour) {
    Frame();
    ASSERT_NE(MessageMaskPlane, nullptr);
    ASSERT_NE(MessageBackPlane, nullptr);
    EXPECT_STREQ(MessageTexture->GetName(nullptr), "MSG");
    EXPECT_STREQ(MessageShadowPlane->GetName(nullptr), "MSG SHADOW");
    EXPECT_STREQ(MessageMaskPlane->GetName(nullptr), "MSG MASK");
    EXPECT_STREQ(MessageWordPlane->GetName(nullptr), "MSG WORD");
    EXPECT_STREQ(MessageBackPlane->GetName(nullptr), "MSG BACK");
    struct Case {
        const char* name;
        int shown;
        float fade;
        D3DCOLOR layer;
        float pivot;  // of the mask; the shadow's is the opposite
        D3DCOLOR backTop;
    };
    const Case cases[] = {
        {"closed", 0, 0.0f, 0xFF000000u, 4.0f, 0x00305078u},
        {"closing, a quarter gone", 0, 0.15f, 0xFFC0C0C0u, 1.0f, 0xC0305078u},
    };
    for (const Case& c : cases) {
        MessageWindowShown = c.shown;
        WindowFadeTime = c.fade;
        RefreshMessageLayers();
        EXPECT_EQ(MessageMaskPlane->colour, c.layer) << c.name;
        EXPECT_EQ(MessageWordPlane->colour, c.layer) << c.name;
        EXPECT_EQ(MessageShadowPlane->colour, c.layer) << c.name;
        EXPECT_FLOAT_EQ(MessageMaskPlane->pivotX, c.pivot) << c.name;
        EXPECT_FLOAT_EQ(MessageShadowPlane->pivotY, -c.pivot) << c.name;
        EXPECT_EQ(MessageBackPlane->vertices[2].colour, c.backTop) << c.name;
        EXPECT_EQ(MessageBackPlane->vertices[0].colour, 0x00305078u) << c.name;
    }

    // A new window colour takes effect once "MSG BACK" is built again.
    WndColor = 0x40102030u;
    ReleaseMessageBackPlane();
    EXPECT_EQ(MessageBackPlane, nullptr);
    Frame();
    ASSERT_NE(MessageBackPlane, nullptr);
    EXPECT_EQ(MessageBackPlane->vertices[4].colour, 0x40102030u);
}

TEST_F(MessageWindowTest, TextureHoldsBothCopiesForEveryScreen) {
    struct Case {
        UINT width;
        UINT height;
        UINT textureWidth;
        UINT textureHeight;
    };
    // Columns up to the screen's width and rows up to twice the window's height are used.
    const Case cases[] = {{800, 600, 1024, 1024}, {1280, 600, 2048, 1024}, {800, 400, 1024, 512}};
    for (const Case& c : cases) {
        TearDown();
        GraphicsTest::SetUp();
        StartDevice(c.width, c.height);
        ScreenWidth = c.width;
        ScreenHeight = c.height;
        MessageFontScale = ComputeMessageFontScale(c.width, c.height);
        ComputeLetterbox(c.width, c.height, &LetterboxScale, &LetterboxRect);
        ASSERT_TRUE(BuildMessageWindow());
        EXPECT_EQ(MessageTexture->width, c.textureWidth) << c.width << "x" << c.height;
        EXPECT_EQ(MessageTexture->height, c.textureHeight) << c.width << "x" << c.height;
        ReleaseMessageWindow();
    }
    GraphicsTest::TearDown();
    SetUp();
}

TEST_F(MessageWindowTest, ReleaseLeavesNothingAndTheNextMessageBuildsAgain) {
    Frame();
    ReleaseMascot();  // the frame's mascot holds the only other plane and texture
    ReleaseMessageWindow();
    EXPECT_TRUE(PlaneList().empty());
    EXPECT_TRUE(TextureList().empty());
    EXPECT_EQ(MessageFont, nullptr);
    Frame();  // the page still waits: nothing is laid out, only "MSG BACK" is built again
    EXPECT_EQ(MessageTexture, nullptr);
    EXPECT_NE(MessageBackPlane, nullptr);
}

}  // namespace
}  // namespace adventure_tests
