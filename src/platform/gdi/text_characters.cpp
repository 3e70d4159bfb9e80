#include "platform/gdi/text_characters.h"

#include <optional>
#include <string>

#include "platform/winbase/code_page.h"

namespace gdi {
namespace {

// The first code point of well-formed UTF-8 (as the converter gives it), or 0.
char32_t FirstCodePoint(const std::string& utf8) {
    if (utf8.empty()) {
        return 0;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    if (p[0] < 0x80) {
        return p[0];
    }
    int length = 0;
    char32_t value = 0;
    if ((p[0] & 0xE0) == 0xC0) {
        length = 2;
        value = p[0] & 0x1F;
    } else if ((p[0] & 0xF0) == 0xE0) {
        length = 3;
        value = p[0] & 0x0F;
    } else if ((p[0] & 0xF8) == 0xF0) {
        length = 4;
        value = p[0] & 0x07;
    } else {
        return 0;
    }
    if (utf8.size() < static_cast<std::size_t>(length)) {
        return 0;
    }
    for (int i = 1; i < length; ++i) {
        value = (value << 6) | (p[i] & 0x3F);
    }
    return value;
}

}  // namespace

std::vector<TextCharacter> SplitCp932Characters(std::string_view text) {
    std::vector<TextCharacter> characters;
    characters.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<BYTE>(text[i]);
        if (IsDBCSLeadByte(lead)) {
            if (i + 1 >= text.size()) {
                characters.push_back({0, 1});
                break;
            }
            const std::optional<std::string> utf8 = Cp932ToUtf8(text.substr(i, 2));
            characters.push_back({utf8 ? FirstCodePoint(*utf8) : 0, 2});
            i += 2;
            continue;
        }
        char32_t codePoint = lead;
        if (lead >= 0x80) {
            const std::optional<std::string> utf8 = Cp932ToUtf8(text.substr(i, 1));
            codePoint = utf8 ? FirstCodePoint(*utf8) : 0;
        }
        characters.push_back({codePoint, 1});
        ++i;
    }
    return characters;
}

}  // namespace gdi
