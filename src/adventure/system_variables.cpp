#include "adventure/system_variables.h"

#include <span>
#include <string>

#include "adventure/save_file.h"
#include "adventure/save_slot_table.h"
#include "foundation/byte_writer.h"
#include "foundation/file.h"
#include "foundation/log.h"
#include "foundation/path.h"
#include "script/script_variables.h"
#include "script/vm_state.h"

namespace {

// The variable array starts behind the size word, the magic and the count.
constexpr std::size_t kVariablesOffset = 12;

// Slot 20 (its file's path in `path`) read and unscrambled, with its "SCRM" block parsed; false
// (logged, naming the file, when the file is there but unusable) otherwise.
bool ReadSavePointState(SaveRecord* record, ScriptStateBlock* block, const char* function,
                        std::string* path) {
    *path = GetPath(PathKind::Save, kSavePointSlot);
    if (!FileExists(path->c_str())) {
        return false;
    }
    if (!ReadSaveFile(record, path->c_str())) {
        LogPrintf("saveload:%s: error. ReadSaveFile \"%s\"", function, path->c_str());
        return false;
    }
    if (record->scrambleKey != 0) {
        ScrambleState(record->state, record->scrambleKey);
    }
    if (!ReadScriptStateBlock(record->state.data(), record->state.size(), block)) {
        LogPrintf("saveload:%s: error. state \"%s\"", function, path->c_str());
        return false;
    }
    return true;
}

}  // namespace

bool LoadSystemVariables() {
    SaveRecord record;
    ScriptStateBlock block;
    std::string path;
    if (!ReadSavePointState(&record, &block, "LoadSystemVariables", &path)) {
        return false;
    }
    if (block.variables.size() < kSystemVariableCount) {
        LogPrintf("saveload:LoadSystemVariables: error. variables(%u) \"%s\"",
                  static_cast<unsigned>(block.variables.size()), path.c_str());
        return false;
    }
    for (std::uint32_t i = 0; i < kSystemVariableCount; ++i) {
        SetVar(i, &block.variables[i]);
    }
    return true;
}

bool SaveSystemVariables(std::int32_t index) {
    SaveRecord record;
    ScriptStateBlock block;
    std::string path;
    if (!ReadSavePointState(&record, &block, "SaveSystemVariables", &path)) {
        return false;
    }
    const std::size_t first = index < 0 ? 0 : static_cast<std::size_t>(index);
    const std::size_t end = index < 0 ? kSystemVariableCount : first + 1;
    if (block.variables.size() < end) {
        return false;
    }
    for (std::size_t i = first; i < end; ++i) {
        block.variables[i] = GetVar(static_cast<std::uint32_t>(i));
    }
    const std::span<const std::uint8_t> stored(record.state);
    ByteWriter state;
    state.Bytes(stored.first(kVariablesOffset));
    for (const std::uint32_t word : block.variables) {
        state.U32(word);
    }
    const std::size_t rest = kVariablesOffset + 4 * block.variables.size();
    state.Bytes(stored.subspan(rest));
    record.state = state.Take();
    if (record.scrambleKey != 0) {
        ScrambleState(record.state, record.scrambleKey);
    }
    return WriteSaveFile(record, path.c_str());
}
