// The adventure scene drawn into the back buffer as the adventure frame draws it: a BASE
// background filling the letterbox and FADE mid cross-fade over it, with the letterbox's depth
// clipping. Items are pixels of the back buffer.

#include <benchmark/benchmark.h>

#include <cstdint>

#include "adventure/game_mode.h"
#include "adventure/scene.h"
#include "foundation/app_settings.h"
#include "foundation/log.h"
#include "fuzz_device.h"
#include "media/graphics/d3d_application.h"
#include "media/graphics/texture.h"

namespace {

void RunScene(benchmark::State& state, UINT width, UINT height) {
    SetLogEnabled(0);
    if (!MakeAdventureDevice(width, height, true)) {
        state.SkipWithError("no device");
        return;
    }

    LoadBasePlane(nullptr);
    BasePlane->texture->ColorFill(nullptr, 0xFF406080u);
    CreateFadePlane(0xFF804020u);
    StartSceneFade(1000000);
    FadePlane->SetAlpha(0x80);

    IDirect3DDevice9* device = D3DApp->device.get();
    for (auto _ : state) {
        device->BeginScene();
        RenderAdventureScene(1);
        device->EndScene();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(width) * height);
    ReleaseScene();
    DestroyD3DApplication();
}

void BM_SceneRender800x600(benchmark::State& state) {
    RunScene(state, 800, 600);
}
BENCHMARK(BM_SceneRender800x600)->Unit(benchmark::kMillisecond);

void BM_SceneRender1920x1080(benchmark::State& state) {
    RunScene(state, 1920, 1080);
}
BENCHMARK(BM_SceneRender1920x1080)->Unit(benchmark::kMillisecond);

}  // namespace
