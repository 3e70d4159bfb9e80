#pragma once
// Disc images for tests: tracks of samples that tell where they come from, written as a .cue and
// its .bin into a test's directory. Programs that use it link qvn_disc_image.

#include <cstdint>
#include <string>
#include <vector>

#include "disc_image/disc_image_writer.h"
#include "support/temp_program_dir.h"

namespace qvn::test {

constexpr std::size_t kCdFramesPerSector = 588;

// An audio track of `frames` frames whose left sample counts up from `first` and right sample
// down from -first (both modulo 30,000), so every frame of every track is recognisable.
inline qvn_disc::DiscTrack CountingTrack(std::size_t frames, int first) {
    qvn_disc::DiscTrack track;
    track.samples.resize(frames * 2);
    for (std::size_t i = 0; i < frames; ++i) {
        const int value = (first + static_cast<int>(i)) % 30000;
        track.samples[2 * i] = static_cast<std::int16_t>(value);
        track.samples[2 * i + 1] = static_cast<std::int16_t>(-value);
    }
    return track;
}

// The samples of `frames` frames of `track` from frame `from`; silence past its end.
inline std::vector<std::int16_t> TrackPart(const qvn_disc::DiscTrack& track, std::size_t from,
                                           std::size_t frames) {
    std::vector<std::int16_t> part(frames * 2, 0);
    for (std::size_t i = 0; i < frames && 2 * (from + i) < track.samples.size(); ++i) {
        part[2 * i] = track.samples[2 * (from + i)];
        part[2 * i + 1] = track.samples[2 * (from + i) + 1];
    }
    return part;
}

// Writes `name`.cue and `name`.bin into `dir` and returns the .cue's path.
inline std::string WriteDiscImage(const TempProgramDir& dir, const std::string& name,
                                  const std::vector<qvn_disc::DiscTrack>& tracks) {
    qvn_disc::DiscImage image = qvn_disc::BuildDiscImage(tracks, name + ".bin");
    dir.writeFile(name + ".bin", image.bin);
    dir.writeFile(name + ".cue", image.cue);
    return dir.path() + "/" + name + ".cue";
}

}  // namespace qvn::test
