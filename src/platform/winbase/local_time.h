#pragma once
// Wall-clock time: file times (100-nanosecond intervals since 1601-01-01 UTC), times broken down
// into calendar fields, the local time now and the last-write time of an open file. The local
// zone is the process's (TZ); tests may fix the clock and the zone (test_hooks.h).

#include <cstdint>

#include "platform/winbase/win_types.h"

struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};

struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;      // 1..12
    WORD wDayOfWeek;  // 0 Sunday
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};

// The local date and time now.
void GetLocalTime(SYSTEMTIME* time);
// Any of the three may be null; the creation time is the last status change. FALSE with the
// last error set when the handle is no open file.
BOOL GetFileTime(HANDLE file, FILETIME* creation, FILETIME* lastAccess, FILETIME* lastWrite);
// A UTC file time shifted into the local zone (as the zone stood at that time).
BOOL FileTimeToLocalFileTime(const FILETIME* utc, FILETIME* local);
// FALSE for a time past the year 30827.
BOOL FileTimeToSystemTime(const FILETIME* time, SYSTEMTIME* out);

// Internal to src/platform: a POSIX time as a file time (0 before 1601).
FILETIME UnixTimeToFileTime(std::int64_t seconds, std::int64_t nanoseconds);
