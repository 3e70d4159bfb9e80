// qvn-replay PROGRAM_DIR TIMELINE [OUT_DIR] [--ticks N]: runs the program of PROGRAM_DIR
// headless over the timeline (README.md beside this file) and prints one line per captured
// frame, the "vars" lines, then "ended tick N" and "result R". Exit status: the program's
// result; 1 for a wrong command line, a missing program directory or an output directory that
// cannot be made; 2 for a timeline that cannot be read; 3 when the run reached the tick limit
// (default 360000) without ending.

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "platform/winbase/test_hooks.h"
#include "tools/replay/replay_runner.h"
#include "tools/replay/replay_timeline.h"

namespace {

constexpr int kDefaultTickLimit = 360000;
constexpr int kExitUsage = 1;
constexpr int kExitTimeline = 2;
constexpr int kExitTickLimit = 3;

struct Arguments {
    std::vector<std::string> positional;
    int tickLimit = kDefaultTickLimit;
};

int Usage() {
    std::fprintf(stderr, "usage: qvn-replay PROGRAM_DIR TIMELINE [OUT_DIR] [--ticks N]\n");
    return kExitUsage;
}

std::optional<Arguments> ParseArguments(int argc, char** argv) {
    Arguments arguments;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--ticks") != 0) {
            arguments.positional.emplace_back(argv[i]);
            continue;
        }
        if (i + 1 >= argc) {
            return std::nullopt;
        }
        char* end = nullptr;
        errno = 0;
        const long ticks = std::strtol(argv[++i], &end, 10);
        if (errno != 0 || end == argv[i] || *end != '\0' || ticks < 1 || ticks > kMaxTimelineTick) {
            std::fprintf(stderr, "qvn-replay: --ticks must be 1..%d\n", kMaxTimelineTick);
            return std::nullopt;
        }
        arguments.tickLimit = static_cast<int>(ticks);
    }
    if (arguments.positional.size() < 2 || arguments.positional.size() > 3) {
        return std::nullopt;
    }
    return arguments;
}

void Print(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    std::optional<Arguments> arguments = ParseArguments(argc, argv);
    if (!arguments) {
        return Usage();
    }
    // Headless whatever the environment says: no display, no sound card.
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);

    const std::string& programArgument = arguments->positional[0];
    char directory[PATH_MAX];
    std::error_code ignored;
    if (realpath(programArgument.c_str(), directory) == nullptr ||
        !std::filesystem::is_directory(directory, ignored)) {
        std::fprintf(stderr, "qvn-replay: no such directory: %s\n", programArgument.c_str());
        return kExitUsage;
    }

    const std::string& timelinePath = arguments->positional[1];
    std::ifstream timelineFile(timelinePath, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(timelineFile)),
                           std::istreambuf_iterator<char>());
    if (!timelineFile.is_open() || timelineFile.bad()) {
        std::fprintf(stderr, "qvn-replay: cannot read %s\n", timelinePath.c_str());
        return kExitTimeline;
    }
    std::vector<ReplayEvent> events;
    std::string error;
    if (!ParseTimeline(text, &events, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return kExitTimeline;
    }

    std::string outDirectory;
    if (arguments->positional.size() == 3) {
        outDirectory = arguments->positional[2];
        std::error_code failure;
        std::filesystem::create_directories(outDirectory, failure);
        if (failure || !std::filesystem::is_directory(outDirectory, ignored)) {
            std::fprintf(stderr, "qvn-replay: cannot make %s\n", outDirectory.c_str());
            return kExitUsage;
        }
    }

    win32_test::SetProgramDirectory(directory);
    ReplayRunner runner(directory);
    for (ReplayEvent& event : events) {
        runner.Add(std::move(event));
    }
    runner.SetTickLimit(arguments->tickLimit);
    runner.SetHashEveryFrame(false);
    runner.SetCaptureDirectory(outDirectory);
    runner.SetReportSink(&Print);
    const int result = runner.Run();
    Print("ended tick " + std::to_string(runner.ticks()));
    Print("result " + std::to_string(result));
    return runner.reachedTickLimit() ? kExitTickLimit : result;
}
