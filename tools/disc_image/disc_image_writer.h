#pragma once
// Writes CD images as a .cue sheet and its .bin (raw 2,352-byte sectors), the form libcdio
// opens as a drive; tests, benchmarks and fuzz seeds make their discs with it.

#include <cstdint>
#include <string>
#include <vector>

namespace qvn_disc {

// One track: 44.1 kHz 16-bit stereo samples, left first, padded with silence to whole sectors
// (75 a second). A data track (MODE1/2352) holds as many sectors of a byte pattern that is not
// silence.
struct DiscTrack {
    std::vector<std::int16_t> samples;
    bool audio = true;
};

struct DiscImage {
    std::string cue;
    std::vector<std::uint8_t> bin;
};

// One .bin named `binName` holding the tracks one after another; each track's INDEX 01 is its
// first sector.
DiscImage BuildDiscImage(const std::vector<DiscTrack>& tracks, const std::string& binName);

// `seconds` of a sine tone of `hertz` at `amplitude`, the same on both channels.
std::vector<std::int16_t> ToneSamples(double seconds, double hertz, int amplitude);

}  // namespace qvn_disc
