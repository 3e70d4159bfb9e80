#pragma once
// The table of the 21 save slots (0..19 the player's, 20 the save point's) as the menus show
// them: each slot's header, the time its file was last written and whether it is used. It is
// read from the disk once per run; afterwards only successful saves change it.

#include <array>
#include <cstddef>
#include <string>

#include "adventure/save_file.h"
#include "platform/winbase/local_time.h"
#include "platform/winbase/win_types.h"

constexpr int kSaveSlotCount = 21;
constexpr int kSavePointSlot = 20;
// Menu commands: load slot i is 40200 + i, save to slot i is 40250 + i; 40270 is the save
// point's silent save of slot 20.
constexpr UINT kLoadSlotCommand = 40200;
constexpr UINT kSaveSlotCommand = 40250;
constexpr UINT kSavePointCommand = kSaveSlotCommand + kSavePointSlot;
// The longest menu text of a slot, its terminating zero included.
constexpr std::size_t kSlotTextSize = 260;

struct SaveSlotRecord : SaveHeader {
    SYSTEMTIME time{};  // local time of the file's last write
    std::uint8_t used = 0;

    // The header initialised (108, version 1, empty texts, no key), the time zero, not used.
    SaveSlotRecord() = default;
};

extern std::array<SaveSlotRecord, kSaveSlotCount> SaveSlots;

// On its first call in a run reads every slot's header and file time into SaveSlots (a file
// whose read gives no bytes or whose first word is 0 is not used); on every call rewrites the
// 42 slot items of `menu` (null: none): each save item with the slot's text, greyed for slot 20,
// each load item with the same text, enabled only for a used slot.
void ScanSaveSlots(HMENU menu);
// The slot's menu text: "%04d/%02d/%02d　%02d:%02d　%s" (year, month, day, hour, minute, title)
// when used, else "----/--/--　--:--　データ無し".
std::string SaveSlotText(const SaveSlotRecord& slot);
// A slot saved now: its title and label from `record`, the local time, used.
void MarkSlotSaved(int slot, const SaveHeader& record);
// The table forgotten, as at the start of a run: the next ScanSaveSlots reads it again.
void ForgetSaveSlots();
