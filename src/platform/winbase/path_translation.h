#pragma once
// Internal: Windows-form paths to Linux paths. Every file call of the layer goes through here.
//
// The program directory at the front (its Windows form, see program_directory.h) stands for its
// Linux bytes as they are; every name part after it is converted from code page 932 to UTF-8.
// Paths that do not begin with it are translated the same way from their first part ("\tmp\x"
// is "/tmp/x"; a relative path is taken from the working directory). Both "\" (never a trail
// byte) and "/" separate parts; "." parts are dropped and ".." removes the part before it.
// Each part is matched against its folder's listing: the exact name first, else, of the entries
// whose names are equal ignoring the case of ASCII letters, the one that sorts first bytewise.
// A part with no match keeps its converted name, so that a file can be created under it.

#include <string>

#include "platform/winbase/win_types.h"

struct LinuxPath {
    std::string path;
    // Non-zero when the path cannot name a file here: a name part that does not convert, an
    // empty path, a drive or network prefix. The caller fails with this code and touches
    // nothing.
    DWORD error = 0;
    // Every folder before the last part was found: a missing file is then ERROR_FILE_NOT_FOUND
    // rather than ERROR_PATH_NOT_FOUND.
    bool parentExists = false;
};

LinuxPath TranslatePath(const char* windowsPath);

// The Windows error for a failed system call on a translated path.
DWORD Win32ErrorForPath(int error, const LinuxPath& path);
