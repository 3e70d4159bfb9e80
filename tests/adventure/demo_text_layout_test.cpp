// Every text of the demo's scripts, laid out by the game's own layout code at both line widths:
// no line may begin with a character that may not start a line.

#include <algorithm>
#include <cctype>
#include <filesystem>
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
};

// The quoted operand of each line whose instruction is `text`, in order.
std::vector<ScriptText> TextInstructions(const std::string& source) {
    std::vector<ScriptText> texts;
    std::istringstream lines(source);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        std::istringstream words(line);
        std::string instruction;
        words >> instruction;
        const std::size_t open = line.find('"');
        if (instruction != "text" || open == std::string::npos) {
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
        texts.push_back({number, sjis.value_or("")});
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

// Lays `sjis` out as the message window shows it, line by line through MessageLayout; answers
// what is left of the shown text at the start of each line after the first.
std::vector<std::string> LaterLines(const std::string& sjis) {
    const std::string shown = ExpandGlobalWords(sjis.c_str());
    std::vector<std::string> later;
    LineCounter = -1;
    std::size_t consumed = 0;
    while (consumed < shown.size()) {
        const std::size_t start = consumed;
        if (!MessageLayout(nullptr, shown.c_str() + start, &consumed) || consumed == start) {
            ADD_FAILURE() << "\"" << Utf8(shown.substr(start)) << "\" is not laid out";
            break;
        }
        if (consumed < shown.size()) {
            later.push_back(shown.substr(consumed));
        }
    }
    return later;
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
        const std::vector<ScriptText> texts = TextInstructions(source);
        textCount += texts.size();

        // The assembled script holds exactly these texts: none was missed or misread.
        const AssembleResult assembled = AssembleScriptImage(source, name);
        ASSERT_TRUE(assembled.ok) << assembled.error;
        const std::vector<ScriptText> listed = TextInstructions(DumpScriptImage(assembled.image));
        ASSERT_EQ(listed.size(), texts.size()) << name;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            EXPECT_EQ(listed[i].sjis, texts[i].sjis) << name << ":" << texts[i].line;
        }

        for (const int width : {kMessageLineChars, kMessageLineCharsWithFace}) {
            if (width == kMessageLineCharsWithFace) {
                SetFace("kai");
                ASSERT_TRUE(IsFaceShown());
            } else {
                ClearFace();
            }
            for (const ScriptText& text : texts) {
                // "#0" shows variable 9: every width from one digit to four.
                const bool hasWord = text.sjis.find('#') != std::string::npos;
                for (const std::uint32_t word : {1U, 10U, 100U, 1000U}) {
                    SetVar(9, &word);
                    for (const std::string& line : LaterLines(text.sjis)) {
                        EXPECT_FALSE(IsNoLineStartChar(FirstShownChar(line.c_str())))
                            << name << ":" << text.line << " at " << width << " characters a line"
                            << (hasWord ? " with #0 = " : "")
                            << (hasWord ? std::to_string(word) : "") << ": \"" << Utf8(text.sjis)
                            << "\" has a line that begins \"" << Utf8(line) << "\"";
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
