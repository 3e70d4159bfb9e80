#pragma once
// TitleData: the recollection items. Start-up reads their names from "tiName.dat", their page
// counts from "tiPage.dat" and their balloon texts from "tiBaloon.dat" (data folder, plain files
// or packs), then the seen list of save slot 99. An item's name is a picture name (a gallery
// item) or script names joined by "+" (a scene item, one part per scene); a name of "*" marks an
// index without an item. One flag byte per item records which of its parts were seen (bit k:
// part k); the seen list holds, in the order first matched, every name that set a bit, so that
// the unlocks survive between runs. Two hooks feed it while the game plays: every background
// picture shown (MarkSeenVisual) and every script that asks for it (MarkSeenScript).

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// An item's name or balloon record, and the length of a name that SetMeFlag splits.
constexpr std::size_t kTitleNameRecordSize = 64;
// The seen list's save slot.
constexpr int kSeenListSlot = 99;
// A flag byte has bits for parts 0..7.
constexpr std::size_t kTitleFlagBits = 8;
// The pack archive whose presence extraDataPresent reports, and the size it must pass.
constexpr int kExtraDataPack = 4;
constexpr std::uint32_t kExtraDataMinimumSize = 4;

struct TitleData {
    std::string flagFilePath;  // set by LoadFlag
    // Names, each followed by a zero byte, in the order they first set a bit.
    std::vector<std::uint8_t> meList;
    std::vector<std::uint8_t> flags;  // one per name: bit k = part k seen
    std::vector<std::string> names;
    std::vector<std::string> balloons;  // may be empty
    // The item that page commands work on; -1 none.
    std::int32_t currentItem = -1;
    std::vector<std::uint32_t> currentPage;  // per item, 1-based
    std::vector<std::uint32_t> pageCount;    // per item
    // The item whose recollection sub-menu was built last; -1 none.
    std::int32_t selectedItem = -1;
    // 1 when pack archive 4 exists and is larger than 4 bytes.
    std::uint8_t extraDataPresent = 0;
};

extern TitleData gTitleData;

// Readers of the files' bytes (the whole-file buffers of the file layer).
// Records of 64 bytes, each a name ended by a zero byte or by the record's end; a shorter rest
// is ignored.
std::vector<std::string> ReadTitleNameRecords(std::span<const std::uint8_t> bytes);
// Little-endian u32 values; a shorter rest is ignored.
std::vector<std::uint32_t> ReadTitlePageCounts(std::span<const std::uint8_t> bytes);
// Names one after the other, each ended by a zero byte; a last name without one still counts
// (the file layer's buffer ends with a zero). Empty names are skipped.
std::vector<std::string> ReadSeenList(std::span<const std::uint8_t> bytes);
// The parts of an item name split at "+"; empty parts do not count.
std::vector<std::string> SplitItemName(const std::string& name);

// Writes meList whole to flagFilePath; false (nothing written) when meList is empty.
bool SaveMeList();

namespace Title {

// Start-up: the pack probe, then LoadName, LoadPage, LoadBaloon and LoadFlag, each run even
// when an earlier one failed and each failure logged ("Title: LoadName error." ...). True when
// all four succeeded.
bool Load();
// False when the file cannot be loaded or holds no whole record.
bool LoadName(const char* path);
// Page counts per item; a missing or empty file empties the names too (no items at all).
bool LoadPage(const char* path);
// True without doing anything when the file does not exist.
bool LoadBaloon(const char* path);
// The seen list at `path` replayed through SetMeFlag in memory and written back once, only when
// the replay changed it. False without names or without the file; an empty file is valid.
bool LoadFlag(const char* path);

// Sets the bit of the first part, of the first item in item order, equal to `name` (case
// ignored); a newly set bit appends the name to meList. The seen list is written when an item
// matched (also when the bit was set before). A name that is empty or starts with "*" does
// nothing.
void SetMeFlag(const char* name);
// Sets bit 0 of the first item whose whole name equals `name` (case ignored), appending the name
// for a new bit, and writes the seen list; its result. False when nothing matched.
bool SetMeFlagWhole(const char* name);
// The running script asks (system sub-command 7): its file name without folder and extension.
void MarkSeenScript(const char* scriptName);
// A background picture was shown (built-in function 3).
void MarkSeenVisual(const char* name);
// Title command 13: flags[item] := value and the seen list written; false beyond the flags.
bool SetFlagByte(std::uint32_t item, std::uint8_t value);

// Queries; a negative index is out of range for each.
std::uint8_t FlagByte(std::int64_t item);  // 0 out of range
bool HasItemName(std::int64_t item);       // a name other than "*"
// 2 named and seen, 1 named and not seen, -1 out of range or "*".
int ItemState(std::int64_t item);
// "*" when there are no balloon texts or the index lies beyond them.
const std::string& BalloonText(std::int64_t item);
std::size_t ItemCount();

// Page count and current page of the current item; -1 without a current item or beyond the
// vector.
std::int64_t CurrentPageCount();
std::int64_t CurrentPage();
// -1 or an item index below the number of names; any other value is logged and ignored.
void SetCurrentItem(std::int32_t item);
// Without a current item nothing; the vector is grown with zeros to reach it.
void SetCurrentPageCount(std::uint32_t count);
void SetCurrentPage(std::uint32_t page);
// The current page moved by `delta`, wrapping below 1 to the count and above the count to 1.
void StepPage(std::int32_t delta);

// Everything back to its state before Load (tests; a run loads once).
void ResetTitleData();

}  // namespace Title
