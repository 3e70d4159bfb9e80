#include "adventure/save_slot_table.h"

#include <cstdio>
#include <cstring>

#include "adventure/save_texts.h"
#include "foundation/path.h"
#include "platform/win32/menu_api.h"
#include "platform/winbase/file_api.h"

std::array<SaveSlotRecord, kSaveSlotCount> SaveSlots;

namespace {

bool slotsScanned = false;

// A record whose 108 header bytes are zero.
SaveSlotRecord ZeroedSlot() {
    SaveSlotRecord record;
    record.word0 = 0;
    record.version = 0;
    return record;
}

// Reads the header and the last-write time of slot `slot`'s file, when it has one.
void ReadSlot(int slot) {
    SaveSlotRecord& record = SaveSlots[static_cast<std::size_t>(slot)];
    record = ZeroedSlot();
    HANDLE file = CreateFileA(GetPath(PathKind::Save, slot), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE || file == nullptr) {
        return;
    }
    LARGE_INTEGER size{};
    GetFileSizeEx(file, &size);
    FILETIME written{};
    GetFileTime(file, nullptr, nullptr, &written);
    std::uint8_t header[kSaveHeaderSize] = {};
    DWORD read = 0;
    if (!ReadFile(file, header, kSaveHeaderSize, &read, nullptr)) {
        read = 0;
    }
    CloseHandle(file);
    static_cast<SaveHeader&>(record) = ParseSaveHeader(std::span<const std::uint8_t>(header, read));
    if (read == 0 || record.word0 == 0) {
        record = ZeroedSlot();
        return;
    }
    FILETIME local{};
    FileTimeToLocalFileTime(&written, &local);
    FileTimeToSystemTime(&local, &record.time);
    record.used = 1;
}

}  // namespace

std::string SaveSlotText(const SaveSlotRecord& slot) {
    char text[kSlotTextSize];
    if (slot.used == 0) {
        std::snprintf(text, sizeof text, "%s", kEmptySlotText);
    } else {
        std::snprintf(text, sizeof text, kUsedSlotFormat, slot.time.wYear, slot.time.wMonth,
                      slot.time.wDay, slot.time.wHour, slot.time.wMinute, slot.title);
    }
    return text;
}

void ScanSaveSlots(HMENU menu) {
    if (!slotsScanned) {
        slotsScanned = true;
        for (int slot = 0; slot < kSaveSlotCount; ++slot) {
            ReadSlot(slot);
        }
    }
    if (menu == nullptr) {
        return;
    }
    for (int slot = 0; slot < kSaveSlotCount; ++slot) {
        const SaveSlotRecord& record = SaveSlots[static_cast<std::size_t>(slot)];
        const std::string text = SaveSlotText(record);
        const UINT save = kSaveSlotCommand + static_cast<UINT>(slot);
        const UINT load = kLoadSlotCommand + static_cast<UINT>(slot);
        ModifyMenuA(menu, save,
                    MF_BYCOMMAND | MF_STRING | (slot == kSavePointSlot ? MF_GRAYED : 0u), save,
                    text.c_str());
        ModifyMenuA(menu, load, MF_BYCOMMAND | MF_STRING | (record.used != 0 ? 0u : MF_GRAYED),
                    load, text.c_str());
    }
}

void MarkSlotSaved(int slot, const SaveHeader& record) {
    SaveSlotRecord& entry = SaveSlots[static_cast<std::size_t>(slot)];
    std::memcpy(entry.title, record.title, kSaveTitleSize);
    std::memcpy(entry.resumeLabel, record.resumeLabel, kSaveLabelSize);
    GetLocalTime(&entry.time);
    entry.used = 1;
}

void ForgetSaveSlots() {
    slotsScanned = false;
    SaveSlots.fill(ZeroedSlot());
}
