#pragma once
// Test-only controls of the CD audio device and the mixer. The program itself never calls these.

#include <cstdint>
#include <string>
#include <vector>

namespace mci_test {

// From now on the CD-ROM drives are the disc images that MapDriveImage names (none at first),
// and never the drives of the machine; false returns to the machine's drives.
void UseDiscImages(bool enabled);

// Drive `letter` (D..Z, any case) holds the disc image `cuePath`, a .cue file with its .bin;
// an empty path takes the drive away. Switches to the disc images as UseDiscImages does, but
// keeps the images already mapped.
void MapDriveImage(char letter, const std::string& cuePath);

// Mixes the next `frames` frames of the CD audio of drive `letter` and returns them as 16-bit
// stereo samples, left first; silence while the drive has no sound output (before its first
// play, after its last device closed). The sound device must be a null device
// (dsound_test::UseNullDevice).
std::vector<std::int16_t> MixCdFrames(char letter, std::uint32_t frames);

// While false, the system has no audio mixer: mixerGetNumDevs answers 0 and no mixer opens.
void SetMixerPresent(bool present);

}  // namespace mci_test
