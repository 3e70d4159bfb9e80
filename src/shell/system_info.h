#pragma once
// The system-information report: at start-up, before anything else is made, the machine is
// described in the log (processor, system version, language, memory, drives, the Direct3D
// layer) and kept in one record for the system page of the preferences dialog.

#include <string>

#include "platform/winbase/win_types.h"

constexpr int kSystemInfoDriveCount = 26;  // one row per letter, A to Z

struct SystemInfoDrive {
    DWORD present;         // 1 when the letter names a drive
    DWORD driveType;       // GetDriveTypeA's code
    ULONGLONG freeBytes;   // total free bytes; fixed disks only
    ULONGLONG totalBytes;  // total size; fixed disks only
};

struct SystemInfoRecord {
    DWORD size;            // sizeof(SystemInfoRecord)
    DWORD cpuFeatures;     // leaf 1, EDX; 0 without the identification instruction
    DWORD cpuFeaturesEx;   // leaf 1, ECX
    DWORD cpuExtFeatures;  // leaf 0x80000001, EDX; 0 when that leaf does not exist
    DWORD cpuClock;        // measured clock in units of 10 kHz; 0 when not measured
    char vendor[16];       // the 12 characters of leaf 0
    char cpuName[64];      // code page 932, as every text here
    char osName[64];
    char language[32];
    DWORD totalMemory;  // physical memory in bytes, saturated at 0xFFFFFFFF
    SystemInfoDrive drives[kSystemInfoDriveCount];
};

// The record of this run: set at start-up from WriteSystemInformation, null before.
extern SystemInfoRecord* SystemInfo;

// Writes the "[Information]" block to the log and returns the filled record (one static
// record, zeroed and filled again by every call).
SystemInfoRecord* WriteSystemInformation();

// The clock in units of 10 kHz from time-stamp counts t0..t1 measured over performance-counter
// counts start..now at `frequency` counts per second: ((t1 - t0) x 4) / (((now - start) x
// 40000) / frequency), in 64-bit arithmetic. 0 when the divisor is 0 or a count runs backwards;
// saturated at 0xFFFFFFFF.
DWORD ComputeCpuClock(ULONGLONG t0, ULONGLONG t1, LONGLONG start, LONGLONG now, LONGLONG frequency);
// "999.99MHz" below 1 GHz (100000), else "1.00GHz": two decimals, truncated.
std::string CpuClockText(DWORD clock);
