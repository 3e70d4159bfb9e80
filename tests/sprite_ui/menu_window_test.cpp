// UI windows: creation and its refusals, items, frame textures, the layout rules and the draw
// events.
#include <gtest/gtest.h>

#include "foundation/path.h"
#include "media/graphics/texture.h"
#include "sprite_ui/baloon.h"
#include "ui_fixture.h"

namespace ui_tests {
namespace {

class MenuWindowTest : public UiTest {};

TEST_F(MenuWindowTest, CreationRefusalsLeaveNothingListed) {
    EXPECT_EQ(CreateMenuWindow(0, 0, 100, 100, 0, nullptr, nullptr, 0), nullptr);
    EXPECT_EQ(CreateMenuWindow(0, 0, 100, 100, -24, nullptr, nullptr, 0), nullptr);
    EXPECT_NE(Log().find("MenuWindow: error. line height(0)\r\n"), std::string::npos);
    EXPECT_NE(Log().find("MenuWindow: error. line height(-24)\r\n"), std::string::npos);
    EventLog refusing{"X", &events_, {kMenuEventCreate}};
    EXPECT_EQ(CreateMenuWindow(0, 0, 100, 100, 24, RecordEvent, &refusing, 0), nullptr);
    EXPECT_EQ(TakeEvents(), (std::vector<std::string>{"X:0(0)", "X:13(0)"}));
    EXPECT_TRUE(MenuWindowList().empty());
    EXPECT_EQ(GetFocusWindow(), nullptr);
}

TEST_F(MenuWindowTest, ItemsFontsAndFrameTextures) {
    MenuWindow* w = MakeWindow("W", 100, 100, 200, 96, 3);
    const FrameTextures& defaults = DefaultFrameTextures();
    for (int i = 0; i < kFrameTextureCount; ++i) {
        ASSERT_NE(defaults[i], nullptr) << i;
        EXPECT_EQ(w->frameTextures[i], defaults[i]) << i;
        EXPECT_EQ(defaults[i]->refCount, 2u) << "the set and the window hold it";
        EXPECT_EQ(std::string(defaults[i]->name), "frame" + std::to_string(i) + ".png");
    }
    EXPECT_EQ(w->contentHeight, 72);
    EXPECT_GT(w->GetItem(2)->extent.right, 0);
    EXPECT_EQ(w->contentWidth, w->GetItem(2)->extent.right) << "all three are as wide";
    EXPECT_EQ(w->GetItem(0)->extent.bottom, 24);
    w->current = 1;
    EXPECT_EQ(w->GetItem(-1), w->GetItem(1)) << "below 0: the current item";
    EXPECT_EQ(w->GetItem(3), nullptr);
    EXPECT_NE(w->GetItem(0)->text, nullptr);
    EXPECT_NE(w->font, nullptr) << "made from the UI font";
    w->ClearItems();
    EXPECT_TRUE(w->items.empty());
    EXPECT_EQ(w->contentHeight, 0);
    EXPECT_EQ(w->font, nullptr);
    DeleteMenuWindow(w);
    EXPECT_EQ(defaults[0]->refCount, 1u);

    // A missing image leaves its slot empty; without a background a window gets no frame.
    dir_->writeFile("bmp/frame0.png", "");
    LoadFrameTextures(GetPath(PathKind::Image, "frame"));
    EXPECT_EQ(defaults[0], nullptr) << "an unreadable image";
    EXPECT_NE(defaults[4], nullptr);
    LoadFrameTextures(GetPath(PathKind::Image, "missing"));
    for (D3DTexture* texture : defaults) {
        EXPECT_EQ(texture, nullptr);
    }
    LoadFrameTextures(GetPath(PathKind::Image, "frame"));
    MenuWindow* bare = MakeWindow("B", 100, 100, 200, 96, 1);
    for (D3DTexture* texture : bare->frameTextures) {
        EXPECT_EQ(texture, nullptr);
    }
}

struct LayoutCase {
    const char* name;
    int x, y, width, height;
    RECT area;
};

// Borders are 8 pixels; the screen is 800 x 600; the content is 3 lines of 24.
TEST_F(MenuWindowTest, LayoutKeepsWindowsOnTheScreen) {
    MenuWindow* probe = MakeWindow("P", 0, 0, 10, 10, 3);
    const int cw = probe->contentWidth;
    DeleteMenuWindow(probe);
    // clang-format off
    const LayoutCase cases[] = {
        {"as placed", 100, 50, 200, 72, {100, 50, 300, 122}},
        {"moved left by the excess", 700, 50, 200, 72, {592, 50, 792, 122}},
        {"moved right of the border", 2, 50, 200, 72, {8, 50, 208, 122}},
        {"moved up by the excess", 100, 590, 200, 48, {100, 544, 300, 592}},
        {"below the border", 100, 0, 200, 48, {100, 8, 300, 56}},
        {"automatic: content centred", kMenuAuto, kMenuAuto, kMenuAuto, kMenuAuto,
         {(800 - cw) / 2, 264, (800 - cw) / 2 + cw, 336}},
    };
    // clang-format on
    for (const LayoutCase& test : cases) {
        MenuWindow* w = MakeWindow("L", test.x, test.y, test.width, test.height, 3);
        Frame();
        const RECT& a = w->itemArea;
        EXPECT_EQ(a.left, test.area.left) << test.name;
        EXPECT_EQ(a.top, test.area.top) << test.name;
        EXPECT_EQ(a.right, test.area.right) << test.name;
        EXPECT_EQ(a.bottom, test.area.bottom) << test.name;
        EXPECT_EQ(w->windowRect.left, a.left - 8) << test.name;
        EXPECT_EQ(w->windowRect.bottom, a.bottom + 8) << test.name;
        DeleteMenuWindow(w);
    }
}

// Three of eight lines show; events 10, 11 per visible line, 12 in order; a claimed event 10
// draws nothing, a claimed event 11 no text.
TEST_F(MenuWindowTest, DrawEventsAndTheirClaims) {
    const std::uint32_t clear = 0xFF306040u;
    struct Case {
        const char* name;
        DWORD flags;
        int scroll;
        std::vector<int> claim;
        std::vector<std::string> events;
        bool anythingDrawn;
    };
    // clang-format off
    const Case cases[] = {
        {"snapped scroll", 0, 30, {}, {"D:10(0)", "D:11(1)", "D:11(2)", "D:11(3)", "D:12(0)"}, true},
        {"free scroll shows a fourth, partial line", kMenuFreeScroll, 30, {},
         {"D:10(0)", "D:11(1)", "D:11(2)", "D:11(3)", "D:11(4)", "D:12(0)"}, true},
        {"claimed window draw", 0, 0, {kMenuEventDrawWindow}, {"D:10(0)"}, false},
        {"claimed item draws", kMenuNoBackground | kMenuNoBorder, 0, {kMenuEventDrawItem},
         {"D:10(0)", "D:11(0)", "D:11(1)", "D:11(2)", "D:12(0)"}, false},
    };
    // clang-format on
    for (const Case& test : cases) {
        MenuWindow* w =
            MakeWindow("D", 100, 100, 200, 72, 8, test.flags | kMenuNoThumb | kMenuNoScrollButtons);
        w->scroll = test.scroll;
        LogOf(w).recordDraw = true;
        LogOf(w).claim = test.claim;
        TakeEvents();
        Frame();
        EXPECT_EQ(TakeEvents(), test.events) << test.name;
        const std::vector<std::uint32_t> pixels = ReadTarget();
        bool drawn = false;
        for (int y = 92; y < 180; ++y) {
            for (int x = 92; x < 308; ++x) {
                drawn = drawn || pixels[static_cast<std::size_t>(y) * 800 + x] != clear;
            }
        }
        EXPECT_EQ(drawn, test.anythingDrawn) << test.name;
        DeleteMenuWindow(w);
    }
}

}  // namespace
}  // namespace ui_tests
