#include "adventure/save_slot_table.h"

// The save files arrive with the save slots; until then no slot holds a game and the menu
// keeps the texts it was made with.
std::array<SaveSlotRecord, kSaveSlotCount> SaveSlotTable{};

void ScanSaveSlots(HMENU) {}
