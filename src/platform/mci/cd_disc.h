#pragma once
// Internal to the CD audio device: one disc in a drive, read through libcdio. A drive of the
// machine is read through the paranoia reader (which verifies and repairs what the drive
// delivers); a disc image is read as it is stored.

#include <cstdint>
#include <memory>

#include "platform/mci/drive_table.h"
#include "platform/mci/track_table.h"

namespace mci_detail {

class CdDisc {
public:
    // The disc of `source`; null when there is none, or when its track table is not usable
    // (one debugger line says which).
    static std::unique_ptr<CdDisc> Open(const DriveSource& source);
    ~CdDisc();
    CdDisc(const CdDisc&) = delete;
    CdDisc& operator=(const CdDisc&) = delete;

    const TrackTable& Tracks() const { return tracks_; }

    // Reads `count` sectors from `sector` into `out` (count × 2,352 bytes) as 16-bit
    // little-endian stereo. Sectors that cannot be read, lie in a data track or lie outside the
    // disc are silence.
    void ReadAudio(std::int32_t sector, std::uint32_t count, std::uint8_t* out);

private:
    struct Reader;
    CdDisc(std::unique_ptr<Reader> reader, TrackTable tracks);
    // Reads one run of audio sectors that the disc holds.
    void ReadRun(std::int32_t sector, std::uint32_t count, std::uint8_t* out);

    std::unique_ptr<Reader> reader_;
    TrackTable tracks_;
};

}  // namespace mci_detail
