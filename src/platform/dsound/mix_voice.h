#pragma once
// Internal to the sound device: what the mixer knows of one secondary buffer. Every field is
// guarded by the mutex of the PcmMixer the voice is attached to.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/dsound/dsound.h"

namespace dsound_detail {

// A PCM format the mixer reads: 1 or 2 channels of 8-bit unsigned or 16-bit signed samples.
struct MixFormat {
    WORD channels = 2;
    WORD bitsPerSample = 16;
    WORD blockAlign = 4;
    DWORD samplesPerSec = 44100;
};

// Position and distances of a 3-D voice, or of the listener (distances unused there).
struct Placement3D {
    D3DVECTOR position{0.0f, 0.0f, 0.0f};
    float minDistance = DS3D_DEFAULTMINDISTANCE;
    float maxDistance = DS3D_DEFAULTMAXDISTANCE;
};

struct MixVoice {
    // The ring; shared by a buffer and its duplicates.
    std::shared_ptr<std::vector<BYTE>> memory;
    MixFormat format;
    // Whole frames in the ring; a partial frame at the end is never played.
    DWORD frameCount = 0;
    DWORD capabilities = 0;  // DSBCAPS flags
    bool playing = false;
    bool looping = false;
    // Play position in frames, 32.32 fixed point; always below frameCount frames.
    std::uint64_t position = 0;
    DWORD frequency = 44100;  // playback rate in samples per second
    LONG volume = DSBVOLUME_MAX;
    LONG pan = DSBPAN_CENTER;
    Placement3D placement;
    Placement3D pendingPlacement;
    bool hasPendingPlacement = false;

    DWORD playCursorBytes() const { return static_cast<DWORD>(position >> 32) * format.blockAlign; }
};

}  // namespace dsound_detail
