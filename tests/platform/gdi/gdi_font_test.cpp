#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "gdi_test_helpers.h"
#include "platform/gdi/gdi.h"

using namespace gdi_test;

namespace {

SIZE Extent(const LOGFONTA& lf, const std::string& text) {
    HFONT font = CreateFontIndirectA(&lf);
    EXPECT_NE(font, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{-1, -1};
    EXPECT_TRUE(GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(font);
    return size;
}

TEST(GdiFont, RefusesHeightsOfZeroAndBelow) {
    for (LONG height : {0, -1, -20}) {
        LOGFONTA lf = MakeLogFont(kGothic, height);
        EXPECT_EQ(CreateFontIndirectA(&lf), nullptr) << "height " << height;
    }
    EXPECT_EQ(CreateFontIndirectA(nullptr), nullptr);
}

TEST(GdiFont, FixedPitchGothicMeasuresHalfAndFullWidthFromTheHeight) {
    struct Case {
        const char* name;
        LONG height;
        LONG width;
        LONG weight;
        std::string text;
        LONG expectedWidth;
    };
    const Case cases[] = {
        {"one half-width letter", 20, 0, FW_NORMAL, "A", 10},
        {"one full-width letter", 20, 0, FW_NORMAL, kHiraganaA, 20},
        {"mixed text", 24, 0, FW_NORMAL, std::string("Ab") + kKanji, 12 * 2 + 24 * 2},
        {"bold adds a pixel per character", 20, 0, FW_BOLD, std::string("AB") + kHiraganaA,
         11 * 2 + 21},
        {"a given width sets the half-width", 20, 8, FW_NORMAL, std::string("A") + kHiraganaA,
         8 + 16},
        {"empty text", 20, 0, FW_NORMAL, "", 0},
    };
    for (const Case& c : cases) {
        const SIZE size =
            Extent(MakeLogFont(kGothic, c.height, c.weight, SHIFTJIS_CHARSET, c.width), c.text);
        EXPECT_EQ(size.cx, c.expectedWidth) << c.name;
        EXPECT_EQ(size.cy, c.height) << c.name;
    }
}

TEST(GdiFont, ProportionalFacesGiveNarrowAndWideLetters) {
    for (const char* face : {kProportionalGothic, "Arial"}) {
        const LOGFONTA lf = MakeLogFont(face, 20);
        const SIZE narrow = Extent(lf, "i");
        const SIZE wide = Extent(lf, "W");
        EXPECT_LT(narrow.cx, wide.cx) << face;
        EXPECT_GT(narrow.cx, 0) << face;
        EXPECT_GE(narrow.cy, 20) << face;
        EXPECT_EQ(Extent(lf, "iW").cx, narrow.cx + wide.cx) << face;
    }
}

TEST(GdiFont, UnknownFacesAndBrokenDoubleByteTextStillMeasure) {
    // A lead byte at the end and an unassigned code are characters of their own.
    const LOGFONTA lf = MakeLogFont("No Such Face", 16);
    const SIZE size = Extent(lf, std::string("a\x82", 2));
    EXPECT_GT(size.cx, 0);
    EXPECT_GT(size.cy, 0);
    const SIZE unassigned = Extent(MakeLogFont(kGothic, 16), "\x85\x40");
    EXPECT_GT(unassigned.cx, 0);
}

TEST(GdiFont, MeasuringRefusesBadArguments) {
    LOGFONTA lf = MakeLogFont(kGothic, 16);
    HFONT font = CreateFontIndirectA(&lf);
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, font);
    SIZE size{};
    EXPECT_FALSE(GetTextExtentPoint32A(dc, "a", -1, &size));
    EXPECT_FALSE(GetTextExtentPoint32A(dc, nullptr, 3, &size));
    EXPECT_FALSE(GetTextExtentPoint32A(dc, "a", 1, nullptr));
    EXPECT_TRUE(GetTextExtentPoint32A(dc, nullptr, 0, &size));
    EXPECT_EQ(size.cx, 0);
    DeleteDC(dc);
    EXPECT_FALSE(GetTextExtentPoint32A(dc, "a", 1, &size));
    DeleteObject(font);
}

TEST(GdiObjects, HandlesAreCheckedAndSelectedObjectsOutliveDeletion) {
    LOGFONTA lf = MakeLogFont(kGothic, 16);
    HFONT font = CreateFontIndirectA(&lf);
    ASSERT_NE(font, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    HGDIOBJ stock = SelectObject(dc, font);
    EXPECT_NE(stock, nullptr);
    EXPECT_FALSE(DeleteObject(stock)) << "stock objects are never deleted";
    EXPECT_TRUE(DeleteObject(font));
    EXPECT_FALSE(DeleteObject(font)) << "a second delete of the same handle";
    SIZE size{};
    EXPECT_TRUE(GetTextExtentPoint32A(dc, "AB", 2, &size));
    EXPECT_EQ(size.cx, 16);
    EXPECT_EQ(SelectObject(dc, font), nullptr) << "a deleted handle cannot be selected";
    EXPECT_EQ(SelectObject(dc, stock), reinterpret_cast<HGDIOBJ>(font));
    EXPECT_EQ(SetMapMode(dc, MM_TEXT), MM_TEXT);
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_FALSE(DeleteDC(dc));
    EXPECT_EQ(SelectObject(dc, stock), nullptr);
    EXPECT_EQ(SetTextColor(dc, RGB(1, 2, 3)), CLR_INVALID);
    EXPECT_EQ(SetBkMode(dc, OPAQUE), 0);
}

TEST(GdiObjects, DibSectionsAreThirtyTwoBitAndBounded) {
    struct Case {
        const char* name;
        LONG width;
        LONG height;
        WORD bits;
        bool valid;
    };
    const Case cases[] = {
        {"top-down", 8, -4, 32, true},        {"bottom-up", 8, 4, 32, true},
        {"24-bit", 8, 4, 24, false},          {"zero width", 0, 4, 32, false},
        {"zero height", 8, 0, 32, false},     {"negative width", -8, 4, 32, false},
        {"huge", 100000, -100000, 32, false},
    };
    for (const Case& c : cases) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = c.width;
        info.bmiHeader.biHeight = c.height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = c.bits;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = reinterpret_cast<void*>(1);
        HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        EXPECT_EQ(bitmap != nullptr, c.valid) << c.name;
        EXPECT_EQ(bits != nullptr, c.valid) << c.name;
        if (bitmap != nullptr) {
            const auto* pixels = static_cast<const std::uint32_t*>(bits);
            for (LONG i = 0; i < c.width * (c.height < 0 ? -c.height : c.height); ++i) {
                EXPECT_EQ(pixels[i], 0u) << c.name;
            }
            EXPECT_TRUE(DeleteObject(bitmap));
        }
    }
}

}  // namespace
