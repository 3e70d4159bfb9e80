#pragma once
// Case-insensitive Shift-JIS comparison: a lead byte and its trail byte are one character;
// ASCII letters compare ignoring case; trail bytes are never folded.

#include <cstddef>

int CompareNoCase(const char* a, const char* b);
int CompareNoCasePrefix(const char* a, const char* b, std::size_t n);
