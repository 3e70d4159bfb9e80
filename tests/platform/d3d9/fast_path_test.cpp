// The span routines against the per-pixel reference path: random quads, strips (with varying
// depth, and varying rhw for perspective-correct textures) and states, each drawn both ways from
// the same starting pixels into every colour format with textures of every colour format, must
// leave the same bytes (the unused bits of X formats included).

#include <cmath>
#include <cstring>
#include <iterator>
#include <random>
#include <vector>

#include "device_fixture.h"

namespace d3d9_tests {
namespace {

class FastPathTest : public DeviceTest {
protected:
    std::uint32_t Next() { return static_cast<std::uint32_t>(random_()); }
    std::uint32_t Below(std::uint32_t n) { return Next() % n; }
    float Unit() { return static_cast<float>(Next() % 10000) / 10000.0f; }

    std::mt19937 random_{20261207};
};

struct Scenario {
    D3DFORMAT targetFormat;
    int texture;  // -1 none
    std::vector<std::pair<D3DRENDERSTATETYPE, DWORD>> renderStates;
    std::vector<std::pair<D3DTEXTURESTAGESTATETYPE, DWORD>> stageStates;
    std::vector<std::pair<D3DSAMPLERSTATETYPE, DWORD>> samplerStates;
    RECT scissor;
    float depthClear;
    bool smallDepth;
    std::vector<std::vector<TLVertex>> strips;
    std::uint32_t fillSeed;
};

// Every colour format, as texture and as target.
constexpr D3DFORMAT kFormats[] = {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_R5G6B5,  D3DFMT_X1R5G5B5,
                                  D3DFMT_A1R5G5B5, D3DFMT_A4R4G4B4, D3DFMT_X4R4G4B4};
constexpr int kFormatCount = static_cast<int>(std::size(kFormats));

int BytesOf(D3DFORMAT format) {
    return format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8 ? 4 : 2;
}

// The stored bytes of a lockable surface, row by row without padding.
std::vector<std::uint8_t> StoredBytes(IDirect3DSurface9* surface) {
    D3DSURFACE_DESC desc{};
    surface->GetDesc(&desc);
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    const std::size_t row = static_cast<std::size_t>(desc.Width) * BytesOf(desc.Format);
    std::vector<std::uint8_t> bytes(row * desc.Height);
    for (UINT y = 0; y < desc.Height; ++y) {
        std::memcpy(bytes.data() + y * row,
                    static_cast<const std::uint8_t*>(locked.pBits) +
                        static_cast<std::ptrdiff_t>(y) * locked.Pitch,
                    row);
    }
    surface->UnlockRect();
    return bytes;
}

// Fills every byte of a lockable surface from `random`; with `bands`, every fourth row from the
// second is zero bytes (black, transparent where there is alpha) and the one below it 0xFF bytes
// (white, opaque), runs that blends may pass over whole.
void FillRandomBytes(IDirect3DSurface9* surface, std::mt19937& random, bool bands = false) {
    D3DSURFACE_DESC desc{};
    surface->GetDesc(&desc);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(surface->LockRect(&locked, nullptr, 0), D3D_OK);
    for (UINT y = 0; y < desc.Height; ++y) {
        auto* row = static_cast<std::uint8_t*>(locked.pBits) +
                    static_cast<std::ptrdiff_t>(y) * locked.Pitch;
        for (UINT x = 0; x < desc.Width * BytesOf(desc.Format); ++x) {
            const auto value = static_cast<std::uint8_t>(random());
            row[x] = !bands || y % 4 == 0 || y % 4 == 3 ? value : y % 4 == 1 ? 0 : 0xFF;
        }
    }
    surface->UnlockRect();
}

TEST_F(FastPathTest, SpanRoutinesMatchTheReferencePath) {
    // The rasteriser draws into any colour format; the adapter is made to offer them all.
    d3d9_test::AdapterTable table = d3d9_test::DefaultAdapterTable();
    table.renderTargetFormats.assign(std::begin(kFormats), std::end(kFormats));
    d3d9_test::SetAdapterTable(table);
    MakeDevice(64, 48);
    const UINT textureSizes[kFormatCount][2] = {{32, 32}, {20, 12}, {16, 8}, {24, 16},
                                                {8, 8},   {16, 8},  {12, 20}};
    IDirect3DTexture9* textures[kFormatCount];
    for (int i = 0; i < kFormatCount; ++i) {
        ASSERT_EQ(device_->CreateTexture(textureSizes[i][0], textureSizes[i][1], 1, 0, kFormats[i],
                                         D3DPOOL_MANAGED, &textures[i], nullptr),
                  D3D_OK);
        IDirect3DSurface9* level = nullptr;
        textures[i]->GetSurfaceLevel(0, &level);
        FillRandomBytes(level, random_, true);
        level->Release();
    }
    IDirect3DTexture9* targets[kFormatCount];
    IDirect3DSurface9* targetLevels[kFormatCount];
    for (int i = 0; i < kFormatCount; ++i) {
        ASSERT_EQ(device_->CreateTexture(64, 48, 1, D3DUSAGE_RENDERTARGET, kFormats[i],
                                         D3DPOOL_DEFAULT, &targets[i], nullptr),
                  D3D_OK);
        targets[i]->GetSurfaceLevel(0, &targetLevels[i]);
    }
    // A depth buffer smaller than the targets, bound for some scenarios.
    IDirect3DSurface9* autoDepth = nullptr;
    ASSERT_EQ(device_->GetDepthStencilSurface(&autoDepth), D3D_OK);
    IDirect3DSurface9* smallDepth = nullptr;
    ASSERT_EQ(device_->CreateDepthStencilSurface(40, 30, D3DFMT_D24X8, D3DMULTISAMPLE_NONE, 0,
                                                 FALSE, &smallDepth, nullptr),
              D3D_OK);
    const DWORD blends[] = {D3DBLEND_ZERO,        D3DBLEND_ONE,          D3DBLEND_SRCCOLOR,
                            D3DBLEND_INVSRCCOLOR, D3DBLEND_SRCALPHA,     D3DBLEND_INVSRCALPHA,
                            D3DBLEND_DESTALPHA,   D3DBLEND_INVDESTALPHA, D3DBLEND_DESTCOLOR,
                            D3DBLEND_INVDESTCOLOR};
    const DWORD ops[] = {D3DTOP_DISABLE,  D3DTOP_SELECTARG1, D3DTOP_SELECTARG2, D3DTOP_MODULATE,
                         D3DTOP_MODULATE, D3DTOP_MODULATE2X, D3DTOP_ADD};
    const DWORD args[] = {D3DTA_TEXTURE,
                          D3DTA_DIFFUSE,
                          D3DTA_CURRENT,
                          D3DTA_TFACTOR,
                          D3DTA_TEXTURE | D3DTA_COMPLEMENT,
                          D3DTA_DIFFUSE | D3DTA_ALPHAREPLICATE};

    constexpr int kScenarios = 1400;
    for (int n = 0; n < kScenarios; ++n) {
        Scenario s;
        const int t = static_cast<int>(Below(kFormatCount));
        s.targetFormat = kFormats[t];
        s.texture = static_cast<int>(Below(kFormatCount + 1)) - 1;
        const bool commonStates = Below(3) != 0;  // the game's own combinations, mostly
        s.renderStates = {{D3DRS_ALPHABLENDENABLE, Below(5) != 0},
                          {D3DRS_CULLMODE, D3DCULL_NONE},
                          {D3DRS_ZENABLE, Below(2)},
                          {D3DRS_ZWRITEENABLE, Below(2)},
                          {D3DRS_ZFUNC, Below(4) != 0 ? (Below(2) ? D3DCMP_LESS : D3DCMP_LESSEQUAL)
                                                      : 1 + Below(8)},
                          {D3DRS_SCISSORTESTENABLE, Below(4) == 0},
                          {D3DRS_TEXTUREFACTOR, Next()}};
        if (commonStates) {
            const DWORD pairs[7][2] = {{D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA},
                                       {D3DBLEND_ONE, D3DBLEND_ONE},
                                       {D3DBLEND_ZERO, D3DBLEND_INVSRCCOLOR},
                                       {D3DBLEND_SRCALPHA, D3DBLEND_ONE},
                                       {D3DBLEND_DESTCOLOR, D3DBLEND_ZERO},
                                       {D3DBLEND_ZERO, D3DBLEND_SRCCOLOR},
                                       {D3DBLEND_ONE, D3DBLEND_ZERO}};
            const auto& pair = pairs[Below(7)];
            s.renderStates.push_back({D3DRS_SRCBLEND, pair[0]});
            s.renderStates.push_back({D3DRS_DESTBLEND, pair[1]});
            const bool modulateAlpha = Below(2) != 0;
            s.stageStates = {{D3DTSS_COLOROP, D3DTOP_MODULATE},
                             {D3DTSS_COLORARG1, D3DTA_TEXTURE},
                             {D3DTSS_COLORARG2, D3DTA_DIFFUSE},
                             {D3DTSS_ALPHAOP, modulateAlpha ? D3DTOP_MODULATE : D3DTOP_SELECTARG1},
                             {D3DTSS_ALPHAARG1, D3DTA_TEXTURE},
                             {D3DTSS_ALPHAARG2, D3DTA_DIFFUSE}};
        } else {
            s.renderStates.push_back({D3DRS_SRCBLEND, blends[Below(10)]});
            s.renderStates.push_back({D3DRS_DESTBLEND, blends[Below(10)]});
            s.renderStates.push_back({D3DRS_BLENDOP, 1 + Below(5)});
            s.renderStates.push_back({D3DRS_ALPHATESTENABLE, Below(4) == 0});
            s.renderStates.push_back({D3DRS_ALPHAREF, Below(256)});
            s.renderStates.push_back({D3DRS_ALPHAFUNC, 1 + Below(8)});
            s.renderStates.push_back({D3DRS_COLORWRITEENABLE, Below(3) == 0 ? Below(16) : 0xF});
            s.stageStates = {
                {D3DTSS_COLOROP, ops[Below(7)]},    {D3DTSS_COLORARG1, args[Below(6)]},
                {D3DTSS_COLORARG2, args[Below(6)]}, {D3DTSS_ALPHAOP, ops[Below(7)]},
                {D3DTSS_ALPHAARG1, args[Below(6)]}, {D3DTSS_ALPHAARG2, args[Below(6)]}};
        }
        const DWORD filter = Below(2) ? D3DTEXF_LINEAR : D3DTEXF_POINT;
        s.samplerStates = {{D3DSAMP_MAGFILTER, filter},
                           {D3DSAMP_MINFILTER, Below(2) ? D3DTEXF_LINEAR : D3DTEXF_POINT},
                           {D3DSAMP_ADDRESSU, Below(2) ? D3DTADDRESS_WRAP : D3DTADDRESS_CLAMP},
                           {D3DSAMP_ADDRESSV, Below(2) ? D3DTADDRESS_WRAP : D3DTADDRESS_CLAMP}};
        const LONG sx = static_cast<LONG>(Below(40));
        const LONG sy = static_cast<LONG>(Below(30));
        s.scissor = RECT{sx, sy, sx + 1 + static_cast<LONG>(Below(40)),
                         sy + 1 + static_cast<LONG>(Below(30))};
        s.depthClear = Unit();
        s.smallDepth = Below(4) == 0;
        s.fillSeed = Next();

        const float tw = s.texture >= 0 ? static_cast<float>(textureSizes[s.texture][0]) : 16.0f;
        const float th = s.texture >= 0 ? static_cast<float>(textureSizes[s.texture][1]) : 16.0f;
        // Strips whose corners differ in rhw take the perspective-correct texture path.
        const bool perspective = Below(2) != 0;
        const int shapes = 1 + static_cast<int>(Below(3));
        for (int k = 0; k < shapes; ++k) {
            const std::uint32_t kind = Below(4);
            const std::uint32_t colour = Below(2) ? 0xFFFFFFFFu : Next();
            const float z = Below(4) == 0 ? Unit() : 0.25f;
            std::vector<TLVertex> strip;
            if (kind <= 1) {
                // Axis-aligned: one texel per pixel (at whole or fractional pixels) or scaled.
                const float x = static_cast<float>(Below(70)) - 8.0f + (kind == 1 ? Unit() : 0.0f);
                const float y = static_cast<float>(Below(55)) - 8.0f;
                const float scale = Below(2) ? 1.0f : 0.5f + Unit() * 2.0f;
                const float w = tw * scale;
                const float h = th * scale;
                // Mostly inside the texture; sometimes a whole texture to the side, to wrap.
                const float offsets[4] = {0.0f, 0.0f, -1.0f, 1.0f};
                const float u0 = offsets[Below(4)];
                const float v0 = offsets[Below(4)];
                strip = {{x - 0.5f, y - 0.5f, z, 1, colour, u0, v0},
                         {x + w - 0.5f, y - 0.5f, z, 1, colour, u0 + 1, v0},
                         {x - 0.5f, y + h - 0.5f, z, 1, colour, u0, v0 + 1},
                         {x + w - 0.5f, y + h - 0.5f, z, 1, colour, u0 + 1, v0 + 1}};
            } else if (kind == 2) {
                // Rotated and scaled about a centre.
                const float cx = Unit() * 64;
                const float cy = Unit() * 48;
                const float angle = Unit() * 6.2831853f;
                const float half = 4 + Unit() * 24;
                const float c = std::cos(angle) * half;
                const float sn = std::sin(angle) * half;
                strip = {{cx - c + sn, cy - sn - c, z, 1, colour, 0, 0},
                         {cx + c + sn, cy + sn - c, z, 1, colour, 1, 0},
                         {cx - c - sn, cy - sn + c, z, 1, colour, 0, 1},
                         {cx + c - sn, cy + sn + c, z, 1, colour, 1, 1}};
            } else {
                // A strip of Gouraud-shaded triangles with free texture coordinates.
                const int count = 3 + static_cast<int>(Below(5));
                for (int i = 0; i < count; ++i) {
                    strip.push_back({Unit() * 80 - 8, Unit() * 64 - 8, Unit(),
                                     perspective ? 0.1f + Unit() * 2 : 1.0f, Next(), Unit() * 3 - 1,
                                     Unit() * 3 - 1});
                }
            }
            s.strips.push_back(strip);
        }

        // Reference, span routines with SSE2 only, span routines with AVX2 where present.
        std::vector<std::uint8_t> results[3];
        for (int pass = 0; pass < 3; ++pass) {
            d3d9_test::SetFastPathsEnabled(pass != 0);
            d3d9_test::SetWideVectorsEnabled(pass == 2);
            std::mt19937 fill(s.fillSeed);
            FillRandomBytes(targetLevels[t], fill);
            ASSERT_EQ(device_->SetRenderTarget(0, targetLevels[t]), D3D_OK);
            ASSERT_EQ(device_->SetDepthStencilSurface(s.smallDepth ? smallDepth : autoDepth),
                      D3D_OK);
            ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, s.depthClear, 0), D3D_OK);
            for (const auto& [state, value] : s.renderStates) {
                device_->SetRenderState(state, value);
            }
            for (const auto& [state, value] : s.stageStates) {
                device_->SetTextureStageState(0, state, value);
            }
            for (const auto& [state, value] : s.samplerStates) {
                device_->SetSamplerState(0, state, value);
            }
            device_->SetScissorRect(&s.scissor);
            device_->SetTexture(0, s.texture >= 0 ? textures[s.texture] : nullptr);
            device_->SetFVF(kTLVertexFvf);
            for (const auto& strip : s.strips) {
                ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP,
                                                   static_cast<UINT>(strip.size() - 2),
                                                   strip.data(), sizeof(TLVertex)),
                          D3D_OK);
            }
            results[pass] = StoredBytes(targetLevels[t]);
        }
        for (int pass = 1; pass < 3; ++pass) {
            ASSERT_EQ(results[pass], results[0])
                << (pass == 1 ? "SSE2" : "AVX2") << " spans, scenario " << n << ", target format "
                << s.targetFormat << ", texture " << s.texture;
        }
    }
    d3d9_test::SetWideVectorsEnabled(true);
    device_->SetDepthStencilSurface(autoDepth);
    autoDepth->Release();
    smallDepth->Release();
    device_->SetTexture(0, nullptr);
    for (int i = 0; i < kFormatCount; ++i) {
        targetLevels[i]->Release();
        targets[i]->Release();
        textures[i]->Release();
    }
}

}  // namespace
}  // namespace d3d9_tests
