// Drawing of UI windows and balloons: one golden scene, the layout rules and the draw events.
#include <gtest/gtest.h>

#include "foundation/app_settings.h"
#include "media/graphics/d3d_functions.h"
#include "sprite_ui/baloon.h"
#include "sprite_ui/menu_input.h"
#include "ui_fixture.h"

namespace ui_tests {
namespace {

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

#define EXPECT_RECT(actual, l, t, r, b)                                                      \
    EXPECT_TRUE(SameRect(actual, RECT{l, t, r, b}))                                          \
        << #actual << " = " << (actual).left << "," << (actual).top << "," << (actual).right \
        << "," << (actual).bottom

class MenuWindowDrawTest : public UiTest {};

// A framed list scrolled to its current item with both scroll buttons, the thumb, a disabled
// item, a centred item, colour markup, the pulsing highlight and the help balloon above the
// current line; an unfocused window centred automatically; a window without frame images; an
// owner's balloon with title and icon near the top right corner, moved into the screen and
// pointing up.
TEST_F(MenuWindowDrawTest, GoldenSceneOfWindowsAndBalloons) {
    MenuWindow* a = MakeWindow("A", 40, 80, 300, 144, 14);
    ASSERT_NE(a, nullptr);
    a->GetItem(4)->flags |= kMenuItemDisabled;
    a->GetItem(4)->colour = 0xFF808080u;
    a->GetItem(2)->flags |= kMenuItemCentred;
    a->GetItem(3)->SetText(Sjis("[FF8080]赤い[]項目").c_str());
    const std::string help = Sjis("七番目の項目です。/[0000C0]二行目[]もあります");
    a->GetItem(7)->helpText = DuplicateString(help.c_str());  // the window frees it
    MenuWindow* b = MakeWindow("B", kMenuAuto, kMenuAuto, kMenuAuto, kMenuAuto, 3);
    b->GetItem(1)->flags |= kMenuItemCentred;
    MenuWindow* c = MakeWindow("C", 560, 300, 200, 96, 4, kMenuWrap);
    c->LoadFrameTextures(nullptr);
    SetFocusWindow(a);
    ASSERT_EQ(a->MoveCurrent(6), 1) << "six enabled items down: item 4 is skipped";
    Baloon* owned = CreateBaloon(780, 20, Sjis("お知らせ").c_str(),
                                 Sjis("右端の[FF0000]吹き出し[]/二行目").c_str(), "frame4");
    ASSERT_NE(owned, nullptr);

    for (int i = 0; i < 4; ++i) {
        Frame(0.25);
    }
    ASSERT_NE(HelpBaloon, nullptr) << "BaloonTime (1000 ms) after the move";
    HighlightClock = 0.4;
    Frame(0.0);
    ExpectGolden("sprite_ui_windows_and_balloons");

    EXPECT_EQ(a->current, 7);
    EXPECT_EQ(a->scroll, 48) << "item 7 at the bottom of six lines";
    EXPECT_RECT(a->itemArea, 40, 80, 340, 224);
    EXPECT_RECT(a->windowRect, 32, 72, 348, 232);
    // Thumb: top 80 + 48 * 144 / 336, height 144 * 144 / 336, with caps of 8 above and below.
    EXPECT_RECT(a->scrollThumb, 340, 92, 356, 169);
    EXPECT_RECT(a->scrollUpButton, 182, 64, 198, 80);
    EXPECT_RECT(a->scrollDownButton, 182, 224, 198, 240);
    const int bWidth = b->contentWidth;
    EXPECT_RECT(b->itemArea, (800 - bWidth) / 2, 264, (800 - bWidth) / 2 + bWidth, 336);
    EXPECT_RECT(c->windowRect, 560, 300, 760, 396) << "no borders without frame images";
    EXPECT_RECT(c->scrollThumb, 0, 0, 0, 0);
    EXPECT_EQ(HelpBaloon->box.bottom, 80 + 7 * 24 - 48) << "above the current line";
    EXPECT_EQ((HelpBaloon->box.left + HelpBaloon->box.right) / 2, 190);
    EXPECT_EQ(HelpBaloon->lineCount, 2);
    EXPECT_EQ(owned->box.right, 800) << "moved left into the screen";
    EXPECT_EQ(owned->box.top, 20 + owned->lineHeight + 16) << "below the point";
    EXPECT_EQ(owned->lineCount, 2) << "at least two lines beside an icon";
    DeleteBaloon(owned);
}

}  // namespace
}  // namespace ui_tests
