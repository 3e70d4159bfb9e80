#include "adventure/read_history.h"

#include "adventure/adventure_frame.h"
#include "adventure/save_folder.h"
#include "foundation/app_settings.h"
#include "foundation/path.h"

ReadHistory gReadHistory;

namespace {

// A record takes at least its name's NUL and its length word.
constexpr std::size_t kSmallestRecord = 5;

bool ParseIntoGlobal(std::span<const std::uint8_t> bytes) {
    return ParseReadHistory(bytes, &gReadHistory.scripts);
}

std::size_t ByteOfPage(std::int32_t pageIndex) {
    return static_cast<std::size_t>(pageIndex) >> 3;
}

std::uint8_t BitOfPage(std::int32_t pageIndex) {
    return static_cast<std::uint8_t>(1u << (static_cast<unsigned>(pageIndex) & 7u));
}

}  // namespace

bool ParseReadHistory(std::span<const std::uint8_t> bytes,
                      NamedRecords<ReadHistoryRecord>* records) {
    return ParseHistoryRecords(bytes, records, kSmallestRecord,
                               [](ByteReader& reader, ReadHistoryRecord& record) {
                                   const std::uint32_t length = reader.U32();
                                   const std::span<const std::uint8_t> bits = reader.Span(length);
                                   record.bits.assign(bits.begin(), bits.end());
                               });
}

std::vector<std::uint8_t> SerializeReadHistory(const NamedRecords<ReadHistoryRecord>& records) {
    return SerializeHistoryRecords(records,
                                   [](ByteWriter& writer, const ReadHistoryRecord& record) {
                                       writer.U32(static_cast<std::uint32_t>(record.bits.size()));
                                       writer.Bytes(record.bits);
                                   });
}

HistoryLoad LoadReadHistory(const char* path) {
    gReadHistory.currentPageUnread = 0;
    return LoadHistoryFile(path, "LoadReadHistory", ParseIntoGlobal);
}

bool WriteReadHistory(const char* path) {
    return WriteSaveFolderFile(path, SerializeReadHistory(gReadHistory.scripts));
}

void ForgetReadHistory() {
    gReadHistory.scripts.Clear();
    gReadHistory.currentPageUnread = 0;
    gReadHistory.loaded = 0;
    gReadHistory.changed = 0;
}

void MarkPageRead(const char* scriptName, std::int32_t pageIndex) {
    ReadHistory& history = gReadHistory;
    history.currentPageUnread = 0;
    if (pageIndex < 0) {
        return;
    }
    if (!EnsureHistoryLoaded(&history.loaded, LoadReadHistory, kReadHistorySlot)) {
        return;
    }
    const std::string name = FileStem(scriptName);
    ReadHistoryRecord* record = history.scripts.Find(name.c_str());
    if (record == nullptr) {
        record = history.scripts.Add(name.c_str());
    }
    const std::size_t byte = ByteOfPage(pageIndex);
    if (record->bits.size() <= byte) {
        record->bits.resize(byte + 1, 0);
    }
    const std::uint8_t bit = BitOfPage(pageIndex);
    const bool unread = (record->bits[byte] & bit) == 0;
    record->bits[byte] |= bit;
    if (unread) {
        history.currentPageUnread = 1;
        history.changed = 1;
        if (MsgSkipUnseen == 0) {
            FastForwardMode = 0;
        }
    }
}

bool SaveReadHistoryIfChanged() {
    if (gReadHistory.changed == 0) {
        return false;
    }
    // Once per newly read page: a failed write is not tried again every turn (the history in
    // memory stays and goes out with the next page).
    gReadHistory.changed = 0;
    return WriteReadHistory(GetPath(PathKind::Save, kReadHistorySlot));
}

int IsCurrentPageUnread() {
    return gReadHistory.currentPageUnread;
}

void ClearUnreadPageFlag() {
    gReadHistory.currentPageUnread = 0;
}
