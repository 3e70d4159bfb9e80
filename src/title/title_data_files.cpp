// The title data files: the readers of their bytes and the start-up loads.

#include <string>

#include "foundation/byte_reader.h"
#include "foundation/file.h"
#include "foundation/log.h"
#include "foundation/path.h"
#include "media/graphics/loaded_file.h"
#include "title/title_data.h"

namespace {

std::span<const std::uint8_t> BytesOf(const LoadedFile& file) {
    return std::span<const std::uint8_t>(file.data(), file.size());
}

}  // namespace

std::vector<std::string> ReadTitleNameRecords(std::span<const std::uint8_t> bytes) {
    ByteReader reader(bytes);
    std::vector<std::string> records;
    records.reserve(bytes.size() / kTitleNameRecordSize);
    while (reader.Has(kTitleNameRecordSize)) {
        records.push_back(reader.FixedString(kTitleNameRecordSize));
    }
    return records;
}

std::vector<std::uint32_t> ReadTitlePageCounts(std::span<const std::uint8_t> bytes) {
    ByteReader reader(bytes);
    std::vector<std::uint32_t> counts;
    counts.reserve(bytes.size() / 4);
    while (reader.Has(4)) {
        counts.push_back(reader.U32());
    }
    return counts;
}

std::vector<std::string> ReadSeenList(std::span<const std::uint8_t> bytes) {
    ByteReader reader(bytes);
    std::vector<std::string> names;
    while (!reader.AtEnd()) {
        const std::size_t length = reader.Find(0);
        std::string name = length == std::string::npos ? reader.FixedString(reader.Remaining())
                                                       : reader.FixedString(length + 1);
        if (!name.empty()) {
            names.push_back(std::move(name));
        }
    }
    return names;
}

namespace Title {

bool Load() {
    DWORD info[3] = {};
    GetFileInfo(GetPath(PathKind::Pack, kExtraDataPack), info);
    gTitleData.extraDataPresent = info[0] != 0 && info[2] > kExtraDataMinimumSize ? 1 : 0;
    bool ok = true;
    if (!LoadName(GetPath(PathKind::Data, "tiName.dat"))) {
        LogPrintf("Title: LoadName error.");
        ok = false;
    }
    if (!LoadPage(GetPath(PathKind::Data, "tiPage.dat"))) {
        LogPrintf("Title: LoadPage error.");
        ok = false;
    }
    if (!LoadBaloon(GetPath(PathKind::Data, "tiBaloon.dat"))) {
        LogPrintf("Title: LoadBaloon error.");
        ok = false;
    }
    if (!LoadFlag(GetPath(PathKind::Save, kSeenListSlot))) {
        LogPrintf("Title: LoadFlag error.");
        ok = false;
    }
    return ok;
}

bool LoadName(const char* path) {
    const LoadedFile file(path);
    if (!file.ok()) {
        return false;
    }
    std::vector<std::string> names = ReadTitleNameRecords(BytesOf(file));
    if (names.empty()) {
        return false;
    }
    gTitleData.names = std::move(names);
    return true;
}

bool LoadPage(const char* path) {
    const LoadedFile file(path);
    std::vector<std::uint32_t> counts;
    if (file.ok()) {
        counts = ReadTitlePageCounts(BytesOf(file));
    }
    if (counts.empty()) {
        // Without page counts there are no items at all.
        gTitleData.names.clear();
        return false;
    }
    gTitleData.pageCount = std::move(counts);
    gTitleData.currentItem = -1;
    return true;
}

bool LoadBaloon(const char* path) {
    if (FileExists(path) == 0) {
        return true;
    }
    const LoadedFile file(path);
    if (!file.ok()) {
        return false;
    }
    std::vector<std::string> balloons = ReadTitleNameRecords(BytesOf(file));
    if (balloons.empty()) {
        return false;
    }
    gTitleData.balloons = std::move(balloons);
    return true;
}

}  // namespace Title
