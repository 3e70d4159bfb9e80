#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/winbase/file_api.h"
#include "platform/winbase/program_directory.h"
#include "platform/winbase/test_hooks.h"
#include "support/temp_program_dir.h"

namespace {

using qvn::test::TempProgramDir;

// "表" (Shift-JIS 95 5C, UTF-8 E8 A1 A8) and "セーブ" (83 5A 81 5B 83 75).
const std::string kHyouSjis = "\x95\x5C";
const std::string kHyouUtf8 = "\xE8\xA1\xA8";
const std::string kSaveSjis = "\x83\x5A\x81\x5B\x83\x75";
const std::string kSaveUtf8 = "\xE3\x82\xBB\xE3\x83\xBC\xE3\x83\x96";

std::string ReadAll(const std::string& windowsPath) {
    HANDLE h = CreateFileA(windowsPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return "<error " + std::to_string(GetLastError()) + ">";
    }
    char buffer[256];
    DWORD read = 0;
    ReadFile(h, buffer, sizeof buffer, &read, nullptr);
    CloseHandle(h);
    return std::string(buffer, read);
}

TEST(PathTranslationTest, FindsFilesInAnyCaseAndShiftJisNames) {
    TempProgramDir dir;
    dir.writeFile("Script/Start.SCR", "start");
    dir.writeFile("bmp/" + kHyouUtf8 + "/BG.png", "bg");
    dir.writeFile(kSaveUtf8 + "/save00.dat", "slot");
    struct Case {
        std::string relative;
        std::string content;
    };
    const std::vector<Case> cases = {
        {"Script\\Start.SCR", "start"},
        {"script\\start.scr", "start"},
        {"SCRIPT\\START.scr", "start"},
        {"script/start.scr", "start"},
        {"script\\.\\..\\script\\start.scr", "start"},
        {"bmp\\" + kHyouSjis + "\\bg.png", "bg"},
        {kSaveSjis + "\\SAVE00.DAT", "slot"},
        {"script\\missing.scr", "<error 2>"},
        {"nothing\\start.scr", "<error 3>"},
        {"bmp\\" + kHyouSjis + "\\none.png", "<error 2>"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadAll(dir.windowsPath() + c.relative), c.content) << c.relative;
    }
    // Paths outside the program directory are translated from their first part.
    std::string absolute = dir.path() + "/script/start.scr";
    for (char& ch : absolute) {
        if (ch == '/') {
            ch = '\\';
        }
    }
    EXPECT_EQ(ReadAll(absolute), "start");
}

TEST(PathTranslationTest, ExactNameWinsOverOtherCases) {
    TempProgramDir dir;
    dir.writeFile("data/Readme.txt", "mixed");
    dir.writeFile("data/README.TXT", "upper");
    EXPECT_EQ(ReadAll(dir.windowsPath() + "data\\Readme.txt"), "mixed");
    EXPECT_EQ(ReadAll(dir.windowsPath() + "data\\README.TXT"), "upper");
    // No exact match: the bytewise first of the folded matches, on every run.
    EXPECT_EQ(ReadAll(dir.windowsPath() + "data\\readme.txt"), "upper");
}

TEST(PathTranslationTest, KeptListingsOfSettledFoldersSeeLaterChanges) {
    TempProgramDir dir;
    dir.writeFile("voice/V001.mp3", "1");
    const std::string voice = dir.path() + "/voice";
    const timespec longAgo[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, voice.c_str(), longAgo, 0), 0);
    const std::string wanted = dir.windowsPath() + "voice\\v002.MP3";
    EXPECT_EQ(GetFileAttributesA(wanted.c_str()), INVALID_FILE_ATTRIBUTES);  // listing kept
    EXPECT_EQ(ReadAll(dir.windowsPath() + "voice\\v001.MP3"), "1");

    dir.writeFile("voice/V002.mp3", "2");  // the folder's modification time moves on
    EXPECT_EQ(ReadAll(wanted), "2");
    ASSERT_EQ(utimensat(AT_FDCWD, voice.c_str(), longAgo, 0), 0);
    EXPECT_EQ(ReadAll(wanted), "2");
    std::filesystem::remove(voice + "/V002.mp3");
    EXPECT_EQ(GetFileAttributesA(wanted.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(PathTranslationTest, CreatingReusesAnEntryOfAnyCase) {
    TempProgramDir dir;
    dir.writeFile("Save/Save00.dat", "old");
    HANDLE h = CreateFileA((dir.windowsPath() + "save\\SAVE00.DAT").c_str(), GENERIC_WRITE, 0,
                           nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(h, "new", 3, &written, nullptr);
    CloseHandle(h);
    EXPECT_EQ(dir.readFile("Save/Save00.dat"), "new");
    EXPECT_FALSE(dir.exists("Save/SAVE00.DAT"));

    // A new file gets its converted name.
    h = CreateFileA((dir.windowsPath() + "save\\" + kSaveSjis + ".txt").c_str(), GENERIC_WRITE, 0,
                    nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    EXPECT_TRUE(dir.exists("Save/" + kSaveUtf8 + ".txt"));
}

TEST(PathTranslationTest, NamesThatDoNotConvertAreNotFound) {
    TempProgramDir dir;
    dir.writeFile("data/a.txt", "a");
    // A lead byte followed by an invalid trail byte, as a file name and as a folder name.
    EXPECT_EQ(ReadAll(dir.windowsPath() + "data\\\x82\x20.txt"), "<error 2>");
    EXPECT_EQ(ReadAll(dir.windowsPath() + "\x82\x20\\a.txt"), "<error 3>");
    HANDLE h = CreateFileA((dir.windowsPath() + "data\\\xFD.txt").c_str(), GENERIC_WRITE, 0,
                           nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(GetFileAttributesA((dir.windowsPath() + "\xFD").c_str()), INVALID_FILE_ATTRIBUTES);

    // Each such name is logged once, readably, however often it is asked for.
    const std::string odd = dir.windowsPath() + "bmp\\\x82\x20.png";
    testing::internal::CaptureStderr();
    GetFileAttributesA(odd.c_str());
    GetFileAttributesA(odd.c_str());
    std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(log, "file not found: a name in \"" + dir.windowsPath() +
                       "bmp\\<82> .png\" is not Shift-JIS text\n");
}

TEST(PathTranslationTest, ProgramDirectoryBytesStayRaw) {
    // A program directory whose Linux name is UTF-8 (not Shift-JIS) is used as it is.
    TempProgramDir base;
    std::string programDir = base.path() + "/" + kHyouUtf8 + "Game";
    base.writeFile(kHyouUtf8 + "Game/data/x.dat", "x");
    win32_test::SetProgramDirectory(programDir);
    char module[4096];
    DWORD length = GetModuleFileNameA(nullptr, module, sizeof module);
    std::string windowsDir(module, length);
    windowsDir = windowsDir.substr(0, windowsDir.rfind('\\') + 1);
    EXPECT_EQ(ReadAll(windowsDir + "data\\x.dat"), "x");
    EXPECT_EQ(GetFileAttributesA(windowsDir.substr(0, windowsDir.size() - 1).c_str()),
              FILE_ATTRIBUTE_DIRECTORY);
    win32_test::SetProgramDirectory(base.path());
}

TEST(PathTranslationTest, ToolsChooseOnlyAnAbsoluteExistingFolder) {
    TempProgramDir base;
    base.writeFile("Data/x.dat", "x");
    const std::string before = ProgramDirectoryLinux();
    const std::string executableFolder =
        std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
    struct Case {
        const char* name;
        std::string folder;
        bool accepted;
        std::string directory;  // the program directory afterwards
    };
    const std::vector<Case> cases = {
        {"RelativePath", "Data", false, before},
        {"MissingFolder", base.path() + "/none", false, before},
        {"PlainFile", base.path() + "/Data/x.dat", false, before},
        {"TrailingSlashesDropped", base.path() + "/Data//", true, base.path() + "/Data"},
        {"EmptyIsTheExecutablesFolder", "", true, executableFolder},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        win32_test::SetProgramDirectory(before);
        EXPECT_EQ(SetProgramDirectory(c.folder), c.accepted);
        EXPECT_EQ(ProgramDirectoryLinux(), c.directory);
    }
    ASSERT_TRUE(SetProgramDirectory(base.path() + "/Data"));
    EXPECT_EQ(ReadAll(ProgramDirectoryWindows() + "X.DAT"), "x");
    win32_test::SetProgramDirectory(before);
}

}  // namespace
