// The title screen driven as the game window drives it: pointer messages against overlapping
// items with their hover, press and click, the key navigator's neighbours and the messages it
// posts, the pad turned into keys with its repeat, the hover highlight's pulse and the balloon's
// delay, and the chosen item's script run from the next frame with the title coming back.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "adventure/adventure_frame.h"
#include "adventure/game_mode.h"
#include "foundation/app_settings.h"
#include "foundation/path.h"
#include "platform/win32/cursor_api.h"
#include "platform/win32/message_api.h"
#include "platform/win32/message_keys.h"
#include "platform/win32/window_api.h"
#include "script/call_stack.h"
#include "shell/cursor.h"
#include "shell/game_window.h"
#include "sprite_ui/baloon.h"
#include "sprite_ui/menu_window.h"
#include "title/title_data.h"
#include "title/title_menu.h"
#include "title_fixture.h"

namespace title_tests {
namespace {

LPARAM At(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

class TitleScreenTest : public TitleWindowTest {
protected:
    // An item without images at the design rectangle, with its values.
    static void AddItem(RECT rect, std::int32_t left, std::int32_t right, std::int32_t index = -1) {
        gTitleMenu->items.push_back(
            std::make_unique<TitleItem>(std::array<std::string, 3>{"*", "*", "*"}, 0, rect,
                                        std::array<RECT, 3>{}, "*", "pick", left, right, index));
    }
    static POINT Pointer() {
        POINT p{};
        GetCursorPos(&p);
        return p;
    }
    void TitleFrame(double seconds) {
        device()->BeginScene();
        device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
        Title::Update(static_cast<float>(seconds));
        device()->EndScene();
    }
};

TEST_F(TitleScreenTest, PointerMessagesHoverPressAndChooseTheTopmostItem) {
    AddItem(RECT{0, 0, 100, 100}, 1, -1);     // 0
    AddItem(RECT{50, 50, 150, 150}, 2, 20);   // 1, over item 0 where they meet
    AddItem(RECT{200, 0, 300, 100}, -1, 30);  // 2, right clicks only
    TitleMenu& menu = *gTitleMenu;
    const struct {
        const char* step;
        UINT message;
        int x;
        int y;
        std::int32_t hovered;
        std::int32_t pressed;
        std::int32_t chosen;
        std::int32_t variable9;
        int shape;  // after a move; 0: not checked
    } steps[] = {
        {"over item 0", WM_MOUSEMOVE, 10, 10, 0, -1, -1, 0, 2},
        {"item 1 lies on top", WM_MOUSEMOVE, 60, 60, 1, -1, -1, 0, 2},
        {"right clicks only: the arrow", WM_MOUSEMOVE, 250, 50, 2, -1, -1, 0, 1},
        {"press on item 0", WM_LBUTTONDOWN, 10, 10, 0, 0, -1, 0, 0},
        {"off the pressed item nothing is hovered", WM_MOUSEMOVE, 120, 120, -1, 0, -1, 0, 1},
        {"back on it", WM_MOUSEMOVE, 20, 20, 0, 0, -1, 0, 2},
        {"released on item 1: nothing chosen", WM_LBUTTONUP, 120, 120, 1, -1, -1, 0, 0},
        {"press", WM_LBUTTONDOWN, 10, 10, 0, 0, -1, 0, 0},
        {"and release on item 0", WM_LBUTTONUP, 10, 10, 0, -1, 0, 1, 0},
        {"a right click needs no press", WM_RBUTTONUP, 250, 50, 0, -1, 2, 30, 0},
        {"item 0 has no right value", WM_RBUTTONUP, 10, 10, 0, -1, 2, 30, 0},
        {"a release off every item is a move", WM_LBUTTONUP, 400, 400, -1, -1, 2, 30, 0},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        EXPECT_EQ(Send(s.message, s.x, s.y), 0);
        EXPECT_EQ(menu.hovered, s.hovered);
        EXPECT_EQ(menu.pressed, s.pressed);
        EXPECT_EQ(menu.chosen, s.chosen);
        EXPECT_EQ(Var(9), s.variable9);
        if (s.shape != 0) {
            EXPECT_EQ(GetWantedCursorShape(), s.shape);
        }
    }
    EXPECT_EQ(menu.clicked, 0);
    EXPECT_EQ(Title::OnMessage(MainWindow, WM_MOUSEWHEEL, 0, 0), 1);
    EXPECT_EQ(Title::OnMessage(MainWindow, WM_KEYDOWN, 'A', 0), 1);

    // A focused UI window takes every message.
    MenuWindow* popup = CreateMenuWindow(kMenuAuto, kMenuAuto, 100, 100, 20, nullptr, nullptr, 0);
    ASSERT_NE(popup, nullptr);
    SetFocusWindow(popup);
    EXPECT_EQ(Send(WM_MOUSEMOVE, 60, 60), 1);
    EXPECT_EQ(menu.hovered, -1);
    DeleteMenuWindow(popup);
}

TEST_F(TitleScreenTest, KeysMoveThePointerAlongTheNavigatorsNeighbours) {
    // A 3 x 2 grid of 40 x 40 cells 60 apart, a wide item below it, and the page items.
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 3; ++c) {
            AddItem(RECT{100 + 60 * c, 100 + 60 * r, 140 + 60 * c, 140 + 60 * r}, 3 * r + c, -1);
        }
    }
    AddItem(RECT{0, 0, 800, 600}, -1, -1);        // the background: no target
    AddItem(RECT{90, 300, 270, 330}, 6, -1);      // 6
    AddItem(RECT{400, 100, 440, 140}, 1001, -1);  // 7: page up
    AddItem(RECT{400, 300, 440, 340}, 1002, -1);  // 8: page down
    MouseActionNavigator& navigator = gTitleMenu->navigator;
    navigator.Rebuild(gTitleMenu->items);
    ASSERT_EQ(navigator.targets.size(), 9u);
    EXPECT_EQ(navigator.targets[7].key, VK_PRIOR);
    EXPECT_EQ(navigator.targets[8].key, VK_NEXT);
    EXPECT_EQ(navigator.targets[0].key, 0u);
    EXPECT_EQ(navigator.targets[6].centreX, 180);
    const struct {
        int target;
        std::array<std::int32_t, 4> neighbours;  // left, up, right, down
    } expected[] = {
        {0, {0, 0, 1, 3}},                     // nothing to the left or above: itself
        {1, {0, 1, 2, 4}}, {2, {1, 2, 7, 5}},  // page up shares its row
        {3, {3, 0, 4, 6}}, {4, {3, 1, 5, 6}},
        {5, {4, 2, 7, 6}},  // none in its row to the right: the nearest beyond, page up
        {6, {3, 4, 8, 8}},  // none in its row to the left or below: the nearest beyond
        {7, {2, 7, 7, 8}}, {8, {6, 7, 8, 8}},
    };
    for (const auto& e : expected) {
        EXPECT_EQ(navigator.targets[static_cast<std::size_t>(e.target)].neighbours, e.neighbours)
            << e.target;
    }

    TakePosted();
    const struct {
        const char* step;
        int x;
        int y;  // pointer before the key
        WPARAM key;
        std::vector<Posted> posted;
    } keys[] = {
        {"right from cell 0", 120, 120, VK_RIGHT, {{WM_MOUSEMOVE, 0, At(199, 139)}}},
        {"down from cell 2", 230, 110, VK_DOWN, {{WM_MOUSEMOVE, 0, At(259, 199)}}},
        {"off every target: the nearest beyond",
         300,
         10,
         VK_LEFT,
         {{WM_MOUSEMOVE, 0, At(259, 139)}}},
        {"none beyond: the nearest at all", 700, 500, VK_RIGHT, {{WM_MOUSEMOVE, 0, At(439, 339)}}},
        {"return clicks", 120, 120, VK_RETURN, {{WM_LBUTTONDOWN, 0, 0}, {WM_LBUTTONUP, 0, 0}}},
        {"the application key is escape: a right click",
         120,
         120,
         VK_APPS,
         {{WM_RBUTTONDOWN, 0, 0}, {WM_RBUTTONUP, 0, 0}}},
        {"page down moves to its item and clicks it",
         10,
         10,
         VK_NEXT,
         {{WM_MOUSEMOVE, 0, At(439, 339)}, {WM_LBUTTONDOWN, 0, 0}, {WM_LBUTTONUP, 0, 0}}},
        {"another key does nothing", 120, 120, 'Z', {}},
    };
    for (const auto& k : keys) {
        SCOPED_TRACE(k.step);
        EXPECT_EQ(Send(WM_KEYDOWN, k.x, k.y, k.key), 1) << "keys are passed on";
        EXPECT_EQ(TakePosted(), k.posted);
        if (!k.posted.empty() && k.posted[0].message == WM_MOUSEMOVE) {
            EXPECT_EQ(Pointer().x, LOWORD(k.posted[0].lParam));
            EXPECT_EQ(Pointer().y, HIWORD(k.posted[0].lParam));
        }
    }

    // An edge shared with the row counts as the row: the farther item in the band wins over a
    // nearer one outside it.
    gTitleMenu->items.clear();
    AddItem(RECT{0, 0, 40, 40}, 0, -1);
    AddItem(RECT{100, 40, 140, 80}, 1, -1);
    AddItem(RECT{40, 60, 80, 100}, 2, -1);
    navigator.Rebuild(gTitleMenu->items);
    EXPECT_EQ(navigator.targets[0].neighbours[kNavigateRight], 1);
    EXPECT_EQ(navigator.targets[0].neighbours[kNavigateDown], 2);

    navigator.targets.clear();
    EXPECT_FALSE(navigator.OnKeyDown(MainWindow, POINT{0, 0}, VK_RETURN)) << "no targets";
    EXPECT_TRUE(TakePosted().empty());
}

TEST_F(TitleScreenTest, ThePadRepeatsArrowKeysAndPressesItsButtonsOnce) {
    using Input = adventure_tests::Input;
    const struct {
        const char* step;
        Input input;
        double seconds;
        std::vector<WPARAM> keys;
    } steps[] = {
        {"pushed right: at once", {.padX = 1000}, 0.1, {VK_RIGHT}},
        {"held: the repeat delay of 0.25 s counts down", {.padX = 1000}, 0.1, {}},
        {"to 0.05 s", {.padX = 1000}, 0.1, {}},
        {"to 0", {.padX = 1000}, 0.1, {}},
        {"the second step", {.padX = 1000}, 0.1, {VK_RIGHT}},
        {"then the interval of 0.0625 s", {.padX = 1000}, 0.1, {}},
        {"the third step", {.padX = 1000}, 0.1, {VK_RIGHT}},
        {"let go within the interval: the hold is over", {}, 0.01, {}},
        {"pushed again: at once", {.padX = 1000}, 0.01, {VK_RIGHT}},
        {"below nine tenths of the range", {.padX = 899}, 0.1, {}},
        {"nothing", {.padX = 899}, 0.1, {}},
        {"diagonal: the larger axis alone", {.padY = -990, .padX = 950}, 0.1, {VK_UP}},
        {"decide", {.pad = {0}}, 0.1, {VK_RETURN}},
        {"held: once only", {.pad = {0}}, 0.1, {}},
        {"cancel and both pages", {.pad = {1, 6, 7}}, 0.1, {VK_ESCAPE, VK_PRIOR, VK_NEXT}},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        Poll(s.input);
        Title::PadToKeys(s.seconds);
        std::vector<WPARAM> keys;
        for (const Posted& p : TakePosted()) {
            EXPECT_EQ(p.message, static_cast<UINT>(WM_KEYDOWN));
            keys.push_back(p.wParam);
        }
        EXPECT_EQ(keys, s.keys);
    }
}

TEST_F(TitleScreenTest, TheHighlightPulsesAndTheBalloonWaitsForItsTime) {
    WriteImage("title/cells.png", 40, 40,
               graphics_tests::MakeImage(40, 40, [](int, int) { return 0xFF204000u; }));
    gTitleData.names = {"first", "second"};
    gTitleData.flags = {1, 1};
    gTitleData.balloons = {"first's balloon", "*"};
    Title::SetCurrentItem(0);
    Title::SetCurrentPage(1);
    ItemRecordFields r;
    r.image0 = r.image1 = "cells.png";
    r.flags = kTitleItemHighlight;
    r.columns = 2;
    r.cellLimit = 2;
    r.cellStepX = r.cellStepY = 40;
    r.destStepX = 100;
    r.destX = 100;
    r.destY = 200;
    r.firstValue = 0;
    r.stateFilter = 2;
    r.label = "pick";
    ItemRecordFields noHover = r;
    noHover.image1 = "*";
    noHover.destY = 300;
    WriteData("cells.dat", ItemRecord(r) + ItemRecord(noHover));
    ASSERT_TRUE(Title::AddItem("cells.dat"));
    ASSERT_EQ(gTitleMenu->items.size(), 4u);
    BaloonTime = 600;
    CopyDemoFile("bmp/baloon.png");

    Send(WM_MOUSEMOVE, 120, 220);
    const struct {
        double seconds;  // frame time
        int blue;        // of the hovered cell: 0 + 0xA0 x |cos 3t|
        bool balloon;
    } frames[] = {
        {0.0, 0xA0, false},
        {std::acos(-1.0) / 6.0, 0x00, false},  // |cos(pi / 2)| = 0
        {std::acos(-1.0) / 6.0, 0xA0, true},   // t = pi / 3 > 0.6 s
    };
    for (const auto& f : frames) {
        TitleFrame(f.seconds);
        EXPECT_NEAR(static_cast<int>(PixelAt(120, 220) & 0xFF), f.blue, 1)
            << gTitleMenu->hoverClock;
        EXPECT_EQ(TitleHoverBaloon != nullptr, f.balloon) << gTitleMenu->hoverClock;
        EXPECT_EQ(PixelAt(220, 220), 0xFF204000u) << "the other cell is not hovered";
    }
    ASSERT_NE(TitleHoverBaloon, nullptr);
    EXPECT_EQ(TitleHoverBaloon->x, 120);
    EXPECT_EQ(TitleHoverBaloon->y, 200);
    EXPECT_STREQ(TitleHoverBaloon->text, "first's balloon");

    const struct {
        const char* step;
        int x;
        int y;
    } others[] = {
        {"a balloon text of \"*\"", 220, 220},
        {"no hover image", 120, 320},
    };
    for (const auto& o : others) {
        SCOPED_TRACE(o.step);
        Send(WM_MOUSEMOVE, o.x, o.y);
        EXPECT_EQ(TitleHoverBaloon, nullptr) << "a new hovered item closes the balloon";
        TitleFrame(1.0);
        EXPECT_EQ(TitleHoverBaloon, nullptr);
    }
}

TEST_F(TitleScreenTest, AChosenItemRunsFromTheNextFrameAndTheTitleComesBack) {
    WriteScript("title", R"(
*pick
    push g9
    push g20
    assign
    pop
    return
*close
    invoke 0 9 0 1
    return
)");
    WriteScript("start", "*top\n@wait\n    invoke 6 1\n    jump @wait\n");
    StartScript("start");
    delete gTitleMenu;
    gTitleMenu = new TitleMenu;
    EXPECT_EQ(gTitleMenu->savedMode, kGameModeAdventure);
    GameMode = kGameModeTitleMenu;
    AddItem(RECT{0, 0, 100, 100}, 7, -1);
    Send(WM_LBUTTONDOWN, 10, 10);
    Send(WM_LBUTTONUP, 10, 10);
    EXPECT_EQ(gTitleMenu->chosen, 0);
    TitleFrame(0.01);
    EXPECT_EQ(GameMode, kGameModeAdventure) << "the item's script runs";
    EXPECT_STREQ(CurrentScriptName(), GetPath(PathKind::Script, "title"));
    Frame();
    EXPECT_EQ(Var(20), 7);
    EXPECT_EQ(GameMode, kGameModeTitleMenu) << "its return brings the title back";
    EXPECT_EQ(gTitleMenu->chosen, -1);

    // An item script that closes the menu at once returns to the title mode without a menu:
    // the next frame goes back to the script underneath.
    gTitleMenu->items[0]->label = "close";
    Send(WM_LBUTTONDOWN, 10, 10);
    Send(WM_LBUTTONUP, 10, 10);
    TitleFrame(0.01);
    Frame();
    EXPECT_EQ(gTitleMenu, nullptr);
    EXPECT_EQ(GameMode, kGameModeTitleMenu);
    TitleFrame(0.01);
    EXPECT_EQ(GameMode, kGameModeAdventure);
    EXPECT_STREQ(CurrentScriptName(), GetPath(PathKind::Script, "start"));

    // A close request closes the menu at its next frame, and the mode it was made in returns.
    gTitleMenu = new TitleMenu;
    GameMode = kGameModeTitleMenu;
    gTitleMenu->closeRequest = 1;
    TitleFrame(0.01);
    EXPECT_EQ(gTitleMenu, nullptr);
    EXPECT_EQ(GameMode, kGameModeAdventure);
}

}  // namespace
}  // namespace title_tests
