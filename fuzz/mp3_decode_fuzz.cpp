#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/acm/acm.h"
#include "platform/acm/mpeg_audio_decoder.h"

namespace {

constexpr std::size_t kMaxOutput = std::size_t{64} << 20;

void ConvertThroughStream(const std::uint8_t* data, std::size_t size) {
    MPEGLAYER3WAVEFORMAT source{};
    source.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
    source.wfx.nChannels = (data[0] & 1) != 0 ? 1 : 2;
    source.wfx.nSamplesPerSec = (data[0] & 2) != 0 ? 22050 : 44100;
    source.wfx.nAvgBytesPerSec = 16000;
    source.wfx.nBlockAlign = 1;
    source.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
    WAVEFORMATEX destination{};
    destination.wFormatTag = WAVE_FORMAT_PCM;
    if (acmFormatSuggest(nullptr, &source.wfx, &destination, sizeof destination,
                         ACM_FORMATSUGGESTF_WFORMATTAG) != MMSYSERR_NOERROR) {
        return;
    }
    HACMSTREAM stream = nullptr;
    if (acmStreamOpen(&stream, nullptr, &source.wfx, &destination, nullptr, 0, 0,
                      ACM_STREAMOPENF_NONREALTIME) != MMSYSERR_NOERROR) {
        return;
    }
    DWORD outputSize = 0;
    std::vector<BYTE> input(data, data + size);
    if (acmStreamSize(stream, static_cast<DWORD>(size), &outputSize, ACM_STREAMSIZEF_SOURCE) ==
            MMSYSERR_NOERROR &&
        outputSize <= kMaxOutput) {
        std::vector<BYTE> output(outputSize);
        ACMSTREAMHEADER header{};
        header.cbStruct = sizeof header;
        header.pbSrc = input.data();
        header.cbSrcLength = static_cast<DWORD>(input.size());
        header.pbDst = output.data();
        header.cbDstLength = outputSize;
        if (acmStreamPrepareHeader(stream, &header, 0) == MMSYSERR_NOERROR) {
            acmStreamConvert(stream, &header, 0);
            acmStreamUnprepareHeader(stream, &header, 0);
        }
    }
    acmStreamClose(stream, 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    DecodeMpegAudio(data, size, {}, nullptr, kMaxOutput);
    MpegAudioLength(data, size);
    ConvertThroughStream(data, size);
    return 0;
}
