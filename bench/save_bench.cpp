// BM_SaveGame/1 and /0: the save point's save of a game of 10,000 variables with a call stack
// 16 frames deep (the state taken, written to a temporary file, flushed to the disk or not, and
// renamed over slot 20). BM_LoadGame: that game loaded from slot 0 (read, checked, the
// adventure reset, restored) and its first frame run and drawn at 800 x 600. BM_MarkPageRead:
// a page marked in a read history of 1,000 scripts of 2,000 pages each, the script named by its
// full path as the page end names it. BM_RefuseHugeSlot: a sparse slot of 3 GiB whose header
// is sound chosen to load, refused from its header with the load's box (counter: how much the
// peak resident size grew over all runs, in bytes). Items are saves, loads and marks.

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "adventure/adventure_frame.h"
#include "adventure/game_mode.h"
#include "adventure/read_history.h"
#include "adventure/save_game.h"
#include "adventure/save_slot_table.h"
#include "foundation/file.h"
#include "foundation/log.h"
#include "foundation/path.h"
#include "fuzz_device.h"
#include "media/graphics/d3d_application.h"
#include "platform/win32/message_box.h"
#include "platform/win32/shell_test_hooks.h"
#include "platform/winbase/test_hooks.h"
#include "script/call_stack.h"
#include "script/game_hooks.h"
#include "tools/script/script_assembler.h"

namespace {

constexpr int kVariables = 10000;
constexpr int kFrames = 16;

void WriteScript(const std::string& directory, const char* name, const std::string& source) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!AssembleScript(source, name, &bytes, &error)) {
        std::fprintf(stderr, "%s: %s\n", name, error.c_str());
        std::abort();
    }
    const std::string path = directory + "/script/" + name + ".scr";
    FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

// The program directory with the scripts and the device; Start makes the game (10,000 globals
// and 16 frames of a script with four locals) and saves it to slots 20 and 0.
struct Game {
    Game() {
        const std::string& directory = win32_test::UsePrivateProgramDirectory("save-bench");
        SetLogEnabled(0);
        win32_test::UseScriptedMessageBoxes(true);
        std::filesystem::create_directories(directory + "/script");
        std::string globals;
        for (int i = 0; i < kVariables; ++i) {
            globals += i % 20 == 0 ? "\n.globals" : "";
            globals += " " + std::to_string(i);
        }
        WriteScript(directory, "global", globals + "\n*top\n    return\n");
        WriteScript(directory, "frame",
                    ".locals 1 2 3 4\n*top\n    text \"駅のホームで列車を待っている。\"\n"
                    "    invoke 2\n    return\n");
        MakeAdventureDevice(800, 600);
        InstallGameScriptHooks();
        LoadGlobal(GetPath(PathKind::Script, "global"));
    }
    void Start() {
        ResetAdventureState();
        for (int i = 0; i < kFrames; ++i) {
            Load(GetPath(PathKind::Script, "frame"), "top");
        }
        PushGameData("bench", "top", true);
        SaveToSlot(kSaveSlotCommand + 0);
    }
};

Game& TheGame() {
    static Game game;
    return game;
}

void BM_SaveGame(benchmark::State& state) {
    TheGame().Start();
    win32_test::SkipFlushes(state.range(0) == 0);
    std::size_t bytes = 0;
    for (auto _ : state) {
        if (!PushGameData("bench", "top", true)) {
            state.SkipWithError("not saved");
            break;
        }
        bytes = gSaveRecord.state.size();
    }
    win32_test::SkipFlushes(false);
    state.counters["state_bytes"] = static_cast<double>(bytes);
    state.counters["frames"] = static_cast<double>(ScriptCallStack.size());
    ResetAdventureState();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SaveGame)->Arg(1)->Arg(0)->ArgName("fsync")->Unit(benchmark::kMillisecond);

void BM_LoadGame(benchmark::State& state) {
    TheGame().Start();
    for (auto _ : state) {
        LoadGameData(kLoadSlotCommand + 0);
        D3DApp->device->BeginScene();
        AdventureFrame(1.0 / 60.0);
        D3DApp->device->EndScene();
        if (PageWait == 0) {
            state.SkipWithError("the first page did not come");
            break;
        }
    }
    win32_test::TakeShownMessageBoxes();
    ResetAdventureState();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LoadGame)->Unit(benchmark::kMillisecond);

void BM_MarkPageRead(benchmark::State& state) {
    constexpr int kScripts = 1000;
    constexpr int kPages = 2000;
    TheGame();
    ForgetReadHistory();
    gReadHistory.loaded = 1;
    std::vector<std::string> names;
    for (int i = 0; i < kScripts; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "C:\\game\\script\\scene%03d.scr", i);
        names.push_back(name);
        MarkPageRead(name, kPages - 1);
    }
    std::uint32_t seed = 12345;
    for (auto _ : state) {
        seed = seed * 1664525u + 1013904223u;
        MarkPageRead(names[(seed >> 8) % kScripts].c_str(),
                     static_cast<std::int32_t>((seed >> 18) % kPages));
    }
    state.counters["scripts"] = static_cast<double>(gReadHistory.scripts.records().size());
    ForgetReadHistory();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MarkPageRead);

long PeakResidentKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void BM_RefuseHugeSlot(benchmark::State& state) {
    constexpr std::uint64_t kFileBytes = 3ull << 30;
    TheGame();
    SetLogEnabled(0);  // the game's scripts may have turned it on
    const std::string path =
        win32_test::UsePrivateProgramDirectory("save-bench") + "/save/save07.dat";
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::vector<std::uint8_t> header(112, 0);
    const auto put = [&](std::size_t at, std::uint64_t word) {
        for (int i = 0; i < 4; ++i) {
            header[at + i] = static_cast<std::uint8_t>(word >> (8 * i));
        }
    };
    put(0, kFileBytes);
    put(4, 1);
    put(108, kFileBytes - 112);
    FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(header.data(), 1, header.size(), file);
    std::fclose(file);
    if (truncate(path.c_str(), static_cast<off_t>(kFileBytes)) != 0) {
        state.SkipWithError("no sparse file");
        return;
    }
    const long before = PeakResidentKilobytes();
    for (auto _ : state) {
        win32_test::QueueMessageBoxAnswer(IDOK);
        LoadGameData(kLoadSlotCommand + 7);
        if (win32_test::TakeShownMessageBoxes().size() != 1) {
            state.SkipWithError("no load failure box");
            break;
        }
    }
    state.counters["peak_rss_growth"] =
        static_cast<double>(PeakResidentKilobytes() - before) * 1024.0;
    std::filesystem::remove(path);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RefuseHugeSlot)->Unit(benchmark::kMicrosecond);

}  // namespace
