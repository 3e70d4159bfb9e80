// BM_EmptyAdventureFrame: one UpdateFrame at 800 x 600 with a script running and nothing to draw
// but the software cursor and the FPS line. BM_StartupToFirstFrame: a new process of the program
// from RunProgram to its first drawn frame, with the files already in the page cache.
#include <chrono>
#include <string>

#include <benchmark/benchmark.h>

#include "platform/win32/message_api.h"
#include "platform/win32/shell_test_hooks.h"
#include "shell/game_window.h"
#include "shell/program.h"
#include "shell_bench_support.h"

namespace {

void BM_EmptyAdventureFrame(benchmark::State& state) {
    shell_bench::RunningGame game;
    if (!game.ok()) {
        state.SkipWithError("no device");
        return;
    }
    for (auto _ : state) {
        shell_bench::RunningGame::Frame();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EmptyAdventureFrame)->Unit(benchmark::kMillisecond);

struct StartupProbe {
    std::chrono::steady_clock::time_point start;
    double seconds = -1.0;
};

void OnFirstFrame(void* context) {
    auto* probe = static_cast<StartupProbe*>(context);
    if (probe->seconds < 0.0) {
        probe->seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - probe->start).count();
        win32_test::QueueMessageBoxAnswer(6);  // IDYES
        PostMessageA(MainWindow, WM_CLOSE, 0, 0);
    }
}

// The child: RunProgram until its first frame is drawn, then the close question answered Yes.
double StartupToFirstFrame() {
    win32_test::UseScriptedMessageBoxes(true);
    StartupProbe probe;
    probe.start = std::chrono::steady_clock::now();
    ProgramOptions options;
    options.frameDrawn = OnFirstFrame;
    options.frameDrawnContext = &probe;
    RunProgram(options);
    return probe.seconds;
}
const shell_bench::FreshChild kStartupToFirstFrame("startup-to-first-frame", StartupToFirstFrame);

void BM_StartupToFirstFrame(benchmark::State& state) {
    shell_bench::MakeProgramDirectory();
    for (auto _ : state) {
        const double seconds = shell_bench::SecondsInFreshProcess(kStartupToFirstFrame);
        if (seconds < 0.0) {
            state.SkipWithError("the child drew no frame");
            return;
        }
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_StartupToFirstFrame)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace
