#pragma once
// GDI helpers of the font: a memory device context with a font selected, and a 32-bit DIB
// into which text is drawn white on black and then turned into A4R4G4B4 texels.

#include <cstdint>

#include "platform/d3d9/d3d9.h"
#include "platform/gdi/gdi_types.h"

// A memory device context in MM_TEXT with the font of `logFont` selected; ok() is false when
// the font cannot be made.
class GdiFontContext {
public:
    explicit GdiFontContext(const LOGFONTA& logFont);
    ~GdiFontContext();
    GdiFontContext(const GdiFontContext&) = delete;
    GdiFontContext& operator=(const GdiFontContext&) = delete;

    bool ok() const { return font_ != nullptr; }
    HDC dc() const { return dc_; }

private:
    HDC dc_ = nullptr;
    HFONT font_ = nullptr;
    HGDIOBJ previousFont_ = nullptr;
};

// A width x height top-down DIB selected into `dc`, with white text on an opaque black
// background aligned top-left.
class GlyphBitmap {
public:
    GlyphBitmap(HDC dc, int width, int height);
    ~GlyphBitmap();
    GlyphBitmap(const GlyphBitmap&) = delete;
    GlyphBitmap& operator=(const GlyphBitmap&) = delete;

    bool ok() const { return bitmap_ != nullptr && bits_ != nullptr; }
    // Writes the DIB's top-left corner into `rect` of level 0 of an A4R4G4B4 texture: alpha is
    // the top four bits of each pixel's blue byte, colour white (0 where the alpha is 0).
    HRESULT CopyToTexture(IDirect3DTexture9* texture, const RECT& rect) const;

private:
    HDC dc_;
    int width_;
    int height_;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previousBitmap_ = nullptr;
    const std::uint32_t* bits_ = nullptr;
};

// The texel of one rendered pixel (0x00RRGGBB).
constexpr std::uint16_t GlyphTexel(std::uint32_t pixel) {
    const std::uint32_t alpha = (pixel & 0xFFu) >> 4;
    return alpha == 0 ? 0 : static_cast<std::uint16_t>((alpha << 12) | 0x0FFFu);
}
