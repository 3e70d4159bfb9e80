#pragma once
// Internal to the sound device: resampling one voice into the mix.

#include <cstdint>

#include "platform/dsound/mix_voice.h"

namespace dsound_detail {

// Gains are 16.16 fixed point (65536 = unity).
struct VoiceGains {
    std::int32_t left = 65536;
    std::int32_t right = 65536;
};

// Adds `frames` output frames of `voice` to `mix` (interleaved stereo) and advances its
// position by `step` source frames per output frame (32.32 fixed point). Samples between two
// source frames are interpolated linearly; past the end of a one-shot voice the next frame is
// silence, and a looping voice wraps to its start. A one-shot voice that reaches its end stops,
// with its position back at 0.
void RenderVoice(MixVoice& voice, std::uint64_t step, VoiceGains gains, std::int32_t* mix,
                 std::uint32_t frames);

// The 32.32 step for playing `sourceRate` samples per second at `outputRate`.
std::uint64_t ResampleStep(DWORD sourceRate, DWORD outputRate);

// 16.16 gain of an attenuation in hundredths of a decibel: 10^(level / 2000); 0 at -10000 or
// below.
std::int32_t GainFromHundredthsDb(double level);

}  // namespace dsound_detail
