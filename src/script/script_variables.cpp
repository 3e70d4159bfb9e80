#include "script/script_variables.h"

#include <algorithm>

#include "foundation/log.h"
#include "script/vm_log.h"

std::vector<std::uint32_t> ScriptVariables;
std::vector<std::uint32_t> GlobalInitialValues;

std::uint32_t GetVarSlow(std::uint32_t index) {
    LogPrintf("%s:%s: GetVar: index(%d)", kScriptLogTag, kScriptLogError, static_cast<int>(index));
    if (index >= kMaxScriptVariables) {
        return 0;
    }
    ScriptVariables.resize(static_cast<std::size_t>(index) + 1, 0);
    return ScriptVariables[index];
}

void SetVar(std::uint32_t index, const std::uint32_t* value) {
    if (index >= ScriptVariables.size()) {
        LogPrintf("%s:%s: SetVar: index(%d)", kScriptLogTag, kScriptLogError,
                  static_cast<int>(index));
        if (index >= kMaxScriptVariables) {
            return;
        }
        ScriptVariables.resize(static_cast<std::size_t>(index) + 1, 0);
    }
    ScriptVariables[index] = *value;
}

void ResetGlobals() {
    const std::size_t count = std::min(GlobalInitialValues.size(), ScriptVariables.size());
    std::copy_n(GlobalInitialValues.begin(), count, ScriptVariables.begin());
}
