#pragma once
// The drive-letter rule: "C:" is the file system that holds the program directory and "D:",
// "E:", ... are the CD-ROM drives in the order libcdio finds them (cdrom_drives.h). No other
// letter names a drive.

#include "platform/winbase/win_types.h"

constexpr char kProgramDriveLetter = 'C';
constexpr char kFirstCdRomDriveLetter = 'D';

// The upper-case letter of a root ("c:\" or "C:", any case), the program's drive for null, and
// 0 for any other text.
char DriveLetterOfRoot(LPCSTR root);
