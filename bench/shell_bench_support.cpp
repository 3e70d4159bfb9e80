#include "shell_bench_support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
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
#include "resources/game_resources.h"
#include "script/call_stack.h"
#include "shell/cursor.h"
#include "shell/frame_control.h"
#include "shell/game_window.h"
#include "shell/startup_settings.h"
#include "tools/script/script_assembler.h"

namespace shell_bench {

std::string MakeProgramDirectory(const char* startScript) {
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
    const char* scripts[][2] = {
        {"global", ".globals 0 0 0 0 0 0 0 0 0\n*top\n return\n"},
        {"start", startScript != nullptr ? startScript
                                         : ".locals 0\n*top\n@w\n invoke 0 0 l0 l0\n jump @w\n"}};
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

namespace {

// The first argument of a new process that runs a FreshChild: NAME PROGRAM_DIRECTORY FD follow.
constexpr const char* kFreshChildFlag = "--fresh-child";

std::map<std::string, double (*)()>& FreshChildren() {
    static std::map<std::string, double (*)()> children;
    return children;
}

// The new process: runs the child named `name` in `directory` and writes its seconds to `fd`.
int RunFreshChild(const char* name, const char* directory, const char* fd) {
    const auto found = FreshChildren().find(name);
    if (found == FreshChildren().end()) {
        return 1;
    }
    win32_test::SetProgramDirectory(directory);
    const double seconds = found->second();
    const int out = std::atoi(fd);
    const bool written = write(out, &seconds, sizeof seconds) == sizeof seconds;
    close(out);
    return written ? 0 : 1;
}

}  // namespace

FreshChild::FreshChild(const char* name, double (*run)()) : name_(name) {
    FreshChildren()[name] = run;
}

double SecondsInFreshProcess(const FreshChild& child) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        return -1.0;
    }
    // Everything the new process is given is made before the fork.
    const std::string directory = win32_test::UsePrivateProgramDirectory("shell-bench");
    const std::string fd = std::to_string(pipeEnds[1]);
    const char* arguments[] = {"shell_bench",     kFreshChildFlag, child.name(),
                               directory.c_str(), fd.c_str(),      nullptr};
    const pid_t process = fork();
    if (process == 0) {
        close(pipeEnds[0]);
        execv("/proc/self/exe", const_cast<char* const*>(arguments));
        _exit(127);
    }
    close(pipeEnds[1]);
    double seconds = -1.0;
    const ssize_t got = process > 0 ? read(pipeEnds[0], &seconds, sizeof seconds) : 0;
    close(pipeEnds[0]);
    if (process > 0) {
        int status = 0;
        waitpid(process, &status, 0);
    }
    return got == sizeof seconds ? seconds : -1.0;
}

RunningGame::RunningGame(const char* startScript) {
    MakeProgramDirectory(startScript);
    win32_test::UseManualClock(true);
    ResetAppSettingsToDefaults();
    ReadDisplaySettings();
    InstallGameScriptHooks();
    RegisterGameResources();
    if (CreateD3DApplication() == 0 || RunStartupSettingsDialog(kStartupDialogSimple) != 1 ||
        CreateMainWindow() == nullptr ||
        FAILED(D3DApp->SetDevice(MainWindow, &DisplaySettings, 0, D3DApp->deviceType, 0x44))) {
        return;
    }
    ApplyWindowMode();
    SetCursorShape(0);
    SetCursorPos(400, 300);
    FpsOverlayFlag = 1;
    StartScript(GetPath(PathKind::Script, "start"), "top", 0);
    ok_ = true;
}

RunningGame::~RunningGame() {
    ResetAdventureState();
    ReleaseCursor();
    ReleaseFpsFont();
    DestroyD3DApplication();
    if (MainWindow != nullptr) {
        DestroyWindow(MainWindow);
    }
    UnregisterClassA("qvn", nullptr);
    ResetGameWindowState();
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    win32_test::UseManualClock(false);
}

void RunningGame::Frame() {
    win32_test::AdvanceClockMicroseconds(16667);
    UpdateFrame(1);
}

}  // namespace shell_bench

// The program's own entry in place of the benchmark library's: a new process started by
// SecondsInFreshProcess runs its child and ends; any other runs the benchmarks.
int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], shell_bench::kFreshChildFlag) == 0) {
        return shell_bench::RunFreshChild(argv[2], argv[3], argv[4]);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
