#include "shell/system_info.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "foundation/log.h"
#include "foundation/text.h"
#include "platform/d3d9/setup_version.h"
#include "platform/mci/logical_drives.h"
#include "platform/winbase/code_page.h"
#include "platform/winbase/disk_space.h"
#include "platform/winbase/processor.h"
#include "platform/winbase/system_queries.h"
#include "platform/winbase/time_api.h"
#include "shell/processor_name.h"

SystemInfoRecord* SystemInfo = nullptr;

namespace {

SystemInfoRecord record;

constexpr DWORD kExtendedLeaves = 0x80000000u;
constexpr DWORD kExtendedFeatureLeaf = 0x80000001u;
constexpr DWORD kBrandLeafFirst = 0x80000002u;
constexpr DWORD kBrandLeafLast = 0x80000004u;
constexpr DWORD kTimeStampBit = 1u << 4;
// The clock is measured over this many performance-counter counts.
constexpr LONGLONG kClockCounts = 100000;
// A performance counter that has not moved on by kClockCounts after this many reads stands
// still (a manual test clock): the clock is then left unmeasured instead of waiting for ever.
constexpr int kMaxClockReads = 100000;
constexpr DWORD kOneGigahertz = 100000;  // in units of 10 kHz
constexpr const char* kFloppyLetters = "ABC";

// The formatter takes a signed count.
std::int64_t ByteCount(ULONGLONG bytes) {
    return static_cast<std::int64_t>(
        std::min<ULONGLONG>(bytes, std::numeric_limits<std::int64_t>::max()));
}

void StoreRegisterText(char* out, DWORD value) {
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

// "CPU Feature: " and each name that applies, each ending in a blank.
void WriteFeatureLine(const SystemInfoRecord& info) {
    std::string line = "CPU Feature: ";
    const DWORD base = info.cpuFeatures;
    const DWORD extended = info.cpuExtFeatures;
    if (base & (1u << 0)) {
        line += "FPU ";
    }
    if (base & (1u << 4)) {
        line += "TimeStamp ";
    }
    if (base & (1u << 28)) {
        line += "Hyper-Threading ";
    }
    if (extended & (1u << 22)) {
        line += "MMX(AMD) ";
    } else if (base & (1u << 23)) {
        line += "MMX ";
    }
    if (info.cpuFeaturesEx & (1u << 0)) {
        line += "SSE3 ";
    } else if (base & (1u << 26)) {
        line += "SSE2 ";
    } else if (base & (1u << 25)) {
        line += "SSE ";
    }
    if (extended & (1u << 30)) {
        line += "3DNow!(Ex) ";
    } else if (extended & (1u << 31)) {
        line += "3DNow! ";
    }
    if (extended & (1u << 29)) {
        line += "EM64T(AMD64) ";
    }
    LogPrintf("%s", line.c_str());
}

// The time-stamp counter against the performance counter, at time-critical priority.
void MeasureClock(SystemInfoRecord* info) {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    HANDLE thread = GetCurrentThread();
    const int priority = GetThreadPriority(thread);
    // Restored only when raised: a refused raise leaves nothing to undo.
    const bool raised = SetThreadPriority(thread, THREAD_PRIORITY_TIME_CRITICAL) != FALSE;
    LARGE_INTEGER start{};
    QueryPerformanceCounter(&start);
    const ULONGLONG t0 = ReadTimeStampCounter();
    LARGE_INTEGER now = start;
    ULONGLONG t1 = t0;
    bool measured = false;
    for (int reads = 0; reads < kMaxClockReads && !measured; ++reads) {
        QueryPerformanceCounter(&now);
        t1 = ReadTimeStampCounter();
        measured = now.QuadPart - start.QuadPart >= kClockCounts;
    }
    if (raised) {
        SetThreadPriority(thread, priority);
    }
    if (!measured) {
        return;
    }
    info->cpuClock = ComputeCpuClock(t0, t1, start.QuadPart, now.QuadPart, frequency.QuadPart);
    // A clock that cannot be computed (a divisor of 0) is not measured: no line.
    if (info->cpuClock != 0) {
        LogPrintf("CPU Frequency: %s", CpuClockText(info->cpuClock).c_str());
    }
}

// Vendor, features, identification, name and clock; nothing without the identification
// instruction.
void WriteProcessor(SystemInfoRecord* info) {
    if (!ProcessorIdentificationAvailable()) {
        return;
    }
    const CpuidRegisters leaf0 = ProcessorIdentify(0);
    StoreRegisterText(info->vendor, leaf0.ebx);
    StoreRegisterText(info->vendor + 4, leaf0.edx);
    StoreRegisterText(info->vendor + 8, leaf0.ecx);
    info->vendor[12] = '\0';
    const CpuidRegisters leaf1 = ProcessorIdentify(1);
    const DWORD signature = leaf1.eax;
    const DWORD brandIndex = leaf1.ebx & 0xFF;
    info->cpuFeatures = leaf1.edx;
    info->cpuFeaturesEx = leaf1.ecx;
    const DWORD highestExtended = ProcessorIdentify(kExtendedLeaves).eax;
    if (highestExtended >= kExtendedFeatureLeaf) {
        info->cpuExtFeatures = ProcessorIdentify(kExtendedFeatureLeaf).edx;
    }
    char brand[49] = {};
    if (highestExtended >= kBrandLeafLast) {
        for (DWORD leaf = kBrandLeafFirst; leaf <= kBrandLeafLast; ++leaf) {
            const CpuidRegisters regs = ProcessorIdentify(leaf);
            char* out = brand + (leaf - kBrandLeafFirst) * 16;
            StoreRegisterText(out, regs.eax);
            StoreRegisterText(out + 4, regs.ebx);
            StoreRegisterText(out + 8, regs.ecx);
            StoreRegisterText(out + 12, regs.edx);
        }
    }
    const char* name = brand;
    while (*name != '\0' && std::isspace(static_cast<unsigned char>(*name)) != 0) {
        ++name;
    }
    CopyCp932Prefix(name, info->cpuName, sizeof info->cpuName);

    LogPrintf("CPU Vendor: %s", info->vendor);
    WriteFeatureLine(*info);
    const int vendorIndex = ProcessorVendorIndex(info->vendor);
    LogPrintf("CPU ID: Type:%02x Family:%02x Model:%02x Stepping:%02x",
              static_cast<unsigned>((signature >> 12) & 0x3),
              static_cast<unsigned>((signature >> 8) & 0xF),
              static_cast<unsigned>((signature >> 4) & 0xF),
              static_cast<unsigned>(signature & 0xF));
    if (info->cpuName[0] == '\0') {
        CopyCp932Prefix(ProcessorNameFromTables(vendorIndex, signature, brandIndex), info->cpuName,
                        sizeof info->cpuName);
    }
    LogPrintf("CPU Detected: %s", info->cpuName);
    if (info->cpuFeatures & kTimeStampBit) {
        MeasureClock(info);
    }
}

// The system version: the platform decides the form.
void WriteSystemVersion(SystemInfoRecord* info) {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);  // not tested: a failure leaves zeros
    const int major = static_cast<int>(version.dwMajorVersion);
    const int minor = static_cast<int>(version.dwMinorVersion);
    const int build = static_cast<int>(version.dwBuildNumber);
    const char* servicePack = version.szCSDVersion;
    char text[256];
    switch (version.dwPlatformId) {
        case VER_PLATFORM_WIN32s:
            std::snprintf(text, sizeof text, "Microsoft Windows %d.%d with Win32s", major, minor);
            break;
        case VER_PLATFORM_WIN32_WINDOWS: {
            const int build16 = build & 0xFFFF;
            const char* edition = minor < 10       ? "95"
                                  : build16 < 2000 ? "98"
                                  : build16 < 2380 ? "98SE"
                                                   : "Me";
            std::snprintf(text, sizeof text, "Microsoft Windows%s %d.%d.%d %s", edition, major,
                          minor, build16, servicePack);
            break;
        }
        case VER_PLATFORM_WIN32_NT: {
            const char* edition = major < 5    ? "NT"
                                  : minor == 0 ? "2000"
                                  : minor == 1 ? "XP"
                                               : "???";
            std::snprintf(text, sizeof text, "Microsoft Windows%s %d.%d.%d %s", edition, major,
                          minor, build, servicePack);
            break;
        }
        case VER_PLATFORM_LINUX:
            // The kernel's release and the distribution.
            std::snprintf(text, sizeof text, "Linux %d.%d.%d %s", major, minor, build, servicePack);
            break;
        default:
            std::snprintf(text, sizeof text, "Unknown OS Version %d.%d %s", major, minor,
                          servicePack);
            break;
    }
    CopyCp932Prefix(text, info->osName, sizeof info->osName);
    LogPrintf("OS: %s", info->osName);
}

// One row per letter; a line for the removable, fixed, CD-ROM and RAM drives.
void WriteDrives(SystemInfoRecord* info) {
    LogPrintf("Drive List:");
    for (int i = 0; i < kSystemInfoDriveCount; ++i) {
        SystemInfoDrive& drive = info->drives[i];
        drive.present = (GetLogicalDrives() >> i) & 1u;
        if (drive.present == 0) {
            continue;
        }
        const char root[4] = {static_cast<char>('a' + i), ':', '\\', '\0'};
        const char letter = static_cast<char>('A' + i);
        drive.driveType = GetDriveTypeA(root);
        switch (drive.driveType) {
            case DRIVE_REMOVABLE:
                LogPrintf("  %c: %s", letter,
                          std::strchr(kFloppyLetters, letter) != nullptr ? "FDD" : "Removable");
                break;
            case DRIVE_FIXED: {
                ULARGE_INTEGER available{};
                ULARGE_INTEGER total{};
                ULARGE_INTEGER totalFree{};
                GetDiskFreeSpaceExA(root, &available, &total, &totalFree);  // not tested
                drive.totalBytes = total.QuadPart;
                drive.freeBytes = totalFree.QuadPart;
                // The formatter reuses one buffer: each text is copied before the next call.
                const std::string totalText = FormatByteSize(ByteCount(drive.totalBytes));
                const std::string freeText = FormatByteSize(ByteCount(drive.freeBytes));
                LogPrintf("  %c: HDD %s(free: %s)", letter, totalText.c_str(), freeText.c_str());
                break;
            }
            case DRIVE_CDROM:
                LogPrintf("  %c: CD-ROM", letter);
                break;
            case DRIVE_RAMDISK:
                LogPrintf("  %c: RAM Drive", letter);
                break;
            default:
                break;
        }
    }
}

}  // namespace

DWORD ComputeCpuClock(ULONGLONG t0, ULONGLONG t1, LONGLONG start, LONGLONG now,
                      LONGLONG frequency) {
    if (frequency <= 0 || now < start || t1 < t0) {
        return 0;
    }
    const auto divisor =
        static_cast<unsigned __int128>(now - start) * 40000u / static_cast<ULONGLONG>(frequency);
    if (divisor == 0) {
        return 0;
    }
    const auto clock = static_cast<unsigned __int128>(t1 - t0) * 4u / divisor;
    return clock > std::numeric_limits<DWORD>::max() ? std::numeric_limits<DWORD>::max()
                                                     : static_cast<DWORD>(clock);
}

std::string CpuClockText(DWORD clock) {
    char text[32];
    if (clock < kOneGigahertz) {
        std::snprintf(text, sizeof text, "%u.%02uMHz", clock / 100, clock % 100);
    } else {
        std::snprintf(text, sizeof text, "%u.%02uGHz", clock / 100000, (clock / 1000) % 100);
    }
    return text;
}

SystemInfoRecord* WriteSystemInformation() {
    record = SystemInfoRecord{};
    record.size = sizeof record;
    LogPrintf("\r\n[Information]");
    WriteProcessor(&record);
    WriteSystemVersion(&record);
    VerLanguageNameA(GetUserDefaultLangID(), record.language, sizeof record.language);
    LogPrintf("Language: %s", record.language);
    MEMORYSTATUS memory{};
    memory.dwLength = sizeof memory;
    GlobalMemoryStatus(&memory);
    record.totalMemory = memory.dwTotalPhys;
    LogPrintf("Memory: %s", FormatByteSize(record.totalMemory));
    WriteDrives(&record);
    DWORD version = 0;
    DWORD revision = 0;
    if (DirectXSetupGetVersion(&version, &revision) != 0) {
        LogPrintf("DirectX: %u.%u.%u.%u", version >> 16, version & 0xFFFF, revision >> 16,
                  revision & 0xFFFF);
    }
    return &record;
}
