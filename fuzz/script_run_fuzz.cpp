// Runs a fuzzed "SCR " file for a bounded number of frames and instructions. Built-in calls
// exercise the hooks' effects on the interpreter: odd numbers wait a frame, 53 resets the VM,
// 54 saves and restores the whole state.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "foundation/path.h"
#include "script/call_stack.h"
#include "script/game_hooks.h"
#include "script/interpreter.h"
#include "script/script_file.h"
#include "script/vm_state.h"
#include "script_fuzz_dir.h"

namespace {

constexpr int kFrames = 8;
constexpr std::uint64_t kInstructionsPerFrame = 20000;

bool FuzzDispatcher(std::uint32_t number, const std::vector<ScriptValue*>& arguments, float) {
    for (const ScriptValue* argument : arguments) {
        argument->GetString();
        argument->GetFloat();
        argument->GetUChar();
    }
    CurrentCallSiteIndex(number);
    if (number == 53) {
        ScriptVmReset();
        return false;
    }
    if (number == 54) {
        std::vector<std::uint8_t> block;
        CScript::GetData(block);
        CScript::SetData(block.data(), block.size(), true);
        return false;
    }
    if ((number & 1) != 0) {
        static bool repeating = false;
        repeating = !repeating;
        ScriptWaitFlag = repeating ? 1 : 0;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& directory = ScriptFuzzDirectory();
    (void)directory;
    InstallScriptGameHooks(ScriptGameHooks{nullptr, FuzzDispatcher, nullptr, nullptr, nullptr});
    if (!WriteFuzzScript("fuzz", data, size)) {
        return 0;
    }
    const std::string path = GetPath(PathKind::Script, "fuzz");
    if (Load(path.c_str(), nullptr)) {
        for (int frame = 0; frame < kFrames && !ScriptCallStack.empty(); ++frame) {
            std::uint64_t budget = kInstructionsPerFrame;
            while (!ScriptCallStack.empty() && budget > 0) {
                ScriptFrame* top = ScriptCallStack.back().get();
                if (!RunCodeBounded(top->script, top, 0.0f, &budget)) {
                    break;
                }
            }
        }
    }
    ClearFuzzVm();
    return 0;
}
