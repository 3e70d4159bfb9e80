// Saving and loading a running game: a saved game loads back into the same state; the system
// variables come from slot 20; the overwrite question; writes that fail at any point leave the
// old files; and the slot table's menu texts.

#include <sys/stat.h>
#include <utime.h>

#include <string>
#include <vector>

#include "adventure/adventure_frame.h"
#include "adventure/game_mode.h"
#include "adventure/save_file.h"
#include "adventure/save_game.h"
#include "adventure/save_slot_table.h"
#include "adventure/save_texts.h"
#include "adventure/system_variables.h"
#include "foundation/path.h"
#include "platform/win32/menu_api.h"
#include "platform/win32/message_box.h"
#include "platform/winbase/test_hooks.h"
#include "resources/game_resources.h"
#include "save_fixture.h"
#include "script/call_stack.h"
#include "script/script_variables.h"
#include "shell/game_window.h"
#include "shell/shell_texts.h"

namespace adventure_tests {
namespace {

class SaveGameTest : public SaveTest {
protected:
    void TearDown() override {
        win32_test::FailWritesAfter(-1);
        win32_test::FixWallClock(false);
        ResetGameWindowState();
        SaveTest::TearDown();
    }
    static void Set(std::uint32_t index, std::int32_t value) {
        const auto word = static_cast<std::uint32_t>(value);
        SetVar(index, &word);
    }
    // The running frame's first local.
    static std::int32_t Local0() { return static_cast<std::int32_t>(GetVar(CurrentFrame()->base)); }
};

TEST_F(SaveGameTest, SavedGameLoadsIntoTheSameState) {
    PlayToSavePoint();
    const std::uint32_t middle = CurrentFrame()->script->FindLabel("middle");
    ASSERT_TRUE(SaveToSlot(kSaveSlotCommand + 5));
    EXPECT_EQ(SlotBytes(5), SlotBytes(20)) << "the menu saves the save point's game";
    Boxes();

    // The game goes on and changes; then slot 5 comes back.
    Set(3, 9);
    Set(0, 1);
    Set(11, 4);
    LoadMenuEnabled = SaveMenuEnabled = TitleReturnEnabled = 0;
    Frame({{}, {0}});
    RunUntilPageWait();
    ASSERT_EQ(Var(5), 1);
    LoadGameData(kLoadSlotCommand + 5);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(Var(3), 5) << "globals as saved";
    EXPECT_EQ(Var(5), 0);
    EXPECT_EQ(Var(0), 100) << "system variables of slot 20";
    EXPECT_EQ(Var(11), 0) << "no music";
    ASSERT_EQ(ScriptCallStack.size(), 1u) << "the running frame only";
    EXPECT_EQ(std::string(CurrentScriptName()), GetPath(PathKind::Script, "scene"));
    EXPECT_EQ(CurrentFrame()->pos, middle) << "at the resume label";
    EXPECT_EQ(Local0(), -2) << "its locals as saved";
    EXPECT_EQ(GameMode, kGameModeAdventure);
    EXPECT_EQ(GameModeStack, std::deque<int>{kGameModeNone});
    EXPECT_EQ(LoadMenuEnabled + SaveMenuEnabled + TitleReturnEnabled, 3);
    EXPECT_EQ(PageWait, 0);

    // It plays on from there: the save point again (now of the one frame), then its page.
    RunUntilPageWait();
    EXPECT_EQ(Var(5), 0);
    EXPECT_NE(SlotBytes(20), SlotBytes(5));
    EXPECT_EQ(ScriptCallStack.size(), 1u);
}

TEST_F(SaveGameTest, SystemVariablesComeFromSlot20) {
    PlayToSavePoint();
    ASSERT_TRUE(SaveToSlot(kSaveSlotCommand + 5));
    Boxes();
    // Slot 20 now holds other system variables, under a key of its own (carried over from a
    // loaded game); slot 5 keeps g0 = 100.
    for (std::uint32_t i = 0; i < 9; ++i) {
        Set(i, static_cast<std::int32_t>(200 + i));
    }
    gSaveRecord.scrambleKey = 0xC0FFEE11u;
    ASSERT_TRUE(PushGameData("x", nullptr, true));
    EXPECT_TRUE(Boxes().empty()) << "the save point saves without a word";
    EXPECT_EQ(SlotBytes(20)[104], 0x11) << "slot 20 is scrambled";

    LoadGameData(kLoadSlotCommand + 5);
    for (std::uint32_t i = 0; i < 9; ++i) {
        EXPECT_EQ(Var(i), static_cast<std::int32_t>(200 + i)) << "variable " << i;
    }

    // The variables' reset (start-up and sub-command 4) reads them again.
    Set(2, 0);
    ResetScriptVariables(1);
    EXPECT_EQ(Var(2), 202);

    // One replaced in slot 20, and all nine.
    Set(4, -7);
    ASSERT_TRUE(SaveSystemVariables(4));
    Set(4, 0);
    Set(1, 0);
    ASSERT_TRUE(LoadSystemVariables());
    EXPECT_EQ(Var(4), -7);
    EXPECT_EQ(Var(1), 201);
    Set(1, 5);
    ASSERT_TRUE(SaveSystemVariables(-1));
    Set(1, 0);
    ASSERT_TRUE(LoadSystemVariables());
    EXPECT_EQ(Var(1), 5);
    EXPECT_FALSE(SaveSystemVariables(24)) << "the block's array ends at variable 23";

    // A slot 20 that is damaged or holds too few variables changes nothing.
    struct Case {
        const char* name;
        std::vector<std::uint8_t> state;
        bool cutShort;  // the file one byte short of its state
        std::string line;
    };
    std::vector<std::uint8_t> eight;
    PutWord(eight, 4 * 6 + 32 + 1);
    PutWord(eight, 0x4D524353u);
    PutWord(eight, 8);
    for (int i = 0; i < 8; ++i) {
        PutWord(eight, 1);
    }
    PutWord(eight, 8);
    PutWord(eight, 0);
    PutWord(eight, 0);
    eight.push_back(0);
    const std::string named = std::string(" \"") + GetPath(PathKind::Save, 20) + "\"";
    const Case cases[] = {
        {"eight variables", eight, false, "saveload:LoadSystemVariables: error. variables(8)"},
        {"not a block", std::vector<std::uint8_t>(40, 0xAB), false,
         "saveload:LoadSystemVariables: error. state"},
        {"a state past the file's end", eight, true,
         "saveload:LoadSystemVariables: error. ReadSaveFile"},
    };
    for (const Case& c : cases) {
        SaveRecord record;
        record.state = c.state;
        ASSERT_TRUE(WriteSaveFile(record, GetPath(PathKind::Save, 20)));
        if (c.cutShort) {
            std::vector<std::uint8_t> bytes = SlotBytes(20);
            bytes.pop_back();
            WriteSlotBytes(20, bytes);
        }
        Set(1, 9);
        EXPECT_FALSE(LoadSystemVariables()) << c.name;
        EXPECT_EQ(Var(1), 9) << c.name;
        EXPECT_TRUE(HasLogLineStarting(c.line + named)) << c.name;
    }
    std::remove((dir_->path() + "/" + SlotPath(20)).c_str());
    const int lines = static_cast<int>(LogLines().size());
    EXPECT_FALSE(LoadSystemVariables()) << "no slot 20 yet";
    EXPECT_EQ(static_cast<int>(LogLines().size()), lines) << "which is no error";
}

TEST_F(SaveGameTest, OverwriteIsAskedAndNoLeavesTheFile) {
    PlayToSavePoint();
    ASSERT_TRUE(SaveToSlot(kSaveSlotCommand + 7));
    Boxes();
    const std::vector<std::uint8_t> first = SlotBytes(7);
    SetSaveText(gSaveRecord.title, kSaveTitleSize, Sjis("新しい名前").c_str());
    win32_test::QueueMessageBoxAnswer(IDNO);
    EXPECT_FALSE(SaveToSlot(kSaveSlotCommand + 7));
    auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(
        boxes[0].text,
        Sjis("『0月 0週 平日 駅にて』 に 『新しい名前』 を上書き保存します。よろしいですか？"));
    EXPECT_EQ(boxes[0].caption, kConfirmCaption);
    EXPECT_EQ(boxes[0].style, 0x104u) << "Yes and No, No the default";
    EXPECT_EQ(SlotBytes(7), first);

    win32_test::QueueMessageBoxAnswer(IDYES);
    EXPECT_TRUE(SaveToSlot(kSaveSlotCommand + 7));
    boxes = Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, kSavedText);
    EXPECT_NE(SlotBytes(7), first);
    EXPECT_EQ(std::string(SaveSlots[7].title), Sjis("新しい名前"));

    // Slot 20 is never asked about; commands outside the ranges do nothing.
    EXPECT_TRUE(SaveToSlot(kSavePointCommand));
    EXPECT_FALSE(SaveToSlot(kSaveSlotCommand - 1));
    EXPECT_FALSE(SaveToSlot(kSavePointCommand + 1));
    LoadGameData(kLoadSlotCommand - 1);
    LoadGameData(kLoadSlotCommand + 21);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(SaveGameTest, FailedWritesLeaveTheOldFiles) {
    PlayToSavePoint();
    ASSERT_TRUE(SaveToSlot(kSaveSlotCommand + 2));
    Boxes();
    const std::vector<std::uint8_t> old = SlotBytes(2);
    const std::vector<std::uint8_t> old20 = SlotBytes(20);
    SetSaveText(gSaveRecord.title, kSaveTitleSize, "new");
    const auto size = static_cast<std::int64_t>(old.size());
    for (const std::int64_t allowed :
         {std::int64_t{0}, std::int64_t{1}, std::int64_t{111}, std::int64_t{112}, size - 1}) {
        win32_test::FailWritesAfter(allowed);
        win32_test::QueueMessageBoxAnswer(IDYES);
        EXPECT_FALSE(SaveToSlot(kSaveSlotCommand + 2)) << allowed;
        win32_test::FailWritesAfter(allowed);
        EXPECT_FALSE(SaveToSlot(kSavePointCommand)) << allowed;
        win32_test::FailWritesAfter(-1);
        const auto boxes = Boxes();
        ASSERT_EQ(boxes.size(), 2u) << allowed;
        EXPECT_EQ(boxes[1].text, kSaveFailedText) << allowed;
        EXPECT_EQ(boxes[1].caption, kWarningCaption);
        EXPECT_EQ(SlotBytes(2), old) << allowed;
        EXPECT_EQ(SlotBytes(20), old20) << allowed;
        EXPECT_FALSE(dir_->exists(SlotPath(2) + ".tmp")) << allowed;
    }
    EXPECT_EQ(std::string(SaveSlots[2].title), Sjis("0月 0週 平日 駅にて")) << "the table too";
    // A slot 20 that cannot be replaced (a folder stands in its place) is logged, not shown.
    std::remove((dir_->path() + "/" + SlotPath(20)).c_str());
    ASSERT_EQ(mkdir((dir_->path() + "/" + SlotPath(20)).c_str(), 0700), 0);
    EXPECT_FALSE(SaveToSlot(kSavePointCommand));
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(HasLogLineStarting("saveload:SaveToSlot: error. slot(20) not saved"));

    // A process killed while writing leaves its temporary file; the old save still loads and
    // the next save replaces both.
    dir_->writeFile(SlotPath(2) + ".tmp", std::string(30, 'x'));
    Set(3, 1);
    LoadGameData(kLoadSlotCommand + 2);
    EXPECT_EQ(Var(3), 5);
    EXPECT_TRUE(Boxes().empty());
    win32_test::QueueMessageBoxAnswer(IDYES);
    EXPECT_TRUE(SaveToSlot(kSaveSlotCommand + 2));
    EXPECT_FALSE(dir_->exists(SlotPath(2) + ".tmp"));
}

TEST_F(SaveGameTest, SlotMenuTextsFollowTheFilesAndTheSaves) {
    win32_test::FixWallClock(true, 1711962000, 9 * 3600);  // 2024-04-01 09:00 UTC
    std::vector<std::uint8_t> used;
    PutWord(used, 112);
    PutWord(used, 1);
    PutText(used, Sjis("4月 1週 平日 北の駅"), 64);
    PutText(used, "top", 32);
    PutWord(used, 0);
    PutWord(used, 0);
    WriteSlotBytes(1, used);
    std::vector<std::uint8_t> zeroWord = used;
    zeroWord[0] = 0;
    WriteSlotBytes(2, zeroWord);
    WriteSlotBytes(3, {});
    std::vector<std::uint8_t> longTitle = used;
    std::fill(longTitle.begin() + 8, longTitle.begin() + 104, 'A');
    WriteSlotBytes(4, longTitle);
    for (const int slot : {1, 2, 3, 4}) {
        const utimbuf times{1711960200, 1711960200};  // 08:30 UTC
        ASSERT_EQ(utime((dir_->path() + "/" + SlotPath(slot)).c_str(), &times), 0);
    }

    RegisterGameResources();
    HMENU menu = LoadMenuA(nullptr, MAKEINTRESOURCEA(kGameMenuResource));
    ASSERT_NE(menu, nullptr);
    ScanSaveSlots(menu);
    const auto text = [&](UINT command) {
        char buffer[kSlotTextSize] = {};
        GetMenuStringA(menu, command, buffer, sizeof buffer, MF_BYCOMMAND);
        return std::string(buffer);
    };
    const auto greyed = [&](UINT command) {
        return (GetMenuState(menu, command, MF_BYCOMMAND) & MF_GRAYED) != 0;
    };
    const std::string empty = Sjis("----/--/--　--:--　データ無し");
    struct Row {
        int slot;
        std::string text;
        bool loadable;
    };
    const Row rows[] = {
        {0, empty, false},
        {1, Sjis("2024/04/01　17:30　4月 1週 平日 北の駅"), true},
        {2, empty, false},
        {3, empty, false},
        {4, "2024/04/01" + Sjis("　17:30　") + std::string(63, 'A'), true},
        {20, empty, false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(text(kSaveSlotCommand + row.slot), row.text) << row.slot;
        EXPECT_EQ(text(kLoadSlotCommand + row.slot), row.text) << row.slot;
        EXPECT_EQ(greyed(kLoadSlotCommand + row.slot), !row.loadable) << row.slot;
        EXPECT_EQ(greyed(kSaveSlotCommand + row.slot), row.slot == 20) << row.slot;
    }
    EXPECT_EQ(std::string(SaveSlots[4].resumeLabel), std::string(31, 'A'));

    // The table is read once: a save changes it, the files do not.
    std::remove((dir_->path() + "/" + SlotPath(1)).c_str());
    PlayToSavePoint();
    ScanSaveSlots(menu);
    EXPECT_EQ(text(kLoadSlotCommand + 1), rows[1].text);
    EXPECT_EQ(text(kLoadSlotCommand + 20), Sjis("2024/04/01　18:00　0月 0週 平日 駅にて"));
    EXPECT_FALSE(greyed(kLoadSlotCommand + 20));
    DestroyMenu(menu);
}

}  // namespace
}  // namespace adventure_tests
