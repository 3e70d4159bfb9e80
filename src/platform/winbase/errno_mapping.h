#pragma once
// Internal: POSIX errno values as Windows error codes.

#include "platform/winbase/win_types.h"

// `parentExists` decides ENOENT: 2 (file not found) when the containing folder exists, else 3.
DWORD Win32ErrorFromErrno(int error, bool parentExists);
