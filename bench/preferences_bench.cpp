// BM_FrameWithPreferences: a game frame at 800 x 600 with the preferences dialog open over a page
// of text on the demo's station picture while the message colour's hue slider is dragged: the
// page's redraw frame (the message window's back built anew in the new colour) presented with
// the dialog drawn over it. The counter turn_ms is a whole turn of the dialog's loop: that frame,
// the dialog's own frame with the slider moved, and the game window repainted under it.
// BM_VariableEditorRefresh: the variable editor listing 2,000 named variables reads them all
// again (WM_USER) after every one has changed.
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include <benchmark/benchmark.h>

#include "adventure/variable_editor.h"
#include "platform/ui/ui_presentation.h"
#include "platform/win32/dialog_api.h"
#include "platform/win32/dialog_input.h"
#include "platform/win32/dialog_test_hooks.h"
#include "platform/win32/message_api.h"
#include "platform/win32/window_api.h"
#include "platform/winbase/test_hooks.h"
#include "resources/game_resources.h"
#include "script/script_variables.h"
#include "shell/game_window.h"
#include "shell/preferences_dialog.h"
#include "shell_bench_support.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kPageScript =
    "*top\n"
    "    invoke 3 \"station\"\n"
    "    invoke 1 \"案内人\"\n"
    "    text \"色を変えてみましょう。背景の色が、すぐに変わります。\"\n"
    "    invoke 2\n"
    "    return\n";

struct DragTurns {
    benchmark::State* state;
    int turn = 0;
    Clock::time_point firstTurn{};

    // One turn of the modal loop: the hue moves on (its redraw frame timed), and the loop draws
    // what follows.
    static void Idle(HWND dialog, void* context) {
        auto* self = static_cast<DragTurns*>(context);
        if (!self->state->KeepRunning()) {
            const double turns = std::max(1, self->turn - 1);
            self->state->counters["turn_ms"] =
                std::chrono::duration<double, std::milli>(Clock::now() - self->firstTurn).count() /
                turns;
            EndDialog(dialog, 1);
            return;
        }
        if (self->turn++ == 1) {
            self->firstTurn = Clock::now();
        }
        HWND hue = Win32FindDialogControl(dialog, 1006);
        const Clock::time_point start = Clock::now();
        Win32DragTrackbar(hue, (self->turn * 7) % 360, false);
        self->state->SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
};

// The demo's station picture in the benchmark's program directory.
void CopyStation(const std::string& dir) {
    std::filesystem::create_directories(dir + "/bmp/visual");
    std::filesystem::copy_file(std::string(QVN_DEMO_DIR) + "/bmp/visual/station.png",
                               dir + "/bmp/visual/station.png",
                               std::filesystem::copy_options::overwrite_existing);
}

void BM_FrameWithPreferences(benchmark::State& state) {
    shell_bench::RunningGame game(kPageScript);
    CopyStation(win32_test::UsePrivateProgramDirectory("shell-bench"));
    ui::InstallUiPresentation();
    ui::DrawOnHeadlessDisplay(true);
    if (!game.ok()) {
        state.SkipWithError("no device");
    } else {
        for (int i = 0; i < 30; ++i) {
            shell_bench::RunningGame::Frame();  // the page and its window fade in
        }
        DragTurns turns{&state};
        win32_test::SetModalIdleHook(&DragTurns::Idle, &turns);
        ShowPreferencesDialog(MainWindow, kCommandPreferencesMessage);
        win32_test::SetModalIdleHook(nullptr, nullptr);
        state.SetItemsProcessed(state.iterations());
    }
    ui::DrawOnHeadlessDisplay(false);
    ui::RemoveUiPresentation();
}
BENCHMARK(BM_FrameWithPreferences)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_VariableEditorRefresh(benchmark::State& state) {
    constexpr int kRows = 2000;
    const std::string dir = shell_bench::MakeProgramDirectory();
    std::ofstream names(dir + "/script/variable.txt", std::ios::binary);
    names << "var\r\n";
    for (int i = 0; i < kRows; ++i) {
        names << "value_" << i << "\t/ comment of variable " << i << "\r\n";
    }
    names << "end\r\n";
    names.close();
    RegisterGameResources();
    ScriptVariables.assign(kRows, 0);
    OpenVariableEditor(1);
    if (VariableEditorWindow == nullptr) {
        state.SkipWithError("no editor");
        return;
    }
    for (auto _ : state) {
        for (std::uint32_t& value : ScriptVariables) {
            ++value;
        }
        SendMessageA(VariableEditorWindow, WM_USER, 0, 0);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
    DestroyWindow(VariableEditorWindow);
    ScriptVariables.clear();
}
BENCHMARK(BM_VariableEditorRefresh)->Unit(benchmark::kMillisecond);

}  // namespace
