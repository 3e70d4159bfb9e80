#pragma once
// Code page 932 (Shift-JIS) text: character stepping and conversion to and from UTF-8.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/winbase/win_types.h"

constexpr UINT CP_ACP = 0;  // the game's code page: 932
constexpr UINT CP_UTF8 = 65001;

BOOL IsDBCSLeadByte(BYTE byte);
// Steps over one character; a lead byte followed by NUL steps over the lead byte only. Never
// moves past the terminating NUL.
LPSTR CharNextA(LPCSTR text);

// Conversions; std::nullopt when a byte sequence does not convert.
std::optional<std::string> Cp932ToUtf8(std::string_view sjis);
std::optional<std::string> Utf8ToCp932(std::string_view utf8);

// UTF-16 text from `bytes` bytes of `text` in `codePage` (CP_ACP, 932 or CP_UTF8); -1 takes the
// text with its terminator. A byte that is no text of the code page (the program directory's own
// bytes in a path, a lead byte without its trail) becomes the lone surrogate U+DC00 + byte, which
// WideCharToMultiByte gives back as that byte: a path survives the way there and back unchanged,
// and nothing is guessed. Answers the characters written, or with `outChars` 0 the characters
// needed. 0 on failure, with the last error ERROR_INVALID_PARAMETER (an unknown code page, a null
// text) or ERROR_INSUFFICIENT_BUFFER (`out` too small: its contents are then undefined).
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int bytes, WCHAR* out,
                        int outChars);
// The reverse, in the same terms; `defaultChar` and `usedDefault` must be null. A character that
// does not convert (a surrogate other than U+DC80..U+DCFF, a character the code page lacks)
// fails the call with ERROR_NO_UNICODE_TRANSLATION.
int WideCharToMultiByte(UINT codePage, DWORD flags, const WCHAR* text, int chars, LPSTR out,
                        int outBytes, LPCSTR defaultChar, BOOL* usedDefault);

// Bytes of the character at `pos`: 2 for a lead byte followed by a valid trail byte, 1 for any
// other byte, 0 at or past the end.
std::size_t Cp932CharLength(std::string_view text, std::size_t pos);

// Copies the longest start of `text` that fits in `size` - 1 bytes without splitting a
// double-byte character into `destination`, NUL-terminated; returns the bytes copied. A size
// of 0 copies nothing.
std::size_t CopyCp932Prefix(std::string_view text, char* destination, std::size_t size);

// Equality ignoring the case of ASCII letters; the bytes of a double-byte character compare
// exactly (a trail byte that looks like a letter is not folded).
bool EqualNoCaseCp932(std::string_view a, std::string_view b);
// The text with the ASCII letters outside double-byte characters in lower case: two texts are
// EqualNoCaseCp932 exactly when their folded forms are equal, so the folded form is a key for
// looking them up.
std::string FoldCaseCp932(std::string_view text);
