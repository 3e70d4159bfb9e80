#pragma once
// Save files: the save record of the game being saved or just loaded, and the file of a save
// slot (path kind 9, "save\save%02d" ".dat").
//
// File (little-endian): u32 total size (112 + n), u32 version 1, title (64 bytes, Shift-JIS,
// zero-terminated), resume label (32 bytes, zero-terminated), u32 scramble key (0: none), u32 n,
// then n bytes of state: an "SCRM" block, u32 count of game modes and one byte per mode, the
// bottom of the mode stack first. With a key, the state's whole words are scrambled; the header
// never is.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

constexpr std::uint32_t kSaveHeaderSize = 108;      // the header before n
constexpr std::uint32_t kSaveFileHeaderSize = 112;  // the header and n
constexpr std::uint32_t kSaveVersion = 1;
constexpr std::size_t kSaveTitleSize = 64;
constexpr std::size_t kSaveLabelSize = 32;
constexpr std::size_t kSaveStateReserve = 2048;
// The largest state a save holds, written or read. The VM keeps at most 2^20 variables (4 MiB)
// and 1024 frames (each a path and a position, under 0.6 MiB together); the rest leaves room
// for the operand stack and the mode bytes, some 400 times what a whole game's state takes. A
// file that claims more is refused from its header alone, unread.
constexpr std::uint32_t kMaxSaveStateSize = 16u << 20;

// The first 108 bytes of a save file.
struct SaveHeader {
    std::uint32_t word0 = kSaveHeaderSize;  // after a read: the file's first word
    std::uint32_t version = kSaveVersion;
    char title[kSaveTitleSize] = {};        // always zero-terminated
    char resumeLabel[kSaveLabelSize] = {};  // always zero-terminated
    std::uint32_t scrambleKey = 0;          // set only by reading a file
};

struct SaveRecord : SaveHeader {
    std::vector<std::uint8_t> state;
};

// The record of the game being saved (filled by PushGameData) or just loaded (LoadGameData).
extern SaveRecord gSaveRecord;

// Copies `text` into a field of `size` bytes, cut before the first character that would not
// fit whole with the terminating zero.
void SetSaveText(char* field, std::size_t size, const char* text);

// Scrambles (or unscrambles: the same exclusive or) the whole 4-byte words of `state` from its
// first byte with `key`: before each word k = (k x 3) | (k >> 31), then the word ^= k. A trailing
// 1 to 3 bytes stay plain.
void ScrambleState(std::vector<std::uint8_t>& state, std::uint32_t key);

// The header as stored; a field short of its end reads as zeros, and the title and label end
// inside their fields on a character boundary.
SaveHeader ParseSaveHeader(std::span<const std::uint8_t> bytes);
// The whole file: header, n, state (as stored, not unscrambled).
std::vector<std::uint8_t> SerializeSaveFile(const SaveRecord& record);
// The bytes of the file `path` into `record`; false when they are fewer than 112 or than 112 + n
// ("saveload:ReadSaveFile: error. size(%u) state(%u) \"%s\"" with their count, n and `path`),
// or when n exceeds kMaxSaveStateSize.
bool ParseSaveFile(std::span<const std::uint8_t> bytes, SaveRecord* record, const char* path);

// Writes the record, its state as it stands, to `path` (atomically); false, nothing written, for a
// state larger than kMaxSaveStateSize.
bool WriteSaveFile(const SaveRecord& record, const char* path);
// Reads `path` into `record` (header zeroed and state emptied first): its header first, then only
// the 112 + n bytes it claims. False when the file cannot be read or is damaged; n beyond
// kMaxSaveStateSize is refused before anything past the header is read.
bool ReadSaveFile(SaveRecord* record, const char* path);
