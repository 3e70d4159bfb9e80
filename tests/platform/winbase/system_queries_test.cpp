#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/mci/logical_drives.h"
#include "platform/winbase/cdrom_drives.h"
#include "platform/winbase/disk_space.h"
#include "platform/winbase/file_api.h"
#include "platform/winbase/processor.h"
#include "platform/winbase/system_queries.h"
#include "platform/winbase/system_test.h"
#include "platform/winbase/test_hooks.h"
#include "support/temp_program_dir.h"

namespace {

using win32_test::FakeMachine;

class FakeMachineScope {
public:
    explicit FakeMachineScope(const FakeMachine& machine) { win32_test::UseFakeMachine(machine); }
    ~FakeMachineScope() { win32_test::UseRealMachine(); }
};

TEST(SystemQueriesTest, VersionNamesTheKernelReleaseAndTheDistribution) {
    // 64 hiragana "あ": 128 bytes in code page 932, cut to 63 whole characters.
    std::string longName;
    std::string longNameCut;
    for (int i = 0; i < 64; ++i) {
        longName += "\xE3\x81\x82";
        longNameCut += i < 63 ? "\x82\xA0" : "";
    }
    struct Case {
        const char* name;
        const char* release;
        std::optional<std::string> osRelease;
        DWORD major, minor, build;
        std::string distribution;
    };
    const Case cases[] = {
        {"quoted pretty name", "6.1.0-18-amd64",
         "NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n", 6, 1, 0,
         "Debian GNU/Linux 12 (bookworm)"},
        {"comments, CR LF, single quotes", "6.18.44-fc-v1300",
         "# PRETTY_NAME=\"no\"\r\nPRETTY_NAME='Fedora Linux 40'\r\n", 6, 18, 44, "Fedora Linux 40"},
        {"escapes inside double quotes", "5.10", "PRETTY_NAME=\"A \\\"B\\\" \\\\ C\"", 5, 10, 0,
         "A \"B\" \\ C"},
        {"unquoted", "4", "PRETTY_NAME=Plain Name  ", 4, 0, 0, "Plain Name"},
        {"no pretty name: name and version", "6.1", "NAME=\"Arch Linux\"\nVERSION=\"rolling\"\n", 6,
         1, 0, "Arch Linux rolling"},
        {"neither: the format's default", "6.1", "ID=x\n", 6, 1, 0, "Linux"},
        {"no os-release", "garbage", std::nullopt, 0, 0, 0, ""},
        {"numbers saturate", "99999999999.1.2", "PRETTY_NAME=x", 0xFFFFFFFFu, 1, 2, "x"},
        {"Japanese name in code page 932", "6.1", "PRETTY_NAME=\"\xE6\x97\xA5\xE6\x9C\xAC\"", 6, 1,
         0, "\x93\xfa\x96\x7b"},
        {"a long name is cut between characters", "6.1", "PRETTY_NAME=" + longName, 6, 1, 0,
         longNameCut},
    };
    for (const Case& c : cases) {
        FakeMachine machine;
        machine.kernelRelease = c.release;
        machine.osRelease = c.osRelease;
        FakeMachineScope scope(machine);
        OSVERSIONINFOA info{};
        info.dwOSVersionInfoSize = sizeof info;
        ASSERT_EQ(GetVersionExA(&info), TRUE) << c.name;
        EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_LINUX) << c.name;
        EXPECT_EQ(info.dwMajorVersion, c.major) << c.name;
        EXPECT_EQ(info.dwMinorVersion, c.minor) << c.name;
        EXPECT_EQ(info.dwBuildNumber, c.build) << c.name;
        EXPECT_EQ(std::string(info.szCSDVersion), c.distribution) << c.name;
    }
    OSVERSIONINFOA wrongSize{};
    wrongSize.dwOSVersionInfoSize = sizeof wrongSize - 1;
    EXPECT_EQ(GetVersionExA(&wrongSize), FALSE);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

TEST(SystemQueriesTest, LanguageFollowsTheLocaleOfMessages) {
    struct Case {
        const char* locale;
        LANGID id;
        const char* name;
    };
    const Case cases[] = {
        {"ja_JP.UTF-8", 0x0411, "Japanese"},
        {"en_GB.ISO-8859-1@euro", 0x0809, "English (United Kingdom)"},
        {"en", 0x0409, "English (United States)"},
        {"en_NZ.UTF-8", 0x0409, "English (United States)"},
        {"pt_PT", 0x0816, "Portuguese (Portugal)"},
        {"zh_TW.Big5", 0x0404, "Chinese (Traditional)"},
        {"C.UTF-8", LANG_NEUTRAL, "Language Neutral"},
        {"POSIX", LANG_NEUTRAL, "Language Neutral"},
        {"", LANG_NEUTRAL, "Language Neutral"},
        {"xx_YY", LANG_NEUTRAL, "Language Neutral"},
    };
    for (const Case& c : cases) {
        FakeMachine machine;
        machine.locale = c.locale;
        FakeMachineScope scope(machine);
        const LANGID id = GetUserDefaultLangID();
        EXPECT_EQ(id, c.id) << c.locale;
        char name[32] = "?";
        EXPECT_EQ(VerLanguageNameA(id, name, sizeof name), std::string(c.name).size()) << c.locale;
        EXPECT_STREQ(name, c.name) << c.locale;
    }
    char shortName[5];
    EXPECT_EQ(VerLanguageNameA(0x0411, shortName, sizeof shortName), 4u);
    EXPECT_STREQ(shortName, "Japa");

    // The environment: LC_ALL, then LC_MESSAGES, then LANG; an empty one does not count.
    setenv("LC_ALL", "", 1);
    setenv("LC_MESSAGES", "ko_KR.UTF-8", 1);
    setenv("LANG", "ja_JP.UTF-8", 1);
    EXPECT_EQ(GetUserDefaultLangID(), 0x0412);
    unsetenv("LC_MESSAGES");
    EXPECT_EQ(GetUserDefaultLangID(), 0x0411);
    setenv("LC_ALL", "de_AT", 1);
    EXPECT_EQ(GetUserDefaultLangID(), 0x0C07);
}

TEST(SystemQueriesTest, DiskSpaceIsThatOfTheProgramDriveOnly) {
    FakeMachine machine;
    machine.programDriveReadable = false;
    {
        FakeMachineScope scope(machine);
        EXPECT_EQ(GetDiskFreeSpaceExA("c:\\", nullptr, nullptr, nullptr), FALSE);
        EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    }
    qvn::test::TempProgramDir dir;
    EXPECT_EQ(GetDiskFreeSpaceExA("d:\\", nullptr, nullptr, nullptr), FALSE);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    ULARGE_INTEGER available{};
    ULARGE_INTEGER total{};
    ULARGE_INTEGER totalFree{};
    ASSERT_EQ(GetDiskFreeSpaceExA(nullptr, &available, &total, &totalFree), TRUE);
    EXPECT_GT(total.QuadPart, 0u);
    EXPECT_GE(total.QuadPart, totalFree.QuadPart);
    EXPECT_GE(totalFree.QuadPart, available.QuadPart);
}

TEST(SystemQueriesTest, TheRealProcessorIdentifiesItselfAndItsCounterRuns) {
#if defined(__x86_64__)
    ASSERT_TRUE(ProcessorIdentificationAvailable());
    EXPECT_GE(ProcessorIdentify(0).eax, 1u) << "leaf 1 exists";
    const ULONGLONG before = ReadTimeStampCounter();
    EXPECT_GT(ReadTimeStampCounter(), before);
#endif
    MEMORYSTATUS memory{};
    GlobalMemoryStatus(&memory);
    EXPECT_GT(memory.dwTotalPhys, 0u);
}

}  // namespace
