#pragma once
// Case-insensitive Shift-JIS comparison: a lead byte and its trail byte are one character;
// ASCII letters and the full-width Latin letters compare ignoring case (folded to lower case, so
// '_' sorts before letters); other bytes, trail bytes included, compare by value. A double-byte
// character compares as (lead << 8) | trail and so above every single byte. A lead byte followed
// by the terminating NUL ends the string there.

#include <cstddef>
#include <cstdint>
#include <string>

int CompareNoCase(const char* a, const char* b);
// The same comparison over at most the first `n` bytes of each string.
int CompareNoCasePrefix(const char* a, const char* b, std::size_t n);

// A key of `text` under the same folding: two texts compare equal with CompareNoCase exactly
// when their keys are equal (for hashing names that compare without regard to case).
std::string FoldNoCase(const char* text);

// "1023byte", "1KB", "1.50MB" ...: text in one static buffer that every call overwrites.
const char* FormatByteSize(std::int64_t value);
