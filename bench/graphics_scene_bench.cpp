// A typical adventure frame drawn through the graphics classes: a background, three standing
// characters, a cross-fade, a translucent message window and 200 glyphs, on an 800 x 600 and a
// 1920 x 1080 back buffer (the 800 x 600 logical screen scaled and centred). Items are pixels
// of the back buffer. BM_TypicalScene800x600R5G6B5: the same scene into the 16-bit back buffer
// of a first run (full screen, "Fullcolor" 0), its cross-fade snapshot in that format too.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/log.h"
#include "media/graphics/d3d_application.h"
#include "media/graphics/d3d_functions.h"
#include "media/graphics/font.h"
#include "media/graphics/plane.h"
#include "media/graphics/texture.h"

namespace {

// A texture plane of the given size filled by pixel(x, y), A8R8G8B8 or R5G6B5.
template <typename Pixel>
D3DPlane* MakePicture(UINT width, UINT height, Pixel pixel, D3DFORMAT format = D3DFMT_A8R8G8B8) {
    D3DPlane* plane = nullptr;
    if (FAILED(D3D_CreateTexturePlane(width, height, &plane, 0, format, D3DPOOL_MANAGED))) {
        return plane;
    }
    D3DLOCKED_RECT locked{};
    plane->texture->texture->LockRect(0, &locked, nullptr, 0);
    for (UINT y = 0; y < height; ++y) {
        auto* row = static_cast<std::uint8_t*>(locked.pBits) +
                    static_cast<std::ptrdiff_t>(y) * locked.Pitch;
        for (UINT x = 0; x < width; ++x) {
            const std::uint32_t argb = pixel(static_cast<int>(x), static_cast<int>(y));
            if (format == D3DFMT_R5G6B5) {
                const auto packed = static_cast<std::uint16_t>(
                    (argb >> 8 & 0xF800u) | (argb >> 5 & 0x07E0u) | (argb >> 3 & 0x001Fu));
                std::memcpy(row + x * 2, &packed, 2);
            } else {
                std::memcpy(row + x * 4, &argb, 4);
            }
        }
    }
    plane->texture->texture->UnlockRect(0);
    return plane;
}

class AdventureScene {
public:
    AdventureScene(UINT width, UINT height, D3DFORMAT format) {
        SetLogEnabled(0);
        CreateD3DApplication();
        static int window;
        D3DPRESENT_PARAMETERS pp{};
        pp.BackBufferWidth = width;
        pp.BackBufferHeight = height;
        pp.BackBufferFormat = format;
        pp.BackBufferCount = 1;
        pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
        pp.hDeviceWindow = reinterpret_cast<HWND>(&window);
        // A window takes the desktop's format; the 16-bit one is a full-screen mode's.
        pp.Windowed = format == D3DFMT_X8R8G8B8 ? TRUE : FALSE;
        pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
        D3DApp->SetDevice(pp.hDeviceWindow, &pp, 0, D3DDEVTYPE_HAL, 0x44);

        scale_ = std::min(static_cast<float>(width) / 800.0f, static_cast<float>(height) / 600.0f);
        left_ = (static_cast<float>(width) - 800.0f * scale_) / 2.0f;
        top_ = (static_cast<float>(height) - 600.0f * scale_) / 2.0f;

        background_ = MakePicture(800, 600, [](int x, int y) {
            return 0xFF000000u | static_cast<std::uint32_t>(x * 255 / 800) << 16 |
                   static_cast<std::uint32_t>(y * 255 / 600) << 8 | 0x60u;
        });
        // The cross-fade shows a snapshot of the whole back buffer, unscaled, in its format.
        fade_ = MakePicture(
            width, height,
            [](int x, int y) {
                return 0xFF000000u | static_cast<std::uint32_t>((x ^ y) & 0xFF) << 8;
            },
            format == D3DFMT_X8R8G8B8 ? D3DFMT_A8R8G8B8 : format);
        for (int i = 0; i < 3; ++i) {
            characters_.push_back(MakePicture(300, 560, [i](int x, int y) {
                const int dx = x - 150;
                const bool inside = dx * dx * 4 + (y - 300) * (y - 300) < 150 * 150 * 4;
                return inside ? 0xFF000000u | static_cast<std::uint32_t>(80 * i) << 16 |
                                    static_cast<std::uint32_t>(y & 0xFF)
                              : 0u;
            }));
        }
        Place(background_, 0, 0);
        for (int i = 0; i < 3; ++i) {
            Place(characters_[i], 40 + i * 250, 40);
        }
        fade_->SetAlpha(0x80);

        LOGFONTA lf{};
        lf.lfHeight = static_cast<LONG>(20 * scale_);
        lf.lfCharSet = SHIFTJIS_CHARSET;
        std::snprintf(lf.lfFaceName, sizeof(lf.lfFaceName), "%s",
                      "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E");
        D3D_CreateFont(&font_, &lf, 256);
        // 200 glyphs over four lines: kana, kanji and ASCII with a colour change.
        const std::string kana = "\x82\xa0\x82\xa2\x82\xa4\x82\xa6\x82\xa8";
        const std::string ascii = "Quick brown fox ";
        for (int line = 0; line < 4; ++line) {
            for (int i = 0; i < 5; ++i) {
                text_ += kana;
            }
            text_ += line == 1 ? "[FFC080]" : "";
            text_ += ascii + ascii.substr(0, 9);
            text_ += line == 1 ? "[]" : "";
            text_ += "\n";
        }
    }

    ~AdventureScene() {
        for (D3DPlane* plane : characters_) {
            plane->Release();
        }
        background_->Release();
        fade_->Release();
        D3D_ReleaseAllFonts();
        DestroyD3DApplication();
    }

    void DrawFrame() {
        IDirect3DDevice9* device = D3DApp->device.get();
        // The scene samples by points at every scale.
        device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
        device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
        device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
        device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
        device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
        device->BeginScene();
        background_->Draw();
        for (D3DPlane* plane : characters_) {
            plane->Draw();
        }
        fade_->Draw();
        const FloatRect window(
            static_cast<int>(left_ + 20 * scale_), static_cast<int>(top_ + 430 * scale_),
            static_cast<int>(left_ + 780 * scale_), static_cast<int>(top_ + 590 * scale_));
        D3D_ColorFill(&window, 0xA0102040u);
        font_->Draw(static_cast<int>(left_ + 40 * scale_), static_cast<int>(top_ + 445 * scale_),
                    text_.c_str(), nullptr);
        device->EndScene();
    }

private:
    void Place(D3DPlane* plane, float x, float y) {
        plane->SetScale(scale_);
        plane->SetPosition(left_ + x * scale_, top_ + y * scale_, 0.0f);
    }

    float scale_ = 1.0f;
    float left_ = 0.0f;
    float top_ = 0.0f;
    D3DPlane* background_ = nullptr;
    D3DPlane* fade_ = nullptr;
    std::vector<D3DPlane*> characters_;
    D3DFont* font_ = nullptr;
    std::string text_;
};

void RunScene(benchmark::State& state, UINT width, UINT height,
              D3DFORMAT format = D3DFMT_X8R8G8B8) {
    AdventureScene scene(width, height, format);
    scene.DrawFrame();  // fills the glyph cache
    for (auto _ : state) {
        scene.DrawFrame();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(width) * height);
}

void BM_TypicalScene800x600(benchmark::State& state) {
    RunScene(state, 800, 600);
}
BENCHMARK(BM_TypicalScene800x600)->Unit(benchmark::kMillisecond);

void BM_TypicalScene800x600R5G6B5(benchmark::State& state) {
    RunScene(state, 800, 600, D3DFMT_R5G6B5);
}
BENCHMARK(BM_TypicalScene800x600R5G6B5)->Unit(benchmark::kMillisecond);

void BM_TypicalScene1920x1080(benchmark::State& state) {
    RunScene(state, 1920, 1080);
}
BENCHMARK(BM_TypicalScene1920x1080)->Unit(benchmark::kMillisecond);

}  // namespace
