#pragma once
// Version, language, memory and thread-priority queries with Windows' names, answered from
// Linux: the kernel release and the distribution (os-release) for the version, the locale of
// messages for the language, the installed memory. A test's fake machine answers instead when
// one is set (system_test.h).

#include "platform/winbase/win_types.h"

constexpr DWORD VER_PLATFORM_WIN32s = 0;
constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr DWORD VER_PLATFORM_WIN32_NT = 2;
// Ours, after every Windows platform: a Linux kernel. Major, minor and build are the first
// three numbers of its release (0 where missing) and szCSDVersion names the distribution
// (os-release's PRETTY_NAME in code page 932; empty without os-release).
constexpr DWORD VER_PLATFORM_LINUX = 0x100;

struct OSVERSIONINFOA {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    CHAR szCSDVersion[128];
};
// FALSE with ERROR_INSUFFICIENT_BUFFER when dwOSVersionInfoSize is not the record's size.
BOOL GetVersionExA(OSVERSIONINFOA* info);

using LANGID = WORD;
constexpr LANGID LANG_NEUTRAL = 0;
// The language of the locale of messages ("ja_JP.UTF-8" is 0x0411); LANG_NEUTRAL for the C and
// POSIX locales, no locale at all, and languages this layer does not know.
LANGID GetUserDefaultLangID();
// The language's English name, cut to size - 1 characters and NUL-terminated; returns the
// characters written. An id this layer does not know is "Language Neutral".
DWORD VerLanguageNameA(DWORD language, LPSTR name, DWORD size);

struct MEMORYSTATUS {
    DWORD dwLength;
    // Installed physical memory in bytes, as a 32-bit count: saturated at 0xFFFFFFFF.
    DWORD dwTotalPhys;
};
void GlobalMemoryStatus(MEMORYSTATUS* status);

constexpr int THREAD_PRIORITY_NORMAL = 0;
constexpr int THREAD_PRIORITY_TIME_CRITICAL = 15;
constexpr int THREAD_PRIORITY_ERROR_RETURN = 0x7FFFFFFF;

// The pseudo handle that stands for the calling thread; the priority calls take only it.
HANDLE GetCurrentThread();
// The level last set for the calling thread (THREAD_PRIORITY_NORMAL at first).
int GetThreadPriority(HANDLE thread);
// Sets the calling thread's scheduling priority (its nice value: time-critical is -20, normal
// 0). FALSE with ERROR_ACCESS_DENIED when the system does not allow a raise, and then the
// level stays.
BOOL SetThreadPriority(HANDLE thread, int priority);
