#pragma once
// Shift-JIS text as Unicode code points, one per character.

#include <string_view>
#include <vector>

namespace gdi {

struct TextCharacter {
    char32_t codePoint;  // 0 for a byte sequence that does not convert
    int byteCount;       // 1 or 2
};

// A lead byte as the last byte is a character of its own that does not convert.
std::vector<TextCharacter> SplitCp932Characters(std::string_view text);

}  // namespace gdi
