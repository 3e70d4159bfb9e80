#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/winbase/shell_path.h"

namespace {

// "表" and "ソ" in Shift-JIS: their trail byte is 0x5C, the backslash.
const std::string kHyou = "\x95\x5C";
const std::string kSo = "\x83\x5C";

TEST(ShellPathTest, CombineResolvesDotsAndRoots) {
    struct Case {
        const char* name;
        std::string dir;
        std::string file;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"relative file", "C:\\Game\\", "script\\start.scr", "C:\\Game\\script\\start.scr"},
        {"dir without backslash", "C:\\Game", "a.txt", "C:\\Game\\a.txt"},
        {"empty file keeps trailing backslash", "C:\\Game\\", "", "C:\\Game\\"},
        {"dot parts", "C:\\Game\\", ".\\data\\.\\a.dat", "C:\\Game\\data\\a.dat"},
        {"dot dot", "C:\\Game\\bin\\", "..\\save\\s.dat", "C:\\Game\\save\\s.dat"},
        {"dot dot stops at root", "C:\\Game\\", "..\\..\\..\\x", "C:\\x"},
        {"trailing dot dot", "C:\\Game\\sub\\", "..", "C:\\Game"},
        {"absolute file wins", "C:\\Game\\", "D:\\other\\x", "D:\\other\\x"},
        {"rooted file takes dir's drive", "C:\\Game\\", "\\top\\x", "C:\\top\\x"},
        {"linux program dir", "\\tmp\\qvn\\", "bmp\\bg.png", "\\tmp\\qvn\\bmp\\bg.png"},
        {"linux dot dot at root", "\\tmp\\", "..\\..\\x", "\\x"},
        {"network path", "\\\\srv\\share\\dir\\", "..\\..\\a", "\\\\srv\\share\\a"},
        {"trail byte is not a separator", "C:\\" + kHyou + "\\", kSo + "\\..\\a",
         "C:\\" + kHyou + "\\a"},
        {"dir ends in trail byte", "C:\\" + kHyou, "a", "C:\\" + kHyou + "\\a"},
        {"empty dir", "", "a\\b", "a\\b"},
    };
    for (const Case& c : cases) {
        char out[MAX_PATH];
        std::memset(out, 'x', sizeof out);
        LPSTR result = PathCombineA(out, c.dir.c_str(), c.file.c_str());
        ASSERT_EQ(result, out) << c.name;
        EXPECT_EQ(std::string(out), c.expected) << c.name;
    }
}

TEST(ShellPathTest, CombineRefusesResultsOfMaxPathOrMore) {
    std::string dir = "C:\\" + std::string(250, 'd') + "\\";
    char out[MAX_PATH];
    EXPECT_EQ(PathCombineA(out, dir.c_str(), "0123456789"), nullptr);
    EXPECT_EQ(out[0], '\0');
    EXPECT_EQ(PathCombineA(out, nullptr, nullptr), nullptr);
    EXPECT_NE(PathCombineA(out, dir.c_str(), "a"), nullptr);
}

TEST(ShellPathTest, ExtensionAndFileName) {
    struct Case {
        std::string path;
        std::string extension;
        std::string fileName;
    };
    const std::vector<Case> cases = {
        {"C:\\Game\\script\\start.scr", ".scr", "start.scr"},
        {"C:\\Game\\music\\bgm03a", "", "bgm03a"},
        {"C:\\Game.v2\\music\\bgm03a", "", "bgm03a"},
        {"C:\\Game\\a.tar.gz", ".gz", "a.tar.gz"},
        {"C:\\Game\\dir\\", "", "dir\\"},
        {"name. txt", "", "name. txt"},
        {"a.b\\c", "", "c"},
        {"C:file.txt", ".txt", "file.txt"},
        {"", "", ""},
        {"\\tmp\\" + kSo + "\\x.dat", ".dat", "x.dat"},
        {"\\tmp\\" + kSo + ".png", ".png", kSo + ".png"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(std::string(PathFindExtensionA(c.path.c_str())), c.extension) << c.path;
        EXPECT_EQ(std::string(PathFindFileNameA(c.path.c_str())), c.fileName) << c.path;
    }
    const char* path = "abc";
    EXPECT_EQ(PathFindExtensionA(path), path + 3);  // the terminating NUL, not null
}

TEST(ShellPathTest, RemoveFileSpecAndAddBackslash) {
    struct Case {
        std::string path;
        BOOL removed;
        std::string after;
    };
    const std::vector<Case> cases = {
        {"C:\\Game\\qvn.exe", TRUE, "C:\\Game"},
        {"C:\\Game", TRUE, "C:\\"},
        {"C:\\", FALSE, "C:\\"},
        {"\\tmp\\qvn\\qvn", TRUE, "\\tmp\\qvn"},
        {"\\qvn", TRUE, "\\"},
        {"qvn.exe", TRUE, ""},
        {"dir\\", TRUE, "dir"},
        {"\\\\server\\share", TRUE, "\\\\server"},
        {"\\tmp\\" + kHyou + "\\a", TRUE, "\\tmp\\" + kHyou},
        {"\\tmp\\" + kHyou, TRUE, "\\tmp"},
    };
    for (const Case& c : cases) {
        char buffer[MAX_PATH];
        std::strcpy(buffer, c.path.c_str());
        EXPECT_EQ(PathRemoveFileSpecA(buffer), c.removed) << c.path;
        EXPECT_EQ(std::string(buffer), c.after) << c.path;
    }

    char buffer[MAX_PATH];
    std::strcpy(buffer, "C:\\Game");
    EXPECT_EQ(PathAddBackslashA(buffer), buffer + 8);
    EXPECT_STREQ(buffer, "C:\\Game\\");
    EXPECT_EQ(PathAddBackslashA(buffer), buffer + 8);  // already there: unchanged
    EXPECT_STREQ(buffer, "C:\\Game\\");
    std::strcpy(buffer, ("C:\\" + kSo).c_str());  // ends in a trail byte 0x5C
    PathAddBackslashA(buffer);
    EXPECT_EQ(std::string(buffer), "C:\\" + kSo + "\\");
    std::string longPath(MAX_PATH - 1, 'a');
    std::strcpy(buffer, longPath.c_str());
    EXPECT_EQ(PathAddBackslashA(buffer), nullptr);
    EXPECT_EQ(std::string(buffer), longPath);
}

TEST(ShellPathTest, Classification) {
    struct Case {
        const char* path;
        BOOL relative;
        BOOL unc;
        BOOL url;
    };
    const std::vector<Case> cases = {
        {"script\\a.scr", TRUE, FALSE, FALSE},
        {"C:\\Game", FALSE, FALSE, FALSE},
        {"c:", FALSE, FALSE, FALSE},
        {"\\tmp\\qvn", FALSE, FALSE, FALSE},
        {"\\\\server\\share", FALSE, TRUE, FALSE},
        {"\\\\?\\C:\\long", FALSE, FALSE, FALSE},
        {"\\\\?\\UNC\\server\\share", FALSE, TRUE, FALSE},
        {"http://example.com/", TRUE, FALSE, TRUE},
        {"file:///tmp/x", TRUE, FALSE, TRUE},
        {"mailto:someone", TRUE, FALSE, TRUE},
        {"", TRUE, FALSE, FALSE},
        {"\x95:", TRUE, FALSE, FALSE},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PathIsRelativeA(c.path), c.relative) << c.path;
        EXPECT_EQ(PathIsUNCA(c.path), c.unc) << c.path;
        EXPECT_EQ(PathIsURLA(c.path), c.url) << c.path;
    }
}

}  // namespace
