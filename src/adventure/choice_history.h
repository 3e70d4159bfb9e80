#pragma once
// The choice history: which options of which choice the player has taken, across all games,
// kept in save slot 91. Choices are keyed by the script's file name (without folder and
// extension, compared without regard to case) and by the occurrence of built-in function 20 in
// the script; each holds the values of the options taken there.
//
// File (little-endian, packed): u32 count of records; per record a zero-terminated name, u32
// count of choice points, and per point u32 n and n u32 values. An empty file holds nothing.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "adventure/history_file.h"

constexpr int kChoiceHistorySlot = 91;

struct ChoiceHistoryRecord {
    std::string name;
    // Indexed by choice occurrence: the values taken there, each once.
    std::vector<std::vector<std::uint32_t>> points;
};

struct ChoiceHistory {
    NamedRecords<ChoiceHistoryRecord> scripts;
    // The file has been read once (or found missing or damaged).
    std::uint8_t loaded = 0;
};

extern ChoiceHistory gChoiceHistory;

// Whether `value` was taken at choice `point` of `scriptName`. With `record`, a value not yet
// there is added and the file written, and the answer is true. False for a point below 0, and
// while the file exists but cannot be read (it is tried again at the next call).
bool CheckChoice(const char* scriptName, std::int32_t point, std::uint32_t value, bool record);
inline bool IsChoiceTaken(const char* scriptName, std::int32_t point, std::uint32_t value) {
    return CheckChoice(scriptName, point, value, false);
}
inline bool RecordChoice(const char* scriptName, std::int32_t point, std::uint32_t value) {
    return CheckChoice(scriptName, point, value, true);
}

// Empties the history and reads the file `path` into it.
HistoryLoad LoadChoiceHistory(const char* path);
// Writes the whole history to `path`; false when the write failed.
bool WriteChoiceHistory(const char* path);
// The history forgotten, as at the start of a run: the file is read again at the next call.
void ForgetChoiceHistory();

// The file's content parsed into `records`; false (and `records` empty) when damaged: a count
// beyond the file, a name without its end, two records of one name, or bytes left over.
bool ParseChoiceHistory(std::span<const std::uint8_t> bytes,
                        NamedRecords<ChoiceHistoryRecord>* records);
std::vector<std::uint8_t> SerializeChoiceHistory(const NamedRecords<ChoiceHistoryRecord>& records);
