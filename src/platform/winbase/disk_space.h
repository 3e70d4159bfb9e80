#pragma once
// The size of the program's drive with Windows' name. A test's fake machine answers instead when
// one is set (system_test.h).

#include "platform/winbase/win_types.h"

// Sizes in bytes of the file system that holds the program directory, the drive "C:" (any
// output may be null). FALSE with ERROR_PATH_NOT_FOUND for any other root, and with
// ERROR_ACCESS_DENIED when the file system cannot be read.
BOOL GetDiskFreeSpaceExA(LPCSTR rootPath, ULARGE_INTEGER* freeBytesAvailable,
                         ULARGE_INTEGER* totalBytes, ULARGE_INTEGER* totalFreeBytes);
