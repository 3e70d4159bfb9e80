#include "adventure/choice_history.h"

#include <algorithm>

#include "adventure/save_folder.h"
#include "foundation/path.h"

ChoiceHistory gChoiceHistory;

namespace {

// A record takes at least its name's NUL and its count of points; a point its count of values.
constexpr std::size_t kSmallestRecord = 5;
constexpr std::size_t kWord = 4;

bool ParseIntoGlobal(std::span<const std::uint8_t> bytes) {
    return ParseChoiceHistory(bytes, &gChoiceHistory.scripts);
}

}  // namespace

bool ParseChoiceHistory(std::span<const std::uint8_t> bytes,
                        NamedRecords<ChoiceHistoryRecord>* records) {
    return ParseHistoryRecords(bytes, records, kSmallestRecord,
                               [](ByteReader& reader, ChoiceHistoryRecord& record) {
                                   record.points.resize(reader.Count(kWord));
                                   for (std::vector<std::uint32_t>& values : record.points) {
                                       values.resize(reader.Count(kWord));
                                       for (std::uint32_t& value : values) {
                                           value = reader.U32();
                                       }
                                   }
                               });
}

std::vector<std::uint8_t> SerializeChoiceHistory(const NamedRecords<ChoiceHistoryRecord>& records) {
    return SerializeHistoryRecords(
        records, [](ByteWriter& writer, const ChoiceHistoryRecord& record) {
            writer.U32(static_cast<std::uint32_t>(record.points.size()));
            for (const std::vector<std::uint32_t>& values : record.points) {
                writer.U32(static_cast<std::uint32_t>(values.size()));
                for (const std::uint32_t value : values) {
                    writer.U32(value);
                }
            }
        });
}

HistoryLoad LoadChoiceHistory(const char* path) {
    return LoadHistoryFile(path, "LoadChoiceHistory", ParseIntoGlobal);
}

bool WriteChoiceHistory(const char* path) {
    return WriteSaveFolderFile(path, SerializeChoiceHistory(gChoiceHistory.scripts));
}

void ForgetChoiceHistory() {
    gChoiceHistory.scripts.Clear();
    gChoiceHistory.loaded = 0;
}

bool CheckChoice(const char* scriptName, std::int32_t point, std::uint32_t value, bool record) {
    if (point < 0) {
        return false;
    }
    ChoiceHistory& history = gChoiceHistory;
    if (!EnsureHistoryLoaded(&history.loaded, LoadChoiceHistory, kChoiceHistorySlot)) {
        return false;
    }
    const std::string name = FileStem(scriptName);
    ChoiceHistoryRecord* found = history.scripts.Find(name.c_str());
    const auto index = static_cast<std::size_t>(point);
    if (found != nullptr && index < found->points.size()) {
        const std::vector<std::uint32_t>& values = found->points[index];
        if (std::find(values.begin(), values.end(), value) != values.end()) {
            return true;
        }
    }
    if (!record) {
        return false;
    }
    if (found == nullptr) {
        found = history.scripts.Add(name.c_str());
    }
    if (found->points.size() <= index) {
        found->points.resize(index + 1);
    }
    found->points[index].push_back(value);
    WriteChoiceHistory(GetPath(PathKind::Save, kChoiceHistorySlot));
    return true;
}
