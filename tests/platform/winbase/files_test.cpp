#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/winbase/file_api.h"
#include "platform/winbase/test_hooks.h"
#include "support/temp_program_dir.h"

namespace {

using qvn::test::TempProgramDir;

class FilesTest : public ::testing::Test {
protected:
    std::string win(const std::string& relative) const { return dir.windowsPath() + relative; }

    HANDLE openRead(const std::string& relative) const {
        return CreateFileA(win(relative).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    HANDLE create(const std::string& relative, DWORD disposition = CREATE_ALWAYS) const {
        return CreateFileA(win(relative).c_str(), GENERIC_WRITE, 0, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    }

    TempProgramDir dir;
};

TEST_F(FilesTest, OpenFailuresGiveWindowsCodes) {
    dir.writeFile("data/a.txt", "x");
    struct Case {
        const char* name;
        std::string path;
        DWORD access;
        DWORD disposition;
        DWORD expected;
    };
    const std::vector<Case> cases = {
        {"missing file", "data\\none.txt", GENERIC_READ, OPEN_EXISTING, ERROR_FILE_NOT_FOUND},
        {"missing folder", "nofolder\\a.txt", GENERIC_READ, OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
        {"create in missing folder", "nofolder\\a.txt", GENERIC_WRITE, CREATE_ALWAYS,
         ERROR_PATH_NOT_FOUND},
        {"folder read as file", "data", GENERIC_READ, OPEN_EXISTING, ERROR_ACCESS_DENIED},
        {"folder written as file", "data", GENERIC_WRITE, CREATE_ALWAYS, ERROR_ACCESS_DENIED},
        {"file used as folder", "data\\a.txt\\b", GENERIC_READ, OPEN_EXISTING,
         ERROR_PATH_NOT_FOUND},
        {"create new over existing", "data\\a.txt", GENERIC_WRITE, CREATE_NEW, ERROR_FILE_EXISTS},
        {"bad disposition", "data\\a.txt", GENERIC_READ, 9, ERROR_INVALID_PARAMETER},
        {"truncate without write access", "data\\a.txt", GENERIC_READ, TRUNCATE_EXISTING,
         ERROR_INVALID_PARAMETER},
    };
    for (const Case& c : cases) {
        SetLastError(0);
        HANDLE h = CreateFileA(win(c.path).c_str(), c.access, 0, nullptr, c.disposition,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_EQ(h, INVALID_HANDLE_VALUE) << c.name;
        EXPECT_EQ(GetLastError(), c.expected) << c.name;
    }
    EXPECT_EQ(dir.readFile("data/a.txt"), "x");

    EXPECT_EQ(CreateFileA(nullptr, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(
        CreateFileA("C:\\Windows\\win.ini", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
        INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

// Permissions do not bind the super-user, so the open runs in a child process that drops to
// the unprivileged user "nobody" first when the tests run as root.
TEST_F(FilesTest, UnreadableFileIsAccessDenied) {
    dir.writeFile("secret.txt", "x");
    ASSERT_EQ(chmod((dir.path() + "/secret.txt").c_str(), 0), 0);
    // The folder itself stays listable, so only the file's own permissions refuse the read.
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
    EXPECT_EXIT(
        {
            constexpr uid_t kNobody = 65534;
            if (geteuid() == 0 &&
                (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0)) {
                std::fprintf(stderr, "cannot drop privileges: %s\n", std::strerror(errno));
                std::_Exit(2);
            }
            const HANDLE handle = openRead("secret.txt");
            const DWORD error = GetLastError();
            std::fprintf(stderr, "handle %s, error %u\n",
                         handle == INVALID_HANDLE_VALUE ? "invalid" : "valid",
                         static_cast<unsigned>(error));
            std::_Exit(handle == INVALID_HANDLE_VALUE && error == ERROR_ACCESS_DENIED ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "handle invalid, error 5\n");
}

TEST_F(FilesTest, ReadsStopShortOnlyAtTheEnd) {
    std::string content(100000, '\0');
    for (std::size_t i = 0; i < content.size(); ++i) {
        content[i] = static_cast<char>(i * 7);
    }
    dir.writeFile("big.bin", content);
    HANDLE h = openRead("big.bin");
    ASSERT_NE(h, INVALID_HANDLE_VALUE);

    std::vector<char> buffer(content.size() + 50, 'z');
    DWORD read = 0;
    ASSERT_TRUE(ReadFile(h, buffer.data(), 60000, &read, nullptr));
    EXPECT_EQ(read, 60000u);
    ASSERT_TRUE(ReadFile(h, buffer.data() + 60000, 50000, &read, nullptr));
    EXPECT_EQ(read, 40000u);
    EXPECT_EQ(std::string(buffer.data(), content.size()), content);
    EXPECT_EQ(buffer[content.size()], 'z');
    ASSERT_TRUE(ReadFile(h, buffer.data(), 10, &read, nullptr));
    EXPECT_EQ(read, 0u);  // at the end: success with nothing read

    EXPECT_FALSE(ReadFile(h, nullptr, 10, &read, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(WriteFile(h, "x", 1, &read, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(CloseHandle(h));

    EXPECT_FALSE(ReadFile(h, buffer.data(), 1, &read, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(CloseHandle(h));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(CloseHandle(INVALID_HANDLE_VALUE));
}

TEST_F(FilesTest, SeeksIn64BitsAnd32BitsWithHighPart) {
    HANDLE h = CreateFileA(win("sparse.bin").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    const LONGLONG far = 0x100000010LL;  // past 4 GiB; the file stays sparse
    LARGE_INTEGER distance;
    distance.QuadPart = far;
    LARGE_INTEGER position;
    ASSERT_TRUE(SetFilePointerEx(h, distance, &position, FILE_BEGIN));
    EXPECT_EQ(position.QuadPart, far);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(h, "end", 3, &written, nullptr));

    LARGE_INTEGER size;
    ASSERT_TRUE(GetFileSizeEx(h, &size));
    EXPECT_EQ(size.QuadPart, far + 3);
    DWORD high = 0;
    EXPECT_EQ(GetFileSize(h, &high), 0x13u);
    EXPECT_EQ(high, 1u);

    // 32-bit form: the high part moves in and out through the pointer.
    LONG moveHigh = 1;
    EXPECT_EQ(SetFilePointer(h, 0x10, &moveHigh, FILE_BEGIN), 0x10u);
    EXPECT_EQ(moveHigh, 1);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    char text[4] = {};
    DWORD read = 0;
    ASSERT_TRUE(ReadFile(h, text, 3, &read, nullptr));
    EXPECT_STREQ(text, "end");

    moveHigh = -1;  // -4 as a 64-bit distance
    EXPECT_EQ(SetFilePointer(h, -4, &moveHigh, FILE_END), 0xFu);
    EXPECT_EQ(moveHigh, 1);

    // Without the high part the distance is a signed 32-bit value and the result must fit.
    EXPECT_EQ(SetFilePointer(h, 5, nullptr, FILE_BEGIN), 5u);
    EXPECT_EQ(SetFilePointer(h, -2, nullptr, FILE_CURRENT), 3u);
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_END), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_CURRENT), 3u);  // the failure did not move

    EXPECT_EQ(SetFilePointer(h, -10, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), ERROR_NEGATIVE_SEEK);
    distance.QuadPart = -1;
    EXPECT_FALSE(SetFilePointerEx(h, distance, &position, FILE_BEGIN));
    EXPECT_EQ(GetLastError(), ERROR_NEGATIVE_SEEK);
    EXPECT_FALSE(SetFilePointerEx(h, distance, &position, 7));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    CloseHandle(h);
}

TEST_F(FilesTest, SizeWithAllOnesLowPartIsToldApartFromFailure) {
    HANDLE h = create("x.bin");
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    LARGE_INTEGER distance;
    distance.QuadPart = 0xFFFFFFFFLL - 1;
    ASSERT_TRUE(SetFilePointerEx(h, distance, nullptr, FILE_BEGIN));
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(h, "x", 1, &written, nullptr));
    SetLastError(1234);
    DWORD high = 7;
    EXPECT_EQ(GetFileSize(h, &high), INVALID_FILE_SIZE);
    EXPECT_EQ(high, 0u);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    CloseHandle(h);
    EXPECT_EQ(GetFileSize(h, &high), INVALID_FILE_SIZE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST_F(FilesTest, DispositionsCreateTruncateAndReportExisting) {
    dir.writeFile("a.txt", "old content");
    HANDLE h = CreateFileA(win("a.txt").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(h, "NEW", 3, &written, nullptr));
    CloseHandle(h);
    EXPECT_EQ(dir.readFile("a.txt"), "NEW content");

    h = create("a.txt");
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    CloseHandle(h);
    EXPECT_EQ(dir.readFile("a.txt"), "");

    h = create("b.txt", CREATE_NEW);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    ASSERT_TRUE(WriteFile(h, "b", 1, &written, nullptr));
    ASSERT_TRUE(FlushFileBuffers(h));
    CloseHandle(h);
    EXPECT_EQ(dir.readFile("b.txt"), "b");
}

TEST_F(FilesTest, SharingRulesRefuseConflictingOpensWithoutTruncating) {
    dir.writeFile("save.dat", "precious");
    HANDLE reader = openRead("save.dat");  // shares reading only
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_EQ(create("save.dat"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(dir.readFile("save.dat"), "precious");

    HANDLE second = openRead("save.dat");
    EXPECT_NE(second, INVALID_HANDLE_VALUE);
    CloseHandle(second);
    CloseHandle(reader);

    HANDLE writer = create("save.dat");  // no sharing at all
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(openRead("save.dat"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    CloseHandle(writer);
    HANDLE again = openRead("save.dat");
    EXPECT_NE(again, INVALID_HANDLE_VALUE);
    CloseHandle(again);
}

TEST_F(FilesTest, FullDiskFailsTheWriteWithDiskFull) {
    HANDLE h = create("out.bin");
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    win32_test::FailWritesAfter(5);
    DWORD written = 99;
    EXPECT_FALSE(WriteFile(h, "0123456789", 10, &written, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_DISK_FULL);
    EXPECT_EQ(written, 5u);
    win32_test::FailWritesAfter(-1);
    EXPECT_TRUE(WriteFile(h, "ab", 2, &written, nullptr));
    CloseHandle(h);
    EXPECT_EQ(dir.readFile("out.bin"), "01234ab");
}

TEST_F(FilesTest, AttributesDeleteMoveAndFolders) {
    dir.writeFile("data/a.txt", "a");
    EXPECT_EQ(GetFileAttributesA(win("data").c_str()), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributesA(win("data\\a.txt").c_str()), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(GetFileAttributesA(win("data\\b.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(GetFileAttributesA(win("none\\b.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);

    EXPECT_TRUE(CreateDirectoryA(win("save").c_str(), nullptr));
    EXPECT_FALSE(CreateDirectoryA(win("save").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_FALSE(CreateDirectoryA(win("x\\y").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);

    dir.writeFile("save/new.tmp", "new");
    dir.writeFile("save/slot.dat", "old");
    EXPECT_FALSE(MoveFileExA(win("save\\new.tmp").c_str(), win("save\\slot.dat").c_str(), 0));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_TRUE(MoveFileExA(win("save\\new.tmp").c_str(), win("save\\slot.dat").c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    EXPECT_EQ(dir.readFile("save/slot.dat"), "new");
    EXPECT_FALSE(dir.exists("save/new.tmp"));
    EXPECT_FALSE(MoveFileExA(win("save\\new.tmp").c_str(), win("save\\x.dat").c_str(), 0));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);

    EXPECT_TRUE(DeleteFileA(win("save\\slot.dat").c_str()));
    EXPECT_FALSE(DeleteFileA(win("save\\slot.dat").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(DeleteFileA(win("save").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST_F(FilesTest, ModuleFileNameIsInTheProgramDirectory) {
    char buffer[4096];
    DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    ASSERT_GT(length, 0u);
    std::string path(buffer, length);
    EXPECT_EQ(path.rfind(dir.windowsPath(), 0), 0u);
    EXPECT_EQ(path.find('/'), std::string::npos);
    EXPECT_EQ(path.find('\\', dir.windowsPath().size()), std::string::npos);

    char small[8];
    EXPECT_EQ(GetModuleFileNameA(nullptr, small, sizeof small), 8u);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(std::string(small), path.substr(0, 7));
}

TEST(LocalMemoryTest, AllocatesFixedAndZeroedBlocks) {
    auto* zeroed = static_cast<unsigned char*>(LocalAlloc(LPTR, 64));
    ASSERT_NE(zeroed, nullptr);
    for (int i = 0; i < 64; ++i) {
        EXPECT_EQ(zeroed[i], 0) << i;
    }
    EXPECT_EQ(LocalFree(zeroed), nullptr);
    void* empty = LocalAlloc(LMEM_FIXED, 0);
    EXPECT_NE(empty, nullptr);
    LocalFree(empty);
    EXPECT_EQ(LocalAlloc(0x2, 16), nullptr);  // movable memory does not exist here
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(LocalFree(nullptr), nullptr);
}

}  // namespace
