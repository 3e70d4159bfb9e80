// The built-in functions through assembled scripts and the real dispatcher: what each call
// leaves behind, whether the script goes on in the same frame (true) or in the next (false), the
// defaults of absent arguments, and the lines of calls that cannot be carried out.

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "adventure/adventure_frame.h"
#include "adventure/adventure_state.h"
#include "adventure/game_mode.h"
#include "adventure/message_window.h"
#include "adventure/scene.h"
#include "adventure/train_map_screen.h"
#include "adventure_fixture.h"
#include "foundation/registry_settings.h"
#include "script/call_stack.h"
#include "shell/game_window.h"

namespace adventure_tests {
namespace {

using Step = ScriptStep;

class BuiltinFunctionsTest : public AdventureTest {
protected:
    void TearDown() override {
        ResetGameWindowState();
        AdventureTest::TearDown();
    }
    // Whether a log line begins with `start` and ends with `end`.
    bool HasLogLine(const std::string& start, const std::string& end) const {
        for (const std::string& line : LogLines()) {
            if (line.rfind(start, 0) == 0 && line.size() >= end.size() &&
                line.compare(line.size() - end.size(), end.size(), end) == 0) {
                return true;
            }
        }
        return false;
    }
};

TEST_F(BuiltinFunctionsTest, EachFunctionLeavesItsStateAndGoesOnOrWaits) {
    WriteRegistryDword("main", "Stored", 31);
    const std::vector<Step> steps = {
        {"sub-command 0: the screen size into 9 and 10 by default", "    invoke 0 0", 1,
         [] {
             EXPECT_EQ(Var(9), 800);
             EXPECT_EQ(Var(10), 600);
         }},
        {"sub-command 1: the letterbox size into the variables named", "    invoke 0 1 15 16", 1,
         [] {
             EXPECT_EQ(Var(15), 800);
             EXPECT_EQ(Var(16), 600);
         }},
        {"sub-command 0 into a local (passed by reference) and variable 4294967295, which the cap "
         "drops; 17 into that variable likewise",
         "    invoke 17 3 -1\n    invoke 0 0 l1 -1\n    set g17 l1", 1,
         [this] {
             EXPECT_EQ(Var(17), 800);
             EXPECT_EQ(CountLogLines("scrMain:error: SetVar: index(-1)"), 2);
         }},
        {"sub-commands without a handler, and none at all",
         "    invoke 0 2\n    invoke 0 6\n    invoke 0 55\n    invoke 0 99\n    invoke 0 104\n"
         "    invoke 0 65535\n    invoke 0",
         0, [this] { EXPECT_EQ(CountLogLines("function: error. sub-command missing"), 1); }},
        {"sub-command 8: menus, auto mode and skipping",
         "    invoke 0 8 0 0\n    invoke 0 8 1 0\n    invoke 0 8 2 7\n    invoke 0 8 3 1\n"
         "    invoke 0 8 4 1\n    invoke 0 8 9 1",
         0,
         [] {
             EXPECT_EQ(LoadMenuEnabled, 0);
             EXPECT_EQ(SaveMenuEnabled, 0);
             EXPECT_EQ(TitleReturnEnabled, 1);
             EXPECT_EQ(AutoMode, 1);
             EXPECT_EQ(SkipDisabled, 1);
         }},
        {"sub-command 8 switching them back", "    invoke 0 8 3 0\n    invoke 0 8 4 0", 0,
         [] {
             EXPECT_EQ(AutoMode, 0);
             EXPECT_EQ(SkipDisabled, 0);
         }},
        {"sub-command 4: the globals back to their initial values",
         "    set g3 5\n    invoke 0 4\n    set g18 g3", 0, [] { EXPECT_EQ(Var(18), 0); }},
        {"15 and 16 through the settings store",
         "    invoke 15 \"stored\"\n    set g3 g9\n    invoke 16 \"Written\" -2\n"
         "    invoke 15 \"WRITTEN\"\n    set g4 g9\n    invoke 15 \"missing\"",
         0,
         [] {
             EXPECT_EQ(Var(3), 31) << "the store's names compare without case";
             EXPECT_EQ(Var(4), -2);
             EXPECT_EQ(Var(9), 0) << "a missing value reads 0";
             EXPECT_EQ(ReadRegistryDword("main", "written"), 0xFFFFFFFEu);
         }},
        {"23: the label of the index",
         "    set g5 0\n    invoke 23 1 \"\" \"jumped\"\n    set g5 1\n*jumped\n    pop", 0,
         [] { EXPECT_EQ(Var(5), 0) << "the call's pop and the line after it are passed"; }},
        {"23: an empty label, an index without a label and a missing label go on",
         "    invoke 23 0 \"\"\n    invoke 23 -1 \"a\"\n    invoke 23 2 \"a\" \"b\"\n"
         "    invoke 23 0 \"nowhere\"\n    invoke 23",
         0,
         [this] {
             EXPECT_EQ(CountLogLines("Branch(1): error no. (-1)"), 1);
             EXPECT_EQ(CountLogLines("Branch(2): error no. (2)"), 1);
             EXPECT_EQ(CountLogLines("Branch(0): error label. (nowhere)"), 1);
             EXPECT_EQ(CountLogLines("Branch(-1): error no. (0)"), 1);
         }},
        {"34 and 36 go on; 13 makes a colour picture",
         "    invoke 34\n    invoke 13 16 32 48\n    invoke 36 255 128 64", 0,
         [] {
             ASSERT_NE(BasePlane, nullptr);
             EXPECT_EQ(BasePlane->colour, 0xFFFF8040u);
         }},
        {"27 with a length waits a frame, then 28 waits until the animation has ended",
         "    invoke 27 5 0\n    invoke 27 0 5\n    call 28 0\n    pop", 9,
         [] {
             EXPECT_EQ(TransitionDuration, 0.0);
             EXPECT_EQ(BasePlane->colour >> 24, 0u);
         }},
        {"27 with no length applies at once and 28 goes on",
         "    invoke 27 5 255\n    invoke 27 0 0\n    call 28 0\n    pop", 0,
         [] { EXPECT_EQ(BasePlane->colour >> 24, 255u); }},
        {"sub-command 3: the screen becomes BASE", "    invoke 0 3", 0,
         [] {
             ASSERT_NE(BasePlane, nullptr);
             EXPECT_EQ(BasePlane->colour, 0xFFFFFFFFu) << "a new plane";
         }},
        {"3 with a picture that does not load goes on without BASE", "    invoke 3 \"absent\"", 0,
         [this] {
             EXPECT_EQ(BasePlane, nullptr);
             EXPECT_TRUE(HasLogLine("load error. code:", "bmp\\visual\\absent.png"));
         }},
        {"6 hides the window and waits its tenths", "    invoke 6 3", 5,
         [] { EXPECT_EQ(MessageWindowShown, 0); }},
        {"25, 26 and 32 each resume in the next frame; a negative quake length is 0",
         "    invoke 13 0 0 0\n    invoke 25 4 4 -5\n    invoke 26 1\n    invoke 32", 2,
         [] {
             EXPECT_NE(SavedScenePicture, nullptr) << "32 goes on";
             EXPECT_EQ(QuakeTime, 0.0);
         }},
        {"33 restores the saved picture", "    invoke 33", 0,
         [] { EXPECT_EQ(SavedScenePicture, nullptr); }},
        {"35 shows a formatted message", "    invoke 35 \"%d-%s\" 7 \"x\"", 0,
         [] { EXPECT_EQ(LineCounter, 1); }},
        {"the train map's 101 to 103 go on; 100 waits a frame, here without a map to open",
         "    invoke 0 103 5 6\n    invoke 0 101 1 \"a\" 0 0\n    invoke 0 102 1 1 1\n"
         "    invoke 0 100 \"a\"",
         1,
         [this] {
             EXPECT_EQ(TrainMapScreen::originX, 5);
             EXPECT_EQ(TrainMapScreen::originY, 6);
             EXPECT_EQ(GameMode, kGameModeAdventure);
             EXPECT_TRUE(HasLogLine("load error.", "\\bmp\\visual\\a.png"));
         }},
        {"a number above 36 waits a frame", "    invoke 37\n    invoke 4294967295", 2,
         [this] {
             EXPECT_EQ(CountLogLines("function: error. no(37)"), 1);
             EXPECT_EQ(CountLogLines("function: error. no(-1)"), 1);
         }},
    };
    RunSteps(steps);
}

TEST_F(BuiltinFunctionsTest, RandomNumbersStayInTheirRange) {
    WriteScript("start", R"(
.locals 0
*top
    set g15 7
    set g16 7
@draw
    invoke 17 6
    invoke 17 1 15
    invoke 17 0 16
    invoke 0 0 l0 l0
    jump @draw
)");
    StartScript("start");
    std::set<std::int32_t> drawn;
    for (int frame = 0; frame < 300; ++frame) {
        Frame();
        drawn.insert(Var(9));
        ASSERT_EQ(Var(15), 0) << "range 1";
        ASSERT_EQ(Var(16), 0) << "range 0";
    }
    EXPECT_EQ(drawn, (std::set<std::int32_t>{0, 1, 2, 3, 4, 5}));
}

// Sub-command 5 reports whether pack archive 4 holds more than its 4-byte signature.
TEST_F(BuiltinFunctionsTest, PackTestLooksForArchiveFour) {
    struct Case {
        const char* name;
        const char* file;
        const char* bytes;
        std::int32_t result;
    };
    const Case cases[] = {
        {"no archive", nullptr, "", 0},
        {"four bytes", "game04.dat", "PAK0", 0},
        {"five bytes", "game04.dat", "PAK0!", 1},
        {"another number", "game03.dat", "PAK0!", 0},
    };
    for (const Case& c : cases) {
        Restart();
        if (c.file != nullptr) {
            dir_->writeFile(c.file, c.bytes);
        }
        WriteScript("start", ".locals 0\n*top\n set g9 7\n invoke 0 5\n invoke 0 0 l0 l0\n");
        StartScript("start");
        Frame();
        EXPECT_EQ(Var(9), c.result) << c.name;
    }
}

// Sub-command 53 from a file called by "start": the reset releases both frames and loads
// "start" at "restart", which runs from the next frame with the globals put back.
TEST_F(BuiltinFunctionsTest, RestartFromANestedCallStartsTheStartScriptAtRestart) {
    WriteScript("start", R"(
.locals 0
*top
    set g5 7
    callfile "nested" "top"
    set g6 1
*restart
    push g7
    preinc
    pop
@wait
    invoke 0 0 l0 l0
    jump @wait
)");
    WriteScript("nested", "*top\n invoke 0 53\n set g6 2\n return\n");
    StartScript("start");
    Frame();
    ASSERT_EQ(ScriptCallStack.size(), 1u);
    EXPECT_STREQ(CurrentFrame()->GetLabelName(), "restart");
    EXPECT_EQ(GameMode, kGameModeAdventure);
    EXPECT_EQ(GameModeStack, (std::deque<int>{kGameModeNone}));
    EXPECT_EQ(Var(5), 0) << "the globals are back";
    EXPECT_EQ(Var(7), 0) << "the new frame waits for the next frame";
    Frame();
    EXPECT_EQ(Var(7), 1);
    Frame();
    EXPECT_EQ(Var(7), 1);
    EXPECT_EQ(Var(6), 0) << "neither old frame went on";
    for (const std::string& line : LogLines()) {
        EXPECT_EQ(line.find("error"), std::string::npos) << line;
    }
}

}  // namespace
}  // namespace adventure_tests
