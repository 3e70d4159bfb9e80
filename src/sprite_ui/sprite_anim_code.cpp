#include "sprite_ui/sprite_anim_code.h"

#include "foundation/text.h"
#include "sprite_ui/sprite_data.h"

namespace {

char NameByte(const std::vector<std::uint16_t>& code, std::uint32_t firstWord, std::size_t i) {
    const std::uint16_t word = AnimWord(code, firstWord + static_cast<std::uint32_t>(i / 2));
    return static_cast<char>(i % 2 == 0 ? word & 0xFF : word >> 8);
}

}  // namespace

bool ReadAnimEntry(const std::vector<std::uint16_t>& code, std::uint32_t start, AnimEntry* entry) {
    if (start >= code.size()) {
        return false;
    }
    const std::uint32_t bytes = code[start];
    if (bytes == 0 || bytes % 2 != 0 || bytes / 2 > code.size() - start) {
        return false;
    }
    entry->start = start;
    entry->words = bytes / 2;
    // The name runs from the word after the length to its NUL, within the entry.
    const std::size_t nameBytes = (entry->words - 1) * 2;
    entry->name.clear();
    std::size_t i = 0;
    for (; i < nameBytes; ++i) {
        const char c = NameByte(code, start + 1, i);
        if (c == '\0') {
            break;
        }
        entry->name.push_back(c);
    }
    if (i == nameBytes) {
        return false;
    }
    // The NUL, then a pad byte when the name and its NUL are odd.
    entry->firstCode = start + 1 + static_cast<std::uint32_t>((i + 2) / 2);
    return entry->firstCode < start + entry->words;
}

std::uint32_t FindAnimation(const std::vector<std::uint16_t>& code, const char* name) {
    AnimEntry entry;
    std::uint32_t at = 0;
    while (ReadAnimEntry(code, at, &entry)) {
        if (CompareNoCase(entry.name.c_str(), name) == 0) {
            return entry.firstCode;
        }
        at += entry.words;
    }
    return kAnimNoCode;
}

bool AppendAnimEntry(std::vector<std::uint16_t>* code, std::string_view name,
                     std::span<const std::uint16_t> codes) {
    const std::size_t nameWords = (name.size() + 2) / 2;
    const std::size_t words = 1 + nameWords + codes.size() + 1;
    // An entry of the whole block would not fit its 16-bit length.
    if (words * 2 > 0xFFFE || (code->size() + words) * 2 > kSpriteCodeBytes) {
        return false;
    }
    code->push_back(static_cast<std::uint16_t>(words * 2));
    for (std::size_t i = 0; i < nameWords; ++i) {
        const auto low = static_cast<std::uint8_t>(2 * i < name.size() ? name[2 * i] : 0);
        const auto high = static_cast<std::uint8_t>(2 * i + 1 < name.size() ? name[2 * i + 1] : 0);
        code->push_back(static_cast<std::uint16_t>(low | (high << 8)));
    }
    code->insert(code->end(), codes.begin(), codes.end());
    code->push_back(kAnimEnd);
    return true;
}
