#pragma once
// Drive letters. "C:" is the file system that holds the program directory; "D:", "E:", ... are
// the CD-ROM drives of the machine in the order libcdio finds them (found once, at the first
// question). No other letter names a drive.

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

// The kind of the drive of a root ("d:\" or "D:", any case; null: the program's own drive):
// DRIVE_FIXED for C:, DRIVE_CDROM for a CD-ROM drive, DRIVE_NO_ROOT_DIR for anything else.
UINT GetDriveTypeA(LPCSTR rootPath);
