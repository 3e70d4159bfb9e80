#pragma once
// Drive letters and their queries with Windows' names. "C:" is the file system that holds the
// program directory; "D:", "E:", ... are the CD-ROM drives in the order libcdio finds them
// (cdrom_drives.h). No other letter names a drive. A test's fake machine answers instead when
// one is set (system_test.h).

#include "platform/winbase/win_types.h"

constexpr UINT DRIVE_UNKNOWN = 0;
constexpr UINT DRIVE_NO_ROOT_DIR = 1;
constexpr UINT DRIVE_REMOVABLE = 2;
constexpr UINT DRIVE_FIXED = 3;
constexpr UINT DRIVE_REMOTE = 4;
constexpr UINT DRIVE_CDROM = 5;
constexpr UINT DRIVE_RAMDISK = 6;

// Bit n set: the drive of letter 'A' + n exists.
DWORD GetLogicalDrives();
// The kind of the drive of a root ("c:\", "C:", any case; null: the program's own drive, C:):
// DRIVE_FIXED, DRIVE_CDROM, or DRIVE_NO_ROOT_DIR for any other text.
UINT GetDriveTypeA(LPCSTR rootPath);
// Sizes of the file system of C: in bytes (any output may be null). FALSE with
// ERROR_NOT_READY for a CD-ROM drive, ERROR_PATH_NOT_FOUND for any other root and
// ERROR_ACCESS_DENIED when the file system cannot be read.
BOOL GetDiskFreeSpaceExA(LPCSTR rootPath, ULARGE_INTEGER* freeBytesAvailable,
                         ULARGE_INTEGER* totalBytes, ULARGE_INTEGER* totalFreeBytes);
