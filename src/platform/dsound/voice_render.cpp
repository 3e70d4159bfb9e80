#include "platform/dsound/voice_render.h"

#include <cmath>

namespace dsound_detail {
namespace {

template <int kBits>
inline std::int32_t ReadSample(const BYTE* p) {
    if constexpr (kBits == 8) {
        return (static_cast<std::int32_t>(p[0]) - 128) * 256;
    } else {
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0]) |
                                         static_cast<std::uint16_t>(p[1] << 8));
    }
}

template <int kBits, int kChannels>
inline void ReadFrame(const BYTE* data, std::uint32_t index, std::int32_t& left,
                      std::int32_t& right) {
    constexpr std::size_t kFrameBytes = kBits / 8 * kChannels;
    const BYTE* p = data + static_cast<std::size_t>(index) * kFrameBytes;
    left = ReadSample<kBits>(p);
    if constexpr (kChannels == 2) {
        right = ReadSample<kBits>(p + kBits / 8);
    } else {
        right = left;
    }
}

inline std::int32_t Interpolate(std::int32_t from, std::int32_t to, std::uint32_t fraction) {
    return from +
           static_cast<std::int32_t>((static_cast<std::int64_t>(to - from) * fraction) >> 32);
}

inline std::int32_t ApplyGain(std::int32_t sample, std::int32_t gain) {
    return (sample * gain + 32768) >> 16;
}

template <int kBits, int kChannels>
void Render(MixVoice& voice, std::uint64_t step, VoiceGains gains, std::int32_t* mix,
            std::uint32_t frames) {
    const BYTE* data = voice.memory->data();
    const std::uint32_t count = voice.frameCount;
    const std::uint64_t end = static_cast<std::uint64_t>(count) << 32;
    const bool looping = voice.looping;
    std::uint64_t position = voice.position;
    for (std::uint32_t n = 0; n < frames; ++n) {
        const auto index = static_cast<std::uint32_t>(position >> 32);
        const auto fraction = static_cast<std::uint32_t>(position);
        std::int32_t left;
        std::int32_t right;
        ReadFrame<kBits, kChannels>(data, index, left, right);
        if (fraction != 0) {
            std::int32_t nextLeft = 0;
            std::int32_t nextRight = 0;
            if (index + 1 < count) {
                ReadFrame<kBits, kChannels>(data, index + 1, nextLeft, nextRight);
            } else if (looping) {
                ReadFrame<kBits, kChannels>(data, 0, nextLeft, nextRight);
            }
            left = Interpolate(left, nextLeft, fraction);
            right = Interpolate(right, nextRight, fraction);
        }
        mix[2 * n] += ApplyGain(left, gains.left);
        mix[2 * n + 1] += ApplyGain(right, gains.right);
        position += step;
        if (position >= end) {
            if (looping) {
                position %= end;
            } else {
                voice.playing = false;
                position = 0;
                break;
            }
        }
    }
    voice.position = position;
}

// A silent voice only moves on.
void Advance(MixVoice& voice, std::uint64_t step, std::uint32_t frames) {
    const auto end = static_cast<unsigned __int128>(voice.frameCount) << 32;
    const auto target = static_cast<unsigned __int128>(voice.position) +
                        static_cast<unsigned __int128>(step) * frames;
    if (target < end) {
        voice.position = static_cast<std::uint64_t>(target);
    } else if (voice.looping) {
        voice.position = static_cast<std::uint64_t>(target % end);
    } else {
        voice.playing = false;
        voice.position = 0;
    }
}

}  // namespace

void RenderVoice(MixVoice& voice, std::uint64_t step, VoiceGains gains, std::int32_t* mix,
                 std::uint32_t frames) {
    if (!voice.playing || voice.frameCount == 0 || !voice.memory) {
        return;
    }
    if (gains.left == 0 && gains.right == 0) {
        Advance(voice, step, frames);
        return;
    }
    const bool stereo = voice.format.channels == 2;
    if (voice.format.bitsPerSample == 8) {
        stereo ? Render<8, 2>(voice, step, gains, mix, frames)
               : Render<8, 1>(voice, step, gains, mix, frames);
    } else {
        stereo ? Render<16, 2>(voice, step, gains, mix, frames)
               : Render<16, 1>(voice, step, gains, mix, frames);
    }
}

std::uint64_t ResampleStep(DWORD sourceRate, DWORD outputRate) {
    return (static_cast<std::uint64_t>(sourceRate) << 32) / outputRate;
}

std::int32_t GainFromHundredthsDb(double level) {
    if (level <= DSBVOLUME_MIN) {
        return 0;
    }
    if (level >= 0.0) {
        return 65536;
    }
    return static_cast<std::int32_t>(std::lround(65536.0 * std::pow(10.0, level / 2000.0)));
}

}  // namespace dsound_detail
