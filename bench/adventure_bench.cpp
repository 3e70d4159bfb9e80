// BM_LayoutPage: a four-line page (the speaker and three lines with ruby, colour markup and a
// global word) laid out and drawn into the message texture at 800 x 600, as ShowText does it
// for every page. BM_DrawPageLinesReference: the texture cleared and the same four finished
// lines drawn twice (mask and word copies) with the font, without any layout: the cost of the
// drawing alone, measured in the same run.
#include <cstdio>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "adventure_device.h"

#include "adventure/game_mode.h"
#include "adventure/message_layout.h"
#include "adventure/message_window.h"
#include "foundation/app_settings.h"
#include "foundation/log.h"
#include "media/graphics/d3d_application.h"
#include "media/graphics/d3d_functions.h"
#include "media/graphics/font.h"
#include "platform/winbase/code_page.h"
#include "shell/program.h"

namespace {

std::string Sjis(const char* utf8) {
    return Utf8ToCp932(utf8).value_or("");
}

// The device, the geometry of an 800 x 600 screen and the page, made once.
struct Page {
    Page() {
        StartAdventureDevice();
        std::snprintf(SpeakerName, sizeof SpeakerName, "%s", Sjis("案内人").c_str());
        text = Sjis(
            "{駅前/えきまえ}の{広場/ひろば}に#0人が集まり、[FF8080]赤い旗[]が風に揺れていた。"
            "遠くで{汽笛/きてき}が鳴り、列車はゆっくりと{速度/そくど}を落として"
            "{構内/こうない}へ入ってくる。");
        lines = {SpeakerName,
                 Sjis("　駅前の広場に0人が集まり、[FF8080]赤い旗[]が風に揺れていた。遠くで"),
                 Sjis("　汽笛が鳴り、列車はゆっくりと速度を落として構内へ入ってくる。")};
        // The first page makes the window, both fonts and their glyphs.
        LineCounter = -1;
        ShowText(text.c_str());
        pageLines = LineCounter;
    }
    std::string text;
    std::vector<std::string> lines;
    int pageLines = 0;
};

Page& ThePage() {
    static Page page;
    return page;
}

void BM_LayoutPage(benchmark::State& state) {
    Page& page = ThePage();
    for (auto _ : state) {
        LineCounter = -1;
        ShowText(page.text.c_str());
    }
    state.counters["lines"] = page.pageLines;
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LayoutPage)->Unit(benchmark::kMicrosecond);

void BM_DrawPageLinesReference(benchmark::State& state) {
    Page& page = ThePage();
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

}  // namespace
