// Drawings compared with golden images: the blend pairs of the game, sampling modes, moved
// quads, translucent fills and a 16-bit back buffer.

#include <cmath>

#include "device_fixture.h"
#include "support/golden_image.h"

namespace d3d9_tests {
namespace {

class GoldenRenderTest : public DeviceTest {
protected:
    // Opaque backdrop: a checkerboard over a horizontal ramp.
    void DrawBackdrop(float left, float top, float size) {
        IDirect3DTexture9* backdrop = MakeTexture(32, 32, [](int x, int y) {
            const bool dark = ((x / 4) + (y / 4)) % 2 == 0;
            const auto ramp = static_cast<std::uint32_t>(x * 8);
            return dark ? 0xFF203050u | ramp << 16 : 0xFFC0C040u | ramp;
        });
        device_->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
        device_->SetTexture(0, backdrop);
        DrawQuad(left, top, left + size, top + size, 0xFFFFFFFFu);
        device_->SetTexture(0, nullptr);
        backdrop->Release();
    }

    void Use2dStates() {
        device_->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
        device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
        device_->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    }

    void ExpectGolden(const char* name) {
        const std::vector<std::uint32_t> pixels = ReadTarget();
        EXPECT_EQ(qvn::test::CompareImageWithGolden(name, width_, height_, pixels.data(), width_),
                  "");
    }
};

TEST_F(GoldenRenderTest, BlendPairsOverAPattern) {
    MakeDevice(7 * 40, 40);
    Use2dStates();
    device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
    IDirect3DTexture9* translucent = MakeTexture(32, 32, [](int x, int y) {
        const auto alpha = static_cast<std::uint32_t>((x + y) * 4);
        return alpha << 24 | static_cast<std::uint32_t>(x * 8) << 16 |
               static_cast<std::uint32_t>(y * 8) << 8 | 0x60u;
    });
    const DWORD pairs[7][2] = {{D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA},
                               {D3DBLEND_ONE, D3DBLEND_ONE},
                               {D3DBLEND_ZERO, D3DBLEND_INVSRCCOLOR},
                               {D3DBLEND_SRCALPHA, D3DBLEND_ONE},
                               {D3DBLEND_DESTCOLOR, D3DBLEND_ZERO},
                               {D3DBLEND_ZERO, D3DBLEND_SRCCOLOR},
                               {D3DBLEND_ONE, D3DBLEND_ZERO}};
    for (int i = 0; i < 7; ++i) {
        const float left = static_cast<float>(i * 40);
        DrawBackdrop(left, 0, 40);
        SetAlphaBlend(pairs[i][0], pairs[i][1]);
        device_->SetTexture(0, translucent);
        DrawQuad(left + 4, 4, left + 36, 36, 0xFFFFFFFFu);
    }
    device_->SetTexture(0, nullptr);
    translucent->Release();
    ExpectGolden("d3d9_blend_pairs");
}

TEST_F(GoldenRenderTest, PointAndBilinearWithClampAndWrap) {
    MakeDevice(4 * 64, 64);
    Use2dStates();
    device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF404040u, 1.0f, 0);
    IDirect3DTexture9* texture = MakeTexture(4, 4, [](int x, int y) {
        static const std::uint32_t colours[4] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu,
                                                 0xFFFFFFFFu};
        return colours[(x + y) % 4] ^ (x == y ? 0x00000000u : 0x00303030u);
    });
    device_->SetTexture(0, texture);
    const DWORD filters[2] = {D3DTEXF_POINT, D3DTEXF_LINEAR};
    const DWORD addresses[2] = {D3DTADDRESS_CLAMP, D3DTADDRESS_WRAP};
    for (int f = 0; f < 2; ++f) {
        for (int a = 0; a < 2; ++a) {
            device_->SetSamplerState(0, D3DSAMP_MAGFILTER, filters[f]);
            device_->SetSamplerState(0, D3DSAMP_MINFILTER, filters[f]);
            device_->SetSamplerState(0, D3DSAMP_ADDRESSU, addresses[a]);
            device_->SetSamplerState(0, D3DSAMP_ADDRESSV, addresses[a]);
            const float left = static_cast<float>((f * 2 + a) * 64 + 8);
            DrawQuad(left, 8, left + 48, 56, 0xFFFFFFFFu, -0.5f, -0.5f, 1.5f, 1.5f);
        }
    }
    device_->SetTexture(0, nullptr);
    texture->Release();
    ExpectGolden("d3d9_sampling");
}

TEST_F(GoldenRenderTest, RotatedScaledAndMirroredQuads) {
    MakeDevice(160, 64);
    Use2dStates();
    device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF102030u, 1.0f, 0);
    SetAlphaBlend(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
    // An arrow pointing right on a ramp, with a transparent corner.
    IDirect3DTexture9* texture = MakeTexture(32, 24, [](int x, int y) {
        const int dy = y < 12 ? 11 - y : y - 12;
        const bool arrow = x >= 8 && x < 28 - dy && dy < 8;
        if (x < 6 && y < 6) {
            return 0x00000000u;
        }
        return arrow ? 0xFFFFE000u : 0xC0000000u | static_cast<std::uint32_t>(x * 8) << 8 | 0x80u;
    });
    device_->SetTexture(0, texture);
    // Corners of a 32 x 24 quad about its centre, scaled, rotated and moved.
    auto drawPlaced = [&](float cx, float cy, float sx, float sy, float angle) {
        const float c = std::cos(angle);
        const float s = std::sin(angle);
        TLVertex quad[4];
        const float corners[4][4] = {
            {-16, -12, 0, 0}, {16, -12, 1, 0}, {-16, 12, 0, 1}, {16, 12, 1, 1}};
        for (int i = 0; i < 4; ++i) {
            const float x = corners[i][0] * sx;
            const float y = corners[i][1] * sy;
            quad[i] = TLVertex{x * c - y * s + cx - 0.5f,
                               x * s + y * c + cy - 0.5f,
                               0,
                               1,
                               0xFFFFFFFFu,
                               corners[i][2],
                               corners[i][3]};
        }
        device_->SetFVF(kTLVertexFvf);
        ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(TLVertex)), D3D_OK);
    };
    device_->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    device_->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    drawPlaced(32, 32, 1.5f, 1.5f, 0.5235988f);
    device_->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    device_->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    drawPlaced(80, 20, -1.0f, 1.0f, 0.0f);
    drawPlaced(80, 48, 1.0f, -1.0f, 0.0f);
    drawPlaced(130, 32, 0.75f, 2.0f, -0.3f);
    device_->SetTexture(0, nullptr);
    texture->Release();
    ExpectGolden("d3d9_quads_transformed");
}

TEST_F(GoldenRenderTest, TranslucentColourFillsAndGouraud) {
    MakeDevice(64, 32);
    Use2dStates();
    DrawBackdrop(0, 0, 32);
    DrawBackdrop(32, 0, 32);
    SetAlphaBlend(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
    DrawColourQuad(4, 4, 40, 20, 0x80FF0000u);
    DrawColourQuad(24, 12, 60, 28, 0x400000FFu);
    const ColourVertex triangle[3] = {
        {2, 30, 0, 1, 0xFFFF0000u}, {30, 22, 0, 1, 0x8000FF00u}, {16, 2, 0, 1, 0x000000FFu}};
    device_->SetFVF(kColourVertexFvf);
    ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, triangle, sizeof(ColourVertex)),
              D3D_OK);
    ExpectGolden("d3d9_translucent_fill");
}

TEST_F(GoldenRenderTest, SixteenBitBackBuffer) {
    d3d9_test::AdapterTable table = d3d9_test::DefaultAdapterTable();
    table.desktop.Format = D3DFMT_R5G6B5;
    d3d9_test::SetAdapterTable(table);
    MakeDevice(96, 48);
    Use2dStates();
    device_->SetFVF(kColourVertexFvf);
    const ColourVertex ramp[4] = {{0, 0, 0, 1, 0xFF000000u},
                                  {96, 0, 0, 1, 0xFFFF8000u},
                                  {0, 48, 0, 1, 0xFF0000FFu},
                                  {96, 48, 0, 1, 0xFFFFFFFFu}};
    ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, ramp, sizeof(ColourVertex)), D3D_OK);
    SetAlphaBlend(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
    IDirect3DTexture9* texture = MakeTexture(
        32, 32,
        [](int x, int y) {
            return static_cast<std::uint32_t>(x * 8) << 24 |
                   (0x00FFFFFFu ^ static_cast<std::uint32_t>(y * 8));
        },
        D3DFMT_A4R4G4B4);
    device_->SetTexture(0, texture);
    DrawQuad(8, 8, 40, 40, 0xFFFFFFFFu);
    device_->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    DrawQuad(48, 4, 92, 44, 0xC0FFFFFFu);
    device_->SetTexture(0, nullptr);
    texture->Release();
    IDirect3DSurface9* backBuffer = nullptr;
    ASSERT_EQ(device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer), D3D_OK);
    D3DSURFACE_DESC desc{};
    backBuffer->GetDesc(&desc);
    EXPECT_EQ(desc.Format, D3DFMT_R5G6B5);
    backBuffer->Release();
    ExpectGolden("d3d9_r5g6b5_backbuffer");
}

}  // namespace
}  // namespace d3d9_tests
