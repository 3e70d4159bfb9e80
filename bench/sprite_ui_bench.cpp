// Sprites at the frame rate the game needs: 200 animated 64 x 64 instances stepped by 16 ms and
// drawn on an 800 x 600 back buffer (at most 2 ms a frame), and loading a container of 32
// textures and 64 animations with its textures already loaded (at most 200 microseconds).

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "foundation/path.h"
#include "kra/headless_devices.h"
#include "kra/kra_writer.h"
#include "media/graphics/d3d_application.h"
#include "platform/d3dx/png_encode.h"
#include "sprite_ui/sprite.h"

#include "fuzz_program_dir.h"

namespace {

void WriteFile(const std::string& relative, const std::vector<std::uint8_t>& bytes) {
    const std::string path = FuzzProgramDirectory("spritebench") + "/" + relative;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::abort();
    }
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

// A sheet of `frames` cells of size x size pixels side by side: a disc with a soft edge whose
// colour changes from cell to cell.
void WriteSheet(const std::string& name, int frames, int size) {
    const int width = frames * size;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < width; ++x) {
            const int cell = x / size;
            const int dx = x % size - size / 2;
            const int dy = y - size / 2;
            const int d = dx * dx + dy * dy;
            const int r = size / 2;
            const std::uint32_t alpha = d < (r - 2) * (r - 2) ? 255u : d < r * r ? 128u : 0u;
            pixels[static_cast<std::size_t>(y) * width + x] =
                alpha << 24 | static_cast<std::uint32_t>(60 * cell) << 16 | 0x8000u |
                static_cast<std::uint32_t>(255 - 60 * cell);
        }
    }
    WriteFile("sprite/" + name, d3dx::EncodeArgbAsPng(width, size, pixels.data(), width));
}

void WriteContainer(const std::string& name, const std::string& source) {
    qvn_kra::KraError error;
    std::optional<qvn_kra::KraSource> parsed = qvn_kra::ParseKraSource(source, &error);
    std::optional<std::vector<std::uint8_t>> bytes =
        parsed ? qvn_kra::WriteKra(*parsed, &error) : std::nullopt;
    if (!bytes) {
        std::fprintf(stderr, "%d: %s\n", error.line, error.message.c_str());
        std::abort();
    }
    WriteFile("sprite/" + name + ".kra", *bytes);
}

class Devices {
public:
    Devices() {
        const std::string dir = FuzzProgramDirectory("spritebench");
        std::filesystem::create_directories(dir + "/sprite");
        if (!qvn_kra::StartHeadlessDevices(800, 600)) {
            std::abort();
        }
        IDirect3DDevice9* device = D3DApp->device.get();
        device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
        device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    }
    ~Devices() { qvn_kra::StopHeadlessDevices(); }
};

void BM_SpriteScene200(benchmark::State& state) {
    Devices devices;
    WriteSheet("walker.png", 4, 64);
    std::string source =
        "magic KRA4\n"
        "texture 0 mode 0 \"walker.png\"\n";
    for (int frame = 1; frame <= 4; ++frame) {
        source += "pointlist " + std::to_string(frame - 1) + ": 0,-32\n";
        source += "part " + std::to_string(frame - 1) + " texture 0 frame " +
                  std::to_string(frame) + " src " + std::to_string((frame - 1) * 64) +
                  ",0 64x64 dst -32,-32\n";
    }
    source += "pointlist 4:\n";
    source += "animation 0 \"walk\" text \"s50 p1,2,a,3,4 m8,0 p4,3,2,1 m-8,0\"\n";
    WriteContainer("walker", source);

    std::vector<ISprite*> sprites;
    for (int i = 0; i < 200; ++i) {
        ISprite* sprite = ISprite::Create("walker");
        sprite->Start("walk", kSpriteVisible | kSpritePlaying | kSpriteLoop, 0);
        // A 20 x 10 grid over the screen, each instance a little ahead of the one before.
        sprite->SetPosition(static_cast<float>(40 + (i % 20) * 38),
                            static_cast<float>(40 + (i / 20) * 56));
        sprite->Step(static_cast<std::uint32_t>(i * 7));
        if (i % 3 == 1) {
            sprite->flags |= kSpriteMirrorX;
        }
        sprites.push_back(sprite);
    }
    IDirect3DDevice9* device = D3DApp->device.get();
    for (auto _ : state) {
        ISprite::StepAll(16);
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF203040u, 1.0f, 0);
        device->BeginScene();
        ISprite::DrawAll(0);
        device->EndScene();
    }
    state.SetItemsProcessed(state.iterations() * 200);
    ISprite::DeleteAll();
}
BENCHMARK(BM_SpriteScene200)->Unit(benchmark::kMillisecond);

void BM_LoadContainer(benchmark::State& state) {
    Devices devices;
    std::string source = "magic KRA5\n";
    for (int i = 0; i < 32; ++i) {
        const std::string image = "cell" + std::to_string(i) + ".png";
        WriteSheet(image, 2, 16);
        source += "texture " + std::to_string(i) + " mode " + std::to_string(i % 4) + " \"" +
                  image + "\"\n";
    }
    for (int frame = 0; frame < 64; ++frame) {
        source += "pointlist " + std::to_string(frame) + ": 1,2 3,4\n";
        source += "part " + std::to_string(frame) + " texture " + std::to_string(frame % 32) +
                  " frame " + std::to_string(frame) + " src 0,0 16x16 dst -8,-8\n";
    }
    for (int i = 0; i < 64; ++i) {
        source += "animation " + std::to_string(i) + " \"anim" + std::to_string(i) +
                  "\" text \"s80 p1-8,a,9 m4,-2 s40 p10,b,11,12-20 m0,0 p21\"\n";
    }
    WriteContainer("large", source);
    // One instance keeps the 32 textures loaded, so each load only shares them.
    ISprite* keeper = ISprite::Create("large");
    if (keeper == nullptr) {
        std::abort();
    }
    const std::string path = GetPath(PathKind::Sprite, "large");
    for (auto _ : state) {
        auto* data = new SpriteData();
        const SpriteLoadResult result = LoadSpriteContainer(path.c_str(), data, nullptr);
        benchmark::DoNotOptimize(result);
        ISprite::ReleaseData(data);
    }
    ISprite::Delete(keeper);
}
BENCHMARK(BM_LoadContainer)->Unit(benchmark::kMicrosecond);

}  // namespace
