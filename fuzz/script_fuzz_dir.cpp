#include "script_fuzz_dir.h"

#include <sys/stat.h>

#include <cstdio>

#include "fuzz_program_dir.h"
#include "script/script_variables.h"
#include "script/vm_state.h"

namespace {

bool WriteScriptFile(const std::string& directory, const char* name, const std::uint8_t* data,
                     std::size_t size) {
    const std::string path = directory + "/script/" + name + ".scr";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool complete = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && complete;
}

// push 1, call 7 1, pop, return; labels "a" at 0 and "b" at 6; two locals.
const std::uint8_t kSmallScript[] = {'S', 'C', 'R', ' ', 0, 0, 0, 0, 0,   0, 0, 0, 8, 0, 0,  0,
                                     1,   0,   0,   0,   2, 0, 0, 0, 14,  0, 0, 0, 0, 6, 1,  0,
                                     0,   0,   12,  7,   0, 0, 0, 1, 1,   3, 0, 0, 0, 0, 12, 0,
                                     0,   0,   'a', 0,   0, 0, 0, 0, 'b', 0, 6, 0, 0, 0};

}  // namespace

const std::string& ScriptFuzzDirectory() {
    static const std::string directory = [] {
        const std::string& path = FuzzProgramDirectory("script");
        mkdir((path + "/script").c_str(), 0700);
        WriteScriptFile(path, "a", kSmallScript, sizeof kSmallScript);
        return path;
    }();
    return directory;
}

bool WriteFuzzScript(const char* name, const std::uint8_t* data, std::size_t size) {
    return WriteScriptFile(ScriptFuzzDirectory(), name, data, size);
}

void ClearFuzzVm() {
    ScriptVmReset();
    ScriptVariables.clear();
    GlobalInitialValues.clear();
}
