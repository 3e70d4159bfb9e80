// The message built-in functions called directly with argument lists, and the script text
// formatter behind function 35.

#include <string>
#include <vector>

#include "adventure/adventure_frame.h"
#include "adventure/message_functions.h"
#include "adventure/message_layout.h"
#include "adventure/message_window.h"
#include "adventure/script_format.h"
#include "adventure_fixture.h"
#include "foundation/app_settings.h"
#include "media/graphics/texture.h"
#include "script/script_variables.h"

namespace adventure_tests {
namespace {

// An argument list that owns its values.
class Arguments {
public:
    Arguments(std::initializer_list<ScriptValue> values) : values_(values) {
        for (ScriptValue& value : values_) {
            pointers_.push_back(&value);
        }
    }
    Arguments(const Arguments&) = delete;
    Arguments& operator=(const Arguments&) = delete;
    operator ScriptArguments() const { return ScriptArguments(pointers_); }

private:
    std::vector<ScriptValue> values_;
    std::vector<ScriptValue*> pointers_;
};

ScriptValue Text(const std::string& text) {
    return ScriptValue::MakeString(text.c_str());
}

ScriptValue Int(std::int32_t value) {
    return ScriptValue::MakeInt(value);
}

class MessageFunctionsTest : public AdventureTest {};

TEST_F(MessageFunctionsTest, SpeakerNamesTheNextPage) {
    const std::uint32_t seven = 7;
    SetVar(9, &seven);
    const std::string longName = Sjis("長い名前の語り手") + Sjis("長い名前の語り手") +
                                 Sjis("長い名前の語り手") + Sjis("長い名前の語り手");
    struct Case {
        const char* name;
        std::string argument;
        std::string speaker;
    };
    const Case cases[] = {
        {"a plain name", Sjis("案内人"), Sjis("案内人")},
        {"#0 is variable 9", "#0", "7"},
        {"# alone is word 0", "#", "7"},
        {"* is no one", "*", ""},
        {"64 bytes: cut before the character that would not fit", longName, longName.substr(0, 62)},
        {"63 single bytes fit", std::string(70, 'n'), std::string(63, 'n')},
    };
    for (const Case& c : cases) {
        LineCounter = 3;
        EXPECT_TRUE(BuiltinSpeaker(Arguments{Text(c.argument)})) << c.name;
        EXPECT_EQ(std::string(SpeakerName), c.speaker) << c.name;
        EXPECT_EQ(LineCounter, -1) << c.name << ": the next text starts a new page";
    }
    EXPECT_TRUE(BuiltinSpeaker(Arguments{}));
    EXPECT_EQ(std::string(SpeakerName), "") << "absent: the empty name";
}

TEST_F(MessageFunctionsTest, PageEndSetsTheWaitAndItsDelay) {
    MsgAutoInterval = 500;
    AutoPageDelayMs = 2345;
    struct Case {
        const char* name;
        int autoMode;
        Arguments arguments;
        std::uint32_t pending;
    };
    const Case cases[] = {
        {"waits for the player", 0, {}, 0},
        {"auto mode: the page's delay", 1, {}, 2345},
        {"given seconds", 0, {Int(3)}, 3000},
        {"given seconds override auto mode", 1, {Int(2)}, 2000},
        {"zero seconds: the player again", 1, {Int(0)}, 0},
        {"a negative time counts as 0", 0, {Int(-5)}, 0},
        {"a time past 32 bits of milliseconds saturates", 0, {Int(5000000)}, 0xFFFFFFFFu},
    };
    ASSERT_TRUE(BuildMessageWindow());
    for (const Case& c : cases) {
        ASSERT_EQ(MessageTexture->Backup(nullptr), D3D_OK);
        AutoMode = c.autoMode;
        PageWait = 0;
        PendingDelayMs = 77;
        MessageWindowShown = 0;
        WindowFadeTime = 0.2f;
        EXPECT_FALSE(BuiltinPageEnd(c.arguments)) << c.name << ": the script stops this frame";
        EXPECT_EQ(PageWait, 1) << c.name;
        EXPECT_EQ(PendingDelayMs, c.pending) << c.name;
        EXPECT_EQ(MessageWindowShown, 1) << c.name;
        EXPECT_EQ(WindowFadeTime, 0.0f) << c.name << ": shown at once";
        EXPECT_EQ(MessageTexture->backup, nullptr) << c.name << ": the page's backup dropped";
    }
}

TEST_F(MessageFunctionsTest, WaitHidesTheWindowForItsTenths) {
    struct Case {
        const char* name;
        int skipping;
        Arguments arguments;
        std::uint32_t pending;
    };
    const Case cases[] = {
        {"tenths of a second", 0, {Int(15)}, 1500},
        {"absent: no wait", 0, {}, 0},
        {"16 bits of tenths", 0, {Int(0x10005)}, 500},
        {"while skipping: one millisecond", 1, {Int(15)}, 1},
    };
    for (const Case& c : cases) {
        SkipActive = c.skipping;
        MessageWindowShown = 1;
        WindowFadeTime = 0.2f;
        EXPECT_FALSE(BuiltinWait(c.arguments)) << c.name;
        EXPECT_EQ(PendingDelayMs, c.pending) << c.name;
        EXPECT_EQ(MessageWindowShown, 0) << c.name;
        EXPECT_EQ(WindowFadeTime, 0.0f) << c.name;
    }
}

TEST_F(MessageFunctionsTest, FormatterChecksEveryConversionAgainstItsValue) {
    struct Case {
        const char* name;
        const char* format;
        Arguments arguments;
        std::string expected;
        int refused;  // "%n" log lines expected
    };
    const Case cases[] = {
        {"integers",
         "%d|%i|%u|%x|%X|%o",
         {Int(-5), Int(7), Int(-1), Int(255), Int(255), Int(8)},
         "-5|7|4294967295|ff|FF|10",
         0},
        {"flags, width and precision",
         "[%5d][%-4d][%05d][%+d][%.3d]",
         {Int(42), Int(7), Int(42), Int(3), Int(5)},
         "[   42][7   ][00042][+3][005]",
         0},
        {"width and precision from values",
         "[%*d][%.*f]",
         {Int(4), Int(9), Int(2), ScriptValue::MakeFloat(1.5f)},
         "[   9][1.50]",
         0},
        {"floats",
         "%.2f %e %g",
         {ScriptValue::MakeFloat(2.25f), ScriptValue::MakeFloat(1.0f),
          ScriptValue::MakeFloat(0.5f)},
         "2.25 1.000000e+00 0.5",
         0},
        {"strings",
         "<%s><%5s><%-3s|><%.2s>",
         {Text("ab"), Text("cd"), Text("e"), Text("xyz")},
         "<ab><   cd><e  |><xy>",
         0},
        {"a character", "%c%c", {Int('O'), Int('K')}, "OK", 0},
        {"a float where an integer belongs is 0", "%d", {ScriptValue::MakeFloat(3.5f)}, "0", 0},
        {"an integer where a float belongs is 0", "%.1f", {Int(3)}, "0.0", 0},
        {"a number where a string belongs is empty", "<%s>", {Int(3)}, "<>", 0},
        {"a string where a number belongs is 0", "%d", {Text("12")}, "0", 0},
        {"missing values are 0 and empty", "%d %s %f", {}, "0  0.000000", 0},
        {"a variable reference is its value", "%d", {ScriptValue::MakeReference(9)}, "9", 0},
        {"%n writes nothing and takes its value", "a%nb%d", {Int(1), Int(2)}, "ab2", 1},
        {"length modifiers are ignored",
         "%ld %hhd %lld %zu",
         {Int(1), Int(2), Int(3), Int(4)},
         "1 2 3 4",
         0},
        {"an unknown directive stands as it is", "%y%", {Int(1)}, "%y%", 0},
        {"percent signs", "100%%", {}, "100%", 0},
        {"a huge width is capped", "%999999999d", {Int(1)}, std::string(4094, ' ') + "1", 0},
    };
    const std::uint32_t nine = 9;
    SetVar(9, &nine);
    for (const Case& c : cases) {
        const int before = CountLogLines("function: error. format(%n)");
        EXPECT_EQ(FormatScriptText(c.format, c.arguments, 0), c.expected) << c.name;
        EXPECT_EQ(CountLogLines("function: error. format(%n)") - before, c.refused) << c.name;
    }
    EXPECT_EQ(FormatScriptText(nullptr, Arguments{}, 0), "");
}

TEST_F(MessageFunctionsTest, FormattedTextIsCutOnACharacterBoundary) {
    const std::string kana = Sjis("あ");
    struct Case {
        const char* name;
        std::size_t prefix;  // single bytes before the double-byte characters
        std::size_t length;
    };
    const Case cases[] = {
        {"a character that would cross the limit is left out", 4094, 4094},
        {"one that ends on the limit stays", 4093, 4095},
    };
    for (const Case& c : cases) {
        const std::string text = std::string(c.prefix, 'a') + kana + kana;
        const std::string out = FormatScriptText("%s", Arguments{Text(text)}, 0);
        EXPECT_EQ(out.size(), c.length) << c.name;
        EXPECT_EQ(out, text.substr(0, c.length)) << c.name;
    }
}

}  // namespace
}  // namespace adventure_tests
