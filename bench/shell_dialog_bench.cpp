// The frame of BM_EmptyAdventureFrame with the presentation of menus and dialogs at work:
// BM_FrameWithMenuOpen with the File menu and its load slots open below the menu bar,
// BM_FrameWithDialog under the modal version dialog. A movie's 800 x 600 picture shown in the
// game window in place of the frame, as a movie shows each of its pictures:
// BM_MoviePictureUnderMenuBar with the menu bar above it, BM_MoviePictureWithMenuOpen with the
// File menu and its load slots open over it (the target for both is at most 8 ms, a quarter of a
// 30 frames a second movie's picture). BM_StartupToFirstDialog: a new process
// of the program from RunProgram until the start-up dialog's first frame is presented.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

#include <benchmark/benchmark.h>

#include "platform/d3d9/foreign_picture.h"
#include "platform/ui/ui_presentation.h"
#include "platform/win32/dialog_api.h"
#include "platform/win32/dialog_input.h"
#include "platform/win32/dialog_test_hooks.h"
#include "platform/win32/menu_api.h"
#include "platform/win32/menu_tracker.h"
#include "platform/win32/message_keys.h"
#include "platform/win32/shell_test_hooks.h"
#include "platform/win32/window_api.h"
#include "shell/game_window.h"
#include "shell/notice_dialogs.h"
#include "shell/program.h"
#include "shell_bench_support.h"

namespace {

// The presentation drawing on this headless display for the benchmark's length.
class Presentation {
public:
    Presentation() {
        ui::InstallUiPresentation();
        ui::DrawOnHeadlessDisplay(true);
    }
    ~Presentation() {
        ui::DrawOnHeadlessDisplay(false);
        ui::RemoveUiPresentation();
    }
    Presentation(const Presentation&) = delete;
    Presentation& operator=(const Presentation&) = delete;
};

// Runs the benchmark's frames from the idle turn of a modal loop, then ends the loop.
struct FramesInLoop {
    benchmark::State* state;
    void (*end)(HWND modalWindow);
    void (*step)() = shell_bench::RunningGame::Frame;
    bool ran = false;

    static void Idle(HWND modalWindow, void* context) {
        auto* self = static_cast<FramesInLoop*>(context);
        if (!self->ran) {
            self->ran = true;
            for (auto _ : *self->state) {
                self->step();
            }
            self->state->SetItemsProcessed(self->state->iterations());
        }
        self->end(modalWindow);
    }
};

// Runs `step` with the File menu and its load slots open below the game's menu bar.
void WithMenuOpen(benchmark::State& state, void (*step)()) {
    shell_bench::RunningGame game;
    Presentation presentation;
    if (!game.ok()) {
        state.SkipWithError("no device");
        return;
    }
    RECT window{};
    GetWindowRect(MainWindow, &window);
    win32_internal::MenuTracker tracker = win32_internal::MenuTracker::ForBar(
        MainWindow, SIZE{window.right - window.left, window.bottom - window.top});
    tracker.OpenBarItem(0);
    tracker.OnKey(VK_DOWN);
    tracker.OnKey(VK_RIGHT);  // the load slots
    // A click away from the menus closes them.
    FramesInLoop frames{&state,
                        [](HWND) {
                            win32_test::InjectMouseButton(MainWindow, 0, true, 790, 590);
                            win32_test::InjectMouseButton(MainWindow, 0, false, 790, 590);
                        },
                        step};
    win32_test::SetModalIdleHook(&FramesInLoop::Idle, &frames);
    win32_internal::RunMenuTracking(&tracker);
    win32_test::SetModalIdleHook(nullptr, nullptr);
}

void BM_FrameWithMenuOpen(benchmark::State& state) {
    WithMenuOpen(state, shell_bench::RunningGame::Frame);
}
BENCHMARK(BM_FrameWithMenuOpen)->Unit(benchmark::kMillisecond);

void BM_FrameWithDialog(benchmark::State& state) {
    shell_bench::RunningGame game;
    Presentation presentation;
    if (!game.ok()) {
        state.SkipWithError("no device");
        return;
    }
    FramesInLoop frames{&state, [](HWND dialog) { EndDialog(dialog, 1); }};
    win32_test::SetModalIdleHook(&FramesInLoop::Idle, &frames);
    ShowVersionDialog(MainWindow);
    win32_test::SetModalIdleHook(nullptr, nullptr);
}
BENCHMARK(BM_FrameWithDialog)->Unit(benchmark::kMillisecond);

// A movie's picture, a different one each time as a movie's are.
void ShowMoviePicture() {
    static std::vector<std::uint32_t> argb(800 * 600);
    static std::uint32_t colour = 0xFF000000u;
    colour += 0x010203u;
    std::fill(argb.begin(), argb.end(), colour | 0xFF000000u);
    d3d9_internal::ShowForeignPicture(
        MainWindow, d3d9_internal::ForeignPicture{argb.data(), 800, 600, RECT{0, 0, 800, 600},
                                                  RECT{0, 0, 800, 600}});
}

void BM_MoviePictureUnderMenuBar(benchmark::State& state) {
    shell_bench::RunningGame game;
    Presentation presentation;
    if (!game.ok()) {
        state.SkipWithError("no device");
        return;
    }
    for (auto _ : state) {
        ShowMoviePicture();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MoviePictureUnderMenuBar)->Unit(benchmark::kMillisecond);

void BM_MoviePictureWithMenuOpen(benchmark::State& state) {
    WithMenuOpen(state, ShowMoviePicture);
}
BENCHMARK(BM_MoviePictureWithMenuOpen)->Unit(benchmark::kMillisecond);

struct DialogProbe {
    std::chrono::steady_clock::time_point start;
    double seconds = -1.0;
};

// The first idle turn of the start-up dialog's loop comes after its first frame was presented.
void OnFirstDialogFrame(HWND dialog, void* context) {
    auto* probe = static_cast<DialogProbe*>(context);
    if (probe->seconds < 0.0) {
        probe->seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - probe->start).count();
    }
    Win32ClickControl(GetDlgItem(dialog, 2));
}

// The child: RunProgram until the start-up dialog's first frame, then back to the desktop.
double StartupToFirstDialog() {
    DialogProbe probe;
    probe.start = std::chrono::steady_clock::now();
    Presentation presentation;
    win32_test::SetModalIdleHook(OnFirstDialogFrame, &probe);
    RunProgram(ProgramOptions{});
    return probe.seconds;
}
const shell_bench::FreshChild kStartupToFirstDialog("startup-to-first-dialog",
                                                    StartupToFirstDialog);

void BM_StartupToFirstDialog(benchmark::State& state) {
    shell_bench::MakeProgramDirectory();
    for (auto _ : state) {
        const double seconds = shell_bench::SecondsInFreshProcess(kStartupToFirstDialog);
        if (seconds < 0.0) {
            state.SkipWithError("the child showed no dialog");
            return;
        }
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_StartupToFirstDialog)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace
