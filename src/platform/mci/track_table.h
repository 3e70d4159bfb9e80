#pragma once
// Internal to the CD audio device: the tracks of a disc as MCI numbers them (1..n, whatever
// numbers the disc gives them) and the positions of the time formats. A sector is 1/75 s:
// 2,352 bytes, 588 frames of 44.1 kHz 16-bit stereo.

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/winbase/win_types.h"

namespace mci_detail {

constexpr std::uint32_t kSectorBytes = 2352;
constexpr std::uint32_t kFramesPerSector = 588;
constexpr std::int32_t kSectorsPerSecond = 75;
constexpr int kMaxTracks = 99;
// MSF addresses count from the lead-in: the first sector is 00:02:00.
constexpr std::int32_t kMsfLeadIn = 150;

struct TrackTable {
    std::vector<std::int32_t> starts;  // starts[t - 1]: the first sector of track t
    std::vector<bool> audio;           // audio[t - 1]: track t holds audio
    std::int32_t leadout = 0;          // the first sector after the last track

    int Count() const { return static_cast<int>(starts.size()); }
    // The first sector of track 1..Count(); Count() + 1 gives the lead-out.
    std::int32_t Start(int track) const;
    // The track that holds `sector`; the last track for the lead-out and beyond.
    int TrackAt(std::int32_t sector) const;
    // Whether `sector` lies in an audio track of the disc.
    bool IsAudio(std::int32_t sector) const;
};

// A table we can play: 1..99 tracks whose first sectors are not negative and rise strictly,
// with the lead-out after the last of them.
bool IsUsable(const TrackTable& table);

// The sector of a position in `format` (MCI_FORMAT_MSF or MCI_FORMAT_TMSF); nothing when the
// format is another or the position lies outside the disc (the lead-out itself is inside).
std::optional<std::int32_t> PositionToSector(DWORD format, DWORD position, const TrackTable& table);
// The position of `sector` in `format`.
DWORD SectorToPosition(DWORD format, std::int32_t sector, const TrackTable& table);

}  // namespace mci_detail
