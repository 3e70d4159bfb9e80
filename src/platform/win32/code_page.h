#pragma once
// Code page 932 (Shift-JIS) text: character stepping and conversion to and from UTF-8.

#include <optional>
#include <string>
#include <string_view>

#include "platform/win32/win_types.h"

constexpr UINT CP_ACP = 0;  // the game's code page: 932
constexpr UINT CP_UTF8 = 65001;

BOOL IsDBCSLeadByte(BYTE byte);
// Steps over one character; a lead byte followed by NUL steps over the lead byte only. Never
// moves past the terminating NUL.
LPSTR CharNextA(LPCSTR text);

// Conversions; std::nullopt when a byte sequence does not convert.
std::optional<std::string> Cp932ToUtf8(std::string_view sjis);
std::optional<std::string> Utf8ToCp932(std::string_view utf8);
