// BM_EmptyAdventureFrame: one UpdateFrame at 800 x 600 with a script running and nothing to draw
// but the software cursor and the FPS line. BM_StartupToFirstFrame: a fresh process (forked)
// from RunProgram to its first drawn frame, with the files already in the page cache.
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "adventure/game_mode.h"
#include "foundation/app_settings.h"
#include "foundation/path.h"
#include "foundation/registry_settings.h"
#include "media/graphics/d3d_application.h"
#include "platform/win32/cursor_api.h"
#include "platform/win32/message_api.h"
#include "platform/win32/shell_test_hooks.h"
#include "platform/win32/window_api.h"
#include "platform/winbase/test_hooks.h"
#include "script/call_stack.h"
#include "shell/cursor.h"
#include "shell/frame_control.h"
#include "shell/game_window.h"
#include "shell/program.h"
#include "shell/startup_settings.h"
#include "tools/script/script_assembler.h"

namespace {

// The program directory, emptied, with the demo's cursor, a start script that waits one frame
// after another, and a windowed 800 x 600 display in the settings store.
std::string MakeProgramDirectory() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    const std::string dir = win32_test::UsePrivateProgramDirectory("shell-bench");
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        std::filesystem::remove_all(entry.path());
    }
    setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);
    win32_test::ForgetSettingsStore();
    (void)std::system(("mkdir -p " + dir + "/bmp " + dir + "/script").c_str());
    std::ifstream cursor(std::string(QVN_DEMO_DIR) + "/bmp/cursor.png", std::ios::binary);
    std::ofstream(dir + "/bmp/cursor.png", std::ios::binary) << cursor.rdbuf();
    const char* scripts[][2] = {{"global", ".globals 0 0 0 0 0 0 0 0 0\n*top\n return\n"},
                                {"start", ".locals 0\n*top\n@w\n invoke 0 0 l0 l0\n jump @w\n"}};
    for (const auto& script : scripts) {
        std::vector<std::uint8_t> bytes;
        std::string error;
        if (!AssembleScript(script[1], script[0], &bytes, &error)) {
            std::abort();
        }
        std::ofstream(dir + "/script/" + script[0] + ".scr", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    WriteRegistryDword("main", "Fullscreen", 0);
    WriteRegistryDword("main", "HWCursor", 0);
    return dir;
}

void BM_EmptyAdventureFrame(benchmark::State& state) {
    MakeProgramDirectory();
    win32_test::UseManualClock(true);
    ResetAppSettingsToDefaults();
    ReadDisplaySettings();
    InstallGameScriptHooks();
    if (CreateD3DApplication() == 0 || RunStartupSettingsDialog(kStartupDialogSimple) != 1 ||
        CreateMainWindow() == nullptr ||
        FAILED(D3DApp->SetDevice(MainWindow, &DisplaySettings, 0, D3DApp->deviceType, 0x44))) {
        state.SkipWithError("no device");
        return;
    }
    ApplyWindowMode();
    SetCursorShape(0);
    SetCursorPos(400, 300);
    FpsOverlayFlag = 1;
    StartScript(GetPath(PathKind::Script, "start"), "top", 0);
    for (auto _ : state) {
        win32_test::AdvanceClockMicroseconds(16667);
        UpdateFrame(1);
    }
    state.SetItemsProcessed(state.iterations());
    ResetAdventureState();
    ReleaseCursor();
    ReleaseFpsFont();
    DestroyD3DApplication();
    DestroyWindow(MainWindow);
    UnregisterClassA("qvn", nullptr);
    ResetGameWindowState();
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    win32_test::UseManualClock(false);
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

void BM_StartupToFirstFrame(benchmark::State& state) {
    const std::string dir = MakeProgramDirectory();
    for (auto _ : state) {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0) {
            state.SkipWithError("pipe");
            return;
        }
        const pid_t child = fork();
        if (child == 0) {
            close(pipeEnds[0]);
            win32_test::UseScriptedMessageBoxes(true);
            StartupProbe probe;
            probe.start = std::chrono::steady_clock::now();
            ProgramOptions options;
            options.frameDrawn = OnFirstFrame;
            options.frameDrawnContext = &probe;
            RunProgram(options);
            const ssize_t written = write(pipeEnds[1], &probe.seconds, sizeof probe.seconds);
            _exit(written == sizeof probe.seconds ? 0 : 1);
        }
        close(pipeEnds[1]);
        double seconds = -1.0;
        const ssize_t got = read(pipeEnds[0], &seconds, sizeof seconds);
        close(pipeEnds[0]);
        int status = 0;
        waitpid(child, &status, 0);
        if (got != sizeof seconds || seconds < 0.0) {
            state.SkipWithError("the child drew no frame");
            return;
        }
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_StartupToFirstFrame)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace
