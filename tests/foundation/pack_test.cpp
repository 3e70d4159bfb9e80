#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "foundation/file.h"
#include "foundation/file_error.h"
#include "foundation/pack_archive.h"
#include "foundation/pack_set.h"
#include "foundation/path.h"
#include "foundation_fixture.h"
#include "pack_fixture.h"

namespace foundation_testing {
namespace {

class PackSetTest : public FoundationTest {
protected:
    // game00 (main), game01 (placeholder), game02 (damaged), game03 (repeats a name of game00),
    // no game04, game05 (never reached).
    void WriteArchiveSequence() {
        dir_->writeFile("game00.dat", MakeGame00());
        dir_->writeFile("game01.dat", std::string(4, '\0'));
        std::vector<std::uint8_t> damaged = MakeArchive({{"a\\x.txt", "x"}, {"b\\y.txt", "y"}});
        PutWord(damaged, 16 + 8, 0xFFFFFFFFu);  // a second root
        dir_->writeFile("game02.dat", damaged);
        dir_->writeFile("game03.dat", MakeArchive({{"data\\shared.dat", "from game03"},
                                                   {"data\\only03.dat", "only in 03"}}));
        dir_->writeFile("game05.dat", MakeArchive({{"data\\only05.dat", "only in 05"}}));
    }

    std::string Load(const std::string& relative) {
        DWORD size = 0;
        return TakeBuffer(LoadFile(WinPath(relative).c_str(), &size, 0), size);
    }

    std::string Game02Error() const {
        return "pack initialize error. code:20000006(536870918) " + WinPath("game02.dat");
    }
};

TEST_F(PackSetTest, ResolvesNamesAcrossTheArchiveSequence) {
    WriteArchiveSequence();
    const struct {
        const char* name;
        std::string relative;
        std::string expected;
    } cases[] = {
        {"root file", "readme.txt", "root file"},
        {"any letter case", "SCRIPT\\START.SCR", "start script"},
        {"nested folders", "script\\SUB\\deep\\nest.scr", "nested"},
        {"last file of a folder", "script\\zeta.scr", "zeta"},
        {"component matches a longer folder name", "bg\\track.wav", "track"},
        {"double-byte names with trail byte 0x5C", kSjisFolder + "\\" + kSjisFile, "sjis"},
        {"mixed case stored name", "data\\mixed.dat", "mixed"},
        {"name over 255 bytes", "data\\" + std::string(300, 'l') + ".TXT", "long name"},
        {"lower number wins", "data\\shared.dat", "from game00"},
        {"later archive after a placeholder and a damaged one", "data\\ONLY03.dat", "only in 03"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Load(c.relative), c.expected) << c.name;
    }
    // Opening the set logged the damaged archive once, the placeholder not at all.
    EXPECT_EQ(LogLines(), std::vector<std::string>{Game02Error()});
    ASSERT_NE(GetPackManager().Current().Get(), nullptr);
    std::vector<int> numbers;
    for (const PackFile* pack : GetPackManager().Current().Get()->archives()) {
        numbers.push_back(pack->number());
    }
    EXPECT_EQ(numbers, (std::vector<int>{0, 3}));
}

TEST_F(PackSetTest, MissingNamesRetryWithFreshSetsAndLogOnce) {
    WriteArchiveSequence();
    EXPECT_EQ(Load("data\\only05.dat"), "") << "the scan stops at the missing game04";
    EXPECT_EQ(Load("script\\nothere.scr"), "");
    EXPECT_EQ(Load("empty\\inner\\x"), "") << "a folder without files";
    EXPECT_EQ(Load("script"), "") << "a folder is not a file";
    // Each miss runs four tries and reopens the archives after the second and fourth.
    const std::vector<std::string> expected = {
        Game02Error(),
        Game02Error(),
        "load error. code:00000002(2) " + WinPath("data\\only05.dat"),
        Game02Error(),
        Game02Error(),
        "load error. code:00000002(2) " + WinPath("script\\nothere.scr"),
        Game02Error(),
        Game02Error(),
        "load error. code:00000002(2) " + WinPath("empty\\inner\\x"),
        Game02Error(),
        Game02Error(),
        "load error. code:00000002(2) " + WinPath("script"),
    };
    EXPECT_EQ(LogLines(), expected);
}

TEST_F(PackSetTest, PlainFilesShadowEntriesAndFileExistsSeesArchivesBeforeAnyLoad) {
    WriteArchiveSequence();
    EXPECT_EQ(FileExists(WinPath("Script\\Start.SCR").c_str()), 1);
    EXPECT_EQ(FileExists(WinPath("data\\only03.dat").c_str()), 1);
    EXPECT_EQ(FileExists(WinPath("data\\only05.dat").c_str()), 0);
    EXPECT_EQ(FileExists("\\outside\\readme.txt"), 0);

    DWORD info[3];
    GetFileInfo(WinPath("data\\shared.dat").c_str(), info);
    EXPECT_EQ(info[0], 1u);
    EXPECT_EQ(info[1], 1u);
    EXPECT_EQ(info[2], 11u);

    dir_->writeFile("data/shared.dat", "plain");
    EXPECT_EQ(Load("DATA\\shared.dat"), "plain");

    DWORD size = 0;
    EXPECT_EQ(TakeBuffer(LoadFile(WinPath("script\\start.scr").c_str(), &size, 5), size), "start");
}

TEST_F(PackSetTest, TwoThreadsLoadFromTheArchivesTogether) {
    dir_->writeFile("game00.dat", MakeGame00());
    std::atomic<int> wrong{0};
    auto loader = [&](const std::string& relative, const std::string& expected) {
        const std::string name = WinPath(relative);
        for (int i = 0; i < 200; ++i) {
            DWORD size = 0;
            if (TakeBuffer(LoadFile(name.c_str(), &size, 0), size) != expected) {
                ++wrong;
            }
            // Drops the set now and then, so that the other thread sees it reopened.
            if (i % 50 == 0) {
                GetPackManager().Release();
            }
        }
    };
    std::thread music(loader, "bgm\\track.wav", "track");
    loader("script\\start.scr", "start script");
    music.join();
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(LogText(), "");
}

TEST_F(PackSetTest, NoArchiveFailsAtOnceWithCode3) {
    EXPECT_EQ(Load("script\\start.scr"), "");
    EXPECT_EQ(LogLines(), std::vector<std::string>{"load error. code:00000003(3) " +
                                                   WinPath("script\\start.scr")});
    EXPECT_EQ(GetPackManager().baseDir(), dir_->windowsPath());
}

TEST_F(PackSetTest, DumpListsTheOpenArchives) {
    DumpPackFiles();
    WriteArchiveSequence();
    EXPECT_EQ(FileExists(WinPath("readme.txt").c_str()), 1);
    DumpPackFiles();
    const std::vector<std::string> expected = {
        "",
        "[PackFile]",
        "no pack file.",
        "",
        Game02Error(),
        "",
        "[PackFile]",
        " Pack file No.0  dir:  9 file:     9",
        " Pack file No.3  dir:  2 file:     2",
    };
    EXPECT_EQ(LogLines(), expected);
}

class PackFileTest : public FoundationTest {
protected:
    // Opens `bytes` as game00.dat; the code of the open.
    DWORD OpenCode(const std::vector<std::uint8_t>& bytes) {
        dir_->writeFile("game00.dat", bytes);
        PackFile pack;
        DWORD code = 0xDEADu;
        char path[kPathLength];
        FormatPath(path, PathKind::Pack, 0);
        const bool opened = pack.Open(path, 0, &code);
        EXPECT_EQ(opened, code == 0);
        EXPECT_EQ(pack.number(), opened ? 0 : -1);
        return code;
    }
};

TEST_F(PackFileTest, DamagedArchivesFailWithTheirCode) {
    // Two folders a and b with one file each: D = 3, F = 2, names from 16 + 24 + 32 = 72.
    const std::vector<std::uint8_t> good = MakeArchive({{"a\\x.txt", "1"}, {"b\\y.txt", "2"}});
    ASSERT_EQ(GetWord(good, 8), 3u);
    ASSERT_EQ(GetWord(good, 12), 2u);
    constexpr std::uint32_t kPool = 72;
    using Mutation = void (*)(std::vector<std::uint8_t>&);
    const struct {
        const char* name;
        Mutation mutate;
        DWORD code;
    } cases[] = {
        {"intact", [](std::vector<std::uint8_t>&) {}, 0},
        {"bad magic", [](std::vector<std::uint8_t>& b) { b[0] = 'X'; }, FileError::BadMagic},
        {"placeholder", [](std::vector<std::uint8_t>& b) { b.assign(4, 0); },
         FileError::PackPlaceholder},
        {"four non-zero bytes", [](std::vector<std::uint8_t>& b) { b.assign(4, 1); },
         FileError::ShortRead},
        {"truncated inside the first words", [](std::vector<std::uint8_t>& b) { b.resize(6); },
         FileError::ShortRead},
        {"header longer than the file",
         [](std::vector<std::uint8_t>& b) { PutWord(b, 4, 0x7FFFFFF0u); }, FileError::ShortRead},
        {"header shorter than the fixed words",
         [](std::vector<std::uint8_t>& b) { PutWord(b, 4, 8); }, FileError::ShortRead},
        {"no directory", [](std::vector<std::uint8_t>& b) { PutWord(b, 8, 0); },
         FileError::RootNotFirst},
        {"tables past the header", [](std::vector<std::uint8_t>& b) { PutWord(b, 8, 0x40000000u); },
         FileError::BadHeader},
        {"file count past the header",
         [](std::vector<std::uint8_t>& b) { PutWord(b, 12, 0xFFFFFFFFu); }, FileError::BadHeader},
        {"root not first", [](std::vector<std::uint8_t>& b) { PutWord(b, 16, 1); },
         FileError::RootNotFirst},
        {"second root", [](std::vector<std::uint8_t>& b) { PutWord(b, 24, 0xFFFFFFFFu); },
         FileError::ExtraRoot},
        {"parent out of range", [](std::vector<std::uint8_t>& b) { PutWord(b, 24, 3); },
         FileError::BadParent},
        {"file range past the count", [](std::vector<std::uint8_t>& b) { PutWord(b, 28, 9); },
         FileError::BadHeader},
        {"no room for folder names", [](std::vector<std::uint8_t>& b) { PutWord(b, 4, kPool + 3); },
         FileError::DirNamesExhausted},
        {"no room for file names", [](std::vector<std::uint8_t>& b) { PutWord(b, 4, kPool + 5); },
         FileError::FileNamesExhausted},
        {"unterminated NUL-form name",
         [](std::vector<std::uint8_t>& b) {
             // The first folder name becomes a NUL-form name that runs to the end.
             b[kPool] = 0;
             PutWord(b, 4, kPool + 3);
             b[kPool + 1] = 'a';
             b[kPool + 2] = 'a';
         },
         FileError::DirNamesExhausted},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> bytes = good;
        c.mutate(bytes);
        EXPECT_EQ(OpenCode(bytes), c.code) << c.name;
    }
}

TEST_F(PackFileTest, OpenRefusesBadArguments) {
    PackFile pack;
    DWORD code = 0;
    EXPECT_FALSE(pack.Open(nullptr, 0, &code));
    EXPECT_EQ(code, FileError::NoPackName);
    EXPECT_FALSE(pack.Open("", 0, &code));
    EXPECT_EQ(code, FileError::NoPackName);
    EXPECT_FALSE(pack.Open(WinPath("game00.dat").c_str(), -1, &code));
    EXPECT_EQ(code, 87u);
    EXPECT_FALSE(pack.Open(WinPath("game00.dat").c_str(), 0, &code));
    EXPECT_EQ(code, 2u);
}

TEST_F(PackFileTest, FoldersWithoutFilesNeverClaimOtherFiles) {
    // The root and "a" hold no file; "a\b" holds two, "c" holds one.
    dir_->writeFile("game00.dat",
                    MakeArchive({{"a\\b\\one.txt", "1"}, {"a\\b\\two.txt", "2"}, {"c\\three", "3"}},
                                qvn_pak::NameForm::NulTerminated, {"z"}));
    PackFile pack;
    DWORD code = 0;
    ASSERT_TRUE(pack.Open(WinPath("game00.dat").c_str(), 4, &code)) << code;
    const struct {
        const char* name;
        bool found;
    } cases[] = {
        {"a\\b\\one.txt", true}, {"A\\B\\TWO.TXT", true},
        {"c\\three", true},      {"a\\one.txt", false},
        {"one.txt", false},      {"z\\three", false},
        {"c\\", false},          {"", false},
        {"a\\b\\three", false},  {"\\c\\three", false},
        {"c\\\\three", false},
    };
    for (const auto& c : cases) {
        FileInfo record("x");
        EXPECT_EQ(pack.Find(record, c.name), c.found) << c.name;
        if (c.found) {
            EXPECT_EQ(record.kind(), FileInfo::PackEntry);
            EXPECT_EQ(record.packNumber(), 4);
            EXPECT_EQ(record.size(), 1u);
        }
    }
    const std::vector<PackFile::Listing> listing = pack.ListFiles();
    ASSERT_EQ(listing.size(), 3u);
    EXPECT_EQ(listing[0].path, "a\\b\\one.txt");
    EXPECT_EQ(listing[2].path, "c\\three");
}

// small_archive.dat was written by hand from the layout: folders script and script\sub, names in
// both forms. The writer must produce it byte for byte, and the reader must read it.
TEST_F(PackFileTest, WriterAndReaderAgreeWithAHandMadeArchive) {
    std::ifstream in(std::string(QVN_FIXTURE_DIR) + "/foundation/small_archive.dat",
                     std::ios::binary);
    const std::vector<std::uint8_t> fixture((std::istreambuf_iterator<char>(in)),
                                            std::istreambuf_iterator<char>());
    ASSERT_EQ(fixture.size(), 175u);
    const std::vector<std::uint8_t> written = MakeArchive({{"script\\sub\\deep.txt", "deep"},
                                                           {"readme.txt", "root"},
                                                           {"script\\zeta.scr", "zeta"},
                                                           {"script\\start.scr", "start"}},
                                                          qvn_pak::NameForm::Alternating);
    EXPECT_EQ(written, fixture);

    dir_->writeFile("game00.dat", fixture);
    DWORD size = 0;
    const struct {
        const char* name;
        const char* bytes;
    } cases[] = {{"readme.txt", "root"},
                 {"script\\start.scr", "start"},
                 {"script\\zeta.scr", "zeta"},
                 {"script\\sub\\deep.txt", "deep"}};
    for (const auto& c : cases) {
        EXPECT_EQ(TakeBuffer(LoadFile(WinPath(c.name).c_str(), &size, 0), size), c.bytes) << c.name;
    }
}

TEST(PackWriterTest, RefusesNamesThatCompareEqual) {
    std::string error;
    const std::vector<qvn_pak::PackSourceFile> clash = {{"data\\A.txt", {}}, {"data\\a.TXT", {}}};
    EXPECT_FALSE(qvn_pak::BuildPackArchive(clash, {}, &error).has_value());
    EXPECT_NE(error.find("letter case"), std::string::npos);
    const std::vector<qvn_pak::PackSourceFile> folders = {{"Dir\\x", {}}, {"dir\\y", {}}};
    EXPECT_FALSE(qvn_pak::BuildPackArchive(folders, {}, &error).has_value());
    const std::vector<qvn_pak::PackSourceFile> empty = {{"a\\\\b", {}}};
    EXPECT_FALSE(qvn_pak::BuildPackArchive(empty, {}, &error).has_value());
}

}  // namespace
}  // namespace foundation_testing
