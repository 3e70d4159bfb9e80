#include <string>

#include <gtest/gtest.h>

#include "shell/game_window.h"

namespace {

class TypedKeywordTest : public ::testing::Test {
protected:
    void SetUp() override { MatchTypedKeyword(nullptr); }
    void Type(const std::string& text) {
        for (char c : text) {
            AppendTypedChar(c);
        }
    }
};

TEST_F(TypedKeywordTest, BufferKeepsTheLast79Characters) {
    std::string typed;
    for (int i = 0; i < 100; ++i) {
        typed += static_cast<char>('a' + i % 26);
    }
    Type(typed);
    EXPECT_EQ(std::string(TypedCharBuffer), typed.substr(21));
}

TEST_F(TypedKeywordTest, MatchesTheEndOfTheBufferIgnoringCaseAndClearsIt) {
    Type("xxPLOVANET");
    EXPECT_EQ(MatchTypedKeyword("plovanet"), 1);
    EXPECT_STREQ(TypedCharBuffer, "");

    Type("plovane");
    EXPECT_EQ(MatchTypedKeyword("plovanet"), 0) << "longer than the buffered text";
    Type("tx");
    EXPECT_EQ(MatchTypedKeyword("plovanet"), 0) << "not at the end";
    EXPECT_STREQ(TypedCharBuffer, "plovanetx") << "a miss leaves the buffer";
    EXPECT_EQ(MatchTypedKeyword(nullptr), 0);
    EXPECT_STREQ(TypedCharBuffer, "");
}

TEST(WindowPositionTest, StoredPositionIsKeptOnTheScreen) {
    struct Case {
        const char* name;
        RECT stored;
        POINT expected;
        SIZE screen = {1920, 1080};
    };
    const Case cases[] = {
        {"inside", {100, 50, 0, 0}, {100, 50}},
        {"negative", {-30, -1, 0, 0}, {0, 0}},
        {"beyond the right edge", {5000, 10, 0, 0}, {1920 - 800, 10}},
        {"beyond the bottom edge", {10, 480, 0, 0}, {10, 1080 - 600}},
        {"exactly at the limit", {1120, 480, 0, 0}, {1120, 480}},
        // The menu bar and the title bar stay on the desktop.
        {"taller than the screen", {30, 40, 0, 0}, {0, 0}, {800, 581}},
        {"wider than the screen", {10, 5, 0, 0}, {0, 5}, {640, 1080}},
    };
    for (const Case& c : cases) {
        const POINT p = ClampWindowPosition(c.stored, 800, 600, c.screen.cx, c.screen.cy);
        EXPECT_EQ(p.x, c.expected.x) << c.name;
        EXPECT_EQ(p.y, c.expected.y) << c.name;
    }
}

}  // namespace
