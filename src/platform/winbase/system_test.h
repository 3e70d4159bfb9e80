#pragma once
// Test-only control of the machine that the system queries describe (processor, kernel,
// distribution, locale, memory, drives). The program itself never calls these.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace win32_test {

struct FakeCpuidLeaf {
    std::uint32_t leaf;
    std::uint32_t eax;
    std::uint32_t ebx;
    std::uint32_t ecx;
    std::uint32_t edx;
};

// What the machine reports, as Linux and the processor give it.
struct FakeMachine {
    // False: bit 21 of the flags register cannot be toggled (no identification instruction).
    bool cpuidAvailable = true;
    // Leaves that are not listed answer zeros.
    std::vector<FakeCpuidLeaf> cpuid;
    // The time-stamp counter counts this many ticks per second of the performance counter.
    std::uint64_t timeStampHz = 0;
    // Each read of the time-stamp counter moves the manual clock on by this many microseconds,
    // so that a measurement against a manual clock ends.
    std::uint64_t microsecondsPerTimeStampRead = 0;
    // The kernel's release as uname gives it ("6.1.0-18-amd64").
    std::string kernelRelease;
    // The text of os-release; nothing: no such file.
    std::optional<std::string> osRelease;
    // The locale of messages as the environment names it ("ja_JP.UTF-8"); empty: none set.
    std::string locale;
    std::uint64_t physicalMemoryBytes = 0;
    // The file system of the program directory; false: it cannot be read.
    bool programDriveReadable = true;
    std::uint64_t programDriveTotalBytes = 0;
    std::uint64_t programDriveFreeBytes = 0;
    std::uint64_t programDriveAvailableBytes = 0;
    // The CD-ROM drives in the order they are found (their device paths).
    std::vector<std::string> cdromDrives;
};

// Every system query answers from `machine` until UseRealMachine.
void UseFakeMachine(const FakeMachine& machine);
void UseRealMachine();

}  // namespace win32_test
