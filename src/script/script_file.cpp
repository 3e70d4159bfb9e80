#include "script/script_file.h"

#include <algorithm>
#include <cstring>

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

// A bounded reader over the file image.
class ImageReader {
public:
    ImageReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool ReadU32(std::uint32_t* value) {
        if (size_ - pos_ < 4) {
            return false;
        }
        *value = ReadCodeU32(data_ + pos_);
        pos_ += 4;
        return true;
    }
    // A section of `bytes` bytes at the read position; null when it runs past the end.
    const std::uint8_t* Take(std::uint32_t bytes) {
        if (size_ - pos_ < bytes) {
            return nullptr;
        }
        const std::uint8_t* section = data_ + pos_;
        pos_ += bytes;
        return section;
    }
    std::size_t pos() const { return pos_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

std::vector<std::uint32_t> ReadWords(const std::uint8_t* section, std::uint32_t bytes) {
    std::vector<std::uint32_t> words(bytes / 4);
    for (std::size_t i = 0; i < words.size(); ++i) {
        words[i] = ReadCodeU32(section + 4 * i);
    }
    return words;
}

bool ReadLabels(CScript* script, const std::uint8_t* table, std::uint32_t bytes) {
    std::map<std::string, std::uint32_t> labels;
    std::size_t pos = 0;
    while (pos < bytes) {
        const void* end = std::memchr(table + pos, 0, bytes - pos);
        if (end == nullptr) {
            return false;
        }
        const std::size_t nameLength =
            static_cast<std::size_t>(static_cast<const std::uint8_t*>(end) - (table + pos));
        const std::size_t positionAt = pos + nameLength + 1;
        if (bytes - positionAt < 4) {
            return false;
        }
        labels.emplace(std::string(reinterpret_cast<const char*>(table + pos), nameLength),
                       ReadCodeU32(table + positionAt));
        pos = positionAt + 4;
    }
    script->labels = std::move(labels);
    return true;
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
    const std::uint32_t magic = ReadCodeU32(data);
    ImageReader reader(data, size);
    std::uint32_t unused = 0;
    std::uint32_t globalBytes = 0;
    std::uint32_t localBytes = 0;
    std::uint32_t codeBytes = 0;
    std::uint32_t jumpBytes = 0;
    std::uint32_t labelBytes = 0;
    const std::uint8_t* globals = nullptr;
    const std::uint8_t* locals = nullptr;
    const std::uint8_t* code = nullptr;
    const std::uint8_t* jumps = nullptr;
    const std::uint8_t* labels = nullptr;
    // Every size must lie inside the image: a field that runs past the end refuses the file.
    const bool complete =
        reader.ReadU32(&unused) && reader.ReadU32(&unused) && reader.ReadU32(&globalBytes) &&
        (globals = reader.Take(globalBytes)) != nullptr && reader.ReadU32(&localBytes) &&
        (locals = reader.Take(localBytes)) != nullptr && reader.ReadU32(&codeBytes) &&
        (code = reader.Take(codeBytes)) != nullptr && reader.ReadU32(&jumpBytes) &&
        (jumps = reader.Take(jumpBytes)) != nullptr && reader.ReadU32(&labelBytes) &&
        (labels = reader.Take(labelBytes)) != nullptr;
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
    if (!ReadLabels(&loaded, labels, labelBytes)) {
        LogPrintf("%s:%s: JumpFile: damaged label table. \"%s\"", kScriptLogTag, kScriptLogError,
                  path);
        return false;
    }
    loaded.localInit = ReadWords(locals, localBytes);
    loaded.code.assign(code, code + codeBytes);
    loaded.jumpTable = ReadWords(jumps, jumpBytes);
    loaded.codeFileOffset = 16 + globalBytes + localBytes;
    loaded.fileName = path;
    if (!CreateFuncPos(&loaded)) {
        return false;
    }
    if (!MergeGlobals(ReadWords(globals, globalBytes), globalBytes != 0, path)) {
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
            script->funcSites[ReadCodeU32(code + pos + 1)].push_back(
                static_cast<std::uint32_t>(pos + 1));
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
