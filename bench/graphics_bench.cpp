// Pixels per second of the software device's hot cases: unscaled alpha-blended textured quads
// (the planes and text of every frame), bilinear scaled quads, and SDL2's software renderer
// doing the unscaled blend as the reference.

#include <SDL.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/d3d9_test.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

struct Vertex {
    float x, y, z, rhw;
    std::uint32_t colour;
    float u, v;
};

std::uint32_t PatternPixel(int x, int y) {
    const auto a = static_cast<std::uint32_t>((x * 7 + y * 3) & 0xFF);
    return (a << 24) | static_cast<std::uint32_t>((x * 5) & 0xFF) << 16 |
           static_cast<std::uint32_t>((y * 3) & 0xFF) << 8 |
           static_cast<std::uint32_t>((x ^ y) & 0xFF);
}

// A device with an 800 x 600 back buffer and the 2-D states of the game's frame step.
class Scene {
public:
    Scene(UINT textureWidth, UINT textureHeight) {
        d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
        static int window;
        D3DPRESENT_PARAMETERS pp{};
        pp.BackBufferWidth = kWidth;
        pp.BackBufferHeight = kHeight;
        pp.BackBufferFormat = D3DFMT_X8R8G8B8;
        pp.BackBufferCount = 1;
        pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
        pp.hDeviceWindow = reinterpret_cast<HWND>(&window);
        pp.Windowed = TRUE;
        pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
        d3d_->CreateDevice(0, D3DDEVTYPE_HAL, pp.hDeviceWindow, D3DCREATE_HARDWARE_VERTEXPROCESSING,
                           &pp, &device_);
        device_->CreateTexture(textureWidth, textureHeight, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                               &texture_, nullptr);
        D3DLOCKED_RECT locked{};
        texture_->LockRect(0, &locked, nullptr, 0);
        for (UINT y = 0; y < textureHeight; ++y) {
            auto* row =
                reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(locked.pBits) +
                                                 static_cast<std::ptrdiff_t>(y) * locked.Pitch);
            for (UINT x = 0; x < textureWidth; ++x) {
                row[x] = PatternPixel(static_cast<int>(x), static_cast<int>(y));
            }
        }
        texture_->UnlockRect(0);
        device_->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
        device_->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        device_->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        device_->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
        device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
        device_->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
        device_->SetTexture(0, texture_);
        device_->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    }
    ~Scene() {
        device_->SetTexture(0, nullptr);
        texture_->Release();
        device_->Release();
        d3d_->Release();
    }

    IDirect3DDevice9* device() { return device_; }

    void Quad(float left, float top, float right, float bottom, float u1, float v1) {
        const Vertex quad[4] = {{left - 0.5f, top - 0.5f, 0, 1, 0xFFFFFFFFu, 0, 0},
                                {right - 0.5f, top - 0.5f, 0, 1, 0xFFFFFFFFu, u1, 0},
                                {left - 0.5f, bottom - 0.5f, 0, 1, 0xFFFFFFFFu, 0, v1},
                                {right - 0.5f, bottom - 0.5f, 0, 1, 0xFFFFFFFFu, u1, v1}};
        device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex));
    }

private:
    IDirect3D9* d3d_ = nullptr;
    IDirect3DDevice9* device_ = nullptr;
    IDirect3DTexture9* texture_ = nullptr;
};

void BM_BlendUnscaled800x600(benchmark::State& state) {
    Scene scene(kWidth, kHeight);
    for (auto _ : state) {
        scene.Quad(0, 0, kWidth, kHeight, 1, 1);
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_BlendUnscaled800x600);

// The same on the SSE2 baseline alone (what a processor without AVX2 runs).
void BM_BlendUnscaled800x600Sse2(benchmark::State& state) {
    d3d9_test::SetWideVectorsEnabled(false);
    Scene scene(kWidth, kHeight);
    for (auto _ : state) {
        scene.Quad(0, 0, kWidth, kHeight, 1, 1);
    }
    d3d9_test::SetWideVectorsEnabled(true);
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_BlendUnscaled800x600Sse2);

void BM_BilinearScaled(benchmark::State& state) {
    Scene scene(512, 512);
    scene.device()->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    scene.device()->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    for (auto _ : state) {
        scene.Quad(0, 0, kWidth, kHeight, 1, 1);
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_BilinearScaled);

// Text: many small quads (12 x 24 glyphs), so the cost per draw call shows.
void BM_GlyphQuads(benchmark::State& state) {
    Scene scene(256, 256);
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) {
            const float x = static_cast<float>((i * 16) % 784);
            const float y = static_cast<float>((i / 49) * 24 % 576);
            scene.Quad(x, y, x + 12, y + 24, 12.0f / 256, 24.0f / 256);
        }
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_GlyphQuads);

void BM_BilinearScaledSse2(benchmark::State& state) {
    d3d9_test::SetWideVectorsEnabled(false);
    Scene scene(512, 512);
    scene.device()->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    scene.device()->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    for (auto _ : state) {
        scene.Quad(0, 0, kWidth, kHeight, 1, 1);
    }
    d3d9_test::SetWideVectorsEnabled(true);
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_BilinearScaledSse2);

struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
struct RendererDeleter {
    void operator()(SDL_Renderer* r) const { SDL_DestroyRenderer(r); }
};
struct TextureDeleter {
    void operator()(SDL_Texture* t) const { SDL_DestroyTexture(t); }
};

void BM_SdlSoftwareBlend800x600(benchmark::State& state) {
    std::unique_ptr<SDL_Surface, SurfaceDeleter> target(
        SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 32, SDL_PIXELFORMAT_RGB888));
    std::unique_ptr<SDL_Renderer, RendererDeleter> renderer(
        SDL_CreateSoftwareRenderer(target.get()));
    if (!target || !renderer) {
        state.SkipWithError("SDL software renderer unavailable");
        return;
    }
    std::unique_ptr<SDL_Texture, TextureDeleter> texture(SDL_CreateTexture(
        renderer.get(), SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, kWidth, kHeight));
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kWidth) * kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            pixels[static_cast<std::size_t>(y) * kWidth + x] = PatternPixel(x, y);
        }
    }
    SDL_UpdateTexture(texture.get(), nullptr, pixels.data(), kWidth * 4);
    SDL_SetTextureBlendMode(texture.get(), SDL_BLENDMODE_BLEND);
    for (auto _ : state) {
        SDL_RenderCopy(renderer.get(), texture.get(), nullptr, nullptr);
        SDL_RenderFlush(renderer.get());
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_SdlSoftwareBlend800x600);

}  // namespace
