// Interpreter throughput: instructions per second for an arithmetic loop and for a loop of
// built-in calls (the game's dispatcher replaced by one that returns at once).

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "foundation/log.h"
#include "foundation/path.h"
#include "platform/winbase/test_hooks.h"
#include "script/call_stack.h"
#include "script/game_hooks.h"
#include "script/interpreter.h"
#include "script/vm_state.h"
#include "tools/script/script_assembler.h"

namespace {

constexpr int kLoops = 100000;

// Ten instructions per loop: l1 += 3, then ++l0 < kLoops.
const char* const kArithmeticLoop = R"(.locals 0 0
    push 0
@loop
    pop
    push 3
    push l1
    add_assign
    pop
    push l0
    preinc
    push 100000
    lt
    tjump @loop
)";
constexpr std::int64_t kArithmeticInstructions = 1 + 10LL * kLoops;

// Ten instructions per loop, one of them a built-in call with two arguments.
const char* const kBuiltinLoop = R"(.locals 0
    push 0
@loop
    pop
    push l0
    push 2.5
    call 5 2
    pop
    push l0
    preinc
    push 100000
    lt
    tjump @loop
)";
constexpr std::int64_t kBuiltinInstructions = 1 + 10LL * kLoops;

std::string PrepareScript(const char* name, const char* source) {
    const std::string& directory = win32_test::UsePrivateProgramDirectory("script-bench");
    mkdir((directory + "/script").c_str(), 0700);
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!AssembleScript(source, name, &bytes, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::abort();
    }
    const std::string file = directory + "/script/" + name + ".scr";
    FILE* out = std::fopen(file.c_str(), "wb");
    if (out == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size()) {
        std::abort();
    }
    std::fclose(out);
    return GetPath(PathKind::Script, name);
}

bool ImmediateDispatcher(std::uint32_t, const std::vector<ScriptValue*>& arguments, float) {
    benchmark::DoNotOptimize(arguments.data());
    return true;
}

void RunLoop(benchmark::State& state, const char* name, const char* source,
             std::int64_t instructions) {
    const std::string path = PrepareScript(name, source);
    InstallScriptGameHooks(
        ScriptGameHooks{nullptr, ImmediateDispatcher, nullptr, nullptr, nullptr});
    for (auto _ : state) {
        if (!Load(path.c_str(), nullptr)) {
            state.SkipWithError("the script did not load");
            break;
        }
        RunScripts(0.0f);
    }
    ScriptVmReset();
    state.SetItemsProcessed(state.iterations() * instructions);
}

void BM_VmArithmeticLoop(benchmark::State& state) {
    RunLoop(state, "arith", kArithmeticLoop, kArithmeticInstructions);
}
BENCHMARK(BM_VmArithmeticLoop)->Unit(benchmark::kMillisecond);

void BM_VmBuiltinCalls(benchmark::State& state) {
    RunLoop(state, "calls", kBuiltinLoop, kBuiltinInstructions);
}
BENCHMARK(BM_VmBuiltinCalls)->Unit(benchmark::kMillisecond);

}  // namespace
