#pragma once
// Path helpers of the Windows shell, on Windows-form paths (backslash separators, Shift-JIS:
// a trail byte that equals '\\' is never a separator). MAX_PATH is 260.

#include "platform/winbase/win_types.h"

constexpr int MAX_PATH = 260;

LPSTR PathCombineA(LPSTR dest, LPCSTR dir, LPCSTR file);  // resolves "." and ".."
BOOL PathIsRelativeA(LPCSTR path);
BOOL PathRemoveFileSpecA(LPSTR path);
LPSTR PathAddBackslashA(LPSTR path);
LPSTR PathFindExtensionA(LPCSTR path);  // points at the "." or at the terminating NUL
LPSTR PathFindFileNameA(LPCSTR path);
BOOL PathIsUNCA(LPCSTR path);
BOOL PathIsURLA(LPCSTR path);
