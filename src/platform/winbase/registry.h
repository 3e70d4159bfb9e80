#pragma once
// The settings store in place of the registry: one text file
// $XDG_CONFIG_HOME/Velkaro/qvn/settings.txt (XDG_CONFIG_HOME defaults to ~/.config). Keys and value
// names compare without regard to case. Every change writes the file whole to a temporary file
// that is renamed into place.

#include <cstdint>

#include "platform/winbase/win_types.h"

struct SECURITY_ATTRIBUTES;

#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000001u)))

using REGSAM = DWORD;
using LSTATUS = LONG;

constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;
constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_MULTI_SZ = 7;

LSTATUS RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, HKEY* result);
LSTATUS RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR className, DWORD options,
                        REGSAM access, SECURITY_ATTRIBUTES* security, HKEY* result,
                        LPDWORD disposition);
// 2 for a missing value; 234 (ERROR_MORE_DATA) when the buffer is too small, the buffer then
// left untouched; a null data pointer asks only for the type and size.
LSTATUS RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                         LPDWORD size);
LSTATUS RegSetValueExA(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data,
                       DWORD size);
LSTATUS RegCloseKey(HKEY key);

// Removes the temporary files of settings writes that ended before their rename (the program
// killed): "settings.txt.tmp-" and six letters or digits, in the settings folder, nothing else.
// Waits for a write in progress, of this process or another, to end first.
void RemoveStaleSettingsFiles();
