#include <algorithm>
#include <string_view>

#include "platform/gdi/gdi.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/gdi/text_characters.h"

using namespace gdi;

namespace {

struct PixelRect {
    int left;
    int top;
    int right;
    int bottom;

    bool Empty() const { return left >= right || top >= bottom; }
    PixelRect Intersect(const PixelRect& other) const {
        return {std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                std::min(bottom, other.bottom)};
    }
};

std::uint32_t ToPixel(COLORREF colour) {
    return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
}

// Mixes one 8-bit channel from `under` toward `over` by coverage/255, rounded.
std::uint32_t MixChannel(std::uint32_t under, std::uint32_t over, std::uint32_t coverage) {
    return (under * (255 - coverage) + over * coverage + 127) / 255;
}

std::uint32_t Mix(std::uint32_t under, std::uint32_t over, std::uint32_t coverage) {
    const std::uint32_t r = MixChannel((under >> 16) & 0xFF, (over >> 16) & 0xFF, coverage);
    const std::uint32_t g = MixChannel((under >> 8) & 0xFF, (over >> 8) & 0xFF, coverage);
    const std::uint32_t b = MixChannel(under & 0xFF, over & 0xFF, coverage);
    return (r << 16) | (g << 8) | b;
}

void Fill(BitmapObject& bitmap, const PixelRect& area, std::uint32_t pixel) {
    const PixelRect clipped = area.Intersect({0, 0, bitmap.width, bitmap.height});
    if (clipped.Empty()) {
        return;
    }
    for (int y = clipped.top; y < clipped.bottom; ++y) {
        std::uint32_t* row = bitmap.Row(y);
        std::fill(row + clipped.left, row + clipped.right, pixel);
    }
}

void DrawCoverage(BitmapObject& bitmap, const GlyphCoverage& glyph, int x, int y,
                  const PixelRect& clip, std::uint32_t pixel) {
    const PixelRect area =
        PixelRect{x, y, x + glyph.width, y + glyph.height}.Intersect(clip).Intersect(
            {0, 0, bitmap.width, bitmap.height});
    for (int py = area.top; py < area.bottom; ++py) {
        std::uint32_t* row = bitmap.Row(py);
        const std::uint8_t* levels =
            glyph.levels.data() + static_cast<std::size_t>(py - y) * glyph.width;
        for (int px = area.left; px < area.right; ++px) {
            const std::uint8_t level = levels[px - x];
            if (level != 0) {
                row[px] = Mix(row[px], pixel, level);
            }
        }
    }
}

}  // namespace

BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int count, SIZE* size) {
    const std::shared_ptr<DeviceContext> context = LookUpContext(dc);
    if (!context || size == nullptr || count < 0 || (text == nullptr && count > 0) ||
        !context->font || !context->font->scaled) {
        return FALSE;
    }
    const ScaledFont& font = *context->font->scaled;
    long width = 0;
    if (count > 0) {
        for (const TextCharacter& c :
             SplitCp932Characters(std::string_view(text, static_cast<std::size_t>(count)))) {
            width += font.Advance(c.codePoint);
        }
    }
    size->cx = static_cast<LONG>(width);
    size->cy = font.Height();
    return TRUE;
}

BOOL ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count,
                 const INT* dx) {
    const std::shared_ptr<DeviceContext> context = LookUpContext(dc);
    if (!context || (text == nullptr && count > 0) || !context->font || !context->font->scaled ||
        !context->bitmap) {
        return FALSE;
    }
    const ScaledFont& font = *context->font->scaled;
    BitmapObject& bitmap = *context->bitmap;
    const std::vector<TextCharacter> characters =
        count > 0 ? SplitCp932Characters(std::string_view(text, count))
                  : std::vector<TextCharacter>();

    std::vector<int> advances;
    advances.reserve(characters.size());
    long width = 0;
    for (std::size_t i = 0, byte = 0; i < characters.size(); ++i) {
        advances.push_back(dx != nullptr ? dx[byte] : font.Advance(characters[i].codePoint));
        byte += static_cast<std::size_t>(characters[i].byteCount);
        width += advances.back();
    }

    const UINT vertical = context->textAlign & TA_BASELINE;
    const int top = vertical == TA_BASELINE ? y - font.Ascent()
                    : vertical == TA_BOTTOM ? y - font.Height()
                                            : y;
    const UINT horizontal = context->textAlign & TA_CENTER;
    const int left = horizontal == TA_CENTER  ? x - static_cast<int>(width / 2)
                     : horizontal == TA_RIGHT ? x - static_cast<int>(width)
                                              : x;

    const std::uint32_t background = ToPixel(context->backgroundColour);
    PixelRect clip{0, 0, bitmap.width, bitmap.height};
    if (rect != nullptr) {
        const PixelRect given{rect->left, rect->top, rect->right, rect->bottom};
        if ((options & ETO_OPAQUE) != 0) {
            Fill(bitmap, given, background);
        }
        if ((options & ETO_CLIPPED) != 0) {
            clip = clip.Intersect(given);
        }
    }
    if (context->backgroundMode == OPAQUE) {
        Fill(bitmap,
             PixelRect{left, top, left + static_cast<int>(width), top + font.Height()}.Intersect(
                 clip),
             background);
    }

    const std::uint32_t foreground = ToPixel(context->textColour);
    GlyphCoverage glyph;
    int pen = left;
    for (std::size_t i = 0; i < characters.size(); ++i) {
        if (!font.Render(characters[i].codePoint, &glyph)) {
            return FALSE;
        }
        DrawCoverage(bitmap, glyph, pen + glyph.left, top + glyph.top, clip, foreground);
        pen += advances[i];
    }
    return TRUE;
}
