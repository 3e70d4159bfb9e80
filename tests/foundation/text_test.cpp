#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "foundation/text.h"

namespace {

int Sign(int value) {
    return (value > 0) - (value < 0);
}

struct CompareCase {
    const char* name;
    const char* a;
    const char* b;
    int expected;
};

TEST(CompareNoCaseTest, OrdersShiftJisNamesIgnoringAsciiCase) {
    const CompareCase cases[] = {
        {"equal", "start.scr", "start.scr", 0},
        {"ascii case ignored", "Script\\START.SCR", "script\\start.scr", 0},
        {"prefix sorts first", "bg", "bgm", -1},
        {"folded to lower case: underscore before letters", "_a", "Aa", -1},
        {"digits before letters", "9", "a", -1},
        {"double byte above every single byte", "\x82\xA0", "\x7F", 1},
        {"double byte compared as one character", "\x82\xA0", "\x82\xA1", -1},
        {"trail byte that looks like 'A' is not folded", "\x83\x41", "\x83\x61", -1},
        {"trail byte 0x5C is part of the character",
         "\x83\x5C"
         "a",
         "\x83\x5C"
         "A",
         0},
        {"full-width Latin letters fold", "\x82\x60", "\x82\x81", 0},
        {"empty against text", "", "a", -1},
    };
    for (const CompareCase& c : cases) {
        EXPECT_EQ(Sign(CompareNoCase(c.a, c.b)), c.expected) << c.name;
        EXPECT_EQ(Sign(CompareNoCase(c.b, c.a)), -c.expected) << c.name << " (swapped)";
    }
}

TEST(CompareNoCaseTest, StopsAtNulAfterLeadByte) {
    // The lead byte sits at the end of a buffer of exactly its size: reading the byte after the
    // NUL would be caught by AddressSanitizer.
    char* a = new char[2]{'\x82', '\0'};
    char* b = new char[2]{'\x82', '\0'};
    EXPECT_EQ(CompareNoCase(a, b), 0);
    EXPECT_EQ(CompareNoCasePrefix(a, b, 10), 0);
    delete[] a;
    delete[] b;
}

TEST(CompareNoCaseTest, PrefixComparesOnlyTheFirstBytes) {
    EXPECT_EQ(CompareNoCasePrefix("BGM", "bg\\track", 2), 0);
    EXPECT_LT(CompareNoCasePrefix("ba", "bg", 2), 0);
    EXPECT_EQ(CompareNoCasePrefix("anything", "else", 0), 0);
    // A lead byte cut by the count compares as the lead byte alone.
    EXPECT_EQ(CompareNoCasePrefix("a\x82\xA0", "A\x82\xA1", 2), 0);
}

TEST(FormatByteSizeTest, PicksUnitAndTruncatedFraction) {
    const struct {
        long long value;
        const char* text;
    } cases[] = {
        {0, "0byte"},
        {-5, "-5byte"},
        {1023, "1023byte"},
        {1024, "1KB"},
        {1536, "1KB"},
        {1048575, "1023KB"},
        {1048576, "1.00MB"},
        {1572864, "1.50MB"},
        {1073741823, "1023.99MB"},
        {1073741824, "1.00GB"},
        {1099511627776LL, "1.00TB"},
        {1099511627776LL * 2048, "2048.00TB"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(FormatByteSize(c.value), c.text) << c.value;
    }
}

TEST(FormatByteSizeTest, CallsShareOneBuffer) {
    const char* first = FormatByteSize(1);
    const char* second = FormatByteSize(2048);
    EXPECT_EQ(first, second);
    EXPECT_STREQ(first, "2KB");
}

}  // namespace
