// BM_LayoutPage: a four-line page (the speaker and three lines with ruby, colour markup and a
// global word) laid out and drawn into the message texture at 800 x 600, as ShowText does it
// for every page. BM_DrawPageLinesReference: the texture cleared and the same four finished
// lines drawn twice (mask and word copies) with the font, without any layout: the cost of the
// drawing alone, measured in the same run.
// BM_AdventurePage800x600 and BM_AdventurePage1920x1080: one whole adventure frame as the frame
// step draws it while a page waits: the back buffer cleared, the picture of BASE scaled into the
// letterbox, FADE halfway through a cross-fade over it, the message window with that page, and
// the software cursor. Items are frames. BM_AdventurePage800x600R5G6B5: the same frame into the
// 16-bit back buffer of a first run (full screen, "Fullcolor" 0), whose textures follow it.
#include <cstdio>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "adventure/adventure_frame.h"
#include "adventure/game_mode.h"
#include "adventure/message_layout.h"
#include "adventure/message_window.h"
#include "adventure/scene.h"
#include "adventure_bench_stage.h"
#include "foundation/app_settings.h"
#include "fuzz_device.h"
#include "media/graphics/d3d_application.h"
#include "media/graphics/d3d_functions.h"
#include "media/graphics/font.h"
#include "media/graphics/plane.h"
#include "media/graphics/texture.h"
#include "platform/win32/cursor_api.h"
#include "platform/winbase/code_page.h"
#include "shell/cursor.h"
#include "shell/program.h"

namespace {

std::string Sjis(const char* utf8) {
    return Utf8ToCp932(utf8).value_or("");
}

// The page of every benchmark: the speaker and three lines with ruby, markup and a word.
const char* const kPageText =
    "{駅前/えきまえ}の{広場/ひろば}に#0人が集まり、[FF8080]赤い旗[]が風に揺れていた。"
    "遠くで{汽笛/きてき}が鳴り、列車はゆっくりと{速度/そくど}を落として"
    "{構内/こうない}へ入ってくる。";

// The device, the geometry of an 800 x 600 screen and the page, made by each benchmark.
struct Page {
    Page() {
        MakeAdventureDevice(800, 600);
        std::snprintf(SpeakerName, sizeof SpeakerName, "%s", Sjis("案内人").c_str());
        text = Sjis(kPageText);
        lines = {SpeakerName,
                 Sjis("　駅前の広場に0人が集まり、[FF8080]赤い旗[]が風に揺れていた。遠くで"),
                 Sjis("　汽笛が鳴り、列車はゆっくりと速度を落として構内へ入ってくる。")};
        // The first page makes the window, both fonts and their glyphs.
        LineCounter = -1;
        ShowText(text.c_str());
        pageLines = LineCounter;
    }
    AdventureBenchStage stage;  // first: made before the page, taken down after it
    std::string text;
    std::vector<std::string> lines;
    int pageLines = 0;
};

void BM_LayoutPage(benchmark::State& state) {
    const Page page;
    for (auto _ : state) {
        LineCounter = -1;
        ShowText(page.text.c_str());
    }
    state.counters["lines"] = page.pageLines;
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LayoutPage)->Unit(benchmark::kMicrosecond);

void BM_DrawPageLinesReference(benchmark::State& state) {
    const Page page;
    const MessageGeometry g = GetMessageGeometry();
    for (auto _ : state) {
        LineCounter = 0;
        D3D_SetRenderTarget(MessageTexture);
        ClearMessageTexture();
        int y = g.fontSize / 2;
        for (const std::string& line : page.lines) {
            DrawMessageLine(MessageFont, g.fontSize, y, kMessageTextColour, line.c_str());
            y += g.lineHeight;
        }
        D3D_SetRenderTarget(nullptr);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DrawPageLinesReference)->Unit(benchmark::kMicrosecond);

void RunAdventurePage(benchmark::State& state, UINT width, UINT height,
                      D3DFORMAT backBufferFormat = D3DFMT_X8R8G8B8) {
    const AdventureBenchStage stage;
    // FADE holds the scene before the station (a blue colour picture), halfway through its
    // cross-fade away over the station.
    if (!MakeAdventureDevice(width, height, false, backBufferFormat) ||
        FAILED(LoadBasePlane(nullptr))) {
        state.SkipWithError("no device");
        return;
    }
    BasePlane->texture->ColorFill(nullptr, 0xFF203060u);
    RenderAdventureScene(0);
    if (FAILED(LoadBasePlane("visual\\station"))) {
        state.SkipWithError("no picture");
        return;
    }
    StartSceneFade(2000);
    FadePlane->gameData = 1000;
    FadePlane->SetAlpha(0x80);
    HWCursor = 0;
    SetCursorShape(0);
    UpdateCursor();
    SetCursorPos(static_cast<int>(width / 2), static_cast<int>(height / 2));
    std::snprintf(SpeakerName, sizeof SpeakerName, "%s", Sjis("案内人").c_str());
    LineCounter = -1;
    ShowText(Sjis(kPageText).c_str());
    PageWait = 1;
    MessageWindowShown = 1;
    GameMode = kGameModeAdventure;
    IDirect3DDevice9* device = D3DApp->device.get();
    for (auto _ : state) {
        D3D_UpdatePlanes(0.0);
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
        device->BeginScene();
        AdventureFrame(0.0);
        DrawSoftwareCursor();
        device->EndScene();
    }
    state.counters["lines"] = LineCounter;
    state.SetItemsProcessed(state.iterations());
}

void BM_AdventurePage800x600(benchmark::State& state) {
    RunAdventurePage(state, 800, 600);
}
BENCHMARK(BM_AdventurePage800x600)->Unit(benchmark::kMillisecond);

void BM_AdventurePage800x600R5G6B5(benchmark::State& state) {
    RunAdventurePage(state, 800, 600, D3DFMT_R5G6B5);
}
BENCHMARK(BM_AdventurePage800x600R5G6B5)->Unit(benchmark::kMillisecond);

void BM_AdventurePage1920x1080(benchmark::State& state) {
    RunAdventurePage(state, 1920, 1080);
}
BENCHMARK(BM_AdventurePage1920x1080)->Unit(benchmark::kMillisecond);

}  // namespace
