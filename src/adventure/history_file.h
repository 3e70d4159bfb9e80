#pragma once
// What the read history and the choice history share: their records keyed by a script's file
// name compared without regard to case, and the reading of their files from the save folder.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "foundation/byte_reader.h"
#include "foundation/byte_writer.h"
#include "foundation/text.h"

// How reading a history file went.
enum class HistoryLoad {
    kLoaded,      // read and parsed
    kMissing,     // no such file: the history starts empty
    kUnreadable,  // the file exists but cannot be read (an I/O error): try again later
    kDamaged,     // read, but its content is damaged: kept aside, the history starts empty
};

// Records in file order, found by name (CompareNoCase rules) in constant time.
template <typename Record>
class NamedRecords {
public:
    const std::vector<Record>& records() const { return records_; }
    Record* Find(const char* name) {
        const auto found = index_.find(FoldNoCase(name));
        return found == index_.end() ? nullptr : &records_[found->second];
    }
    // Appends a record of that name; null when one of that name exists.
    Record* Add(const char* name) {
        const auto [at, added] = index_.emplace(FoldNoCase(name), records_.size());
        if (!added) {
            return nullptr;
        }
        records_.emplace_back();
        records_.back().name = name;
        return &records_.back();
    }
    void Clear() {
        records_.clear();
        index_.clear();
    }

private:
    std::vector<Record> records_;
    std::unordered_map<std::string, std::size_t> index_;
};

// Parses a whole history file into the history (emptied first); false when the content is
// damaged (the history is emptied again then).
using HistoryParser = bool (*)(std::span<const std::uint8_t> bytes);

// Reads the history file `path` with `parse`. A damaged file is logged as
// "history:%s: error. damaged file %s, kept as %s" (`function`, the path, the new name) and
// renamed with the suffix ".damaged" (over an older one), so that the next write starts afresh
// without losing it.
HistoryLoad LoadHistoryFile(const char* path, const char* function, HistoryParser parse);

// Parses a whole history file: a u32 count of records, each a zero-terminated name and a body
// that `readBody(reader, record)` reads (at least `smallestRecord` bytes a record, the name's
// zero included). False, with `records` empty, when a record runs past the end, a name comes
// twice or bytes are left over. No bytes at all hold no records.
template <typename Record, typename ReadBody>
bool ParseHistoryRecords(std::span<const std::uint8_t> bytes, NamedRecords<Record>* records,
                         std::size_t smallestRecord, ReadBody readBody) {
    records->Clear();
    if (bytes.empty()) {
        return true;
    }
    ByteReader reader(bytes);
    const std::uint32_t count = reader.Count(smallestRecord);
    for (std::uint32_t i = 0; i < count && reader.Ok(); ++i) {
        const std::string name = reader.TerminatedString(reader.Remaining());
        Record* record = reader.Ok() ? records->Add(name.c_str()) : nullptr;
        if (record == nullptr) {
            reader.Fail();
            break;
        }
        readBody(reader, *record);
    }
    if (reader.Failed() || !reader.AtEnd()) {
        records->Clear();
        return false;
    }
    return true;
}

// The file of ParseHistoryRecords: the count, then each record's name and `writeBody(writer,
// record)`.
template <typename Record, typename WriteBody>
std::vector<std::uint8_t> SerializeHistoryRecords(const NamedRecords<Record>& records,
                                                  WriteBody writeBody) {
    ByteWriter writer;
    writer.U32(static_cast<std::uint32_t>(records.records().size()));
    for (const Record& record : records.records()) {
        writer.TerminatedString(record.name);
        writeBody(writer, record);
    }
    return writer.Take();
}

// The first use of a history: its file (save slot `slot`) read with `load` unless `loaded`
// says it was. True when the history may be used (read, missing or damaged; `loaded` set), false
// while the file exists but cannot be read (the next use tries again).
bool EnsureHistoryLoaded(std::uint8_t* loaded, HistoryLoad (*load)(const char* path), int slot);

// The suffix of a damaged history file kept aside.
inline constexpr const char kDamagedSuffix[] = ".damaged";
