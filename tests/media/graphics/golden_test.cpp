// Drawing through textures, planes, fills and fonts, compared byte for byte with golden images.

#include <cmath>

#include "graphics_fixture.h"
#include "media/graphics/d3d_functions.h"
#include "media/graphics/font.h"
#include "media/graphics/plane.h"
#include "media/graphics/texture.h"
#include "platform/d3dx/matrix.h"

namespace graphics_tests {
namespace {

constexpr const char kGothicFace[] = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";

class GoldenTest : public GraphicsTest {
protected:
    // A checker of two greys with coloured bars, so blending shows against several colours.
    void FillPattern() {
        device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF404040u, 1.0f, 0);
        for (int y = 0; y < height_; y += 8) {
            for (int x = (y / 8) % 2 * 8; x < width_; x += 16) {
                const FloatRect cell(x, y, x + 8, y + 8);
                ASSERT_EQ(D3D_ColorFill(&cell, 0xFFC0C0C0u), D3D_OK);
            }
        }
        const D3DCOLOR bars[] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu};
        for (int i = 0; i < 3; ++i) {
            const FloatRect bar(0, 10 + i * 20, width_, 14 + i * 20);
            ASSERT_EQ(D3D_ColorFill(&bar, bars[i]), D3D_OK);
        }
    }

    // 32 x 32: hue across, alpha rising downwards from 0x20 to 0xFF, an opaque white corner
    // mark so that orientation shows.
    D3DTexture* LoadTranslucent() {
        const auto image = MakeImage(32, 32, [](int x, int y) -> std::uint32_t {
            if (x < 6 && y < 6) {
                return 0xFFFFFFFFu;
            }
            const std::uint32_t alpha = 0x20u + static_cast<std::uint32_t>(y) * 7u;
            const std::uint32_t r = static_cast<std::uint32_t>(255 - x * 8);
            const std::uint32_t b = static_cast<std::uint32_t>(x * 8);
            return (alpha << 24) | (r << 16) | (0x80u << 8) | b;
        });
        const std::string path = WriteImage("translucent.png", 32, 32, image);
        D3DTexture* texture = nullptr;
        EXPECT_EQ(D3D_LoadTexture(path.c_str(), &texture, 0, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED,
                                  D3DX_FILTER_NONE),
                  D3D_OK);
        return texture;
    }

    D3DFont* MakeFont(LONG height, BYTE charSet, const char* face, LONG weight = FW_NORMAL) {
        LOGFONTA lf{};
        lf.lfHeight = height;
        lf.lfWeight = weight;
        lf.lfCharSet = charSet;
        std::snprintf(lf.lfFaceName, sizeof(lf.lfFaceName), "%s", face);
        D3DFont* font = nullptr;
        EXPECT_EQ(D3D_CreateFont(&font, &lf, 256), D3D_OK);
        return font;
    }
};

TEST_F(GoldenTest, BlendPairsOfTheGame) {
    StartDevice(6 * 40, 64);
    FillPattern();
    D3DTexture* texture = LoadTranslucent();
    // Alpha, additive, inverse colour, additive by alpha, multiply, opaque copy.
    const std::pair<DWORD, DWORD> pairs[] = {
        {D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA}, {D3DBLEND_ONE, D3DBLEND_ONE},
        {D3DBLEND_ZERO, D3DBLEND_INVSRCCOLOR},     {D3DBLEND_SRCALPHA, D3DBLEND_ONE},
        {D3DBLEND_DESTCOLOR, D3DBLEND_ZERO},       {D3DBLEND_ONE, D3DBLEND_ZERO}};
    int x = 4;
    for (const auto& [source, dest] : pairs) {
        SetBlend(source, dest);
        ASSERT_EQ(texture->DrawAt(x, 4, nullptr, 0xFFFFFFFFu), D3D_OK);
        // The same through a half-transparent vertex colour.
        ASSERT_EQ(texture->DrawAt(x, 36, nullptr, 0x80FFFFFFu), D3D_OK);
        x += 40;
    }
    ExpectGolden("graphics_blend_pairs");
    texture->Release();
}

TEST_F(GoldenTest, RotatedScaledAndMirroredPlanes) {
    StartDevice(200, 80);
    FillPattern();
    D3DTexture* texture = LoadTranslucent();
    const struct {
        float x;
        float sx;
        float sy;
        float rotation;
    } placements[] = {{24, 1, 1, 0},
                      {64, -1, 1, 0},
                      {104, 1, -1, 0},
                      {144, 1.5f, 0.75f, D3DX_PI / 6},
                      {180, -0.5f, 0.5f, -D3DX_PI / 4}};
    for (const auto& p : placements) {
        D3DPlane* plane = nullptr;
        ASSERT_EQ(D3D_CreatePlaneFromTexture(texture, &plane, nullptr, 0, D3DPOOL_SYSTEMMEM),
                  D3D_OK);
        plane->SetPivot(16, 16);
        plane->SetPosition(p.x, 40.0f, 0.0f);
        plane->SetScale(p.sx, p.sy);
        plane->SetRotation(p.rotation);
        ASSERT_EQ(plane->Draw(), D3D_OK);
        plane->Release();
    }
    ExpectGolden("graphics_plane_transforms");
    texture->Release();
}

TEST_F(GoldenTest, PlaneAlphaFade) {
    StartDevice(160, 48);
    FillPattern();
    D3DPlane* plane = nullptr;
    ASSERT_EQ(D3D_CreateTexturePlane(32, 32, &plane, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8,
                                     D3DPOOL_DEFAULT),
              D3D_OK);
    ASSERT_EQ(plane->texture->ColorFill(nullptr, 0xFF2060E0u), D3D_OK);
    plane->SetColor(0xFFFFC080u);  // tints the picture
    int x = 4;
    for (const BYTE alpha : {0xFF, 0xC0, 0x80, 0x40, 0x00}) {
        plane->SetAlpha(alpha);
        plane->SetPosition(x, 8);
        ASSERT_EQ(plane->Draw(), D3D_OK);
        x += 32;
    }
    ExpectGolden("graphics_plane_fade");
    plane->Release();
}

TEST_F(GoldenTest, TranslucentColorFill) {
    StartDevice(96, 64);
    FillPattern();
    ASSERT_EQ(D3D_ColorFill(nullptr, 0x80000080u), D3D_OK);
    const RECT box{20, 16, 76, 48};
    ASSERT_EQ(D3D_ColorFillRect(&box, 0x40FFFF00u), D3D_OK);
    ExpectGolden("graphics_translucent_fill");
    // Fills are not shifted by half a pixel: the box covers exactly its rectangle.
    device()->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
    ASSERT_EQ(D3D_ColorFillRect(&box, 0xFFFFFFFFu), D3D_OK);
    EXPECT_EQ(PixelAt(20, 16), 0xFFFFFFFFu);
    EXPECT_EQ(PixelAt(75, 47), 0xFFFFFFFFu);
    EXPECT_EQ(PixelAt(19, 16), 0xFF000000u);
    EXPECT_EQ(PixelAt(76, 47), 0xFF000000u);
}

TEST_F(GoldenTest, TextWithMarkupInBothAtlasAndCache) {
    StartDevice(320, 96);
    device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF203040u, 1.0f, 0);
    D3DFont* gothic = MakeFont(20, SHIFTJIS_CHARSET, kGothicFace);
    D3DFont* sans = MakeFont(16, ANSI_CHARSET, "Arial", FW_BOLD);
    // "Text [ff8000]日本語[] and \[kana\]" and a line of kana with a half-transparent colour.
    const char* sjis =
        "Text [ff8000]\x93\xfa\x96\x7b\x8c\xea[] and \\[kana\\]\n"
        "\x82\xa0\x82\xa2\x82\xa4[80FFFF]\x83\x41\x83\x43\x83\x45[]!";
    ASSERT_EQ(gothic->Draw(4, 4, sjis, nullptr), D3D_OK);
    sans->SetColor(0xC0FFFFFFu);
    ASSERT_EQ(sans->Draw(4, 56, "Sans [00FF00]green[] Bold\\\\", nullptr), D3D_OK);
    const RECT clip{4, 76, 60, 84};
    ASSERT_EQ(sans->Draw(4, 72, "Clipped text", &clip), D3D_OK);
    ExpectGolden("graphics_text");
}

TEST_F(GoldenTest, SixteenBitBackBuffer) {
    // A 16-bit desktop, so that a window can take a 16-bit back buffer.
    d3d9_test::AdapterTable table = d3d9_test::DefaultAdapterTable();
    table.desktop.Format = D3DFMT_R5G6B5;
    d3d9_test::SetAdapterTable(table);
    StartDevice(128, 64, D3DFMT_R5G6B5);
    ASSERT_EQ(D3DApp->presentParameters.BackBufferFormat, D3DFMT_R5G6B5);
    FillPattern();
    D3DTexture* texture = LoadTranslucent();
    ASSERT_EQ(texture->DrawAt(8, 8, nullptr, 0xFFFFFFFFu), D3D_OK);
    ASSERT_EQ(D3D_ColorFill(nullptr, 0x30FF00FFu), D3D_OK);
    D3DFont* sans = MakeFont(14, ANSI_CHARSET, "Arial");
    ASSERT_EQ(sans->Draw(48, 20, "R5G6B5", nullptr), D3D_OK);
    ExpectGolden("graphics_r5g6b5_backbuffer");
    texture->Release();
}

}  // namespace
}  // namespace graphics_tests
