#include <gtest/gtest.h>

#include <set>
#include <string>
#include <thread>

#include "foundation/file.h"
#include "foundation/foundation_test.h"
#include "foundation/path.h"
#include "foundation_fixture.h"
#include "platform/winbase/test_hooks.h"

namespace foundation_testing {
namespace {

class PathBuilderTest : public FoundationTest {};

TEST_F(PathBuilderTest, BuildsEachKindUnderTheProgramDirectory) {
    const std::string base = dir_->windowsPath();
    const struct {
        const char* name;
        std::string got;
        std::string expected;
    } cases[] = {
        {"script gains .scr", GetPath(PathKind::Script, "start"), base + "script\\start.scr"},
        {"music number", GetPath(PathKind::Music, 3), base + "music\\bgm03a.wav"},
        {"empty name is the directory", GetPath(PathKind::Any, ""), base},
        {"data has no extension", GetPath(PathKind::Data, "tiName.dat"), base + "data\\tiName.dat"},
        {"extension kept", GetPath(PathKind::Sound, "a.ogg"), base + "sound\\a.ogg"},
        {"save slot", GetPath(PathKind::Save, 90), base + "save\\save90.dat"},
        {"pack archive", GetPath(PathKind::Pack, 7), base + "game07.dat"},
        {"voice", GetPath(PathKind::Voice, "v\\a001"), base + "voice\\v\\a001.mp3"},
        {"dot in a folder is no extension", GetPath(PathKind::Image, "x.y\\bg"),
         base + "bmp\\x.y\\bg.png"},
        {"dot-dot resolved", GetPath(PathKind::Sprite, "..\\sprite\\ch01"),
         base + "sprite\\ch01.kra"},
        {"absolute name unchanged", GetPath(PathKind::Any, "\\elsewhere\\file"),
         "\\elsewhere\\file"},
        {"kind out of range is empty", GetPath(static_cast<PathKind>(11), "x"), ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.got, c.expected) << c.name;
    }
}

TEST_F(PathBuilderTest, BuildPathRefusesBadBuffersAndCutsLongNames) {
    char buffer[16];
    EXPECT_EQ(BuildPathArgs(nullptr, 10, PathKind::Any, "x"), nullptr);
    EXPECT_EQ(BuildPathArgs(buffer, 0, PathKind::Any, "x"), nullptr);
    EXPECT_EQ(BuildPathArgs(buffer, sizeof(buffer), PathKind::Any, "\\abcdefghijklmnopqrstuvwxyz"),
              buffer);
    EXPECT_STREQ(buffer, "\\abcdefghijklmn");

    // Past MAX_PATH but within the buffer: kept whole.
    const std::string longName(300, 'n');
    EXPECT_EQ(std::string(GetPath(PathKind::Data, longName.c_str())), WinPath("data\\" + longName));
    // Past the buffer: cut to 519 characters.
    const std::string tooLong(600, 'n');
    const std::string built = GetPath(PathKind::Script, tooLong.c_str());
    EXPECT_EQ(built.size(), 519u);
    EXPECT_EQ(built.substr(0, dir_->windowsPath().size()), dir_->windowsPath());
}

TEST_F(PathBuilderTest, ThirtyThirdCallReusesTheFirstBufferOfTheThread) {
    const char* first = GetPath(PathKind::Script, "first");
    std::set<const char*> buffers{first};
    for (int i = 2; i <= 32; ++i) {
        buffers.insert(GetPath(PathKind::Script, "other"));
    }
    EXPECT_EQ(buffers.size(), 32u) << "the 32nd call must not reuse the first buffer";
    EXPECT_EQ(std::string(first), WinPath("script\\first.scr"));
    const char* thirtyThird = GetPath(PathKind::Script, "again");
    EXPECT_EQ(thirtyThird, first);

    // Another thread has its own ring: its calls leave this thread's paths alone.
    const char* mine = GetPath(PathKind::Data, "mine");
    std::thread other([] {
        for (int i = 0; i < 100; ++i) {
            GetPath(PathKind::Data, "theirs");
        }
    });
    other.join();
    EXPECT_EQ(std::string(mine), WinPath("data\\mine"));
}

TEST_F(PathBuilderTest, AlternateDirectoryServesMissingFilesOfFlaggedKindsOnly) {
    // Without an alternate directory, a missing save stays under the program directory.
    EXPECT_EQ(std::string(GetPath(PathKind::Save, 3)), WinPath("save\\save03.dat"));

    SetAlternateDir("\\alt\\");
    EXPECT_EQ(std::string(GetPath(PathKind::Save, 3)), "\\alt\\save\\save03.dat");
    EXPECT_EQ(std::string(GetPath(PathKind::Movie, "op")), "\\alt\\movie\\op.avi");
    // Kinds without the flag never move.
    EXPECT_EQ(std::string(GetPath(PathKind::Script, "start")), WinPath("script\\start.scr"));
    // An existing file stays where it is.
    dir_->writeFile("save/save04.dat", "x");
    EXPECT_EQ(std::string(GetPath(PathKind::Save, 4)), WinPath("save\\save04.dat"));
    // A path ending in a backslash never moves.
    EXPECT_EQ(std::string(GetPath(PathKind::Any, "")), dir_->windowsPath());

    SetAlternateDir(nullptr);
    EXPECT_EQ(std::string(GetPath(PathKind::Save, 3)), WinPath("save\\save03.dat"));
}

TEST_F(PathBuilderTest, ProgramDirectoryEndsInBackslash) {
    EXPECT_EQ(std::string(GetProgramDir()), dir_->windowsPath());
}

// The program directory keeps its Linux (UTF-8) bytes: one whose last byte reads as a Shift-JIS
// lead byte must not swallow the separator after it, nor lend its dot to a name as an
// extension. "\xE3\x83\x9F" is a katakana letter in UTF-8.
TEST_F(PathBuilderTest, ProgramDirectoryBytesAreNeverReadAsShiftJis) {
    const std::string folder = "v1.\xE3\x83\x9F";
    dir_->writeFile(folder + "/script/start.scr", "x");
    win32_test::SetProgramDirectory(dir_->path() + "/" + folder);
    foundation_test::ResetPathState();
    const std::string base = dir_->windowsPath() + folder + "\\";
    EXPECT_EQ(std::string(GetProgramDir()), base);
    EXPECT_EQ(std::string(GetPath(PathKind::Any, "")), base);
    EXPECT_EQ(std::string(GetPath(PathKind::Script, "start")), base + "script\\start.scr");
    EXPECT_EQ(std::string(GetPath(PathKind::Pack, 3)), base + "game03.dat");
    // A relative name stays inside the program directory.
    EXPECT_EQ(std::string(GetPath(PathKind::Sprite, "..\\..\\ch01")), base + "ch01.kra");
    EXPECT_EQ(FileExists(GetPath(PathKind::Script, "start")), 1);
    win32_test::SetProgramDirectory(dir_->path());
    foundation_test::ResetPathState();
}

}  // namespace
}  // namespace foundation_testing
