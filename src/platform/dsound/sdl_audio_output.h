#pragma once
// Internal to the sound device: plays the mix through an SDL audio device. SDL's callback runs
// on SDL's audio thread and pulls from the mixer, which takes its own lock.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/dsound/wave_format.h"

namespace dsound_detail {

class PcmMixer;

class SdlAudioOutput {
public:
    // Opens the output `deviceName` (null: the default) in `format`, the primary buffer's PCM
    // format (8 or 16 bits, 1 or 2 channels), and starts pulling from `mixer`. Null when SDL
    // audio or the device cannot be opened; the reason goes to the debugger output.
    static std::unique_ptr<SdlAudioOutput> Open(const char* deviceName, PcmMixer& mixer,
                                                const WAVEFORMATEX& format);
    // Closes the device; no callback runs after it returns. The caller must not hold the
    // mixer's lock.
    ~SdlAudioOutput();

    SdlAudioOutput(const SdlAudioOutput&) = delete;
    SdlAudioOutput& operator=(const SdlAudioOutput&) = delete;

private:
    SdlAudioOutput(PcmMixer& mixer, const WAVEFORMATEX& format);
    static void Pull(void* self, std::uint8_t* stream, int bytes);

    PcmMixer& mixer_;
    WAVEFORMATEX format_;
    std::uint32_t device_ = 0;
    std::vector<std::int16_t> mix_;
};

// Converts 16-bit stereo frames to `format` (8 or 16 bits, 1 or 2 channels) at `out`; mono is
// the mean of left and right, 8-bit the top byte made unsigned.
void ConvertMixToFormat(const std::int16_t* mix, std::uint32_t frames, const WAVEFORMATEX& format,
                        std::uint8_t* out);

}  // namespace dsound_detail
