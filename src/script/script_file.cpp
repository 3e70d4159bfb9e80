#include "script/script_file.h"

#include <algorithm>
#include <span>
#include <string_view>

#include "foundation/byte_reader.h"
#include "foundation/file.h"
#include "foundation/log.h"
#include "foundation/text.h"
#include "platform/winbase/file_api.h"
#include "script/call_stack.h"
#include "script/game_hooks.h"
#include "script/opcodes.h"
#include "script/script_variables.h"
#include "script/vm_log.h"

namespace {

// The words of a section; a remainder beyond whole words is ignored.
std::vector<std::uint32_t> ReadWords(std::span<const std::uint8_t> section) {
    ByteReader reader(section);
    std::vector<std::uint32_t> words(section.size() / 4);
    for (std::uint32_t& word : words) {
        word = reader.U32();
    }
    return words;
}

// Label records back to back: a NUL-terminated name and a u32 position. A record that does not
// end inside the table refuses the file; a name stored twice keeps its first position.
bool ReadLabels(CScript* script, std::span<const std::uint8_t> table) {
    ByteReader reader(table);
    std::map<std::string, std::uint32_t> labels;
    while (!reader.AtEnd()) {
        const std::string_view name = reader.TerminatedView(reader.Remaining());
        const std::uint32_t position = reader.U32();
        if (reader.Failed()) {
            return false;
        }
        labels.emplace(std::string(name), position);
    }
    script->labels = std::move(labels);
    return true;
}

// A section: its size in bytes as a u32, then that many bytes.
std::span<const std::uint8_t> ReadSection(ByteReader& reader) {
    const std::uint32_t size = reader.U32();
    return reader.Span(size);
}

// Merges a file's global initial values into the variable array while no global script has
// been loaded: below the existing variables, raising every frame's base.
bool MergeGlobals(const std::vector<std::uint32_t>& values, bool hasGlobalData, const char* path) {
    if (!GlobalInitialValues.empty()) {
        if (!hasGlobalData) {
            return true;
        }
        LogPrintf("%s:%s: JumpFile: conflicting global-data. \"%s\"", kScriptLogTag,
                  kScriptLogError, path);
        return true;
    }
    if (values.empty()) {
        return true;
    }
    if (values.size() >
        kMaxScriptVariables - std::min<std::size_t>(ScriptVariables.size(), kMaxScriptVariables)) {
        LogPrintf("%s:%s: JumpFile: out of memory. \"%s\"", kScriptLogTag, kScriptLogError, path);
        return false;
    }
    if (ScriptVariables.empty()) {
        ScriptVariables = values;
        return true;
    }
    const auto n = static_cast<std::uint32_t>(values.size());
    for (auto& frame : ScriptCallStack) {
        frame->base += n;
    }
    ScriptVariables.insert(ScriptVariables.begin(), values.begin(), values.end());
    LogPrintf("%s:%s: JumpFile: addition global-data. \"%s\"", kScriptLogTag, kScriptLogWarning,
              path);
    return true;
}

// The first section of an image with a good magic that runs past its end, named for the log
// (empty when none does), with its offset and size.
struct Truncation {
    const char* section = "";
    std::size_t offset = 0;
    std::uint32_t bytes = 0;
};

Truncation FindTruncation(const std::uint8_t* data, std::size_t size) {
    static const char* const kSections[] = {"global-data", "local-data", "code", "jump table",
                                            "label table"};
    ByteReader reader(data, size);
    reader.Skip(8);
    for (const char* section : kSections) {
        Truncation found{section, reader.Position(), 0};
        found.bytes = reader.U32();
        if (reader.Failed() || !reader.Skip(found.bytes)) {
            return found;
        }
    }
    return Truncation{};
}

}  // namespace

bool ReadScriptImage(CScript* script, const std::uint8_t* data, std::size_t size,
                     const char* path) {
    script->codeFileOffset = 0;
    if (data == nullptr) {
        LogPrintf("%s:%s: JumpFile: the file cannot be read. \"%s\"", kScriptLogTag,
                  kScriptLogError, path);
        return false;
    }
    if (size < kScriptMinimumSize) {
        LogPrintf("%s:%s: JumpFile: too short to be a script. (%u bytes, at least %u) \"%s\"",
                  kScriptLogTag, kScriptLogError, static_cast<unsigned>(size),
                  static_cast<unsigned>(kScriptMinimumSize), path);
        return false;
    }
    ByteReader reader(data, size);
    const std::uint32_t magic = reader.U32();
    reader.Skip(4);
    // Every size must lie inside the image: a section that runs past the end refuses the file.
    const std::span<const std::uint8_t> globals = ReadSection(reader);
    const std::span<const std::uint8_t> locals = ReadSection(reader);
    const std::span<const std::uint8_t> code = ReadSection(reader);
    const std::span<const std::uint8_t> jumps = ReadSection(reader);
    const std::span<const std::uint8_t> labels = ReadSection(reader);
    const bool complete = reader.Ok();
    if (magic != kScriptMagic) {
        LogPrintf("%s:%s: JumpFile: invalid header. (%08x) \"%s\"", kScriptLogTag, kScriptLogError,
                  magic, path);
        return false;
    }
    if (!complete) {
        const Truncation cut = FindTruncation(data, size);
        LogPrintf("%s:%s: JumpFile: truncated %s. (%u bytes at %u, file %u bytes) \"%s\"",
                  kScriptLogTag, kScriptLogError, cut.section, static_cast<unsigned>(cut.bytes),
                  static_cast<unsigned>(cut.offset), static_cast<unsigned>(size), path);
        return false;
    }
    CScript loaded;
    if (!ReadLabels(&loaded, labels)) {
        LogPrintf("%s:%s: JumpFile: damaged label table. \"%s\"", kScriptLogTag, kScriptLogError,
                  path);
        return false;
    }
    loaded.localInit = ReadWords(locals);
    loaded.code.assign(code.begin(), code.end());
    loaded.jumpTable = ReadWords(jumps);
    loaded.codeFileOffset = static_cast<std::uint32_t>(16 + globals.size() + locals.size());
    loaded.fileName = path;
    if (!CreateFuncPos(&loaded)) {
        return false;
    }
    if (!MergeGlobals(ReadWords(globals), !globals.empty(), path)) {
        return false;
    }
    script->codeFileOffset = loaded.codeFileOffset;
    script->fileName = std::move(loaded.fileName);
    script->localInit = std::move(loaded.localInit);
    script->code = std::move(loaded.code);
    script->jumpTable = std::move(loaded.jumpTable);
    script->labels = std::move(loaded.labels);
    script->funcSites = std::move(loaded.funcSites);
    return true;
}

std::uint32_t JumpFile(CScript* script, const char* path, const char* label) {
    script->codeFileOffset = 0;
    DWORD size = 0;
    BYTE* data = LoadFile(path, &size, 0);
    const bool read = ReadScriptImage(script, data, size, path);
    if (data != nullptr) {
        LocalFree(data);
    }
    if (!read) {
        return kNoPosition;
    }
    return script->FindEntry(label);
}

bool CreateFuncPos(CScript* script) {
    script->funcSites.clear();
    const std::uint8_t* code = script->code.data();
    const std::size_t size = script->code.size();
    const char* name = script->fileName.c_str();
    const std::uint32_t base = script->codeFileOffset;
    std::size_t pos = 0;
    while (pos < size) {
        const DecodedInstruction instruction = DecodeInstruction(code, size, pos);
        const auto at = static_cast<std::uint32_t>(base + instruction.errorPos);
        const auto value = static_cast<int>(instruction.errorValue);
        switch (instruction.status) {
            case DecodeStatus::kOk:
                break;
            case DecodeStatus::kBadPushTag:
                LogPrintf("%s:%s: CreateFuncPos: push(%d) [%08X] \"%s\"", kScriptLogTag,
                          kScriptLogError, value, at, name);
                return false;
            case DecodeStatus::kBadCastType:
                LogPrintf("%s:%s: CreateFuncPos: ope(cast:%d) [%08X] \"%s\"", kScriptLogTag,
                          kScriptLogError, value, at, name);
                return false;
            case DecodeStatus::kBadOperator:
                LogPrintf("%s:%s: CreateFuncPos: ope(Y ?(%d) X) [%08X] \"%s\"", kScriptLogTag,
                          kScriptLogError, value, at, name);
                return false;
            case DecodeStatus::kBadOpcode:
            case DecodeStatus::kTruncated:
                LogPrintf("%s:%s: CreateFuncPos: code(%d) [%08X] \"%s\"", kScriptLogTag,
                          kScriptLogError, value, at, name);
                return false;
        }
        if (instruction.opcode == kOpCall) {
            script->funcSites[instruction.operand].push_back(static_cast<std::uint32_t>(pos + 1));
        }
        pos += instruction.length;
    }
    return true;
}

std::uint32_t CScript::FindLabel(const char* name) const {
    if (name == nullptr || name[0] == '\0') {
        return 0;
    }
    for (const auto& [labelName, position] : labels) {
        if (CompareNoCase(labelName.c_str(), name) == 0) {
            GetScriptGameHooks().OnLabelFound(name, position);
            return position;
        }
    }
    return kNoPosition;
}

std::uint32_t CScript::FindEntry(const char* name) const {
    const std::uint32_t position = FindLabel(name);
    if (position == kNoPosition) {
        LogPrintf("%s:%s: LoadCode: label not found. (%s) \"%s\"", kScriptLogTag, kScriptLogError,
                  name, fileName.c_str());
    } else if (position > code.size()) {
        LogPrintf("%s:%s: LoadCode: label outside the code. (%s) [%08X] \"%s\"", kScriptLogTag,
                  kScriptLogError, name, codeFileOffset + position, fileName.c_str());
        return kNoPosition;
    }
    return position;
}

bool CScript::HasLabel(const char* name) const {
    if (name == nullptr || name[0] == '\0') {
        return false;
    }
    return std::any_of(labels.begin(), labels.end(), [name](const auto& label) {
        return CompareNoCase(label.first.c_str(), name) == 0;
    });
}

const char* CScript::LabelAtPosition(std::uint32_t position) const {
    const char* best = nullptr;
    std::uint32_t bestPosition = 0;
    for (const auto& [labelName, labelPosition] : labels) {
        if (labelPosition <= position && (best == nullptr || labelPosition >= bestPosition)) {
            best = labelName.c_str();
            bestPosition = labelPosition;
        }
    }
    return best;
}

std::int32_t CScript::CallSiteIndex(std::uint32_t number, std::uint32_t position) const {
    const auto found = funcSites.find(number);
    if (found == funcSites.end() || found->second.empty()) {
        return -1;
    }
    const auto& sites = found->second;
    const auto after = std::upper_bound(sites.begin(), sites.end(), position);
    return static_cast<std::int32_t>(after - sites.begin()) - 1;
}
