#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/foundation_test.h"
#include "platform/d3d9/d3d9_test.h"
#include "platform/winbase/system_test.h"
#include "platform/winbase/test_hooks.h"
#include "shell/processor_name.h"
#include "shell/system_info.h"
#include "support/temp_program_dir.h"

namespace {

using win32_test::FakeCpuidLeaf;
using win32_test::FakeMachine;

constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;

std::uint32_t Chars(const char* four) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(four[i]);
    }
    return value;
}

// Leaf 0 names the vendor in EBX, EDX, ECX.
FakeCpuidLeaf VendorLeaf(const char* vendor) {
    return {0, 1, Chars(vendor), Chars(vendor + 8), Chars(vendor + 4)};
}

// The 48 characters of the brand string in leaves 0x80000002..4, and leaf 0x80000000.
std::vector<FakeCpuidLeaf> BrandLeaves(std::string brand, std::uint32_t extFeatures) {
    brand.resize(48, '\0');
    std::vector<FakeCpuidLeaf> leaves = {{0x80000000u, 0x80000004u, 0, 0, 0},
                                         {0x80000001u, 0, 0, 0, extFeatures}};
    for (std::uint32_t i = 0; i < 3; ++i) {
        const char* p = brand.data() + i * 16;
        leaves.push_back({0x80000002u + i, Chars(p), Chars(p + 4), Chars(p + 8), Chars(p + 12)});
    }
    return leaves;
}

FakeMachine Machine(std::vector<FakeCpuidLeaf> cpuid) {
    FakeMachine machine;
    machine.cpuid = std::move(cpuid);
    machine.kernelRelease = "6.1.0-18-amd64";
    machine.osRelease =
        "NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n";
    machine.locale = "ja_JP.UTF-8";
    machine.physicalMemoryBytes = 2 * kGiB;
    machine.programDriveTotalBytes = 64 * kGiB;
    machine.programDriveFreeBytes = 32 * kGiB;
    return machine;
}

TEST(SystemInfoTest, ReportLinesFollowTheMachineInOrderAndFormat) {
    constexpr std::uint32_t kFpu = 1u << 0, kTsc = 1u << 4, kMmx = 1u << 23, kSse = 1u << 25,
                            kSse2 = 1u << 26, kHtt = 1u << 28;
    struct Case {
        const char* name;
        FakeMachine machine;
        bool directX;
        std::vector<std::string> lines;  // after the blank line and "[Information]"
        std::uint32_t clock;
        std::uint32_t memory;
    };
    Case cases[] = {
        {"brand string, every feature of one generation, a measured clock, 16 GiB saturated, two "
         "CD-ROM drives",
         Machine({VendorLeaf("GenuineIntel"),
                  {1, 0x306A9, 0, 1, kFpu | kTsc | kMmx | kSse | kSse2 | kHtt}}),
         true,
         {"CPU Vendor: GenuineIntel",
          "CPU Feature: FPU TimeStamp Hyper-Threading MMX SSE3 EM64T(AMD64) ",
          "CPU ID: Type:00 Family:06 Model:0a Stepping:09",
          "CPU Detected: Intel(R) Core(TM) i7-3770 CPU @ 3.40GHz", "CPU Frequency: 2.99GHz",
          "OS: Linux 6.1.0 Debian GNU/Linux 12 (bookworm)", "Language: Japanese", "Memory: 3.99GB",
          "Drive List:", "  C: HDD 64.00GB(free: 32.00GB)", "  D: CD-ROM", "  E: CD-ROM",
          "DirectX: 4.9.0.1"},
         299300,
         0xFFFFFFFFu},
        {"table name with a type suffix, AMD's own MMX and 3DNow!, no clock, no os-release, an "
         "unreadable drive, no DirectX",
         Machine({VendorLeaf("AuthenticAMD"),
                  {1, 0x158C, 0, 0, kFpu | kMmx},
                  {0x80000000u, 0x80000001u, 0, 0, 0},
                  {0x80000001u, 0, 0, 0, (1u << 22) | (1u << 31)}}),
         false,
         {"CPU Vendor: AuthenticAMD", "CPU Feature: FPU MMX(AMD) 3DNow! ",
          "CPU ID: Type:01 Family:05 Model:08 Stepping:0c",
          "CPU Detected: AMD K6-2 OverDrive Processor", "OS: Linux 2.6.32 ",
          "Language: English (United Kingdom)", "Memory: 64.00MB",
          "Drive List:", "  C: HDD 0byte(free: 0byte)"},
         0,
         64u << 20},
        {"the misspelt vendor row leaves a real vendor unknown; 3DNow!(Ex) wins; SSE only",
         Machine({VendorLeaf("CyrixInstead"),
                  {1, 0x520, 0, 0, kSse},
                  {0x80000000u, 0x80000001u, 0, 0, 0},
                  {0x80000001u, 0, 0, 0, (3u << 30)}}),
         true,
         {"CPU Vendor: CyrixInstead", "CPU Feature: SSE 3DNow!(Ex) ",
          "CPU ID: Type:00 Family:05 Model:02 Stepping:00",
          "CPU Detected: Unknown  Unknown Processor (Type:00 Family:5, Model:2)",
          "OS: Linux 6.1.0 Debian GNU/Linux 12 (bookworm)", "Language: Japanese", "Memory: 2.00GB",
          "Drive List:", "  C: HDD 64.00GB(free: 32.00GB)", "DirectX: 4.9.0.1"},
         0,
         2u << 30},
        {"a model past every row of its family has no name",
         Machine({VendorLeaf("GenuineIntel"), {1, 0x6F0, 0, 0, 0}}),
         true,
         {"CPU Vendor: GenuineIntel",
          "CPU Feature: ", "CPU ID: Type:00 Family:06 Model:0f Stepping:00",
          "CPU Detected: Intel  Unknown Processor (Type:00 Family:6, Model:15)",
          "OS: Linux 6.1.0 Debian GNU/Linux 12 (bookworm)", "Language: Japanese", "Memory: 2.00GB",
          "Drive List:", "  C: HDD 64.00GB(free: 32.00GB)", "DirectX: 4.9.0.1"},
         0,
         2u << 30},
        {"without the identification instruction there are no processor lines",
         Machine({VendorLeaf("GenuineIntel")}),
         true,
         {"OS: Linux 6.1.0 Debian GNU/Linux 12 (bookworm)", "Language: Japanese", "Memory: 2.00GB",
          "Drive List:", "  C: HDD 64.00GB(free: 32.00GB)", "DirectX: 4.9.0.1"},
         0,
         2u << 30},
    };
    // Case 0: a brand string with leading blanks, long mode, 16 GiB, two drives, a counter that
    // runs at 2.993 GHz while each read takes 1 us of the manual clock.
    for (const FakeCpuidLeaf& leaf :
         BrandLeaves("      Intel(R) Core(TM) i7-3770 CPU @ 3.40GHz", 1u << 29)) {
        cases[0].machine.cpuid.push_back(leaf);
    }
    cases[0].machine.timeStampHz = 2993000000u;
    cases[0].machine.microsecondsPerTimeStampRead = 1;
    cases[0].machine.physicalMemoryBytes = 16 * kGiB;
    cases[0].machine.cdromDrives = {"/dev/sr0", "/dev/sr1"};
    cases[1].machine.kernelRelease = "2.6.32";
    cases[1].machine.osRelease.reset();
    cases[1].machine.locale = "en_GB.UTF-8";
    cases[1].machine.physicalMemoryBytes = 64u << 20;
    cases[1].machine.programDriveReadable = false;
    cases[4].machine.cpuidAvailable = false;

    for (const Case& c : cases) {
        qvn::test::TempProgramDir dir;
        foundation_test::ResetState();
        win32_test::UseManualClock(true);
        win32_test::UseFakeMachine(c.machine);
        d3d9_test::FailSetupVersionQuery(!c.directX);
        const SystemInfoRecord* info = WriteSystemInformation();
        d3d9_test::FailSetupVersionQuery(false);
        win32_test::UseRealMachine();
        win32_test::UseManualClock(false);

        std::vector<std::string> expected = {"", "[Information]"};
        expected.insert(expected.end(), c.lines.begin(), c.lines.end());
        EXPECT_EQ(dir.readLines("qvn.log"), expected) << c.name;
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(info->size, sizeof(SystemInfoRecord)) << c.name;
        EXPECT_EQ(info->cpuClock, c.clock) << c.name;
        EXPECT_EQ(info->totalMemory, c.memory) << c.name;
        const bool cd = !c.machine.cdromDrives.empty();
        EXPECT_EQ(info->drives[2].present, 1u) << c.name;
        EXPECT_EQ(info->drives[2].driveType, 3u) << c.name;
        EXPECT_EQ(info->drives[2].totalBytes, c.machine.programDriveReadable ? 64 * kGiB : 0)
            << c.name;
        EXPECT_EQ(info->drives[3].present, cd ? 1u : 0u) << c.name;
        EXPECT_EQ(info->drives[3].driveType, cd ? 5u : 0u) << c.name;
        EXPECT_EQ(info->drives[0].present + info->drives[5].present, 0u) << c.name;
    }
}

TEST(SystemInfoTest, ClockArithmeticIsWideAndNeverDividesByZero) {
    struct Case {
        const char* name;
        std::uint64_t ticks;
        std::int64_t counts;
        std::int64_t frequency;
        std::uint32_t clock;
        const char* text;
    };
    const Case cases[] = {
        {"3 GHz over 100000 counts of a 1 GHz counter", 300000, 100000, 1000000000, 300000,
         "3.00GHz"},
        // (110000 x 40000) wraps to 105032704 in 32 bits, which leaves a divisor of 0.
        {"counts whose product passes 32 bits", 330000, 110000, 1000000000, 330000, "3.30GHz"},
        {"733 MHz against a 3.579545 MHz counter", 20477462, 100000, 3579545, 73330, "733.30MHz"},
        {"a counter faster than 4e9 per second gives a divisor of 0", 300000, 100000, 5000000000, 0,
         "0.00MHz"},
        {"no counter frequency", 300000, 100000, 0, 0, "0.00MHz"},
        {"exactly 1 GHz", 100000, 100000, 1000000000, 100000, "1.00GHz"},
        {"just under 1 GHz", 99999, 100000, 1000000000, 99999, "999.99MHz"},
        {"saturated", std::uint64_t{1} << 62, 100000, 1000000000, 0xFFFFFFFFu, "42949.67GHz"},
    };
    for (const Case& c : cases) {
        const std::uint64_t t0 = 5000;
        const std::int64_t start = 7000;
        EXPECT_EQ(ComputeCpuClock(t0, t0 + c.ticks, start, start + c.counts, c.frequency), c.clock)
            << c.name;
        EXPECT_EQ(CpuClockText(c.clock), c.text) << c.name;
    }
    EXPECT_EQ(ComputeCpuClock(10, 5, 0, 100000, 1000000000), 0u) << "a counter running backwards";
    EXPECT_EQ(ComputeCpuClock(0, 5, 100000, 0, 1000000000), 0u) << "counts running backwards";
}

TEST(SystemInfoTest, NamesComeFromTheFirstMatchingRowThenTheBrandIndex) {
    struct Case {
        const char* vendor;
        std::uint32_t signature;
        std::uint32_t brandIndex;
        const char* name;
    };
    const Case cases[] = {
        {"GenuineIntel", 0x620, 0, "Intel Pentium\207U Processor"},
        {"GenuineIntel", 0x690, 0, "Intel Pentium\207V Xeon Processor"},
        {"GenuineIntel", 0x2480, 0, "Intel IntelDX4 Dual Processor"},
        {"GenuineIntel", 0xF20, 8, "Intel Pentium4 Processor"},
        {"GenuineIntel", 0x680, 5, "Intel  Unknown Processor (Type:00 Family:6, Model:8)"},
        {"GenuineIntel", 0x3680, 6, "Intel Pentium\207V mobile ??? Processor"},
        {"AuthenticAMD", 0x640, 0, "AMD Athlon Processor"},
        {"CylixInstead", 0x660, 0, "Cylix \207V Processor"},
        {"CentaurHauls", 0x590, 0, "IDT WinChip 3 Processor"},
        {"GenuineTMx86", 0x540, 0, "Transmeta Crusoe Processor"},
        {"SomeoneElse!", 0x000, 0, "Unknown Unknown Processor"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(
            ProcessorNameFromTables(ProcessorVendorIndex(c.vendor), c.signature, c.brandIndex),
            c.name)
            << c.vendor << " " << std::hex << c.signature;
    }
}

}  // namespace
