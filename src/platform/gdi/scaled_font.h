#pragma once
// One font file at one pixel size with the LOGFONTA's emboldening and slant: metrics, advances
// and anti-aliased glyph coverage. Rendering is unhinted and without subpixel positions, so the
// same text gives the same pixels on every machine.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/gdi_types.h"

namespace gdi {

struct GlyphCoverage {
    int left = 0;  // of the bitmap, from the pen position
    int top = 0;   // of the bitmap, from the top of the line
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> levels;  // width * height coverage values, 0..255, rows top down
};

class ScaledFont {
public:
    // NULL when the height is 0 or below, or the file cannot be opened or sized.
    static std::unique_ptr<ScaledFont> Open(const std::string& file, const LOGFONTA& logFont);
    ~ScaledFont();
    ScaledFont(const ScaledFont&) = delete;
    ScaledFont& operator=(const ScaledFont&) = delete;

    int Ascent() const { return ascent_; }
    int Height() const { return height_; }  // ascent plus descent
    // Whole pixels the pen moves after `codePoint` (emboldening adds one).
    int Advance(char32_t codePoint) const;
    // False when the glyph cannot be made; an empty bitmap for a blank glyph is a success.
    bool Render(char32_t codePoint, GlyphCoverage* glyph) const;

private:
    struct Impl;
    explicit ScaledFont(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
    int ascent_ = 0;
    int height_ = 0;
};

}  // namespace gdi
