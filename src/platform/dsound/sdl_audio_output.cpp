#include "platform/dsound/sdl_audio_output.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/dsound/pcm_mixer.h"
#include "platform/win32/sdl_host.h"
#include "platform/winbase/debug_output.h"

namespace dsound_detail {
namespace {

constexpr Uint16 kCallbackFrames = 1024;

void ReportSdlFailure(const char* what) {
    char line[512];
    std::snprintf(line, sizeof line, "dsound: %s: %s\n", what, SDL_GetError());
    OutputDebugStringA(line);
}

}  // namespace

void ConvertMixToFormat(const std::int16_t* mix, std::uint32_t frames, const WAVEFORMATEX& format,
                        std::uint8_t* out) {
    const bool mono = format.nChannels == 1;
    const bool eightBit = format.wBitsPerSample == 8;
    for (std::uint32_t i = 0; i < frames; ++i) {
        std::int32_t samples[2] = {mix[2 * i], mix[2 * i + 1]};
        if (mono) {
            samples[0] = (samples[0] + samples[1]) >> 1;
        }
        for (int channel = 0; channel < (mono ? 1 : 2); ++channel) {
            const std::int32_t sample = samples[channel];
            if (eightBit) {
                *out++ = static_cast<std::uint8_t>((sample >> 8) + 128);
            } else {
                const auto bits = static_cast<std::uint16_t>(static_cast<std::int16_t>(sample));
                std::memcpy(out, &bits, 2);
                out += 2;
            }
        }
    }
}

SdlAudioOutput::SdlAudioOutput(PcmMixer& mixer, const WAVEFORMATEX& format)
    : mixer_(mixer), format_(format), mix_(static_cast<std::size_t>(kCallbackFrames) * 2) {}

std::unique_ptr<SdlAudioOutput> SdlAudioOutput::Open(const char* deviceName, PcmMixer& mixer,
                                                     const WAVEFORMATEX& format) {
    if (!Win32InitSdl(SDL_INIT_AUDIO)) {
        ReportSdlFailure("SDL audio is not available");
        return nullptr;
    }
    std::unique_ptr<SdlAudioOutput> output(new SdlAudioOutput(mixer, format));
    SDL_AudioSpec wanted{};
    wanted.freq = static_cast<int>(format.nSamplesPerSec);
    wanted.format = format.wBitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(format.nChannels);
    wanted.samples = kCallbackFrames;
    wanted.callback = &SdlAudioOutput::Pull;
    wanted.userdata = output.get();
    SDL_AudioSpec obtained{};
    output->device_ = SDL_OpenAudioDevice(deviceName, 0, &wanted, &obtained, 0);
    if (output->device_ == 0) {
        ReportSdlFailure("cannot open the audio output");
        return nullptr;
    }
    SDL_PauseAudioDevice(output->device_, 0);
    return output;
}

SdlAudioOutput::~SdlAudioOutput() {
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_);
    }
}

void SdlAudioOutput::Pull(void* self, std::uint8_t* stream, int bytes) {
    auto* output = static_cast<SdlAudioOutput*>(self);
    const std::uint32_t frameBytes = output->format_.nBlockAlign;
    std::uint32_t frames = static_cast<std::uint32_t>(bytes) / frameBytes;
    while (frames > 0) {
        const std::uint32_t chunk = std::min<std::uint32_t>(frames, kCallbackFrames);
        output->mixer_.Mix(output->mix_.data(), chunk);
        ConvertMixToFormat(output->mix_.data(), chunk, output->format_, stream);
        stream += static_cast<std::size_t>(chunk) * frameBytes;
        frames -= chunk;
    }
}

}  // namespace dsound_detail
