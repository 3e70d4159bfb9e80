#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gdi_test_helpers.h"
#include "platform/gdi/gdi.h"
#include "support/golden_image.h"

using namespace gdi_test;

namespace {

// A memory context with a white-on-black font selected into a top-down (or bottom-up) DIB.
class TextCanvas {
public:
    TextCanvas(int width, int height, const LOGFONTA& lf, bool topDown = true)
        : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = topDown ? -height : height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        font_ = CreateFontIndirectA(&lf);
        oldBitmap_ = SelectObject(dc_, bitmap_);
        oldFont_ = SelectObject(dc_, font_);
        SetMapMode(dc_, MM_TEXT);
        SetTextColor(dc_, RGB(255, 255, 255));
        SetBkColor(dc_, RGB(0, 0, 0));
        SetTextAlign(dc_, TA_TOP | TA_LEFT);
    }
    ~TextCanvas() {
        SelectObject(dc_, oldFont_);
        SelectObject(dc_, oldBitmap_);
        DeleteObject(font_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    bool Valid() const { return dc_ && bitmap_ && font_ && bits_; }
    HDC dc() const { return dc_; }
    std::uint32_t Pixel(int x, int y) const {
        return static_cast<const std::uint32_t*>(bits_)[y * width_ + x];
    }
    bool Draw(int x, int y, const std::string& text, UINT options = ETO_OPAQUE,
              const RECT* rect = nullptr) {
        return ExtTextOutA(dc_, x, y, options, rect, text.data(), static_cast<UINT>(text.size()),
                           nullptr) != FALSE;
    }
    // The DIB made opaque, for a golden image that viewers show as it is.
    std::string CompareWithGolden(const std::string& name) const {
        std::vector<std::uint32_t> opaque(
            static_cast<const std::uint32_t*>(bits_),
            static_cast<const std::uint32_t*>(bits_) + width_ * height_);
        for (std::uint32_t& p : opaque) {
            p |= 0xFF000000u;
        }
        return qvn::test::CompareImageWithGolden(name, width_, height_, opaque.data(), width_);
    }

private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HFONT font_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    HGDIOBJ oldFont_ = nullptr;
    void* bits_ = nullptr;
};

TEST(GdiTextOutput, MatchesGoldenImagesForEachFace) {
    struct Case {
        const char* golden;
        const char* face;
        LONG weight;
    };
    const Case cases[] = {
        {"gdi_gothic", kGothic, FW_NORMAL},
        {"gdi_gothic_bold", kGothic, FW_BOLD},
        {"gdi_proportional_gothic", kProportionalGothic, FW_NORMAL},
        {"gdi_arial", "Arial", FW_NORMAL},
        {"gdi_arial_bold", "Arial", FW_BOLD},
    };
    // "Text: 漢字とかな、ｶﾀｶﾅ" then the ASCII range's punctuation.
    const std::string japanese =
        std::string("Text: ") + kKanji + "\x82\xC6\x82\xA9\x82\xC8\x81\x41\xB6\xC0\xB6\xC5";
    const std::string ascii = "AaBbQq 0123 !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~";
    for (const Case& c : cases) {
        TextCanvas canvas(320, 48, MakeLogFont(c.face, 20, c.weight));
        ASSERT_TRUE(canvas.Valid()) << c.golden;
        EXPECT_TRUE(canvas.Draw(2, 2, japanese)) << c.golden;
        EXPECT_TRUE(canvas.Draw(2, 24, ascii)) << c.golden;
        EXPECT_EQ(canvas.CompareWithGolden(c.golden), "") << c.golden;
    }
}

TEST(GdiTextOutput, WhiteOnBlackGivesGreyLevelsInsideTheTextBox) {
    TextCanvas canvas(64, 32, MakeLogFont(kGothic, 20));
    ASSERT_TRUE(canvas.Valid());
    ASSERT_TRUE(canvas.Draw(4, 4, kHiraganaA));
    int inked = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 64; ++x) {
            const std::uint32_t p = canvas.Pixel(x, y);
            const std::uint32_t b = p & 0xFF;
            EXPECT_EQ(p, (b << 16) | (b << 8) | b) << x << "," << y;
            if (b != 0) {
                ++inked;
                EXPECT_TRUE(x >= 4 && x < 24 && y >= 4 && y < 24) << x << "," << y;
            }
        }
    }
    EXPECT_GT(inked, 40);
}

TEST(GdiTextOutput, OpaqueRectangleAndBackgroundModes) {
    TextCanvas canvas(40, 30, MakeLogFont(kGothic, 10));
    ASSERT_TRUE(canvas.Valid());
    SetBkColor(canvas.dc(), RGB(0x10, 0x20, 0x30));
    const RECT fill{5, 6, 15, 9};
    ASSERT_TRUE(canvas.Draw(0, 20, "", ETO_OPAQUE, &fill));
    EXPECT_EQ(canvas.Pixel(5, 6), 0x102030u);
    EXPECT_EQ(canvas.Pixel(14, 8), 0x102030u);
    EXPECT_EQ(canvas.Pixel(15, 8), 0u);
    EXPECT_EQ(canvas.Pixel(14, 9), 0u);

    // An opaque background fills the text's box (here 2 x 5 by 10 pixels) before the glyphs.
    ASSERT_TRUE(canvas.Draw(20, 0, "  "));
    EXPECT_EQ(canvas.Pixel(20, 0), 0x102030u);
    EXPECT_EQ(canvas.Pixel(29, 9), 0x102030u);
    EXPECT_EQ(canvas.Pixel(30, 9), 0u);
    EXPECT_EQ(SetBkMode(canvas.dc(), TRANSPARENT), OPAQUE);
    ASSERT_TRUE(canvas.Draw(0, 0, "  "));
    EXPECT_EQ(canvas.Pixel(0, 0), 0u);
}

TEST(GdiTextOutput, TextIsClippedToTheBitmapAndToAClipRectangle) {
    TextCanvas canvas(16, 16, MakeLogFont(kGothic, 20));
    ASSERT_TRUE(canvas.Valid());
    for (const auto& [x, y] : {std::pair{-30, -30}, {-10, 5}, {10, -15}, {12, 12}, {5000, 5000}}) {
        EXPECT_TRUE(canvas.Draw(x, y, std::string(kKanji) + "W")) << x << "," << y;
    }
    TextCanvas clipped(32, 32, MakeLogFont(kGothic, 20));
    const RECT clip{0, 0, 8, 32};
    ASSERT_TRUE(clipped.Draw(0, 0, "WW", ETO_CLIPPED, &clip));
    for (int y = 0; y < 32; ++y) {
        for (int x = 8; x < 32; ++x) {
            EXPECT_EQ(clipped.Pixel(x, y), 0u) << x << "," << y;
        }
    }
}

TEST(GdiTextOutput, BottomUpBitmapsStoreTheLastRowFirst) {
    TextCanvas topDown(24, 24, MakeLogFont(kGothic, 20), true);
    TextCanvas bottomUp(24, 24, MakeLogFont(kGothic, 20), false);
    ASSERT_TRUE(topDown.Draw(2, 2, kHiraganaA));
    ASSERT_TRUE(bottomUp.Draw(2, 2, kHiraganaA));
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 24; ++x) {
            EXPECT_EQ(topDown.Pixel(x, y), bottomUp.Pixel(x, 23 - y)) << x << "," << y;
        }
    }
}

TEST(GdiTextOutput, RefusesUnknownContextsAndMissingText) {
    TextCanvas canvas(8, 8, MakeLogFont(kGothic, 8));
    EXPECT_FALSE(ExtTextOutA(canvas.dc(), 0, 0, 0, nullptr, nullptr, 3, nullptr));
    EXPECT_TRUE(ExtTextOutA(canvas.dc(), 0, 0, 0, nullptr, nullptr, 0, nullptr));
    EXPECT_FALSE(ExtTextOutA(reinterpret_cast<HDC>(0x12345), 0, 0, 0, nullptr, "a", 1, nullptr));
}

}  // namespace
