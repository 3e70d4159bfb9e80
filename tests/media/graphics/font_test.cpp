// Fonts: the atlas, the glyph cache, colour markup, sharing, extents and bad input.

#include <string>

#include "graphics_fixture.h"
#include "media/graphics/font.h"
#include "media/graphics/texture.h"

namespace graphics_tests {
namespace {

// "ＭＳ ゴシック" in Shift-JIS: drawn from a fixed font file.
constexpr const char kGothicFace[] = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";

LOGFONTA MakeLogFont(LONG height, LONG width, BYTE charSet, const char* face) {
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = charSet;
    std::snprintf(lf.lfFaceName, sizeof(lf.lfFaceName), "%s", face);
    return lf;
}

class FontTest : public GraphicsTest {
protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        StartDevice(256, 96);
        device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
    }

    D3DFont* MakeFont(LONG height, LONG width, BYTE charSet, const char* face) {
        const LOGFONTA lf = MakeLogFont(height, width, charSet, face);
        D3DFont* font = nullptr;
        EXPECT_EQ(D3D_CreateFont(&font, &lf, 256), D3D_OK);
        return font;
    }

    // The brightest red and green found in columns [left, right) of the frame.
    std::pair<int, int> PeakRedGreen(const std::vector<std::uint32_t>& pixels, int left,
                                     int right) {
        int red = 0;
        int green = 0;
        for (int y = 0; y < height_; ++y) {
            for (int x = left; x < right; ++x) {
                const std::uint32_t p = pixels[static_cast<std::size_t>(y) * width_ + x];
                red = std::max(red, static_cast<int>((p >> 16) & 0xFF));
                green = std::max(green, static_cast<int>((p >> 8) & 0xFF));
            }
        }
        return {red, green};
    }

    // First and last rows holding a lit pixel; (-1, -1) when none.
    std::pair<int, int> LitRows() {
        const auto pixels = ReadTarget();
        int first = -1;
        int last = -1;
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                if ((pixels[static_cast<std::size_t>(y) * width_ + x] & 0xFFFFFFu) != 0) {
                    first = first < 0 ? y : first;
                    last = y;
                    break;
                }
            }
        }
        return {first, last};
    }
};

TEST_F(FontTest, AtlasGrowsUntilEveryCharacterFits) {
    D3DFont* small = MakeFont(8, 0, ANSI_CHARSET, "Arial");
    D3DFont* large = MakeFont(24, 0, ANSI_CHARSET, "Arial");
    ASSERT_NE(small->atlas, nullptr);
    ASSERT_NE(large->atlas, nullptr);
    EXPECT_EQ(small->atlas->width, 128u);
    EXPECT_EQ(large->atlas->width, 256u);
    EXPECT_STREQ(large->atlas->GetName(nullptr), "ANSI:Arial(24)");
    EXPECT_EQ(large->cache, nullptr);
    EXPECT_EQ(large->logFont.lfWidth, 12);
    // Every glyph lies inside the atlas and none overlaps the next one in its row.
    for (int i = 0; i < kAtlasGlyphCount; ++i) {
        const RECT& r = large->glyphRects[i];
        EXPECT_LE(r.right, 256) << i;
        EXPECT_LE(r.bottom, 256) << i;
        if (i > 0 && large->glyphRects[i - 1].top == r.top) {
            EXPECT_EQ(large->glyphRects[i - 1].right, r.left) << i;
        }
    }
    small->Release();
    large->Release();
}

TEST_F(FontTest, GlyphCacheReplacesItsFirstGlyphAfterAHundred) {
    D3DFont* font = MakeFont(24, 12, SHIFTJIS_CHARSET, kGothicFace);
    ASSERT_NE(font->cache, nullptr);
    EXPECT_EQ(font->cellWidth, 24u);
    EXPECT_EQ(font->cellHeight, 24u);
    EXPECT_EQ(font->cacheEntryCount, 100u);
    EXPECT_STREQ(font->cache->GetName(nullptr),
                 "SJIS:\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E( 12, 24 )");

    // 101 different hiragana and katakana; the first is drawn again in every frame.
    std::vector<std::string> characters;
    for (int trail = 0x9F; trail <= 0xF1; ++trail) {
        characters.push_back({'\x82', static_cast<char>(trail)});
    }
    for (int trail = 0x40; characters.size() < 101; ++trail) {
        characters.push_back({'\x83', static_cast<char>(trail)});
    }
    auto code = [](const std::string& c) {
        return static_cast<DWORD>(static_cast<unsigned char>(c[0])) |
               (static_cast<DWORD>(static_cast<unsigned char>(c[1])) << 8);
    };
    for (std::size_t i = 0; i < characters.size(); ++i) {
        const std::string text = characters[0] + characters[i];
        ASSERT_EQ(font->Draw(0, 0, text.c_str(), nullptr), D3D_OK) << i;
        if (i == 99) {
            EXPECT_EQ(font->cacheEntries[0].code, code(characters[0]));
            EXPECT_EQ(font->cacheEntries[99].code, code(characters[99]));
        }
    }
    EXPECT_EQ(font->cacheEntries[0].code, code(characters[100]));
    for (UINT i = 0; i < font->cacheEntryCount; ++i) {
        EXPECT_NE(font->cacheEntries[i].code, code(characters[0])) << i;
    }
    // Cell 13 sits in the second row, fourth column.
    EXPECT_EQ(font->cacheEntries[13].cell.left, 72);
    EXPECT_EQ(font->cacheEntries[13].cell.top, 24);
    font->Release();
}

TEST_F(FontTest, ColourMarkup) {
    D3DFont* font = MakeFont(20, 0, ANSI_CHARSET, "Arial");
    font->SetColor(0xFF00FF00u);
    SIZE p{};
    SIZE pq{};
    font->GetTextExtent(&p, "p");
    font->GetTextExtent(&pq, "p[FF0000]q");
    ASSERT_EQ(font->Draw(0, 0, "p[FF0000]q[]r", nullptr), D3D_OK);
    auto pixels = ReadTarget();
    EXPECT_EQ(PeakRedGreen(pixels, 0, p.cx - 1), std::make_pair(0, 255));
    EXPECT_EQ(PeakRedGreen(pixels, p.cx + 1, pq.cx - 1), std::make_pair(255, 0));
    EXPECT_EQ(PeakRedGreen(pixels, pq.cx + 1, pq.cx + 10), std::make_pair(0, 255));

    // The alpha of a markup colour is ignored: the text is drawn opaque.
    device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
    ASSERT_EQ(font->Draw(0, 0, "[80FF0000]q", nullptr), D3D_OK);
    EXPECT_EQ(PeakRedGreen(ReadTarget(), 0, 20), std::make_pair(255, 0));

    // A backslash makes the next character plain; markup and backslashes at the very end stop
    // at the terminator (the heap copies let the address sanitizer see any read past it).
    SIZE bracket{};
    SIZE escaped{};
    font->GetTextExtent(&bracket, "[");
    EXPECT_EQ(bracket.cx, 0);
    font->GetTextExtent(&escaped, "\\[");
    EXPECT_EQ(escaped.cx, font->glyphRects['[' - 0x20].right - font->glyphRects['[' - 0x20].left);
    for (const char* tail : {"ab[", "ab[12", "ab\\", "ab[12]", "\\\\"}) {
        const std::string text(tail);
        EXPECT_EQ(font->Draw(0, 40, text.c_str(), nullptr), D3D_OK) << tail;
        SIZE size{};
        font->GetTextExtent(&size, text.c_str());
        EXPECT_GT(size.cx, 0) << tail;
    }
    font->Release();
}

TEST_F(FontTest, FontsAreSharedOnlyForIdenticalDescriptions) {
    D3DFont* a = MakeFont(20, 10, ANSI_CHARSET, "Arial");
    D3DFont* b = MakeFont(20, 10, ANSI_CHARSET, "Arial");
    EXPECT_EQ(a, b);
    EXPECT_EQ(a->refCount, 2u);
    D3DFont* c = MakeFont(20, 0, ANSI_CHARSET, "Arial");
    D3DFont* d = MakeFont(20, 0, ANSI_CHARSET, "Arial");
    EXPECT_NE(c, d);
    EXPECT_NE(c, a);
    EXPECT_EQ(FontList().size(), 3u);
    D3D_ReleaseAllFonts();
    EXPECT_TRUE(FontList().empty());
}

TEST_F(FontTest, ExtentCountsOnlyLinesWithTextWhileDrawAdvancesEveryLine) {
    D3DFont* font = MakeFont(16, 0, ANSI_CHARSET, "Arial");
    const LONG line = font->glyphRects[0].bottom - font->glyphRects[0].top;
    SIZE size{};
    font->GetTextExtent(&size, "A\n\nB");
    EXPECT_EQ(size.cy, 2 * line);
    font->GetTextExtent(&size, "");
    EXPECT_EQ(size.cx, 0);
    EXPECT_EQ(size.cy, 0);
    font->GetTextExtent(&size, "[FF0000]\nA");
    EXPECT_EQ(size.cy, line);

    ASSERT_EQ(font->Draw(0, 0, "\n\nB", nullptr), D3D_OK);
    const auto rows = LitRows();
    EXPECT_GE(rows.first, 2 * line);
    EXPECT_LT(rows.second, 3 * line);
    font->Release();
}

TEST_F(FontTest, DrawClipsAndSkipsTextOutsideTheTarget) {
    D3DFont* font = MakeFont(16, 0, ANSI_CHARSET, "Arial");
    const RECT clip{0, 0, 256, 8};
    ASSERT_EQ(font->Draw(0, 0, "MMMM", &clip), D3D_OK);
    const auto rows = LitRows();
    EXPECT_GE(rows.first, 0);
    EXPECT_LT(rows.second, 8);
    EXPECT_EQ(font->Draw(1000, 0, "M", nullptr), D3D_OK);
    font->Release();
}

TEST_F(FontTest, BadDescriptionsAreRefused) {
    const struct {
        const char* label;
        LONG height;
        HRESULT expected;
    } cases[] = {{"zero height", 0, E_INVALIDARG},
                 {"negative height", -12, E_INVALIDARG},
                 {"no glyphs at that size", 5000, E_FAIL}};
    for (const auto& c : cases) {
        const LOGFONTA lf = MakeLogFont(c.height, 0, ANSI_CHARSET, "Arial");
        D3DFont* font = nullptr;
        EXPECT_EQ(D3D_CreateFont(&font, &lf, 256), c.expected) << c.label;
        ASSERT_NE(font, nullptr) << c.label;
        SIZE size{1, 1};
        font->GetTextExtent(&size, "abc");
        EXPECT_EQ(size.cx, 0) << c.label;
        EXPECT_EQ(font->Draw(0, 0, "abc", nullptr), E_FAIL) << c.label;
        // A failed font is never handed to a later request.
        D3DFont* again = nullptr;
        D3D_CreateFont(&again, &lf, 256);
        EXPECT_NE(again, font) << c.label;
        again->Release();
        font->Release();
    }
    EXPECT_EQ(CountLogLines("D3DFont::Create: E_INVALIDARG"), 4);
    EXPECT_EQ(CountLogLines("D3DFont::Create: E_FAIL"), 2);
}

}  // namespace
}  // namespace graphics_tests
