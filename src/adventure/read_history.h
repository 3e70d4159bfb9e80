#pragma once
// The read history: which pages of which script the player has read, across all games, kept
// in save slot 90. It decides whether fast-forward may pass a page. Pages are keyed by the
// script's file name (without folder and extension, compared without regard to case) and by the
// occurrence of the page-end call in the script.
//
// File (little-endian, packed): u32 count of records; per record a zero-terminated name, u32 n
// and n bytes of page flags, bit (i & 7) of byte (i >> 3) set when page i was read. An empty
// file holds nothing.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "adventure/history_file.h"

constexpr int kReadHistorySlot = 90;

struct ReadHistoryRecord {
    std::string name;
    std::vector<std::uint8_t> bits;
};

struct ReadHistory {
    NamedRecords<ReadHistoryRecord> scripts;
    // Set by the last MarkPageRead when that page had not been read before.
    std::uint8_t currentPageUnread = 0;
    // The file has been read once (or found missing or damaged).
    std::uint8_t loaded = 0;
    // A page was newly read since the file was last written.
    std::uint8_t changed = 0;
};

extern ReadHistory gReadHistory;

// Marks page `pageIndex` of `scriptName` read (an index below 0 does nothing); the file is read
// on first use. With MsgSkipUnseen off, a page read for the first time ends fast-forward mode.
void MarkPageRead(const char* scriptName, std::int32_t pageIndex);
// Writes the file once after each newly read page; true when it was written.
bool SaveReadHistoryIfChanged();
// 1 when the last marked page had not been read before.
int IsCurrentPageUnread();
void ClearUnreadPageFlag();

// Empties the history and reads the file `path` into it.
HistoryLoad LoadReadHistory(const char* path);
// Writes the whole history to `path`; false when the write failed.
bool WriteReadHistory(const char* path);
// The history forgotten, as at the start of a run: the file is read again at the next mark.
void ForgetReadHistory();

// The file's content parsed into `records`; false (and `records` empty) when damaged: a count
// or a length beyond the file, a name without its end, two records of one name, or bytes left
// over.
bool ParseReadHistory(std::span<const std::uint8_t> bytes,
                      NamedRecords<ReadHistoryRecord>* records);
std::vector<std::uint8_t> SerializeReadHistory(const NamedRecords<ReadHistoryRecord>& records);
