// BM_TrainMapFrame: one frame of the open train map as the frame step runs it at 800 x 600
// (sprites stepped by 16 ms, the map's own drawing, then every sprite not yet drawn): the
// demo's map and sheet, 20 stations with one of them hovered, 10 figures and the calendar. The
// target is at most 2 ms a frame.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "adventure/game_mode.h"
#include "adventure/train_map_screen.h"
#include "foundation/app_settings.h"
#include "kra/headless_devices.h"
#include "kra/kra_writer.h"
#include "media/graphics/d3d_application.h"
#include "platform/win32/cursor_api.h"
#include "platform/win32/message_api.h"
#include "script/script_variables.h"
#include "sprite_ui/sprite.h"

#include "fuzz_program_dir.h"

namespace {

std::string ReadDemo(const std::string& relative) {
    std::ifstream in(std::string(QVN_DEMO_DIR) + "/" + relative, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "missing demo file %s\n", relative.c_str());
        std::abort();
    }
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& relative, const std::string& bytes) {
    const std::string path = FuzzProgramDirectory("trainmapbench") + "/" + relative;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// The container `name` written from the demo's source `source`.
void WriteContainer(const std::string& name, const std::string& source) {
    qvn_kra::KraError error;
    const std::optional<qvn_kra::KraSource> parsed =
        qvn_kra::ParseKraSource(ReadDemo("sprite/" + source + ".txt"), &error);
    const std::optional<std::vector<std::uint8_t>> bytes =
        parsed ? qvn_kra::WriteKra(*parsed, &error) : std::nullopt;
    if (!bytes) {
        std::fprintf(stderr, "%s:%d: %s\n", source.c_str(), error.line, error.message.c_str());
        std::abort();
    }
    WriteFile("sprite/" + name + ".kra", std::string(bytes->begin(), bytes->end()));
}

void BM_TrainMapFrame(benchmark::State& state) {
    FuzzProgramDirectory("trainmapbench");
    for (const char* file :
         {"sprite/train.png", "sprite/ch01.png", "sprite/ch02.png", "bmp/visual/map.png"}) {
        WriteFile(file, ReadDemo(file));
    }
    WriteContainer("train", "train");
    for (int character = 1; character <= 10; ++character) {
        char name[8];
        std::snprintf(name, sizeof name, "ch%02d", character);
        WriteContainer(name, character % 2 == 1 ? "ch01" : "ch02");
    }
    if (!qvn_kra::StartHeadlessDevices(800, 600)) {
        std::abort();
    }
    ComputeLetterbox(800, 600, &LetterboxScale, &LetterboxRect);
    ScriptVariables.assign(18, 0);
    ScriptVariables[kMonthVariable] = 7;
    ScriptVariables[kWeekVariable] = 3;
    ScriptVariables[kDayTypeVariable] = 1;

    // Stations on a 5 x 4 grid, a figure at every second one.
    TrainMapScreen::SetOrigin(612, 16);
    for (int key = 1; key <= 20; ++key) {
        const std::string animation = "ST" + std::to_string((key - 1) % 4 + 1);
        TrainMapScreen::AddStation(key, animation.c_str(), 80 + ((key - 1) % 5) * 120,
                                   200 + ((key - 1) / 5) * 100);
    }
    for (int character = 1; character <= 10; ++character) {
        TrainMapScreen::AddFigure(character * 2, character, character % 2 + 1);
    }
    GameMode = kGameModeAdventure;
    if (!TrainMapScreen::Open("visual\\map") || TrainMapScreen::figures.size() != 10) {
        std::abort();
    }
    IDirect3DDevice9* device = D3DApp->device.get();
    auto frame = [device] {
        ISprite::StepAll(16);
        device->BeginScene();
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
        TrainMapScreen::Draw(1.0f / 60.0f);
        ISprite::DrawAll(0);
        device->EndScene();
    };
    frame();
    // Station 7 hovered: the marker and its "ON." form are drawn as well.
    SetCursorPos(200, 300);
    TrainMapScreen::OnMessage(nullptr, WM_MOUSEMOVE, 0, 0);
    if (TrainMapScreen::hovered != 7) {
        std::abort();
    }
    for (auto _ : state) {
        frame();
    }
    state.counters["sprites"] = static_cast<double>(ISprite::Count());
    TrainMapScreen::Close();
    qvn_kra::StopHeadlessDevices();
}
BENCHMARK(BM_TrainMapFrame)->Unit(benchmark::kMillisecond);

}  // namespace
