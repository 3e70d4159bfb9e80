// D3DFont: walking a text with its colour markup, for drawing and for measuring.

#include <algorithm>

#include "media/graphics/d3d_functions.h"
#include "media/graphics/device_log.h"
#include "media/graphics/font.h"
#include "media/graphics/texture.h"
#include "platform/winbase/code_page.h"
#include "platform/winbase/hex_digit.h"

namespace {

constexpr D3DCOLOR kOpaque = 0xFF000000u;

// One character to show: its bytes, where the pen stands (relative to the text's origin), how
// far it moves the pen, and the colour in force.
struct TextGlyph {
    const char* bytes;
    int byteCount;
    int penX;
    int penY;
    int advance;
    D3DCOLOR colour;
};

bool IsAtlasCharacter(unsigned char c) {
    return c >= 0x20 && c <= 0x7E;
}

// Calls onGlyph(const TextGlyph&) for every character to show, in order, and onLineFeed()
// for every line feed. Stops at the terminating zero, and at the first failure of onGlyph,
// which it answers.
template <typename OnGlyph, typename OnLineFeed>
HRESULT WalkText(const D3DFont& font, const char* text, OnGlyph onGlyph, OnLineFeed onLineFeed) {
    const RECT& space = font.glyphRects[0];
    const int lineAdvance = static_cast<int>(space.bottom - space.top);
    const bool shiftJis = font.cache != nullptr;
    int penX = 0;
    int penY = 0;
    D3DCOLOR colour = font.colour;
    const char* p = text;
    while (*p != '\0') {
        if (*p == '\n') {
            penX = 0;
            penY += lineAdvance;
            onLineFeed();
            ++p;
            continue;
        }
        if (*p == '[') {
            ++p;
            if (*p == ']') {
                colour = font.colour;
                ++p;
                continue;
            }
            if (*p == '\0') {
                colour = kOpaque;
                break;
            }
            std::uint32_t value = 0;
            for (int digit = HexDigit(*p); digit >= 0; digit = HexDigit(*p)) {
                value = (value << 4) | static_cast<std::uint32_t>(digit);
                ++p;
            }
            // The closing character goes with the markup, but never the terminator.
            if (*p != '\0') {
                ++p;
            }
            colour = value < kOpaque ? (value | kOpaque) : value;
            continue;
        }
        if (*p == '\\') {
            ++p;
            if (*p == '\0') {
                break;
            }
        }
        const char* next = CharNextA(p);
        const int byteCount = static_cast<int>(next - p);
        int advance = 0;
        const auto first = static_cast<unsigned char>(*p);
        if (byteCount == 2) {
            advance = static_cast<int>(font.cellWidth);
        } else if (shiftJis) {
            advance = static_cast<int>((font.cellWidth + 1) / 2);
        } else if (IsAtlasCharacter(first)) {
            const RECT& glyph = font.glyphRects[first - 0x20];
            advance = static_cast<int>(glyph.right - glyph.left);
        }
        const HRESULT hr = onGlyph(TextGlyph{p, byteCount, penX, penY, advance, colour});
        if (FAILED(hr)) {
            return hr;
        }
        penX += advance;
        p = next;
    }
    return D3D_OK;
}

// Cuts `dest` to `clip` and `source` by the same amounts; false when nothing is left.
bool ClipGlyph(const RECT& clip, RECT* dest, RECT* source) {
    if (dest->right <= clip.left || dest->left >= clip.right || dest->bottom <= clip.top ||
        dest->top >= clip.bottom || dest->left >= dest->right || dest->top >= dest->bottom) {
        return false;
    }
    if (dest->left < clip.left) {
        source->left += clip.left - dest->left;
        dest->left = clip.left;
    }
    if (dest->top < clip.top) {
        source->top += clip.top - dest->top;
        dest->top = clip.top;
    }
    if (dest->right > clip.right) {
        source->right -= dest->right - clip.right;
        dest->right = clip.right;
    }
    if (dest->bottom > clip.bottom) {
        source->bottom -= dest->bottom - clip.bottom;
        dest->bottom = clip.bottom;
    }
    return true;
}

}  // namespace

HRESULT D3DFont::Draw(int x, int y, const char* text, const RECT* clip) {
    if (CurrentDevice() == nullptr || atlas == nullptr || glyphRects.empty()) {
        return E_FAIL;
    }
    if (text == nullptr) {
        return D3D_OK;
    }
    RECT area{};
    if (clip != nullptr) {
        area = *clip;
    } else {
        IDirect3DSurface9* target = nullptr;
        D3DSURFACE_DESC desc{};
        HRESULT hr = D3D_GetRenderTarget(&target);
        if (SUCCEEDED(hr)) {
            hr = target->GetDesc(&desc);
            target->Release();
        }
        if (FAILED(hr)) {
            return LogDeviceError("D3DFont::Draw", hr);
        }
        area = RECT{0, 0, static_cast<LONG>(desc.Width), static_cast<LONG>(desc.Height)};
        if (x > area.right || y > area.bottom) {
            return D3D_OK;
        }
    }
    const HRESULT hr = WalkText(
        *this, text,
        [&](const TextGlyph& glyph) -> HRESULT {
            const LONG left = x + glyph.penX;
            const LONG top = y + glyph.penY;
            const auto first = static_cast<unsigned char>(glyph.bytes[0]);
            D3DTexture* source = nullptr;
            RECT from{};
            if (glyph.byteCount == 1) {
                if (!IsAtlasCharacter(first)) {
                    return D3D_OK;
                }
                source = atlas;
                from = glyphRects[first - 0x20];
            } else {
                if (cache == nullptr) {
                    return D3D_OK;
                }
                const DWORD code =
                    first | (static_cast<DWORD>(static_cast<unsigned char>(glyph.bytes[1])) << 8);
                const UINT index = FindGlyph(code);
                // A glyph that could not be rendered draws nothing rather than another one.
                if (index >= cacheEntryCount || cacheEntries[index].code != code) {
                    return D3D_OK;
                }
                source = cache;
                from = cacheEntries[index].cell;
            }
            RECT dest{left, top, left + (from.right - from.left), top + (from.bottom - from.top)};
            if (!ClipGlyph(area, &dest, &from)) {
                return D3D_OK;
            }
            return source->DrawRect(&dest, &from, glyph.colour);
        },
        [] {});
    if (FAILED(hr)) {
        return LogDeviceError("D3DFont::Draw", hr);
    }
    return hr;
}

void D3DFont::GetTextExtent(SIZE* size, const char* text) {
    if (size == nullptr) {
        return;
    }
    *size = SIZE{0, 0};
    if (text == nullptr || glyphRects.empty()) {
        return;
    }
    const RECT& space = glyphRects[0];
    const LONG lineHeight = space.bottom - space.top;
    bool lineHasGlyph = false;
    WalkText(
        *this, text,
        [&](const TextGlyph& glyph) -> HRESULT {
            lineHasGlyph = true;
            size->cx = std::max<LONG>(size->cx, glyph.penX + glyph.advance);
            return D3D_OK;
        },
        [&] {
            if (lineHasGlyph) {
                size->cy += lineHeight;
            }
            lineHasGlyph = false;
        });
    if (lineHasGlyph) {
        size->cy += lineHeight;
    }
}
