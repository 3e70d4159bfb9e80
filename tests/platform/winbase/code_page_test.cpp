#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/winbase/code_page.h"
#include "platform/winbase/file_api.h"

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

TEST(CodePageTest, WideTextBothWays) {
    struct Case {
        const char* name;
        std::string narrow;  // with its terminator
        std::u16string wide;
    };
    const std::vector<Case> cases = {
        {"a path", std::string("C:\\movie\\op.avi", 16), std::u16string(u"C:\\movie\\op.avi", 16)},
        {"kana and a kanji with trail 0x5C", std::string("\x82\xA0\x95\x5C", 5),
         std::u16string(u"\u3042\u8868", 3)},
        {"empty", std::string(1, '\0'), std::u16string(1, u'\0')},
    };
    for (const Case& c : cases) {
        const int chars = static_cast<int>(c.wide.size());
        EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, c.narrow.c_str(), -1, nullptr, 0), chars)
            << c.name;
        std::vector<WCHAR> wide(c.wide.size() + 4, u'?');
        ASSERT_EQ(MultiByteToWideChar(932, 0, c.narrow.c_str(), -1, wide.data(), chars), chars)
            << c.name;
        EXPECT_EQ(std::u16string(wide.data(), c.wide.size()), c.wide) << c.name;
        EXPECT_EQ(wide[c.wide.size()], u'?') << c.name << ": nothing written past the text";
        std::vector<char> narrow(c.narrow.size(), 'x');
        ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, narrow.data(),
                                      static_cast<int>(narrow.size()), nullptr, nullptr),
                  static_cast<int>(c.narrow.size()))
            << c.name;
        EXPECT_EQ(std::string(narrow.data(), narrow.size()), c.narrow) << c.name;
    }
    // Bytes that are no Shift-JIS text come back unchanged: a lead byte without its trail, a
    // folder name in UTF-8 in front of a path.
    for (const std::string& narrow : {std::string("\x82"), std::string("a\x80\xFD"),
                                      std::string("/home/\xE3\x81\x8C\xE3\x80\x80/x\\m.avi")}) {
        const int chars = MultiByteToWideChar(CP_ACP, 0, narrow.c_str(), -1, nullptr, 0);
        ASSERT_GT(chars, 0) << narrow;
        std::vector<WCHAR> wide(static_cast<std::size_t>(chars));
        ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, narrow.c_str(), -1, wide.data(), chars), chars);
        std::vector<char> back(narrow.size() + 1);
        ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, back.data(),
                                      static_cast<int>(back.size()), nullptr, nullptr),
                  static_cast<int>(back.size()))
            << narrow;
        EXPECT_EQ(std::string(back.data()), narrow);
    }
    WCHAR escaped[2] = {};
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, "\x82", -1, escaped, 2), 2);
    EXPECT_EQ(escaped[0], 0xDC82);

    // A count without the terminator converts exactly those bytes.
    WCHAR two[2] = {};
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "ab", 2, two, 2), 2);
    EXPECT_EQ(two[1], u'b');

    struct Failure {
        const char* name;
        int (*call)();
        DWORD error;
    };
    const Failure failures[] = {
        {"too small",
         [] {
             WCHAR out[3];
             return MultiByteToWideChar(CP_ACP, 0, "abcd", -1, out, 3);
         },
         ERROR_INSUFFICIENT_BUFFER},
        {"an unknown code page",
         [] {
             WCHAR out[3];
             return MultiByteToWideChar(437, 0, "a", -1, out, 3);
         },
         ERROR_INVALID_PARAMETER},
        {"a lone surrogate that escapes no byte",
         [] {
             const WCHAR lone[] = {0xDC41, 0xD800, 0};
             char out[8];
             return WideCharToMultiByte(CP_ACP, 0, lone, -1, out, 8, nullptr, nullptr);
         },
         ERROR_NO_UNICODE_TRANSLATION},
        {"a default character",
         [] {
             char out[8];
             return WideCharToMultiByte(CP_ACP, 0, u"a", -1, out, 8, "?", nullptr);
         },
         ERROR_INVALID_PARAMETER},
    };
    for (const Failure& f : failures) {
        SetLastError(0);
        EXPECT_EQ(f.call(), 0) << f.name;
        EXPECT_EQ(GetLastError(), f.error) << f.name;
    }
}

}  // namespace
