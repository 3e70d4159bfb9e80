#include "script/vm_state.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/log.h"
#include "foundation/path.h"
#include "platform/winbase/code_page.h"
#include "script/call_stack.h"
#include "script/game_hooks.h"
#include "script/operand_stack.h"
#include "script/script_variables.h"
#include "script/vm_log.h"

std::uint64_t ScriptVmResetCount = 0;

namespace {

void AppendU32(std::vector<std::uint8_t>& data, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        data.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

void AppendString(std::vector<std::uint8_t>& data, const char* text) {
    data.insert(data.end(), text, text + std::strlen(text) + 1);
}

// A bounded reader over a block: every read fails once past the end.
class BlockReader {
public:
    BlockReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool U8(std::uint8_t* value) {
        if (size_ - pos_ < 1) {
            return false;
        }
        *value = data_[pos_++];
        return true;
    }
    bool U32(std::uint32_t* value) {
        if (size_ - pos_ < 4) {
            return false;
        }
        std::uint32_t word = 0;
        for (int i = 0; i < 4; ++i) {
            word |= static_cast<std::uint32_t>(data_[pos_ + i]) << (8 * i);
        }
        pos_ += 4;
        *value = word;
        return true;
    }
    bool String(std::string* text) {
        const void* end = std::memchr(data_ + pos_, 0, size_ - pos_);
        if (end == nullptr) {
            return false;
        }
        const auto length =
            static_cast<std::size_t>(static_cast<const std::uint8_t*>(end) - (data_ + pos_));
        text->assign(reinterpret_cast<const char*>(data_ + pos_), length);
        pos_ += length + 1;
        return true;
    }
    std::size_t left() const { return size_ - pos_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

struct SavedOperand {
    std::uint8_t operandClass = 0;
    std::uint8_t type = 0;
    std::uint32_t payload = 0;
    std::string text;
};

struct SavedFrame {
    std::string name;
    std::uint32_t position = 0;
};

struct SavedState {
    std::vector<std::uint32_t> variables;
    std::uint32_t globals = 0;
    std::vector<SavedOperand> operands;
    std::vector<SavedFrame> frames;
    std::uint8_t waitFlag = 0;
};

// Parses the records behind the magic; false when any of them runs past the block.
bool ParseState(BlockReader& reader, SavedState* state) {
    std::uint32_t count = 0;
    if (!reader.U32(&count) || count > reader.left() / 4) {
        return false;
    }
    state->variables.resize(count);
    for (auto& word : state->variables) {
        reader.U32(&word);
    }
    if (!reader.U32(&state->globals) || state->globals > count) {
        return false;
    }
    // Each operand record takes at least 7 bytes, each frame record at least 5.
    if (!reader.U32(&count) || count > reader.left() / 7) {
        return false;
    }
    state->operands.resize(count);
    for (auto& operand : state->operands) {
        if (!reader.U8(&operand.operandClass) || !reader.U8(&operand.type) ||
            !reader.U32(&operand.payload) || !reader.String(&operand.text)) {
            return false;
        }
    }
    if (!reader.U32(&count) || count > reader.left() / 5) {
        return false;
    }
    state->frames.resize(count);
    for (auto& frame : state->frames) {
        if (!reader.String(&frame.name) || !reader.U32(&frame.position)) {
            return false;
        }
    }
    return reader.U8(&state->waitFlag);
}

// The stored name's file name without drive, directory and extension.
std::string BareScriptName(const std::string& stored) {
    const char* text = stored.c_str();
    std::size_t start = 0;
    if (stored.size() >= 2 && stored[1] == ':') {
        start = 2;
    }
    for (const char* p = text + start; *p != '\0'; p = CharNextA(p)) {
        if (*p == '\\' || *p == '/') {
            start = static_cast<std::size_t>(p - text) + 1;
        }
    }
    std::size_t end = stored.size();
    for (const char* p = text + start; *p != '\0'; p = CharNextA(p)) {
        if (*p == '.') {
            end = static_cast<std::size_t>(p - text);
        }
    }
    return stored.substr(start, end - start);
}

bool LoadSavedFrame(const SavedFrame& saved) {
    const std::string bare = BareScriptName(saved.name);
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
}

bool CScript::GetData(std::vector<std::uint8_t>& data) {
    const std::size_t start = data.size();
    AppendU32(data, 0);
    AppendU32(data, kScriptStateMagic);
    AppendU32(data, static_cast<std::uint32_t>(ScriptVariables.size()));
    for (const std::uint32_t word : ScriptVariables) {
        AppendU32(data, word);
    }
    AppendU32(data, static_cast<std::uint32_t>(GlobalInitialValues.size()));
    const std::uint32_t operands = OperandStack.size();
    AppendU32(data, operands);
    for (std::uint32_t n = operands; n >= 1; --n) {
        const ScriptValue& value = OperandStack.nth(n);
        data.push_back(static_cast<std::uint8_t>(value.operandClass));
        data.push_back(static_cast<std::uint8_t>(value.type));
        AppendU32(data, value.payload);
        AppendString(data, value.text.c_str());
    }
    AppendU32(data, static_cast<std::uint32_t>(ScriptCallStack.size()));
    for (const auto& frame : ScriptCallStack) {
        AppendString(data, frame->script->fileName.c_str());
        AppendU32(data, frame->pos);
    }
    data.push_back(static_cast<std::uint8_t>(ScriptWaitFlag != 0 ? 1 : 0));
    const auto length = static_cast<std::uint32_t>(data.size() - start);
    for (int i = 0; i < 4; ++i) {
        data[start + i] = static_cast<std::uint8_t>(length >> (8 * i));
    }
    return true;
}

bool CScript::SetData(const std::uint8_t* block, std::size_t available, bool full) {
    ScriptVmReset();
    BlockReader header(block, block != nullptr ? available : 0);
    std::uint32_t size = 0;
    if (!header.U32(&size) || size < 21 || size > available) {
        LogPrintf("%s:%s: SetData: invalid arg. size(%d)", kScriptLogTag, kScriptLogError,
                  static_cast<int>(size));
        return false;
    }
    BlockReader reader(block + 4, size - 4);
    std::uint32_t magic = 0;
    reader.U32(&magic);
    if (magic != kScriptStateMagic) {
        LogPrintf("%s:%s: SetData: invalid header. (%08x)", kScriptLogTag, kScriptLogError, magic);
        return false;
    }
    SavedState saved;
    if (!ParseState(reader, &saved)) {
        LogPrintf("%s:%s: SetData: invalid arg. size(%d)", kScriptLogTag, kScriptLogError,
                  static_cast<int>(size));
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
        for (const SavedOperand& operand : saved.operands) {
            ScriptValue& value = OperandStack.pushSlot();
            value.operandClass = operand.operandClass;
            value.type = operand.type;
            value.payload = operand.payload;
            value.text = operand.text;
        }
        for (const SavedFrame& frame : saved.frames) {
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
