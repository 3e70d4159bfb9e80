// qvn-script PROGRAM_DIR NAME [LABEL]: runs a script of a program directory with recording
// hooks and prints one line per hook call, then "var INDEX VALUE" for every global variable.
// Exit status: 0 when the call stack empties, 1 when the script cannot be loaded, 2 at the
// bound of 10,000 frames (or a frame that runs 10 million instructions without yielding).

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "foundation/file.h"
#include "foundation/log.h"
#include "foundation/path.h"
#include "platform/winbase/code_page.h"
#include "platform/winbase/program_directory.h"
#include "script/call_stack.h"
#include "script/vm_state.h"
#include "tools/script/script_trace.h"

namespace {

constexpr std::uint32_t kFrameBound = 10000;
constexpr std::uint64_t kInstructionsPerFrame = 10000000;

// Names on the command line are UTF-8; the game's paths are Shift-JIS.
std::string ToSjis(const char* utf8) {
    std::optional<std::string> sjis = Utf8ToCp932(utf8);
    return sjis ? *sjis : std::string(utf8);
}

void Print(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: qvn-script PROGRAM_DIR NAME [LABEL]\n");
        return 1;
    }
    char directory[PATH_MAX];
    if (realpath(argv[1], directory) == nullptr) {
        std::fprintf(stderr, "qvn-script: no such directory: %s\n", argv[1]);
        return 1;
    }
    if (!SetProgramDirectory(directory)) {
        std::fprintf(stderr, "qvn-script: not a folder: %s\n", argv[1]);
        return 1;
    }
    SetLogFileEnabled(0);
    ScriptTracer tracer(ParseWaitCalls(std::getenv("QVN_WAIT_CALLS")));
    tracer.Install();

    const char* globalPath = GetPath(PathKind::Script, "global");
    if (FileExists(globalPath)) {
        LoadGlobal(globalPath);
    }
    const std::string name = ToSjis(argv[2]);
    const std::string label = argc == 4 ? ToSjis(argv[3]) : std::string();
    const std::string path = GetPath(PathKind::Script, name.c_str());
    if (!Load(path.c_str(), argc == 4 ? label.c_str() : nullptr)) {
        Print(tracer.output());
        return 1;
    }
    const ScriptTracer::RunStatus status = tracer.RunToEnd(kFrameBound, kInstructionsPerFrame);
    tracer.AppendGlobals();
    Print(tracer.output());
    ScriptVmReset();
    return status;
}
