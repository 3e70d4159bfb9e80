#pragma once
// The bytecode interpreter: runs the running frame until an instruction hands control back.

#include <cstddef>
#include <cstdint>
#include <string>

#include "script/call_stack.h"

// Runs `frame` of `script`. True: the caller may run the (new) top frame again at once; false:
// yield until the next frame. `dt` (seconds) is handed unchanged to the built-in functions.
bool RunCode(CScript* script, ScriptFrame* frame, float dt);

// RunCode that carries out at most *budget instructions (counted down); when the budget runs
// out the frame stays at its next instruction and the result is false.
bool RunCodeBounded(CScript* script, ScriptFrame* frame, float dt, std::uint64_t* budget);

// Instructions one RunScripts call carries out at most. A script that runs this long without
// yielding (a loop that never waits) is stopped where it is, with one log line, and goes on from
// there in the next frame: the game keeps drawing frames and answering its window.
constexpr std::uint64_t kMaxInstructionsPerRun = 10'000'000;
// Frames the call stack holds at most: a call file instruction beyond it is refused with an error
// line and the calling frame goes on after it, as after a call whose file does not load.
constexpr std::size_t kMaxScriptCallDepth = 1024;

// Runs the top frame while RunCode answers true and a frame remains, within
// kMaxInstructionsPerRun (or the bound a harness set); always false.
bool RunScripts(float dt);

namespace script_test {
// The instructions one RunScripts call carries out at most, kMaxInstructionsPerRun by default.
// The fuzz targets lower it, so that a loop that never waits runs its frames within their time
// limit under the sanitizers.
void SetMaxInstructionsPerRun(std::uint64_t instructions);
}  // namespace script_test

// The path a jump or call file instruction names: the current file for an empty name or one
// beginning with '*', else `file` beside the current file with the current file's extension.
std::string BuildScriptPath(const std::string& current, const char* file);
