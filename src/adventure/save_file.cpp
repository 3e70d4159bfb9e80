#include "adventure/save_file.h"

#include <cstring>
#include <string>

#include "adventure/save_folder.h"
#include "foundation/byte_reader.h"
#include "foundation/byte_writer.h"
#include "foundation/file.h"
#include "foundation/log.h"
#include "foundation/sjis.h"
#include "platform/winbase/file_api.h"

SaveRecord gSaveRecord;

namespace {

constexpr std::size_t kWord = 4;

std::uint32_t WordAt(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) |
           (static_cast<std::uint32_t>(bytes[at + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[at + 2]) << 16) |
           (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

void PutWordAt(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t word) {
    for (std::size_t i = 0; i < kWord; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(word >> (8 * i));
    }
}

// The header's 108 bytes zeroed and the state emptied.
void ClearRecord(SaveRecord* record) {
    static_cast<SaveHeader&>(*record) = SaveHeader{};
    record->word0 = 0;
    record->version = 0;
    record->state.clear();
}

void LogStateTooLarge(const char* function, std::size_t length, const char* path) {
    LogPrintf("saveload:%s: error. state(%zu) larger than %u bytes \"%s\"", function, length,
              static_cast<unsigned>(kMaxSaveStateSize), path);
}

// A text field as stored: up to its first zero, or its whole size.
void ReadTextField(ByteReader& reader, char* field, std::size_t size) {
    const std::string text = reader.FixedString(size);
    SetSaveText(field, size, text.c_str());
}

}  // namespace

void SetSaveText(char* field, std::size_t size, const char* text) {
    if (size == 0) {
        return;
    }
    std::size_t length = 0;
    if (text != nullptr) {
        while (text[length] != '\0') {
            const auto step = static_cast<std::size_t>(sjis::Next(text + length) - (text + length));
            if (length + step > size - 1) {
                break;
            }
            length += step;
        }
        std::memcpy(field, text, length);
    }
    std::memset(field + length, 0, size - length);
}

void ScrambleState(std::vector<std::uint8_t>& state, std::uint32_t key) {
    std::uint32_t k = key;
    for (std::size_t at = 0; state.size() - at >= kWord; at += kWord) {
        k = (k * 3u) | (k >> 31);
        PutWordAt(state, at, WordAt(state, at) ^ k);
    }
}

SaveHeader ParseSaveHeader(std::span<const std::uint8_t> bytes) {
    // A short header reads as if the rest were zeros.
    std::uint8_t padded[kSaveHeaderSize] = {};
    if (!bytes.empty()) {
        std::memcpy(padded, bytes.data(),
                    bytes.size() < kSaveHeaderSize ? bytes.size() : kSaveHeaderSize);
    }
    ByteReader reader(padded, sizeof padded);
    SaveHeader header;
    header.word0 = reader.U32();
    header.version = reader.U32();
    ReadTextField(reader, header.title, kSaveTitleSize);
    ReadTextField(reader, header.resumeLabel, kSaveLabelSize);
    header.scrambleKey = reader.U32();
    return header;
}

std::vector<std::uint8_t> SerializeSaveFile(const SaveRecord& record) {
    ByteWriter writer;
    writer.Reserve(kSaveFileHeaderSize + record.state.size());
    writer.U32(record.word0);
    writer.U32(record.version);
    writer.Bytes(record.title, kSaveTitleSize);
    writer.Bytes(record.resumeLabel, kSaveLabelSize);
    writer.U32(record.scrambleKey);
    writer.U32(static_cast<std::uint32_t>(record.state.size()));
    writer.Bytes(record.state);
    writer.PatchU32(0, static_cast<std::uint32_t>(writer.Size()));
    return writer.Take();
}

bool ParseSaveFile(std::span<const std::uint8_t> bytes, SaveRecord* record, const char* path) {
    ClearRecord(record);
    ByteReader reader(bytes);
    reader.Skip(kSaveHeaderSize);
    const std::uint32_t length = reader.U32();
    if (length > kMaxSaveStateSize) {
        LogStateTooLarge("ReadSaveFile", length, path);
        return false;
    }
    const std::span<const std::uint8_t> state = reader.Span(length);
    if (reader.Failed()) {
        LogPrintf("saveload:ReadSaveFile: error. size(%u) state(%u) \"%s\"",
                  static_cast<unsigned>(bytes.size()), static_cast<unsigned>(length), path);
        return false;
    }
    static_cast<SaveHeader&>(*record) = ParseSaveHeader(bytes);
    record->state.reserve(kSaveStateReserve);
    record->state.assign(state.begin(), state.end());
    return true;
}

bool WriteSaveFile(const SaveRecord& record, const char* path) {
    if (record.state.size() > kMaxSaveStateSize) {
        LogStateTooLarge("WriteSaveFile", record.state.size(), path);
        return false;
    }
    return WriteSaveFolderFile(path, SerializeSaveFile(record));
}

bool ReadSaveFile(SaveRecord* record, const char* path) {
    ClearRecord(record);
    // The header first: the state's length it holds decides whether more is read.
    DWORD size = 0;
    BYTE* data = LoadFile(path, &size, kSaveFileHeaderSize);
    if (data == nullptr) {
        return false;
    }
    const std::uint32_t length = ByteReader(data, size).Sub(kSaveHeaderSize, 4).U32();
    if (length != 0 && length <= kMaxSaveStateSize) {
        LocalFree(data);
        data = LoadFile(path, &size, kSaveFileHeaderSize + length);
        if (data == nullptr) {
            return false;
        }
    }
    const bool ok = ParseSaveFile(std::span<const std::uint8_t>(data, size), record, path);
    LocalFree(data);
    return ok;
}
