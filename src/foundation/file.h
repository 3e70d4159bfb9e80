#pragma once
// Whole-file loads from plain files or the "PAK0" pack archives, and safe whole-file saves.

#include "platform/win32/win_types.h"

// Loads the whole file (or its first `limit` bytes when `limit` is not 0). The buffer holds the
// bytes followed by a NUL and is freed by the caller with LocalFree. On failure: null, *outSize
// 0, and one "load error." log line.
BYTE* LoadFile(const char* name, DWORD* outSize, DWORD limit);

// 1 when `name` is a plain file or an entry of a pack archive.
int FileExists(const char* name);

// Writes the file whole and safely; 1 on success, 0 on failure (with a "save error." line).
int SaveFile(const char* name, const void* data, DWORD size);
