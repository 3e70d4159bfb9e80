// CScript::SetData on arbitrary blocks: the first byte chooses a full (odd) or partial restore;
// the rest is the block. A restored state is saved again and must restore again.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "script/script_file.h"
#include "script/script_variables.h"
#include "script_fuzz_dir.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ScriptFuzzDirectory();
    if (size < 1) {
        return 0;
    }
    GlobalInitialValues = {0, 0, 0};
    ScriptVariables = GlobalInitialValues;
    const bool full = (data[0] & 1) != 0;
    if (CScript::SetData(data + 1, size - 1, full)) {
        std::vector<std::uint8_t> saved;
        CScript::GetData(saved);
        if (!CScript::SetData(saved.data(), saved.size(), true)) {
            std::abort();
        }
    }
    ClearFuzzVm();
    return 0;
}
