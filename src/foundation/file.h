#pragma once
// Whole-file loads from plain files or the "PAK0" pack archives, and safe whole-file saves.

#include <string>

#include "platform/winbase/win_types.h"

// Loads the whole file (or its first `limit` bytes when `limit` is not 0). The buffer holds the
// bytes followed by a NUL and is freed by the caller with LocalFree. A plain file of the name
// wins; otherwise the name, relative to the program directory, is looked up in the archives.
// On failure: null, *outSize 0, and one "load error. code:%08x(%d) %s" log line.
BYTE* LoadFile(const char* name, DWORD* outSize, DWORD limit);

// 1 when `name` is a plain file (not a directory) or an entry of a pack archive, else 0.
int FileExists(const char* name);

// out[0] 1 when the file exists, out[1] 1 when it is in a pack, out[2] its size (low 32 bits);
// all 0 when not found.
void GetFileInfo(const char* name, DWORD out[3]);

// Writes the file whole: to a temporary file in the same folder, flushed, then renamed over the
// old one, so a failed save never damages the old file. 1 on success; 0 on failure with one
// "save error. code:%08x(%d) %s" log line.
int SaveFile(const char* name, const void* data, DWORD size);

// The temporary file SaveFile writes `name` through ("NAME.tmp"); a write ended before its
// rename (the program killed) leaves it behind.
std::string SaveFileTemporary(const char* name);
