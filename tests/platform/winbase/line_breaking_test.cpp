#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "platform/winbase/code_page.h"
#include "platform/winbase/line_breaking.h"

namespace {

// The dialogs' font at 13 pixels: a double-byte character 13 pixels wide, any other 7.
float DialogFontWidth(std::string_view character) {
    return character.size() == 2 ? 13.0f : 7.0f;
}

std::string Sjis(const std::string& utf8) {
    return Utf8ToCp932(utf8).value_or("?");
}

TEST(LineBreakingTest, WrapsAtTheWidthAndNeverStartsALineWithAClosingMark) {
    struct Case {
        const char* name;
        std::string text;  // UTF-8 here, wrapped as Shift-JIS
        float width;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        // The help field of the start-up dialog's detailed page, 286 dialog units.
        {"help of 1001 in the start-up dialog",
         "チェックすると、画面全体を使ってゲームを楽しむことができます（推奨）。",
         429,
         {"チェックすると、画面全体を使ってゲームを楽しむことができます（推", "奨）。"}},
        // The help field of the preferences, 200 dialog units.
        {"help of 1241 in the preferences",
         "アドベンチャーパートのエフェクトを有効にします。",
         300,
         {"アドベンチャーパートのエフェクトを有効にしま", "す。"}},
        {"help of 1206 in the preferences: line feeds, and an ASCII word kept whole",
         "現在の動作環境などをクリップボードに転送します。\r\nサポートメールを書くときにCTRL+"
         "Vで出力できます。",
         300,
         {"現在の動作環境などをクリップボードに転送しま", "す。",
          "サポートメールを書くときにCTRL+Vで出力でき", "ます。"}},
        {"a closing mark hangs in the room kept for it",
         "あいうえ。かきく",
         65,
         {"あいうえ。", "かきく"}},
        {"two closing marks take the character before them down",
         "あいうえ」。かき",
         65,
         {"あいう", "え」。かき"}},
        {"a text that fits whole stays one line, the kept room too",
         "あいうえお",
         65,
         {"あいうえお"}},
        {"mixed ASCII and Japanese break between them", "CTRL+Vで出力", 60, {"CTRL+V", "で出力"}},
        {"ASCII words break at spaces, which are dropped",
         "Press CTRL+V to paste",
         70,
         {"Press", "CTRL+V", "to paste"}},
        {"a space before a closing mark is no place to break",
         "あいう 。えお",
         52,
         {"あい", "う 。", "えお"}},
        {"a word with no break point breaks where the line is full",
         "ABCDEFGHIJKLMNOP",
         50,
         {"ABCDE", "FGHIJ", "KLMNOP"}},
        {"nothing but closing marks: a line full of them",
         "。。。。。。",
         40,
         {"。。。", "。。。"}},
        {"a closing mark at the very start stays there",
         "。あいうえおかき",
         65,
         {"。あいう", "えおかき"}},
        {"an empty line between two", "あ\r\n\r\nい", 100, {"あ", "", "い"}},
        {"empty text", "", 100, {""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> want;
        for (const std::string& line : c.lines) {
            want.push_back(Sjis(line));
        }
        EXPECT_EQ(WrapCp932Text(Sjis(c.text), c.width, DialogFontWidth), want);
    }
}

}  // namespace
