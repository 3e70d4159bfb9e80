#include "platform/winbase/line_breaking.h"

#include <cstddef>

#include "platform/winbase/code_page.h"

namespace {

// NoLineStartChars, two bytes each, in the order the header lists them.
constexpr std::string_view kNoLineStartChars =
    "\x81\x66\x81\x68\x81\x8C\x81\x8D\x81\x41\x81\x42\x81\x58\x81\x72\x81\x74\x81\x76\x81\x78"
    "\x81\x7A\x81\x6C\x82\x9F\x82\xA1\x82\xA3\x82\xA5\x82\xA7\x82\xC1\x82\xE1\x82\xE3\x82\xE5"
    "\x82\xEC\x81\x4A\x81\x4B\x81\x54\x81\x55\x83\x40\x83\x42\x83\x44\x83\x46\x83\x48\x83\x62"
    "\x83\x83\x83\x85\x83\x87\x83\x8E\x83\x95\x83\x96\x81\x45\x81\x5B\x81\x52\x81\x53\x81\x49"
    "\x81\x93\x81\x6A\x81\x43\x81\x44\x81\x46\x81\x47\x81\x48\x81\x6E\x81\x70\x81\x64";

// "。": the room a line keeps at its end for a hanging character.
constexpr std::string_view kHangingRoomChar = "\x81\x42";

bool NoLineStartAt(std::string_view text, std::size_t at) {
    if (Cp932CharLength(text, at) != 2) {
        return false;
    }
    for (std::size_t i = 0; i + 1 < kNoLineStartChars.size(); i += 2) {
        if (kNoLineStartChars[i] == text[at] && kNoLineStartChars[i + 1] == text[at + 1]) {
            return true;
        }
    }
    return false;
}

struct Glyph {
    std::size_t at = 0;
    std::size_t length = 0;
    float width = 0.0f;
    bool noLineStart = false;
    bool space = false;  // an ASCII space: dropped where the line breaks
    bool word = false;   // printable ASCII: a run of them is a word, not broken inside
};

std::vector<Glyph> GlyphsOf(std::string_view paragraph, const CharWidth& measure) {
    std::vector<Glyph> glyphs;
    for (std::size_t at = 0; at < paragraph.size();) {
        Glyph glyph;
        glyph.at = at;
        glyph.length = Cp932CharLength(paragraph, at);
        glyph.width = measure(paragraph.substr(at, glyph.length));
        glyph.noLineStart = NoLineStartAt(paragraph, at);
        const auto byte = static_cast<unsigned char>(paragraph[at]);
        glyph.space = glyph.length == 1 && byte == ' ';
        glyph.word = glyph.length == 1 && byte > ' ' && byte < 0x7F;
        glyphs.push_back(glyph);
        at += glyph.length;
    }
    return glyphs;
}

// Whether a line may end before glyph `i` (not the first): the next line begins with a glyph
// that may begin one, after the spaces that the break drops.
bool CanBreakBefore(const std::vector<Glyph>& glyphs, std::size_t i) {
    if (!glyphs[i].space && glyphs[i - 1].word && glyphs[i].word) {
        return false;
    }
    while (i < glyphs.size() && glyphs[i].space) {
        ++i;
    }
    return i == glyphs.size() || !glyphs[i].noLineStart;
}

// `end` less the spaces before it, down to `start`.
std::size_t WithoutTrailingSpaces(const std::vector<Glyph>& glyphs, std::size_t start,
                                  std::size_t end) {
    while (end > start && glyphs[end - 1].space) {
        --end;
    }
    return end;
}

// Appends the lines of one paragraph (a text without line feeds).
void WrapParagraph(std::string_view paragraph, float width, float hangingRoom,
                   const CharWidth& measure, std::vector<std::string>* lines) {
    const std::vector<Glyph> glyphs = GlyphsOf(paragraph, measure);
    const std::size_t count = glyphs.size();
    std::vector<float> restWidth(count + 1, 0.0f);
    for (std::size_t i = count; i-- > 0;) {
        restWidth[i] = restWidth[i + 1] + glyphs[i].width;
    }
    const auto bytesFrom = [&](std::size_t first, std::size_t end) {
        const std::size_t from = glyphs[first].at;
        const std::size_t to = end < count ? glyphs[end].at : paragraph.size();
        return std::string(paragraph.substr(from, to - from));
    };
    std::size_t start = 0;
    while (start < count) {
        if (restWidth[start] <= width) {
            lines->push_back(bytesFrom(start, count));
            return;
        }
        // The characters that fit: a character of NoLineStartChars may take the kept room.
        std::size_t full = start;
        float used = 0.0f;
        while (full < count) {
            const Glyph& glyph = glyphs[full];
            const float room = glyph.noLineStart ? width : width - hangingRoom;
            if (full > start && used + glyph.width > room) {
                break;
            }
            used += glyph.width;
            ++full;
        }
        if (full == count) {
            lines->push_back(bytesFrom(start, count));
            return;
        }
        // Back to where a line may end, keeping something on this one; nowhere: where it is full.
        std::size_t end = full;
        std::size_t at = full;
        while (at > start && !CanBreakBefore(glyphs, at)) {
            --at;
        }
        if (WithoutTrailingSpaces(glyphs, start, at) > start) {
            end = at;
        }
        lines->push_back(bytesFrom(start, WithoutTrailingSpaces(glyphs, start, end)));
        start = end;
        while (start < count && glyphs[start].space) {
            ++start;
        }
    }
}

}  // namespace

bool IsNoLineStartChar(const char* c) {
    if (c == nullptr || c[0] == '\0') {
        return false;
    }
    return NoLineStartAt(std::string_view(c, c[1] == '\0' ? 1 : 2), 0);
}

std::vector<std::string> WrapCp932Text(std::string_view text, float width,
                                       const CharWidth& measure) {
    const float hangingRoom = measure(kHangingRoomChar);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t feed = text.find('\n', start);
        std::string paragraph(
            text.substr(start, feed == std::string_view::npos ? feed : feed - start));
        std::erase(paragraph, '\r');
        if (paragraph.empty()) {
            lines.emplace_back();
        } else {
            WrapParagraph(paragraph, width, hangingRoom, measure, &lines);
        }
        if (feed == std::string_view::npos) {
            return lines;
        }
        start = feed + 1;
    }
}
