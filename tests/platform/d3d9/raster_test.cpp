// The rasteriser's rules: coverage with the top-left rule, pixel centres, interpolation,
// culling, depth, scissor, the texture stage, and the draw calls' bounds.

#include <cmath>
#include <cstring>

#include "device_fixture.h"

namespace d3d9_tests {
namespace {

using RasterTest = DeviceTest;

// Counts how often each pixel was drawn: additive blending of one step per triangle.
TEST_F(RasterTest, SharedEdgesAreDrawnExactlyOnce) {
    MakeDevice(64, 64);
    device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
    device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device_->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    SetAlphaBlend(D3DBLEND_ONE, D3DBLEND_ONE);
    device_->SetFVF(kColourVertexFvf);
    // A 6 x 6 grid over (4.3, 5.7) - (58.6, 60.1) with jittered inner points, two triangles per
    // cell, alternating diagonals.
    constexpr int kCells = 6;
    float px[kCells + 1][kCells + 1];
    float py[kCells + 1][kCells + 1];
    for (int j = 0; j <= kCells; ++j) {
        for (int i = 0; i <= kCells; ++i) {
            const bool inner = i > 0 && i < kCells && j > 0 && j < kCells;
            px[j][i] = 4.3f + i * 9.05f + (inner ? std::sin(i * 7.0f + j) * 2.3f : 0.0f);
            py[j][i] = 5.7f + j * 9.0667f + (inner ? std::cos(i * 3.0f + j * 5.0f) * 2.1f : 0.0f);
        }
    }
    constexpr std::uint32_t kStep = 0xFF101010u;
    for (int j = 0; j < kCells; ++j) {
        for (int i = 0; i < kCells; ++i) {
            const ColourVertex a{px[j][i], py[j][i], 0, 1, kStep};
            const ColourVertex b{px[j][i + 1], py[j][i + 1], 0, 1, kStep};
            const ColourVertex c{px[j + 1][i], py[j + 1][i], 0, 1, kStep};
            const ColourVertex d{px[j + 1][i + 1], py[j + 1][i + 1], 0, 1, kStep};
            const ColourVertex alternate[6] = {a, b, d, a, d, c};
            const ColourVertex regular[6] = {a, b, c, b, d, c};
            const ColourVertex* list = ((i + j) & 1) ? alternate : regular;
            ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, list, sizeof(ColourVertex)),
                      D3D_OK);
        }
    }
    const std::vector<std::uint32_t> pixels = ReadTarget();
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const bool inside = x >= 5 && x <= 58 && y >= 6 && y <= 60;
            const std::uint32_t expected = inside ? 0xFF101010u : 0xFF000000u;
            ASSERT_EQ(pixels[y * 64 + x], expected) << x << "," << y;
        }
    }
}

TEST_F(RasterTest, ShiftedQuadsMapTexelsOneToOne) {
    MakeDevice(64, 64);
    device_->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    IDirect3DTexture9* texture = MakeTexture(16, 8, [](int x, int y) {
        return 0xFF000000u | static_cast<std::uint32_t>(x * 16) << 8 |
               static_cast<std::uint32_t>(y * 32);
    });
    device_->SetTexture(0, texture);
    for (DWORD filter : {D3DTEXF_POINT, D3DTEXF_LINEAR}) {
        device_->SetSamplerState(0, D3DSAMP_MAGFILTER, filter);
        device_->SetSamplerState(0, D3DSAMP_MINFILTER, filter);
        device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000FFu, 1.0f, 0);
        DrawQuad(10, 20, 26, 28, 0xFFFFFFFFu);
        const std::vector<std::uint32_t> pixels = ReadTarget();
        for (int y = 19; y <= 28; ++y) {
            for (int x = 9; x <= 26; ++x) {
                const bool inside = x >= 10 && x < 26 && y >= 20 && y < 28;
                const std::uint32_t expected =
                    inside ? 0xFF000000u | static_cast<std::uint32_t>((x - 10) * 16) << 8 |
                                 static_cast<std::uint32_t>((y - 20) * 32)
                           : 0xFF0000FFu;
                ASSERT_EQ(pixels[y * 64 + x], expected)
                    << "filter " << filter << " at " << x << "," << y;
            }
        }
    }
    device_->SetTexture(0, nullptr);
    texture->Release();
}

TEST_F(RasterTest, GouraudColoursInterpolateAcrossTheSpan) {
    MakeDevice(256, 4);
    device_->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device_->SetFVF(kColourVertexFvf);
    const ColourVertex strip[4] = {{0, 0, 0, 1, 0xFF000000u},
                                   {256, 0, 0, 1, 0xFFFFFFFFu},
                                   {0, 4, 0, 1, 0xFF000000u},
                                   {256, 4, 0, 1, 0xFFFFFFFFu}};
    ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, strip, sizeof(ColourVertex)),
              D3D_OK);
    const std::vector<std::uint32_t> pixels = ReadTarget();
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 256; ++x) {
            // Pixel centre x of 0..256 carries 255 * x / 256, rounded.
            const auto expected = static_cast<std::uint32_t>(std::lround(255.0 * x / 256.0));
            ASSERT_EQ(pixels[y * 256 + x] & 0xFF, expected) << x << "," << y;
            ASSERT_EQ((pixels[y * 256 + x] >> 16) & 0xFF, expected) << x << "," << y;
        }
    }
    // Flat shading takes the first vertex of each triangle.
    device_->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_FLAT);
    ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, strip, sizeof(ColourVertex)),
              D3D_OK);
    EXPECT_EQ(PixelAt(10, 0), 0xFF000000u);   // first triangle: vertex 0
    EXPECT_EQ(PixelAt(250, 3), 0xFFFFFFFFu);  // second triangle: vertex 1
}

TEST_F(RasterTest, CullingFollowsWindingAndStripOrder) {
    MakeDevice(32, 16);
    device_->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    struct Case {
        const char* name;
        DWORD cull;
        bool mirrored;
        bool drawn;
    };
    const Case cases[] = {
        {"default culling, plain quad", D3DCULL_CCW, false, true},
        {"default culling, mirrored quad", D3DCULL_CCW, true, false},
        {"clockwise culling, plain quad", D3DCULL_CW, false, false},
        {"clockwise culling, mirrored quad", D3DCULL_CW, true, true},
        {"no culling, mirrored quad", D3DCULL_NONE, true, true},
    };
    for (const Case& c : cases) {
        device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
        device_->SetRenderState(D3DRS_CULLMODE, c.cull);
        const float l = c.mirrored ? 20.0f : 4.0f;
        const float r = c.mirrored ? 4.0f : 20.0f;
        DrawColourQuad(l, 2, r, 14, 0xFFFFFFFFu);
        // Both triangles of the strip agree.
        EXPECT_EQ(PixelAt(6, 4) == 0xFFFFFFFFu, c.drawn) << c.name;
        EXPECT_EQ(PixelAt(18, 12) == 0xFFFFFFFFu, c.drawn) << c.name;
    }
}

TEST_F(RasterTest, DepthTestKeepsPlanesInsideTheLetterbox) {
    MakeDevice(32, 16);
    device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device_->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    device_->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESS);
    device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 0.0f, 0);
    const D3DRECT letterbox{8, 0, 24, 16};
    device_->Clear(1, &letterbox, D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    const TLVertex plane[4] = {{-0.5f, -0.5f, 0.1f, 1, 0xFFFF0000u, 0, 0},
                               {31.5f, -0.5f, 0.1f, 1, 0xFFFF0000u, 1, 0},
                               {-0.5f, 15.5f, 0.1f, 1, 0xFFFF0000u, 0, 1},
                               {31.5f, 15.5f, 0.1f, 1, 0xFFFF0000u, 1, 1}};
    device_->SetFVF(kTLVertexFvf);
    ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, plane, sizeof(TLVertex)), D3D_OK);
    EXPECT_EQ(PixelAt(7, 5), 0xFF000000u);
    EXPECT_EQ(PixelAt(8, 5), 0xFFFF0000u);
    EXPECT_EQ(PixelAt(23, 5), 0xFFFF0000u);
    EXPECT_EQ(PixelAt(24, 5), 0xFF000000u);

    // Equal depth: LESS rejects, LESSEQUAL accepts; writes follow the switch.
    device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 0.5f, 0);
    TLVertex half[4];
    std::memcpy(half, plane, sizeof(half));
    for (TLVertex& v : half) {
        v.z = 0.5f;
        v.colour = 0xFF00FF00u;
    }
    ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, half, sizeof(TLVertex)), D3D_OK);
    EXPECT_EQ(PixelAt(3, 3), 0xFF000000u);
    device_->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
    device_->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, half, sizeof(TLVertex)), D3D_OK);
    EXPECT_EQ(PixelAt(3, 3), 0xFF00FF00u);
    for (TLVertex& v : half) {
        v.z = 0.7f;
        v.colour = 0xFF0000FFu;
    }
    ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, half, sizeof(TLVertex)), D3D_OK);
    EXPECT_EQ(PixelAt(3, 3), 0xFF00FF00u);
}

TEST_F(RasterTest, DepthBufferSmallerThanTheTargetTestsOnlyWhereItReaches) {
    MakeDevice(32, 16);
    IDirect3DSurface9* small = nullptr;
    ASSERT_EQ(device_->CreateDepthStencilSurface(16, 8, D3DFMT_D24X8, D3DMULTISAMPLE_NONE, 0, FALSE,
                                                 &small, nullptr),
              D3D_OK);
    ASSERT_EQ(device_->SetDepthStencilSurface(small), D3D_OK);
    small->Release();
    device_->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESS);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 0.0f, 0),
              D3D_OK);
    for (bool spans : {true, false}) {
        d3d9_test::SetFastPathsEnabled(spans);
        device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 0.0f, 0);
        DrawColourQuad(0, 0, 32, 16, 0xFFFFFFFFu);
        EXPECT_EQ(PixelAt(15, 7), 0xFF000000u) << spans;
        EXPECT_EQ(PixelAt(16, 7), 0xFFFFFFFFu) << spans;
        EXPECT_EQ(PixelAt(15, 8), 0xFFFFFFFFu) << spans;
    }
}

TEST_F(RasterTest, TextureStageOperations) {
    MakeDevice(8, 8);
    device_->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    IDirect3DTexture9* texture = MakeTexture(1, 1, [](int, int) { return 0x80406080u; });
    struct Case {
        const char* name;
        DWORD colorOp, colorArg1, colorArg2, alphaOp, alphaArg1, alphaArg2;
        bool bound;
        std::uint32_t expected;
    };
    const std::uint32_t diffuse = 0x40FF8000u;
    const Case cases[] = {
        {"defaults: colour modulated, texture alpha", D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_CURRENT,
         D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_CURRENT, true, 0x80403000u},
        {"both modulated", D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_MODULATE,
         D3DTA_TEXTURE, D3DTA_DIFFUSE, true, 0x20403000u},
        {"texture only", D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG1,
         D3DTA_TEXTURE, D3DTA_DIFFUSE, true, 0x80406080u},
        {"diffuse only", D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG2,
         D3DTA_TEXTURE, D3DTA_DIFFUSE, true, 0x40FF8000u},
        {"no texture passes the diffuse colour", D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_CURRENT,
         D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_CURRENT, false, 0x40FF8000u},
    };
    IDirect3DTexture9* target = nullptr;
    ASSERT_EQ(device_->CreateTexture(8, 8, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8,
                                     D3DPOOL_DEFAULT, &target, nullptr),
              D3D_OK);
    IDirect3DSurface9* level = nullptr;
    target->GetSurfaceLevel(0, &level);
    ASSERT_EQ(device_->SetRenderTarget(0, level), D3D_OK);
    for (const Case& c : cases) {
        device_->SetTextureStageState(0, D3DTSS_COLOROP, c.colorOp);
        device_->SetTextureStageState(0, D3DTSS_COLORARG1, c.colorArg1);
        device_->SetTextureStageState(0, D3DTSS_COLORARG2, c.colorArg2);
        device_->SetTextureStageState(0, D3DTSS_ALPHAOP, c.alphaOp);
        device_->SetTextureStageState(0, D3DTSS_ALPHAARG1, c.alphaArg1);
        device_->SetTextureStageState(0, D3DTSS_ALPHAARG2, c.alphaArg2);
        device_->SetTexture(0, c.bound ? texture : nullptr);
        DrawQuad(0, 0, 8, 8, diffuse);
        EXPECT_EQ(ReadTarget(level)[9], c.expected) << c.name;
    }
    device_->SetTexture(0, nullptr);
    level->Release();
    target->Release();
    texture->Release();
}

TEST_F(RasterTest, RenderTargetSwitchResetsViewportAndSamplesBack) {
    MakeDevice(32, 32);
    device_->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    const D3DVIEWPORT9 small{0, 0, 4, 4, 0.0f, 1.0f};
    ASSERT_EQ(device_->SetViewport(&small), D3D_OK);
    IDirect3DTexture9* target = nullptr;
    ASSERT_EQ(device_->CreateTexture(16, 16, 1, D3DUSAGE_RENDERTARGET, D3DFMT_R5G6B5,
                                     D3DPOOL_DEFAULT, &target, nullptr),
              D3D_OK);
    IDirect3DSurface9* level = nullptr;
    target->GetSurfaceLevel(0, &level);
    ASSERT_EQ(device_->SetRenderTarget(0, level), D3D_OK);
    D3DVIEWPORT9 viewport{};
    device_->GetViewport(&viewport);
    EXPECT_EQ(viewport.Width, 16u);
    EXPECT_EQ(viewport.Height, 16u);
    const D3DVIEWPORT9 tooBig{0, 0, 17, 16, 0.0f, 1.0f};
    EXPECT_EQ(device_->SetViewport(&tooBig), D3DERR_INVALIDCALL);
    DrawColourQuad(0, 0, 16, 16, 0xFF00FF00u);

    IDirect3DSurface9* backBuffer = nullptr;
    device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer);
    ASSERT_EQ(device_->SetRenderTarget(0, backBuffer), D3D_OK);
    backBuffer->Release();
    device_->SetTexture(0, target);
    DrawQuad(0, 0, 32, 32, 0xFFFFFFFFu);
    EXPECT_EQ(PixelAt(31, 31), 0xFF00FF00u);
    device_->SetTexture(0, nullptr);
    level->Release();
    target->Release();
}

TEST_F(RasterTest, ScissorAndViewportLimitDrawing) {
    MakeDevice(16, 16);
    device_->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
    const RECT scissor{4, 5, 8, 9};
    device_->SetScissorRect(&scissor);
    device_->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE);
    DrawColourQuad(0, 0, 16, 16, 0xFFFFFFFFu);
    const std::vector<std::uint32_t> pixels = ReadTarget();
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool inside = x >= 4 && x < 8 && y >= 5 && y < 9;
            ASSERT_EQ(pixels[y * 16 + x], inside ? 0xFFFFFFFFu : 0xFF000000u) << x << "," << y;
        }
    }
}

// The dialog layer's vertices: untransformed, an orthographic projection shifted by half a
// pixel, indexed triangle lists under a scissor rectangle.
TEST_F(RasterTest, UntransformedVerticesMatchTheirScreenSpaceEquivalent) {
    MakeDevice(64, 32);
    device_->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device_->SetRenderState(D3DRS_LIGHTING, FALSE);
    device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    const RECT scissor{3, 2, 50, 29};
    device_->SetScissorRect(&scissor);
    IDirect3DTexture9* texture = MakeTexture(8, 8, [](int x, int y) {
        return 0x80000000u | static_cast<std::uint32_t>(x * 32) << 16 |
               static_cast<std::uint32_t>(y * 32);
    });
    device_->SetTexture(0, texture);
    SetAlphaBlend(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);

    struct UiVertex {
        float x, y, z;
        std::uint32_t colour;
        float u, v;
    };
    const UiVertex ui[4] = {{1, 1, 0, 0xFFFF8080u, 0, 0},
                            {60, 4, 0, 0xFF80FF80u, 1, 0},
                            {2, 30, 0, 0xFF8080FFu, 0, 1},
                            {55, 31, 0, 0xFFFFFFFFu, 1, 1}};
    const std::uint16_t indices[6] = {0, 1, 2, 2, 1, 3};
    D3DMATRIX projection{};
    const float l = 0.5f, r = 64.5f, t = 0.5f, b = 32.5f;
    projection._11 = 2.0f / (r - l);
    projection._22 = 2.0f / (t - b);
    projection._33 = 0.5f;
    projection._41 = (l + r) / (l - r);
    projection._42 = (t + b) / (b - t);
    projection._43 = 0.5f;
    projection._44 = 1.0f;
    ASSERT_EQ(device_->SetTransform(D3DTS_PROJECTION, &projection), D3D_OK);
    device_->SetRenderState(D3DRS_SCISSORTESTENABLE, FALSE);
    device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF204060u, 1.0f, 0);
    device_->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE);
    device_->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    ASSERT_EQ(device_->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 4, 2, indices, D3DFMT_INDEX16,
                                              ui, sizeof(UiVertex)),
              D3D_OK);
    const std::vector<std::uint32_t> untransformed = ReadTarget();

    TLVertex screen[4];
    for (int i = 0; i < 4; ++i) {
        screen[i] = TLVertex{ui[i].x - 0.5f, ui[i].y - 0.5f, 0, 1, ui[i].colour, ui[i].u, ui[i].v};
    }
    device_->SetRenderState(D3DRS_SCISSORTESTENABLE, FALSE);
    device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF204060u, 1.0f, 0);
    device_->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE);
    device_->SetFVF(kTLVertexFvf);
    ASSERT_EQ(device_->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 4, 2, indices, D3DFMT_INDEX16,
                                              screen, sizeof(TLVertex)),
              D3D_OK);
    const std::vector<std::uint32_t> pretransformed = ReadTarget();
    EXPECT_EQ(untransformed, pretransformed);
    EXPECT_EQ(untransformed[1 * 64 + 10], 0xFF204060u);  // above the scissor rectangle
    EXPECT_NE(untransformed[10 * 64 + 10], 0xFF204060u);

    // A vertex behind the eye leaves its triangles out.
    projection._44 = 0.0f;
    projection._34 = -1.0f;
    device_->SetTransform(D3DTS_PROJECTION, &projection);
    device_->SetRenderState(D3DRS_SCISSORTESTENABLE, FALSE);
    device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF204060u, 1.0f, 0);
    device_->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE);
    device_->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    ASSERT_EQ(device_->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 4, 2, indices, D3DFMT_INDEX16,
                                              ui, sizeof(UiVertex)),
              D3D_OK);
    EXPECT_EQ(PixelAt(10, 10), 0xFF204060u);
    device_->SetTexture(0, nullptr);
    texture->Release();
}

TEST_F(RasterTest, DrawCallsCheckTheirBounds) {
    MakeDevice(16, 16);
    device_->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device_->SetFVF(kColourVertexFvf);
    const ColourVertex vertices[4] = {{0, 0, 0, 1, 0xFFFF0000u},
                                      {16, 0, 0, 1, 0xFFFF0000u},
                                      {0, 16, 0, 1, 0xFFFF0000u},
                                      {16, 16, 0, 1, 0xFFFF0000u}};
    const std::uint16_t indices[6] = {0, 1, 2, 1, 3, 2};
    EXPECT_EQ(device_->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 4, 2, indices, D3DFMT_INDEX16,
                                              vertices, sizeof(ColourVertex)),
              D3D_OK);
    EXPECT_EQ(PixelAt(15, 15), 0xFFFF0000u);
    const std::uint16_t outside[3] = {0, 1, 4};
    EXPECT_EQ(device_->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 4, 1, outside, D3DFMT_INDEX16,
                                              vertices, sizeof(ColourVertex)),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->DrawPrimitiveUP(D3DPT_LINELIST, 1, vertices, sizeof(ColourVertex)),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 0, vertices, sizeof(ColourVertex)),
              D3DERR_INVALIDCALL);
    // A stride shorter than the vertex format.
    EXPECT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, vertices, 16), D3DERR_INVALIDCALL);

    IDirect3DVertexBuffer9* buffer = nullptr;
    ASSERT_EQ(device_->CreateVertexBuffer(sizeof(vertices), 0, kColourVertexFvf, D3DPOOL_SYSTEMMEM,
                                          &buffer, nullptr),
              D3D_OK);
    void* data = nullptr;
    buffer->Lock(0, 0, &data, 0);
    std::memcpy(data, vertices, sizeof(vertices));
    buffer->Unlock();
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3DERR_INVALIDCALL);  // no stream
    ASSERT_EQ(device_->SetStreamSource(0, buffer, 0, sizeof(ColourVertex)), D3D_OK);
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 1, 2), D3DERR_INVALIDCALL);
    // A plane with no vertices asks for vertexCount - 2 primitives.
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 0xFFFFFFFEu), D3DERR_INVALIDCALL);
    device_->SetStreamSource(0, nullptr, 0, 0);
    buffer->Release();
}

}  // namespace
}  // namespace d3d9_tests
