#include "platform/mci/track_table.h"

#include <algorithm>

#include "platform/mci/mci.h"

namespace mci_detail {
namespace {

constexpr std::int32_t kSectorsPerMinute = 60 * kSectorsPerSecond;

std::optional<std::int32_t> Offset(DWORD minute, DWORD second, DWORD frame) {
    if (second >= 60 || frame >= static_cast<DWORD>(kSectorsPerSecond)) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(minute) * kSectorsPerMinute +
           static_cast<std::int32_t>(second) * kSectorsPerSecond + static_cast<std::int32_t>(frame);
}

// Minutes past 255 do not fit the byte of a position; they are held at 255.
void Split(std::int32_t sectors, DWORD& minute, DWORD& second, DWORD& frame) {
    sectors = std::max(sectors, 0);
    minute = static_cast<DWORD>(std::min(sectors / kSectorsPerMinute, 255));
    second = static_cast<DWORD>(sectors / kSectorsPerSecond % 60);
    frame = static_cast<DWORD>(sectors % kSectorsPerSecond);
}

}  // namespace

std::int32_t TrackTable::Start(int track) const {
    if (track >= 1 && track <= Count()) {
        return starts[static_cast<std::size_t>(track - 1)];
    }
    return leadout;
}

int TrackTable::TrackAt(std::int32_t sector) const {
    auto after = std::upper_bound(starts.begin(), starts.end(), sector);
    return std::max(1, static_cast<int>(after - starts.begin()));
}

bool TrackTable::IsAudio(std::int32_t sector) const {
    if (sector < 0 || sector >= leadout || starts.empty() || sector < starts.front()) {
        return false;
    }
    return audio[static_cast<std::size_t>(TrackAt(sector) - 1)];
}

bool IsUsable(const TrackTable& table) {
    if (table.Count() < 1 || table.Count() > kMaxTracks ||
        table.audio.size() != table.starts.size()) {
        return false;
    }
    std::int32_t previous = -1;
    for (std::int32_t start : table.starts) {
        if (start <= previous) {
            return false;
        }
        previous = start;
    }
    return table.leadout > previous;
}

std::optional<std::int32_t> PositionToSector(DWORD format, DWORD position,
                                             const TrackTable& table) {
    std::optional<std::int32_t> sector;
    if (format == MCI_FORMAT_TMSF) {
        int track = static_cast<int>(MCI_TMSF_TRACK(position));
        if (track < 1 || track > table.Count()) {
            return std::nullopt;
        }
        sector =
            Offset(MCI_TMSF_MINUTE(position), MCI_TMSF_SECOND(position), MCI_TMSF_FRAME(position));
        if (sector) {
            *sector += table.Start(track);
        }
    } else if (format == MCI_FORMAT_MSF) {
        sector =
            Offset(MCI_MSF_MINUTE(position), MCI_MSF_SECOND(position), MCI_MSF_FRAME(position));
        if (sector) {
            *sector -= kMsfLeadIn;
        }
    }
    if (!sector || *sector < 0 || *sector > table.leadout) {
        return std::nullopt;
    }
    return sector;
}

DWORD SectorToPosition(DWORD format, std::int32_t sector, const TrackTable& table) {
    DWORD minute = 0;
    DWORD second = 0;
    DWORD frame = 0;
    if (format == MCI_FORMAT_TMSF) {
        int track = table.TrackAt(sector);
        Split(sector - table.Start(track), minute, second, frame);
        return MCI_MAKE_TMSF(static_cast<DWORD>(track), minute, second, frame);
    }
    Split(sector + kMsfLeadIn, minute, second, frame);
    return MCI_MAKE_MSF(minute, second, frame);
}

}  // namespace mci_detail
