#pragma once
// The text form of the settings store, one line each:
//   ; a comment (also "#"); blank lines are ignored
//   [Software\Velkaro\qvn\main]           a key: its full path below HKEY_CURRENT_USER
//   "SoundVolume"=dword:00002710          a 4-byte REG_DWORD, in hexadecimal
//   "Name"=sz:"text"                      a REG_SZ: the text, its terminating NUL implied
//   "WindowRect"=hex:00,01,ff             REG_BINARY bytes
//   "List"=hex(7):61,00,00                any other type (its number in hexadecimal), as bytes
// In a key path the backslash separates the keys and "%NN" stands for "%" and for any byte
// that is not printable ASCII. Value names and texts are quoted: "\\" and "\"" for the backslash
// and the quote, "\xNN" for "]" and any byte that is not printable ASCII. In both, Shift-JIS
// characters (a lead byte with its trail byte, and single-byte katakana) stand as they are.
// Lines end in LF; a CR before it is ignored. Keys and value names compare without regard to
// ASCII case; the first spelling seen is kept.

#include <string>
#include <string_view>

#include "platform/winbase/settings_store.h"

struct SettingsParseResult {
    SettingsStore store;
    int damagedLines = 0;
    int firstDamagedLine = 0;  // 1-based; 0 when none
};

// Reads the text form; lines that do not parse (and values before any key) are skipped and
// counted. Never fails.
SettingsParseResult ParseSettingsText(std::string_view text);
std::string FormatSettingsText(const SettingsStore& store);
