#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "foundation/file.h"
#include "foundation/file_error.h"
#include "foundation/file_handle.h"
#include "foundation/file_info.h"
#include "foundation_fixture.h"
#include "platform/winbase/file_api.h"

namespace foundation_testing {
namespace {

class FileLoadTest : public FoundationTest {};

TEST_F(FileLoadTest, LoadsPlainFilesWholeOrUpToTheLimit) {
    dir_->writeFile("data/table.dat", "0123456789");
    dir_->writeFile("data/empty.dat", "");
    const std::string table = WinPath("data\\table.dat");

    DWORD size = 99;
    BYTE* data = LoadFile(table.c_str(), &size, 0);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(size, 10u);
    EXPECT_EQ(data[10], 0) << "the bytes are followed by a NUL";
    EXPECT_EQ(TakeBuffer(data, size), "0123456789");

    data = LoadFile(table.c_str(), &size, 4);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data[4], 0);
    EXPECT_EQ(TakeBuffer(data, size), "0123");

    // Letter case of the name does not matter.
    EXPECT_EQ(TakeBuffer(LoadFile(WinPath("DATA\\Table.DAT").c_str(), &size, 0), size),
              "0123456789");
    // Shift-JIS names reach files whose names are stored in UTF-8 (背景/ソ表.png).
    dir_->writeFile("bmp/\xE8\x83\x8C\xE6\x99\xAF/\xE3\x82\xBD\xE8\xA1\xA8.png", "sjis");
    EXPECT_EQ(TakeBuffer(LoadFile(WinPath("BMP\\\x94\x77\x8C\x69\\\x83\x5C\x95\x5C.PNG").c_str(),
                                  &size, 0),
                         size),
              "sjis");

    data = LoadFile(WinPath("data\\empty.dat").c_str(), &size, 0);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(data[0], 0);
    LocalFree(data);
    EXPECT_TRUE(LogText().empty()) << LogText();
}

TEST_F(FileLoadTest, FailedLoadsLogOneLineWithTheCode) {
    const std::string missing = WinPath("data\\missing.dat");
    const std::string outside = "\\nowhere\\file.dat";
    DWORD size = 7;
    EXPECT_EQ(LoadFile(nullptr, &size, 0), nullptr);
    EXPECT_EQ(size, 0u);
    size = 7;
    EXPECT_EQ(LoadFile("", &size, 0), nullptr);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(LoadFile(missing.c_str(), nullptr, 0), nullptr);
    EXPECT_EQ(LoadFile(outside.c_str(), nullptr, 0), nullptr);

    const std::vector<std::string> expected = {
        "load error. code:000000a1(161) (with out filename)",
        "load error. code:000000a1(161) (with out filename)",
        // No archive at all: the packs are not even consulted twice.
        "load error. code:00000003(3) " + missing,
        "load error. code:00000003(3) " + outside,
    };
    EXPECT_EQ(LogLines(), expected);
}

TEST_F(FileLoadTest, RefusesALoadWhoseBufferWouldPass4GiB) {
    const std::filesystem::path big = std::filesystem::path(dir_->path()) / "big.bin";
    dir_->writeFile("big.bin", "head");
    // A sparse file: no disk space is used.
    std::filesystem::resize_file(big, (std::uint64_t{5} << 30));

    DWORD size = 1;
    EXPECT_EQ(LoadFile(WinPath("big.bin").c_str(), &size, 0), nullptr);
    EXPECT_EQ(size, 0u);
    ASSERT_EQ(LogLines().size(), 1u);
    EXPECT_EQ(LogLines()[0], "load error. code:00000008(8) " + WinPath("big.bin"));

    // With a limit the same file loads.
    EXPECT_EQ(TakeBuffer(LoadFile(WinPath("big.bin").c_str(), &size, 4), size), "head");

    DWORD info[3];
    GetFileInfo(WinPath("big.bin").c_str(), info);
    EXPECT_EQ(info[0], 1u);
    EXPECT_EQ(info[1], 0u);
    EXPECT_EQ(info[2], 1u << 30) << "the size is cut to 32 bits";

    // Size and seek past 4 GiB, with the 64-bit calls and with 32-bit steps alike.
    HANDLE file = CreateFileA(WinPath("big.bin").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    for (bool extended : {true, false}) {
        const FileApiEx api(extended);
        DWORD error = 0;
        std::int64_t value = 0;
        ASSERT_TRUE(api.GetSize(file, &value, &error)) << extended;
        EXPECT_EQ(value, std::int64_t{5} << 30);
        const std::int64_t target = (std::int64_t{4} << 30) + 12345;
        ASSERT_TRUE(api.Seek(file, target, FILE_BEGIN, &value, &error)) << extended;
        EXPECT_EQ(value, target);
        ASSERT_TRUE(api.Seek(file, -(std::int64_t{3} << 30), FILE_CURRENT, &value, &error));
        EXPECT_EQ(value, target - (std::int64_t{3} << 30));
        EXPECT_FALSE(api.Seek(file, -(std::int64_t{6} << 30), FILE_CURRENT, &value, &error));
        EXPECT_NE(error, 0u);
    }
    CloseHandle(file);
}

TEST_F(FileLoadTest, ReaderReportsMissingRecordHandleAndShortReads) {
    dir_->writeFile("short.bin", "abc");
    FileReader reader;
    FileInfo unlocated("x");
    EXPECT_FALSE(reader.ReadInto(unlocated, 0));
    EXPECT_EQ(reader.code(), 2u);

    FileInfo plain(WinPath("short.bin").c_str());
    plain.SetPlain(FileInfo::kWholeFile, 0);
    EXPECT_FALSE(reader.ReadInto(plain, 0));
    EXPECT_EQ(reader.code(), 6u);

    // An entry that claims more bytes than its file holds past its start.
    ASSERT_TRUE(reader.Open(WinPath("short.bin").c_str(), true));
    FileInfo entry(WinPath("short.bin").c_str());
    entry.SetPackEntry(3, 2, 0, 0);
    EXPECT_FALSE(reader.ReadInto(entry, 0));
    EXPECT_EQ(reader.code(), FileError::ShortRead);
    EXPECT_EQ(entry.data(), nullptr);
}

TEST_F(FileLoadTest, FileInfoIsLocatedOnceAndOwnsItsBuffer) {
    FileInfo record("name");
    EXPECT_EQ(record.kind(), FileInfo::NotLocated);
    EXPECT_EQ(record.size(), FileInfo::kWholeFile);
    EXPECT_EQ(record.packNumber(), -1);
    BYTE* buffer = static_cast<BYTE*>(LocalAlloc(LMEM_FIXED, 8));
    EXPECT_FALSE(record.Attach(buffer, 8)) << "an unlocated record takes no buffer";
    EXPECT_TRUE(record.SetPackEntry(100, 40, 3, 0));
    EXPECT_FALSE(record.SetPlain(FileInfo::kWholeFile, 0)) << "a record is located once";
    EXPECT_TRUE(record.Attach(buffer, 8));
    EXPECT_EQ(buffer, nullptr) << "ownership passed";
    EXPECT_EQ(record.loadedSize(), 8u);
    BYTE* detached = record.Detach();
    EXPECT_NE(detached, nullptr);
    EXPECT_EQ(record.loadedSize(), 0u);
    LocalFree(detached);
    record.Reset();
    EXPECT_EQ(record.kind(), FileInfo::NotLocated);
    EXPECT_EQ(record.packOffset(), 0u);
    EXPECT_EQ(std::string(record.GetName()), "name");
}

TEST_F(FileLoadTest, SaveReplacesTheFileWhole) {
    const std::string save = WinPath("save\\save01.dat");
    dir_->writeFile("save/save01.dat", "old contents that are longer");
    EXPECT_EQ(SaveFile(save.c_str(), "new", 3), 1);
    EXPECT_EQ(dir_->readFile("save/save01.dat"), "new");
    EXPECT_FALSE(dir_->exists("save/save01.dat.tmp"));
    EXPECT_EQ(FileExists(save.c_str()), 1);
    EXPECT_TRUE(LogText().empty());
}

TEST_F(FileLoadTest, FailedSavesLogAndKeepTheOldFile) {
    EXPECT_EQ(SaveFile(nullptr, "x", 1), 0);
    const std::string missingFolder = WinPath("nofolder\\save.dat");
    EXPECT_EQ(SaveFile(missingFolder.c_str(), "x", 1), 0);
    EXPECT_FALSE(dir_->exists("nofolder"));

    // The file cannot be replaced (a folder stands in its place): nothing is lost.
    dir_->writeFile("save/save02.dat/keep", "kept");
    const std::string blocked = WinPath("save\\save02.dat");
    EXPECT_EQ(SaveFile(blocked.c_str(), "new", 3), 0);
    EXPECT_EQ(dir_->readFile("save/save02.dat/keep"), "kept");
    EXPECT_FALSE(dir_->exists("save/save02.dat.tmp"));

    const std::vector<std::string> lines = LogLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "save error. code:000000a1(161) (no filename)");
    EXPECT_EQ(lines[1], "save error. code:00000003(3) " + missingFolder);
    EXPECT_EQ(lines[2].rfind("save error. code:", 0), 0u);
    EXPECT_NE(lines[2].find(blocked), std::string::npos);
}

TEST_F(FileLoadTest, ShortWriteReports112AndKeepsTheOldSave) {
    dir_->writeFile("save/save03.dat", "the good save");
    const std::string save = WinPath("save\\save03.dat");
    const std::string big(64 * 1024, 'z');

    // Limit the size of files this process may write, so the write falls short.
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int result = SaveFile(save.c_str(), big.data(), static_cast<DWORD>(big.size()));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(result, 0);
    EXPECT_EQ(dir_->readFile("save/save03.dat"), "the good save");
    EXPECT_FALSE(dir_->exists("save/save03.dat.tmp"));
    const std::vector<std::string> lines = LogLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "save error. code:00000070(112) " + save);
}

TEST_F(FileLoadTest, FileExistsSeesPlainFilesButNotFolders) {
    dir_->writeFile("bmp/bg.png", "png");
    EXPECT_EQ(FileExists(WinPath("bmp\\BG.PNG").c_str()), 1);
    EXPECT_EQ(FileExists(WinPath("bmp").c_str()), 0);
    EXPECT_EQ(FileExists(WinPath("bmp\\none.png").c_str()), 0);
    EXPECT_EQ(FileExists(""), 0);
    EXPECT_EQ(FileExists(nullptr), 0);
}

}  // namespace
}  // namespace foundation_testing
