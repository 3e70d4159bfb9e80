#include "script/vm_state.h"

#include <algorithm>
#include <string>
#include <vector>

#include "foundation/byte_reader.h"
#include "foundation/byte_writer.h"
#include "foundation/log.h"
#include "foundation/path.h"
#include "script/call_stack.h"
#include "script/game_hooks.h"
#include "script/operand_stack.h"
#include "script/script_variables.h"
#include "script/vm_log.h"

std::uint64_t ScriptVmResetCount = 0;

namespace {

// Parses the records behind the magic; false when any of them runs past the block.
bool ParseRecords(ByteReader& reader, ScriptStateBlock* state) {
    state->variables.resize(reader.Count(4));
    for (auto& word : state->variables) {
        word = reader.U32();
    }
    state->globals = reader.U32();
    if (state->globals > state->variables.size()) {
        return false;
    }
    // Each operand record takes at least 7 bytes, each frame record at least 5. More operands
    // than the stack holds are damage: no running script leaves them.
    const std::uint32_t operands = reader.Count(7);
    if (operands > kMaxOperandStackSize) {
        return false;
    }
    state->operands.resize(operands);
    for (auto& operand : state->operands) {
        operand.operandClass = reader.U8();
        operand.type = reader.U8();
        operand.payload = reader.U32();
        operand.text = reader.TerminatedString(reader.Remaining());
    }
    state->frames.resize(reader.Count(5));
    for (auto& frame : state->frames) {
        frame.name = reader.TerminatedString(reader.Remaining());
        frame.position = reader.U32();
    }
    state->waitFlag = reader.U8();
    return reader.Ok();
}

bool LoadSavedFrame(const ScriptStateBlock::Frame& saved) {
    const std::string bare = FileStem(saved.name.c_str());
    const char* path = GetPath(PathKind::Script, bare.c_str());
    return Load(path, nullptr) || Load(saved.name.c_str(), nullptr);
}

}  // namespace

void ScriptVmReset() {
    ++ScriptVmResetCount;
    ResetGlobals();
    while (!ScriptCallStack.empty()) {
        ReleaseFrame(ScriptCallStack.back().get());
    }
    OperandStack.clear();
    ScriptArguments.clear();
    ScriptWaitFlag = 0;
    ScriptErrorPending = false;
}

bool CScript::GetData(std::vector<std::uint8_t>& data) {
    ByteWriter block;
    block.U32(0);  // the block's length, patched at the end
    block.U32(kScriptStateMagic);
    block.U32(static_cast<std::uint32_t>(ScriptVariables.size()));
    for (const std::uint32_t word : ScriptVariables) {
        block.U32(word);
    }
    block.U32(static_cast<std::uint32_t>(GlobalInitialValues.size()));
    const std::uint32_t operands = OperandStack.size();
    block.U32(operands);
    for (std::uint32_t n = operands; n >= 1; --n) {
        const ScriptValue& value = OperandStack.nth(n);
        block.U8(static_cast<std::uint8_t>(value.operandClass));
        block.U8(static_cast<std::uint8_t>(value.type));
        block.U32(value.payload);
        // A text ends at its first NUL, as every C string of the VM does.
        block.TerminatedString(value.text.c_str());
    }
    block.U32(static_cast<std::uint32_t>(ScriptCallStack.size()));
    for (const auto& frame : ScriptCallStack) {
        block.TerminatedString(frame->script->fileName.c_str());
        block.U32(frame->pos);
    }
    block.U8(static_cast<std::uint8_t>(ScriptWaitFlag != 0 ? 1 : 0));
    block.PatchU32(0, static_cast<std::uint32_t>(block.Size()));
    data.insert(data.end(), block.Data().begin(), block.Data().end());
    return true;
}

bool ReadScriptStateBlock(const std::uint8_t* block, std::size_t available,
                          ScriptStateBlock* state) {
    *state = ScriptStateBlock{};
    ByteReader whole(block, available);
    const std::uint32_t size = whole.U32();
    if (whole.Failed() || size < kScriptStateMinimumSize || size > available) {
        LogPrintf("%s:%s: SetData: invalid arg. size(%d)", kScriptLogTag, kScriptLogError,
                  static_cast<int>(size));
        return false;
    }
    state->size = size;
    // The records lie within the block's own size.
    ByteReader reader = whole.Sub(4, size - 4);
    const std::uint32_t magic = reader.U32();
    if (magic != kScriptStateMagic) {
        LogPrintf("%s:%s: SetData: invalid header. (%08x)", kScriptLogTag, kScriptLogError, magic);
        return false;
    }
    if (!ParseRecords(reader, state)) {
        LogPrintf("%s:%s: SetData: invalid arg. size(%d)", kScriptLogTag, kScriptLogError,
                  static_cast<int>(size));
        return false;
    }
    return true;
}

bool CScript::SetData(const std::uint8_t* block, std::size_t available, bool full) {
    ScriptVmReset();
    ScriptStateBlock saved;
    if (!ReadScriptStateBlock(block, available, &saved)) {
        return false;
    }
    const auto globals = static_cast<std::uint32_t>(GlobalInitialValues.size());
    if (saved.globals != globals) {
        LogPrintf("%s:%s: SetData: the number of global-data is different. (%d != %d)",
                  kScriptLogTag, kScriptLogWarning, static_cast<int>(globals),
                  static_cast<int>(saved.globals));
    }
    ScriptVariables.resize(globals, 0);
    if (saved.globals != 0) {
        const std::size_t count = std::min<std::size_t>(saved.globals, globals);
        std::copy_n(saved.variables.begin(), count, ScriptVariables.begin());
    }
    if (full) {
        for (const ScriptStateBlock::Operand& operand : saved.operands) {
            ScriptValue& value = OperandStack.pushSlot();
            value.operandClass = operand.operandClass;
            value.type = operand.type;
            value.payload = operand.payload;
            value.text = operand.text;
        }
        for (const ScriptStateBlock::Frame& frame : saved.frames) {
            if (!LoadSavedFrame(frame)) {
                ScriptVmReset();
                return false;
            }
            ScriptCallStack.back()->pos = frame.position;
        }
    } else if (!saved.frames.empty()) {
        if (!LoadSavedFrame(saved.frames.back())) {
            ScriptVmReset();
            return false;
        }
        ScriptCallStack.back()->pos = 0;
    }
    if (ScriptVariables.size() > globals) {
        const std::size_t localsNow = ScriptVariables.size() - globals;
        const std::size_t localsSaved = saved.variables.size() - saved.globals;
        const std::size_t count = std::min(localsNow, localsSaved);
        // The running frame's locals are the tail of the saved locals.
        const std::size_t from = full ? saved.globals : saved.variables.size() - count;
        std::copy_n(saved.variables.begin() + static_cast<std::ptrdiff_t>(from), count,
                    ScriptVariables.begin() + globals);
        if (!full) {
            ScriptCallStack.back()->base = globals;
        }
        if (localsNow != localsSaved) {
            const char* name = CurrentScriptName();
            LogPrintf("%s:%s: SetData: the number of local-data is different. (%d != %d) \"%s\"",
                      kScriptLogTag, kScriptLogWarning, static_cast<int>(localsNow),
                      static_cast<int>(localsSaved), name != nullptr ? name : "");
        }
    }
    ScriptWaitFlag = saved.waitFlag;
    return true;
}
