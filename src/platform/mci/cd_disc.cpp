#include "platform/mci/cd_disc.h"

#include <cdio/cdio.h>
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>
#include <stdio.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/mci/cdio_log.h"
#include "platform/winbase/debug_output.h"

namespace mci_detail {

struct CdDisc::Reader {
    CdIo_t* cdio = nullptr;
    cdrom_drive_t* drive = nullptr;
    cdrom_paranoia_t* paranoia = nullptr;
    std::int32_t paranoiaNext = -1;  // the sector the paranoia reader gives next

    ~Reader() {
        if (paranoia != nullptr) {
            cdio_paranoia_free(paranoia);
        }
        if (drive != nullptr) {
            cdio_cddap_close_no_free_cdio(drive);
        }
        if (cdio != nullptr) {
            cdio_destroy(cdio);
        }
    }
};

namespace {

void DebugLine(const char* format, const std::string& path) {
    char line[512];
    std::snprintf(line, sizeof line, format, path.c_str());
    OutputDebugStringA(line);
}

// Empty when the disc gives no track table.
TrackTable ReadTrackTable(CdIo_t* cdio) {
    TrackTable table;
    const track_t first = cdio_get_first_track_num(cdio);
    const track_t count = cdio_get_num_tracks(cdio);
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count > kMaxTracks ||
        first + count - 1 > kMaxTracks) {
        return {};
    }
    for (int i = 0; i < count; ++i) {
        const auto number = static_cast<track_t>(first + i);
        const lsn_t start = cdio_get_track_lsn(cdio, number);
        if (start == CDIO_INVALID_LSN) {
            return {};
        }
        table.starts.push_back(start);
        table.audio.push_back(cdio_get_track_format(cdio, number) == TRACK_FORMAT_AUDIO);
    }
    table.leadout = cdio_get_track_lsn(cdio, CDIO_CDROM_LEADOUT_TRACK);
    return table;
}

void IgnoreParanoiaProgress(long /*offset*/, paranoia_cb_mode_t /*mode*/) {}

}  // namespace

std::unique_ptr<CdDisc> CdDisc::Open(const DriveSource& source) {
    InstallCdioLogHandler();
    auto reader = std::make_unique<Reader>();
    reader->cdio = cdio_open(source.path.c_str(), source.image ? DRIVER_BINCUE : DRIVER_DEVICE);
    if (reader->cdio == nullptr) {
        DebugLine("cdaudio: no disc in %s\n", source.path);
        return nullptr;
    }
    TrackTable tracks = ReadTrackTable(reader->cdio);
    if (!IsUsable(tracks)) {
        DebugLine("cdaudio: the track table of %s is not usable\n", source.path);
        return nullptr;
    }
    if (!source.image) {
        reader->drive = cdio_cddap_identify_cdio(reader->cdio, CDDA_MESSAGE_FORGETIT, nullptr);
        if (reader->drive != nullptr && cdio_cddap_open(reader->drive) == 0) {
            reader->paranoia = cdio_paranoia_init(reader->drive);
        }
        // Without the paranoia reader the drive is read as an image is.
        if (reader->paranoia != nullptr) {
            // Every check and repair, but a sector that stays unreadable is skipped rather than
            // retried for ever.
            cdio_paranoia_modeset(reader->paranoia, PARANOIA_MODE_FULL ^ PARANOIA_MODE_NEVERSKIP);
        }
    }
    return std::unique_ptr<CdDisc>(new CdDisc(std::move(reader), std::move(tracks)));
}

CdDisc::CdDisc(std::unique_ptr<Reader> reader, TrackTable tracks)
    : reader_(std::move(reader)), tracks_(std::move(tracks)) {}

CdDisc::~CdDisc() = default;

void CdDisc::ReadAudio(std::int32_t sector, std::uint32_t count, std::uint8_t* out) {
    std::memset(out, 0, static_cast<std::size_t>(count) * kSectorBytes);
    std::uint32_t done = 0;
    while (done < count) {
        const std::int32_t at = sector + static_cast<std::int32_t>(done);
        if (!tracks_.IsAudio(at)) {
            ++done;
            continue;
        }
        // One run within one track.
        const std::int32_t end = std::min(tracks_.Start(tracks_.TrackAt(at) + 1),
                                          sector + static_cast<std::int32_t>(count));
        const auto run = static_cast<std::uint32_t>(end - at);
        ReadRun(at, run, out + static_cast<std::size_t>(done) * kSectorBytes);
        done += run;
    }
}

void CdDisc::ReadRun(std::int32_t sector, std::uint32_t count, std::uint8_t* out) {
    Reader& reader = *reader_;
    if (reader.paranoia != nullptr) {
        if (reader.paranoiaNext != sector) {
            cdio_paranoia_seek(reader.paranoia, sector, SEEK_SET);
        }
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::int16_t* samples =
                cdio_paranoia_read(reader.paranoia, IgnoreParanoiaProgress);
            if (samples == nullptr) {
                reader.paranoiaNext = -1;
                return;
            }
            std::uint8_t* bytes = out + static_cast<std::size_t>(i) * kSectorBytes;
            for (std::uint32_t n = 0; n < kSectorBytes / 2; ++n) {
                const auto value = static_cast<std::uint16_t>(samples[n]);
                bytes[2 * n] = static_cast<std::uint8_t>(value);
                bytes[2 * n + 1] = static_cast<std::uint8_t>(value >> 8);
            }
        }
        reader.paranoiaNext = sector + static_cast<std::int32_t>(count);
        return;
    }
    if (cdio_read_audio_sectors(reader.cdio, out, sector, count) == DRIVER_OP_SUCCESS) {
        return;
    }
    // One bad sector silences only itself.
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint8_t* bytes = out + static_cast<std::size_t>(i) * kSectorBytes;
        if (cdio_read_audio_sector(reader.cdio, bytes, sector + static_cast<std::int32_t>(i)) !=
            DRIVER_OP_SUCCESS) {
            std::memset(bytes, 0, kSectorBytes);
        }
    }
}

}  // namespace mci_detail
