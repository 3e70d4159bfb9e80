// The "SCR " loader on arbitrary bytes, with the queries the game makes on a loaded script.

#include <cstddef>
#include <cstdint>

#include "foundation/log.h"
#include "script/script_file.h"
#include "script/script_variables.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = (SetLogEnabled(0), true);
    (void)quiet;
    CScript script;
    if (ReadScriptImage(&script, data, size, "fuzz")) {
        script.FindLabel("top");
        script.HasLabel("A");
        script.LabelAtPosition(static_cast<std::uint32_t>(size));
        for (const auto& [number, sites] : script.funcSites) {
            script.CallSiteIndex(number, sites.back());
        }
    }
    ScriptVariables.clear();
    GlobalInitialValues.clear();
    return 0;
}
