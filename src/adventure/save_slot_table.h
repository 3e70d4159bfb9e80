#pragma once
// The save slots' table as the title screen reads it: whether each of the 21 slots holds a game,
// and the refresh of the slot texts of the game window's load and save sub-menus.

#include <array>
#include <cstdint>

#include "platform/winbase/win_types.h"

constexpr int kSaveSlotCount = 21;

struct SaveSlotRecord {
    std::uint8_t used = 0;  // the slot's file holds a game
};

// Slot 0 first.
extern std::array<SaveSlotRecord, kSaveSlotCount> SaveSlotTable;

// Reads the slots' headers on the first call of a run; on every call rewrites the texts of the
// slot items of `menu` (the load items 40200 + i and the save items 40250 + i).
void ScanSaveSlots(HMENU menu);
