// Navigation of UI windows: timelines of keys, pad, mouse and wheel with the events the
// handler receives in order, focus between windows, and the moves of the current item.
#include <gtest/gtest.h>

#include <functional>

#include "foundation/app_settings.h"
#include "foundation/path.h"
#include "media/graphics/d3d_functions.h"
#include "media/input/di_application.h"
#include "platform/dinput/dik_codes.h"
#include "platform/win32/message_api.h"
#include "shell/cursor.h"
#include "sprite_ui/baloon.h"
#include "sprite_ui/menu_input.h"
#include "ui_fixture.h"

namespace ui_tests {
namespace {

struct Step {
    const char* what;
    std::function<void()> input;
    double seconds;
    std::vector<std::string> events;
    int current;
};

std::string Over(const char* window, int x, int y) {
    return std::string(window) + ":3(" + std::to_string((y << 16) | x) + ")";
}

class MenuInputTest : public UiTest {
protected:
    void Run(MenuWindow* window, const std::vector<Step>& steps) {
        for (const Step& step : steps) {
            if (step.input) {
                step.input();
            }
            Frame(step.seconds);
            EXPECT_EQ(TakeEvents(), step.events) << step.what;
            if (IsMenuWindow(window)) {
                EXPECT_EQ(window->current, step.current) << step.what;
            }
        }
    }
    void PadY(int value) { input().SetPadAxis(pad(), 1, static_cast<std::int16_t>(value)); }
    void PadX(int value) { input().SetPadAxis(pad(), 0, static_cast<std::int16_t>(value)); }
};

// Key repeat 0.5 s then every 0.1 s; item 3 is disabled; five lines show.
TEST_F(MenuInputTest, KeysAndPadTimeline) {
    input().KeyDown(DIK_RETURN);  // the key that opened the window is still held
    MenuWindow* a = MakeWindow("A", 100, 100, 300, 120, 10);
    a->GetItem(3)->flags |= kMenuItemDisabled;
    SetFocusWindow(a);
    auto& in = input();
    const auto key = [&](BYTE up, BYTE down) { in.KeyUp(up), in.KeyDown(down); };
    const auto button = [&](int up, int down) {
        in.SetPadButton(pad(), up, false), in.SetPadButton(pad(), down, true);
    };
    // clang-format off
    const std::vector<Step> steps = {
        {"created, then focused", nullptr, 0.05, {"A:0(0)", "A:9(0)"}, 0},
        {"held Return is locked", nullptr, 0.05, {}, 0},
        {"released: lock cleared", [&] { in.KeyUp(DIK_RETURN); }, 0.05, {}, 0},
        {"Return decides", [&] { in.KeyDown(DIK_RETURN); }, 0.05, {"A:1(0)"}, 0},
        {"Return never repeats", nullptr, 0.6, {}, 0},
        {"Down moves", [&] { key(DIK_RETURN, DIK_DOWN); }, 0.05, {"A:7(0)", "A:9(1)"}, 1},
        {"held within the delay", nullptr, 0.3, {}, 1},
        {"first repeat after 0.5 s", nullptr, 0.25, {"A:7(1)", "A:9(2)"}, 2},
        {"repeat interval, skipping item 3", nullptr, 0.05, {"A:7(2)", "A:9(4)"}, 4},
        {"two intervals in one frame act once", nullptr, 0.25, {"A:7(4)", "A:9(5)"}, 5},
        {"page down stops at the last item", [&] { key(DIK_DOWN, DIK_NEXT); }, 0.05, {"A:5(5)", "A:9(9)"}, 9},
        {"no wrap past the end", [&] { key(DIK_NEXT, DIK_DOWN); }, 0.05, {"A:7(9)"}, 9},
        {"page up", [&] { key(DIK_DOWN, DIK_PRIOR); }, 0.05, {"A:4(9)", "A:9(4)"}, 4},
        {"keypad Enter decides", [&] { key(DIK_PRIOR, DIK_NUMPADENTER); }, 0.05, {"A:1(4)"}, 4},
        {"Escape cancels", [&] { key(DIK_NUMPADENTER, DIK_ESCAPE); }, 0.05, {"A:2(4)"}, 4},
        {"pad up", [&] { in.KeyUp(DIK_ESCAPE), PadY(-32768); }, 0.05, {"A:6(4)", "A:9(2)"}, 2},
        {"more horizontal than vertical: nothing", [&] { PadX(32767), PadY(-20000); }, 0.05, {}, 2},
        {"more vertical than horizontal: down", [&] { PadX(-20000), PadY(32767); }, 0.05, {"A:7(2)", "A:9(4)"}, 4},
        {"below half the range: nothing", [&] { PadX(0), PadY(15000); }, 0.05, {}, 4},
        {"decide button", [&] { PadY(0), button(1, 0); }, 0.05, {"A:1(4)"}, 4},
        {"cancel button", [&] { button(0, 1); }, 0.05, {"A:2(4)"}, 4},
        {"no repeat interval: the default holds",
         [&] { button(1, 2), gDIApplication->keyRepeatInterval = 0.0, in.KeyDown(DIK_DOWN); }, 0.05, {"A:7(4)", "A:9(5)"}, 5},
        {"after the delay", nullptr, 0.5, {"A:7(5)", "A:9(6)"}, 6},
        {"after the default interval", nullptr, kDefaultKeyRepeatInterval, {"A:7(6)", "A:9(7)"}, 7},
        {"a claimed line move does not move", [&] { LogOf(a).claim = {7}; }, 0.05, {"A:7(7)"}, 7},
    };
    // clang-format on
    Run(a, steps);
    EXPECT_EQ(GetWantedCursorShape(), 0) << "the last input came from keys";
}

// Item 3 is disabled; five lines of fourteen show, so the list scrolls.
TEST_F(MenuInputTest, MouseAndWheelTimeline) {
    MenuWindow* a = MakeWindow("A", 100, 100, 300, 120, 14);
    a->GetItem(3)->flags |= kMenuItemDisabled;
    SetFocusWindow(a);
    auto& in = input();
    // clang-format off
    const std::vector<Step> steps = {
        {"created, focused and laid out", nullptr, 0.05, {"A:0(0)", "A:9(0)"}, 0},
        {"pointing at line 2 makes it current", [&] { MovePointer(150, 160); }, 0.05, {Over("A", 150, 160), "A:9(2)"}, 2},
        {"a disabled line never becomes current", [&] { MovePointer(150, 184); }, 0.05, {Over("A", 150, 184)}, 2},
        {"a click in the items decides the current item", [&] { in.MouseButton(0, true); }, 0.05, {"A:1(2)"}, 2},
        {"the wheel toward the user scrolls down a line and moves past item 3",
         [&] { in.MouseButton(0, false), in.TurnWheel(-1); }, 0.05, {"A:8(1)", "A:9(4)"}, 4},
        {"pressing the down button moves",
         [&] { MovePointer(250, 225), in.MouseButton(0, true); }, 0.05, {Over("A", 250, 225), "A:7(4)", "A:9(5)"}, 5},
        {"held within the repeat delay", nullptr, 0.3, {}, 5},
        {"held past the delay repeats", nullptr, 0.25, {"A:7(5)", "A:9(6)"}, 6},
        {"moving off the button stops it", [&] { MovePointer(600, 500); }, 0.2, {}, 6},
        {"a right click cancels", [&] { in.MouseButton(0, false), in.MouseButton(1, true); }, 0.05, {"A:2(6)"}, 6},
        {"a click outside a modal window decides -1",
         [&] { in.MouseButton(1, false), a->flags |= kMenuModal, in.MouseButton(0, true); }, 0.05, {"A:1(-1)"}, 6},
        // Thumb 400..416 x 109..167 at scroll 48; the press is 11 below its top.
        {"released over the thumb", [&] { in.MouseButton(0, false), MovePointer(404, 120); }, 0.05, {Over("A", 404, 120)}, 6},
        {"pressing the thumb of a modal window is no click outside", [&] { in.MouseButton(0, true); }, 0.05, {"A:9(5)"}, 5},
        {"dragging the thumb to the bottom scrolls to the end", [&] { MovePointer(404, 200); }, 0.05, {Over("A", 404, 200), "A:9(9)"}, 9},
        {"a claimed wheel does not scroll",
         [&] { in.MouseButton(0, false), LogOf(a).claim = {8}, in.TurnWheel(-1); }, 0.05, {"A:8(1)"}, 9},
    };
    // clang-format on
    Run(a, steps);
    EXPECT_EQ(a->scroll, 216) << "the thumb at the end of its track shows the last lines";
    EXPECT_EQ(GetWantedCursorShape(), 1) << "the last input came from the mouse";
}

// A thumb taller than its window leaves no track to drag along: the scroll stays.
TEST_F(MenuInputTest, ThumbWithoutTrackLeavesTheScroll) {
    dir_->writeFile("bmp/bar4.png", dir_->readFile("bmp/frame4.png"));
    MenuWindow* a = MakeWindow("A", 100, 100, 200, 24, 2);
    a->LoadFrameTextures(GetPath(PathKind::Image, "bar"));
    SetFocusWindow(a);
    Frame();
    ASSERT_GT(a->scrollThumb.bottom - a->scrollThumb.top, a->windowRect.bottom - a->windowRect.top);
    MovePointer(a->scrollThumb.left + 2, a->scrollThumb.top + 2);
    input().MouseButton(0, true);
    Frame();
    MovePointer(a->scrollThumb.left + 2, 300);
    Frame();
    EXPECT_EQ(a->scroll, 0);
    EXPECT_EQ(a->current, 0);
}

TEST_F(MenuInputTest, FocusMovesBetweenWindowsAndPassesOnWhenTheFocusedOneCloses) {
    MenuWindow* a = MakeWindow("A", 50, 50, 200, 96, 4);
    MenuWindow* b = MakeWindow("B", 450, 50, 200, 96, 4);
    MenuWindow* c = MakeWindow("C", 50, 300, 200, 96, 4);
    MakeWindow("P", 450, 300, 200, 96, 2, kMenuPassive);
    MakeWindow("H", 450, 450, 100, 48, 2, kMenuHidden);
    EXPECT_EQ(TakeEvents(),
              (std::vector<std::string>{"A:0(0)", "B:0(0)", "C:0(0)", "P:0(0)", "H:0(0)"}));
    EXPECT_EQ(GetFocusWindow(), nullptr) << "creation does not give the focus";
    SetFocusWindow(a);
    Frame();
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"A:9(0)"});

    for (UINT message : {WM_PAINT, WM_KEYDOWN, WM_LBUTTONDOWN, WM_MOUSEMOVE}) {
        EXPECT_EQ(MenuWindowHook(nullptr, message, 0, 0), 0) << "never consumed: " << message;
    }
    MovePointer(500, 79);
    EXPECT_EQ(TakeEvents(), (std::vector<std::string>{Over("B", 500, 79), "A:9(-1)", "B:9(1)"}));
    EXPECT_EQ(GetFocusWindow(), b);
    MovePointer(500, 310);
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{}) << "a passive window is never a target";
    b->flags |= kMenuModal;
    MovePointer(100, 103);
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{Over("A", 100, 103)});
    EXPECT_EQ(GetFocusWindow(), b) << "a modal focus keeps the focus";
    b->flags &= ~kMenuModal;

    DeleteMenuWindow(b);
    EXPECT_EQ(TakeEvents(), (std::vector<std::string>{"B:13(0)", "C:9(0)", "C:9(-1)", "A:9(0)"}));
    EXPECT_EQ(GetFocusWindow(), a) << "the first listed item window ends with the focus";
    DeleteMenuWindow(c);
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"C:13(0)"});
    EXPECT_EQ(GetFocusWindow(), a);
    EXPECT_EQ(CountMenuWindows(0), 3);
    const std::vector<MenuWindow*> listed = MenuWindowList();  // A, P, H
    EXPECT_EQ(GetNextMenuWindow(listed[0]), listed[1]);
    EXPECT_EQ(GetNextMenuWindow(listed[2]), listed[0]) << "wraps";
    EXPECT_EQ(GetPrevMenuWindow(listed[0]), listed[2]) << "wraps";
    EXPECT_EQ(GetNextMenuWindow(nullptr), listed[0]);
    EXPECT_EQ(GetPrevMenuWindow(b), listed[2]) << "a window no longer listed";
    EXPECT_EQ(CountMenuWindows(kMenuPassive | kMenuHidden), 1);

    LogOf(a).closeOnDecide = true;
    input().KeyDown(DIK_RETURN);
    Frame();
    EXPECT_EQ(TakeEvents(), (std::vector<std::string>{"A:1(0)", "A:13(0)"}));
    EXPECT_FALSE(IsMenuWindow(a));
    EXPECT_EQ(GetFocusWindow(), nullptr) << "passive and hidden windows are never refocused";
}

struct MoveCase {
    const char* name;
    int count;
    std::vector<int> disabled;
    DWORD flags;
    int start;
    int n;
    int result;
    int current;
};

TEST_F(MenuInputTest, MoveCurrentCases) {
    // clang-format off
    const MoveCase cases[] = {
        {"wraps from the last to the first", 5, {}, kMenuWrap, 4, 1, 1, 0},
        {"wraps from the first to the last enabled", 5, {4}, kMenuWrap, 0, -1, 1, 3},
        {"a page move never wraps", 5, {}, kMenuWrap, 3, 3, 1, 4},
        {"all disabled on a wrapping window stays", 4, {0, 1, 2, 3}, kMenuWrap, 1, 1, 1, 1},
        {"skips two disabled items", 6, {1, 2}, 0, 0, 1, 1, 3},
        {"stays at the end", 3, {}, 0, 2, 1, 1, 2},
        {"up from the first stays", 3, {}, 0, 0, -1, 1, 0},
        {"a page stops at the last enabled item", 8, {7}, 0, 2, 9, 1, 6},
        {"no items", 0, {}, 0, 0, 1, 1, 0},
        {"a passive window does not move", 5, {}, kMenuPassive, 1, 1, 0, 1},
    };
    // clang-format on
    for (const MoveCase& test : cases) {
        MenuWindow* w = MakeWindow("M", 100, 100, 200, 96, test.count, test.flags);
        for (int i : test.disabled) {
            w->GetItem(i)->flags |= kMenuItemDisabled;
        }
        w->current = test.start;
        TakeEvents();
        EXPECT_EQ(w->MoveCurrent(test.n), test.result) << test.name;
        EXPECT_EQ(w->current, test.current) << test.name;
        const std::vector<std::string> expected =
            test.current != test.start
                ? std::vector<std::string>{"M:9(" + std::to_string(test.current) + ")"}
                : std::vector<std::string>{};
        EXPECT_EQ(TakeEvents(), expected) << test.name;
        const int line = test.current * 24;
        EXPECT_TRUE(w->scroll <= line && line + 24 <= w->scroll + 96) << test.name << " in view";
        DeleteMenuWindow(w);
        TakeEvents();
    }
}

TEST_F(MenuInputTest, HelpBaloonOpensAfterTheDelayAndClosesOnAMove) {
    BaloonTime = 500;
    MenuWindow* a = MakeWindow("A", 100, 100, 300, 120, 4);
    a->GetItem(1)->helpText = DuplicateString("help 1");
    a->GetItem(2)->helpText = DuplicateString("help 2");
    SetFocusWindow(a);
    a->MoveCurrent(1);
    Frame(0.4);
    EXPECT_EQ(HelpBaloon, nullptr) << "400 of 500 ms";
    Frame(0.1);
    ASSERT_NE(HelpBaloon, nullptr);
    EXPECT_EQ(HelpBaloon->x, 250) << "centred over the item area";
    EXPECT_EQ(HelpBaloon->y, 124) << "at the top of the current line";
    EXPECT_EQ(HelpBaloon->flags & kBaloonDrawn, kBaloonDrawn) << "drawn after the windows";
    BaloonEnable = 0;
    input().KeyDown(DIK_DOWN);
    Frame(0.1);
    EXPECT_TRUE(BaloonList().empty()) << "the move closed it";
    Frame(1.0);
    EXPECT_EQ(HelpBaloon, nullptr) << "balloons switched off";
}

}  // namespace
}  // namespace ui_tests
