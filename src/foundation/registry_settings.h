#pragma once
// The settings store: named values under HKEY_CURRENT_USER\Software\Velkaro\qvn, grouped in
// sections (subkeys; names compare without regard to case, so "Main" and "main" are one).
// Every operation opens the key, does its work and closes it; failures are return values and
// are never logged.

#include "platform/winbase/win_types.h"

// Reads the value into `buffer`. With `maximumSize` not 0, a stored value of that size or more
// is asked for with `maximumSize` bytes, and one larger than that fails. A missing key or value
// leaves `buffer` untouched. *outSize gets the bytes read (0 on failure). 1 on success.
int ReadRegistryValue(const char* section, const char* name, void* buffer, DWORD maximumSize,
                      DWORD* outSize);
// The stored DWORD, or 0 when it cannot be read.
DWORD ReadRegistryDword(const char* section, const char* name);
// Creates the key when needed and stores the value; `size` 0 is computed from the type (REG_SZ,
// REG_DWORD, REG_MULTI_SZ). 1 on success.
int WriteRegistryValue(const char* section, const char* name, DWORD type, const void* data,
                       DWORD size);
int WriteRegistryDword(const char* section, const char* name, DWORD value);
// The value's type, 0 when it is missing.
void QueryRegistryType(const char* section, const char* name, DWORD* outType);
