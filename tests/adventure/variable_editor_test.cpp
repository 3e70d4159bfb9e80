// The developer's variable editor: "variable.txt" as it is read, the list beside the game with
// its rows, the refreshes after the script has run, editing one value, and when it opens.

#include <functional>
#include <string>
#include <vector>

#include "adventure/game_mode.h"
#include "adventure/variable_editor.h"
#include "adventure_fixture.h"
#include "foundation/log.h"
#include "platform/win32/controls_api.h"
#include "platform/win32/dialog_input.h"
#include "platform/win32/dialog_keyboard.h"
#include "platform/win32/dialog_test_hooks.h"
#include "platform/win32/message_keys.h"
#include "platform/win32/shell_test_hooks.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_placement.h"
#include "resources/game_resources.h"
#include "script/script_variables.h"
#include "shell/game_window.h"

namespace adventure_tests {
namespace {

struct NamesCase {
    const char* name;
    std::string text;
    std::vector<std::string> names;
    std::vector<std::string> comments;
};

TEST(VariableNamesTest, ReadsNamesAndCommentsAfterVarUntilEnd) {
    const NamesCase cases[] = {
        {"no var token", "flag\nmonth\n", {}, {}},
        {"var must be a whole token", "  var\nflag\nvariables\nx\n", {}, {}},
        {"names and comments",
         "; header\nvar\nflag / first\nmonth // April\n\nday\nend\nlater\n",
         {"flag", "month", "day"},
         {"first", "April", ""}},
        {"tabs split tokens and separate comments",
         "var\tflag\t//\t comment\tstill\nb\n",
         {"flag", "b"},
         {"comment\tstill", ""}},
        {"CR LF line ends", "var\r\nsun / 日\r\nmoon\r\n", {"sun", "moon"}, {"日", ""}},
        {"a slash line between names",
         "var\n/ 9 and 10 are results\nx_9\n// 10\ny10\n",
         {"x_9", "y10"},
         {"", ""}},
        {"other characters only separate",
         "var\na-b,c  (d)\n",
         {"a", "b", "c", "d"},
         {"", "", "", ""}},
        {"only lower-case end ends", "var\nEND\nendx\nend\nz\n", {"END", "endx"}, {"", ""}},
        {"a double-byte character is no name", "var\nア\nk\n", {"k"}, {""}},
        {"the text ends at NUL", std::string("var\na\n\0b\n", 10), {"a"}, {""}},
        {"a comment to the end of the text", "var\nlast /tail", {"last"}, {"tail"}},
        {"var at the very end", "x\nvar", {}, {}},
    };
    for (const NamesCase& c : cases) {
        SCOPED_TRACE(c.name);
        // Shift-JIS as the file holds it ("ア" is 0x83 0x41: its second byte is a letter).
        const std::string text =
            c.text.find('\0') == std::string::npos ? Sjis(c.text.c_str()) : c.text;
        const VariableNames read = ReadVariableNames(text);
        std::vector<std::string> comments = c.comments;
        for (std::string& comment : comments) {
            comment = Sjis(comment.c_str());
        }
        EXPECT_EQ(read.names, c.names);
        EXPECT_EQ(read.comments, comments);
    }
}

class VariableEditorTest : public AdventureTest {
protected:
    void SetUp() override {
        AdventureTest::SetUp();
        RegisterGameResources();
        InstallGameScriptHooks();
        win32_test::SetDesktopSize(1280, 1024);
        MatchTypedKeyword(nullptr);
    }
    void TearDown() override {
        if (VariableEditorWindow != nullptr) {
            DestroyWindow(VariableEditorWindow);
        }
        win32_test::SetModalIdleHook(nullptr, nullptr);
        win32_test::SetDesktopSize(0, 0);
        WindowedFlag = TRUE;
        AdventureTest::TearDown();
    }

    void WriteNames(const std::string& utf8) {
        dir_->writeFile("script/variable.txt", Sjis(utf8.c_str()));
    }
    HWND List() const { return GetDlgItem(VariableEditorWindow, kVariableListControl); }
    int Rows() const { return static_cast<int>(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0)); }
    std::string Cell(int row, int column) const {
        char text[256] = {};
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(List(), LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));
        return text;
    }
    std::vector<std::string> Row(int row) const {
        std::vector<std::string> cells;
        for (int column = 0; column < 5; ++column) {
            cells.push_back(Cell(row, column));
        }
        return cells;
    }
    static void Set(std::uint32_t index, std::int32_t value) {
        const auto word = static_cast<std::uint32_t>(value);
        SetVar(index, &word);
    }
    void Type(const std::string& text) {
        for (char c : text) {
            AppendTypedChar(c);
        }
    }
};

TEST_F(VariableEditorTest, ListsEveryNamedVariableBesideTheGameAtTheWorkAreasCorner) {
    WriteNames("var\nflag / first\nmonth / 月\n\tday\nend\n");
    Set(0, 0);
    Set(1, 4);
    Set(2, -2);
    OpenVariableEditor(1);
    ASSERT_NE(VariableEditorWindow, nullptr);
    char title[64] = {};
    GetWindowTextA(VariableEditorWindow, title, sizeof title);
    EXPECT_STREQ(title, "Value List");
    EXPECT_TRUE(IsWindowVisible(VariableEditorWindow));
    EXPECT_EQ(GetParent(VariableEditorWindow), nullptr) << "a window of its own";
    RECT rect{};
    GetWindowRect(VariableEditorWindow, &rect);
    EXPECT_EQ(rect.right, 1280);
    EXPECT_EQ(rect.bottom, 1024);
    ASSERT_EQ(Rows(), 3);
    EXPECT_EQ(Row(0), (std::vector<std::string>{"0", "flag", "0", "00000000", "first"}));
    EXPECT_EQ(Row(1), (std::vector<std::string>{"1", "month", "4", "00000004", Sjis("月")}));
    EXPECT_EQ(Row(2), (std::vector<std::string>{"2", "day", "-2", "fffffffe", ""}));

    // Closing destroys it; opening again makes one new window.
    const HWND first = VariableEditorWindow;
    SendMessageA(first, WM_CLOSE, 0, 0);
    EXPECT_EQ(VariableEditorWindow, nullptr);
    EXPECT_FALSE(IsWindow(first));
    OpenVariableEditor(1);
    ASSERT_NE(VariableEditorWindow, nullptr);
    const HWND second = VariableEditorWindow;
    OpenVariableEditor(1);
    EXPECT_EQ(VariableEditorWindow, second) << "one editor at a time";
    EXPECT_EQ(Rows(), 3);
}

TEST_F(VariableEditorTest, NamesBeyondTheArrayShowZeroAndAMissingFileAnEmptyList) {
    WriteNames("var\na\nb\nc\nd\n");
    ScriptVariables.resize(2);
    OpenVariableEditor(1);
    ASSERT_EQ(Rows(), 4);
    EXPECT_EQ(Cell(3, 2), "0");
    EXPECT_EQ(Cell(3, 3), "00000000");
    RefreshVariableEditor();
    EXPECT_EQ(ScriptVariables.size(), 2u) << "looking does not grow the array";
    SendMessageA(VariableEditorWindow, WM_CLOSE, 0, 0);

    dir_->writeFile("script/variable.txt", "");
    std::remove((dir_->path() + "/script/variable.txt").c_str());
    OpenVariableEditor(1);
    ASSERT_NE(VariableEditorWindow, nullptr);
    EXPECT_EQ(Rows(), 0);
    EXPECT_NE(dir_->readFile("qvn.log").find("load error"), std::string::npos);
    EXPECT_NE(dir_->readFile("qvn.log").find("variable.txt"), std::string::npos);
}

TEST_F(VariableEditorTest, RefreshesAfterTheScriptRunsAndAfterMusicOnAndOff) {
    WriteNames("var\nv0\nv1\nv2\nv3\nv4\nv5\nv6\nv7\nv8\nv9\nv10\nmusic\n");
    WriteScript("story", R"(
*top
    set g5 7
    invoke 8 1
    set g6 3
    invoke 9
    set g7 1
    goto "next"
*next
    set g8 5
    invoke 2
    set g8 6
    invoke 2
    return
)");
    OpenVariableEditor(1);
    StartScript("story");
    // The script runs within one frame up to its first page end; each refresh shows what was
    // set before it: music on (7), music off (3, music 0), the label found (1).
    Frame();
    EXPECT_EQ(Cell(5, 2), "7");
    EXPECT_EQ(Cell(6, 2), "3");
    EXPECT_EQ(Cell(7, 2), "1");
    EXPECT_EQ(Cell(11, 2), "0");
    EXPECT_EQ(Cell(8, 2), "0") << "set after the last refresh of the frame";
    // The advance: the frame refreshes before the script goes on.
    Frame(Input{{28}, {}, {}});
    Frame();
    EXPECT_EQ(Cell(8, 2), "5");
}

TEST_F(VariableEditorTest, ADoubleClickedRowTakesANumberThroughTheValueDialog) {
    WriteNames("var\nflag\nbig\n");
    Set(0, 12);
    OpenVariableEditor(1);
    struct Case {
        const char* typed;
        std::int32_t stored;
        const char* dec;
        int result;  // the value dialog's end code
    };
    const Case cases[] = {
        {"-1", -1, "-1", 1},
        {" 42 ", 42, "42", 1},
        {"12x", 42, "42", 0},  // refused, then cancelled
        {"", 42, "42", 0},
        {"2147483648", 42, "42", 0},
        {"-2147483648", INT32_MIN, "-2147483648", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        std::vector<std::string> shown;
        int steps = 0;
        struct Context {
            const Case* c;
            std::vector<std::string>* shown;
            int* steps;
        } context{&c, &shown, &steps};
        win32_test::SetModalIdleHook(
            [](HWND dialog, void* raw) {
                auto* ctx = static_cast<Context*>(raw);
                HWND field = GetDlgItem(dialog, kVariableValueField);
                if ((*ctx->steps)++ == 0) {
                    // (800, 600) less its size lies outside the editor at the corner of the
                    // 1280 x 1024 desktop: it sits in the editor's bottom right corner, where a
                    // dialog over the editor is drawn.
                    RECT value{};
                    GetWindowRect(dialog, &value);
                    EXPECT_EQ(value.right, 1280);
                    EXPECT_EQ(value.bottom, 1024);
                    char text[32] = {};
                    GetWindowTextA(field, text, sizeof text);
                    ctx->shown->push_back(text);
                    Win32TypeText(field, ctx->c->typed);
                    Win32ClickControl(GetDlgItem(dialog, 1));
                    return;
                }
                Win32ClickControl(GetDlgItem(dialog, 2));  // still open: refused
            },
            &context);
        EXPECT_TRUE(Win32BeginLabelEdit(List(), 0));
        win32_test::SetModalIdleHook(nullptr, nullptr);
        EXPECT_EQ(static_cast<std::int32_t>(GetVar(0)), c.stored);
        EXPECT_EQ(Cell(0, 2), c.dec);
        EXPECT_EQ(steps, c.result == 1 ? 1 : 2);
    }
    EXPECT_NE(dir_->readFile("qvn.log").find("\"12x\" is no number"), std::string::npos);
    // The hex column follows at the next refresh.
    Set(0, -1);
    SendMessageA(VariableEditorWindow, WM_USER, 0, 0);
    EXPECT_EQ(Cell(0, 3), "ffffffff");

    // A row past the end of the array grows it when written.
    ScriptVariables.resize(1);
    win32_test::SetModalIdleHook(
        [](HWND dialog, void*) {
            Win32TypeText(GetDlgItem(dialog, kVariableValueField), "9");
            Win32ClickControl(GetDlgItem(dialog, 1));
        },
        nullptr);
    EXPECT_TRUE(Win32BeginLabelEdit(List(), 1));
    win32_test::SetModalIdleHook(nullptr, nullptr);
    EXPECT_EQ(ScriptVariables.size(), 2u);
    EXPECT_EQ(Cell(1, 2), "9");
}

// The editor's keys as the presentation offers them to its dialog keyboard.
void PressInEditor(UINT key) {
    for (UINT message : {WM_KEYDOWN, WM_KEYUP}) {
        Win32DialogKey(VariableEditorWindow,
                       MSG{VariableEditorWindow, message, key, 0, 0, POINT{}});
    }
}

// The value dialog's answer: `typed` into its field, then `key` pressed there.
struct ValueKeys {
    const char* typed;
    UINT key;
    std::string shown;  // what the field showed at first
};

TEST_F(VariableEditorTest, TheKeysChooseARowAndF2EditsItsValueWhichReturnStoresAndEscapeDrops) {
    WriteNames("var\nflag\nbig\n");
    Set(0, 12);
    OpenVariableEditor(1);
    const auto row = [this](LPARAM which) {
        return SendMessageA(List(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), which);
    };
    EXPECT_EQ(row(LVNI_SELECTED), -1) << "no row chosen yet";
    EXPECT_EQ(row(LVNI_FOCUSED), -1);
    PressInEditor(VK_DOWN);  // the list has the focus
    EXPECT_EQ(row(LVNI_SELECTED), 0);
    EXPECT_EQ(row(LVNI_FOCUSED), 0);

    ValueKeys answer{};
    win32_test::SetModalIdleHook(
        [](HWND dialog, void* raw) {
            auto* keys = static_cast<ValueKeys*>(raw);
            HWND field = GetDlgItem(dialog, kVariableValueField);
            char text[32] = {};
            GetWindowTextA(field, text, sizeof text);
            keys->shown = text;
            Win32TypeText(field, keys->typed);
            // The focus is in the field: the dialog's keyboard takes Return and Escape.
            win32_test::InjectKey(dialog, keys->key, true);
            win32_test::InjectKey(dialog, keys->key, false);
        },
        &answer);
    answer = ValueKeys{"-7", VK_RETURN, ""};
    PressInEditor(VK_F2);
    EXPECT_EQ(answer.shown, "12");
    EXPECT_EQ(static_cast<std::int32_t>(GetVar(0)), -7);
    EXPECT_EQ(Cell(0, 2), "-7");
    answer = ValueKeys{"99", VK_ESCAPE, ""};
    PressInEditor(VK_F2);
    EXPECT_EQ(answer.shown, "-7");
    EXPECT_EQ(static_cast<std::int32_t>(GetVar(0)), -7) << "dropped";
    EXPECT_EQ(Cell(0, 2), "-7");
}

TEST_F(VariableEditorTest, TheTypedWordOpensItOnlyInAWindow) {
    WriteNames("var\nflag\n");
    WriteScript("story", "*top\n@loop\n    invoke 0 0 l0 l0\n    jump @loop\n.locals 0\n");
    StartScript("story");
    WindowedFlag = FALSE;
    Type("xplovanet");
    Frame();
    EXPECT_EQ(VariableEditorWindow, nullptr) << "full screen";
    WindowedFlag = TRUE;
    Type("PLOVANE");
    Frame();
    EXPECT_EQ(VariableEditorWindow, nullptr) << "not the whole word";
    Type("T");
    Frame();
    EXPECT_NE(VariableEditorWindow, nullptr);
    EXPECT_STREQ(TypedCharBuffer, "") << "the word is used up";
}

}  // namespace
}  // namespace adventure_tests
