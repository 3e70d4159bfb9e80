// Every title command through assembled scripts and the real dispatcher (system sub-command 9):
// what each leaves behind, whether the script goes on in the same frame, scripts started from
// inside the call that the calling script survives, and the two popups with their entries,
// colours and choices.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "adventure/adventure_frame.h"
#include "adventure/game_mode.h"
#include "adventure/message_window.h"
#include "adventure/save_slot_table.h"
#include "adventure/scene.h"
#include "foundation/path.h"
#include "platform/win32/menu_api.h"
#include "platform/win32/message_api.h"
#include "script/call_stack.h"
#include "shell/game_window.h"
#include "sprite_ui/menu_window.h"
#include "title/title_data.h"
#include "title/title_menu.h"
#include "title/title_popup.h"
#include "title_fixture.h"

namespace title_tests {
namespace {

using Step = adventure_tests::ScriptStep;

// Stores variable 9 in g19, so that a step can read it after later calls.
constexpr const char* kKeepResult = "\n    push g9\n    push g19\n    assign\n    pop";

const char* kReplayScript = R"(
*normal
    set g18 1
    return
*solo
    set g18 33
    return
)";

const char* kPartScript = R"(
*top
    set g18 2
    return
)";

const char* kRecollectionScript = R"(
*_mecall
    push g9
    push 100
    add
    push g18
    assign
    pop
    return
)";

class TitleCommandTest : public TitleWindowTest {
protected:
    void SetUp() override {
        TitleWindowTest::SetUp();
        Title::Close();
        gTitleData.names = {"station", "scene1+scene2+scene3", "a+b+c+d+e+f+g+h+i", "solo"};
        gTitleData.flags = {0, 2, 0, 0};
        gTitleData.pageCount = {2, 1, 1, 1};
        gTitleData.flagFilePath = GetPath(PathKind::Save, 99);
        WriteImage("visual/station.png", 800, 600,
                   graphics_tests::MakeImage(800, 600, [](int, int) { return 0xFF336699u; }));
        WriteImage("title/cells.png", 40, 40,
                   graphics_tests::MakeImage(40, 40, [](int, int) { return 0xFF808080u; }));
        ItemRecordFields r;
        r.image0 = "cells.png";
        r.columns = 3;
        r.cellLimit = 3;
        r.cellStepX = r.cellStepY = 40;
        r.destStepX = 50;
        r.firstValue = 1;
        WriteData("menu.dat", ItemRecord(r));
        r.columns = r.cellLimit = 2;
        WriteData("page2.dat", ItemRecord(r));
        WriteScript("title_cg", kReplayScript);
        WriteScript("scene2", kPartScript);
        WriteScript("title", kRecollectionScript);
    }

    static MenuItem* Entry(MenuWindow* window, int index) { return window->GetItem(index); }
};

TEST_F(TitleCommandTest, EveryCommandThroughScripts) {
    TitleMenu* menu = nullptr;
    const std::vector<Step> steps = {
        {"0 with mode 0 and no menu does nothing", "    invoke 0 9 0 0", 0,
         [] { EXPECT_EQ(gTitleMenu, nullptr); }},
        {"1 makes an empty menu in the mode now", "    invoke 0 9 1", 0,
         [&] {
             ASSERT_NE(gTitleMenu, nullptr);
             menu = gTitleMenu;
             EXPECT_TRUE(menu->items.empty());
             EXPECT_EQ(menu->savedMode, kGameModeAdventure);
         }},
        {"8 adds a table, named by a format with argument 3 when there is one",
         "    invoke 0 9 8 \"menu.dat\"\n    invoke 0 9 8 \"page%d.dat\" 2\n"
         "    invoke 0 9 8 \"absent.dat\"",
         0,
         [&] {
             EXPECT_EQ(menu->items.size(), 5u);
             EXPECT_EQ(CountLogLines("Title: AddItem error."), 1);
         }},
        {"6 draws the items and keeps them to drop at 7", "    invoke 0 9 6", 0,
         [&] {
             EXPECT_EQ(menu->keepCount, 5u);
             menu->hovered = menu->pressed = menu->clicked = menu->chosen = 1;
         }},
        {"7 drops them, rebuilds the navigation and makes the screen BASE",
         "    invoke 0 9 8 \"menu.dat\"\n    invoke 0 9 7", 0,
         [&] {
             EXPECT_EQ(menu->items.size(), 3u);
             EXPECT_EQ(menu->keepCount, 0u);
             EXPECT_EQ(menu->navigator.targets.size(), 3u);
             ASSERT_NE(BasePlane, nullptr);
         }},
        {"4 forgets hover, press, click and choice", "    invoke 0 9 4", 0,
         [&] {
             EXPECT_EQ(menu->hovered, -1);
             EXPECT_EQ(menu->pressed, -1);
             EXPECT_EQ(menu->clicked, -1);
             EXPECT_EQ(menu->chosen, -1);
             TakePosted();
             MessageWindowShown = 1;
         }},
        {"2 hides the message window, enters the title mode and yields", "    invoke 0 9 2", 1,
         [&] {
             EXPECT_EQ(MessageWindowShown, 0);
             EXPECT_EQ(GameMode, kGameModeTitleMenu);
             const std::vector<Posted> posted = TakePosted();
             ASSERT_EQ(posted.size(), 1u);
             EXPECT_EQ(posted[0].message, static_cast<UINT>(WM_MOUSEMOVE)) << "hover anew";
             GameMode = kGameModeAdventure;
         }},
        {"5 lets the pointer be seen again", "    invoke 0 9 5", 0,
         [&] { EXPECT_EQ(TakePosted().size(), 1u); }},
        {"3 kind 1: the gallery picture becomes BASE", "    invoke 0 9 3 1 0", 0,
         [&] {
             device()->BeginScene();
             RenderAdventureScene(1);
             device()->EndScene();
             EXPECT_EQ(PixelAt(400, 300), 0xFF336699u);
         }},
        {"3 kind 2: the replay starts inside the call, jumps to the item's label, and the "
         "calling script goes on after it in the same frame",
         "    invoke 0 9 3 2 3", 0, [] { EXPECT_EQ(Var(18), 33); }},
        {"3 kind 2 for an item without a label runs from \"normal\"", "    invoke 0 9 3 2 0", 0,
         [] { EXPECT_EQ(Var(18), 1); }},
        {"3 kind 2 beyond the items does nothing",
         "    set g18 0\n    invoke 0 9 3 2 4\n    invoke 0 9 3 7 0", 0,
         [] { EXPECT_EQ(Var(18), 0); }},
        {"11 for a one-part item chooses entry 0 without a window", "    invoke 0 9 11 3", 0,
         [] {
             EXPECT_EQ(GetRecollectionPopup().chosen, 0);
             EXPECT_EQ(GetRecollectionPopup().window, nullptr);
             EXPECT_EQ(gTitleData.selectedItem, 3);
             GetRecollectionPopup().Clear();
         }},
        {"11 for an item of nine parts shows nothing", "    invoke 0 9 11 2 \"a\"", 0,
         [] {
             EXPECT_EQ(GetRecollectionPopup().chosen, -1);
             EXPECT_EQ(GetRecollectionPopup().window, nullptr);
         }},
        {"11 for three scenes: only the seen one can be chosen, texts past the arguments empty",
         "    invoke 0 9 11 1 \"first\" \"second\"", 0,
         [] {
             const TitlePopup& popup = GetRecollectionPopup();
             ASSERT_NE(popup.window, nullptr);
             EXPECT_EQ(popup.count, 3u);
             EXPECT_EQ(GetFocusWindow(), popup.window);
             EXPECT_EQ(popup.window->lineHeight, 24);
             EXPECT_EQ(popup.window->fontDescription.lfHeight, 20);
             const struct {
                 const char* text;
                 DWORD flags;
                 D3DCOLOR colour;
             } entries[] = {{"first", kMenuItemDisabled, 0xFF808080u},
                            {"second", 0, 0xFFFFFFFFu},
                            {"", kMenuItemDisabled, 0xFF808080u}};
             for (int i = 0; i < 3; ++i) {
                 const MenuItem* item = Entry(popup.window, i);
                 ASSERT_NE(item, nullptr);
                 EXPECT_STREQ(item->text, entries[i].text);
                 EXPECT_EQ(item->flags, entries[i].flags);
                 EXPECT_EQ(item->colour, entries[i].colour);
             }
             // An open window holds the script.
             GetRecollectionPopup().Clear();
         }},
        {"12 starts a part of that item at a label inside the call; the calling script goes on",
         "    set g18 0\n    invoke 0 9 12 1 \"top\"", 0, [] { EXPECT_EQ(Var(18), 2); }},
        {"12 past the parts, below 0, or after 11 of an item out of range does nothing",
         "    set g18 0\n    invoke 0 9 12 3 \"top\"\n    invoke 0 9 12 -1 \"top\"\n"
         "    invoke 0 9 11 -1\n    invoke 0 9 12 1 \"top\"",
         0,
         [] {
             EXPECT_EQ(Var(18), 0);
             EXPECT_EQ(gTitleData.selectedItem, -1);
         }},
        {"13 sets a flag byte and reads it back; out of range and other ops give 0",
         std::string("    invoke 0 9 13 1 3 261\n    invoke 0 9 13 0 3") + kKeepResult +
             "\n    invoke 0 9 13 0 99",
         0,
         [] {
             EXPECT_EQ(Var(19), 5) << "the low byte";
             EXPECT_EQ(Var(9), 0);
             EXPECT_EQ(gTitleData.flags[3], 5);
             gTitleData.extraDataPresent = 1;
         }},
        {"14 reports the extra data pack, other ops 0",
         std::string("    invoke 0 9 14 0") + kKeepResult + "\n    invoke 0 9 14 1", 0,
         [] {
             EXPECT_EQ(Var(19), 1);
             EXPECT_EQ(Var(9), 0);
         }},
        {"15 sets the current item, its page count and page, and steps the page",
         "    invoke 0 9 15 0 0\n    invoke 0 9 15 1 3\n    invoke 0 9 15 2 3\n"
         "    invoke 0 9 15 3 1\n    invoke 0 9 15 0 -5\n    invoke 0 9 15 9 1",
         0,
         [] {
             EXPECT_EQ(gTitleData.currentItem, 0);
             EXPECT_EQ(gTitleData.pageCount[0], 3u);
             EXPECT_EQ(Title::CurrentPage(), 1);
         }},
        {"9 shows the load popup with the slot texts, used slots enabled", "    invoke 0 9 9", 0,
         [] {
             const TitlePopup& popup = GetCommandPopup();
             ASSERT_NE(popup.window, nullptr);
             EXPECT_EQ(popup.window->items.size(), 21u);
             EXPECT_EQ(popup.window->lineHeight, 18);
             EXPECT_EQ(popup.window->fontDescription.lfHeight, 16);
             EXPECT_EQ(GetFocusWindow(), popup.window);
             const struct {
                 int slot;
                 DWORD flags;
                 D3DCOLOR colour;
             } entries[] = {
                 {0, kMenuItemDisabled, 0xFF808080u}, {3, 0, 0xFFFFFFFFu}, {20, 0, 0xFF7FF4FFu}};
             for (const auto& e : entries) {
                 const MenuItem* item = Entry(popup.window, e.slot);
                 EXPECT_EQ(item->text, SaveSlotText(SaveSlots[static_cast<std::size_t>(e.slot)]))
                     << e.slot;
                 EXPECT_EQ(item->flags, e.flags) << e.slot;
                 EXPECT_EQ(item->colour, e.colour) << e.slot;
             }
             GetCommandPopup().CloseWindow();
         }},
        {"10 asks the game window to close and yields", "    invoke 0 9 10", 1,
         [] {
             const std::vector<Posted> posted = TakePosted();
             ASSERT_FALSE(posted.empty());
             EXPECT_EQ(posted.back().message, static_cast<UINT>(WM_CLOSE));
         }},
        {"sub-commands above 15 do nothing", "    invoke 0 9 16\n    invoke 0 9 4294967295", 0,
         [&] { EXPECT_EQ(gTitleMenu, menu); }},
        {"0 with mode 0 asks the menu to close at its next frame", "    invoke 0 9 0 0", 0,
         [&] { EXPECT_EQ(menu->closeRequest, 1); }},
        {"0 with another mode closes it with its popups at once", "    invoke 0 9 0 1", 0,
         [] {
             EXPECT_EQ(gTitleMenu, nullptr);
             EXPECT_EQ(GetCommandPopup().window, nullptr);
             EXPECT_EQ(GetRecollectionPopup().window, nullptr);
             EXPECT_TRUE(MenuWindowList().empty());
         }},
        {"menu commands without a menu do nothing",
         "    invoke 0 9 3 0 0\n    invoke 0 9 4\n    invoke 0 9 6\n    invoke 0 9 7\n"
         "    invoke 0 9 8 \"menu.dat\"\n    invoke 0 9 2",
         1,
         [this] {
             EXPECT_EQ(gTitleMenu, nullptr);
             EXPECT_EQ(GameMode, kGameModeAdventure);
             EXPECT_EQ(CountLogLines("Title: AddItem error."), 1);
         }},
    };
    // The table read once (this folder holds no saves); then two slots as if saved in this run.
    ScanSaveSlots(nullptr);
    for (const auto& [slot, title] : {std::pair{3, "slot three"}, std::pair{20, "the last"}}) {
        SaveSlotRecord& record = SaveSlots[static_cast<std::size_t>(slot)];
        SetSaveText(record.title, kSaveTitleSize, title);
        record.time = SYSTEMTIME{2026, 12, 1, 7, 9, 30, 0, 0};
        record.used = 1;
    }
    ASSERT_EQ(SaveSlotText(SaveSlots[3]).find("2026/12/07"), 0u);
    RunSteps(steps);
    ForgetSaveSlots();
}

TEST_F(TitleCommandTest, PopupsHandTheirChoicesOn) {
    TitlePopup& commands = GetCommandPopup();
    Title::ShowCommandPopup();
    ASSERT_NE(commands.window, nullptr);
    EXPECT_EQ(DispatchWindowEvent(commands.window, kMenuEventDecide, 4), 1);
    EXPECT_EQ(commands.window, nullptr) << "closed by the choice";
    EXPECT_EQ(commands.chosen, 4);
    TakePosted();
    EXPECT_TRUE(commands.PostCommand());
    EXPECT_EQ(TakePosted(), (std::vector<Posted>{{WM_COMMAND, 40204, 0}}));
    EXPECT_EQ(commands.chosen, -1);
    EXPECT_FALSE(commands.PostCommand());

    Title::ShowCommandPopup();
    EXPECT_EQ(DispatchWindowEvent(commands.window, kMenuEventCancel, 0), 1);
    EXPECT_EQ(commands.window, nullptr);
    EXPECT_EQ(commands.chosen, -1);

    // A chosen scene starts "title" at "_mecall" with its entry in variable 9.
    TitlePopup& scenes = GetRecollectionPopup();
    const std::array<const char*, kTitlePopupEntries> texts{"one", "two", "three"};
    gTitleData.flags[1] = 7;
    Title::ShowRecollection(1, texts);
    ASSERT_NE(scenes.window, nullptr);
    EXPECT_EQ(DispatchWindowEvent(scenes.window, kMenuEventFocus, 0), 0) << "not handled";
    EXPECT_EQ(DispatchWindowEvent(scenes.window, kMenuEventDecide, 2), 1);
    EXPECT_EQ(scenes.window, nullptr);
    EXPECT_EQ(scenes.count, 0u);
    WriteScript("start", "*top\n@wait\n    invoke 6 1\n    jump @wait\n");
    StartScript("start");
    EXPECT_TRUE(scenes.RunRecollection());
    EXPECT_EQ(scenes.chosen, -1);
    Frame();
    EXPECT_EQ(Var(18), 102);
    EXPECT_STREQ(CurrentScriptName(), GetPath(PathKind::Script, "start")) << "returned";

    Title::ShowRecollection(1, texts);
    EXPECT_EQ(DispatchWindowEvent(scenes.window, kMenuEventCancel, 0), 1);
    EXPECT_EQ(scenes.window, nullptr);
    EXPECT_FALSE(scenes.RunRecollection());
}

}  // namespace
}  // namespace title_tests
