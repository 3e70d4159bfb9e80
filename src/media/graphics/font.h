#pragma once
// D3DFont: Shift-JIS text drawn with Direct3D. Characters 0x20..0x7E come from an atlas
// texture rendered once when the font is made; double-byte characters of a Shift-JIS font are
// rendered on demand into the cells of a glyph cache that evicts the oldest glyph when full.
// Text may carry colour markup: "[RRGGBB]" or "[AARRGGBB]" (drawn opaque), "[]" back to the
// font's colour, and a backslash that makes the next character plain.

#include <cstdint>
#include <memory>
#include <vector>

#include "media/graphics/ref_counted.h"
#include "platform/d3d9/d3d9.h"
#include "platform/gdi/gdi_types.h"

struct D3DTexture;
class GdiFontContext;

// One cell of the glyph cache.
struct FontGlyphCache {
    DWORD age = 0;
    // The character's two bytes as a little-endian value: lead byte low, trail byte high.
    DWORD code = 0;
    RECT cell{};
};

constexpr int kAtlasGlyphCount = 95;  // 0x20..0x7E

struct D3DFont : RefCounted {
    D3DTexture* atlas = nullptr;  // A4R4G4B4, managed
    D3DTexture* cache = nullptr;  // A4R4G4B4, managed; NULL unless Shift-JIS
    LOGFONTA logFont{};           // with the width set to height / 2 when given as 0
    D3DCOLOR colour = 0xFFFFFFFFu;
    UINT rowHeight = 0;
    std::vector<RECT> glyphRects;  // kAtlasGlyphCount entries once the atlas is laid out
    UINT cellWidth = 0;
    UINT cellHeight = 0;
    UINT cacheEntryCount = 0;
    std::vector<FontGlyphCache> cacheEntries;  // cacheEntryCount entries

    // Appends the font to the font list.
    D3DFont();
    D3DFont(const D3DFont&) = delete;
    D3DFont& operator=(const D3DFont&) = delete;

    // Builds the atlas (and the empty cache of a Shift-JIS font). E_INVALIDARG for a height of
    // 0 or below; E_FAIL when the glyphs cannot be made.
    HRESULT Create(const LOGFONTA* requested, UINT cacheSize);
    // Draws at (x, y) clipped to `clip` (NULL: the whole render target).
    HRESULT Draw(int x, int y, const char* text, const RECT* clip);
    // The size Draw would cover; lines with nothing drawn add no height.
    void GetTextExtent(SIZE* size, const char* text);
    void SetColor(D3DCOLOR argb) { colour = argb; }
    const LOGFONTA& GetLogFont() const { return logFont; }
    void GetCellSize(UINT* w, UINT* h) const;

    // Renders the double-byte character `code` into a cache cell; answers the cell's index.
    // Answers cacheEntryCount when the cache has no cells.
    UINT AddGlyph(DWORD code);
    // The index of `code` in the cache, rendering it on a miss.
    UINT FindGlyph(DWORD code);

    // Deletes the font at 0; answers the new count.
    ULONG Release();

private:
    ~D3DFont();
    HRESULT BuildAtlas(HDC dc);

    // The GDI font that renders cache glyphs, made on the first miss and kept, so that a page
    // of new characters does not open the font file once per character.
    std::unique_ptr<GdiFontContext> glyphContext_;
};

// The font list, in creation order.
const std::vector<D3DFont*>& FontList();

// Shares a font of an identical LOGFONTA and cache size; else makes one (*out receives it
// before Create runs, so after a failure the caller releases it).
HRESULT D3D_CreateFont(D3DFont** out, const LOGFONTA* logFont, UINT cacheSize);
// Releases the front font until the list is empty.
void D3D_ReleaseAllFonts();
