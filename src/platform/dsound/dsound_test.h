#pragma once
// Test-only controls of the sound device. The program itself never calls these.

#include <cstdint>
#include <vector>

#include "platform/dsound/dsound.h"

namespace dsound_test {

// From now on the enumeration lists "Primary Sound Driver" and "Null Audio Device", and every
// device created is a null device: it has no output and mixes only when a test asks.
void UseNullDevice(bool enabled);

// While `result` is a failure, DirectSoundCreate8 fails with it (S_OK: normal again).
void SetCreateFailure(HRESULT result);

// Mixes the next `frames` frames of the null device `device` and returns them as 16-bit
// stereo samples, left first; the play cursors of its buffers move on by exactly as many frames.
// Empty when `device` is not a null device.
std::vector<std::int16_t> MixFrames(IDirectSound8* device, std::uint32_t frames);

// The same on the newest null device not yet released, for tests of code that keeps its device
// to itself; empty when there is none.
std::vector<std::int16_t> MixFrames(std::uint32_t frames);

}  // namespace dsound_test
