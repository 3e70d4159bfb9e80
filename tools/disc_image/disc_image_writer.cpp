#include "disc_image/disc_image_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "foundation/byte_writer.h"

namespace qvn_disc {
namespace {

constexpr std::size_t kSectorBytes = 2352;
constexpr std::size_t kFramesPerSector = 588;
constexpr int kSectorsPerSecond = 75;

std::string Msf(std::size_t sector) {
    char text[64];
    std::snprintf(text, sizeof text, "%02zu:%02zu:%02zu", sector / (60 * kSectorsPerSecond),
                  sector / kSectorsPerSecond % 60, sector % kSectorsPerSecond);
    return text;
}

}  // namespace

DiscImage BuildDiscImage(const std::vector<DiscTrack>& tracks, const std::string& binName) {
    ByteWriter bin;
    std::string cue = "FILE \"" + binName + "\" BINARY\n";
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        const DiscTrack& track = tracks[i];
        char header[64];
        std::snprintf(header, sizeof header, "  TRACK %02zu %s\n", i + 1,
                      track.audio ? "AUDIO" : "MODE1/2352");
        cue += header;
        cue += "    INDEX 01 " + Msf(bin.Size() / kSectorBytes) + "\n";
        const std::size_t frames = track.samples.size() / 2;
        const std::size_t sectors =
            std::max<std::size_t>(1, (frames + kFramesPerSector - 1) / kFramesPerSector);
        if (track.audio) {
            for (std::int16_t sample : track.samples) {
                bin.I16(sample);
            }
            bin.Zeros(sectors * kSectorBytes - frames * 4);
        } else {
            for (std::size_t n = 0; n < sectors * kSectorBytes; ++n) {
                bin.U8(static_cast<std::uint8_t>(0x55 + n % 7));
            }
        }
    }
    return DiscImage{cue, bin.Take()};
}

std::vector<std::int16_t> ToneSamples(double seconds, double hertz, int amplitude) {
    const auto frames = static_cast<std::size_t>(seconds * 44100.0);
    std::vector<std::int16_t> samples(frames * 2);
    for (std::size_t i = 0; i < frames; ++i) {
        const double phase = 2.0 * std::numbers::pi * hertz * static_cast<double>(i) / 44100.0;
        const auto value = static_cast<std::int16_t>(std::lround(amplitude * std::sin(phase)));
        samples[2 * i] = value;
        samples[2 * i + 1] = value;
    }
    return samples;
}

}  // namespace qvn_disc
