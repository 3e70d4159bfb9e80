#include "foundation/text.h"

#include <cstdio>

#include "foundation/sjis.h"

namespace {

// Full-width 'Ａ'..'Ｚ' and 'ａ'..'ｚ' of code page 932.
constexpr unsigned kWideUpperFirst = 0x8260;
constexpr unsigned kWideUpperLast = 0x8279;
constexpr unsigned kWideCaseOffset = 0x8281 - 0x8260;

// Reads one character at `*p` within `remaining` bytes, folded to lower case; 0 at the end.
unsigned NextFolded(const unsigned char*& p, std::size_t& remaining) {
    if (remaining == 0 || *p == 0) {
        return 0;
    }
    unsigned c = *p;
    if (sjis::IsLeadByte(static_cast<unsigned char>(c)) && remaining >= 2) {
        if (p[1] == 0) {
            // A lead byte at the very end belongs to no character: the string ends.
            return 0;
        }
        c = (c << 8) | p[1];
        p += 2;
        remaining -= 2;
        if (c >= kWideUpperFirst && c <= kWideUpperLast) {
            c += kWideCaseOffset;
        }
        return c;
    }
    ++p;
    --remaining;
    if (c >= 'A' && c <= 'Z') {
        c += 'a' - 'A';
    }
    return c;
}

int CompareFolded(const char* a, const char* b, std::size_t n) {
    auto pa = reinterpret_cast<const unsigned char*>(a);
    auto pb = reinterpret_cast<const unsigned char*>(b);
    std::size_t leftA = n;
    std::size_t leftB = n;
    for (;;) {
        unsigned ca = NextFolded(pa, leftA);
        unsigned cb = NextFolded(pb, leftB);
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
        if (ca == 0) {
            return 0;
        }
    }
}

constexpr const char* kUnits[] = {"byte", "KB", "MB", "GB", "TB"};
constexpr int kUnitCount = sizeof(kUnits) / sizeof(kUnits[0]);

}  // namespace

int CompareNoCase(const char* a, const char* b) {
    return CompareFolded(a, b, static_cast<std::size_t>(-1));
}

int CompareNoCasePrefix(const char* a, const char* b, std::size_t n) {
    return CompareFolded(a, b, n);
}

std::string FoldNoCase(const char* text) {
    std::string key;
    if (text == nullptr) {
        return key;
    }
    auto p = reinterpret_cast<const unsigned char*>(text);
    std::size_t remaining = static_cast<std::size_t>(-1);
    for (unsigned c = NextFolded(p, remaining); c != 0; c = NextFolded(p, remaining)) {
        if (c > 0xFF) {
            key.push_back(static_cast<char>(c >> 8));
        }
        key.push_back(static_cast<char>(c & 0xFF));
    }
    return key;
}

const char* FormatByteSize(std::int64_t value) {
    static char text[64];
    auto low32 = [](std::int64_t v) { return static_cast<int>(static_cast<std::uint32_t>(v)); };
    if (value < 1024) {
        std::snprintf(text, sizeof(text), "%d%s", low32(value), kUnits[0]);
        return text;
    }
    int unit = 0;
    std::int64_t fraction = 0;
    while (unit + 1 < kUnitCount && value >= 1024) {
        ++unit;
        fraction = ((value % 1024) * 100) / 1024;
        value /= 1024;
    }
    if (unit == 1) {
        std::snprintf(text, sizeof(text), "%d%s", low32(value), kUnits[unit]);
    } else {
        std::snprintf(text, sizeof(text), "%d.%02d%s", low32(value), static_cast<int>(fraction),
                      kUnits[unit]);
    }
    return text;
}
