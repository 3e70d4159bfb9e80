// Every text of the demo's scripts, laid out by the game's own layout code at both line widths:
// no line may begin with a character that may not start a line, and each line feed of a text
// ends a line without leaving an empty one.

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "adventure/face.h"
#include "adventure/message_layout.h"
#include "adventure/message_window.h"
#include "adventure_fixture.h"
#include "platform/winbase/code_page.h"
#include "script/script_variables.h"
#include "tools/script/script_assembler.h"
#include "tools/script/script_dumper.h"
#include "tools/script/sjis_escape.h"

namespace adventure_tests {
namespace {

struct ScriptText {
    int line;          // of the source
    std::string sjis;  // the text as the script stores it
    bool formatted;    // the format of built-in function 35, not a text instruction
};

// The quoted operand of each line whose instruction is `text` or, with `withFormats`, a call of
// built-in function 35 written as `invoke 35 "format" ...`, in order.
std::vector<ScriptText> TextInstructions(const std::string& source, bool withFormats) {
    std::vector<ScriptText> texts;
    std::istringstream lines(source);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        std::istringstream words(line);
        std::string instruction;
        std::string function;
        words >> instruction >> function;
        const bool formatted = withFormats && instruction == "invoke" && function == "35";
        const std::size_t open = line.find('"');
        if ((instruction != "text" && !formatted) || open == std::string::npos) {
            continue;
        }
        std::size_t close = open + 1;
        while (close < line.size() && line[close] != '"') {
            close += line[close] == '\\' ? 2 : 1;
        }
        std::string error;
        const std::optional<std::string> sjis =
            UnescapeToSjis(std::string_view(line).substr(open + 1, close - open - 1), &error);
        EXPECT_TRUE(sjis.has_value()) << number << ": " << error;
        texts.push_back({number, sjis.value_or(""), formatted});
    }
    return texts;
}

// The first character a line shows from `c` on: colour markup ("[" with hexadecimal digits and
// the character that closes them) takes no room, a backslash shows the character after it and a
// ruby group begins with its base.
const char* FirstShownChar(const char* c) {
    while (*c == '[') {
        ++c;
        while (std::isxdigit(static_cast<unsigned char>(*c)) != 0) {
            ++c;
        }
        if (*c != '\0') {
            ++c;
        }
    }
    return *c == '\\' || *c == '{' ? c + 1 : c;
}

std::string Utf8(const std::string& sjis) {
    return Cp932ToUtf8(sjis).value_or("?");
}

// The text as the page shows it: each "%d" of a format and each "#0" give `word`.
std::string ShownText(const ScriptText& text, std::uint32_t word) {
    std::string format = text.sjis;
    for (std::size_t at = 0; text.formatted && (at = format.find("%d", at)) != std::string::npos;) {
        format.replace(at, 2, std::to_string(word));
    }
    SetVar(9, &word);
    return ExpandGlobalWords(format.c_str());
}

// Lays `shown` out as the message window does, line by line through MessageLayout; answers
// where each line after the first starts.
std::vector<std::size_t> LaterLineStarts(const std::string& shown) {
    std::vector<std::size_t> starts;
    LineCounter = -1;
    std::size_t consumed = 0;
    while (consumed < shown.size()) {
        const std::size_t start = consumed;
        if (!MessageLayout(nullptr, shown.c_str() + start, &consumed) || consumed == start) {
            ADD_FAILURE() << "\"" << Utf8(shown.substr(start)) << "\" is not laid out";
            break;
        }
        if (consumed < shown.size()) {
            starts.push_back(consumed);
        }
    }
    return starts;
}

class DemoTextLayoutTest : public AdventureTest {};

TEST_F(DemoTextLayoutTest, NoLineOfTheDemoBeginsWithAClosingMark) {
    const std::filesystem::path folder = std::filesystem::path(QVN_SOURCE_DIR) / "demo" / "script";
    std::vector<std::string> scripts;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        // As the build assembles them: variable.txt names the variables, it is no script.
        if (entry.path().extension() == ".txt" && entry.path().filename() != "variable.txt") {
            scripts.push_back(entry.path().filename().string());
        }
    }
    std::sort(scripts.begin(), scripts.end());
    ASSERT_GE(scripts.size(), 7U);

    CopyDemoFile("bmp/face/kai.png");
    std::size_t textCount = 0;
    for (const std::string& name : scripts) {
        const std::string source = ReadDemoFile("script/" + name);
        const std::vector<ScriptText> texts = TextInstructions(source, true);
        textCount += texts.size();

        // The assembled script holds exactly these text instructions: none was missed or
        // misread (a listing shows a call of function 35 expanded, its format pushed).
        const AssembleResult assembled = AssembleScriptImage(source, name);
        ASSERT_TRUE(assembled.ok) << assembled.error;
        const std::vector<ScriptText> listed =
            TextInstructions(DumpScriptImage(assembled.image), false);
        std::vector<ScriptText> plain;
        std::copy_if(texts.begin(), texts.end(), std::back_inserter(plain),
                     [](const ScriptText& text) { return !text.formatted; });
        ASSERT_EQ(listed.size(), plain.size()) << name;
        for (std::size_t i = 0; i < plain.size(); ++i) {
            EXPECT_EQ(listed[i].sjis, plain[i].sjis) << name << ":" << plain[i].line;
        }

        for (const int width : {kMessageLineChars, kMessageLineCharsWithFace}) {
            if (width == kMessageLineCharsWithFace) {
                SetFace("kai");
                ASSERT_TRUE(IsFaceShown());
            } else {
                ClearFace();
            }
            for (const ScriptText& text : texts) {
                // "#0" shows variable 9, "%d" a value: every width from one digit to four.
                const bool hasWord = text.sjis.find('#') != std::string::npos ||
                                     (text.formatted && text.sjis.find("%d") != std::string::npos);
                for (const std::uint32_t word : {1U, 10U, 100U, 1000U}) {
                    const std::string shown = ShownText(text, word);
                    const std::vector<std::size_t> starts = LaterLineStarts(shown);
                    const std::string where = name + ":" + std::to_string(text.line) + " at " +
                                              std::to_string(width) + " characters a line" +
                                              (hasWord ? " with " + std::to_string(word) : "") +
                                              ": \"" + Utf8(shown) + "\"";
                    for (const std::size_t start : starts) {
                        const std::string line = shown.substr(start);
                        EXPECT_FALSE(IsNoLineStartChar(FirstShownChar(line.c_str())) ||
                                     line[0] == '\n')
                            << where << " has a line that begins \"" << Utf8(line) << "\"";
                    }
                    for (std::size_t feed = shown.find('\n'); feed != std::string::npos;
                         feed = shown.find('\n', feed + 1)) {
                        EXPECT_TRUE(feed + 1 == shown.size() ||
                                    std::find(starts.begin(), starts.end(), feed + 1) !=
                                        starts.end())
                            << where << " goes on after a line feed on the same line";
                    }
                    if (!hasWord) {
                        break;
                    }
                }
            }
        }
    }
    ClearFace();
    EXPECT_GE(textCount, 50U);
}

}  // namespace
}  // namespace adventure_tests
