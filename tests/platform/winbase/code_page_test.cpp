#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/winbase/code_page.h"

namespace {

TEST(CodePageTest, RoundTripsJapaneseAndAsciiSpecials) {
    struct Case {
        const char* name;
        std::string sjis;
        std::string utf8;
    };
    const std::vector<Case> cases = {
        {"ascii with backslash and tilde", "a\\b~c", "a\\b~c"},
        {"hiragana", "\x82\xA0\x82\xA2", "\xE3\x81\x82\xE3\x81\x84"},
        {"kanji with trail 0x5C", "\x95\x5C", "\xE8\xA1\xA8"},
        {"half-width katakana", "\xB1", "\xEF\xBD\xB1"},
        {"wave dash row", "\x81\x60", "\xEF\xBD\x9E"},
        {"empty", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Cp932ToUtf8(c.sjis), c.utf8) << c.name;
        EXPECT_EQ(Utf8ToCp932(c.utf8), c.sjis) << c.name;
    }
}

TEST(CodePageTest, BrokenSequencesDoNotConvert) {
    EXPECT_FALSE(Cp932ToUtf8("\x82"));              // lead byte cut off
    EXPECT_FALSE(Cp932ToUtf8("ab\x82\x20"));        // lead byte with an invalid trail
    EXPECT_FALSE(Utf8ToCp932("\xE3\x81"));          // truncated UTF-8
    EXPECT_FALSE(Utf8ToCp932("\xF0\x9F\x98\x80"));  // no Shift-JIS form
}

TEST(CodePageTest, CharNextStepsWholeCharactersAndStopsAtNul) {
    const char text[] = "a\x95\x5C\xB1";
    const char* p = text;
    p = CharNextA(p);
    EXPECT_EQ(p, text + 1);
    p = CharNextA(p);
    EXPECT_EQ(p, text + 3);
    p = CharNextA(p);
    EXPECT_EQ(p, text + 4);
    EXPECT_EQ(CharNextA(p), p);

    const char cut[] = "\x82";  // a lead byte right before the terminator
    EXPECT_EQ(CharNextA(cut), cut + 1);
    EXPECT_EQ(CharNextA(cut + 1), cut + 1);
    EXPECT_EQ(CharNextA(nullptr), nullptr);

    EXPECT_TRUE(IsDBCSLeadByte(0x81));
    EXPECT_TRUE(IsDBCSLeadByte(0x9F));
    EXPECT_TRUE(IsDBCSLeadByte(0xE0));
    EXPECT_TRUE(IsDBCSLeadByte(0xFC));
    EXPECT_FALSE(IsDBCSLeadByte(0x80));
    EXPECT_FALSE(IsDBCSLeadByte(0xA0));
    EXPECT_FALSE(IsDBCSLeadByte(0xB1));
    EXPECT_FALSE(IsDBCSLeadByte('\\'));
}

// The folded form is the lookup key of case-insensitive names: equal folds exactly when the
// texts are equal without regard to case.
TEST(CodePageTest, CaseInsensitiveEqualityFoldsOnlyAscii) {
    struct Case {
        const char* name;
        std::string a;
        std::string b;
        bool equal;
    };
    const Case cases[] = {
        {"ascii", "Software\\Main", "SOFTWARE\\main", true},
        {"longer", "main", "mains", false},
        // 0x82 0x61 and 0x82 0x41 are double-byte characters whose trail bytes look like letters.
        {"trail bytes compare exactly", "\x82\x61", "\x82\x41", false},
        {"letters after a pair fold", "\x82\x61x", "\x82\x61X", true},
        {"a lead byte alone at the end", "a\x82", "A\x82", true},
        {"a lead byte before a byte that is no trail", "\x82\x0aQ", "\x82\x0aq", true},
        {"half-width katakana",
         "\xb1"
         "A",
         "\xb1"
         "a",
         true},
        {"lead byte against a letter", "\x82\x61", "ba", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EqualNoCaseCp932(c.a, c.b), c.equal) << c.name;
        EXPECT_EQ(FoldCaseCp932(c.a) == FoldCaseCp932(c.b), c.equal) << c.name;
        EXPECT_EQ(FoldCaseCp932(c.a).size(), c.a.size()) << c.name;
    }
}

}  // namespace
