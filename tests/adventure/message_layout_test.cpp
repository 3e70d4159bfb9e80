// The message layout: where lines break, global words, and text that would have no end.

#include <string>

#include "adventure/message_layout.h"
#include "adventure/message_window.h"
#include "adventure_fixture.h"
#include "foundation/app_settings.h"
#include "script/script_variables.h"

namespace adventure_tests {
namespace {

std::string Repeat(const char* utf8, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += utf8;
    }
    return out;
}

class MessageLayoutTest : public AdventureTest {};

TEST_F(MessageLayoutTest, LinesBreakJapaneseStyle) {
    const std::string kana25 = Repeat("あ", 25);
    struct Case {
        const char* name;
        std::string utf8;
        std::size_t consumed;  // source bytes the first line takes
        std::size_t shown;     // bytes of the line laid out, which the auto-page delay counts
    };
    const Case cases[] = {
        {"a kana at the last slot begins the next line", kana25 + "いう", 50, 52},
        {"a full stop hangs at the last slot", kana25 + "。い", 52, 54},
        {"a full stop before a closing bracket moves with it", kana25 + "。」", 50, 52},
        {"an ASCII letter never hangs, though its byte is a trail byte of the table", kana25 + "BC",
         50, 52},
        {"a line opening with a bracket has no indent", std::string("「") + kana25 + "い", 52, 52},
        {"half-width text fills the same bytes", std::string(60, 'a'), 50, 52},
        {"a short text takes its terminator too", "あいう", 7, 8},
        {"the empty text takes its terminator", "", 1, 0},
        {"a ruby group that does not fit goes to the next line", Repeat("あ", 24) + "{広場/ひろば}",
         48, 50},
        {"a ruby group counts whole", "{広場/ひろば}い", 1 + 4 + 1 + 6 + 1 + 2 + 1, 8},
        {"a ruby group reads by characters: マ ends in the byte of }", "{島/シマ}",
         1 + 2 + 1 + 4 + 1 + 1, 4},
        {"a brace without the rest is dropped", "{あい", 1 + 4 + 1, 6},
        {"a line feed ends the line, taken but not shown", "あい\nう", 5, 6},
        {"a line feed at the last slot ends the line", kana25 + "\nい", 51, 52},
        {"a line feed after a hanging full stop leaves no empty line", kana25 + "。\nい", 53, 54},
    };
    for (const Case& c : cases) {
        LineCounter = -1;
        const std::string text = Sjis(c.utf8.c_str());
        std::size_t consumed = 0;
        ASSERT_TRUE(MessageLayout(nullptr, text.c_str(), &consumed)) << c.name;
        EXPECT_EQ(consumed, c.consumed) << c.name;
        EXPECT_EQ(LineCounter, c.utf8.empty() ? 0 : 1) << c.name;
        EXPECT_EQ(AutoPageDelayMs, MsgAutoInterval + 1000 + 50 * c.shown) << c.name;
    }
}

TEST_F(MessageLayoutTest, OversizedRubyGroupBreaksAtTheLineEnd) {
    // A base of 30 kanji can never fit a line: it is laid out as plain text over two lines.
    const std::string group = std::string("{") + Repeat("字", 30) + "/" + Repeat("じ", 30) + "}";
    LineCounter = -1;
    ShowText(Sjis(group.c_str()).c_str());
    EXPECT_EQ(LineCounter, 2);

    // The longest base that fits a fresh line keeps its ruby on one line.
    const std::string fits = std::string("{") + Repeat("字", 25) + "/" + Repeat("じ", 3) + "}";
    LineCounter = -1;
    ShowText(Sjis(fits.c_str()).c_str());
    EXPECT_EQ(LineCounter, 1);
}

TEST_F(MessageLayoutTest, GlobalWordsExpandVariableNine) {
    const std::uint32_t value = static_cast<std::uint32_t>(-12);
    SetVar(9, &value);
    struct Case {
        const char* name;
        const char* utf8;
        const char* expected;
        const char* logged;  // a log line the expansion must write, or null
    };
    const Case cases[] = {
        {"#0 is variable 9", "#0", "-12", nullptr},
        {"# without digits is word 0", "a#b", "a-12b", nullptr},
        {"leading zeros", "#00人", "-12人", nullptr},
        {"any other word is empty and logged", "#5人", "人", "GetGlobalWord: error. no(5)"},
        {"many digits", "#123x", "x", "GetGlobalWord: error. no(123)"},
        {"a double-byte character ends the digits", "#0０", "-12０", nullptr},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExpandGlobalWords(Sjis(c.utf8).c_str()), Sjis(c.expected)) << c.name;
        if (c.logged != nullptr) {
            EXPECT_EQ(CountLogLines(c.logged), 1) << c.name;
        }
    }
    EXPECT_EQ(ExpandGlobalWords(nullptr), "");
}

}  // namespace
}  // namespace adventure_tests
