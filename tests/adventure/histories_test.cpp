// The read and choice histories: pages and choice values marked under the script's bare file
// name, their files byte for byte and across runs, damaged files kept aside, and fast-forward
// stopping at the first unread page.

#include <cstdio>
#include <string>
#include <vector>

#include "adventure/adventure_frame.h"
#include "adventure/choice_history.h"
#include "adventure/game_mode.h"
#include "adventure/read_history.h"
#include "adventure/save_game.h"
#include "foundation/app_settings.h"
#include "platform/winbase/test_hooks.h"
#include "save_fixture.h"

namespace adventure_tests {
namespace {

class HistoriesTest : public SaveTest {
protected:
    void TearDown() override {
        MsgSkipUnseen = 0;
        SaveTest::TearDown();
    }
    std::vector<std::uint8_t> FileBytes(const std::string& relative) const {
        const std::string text = dir_->readFile(relative);
        return std::vector<std::uint8_t>(text.begin(), text.end());
    }
};

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values) {
    return std::vector<std::uint8_t>(values.begin(), values.end());
}

TEST_F(HistoriesTest, ReadPagesAreMarkedAndWrittenOncePerNewPage) {
    struct Mark {
        const char* script;
        std::int32_t page;
        int unread;
        bool written;
    };
    const Mark marks[] = {
        {"C:\\game\\script\\Chapter1.scr", 9, 1, true},
        {"chapter1", 9, 0, false},
        {"CHAPTER1.SCR", 0, 1, true},
        {"other", -1, 0, false},
        {"script\\other.scr", 3, 1, true},
        {"other", 3, 0, false},
    };
    for (const Mark& mark : marks) {
        MarkPageRead(mark.script, mark.page);
        EXPECT_EQ(IsCurrentPageUnread(), mark.unread) << mark.script << " " << mark.page;
        EXPECT_EQ(SaveReadHistoryIfChanged(), mark.written) << mark.script << " " << mark.page;
        EXPECT_FALSE(SaveReadHistoryIfChanged()) << "written once";
    }
    // Page 9 made two bytes, the second 0x02; page 0 then set the first.
    const std::vector<std::uint8_t> expected =
        Bytes({2, 0, 0,    0,    'C', 'h', 'a', 'p', 't', 'e', 'r', '1', 0, 2, 0,
               0, 0, 0x01, 0x02, 'o', 't', 'h', 'e', 'r', 0,   1,   0,   0, 0, 0x08});
    EXPECT_EQ(FileBytes("save/save90.dat"), expected);

    // A write that fails at any byte (a full disk) leaves the file as it was; the page stays
    // read in memory and goes out with the next one.
    ASSERT_TRUE(RecordChoice("sc", 0, 1));
    const std::vector<std::uint8_t> choices = FileBytes("save/save91.dat");
    for (const std::int64_t allowed : {0, 1, 13, 29}) {
        win32_test::FailWritesAfter(allowed);
        MarkPageRead("other", 100 + static_cast<std::int32_t>(allowed));
        EXPECT_FALSE(SaveReadHistoryIfChanged()) << allowed;
        EXPECT_TRUE(RecordChoice("sc", 1, static_cast<std::uint32_t>(allowed))) << allowed;
        win32_test::FailWritesAfter(-1);
        EXPECT_EQ(FileBytes("save/save90.dat"), expected) << allowed;
        EXPECT_EQ(FileBytes("save/save91.dat"), choices) << allowed;
        EXPECT_FALSE(dir_->exists("save/save90.dat.tmp")) << allowed;
    }
    std::remove((dir_->path() + "/save/save91.dat").c_str());
    ForgetChoiceHistory();
    ForgetReadHistory();
    dir_->writeFile("save/save90.dat", expected);

    // The next run reads the file at its first mark.
    ForgetReadHistory();
    MarkPageRead("CHAPTER1", 9);
    EXPECT_EQ(IsCurrentPageUnread(), 0);
    MarkPageRead("chapter1", 1);
    EXPECT_EQ(IsCurrentPageUnread(), 1);
    ClearUnreadPageFlag();
    EXPECT_EQ(IsCurrentPageUnread(), 0);

    // An unread page ends fast-forward unless unread text may be skipped.
    for (const DWORD skipUnseen : {0u, 1u}) {
        MsgSkipUnseen = skipUnseen;
        FastForwardMode = 1;
        MarkPageRead("chapter1", 1);
        EXPECT_EQ(FastForwardMode, 1) << "a read page";
        MarkPageRead("chapter1", 20 + static_cast<std::int32_t>(skipUnseen));
        EXPECT_EQ(FastForwardMode, static_cast<int>(skipUnseen)) << "an unread page";
    }
}

TEST_F(HistoriesTest, ChoiceValuesAreRecordedOnceAcrossRuns) {
    EXPECT_TRUE(RecordChoice("C:\\game\\script\\Sc.scr", 2, 5));
    const std::vector<std::uint8_t> expected = Bytes(
        {1, 0, 0, 0, 'S', 'c', 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 5, 0, 0, 0});
    EXPECT_EQ(FileBytes("save/save91.dat"), expected);
    EXPECT_TRUE(RecordChoice("sc", 2, 5));
    EXPECT_EQ(FileBytes("save/save91.dat"), expected) << "stored once";
    struct Query {
        const char* script;
        std::int32_t point;
        std::uint32_t value;
        bool taken;
    };
    const Query queries[] = {
        {"SC", 2, 5, true},  {"sc", 2, 6, false},  {"sc", 1, 5, false},
        {"sc", 7, 5, false}, {"sc", -1, 5, false}, {"other", 2, 5, false},
    };
    for (int run = 0; run < 2; ++run) {
        for (const Query& query : queries) {
            EXPECT_EQ(IsChoiceTaken(query.script, query.point, query.value), query.taken)
                << query.script << " " << query.point << " " << query.value << " run " << run;
        }
        ForgetChoiceHistory();
    }
    EXPECT_FALSE(RecordChoice("sc", -1, 5));
    EXPECT_TRUE(RecordChoice("sc", 0, 0xFFFFFFFFu));
    EXPECT_TRUE(RecordChoice("sc", 2, 1));
    EXPECT_EQ(FileBytes("save/save91.dat"),
              Bytes({1,    0, 0, 0, 'S', 'c', 0, 3, 0, 0, 0, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF,
                     0xFF, 0, 0, 0, 0,   2,   0, 0, 0, 5, 0, 0, 0, 1, 0, 0,    0}));
}

TEST_F(HistoriesTest, DamagedFilesAreKeptAsideAndTheHistoryStartsEmpty) {
    struct Case {
        const char* name;
        int slot;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {"read: a count past the file", 90, Bytes({5, 0, 0, 0, 'a', 0, 1, 0, 0, 0, 1})},
        {"read: a truncated count", 90, Bytes({1, 0})},
        {"read: a name without its end", 90, Bytes({1, 0, 0, 0, 'a', 'b', 'c', 'd', 'e'})},
        {"read: flags past the file", 90, Bytes({1, 0, 0, 0, 'a', 0, 5, 0, 0, 0, 1})},
        {"read: bytes left over", 90, Bytes({0, 0, 0, 0, 0})},
        {"read: one name twice", 90, Bytes({2, 0, 0, 0, 'a', 0, 0, 0, 0, 0, 'A', 0, 0, 0, 0, 0})},
        {"choice: points past the file", 91, Bytes({1, 0, 0, 0, 'a', 0, 9, 0, 0, 0})},
        {"choice: values past the file", 91,
         Bytes({1, 0, 0, 0, 'a', 0, 1, 0, 0, 0, 2, 0, 0, 0, 7, 0, 0, 0})},
        {"choice: bytes left over", 91, Bytes({1, 0, 0, 0, 'a', 0, 0, 0, 0, 0, 9})},
    };
    for (const Case& c : cases) {
        Restart();
        const std::string file = c.slot == 90 ? "save/save90.dat" : "save/save91.dat";
        dir_->writeFile(file, c.bytes);
        if (c.slot == 90) {
            MarkPageRead("a", 0);
            EXPECT_EQ(IsCurrentPageUnread(), 1) << c.name << ": nothing read";
            EXPECT_TRUE(HasLogLineStarting("history:LoadReadHistory: error. damaged file"))
                << c.name;
            EXPECT_TRUE(SaveReadHistoryIfChanged()) << c.name;
            EXPECT_EQ(FileBytes(file), Bytes({1, 0, 0, 0, 'a', 0, 1, 0, 0, 0, 1})) << c.name;
        } else {
            EXPECT_FALSE(IsChoiceTaken("a", 0, 7)) << c.name;
            EXPECT_TRUE(HasLogLineStarting("history:LoadChoiceHistory: error. damaged file"))
                << c.name;
            EXPECT_TRUE(RecordChoice("a", 0, 7)) << c.name;
            EXPECT_EQ(FileBytes(file),
                      Bytes({1, 0, 0, 0, 'a', 0, 1, 0, 0, 0, 1, 0, 0, 0, 7, 0, 0, 0}))
                << c.name;
        }
        EXPECT_EQ(FileBytes(file + ".damaged"), c.bytes) << c.name << ": kept aside";
    }
    // An empty file is a sound, empty history.
    Restart();
    dir_->writeFile("save/save90.dat", std::string());
    MarkPageRead("a", 0);
    EXPECT_EQ(IsCurrentPageUnread(), 1);
    EXPECT_FALSE(HasLogLineStarting("history:"));
    EXPECT_FALSE(dir_->exists("save/save90.dat.damaged"));
}

// Four pages, each counted in g20 when passed; the fifth waits for ever.
constexpr const char* kFourPages = R"(
.locals 0
*top
    text "一"
    invoke 2
    set g20 1
    text "二"
    invoke 2
    set g20 2
    text "三"
    invoke 2
    set g20 3
    text "四"
    invoke 2
    set g20 4
@end
    invoke 0 0 l0 l0
    jump @end
)";

TEST_F(HistoriesTest, FastForwardStopsAtTheFirstUnreadPageAndCtrlPassesIt) {
    constexpr int kControl = 29;
    const Input fastForward{{}, {}, {3}};
    const Input control{{kControl}};
    struct Case {
        const char* name;
        DWORD skipUnseen;
        std::vector<Input> inputs;
        std::vector<int> pages;  // g20 after each frame
    };
    const Case cases[] = {
        {"fast-forward passes the two read pages and stops at the third",
         0,
         {fastForward, {}, {}, {}},
         {1, 2, 2, 2}},
        {"a held Ctrl passes read and unread pages",
         0,
         {control, control, control, {}},
         {1, 2, 3, 3}},
        {"with unread text allowed fast-forward passes it",
         1,
         {fastForward, {}, {}, {}},
         {1, 2, 3, 4}},
    };
    for (const Case& c : cases) {
        Restart();
        MsgSkipUnseen = c.skipUnseen;
        WriteScript("start", kFourPages);
        // The first run reads two pages.
        StartScript("start");
        Frame();
        Frame({{}, {0}});
        Frame();
        ASSERT_EQ(Var(20), 1) << c.name;
        // The next run.
        ResetAdventureState();
        ForgetSavedGames();
        StartScript("start");
        Frame();
        ASSERT_EQ(PageWait, 1) << c.name;
        ASSERT_EQ(IsCurrentPageUnread(), 0) << c.name << ": the first page was read";
        for (std::size_t i = 0; i < c.inputs.size(); ++i) {
            Frame(c.inputs[i]);
            EXPECT_EQ(Var(20), c.pages[i]) << c.name << ", frame " << i + 1;
        }
    }
}

}  // namespace
}  // namespace adventure_tests
