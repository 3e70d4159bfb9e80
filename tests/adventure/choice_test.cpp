// Choices and popups in the running adventure: the options chosen by keys, pad and wheel land
// in variables 9 and 10 and in the choice history, a cancellable choice gives -1, options taken
// before are coloured in the next run, help texts open their balloon, and a popup closes and
// hands the focus back.

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "adventure/adventure_frame.h"
#include "adventure/choice_history.h"
#include "adventure/choice_window.h"
#include "adventure/game_mode.h"
#include "adventure/message_window.h"
#include "adventure/save_game.h"
#include "foundation/app_settings.h"
#include "platform/dinput/dik_codes.h"
#include "save_fixture.h"
#include "script/script_variables.h"
#include "sprite_ui/baloon.h"
#include "sprite_ui/menu_input.h"
#include "sprite_ui/menu_window.h"

namespace adventure_tests {
namespace {

// A choice of three (its taken option in g20, its value in g21), a cancellable one built from
// two items with help texts and one argument (g22, g23), then a popup; then it waits.
constexpr const char* kChoices = R"(
.locals 0
*top
    text "どちらへ？"
    invoke 20 "北" "南" "西"
    set g20 g9
    set g21 g10
    invoke 22 "時刻表" 7 "発車時刻の一覧"
    invoke 22 "地図" 8
    invoke 21 "やめる"
    set g22 g9
    set g23 g10
    set g9 3
    invoke 0 54 "列車は#0本です。"
    set g24 1
@end
    invoke 0 0 l0 l0
    jump @end
)";

class ChoiceTest : public SaveTest {
protected:
    void SetUp() override {
        SaveTest::SetUp();
        ResetMenuInput();
        std::ifstream file(std::string(QVN_SOURCE_DIR) + "/demo/bmp/baloon.png", std::ios::binary);
        dir_->writeFile("bmp/baloon.png", std::string(std::istreambuf_iterator<char>(file), {}));
        input_->wheelGranularity = 120;
        WriteScript("start", kChoices);
    }
    void TearDown() override {
        DestroyAllMenuWindows();
        while (!BaloonList().empty()) {
            DeleteBaloon(BaloonList().front());
        }
        ResetMenuInput();
        SaveTest::TearDown();
    }
    // One frame as the frame step runs it: the UI windows read their input first.
    void UiFrame(const Input& input = {}) {
        Poll(input);
        UpdateMenuInput(1.0 / 60.0);
        device()->BeginScene();
        AdventureFrame(1.0 / 60.0);
        DrawMenuWindows();
        device()->EndScene();
    }
    // Runs until a UI window has the focus.
    MenuWindow* UntilWindow() {
        for (int i = 0; i < 10 && GetFocusWindow() == nullptr; ++i) {
            UiFrame();
        }
        return GetFocusWindow();
    }
    std::string Text(const MenuItem* item) const { return item->text; }
};

TEST_F(ChoiceTest, KeysPadAndWheelChooseAndTheChoiceIsRemembered) {
    const Input down{{DIK_DOWN}};
    const Input enter{{DIK_RETURN}};
    const Input rightClick{{}, {1}};
    struct Case {
        const char* name;
        std::vector<Input> inputs;
        int index;
    };
    const std::vector<Case> cases = {
        {"a right click does not cancel it", {rightClick, {}, enter}, 0},
        {"Down, then Enter", {down, {}, enter}, 1},
        {"the pad pushed down, then its first button",
         {{{}, {}, {}, 0, 1000}, {}, {{}, {}, {0}}},
         1},
        {"the wheel turned one notch toward the end, then Enter",
         {{{}, {}, {}, -120}, {}, enter},
         1},
        {"Down twice, then Enter", {down, {}, down, {}, enter}, 2},
    };
    for (const Case& c : cases) {
        Restart();
        StartScript("start");
        MenuWindow* window = UntilWindow();
        ASSERT_NE(window, nullptr) << c.name;
        ASSERT_EQ(window->items.size(), 3u);
        EXPECT_EQ(Text(window->items[0]), Sjis(" 北 "));
        EXPECT_EQ(window->y, kMenuAuto) << "no standing character: centred";
        EXPECT_EQ(window->height, 3 * 24);
        EXPECT_EQ(window->fontDescription.lfHeight, 20);
        EXPECT_EQ(window->fontDescription.lfWeight, 700);
        EXPECT_EQ(MessageWindowShown, 1);
        UiFrame();  // no key held: the keys act from now on
        for (const Input& input : c.inputs) {
            UiFrame(input);
        }
        EXPECT_EQ(Var(20), c.index) << c.name;
        EXPECT_EQ(Var(21), c.index) << c.name << ": the value is its position";
        EXPECT_TRUE(IsChoiceTaken("start", 0, static_cast<std::uint32_t>(c.index))) << c.name;
        // The next choice may take the freed window's place in memory: tell them by their items.
        const MenuWindow* focus = GetFocusWindow();
        EXPECT_TRUE(focus == nullptr || focus->items.empty() ||
                    Text(focus->items[0]) != Sjis(" 北 "))
            << c.name << ": the choice closed";
    }

    // The next run colours the option taken in the last.
    ResetAdventureState();
    ForgetSavedGames();
    StartScript("start");
    MenuWindow* window = UntilWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->items[0]->colour, 0xFFFFFFFFu);
    EXPECT_EQ(window->items[1]->colour, 0xFFFFFFFFu);
    EXPECT_EQ(window->items[2]->colour, kChoiceTakenColour);
}

TEST_F(ChoiceTest, CancellableChoiceWithHelpTextsThenAPopup) {
    BaloonEnable = 1;
    BaloonTime = 100;
    StartScript("start");
    UntilWindow();
    UiFrame();
    UiFrame({{DIK_RETURN}});
    ASSERT_EQ(Var(20), 0);
    UiFrame();

    MenuWindow* window = UntilWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(window->items.size(), 3u);
    EXPECT_EQ(Text(window->items[0]), Sjis(" 時刻表 "));
    EXPECT_EQ(window->items[0]->value, 7u);
    EXPECT_EQ(std::string(window->items[0]->helpText), Sjis("発車時刻の一覧"));
    EXPECT_EQ(window->items[1]->value, 8u);
    EXPECT_EQ(window->items[1]->helpText, nullptr);
    EXPECT_EQ(window->items[2]->value, 0u) << "the argument's position";
    EXPECT_EQ(window->items[0]->colour, 0xFFFFFFFFu) << "a cancellable choice is not coloured";
    for (int i = 0; i < 8 && HelpBaloon == nullptr; ++i) {
        UiFrame();
    }
    EXPECT_NE(HelpBaloon, nullptr) << "the help text opens after BaloonTime";
    UiFrame({{}, {1}});
    EXPECT_EQ(Var(22), -1);
    EXPECT_EQ(Var(23), -1);
    EXPECT_FALSE(IsChoiceTaken("start", 1, 7)) << "nothing recorded";

    // The popup: the text with its word, modal, at half the screen's height.
    MenuWindow* popup = UntilWindow();
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(popup->items.size(), 1u);
    EXPECT_EQ(Text(popup->items[0]), Sjis("列車は3本です。"));
    EXPECT_EQ(popup->flags & (kMenuModal | kMenuPassive), kMenuModal);
    EXPECT_EQ(popup->y, 300);
    EXPECT_EQ(popup->x, kMenuAuto);
    UiFrame();
    EXPECT_EQ(Var(24), 0) << "the script waits while it is open";
    UiFrame({{DIK_RETURN}});
    EXPECT_TRUE(MenuWindowList().empty());
    UiFrame();
    EXPECT_EQ(Var(24), 1);
}

TEST_F(ChoiceTest, EmptyChoiceOpensNoWindowAndPopupsHandTheFocusBack) {
    WriteScript("start", R"(
.locals 0
*top
    invoke 20
    set g20 1
    invoke 21
    set g21 1
    invoke 22 "a" 5
    invoke 20
    set g22 g10
@end
    invoke 0 0 l0 l0
    jump @end
)");
    StartScript("start");
    UiFrame();
    EXPECT_EQ(Var(9), -1);
    EXPECT_EQ(Var(10), -1);
    EXPECT_TRUE(MenuWindowList().empty()) << "no window that would wait for ever";
    UiFrame();
    EXPECT_EQ(Var(20), 1) << "the script goes on in the next frame";
    UiFrame();
    EXPECT_EQ(Var(21), 1);
    MenuWindow* window = UntilWindow();
    ASSERT_NE(window, nullptr) << "an item of function 22 makes a choice of one";
    UiFrame();
    UiFrame({{DIK_RETURN}});
    EXPECT_EQ(Var(22), 5);

    // A passive popup over a focused window; closing it gives that window the focus again.
    MenuWindow* owner = CreateMenuWindow(10, 10, 100, 48, 24, nullptr, nullptr, 0);
    MenuItem item;
    item.text = "x";
    owner->AddItem(item);
    SetFocusWindow(owner);
    MenuWindow* popup = ShowPopup(kMenuAuto, 300, "y", false, nullptr);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->flags & (kMenuModal | kMenuPassive), kMenuPassive);
    EXPECT_EQ(popup->context, owner);
    EXPECT_EQ(GetFocusWindow(), popup);
    UiFrame();
    UiFrame({{}, {0}});
    EXPECT_FALSE(IsMenuWindow(popup));
    EXPECT_EQ(GetFocusWindow(), owner);
}

}  // namespace
}  // namespace adventure_tests
