// A save file as ReadSaveFile takes it apart, unscrambled with its key, checked and restored
// into the script VM with SetScriptData (the program directory holds script\a.scr, which a
// state may name). A state that restores is taken again and must pass the check again.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "adventure/game_mode.h"
#include "adventure/save_file.h"
#include "adventure/save_game.h"
#include "script/script_variables.h"
#include "script_fuzz_dir.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ScriptFuzzDirectory();
    GlobalInitialValues = {0, 0, 0};
    ScriptVariables = GlobalInitialValues;
    SaveRecord record;
    if (ParseSaveFile(std::span<const std::uint8_t>(data, size), &record, "fuzz")) {
        if (record.scrambleKey != 0) {
            ScrambleState(record.state, record.scrambleKey);
        }
        std::size_t consumed = 0;
        if (CheckScriptData(record.state, &consumed) && SetScriptData(record.state) != nullptr) {
            std::vector<std::uint8_t> again;
            if (!GetScriptData(again) || !CheckScriptData(again, &consumed) ||
                consumed != again.size()) {
                std::abort();
            }
        }
    }
    GameModeStack.clear();
    GameMode = kGameModeNone;
    ClearFuzzVm();
    return 0;
}
