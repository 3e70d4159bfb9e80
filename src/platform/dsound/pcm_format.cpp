#include "platform/dsound/pcm_format.h"

#include <algorithm>
#include <cstring>

#include "platform/dsound/dsound.h"

namespace dsound_detail {

HRESULT CheckPcmFormat(const WAVEFORMATEX* format) {
    if (format == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    const bool valid = format->wFormatTag == WAVE_FORMAT_PCM &&
                       (format->nChannels == 1 || format->nChannels == 2) &&
                       (format->wBitsPerSample == 8 || format->wBitsPerSample == 16) &&
                       format->nBlockAlign == format->nChannels * format->wBitsPerSample / 8 &&
                       format->nSamplesPerSec >= DSBFREQUENCY_MIN &&
                       format->nSamplesPerSec <= DSBFREQUENCY_MAX;
    return valid ? DS_OK : DSERR_BADFORMAT;
}

MixFormat ToMixFormat(const WAVEFORMATEX& format) {
    return MixFormat{format.nChannels, format.wBitsPerSample, format.nBlockAlign,
                     format.nSamplesPerSec};
}

WAVEFORMATEX ToWaveFormat(const MixFormat& format) {
    WAVEFORMATEX wave{};
    wave.wFormatTag = WAVE_FORMAT_PCM;
    wave.nChannels = format.channels;
    wave.nSamplesPerSec = format.samplesPerSec;
    wave.nAvgBytesPerSec = format.samplesPerSec * format.blockAlign;
    wave.nBlockAlign = format.blockAlign;
    wave.wBitsPerSample = format.bitsPerSample;
    wave.cbSize = 0;
    return wave;
}

HRESULT CopyFormatOut(const WAVEFORMATEX& format, LPWAVEFORMATEX destination, DWORD sizeAllocated,
                      DWORD* sizeWritten) {
    if (destination == nullptr) {
        if (sizeWritten == nullptr) {
            return DSERR_INVALIDPARAM;
        }
        *sizeWritten = sizeof(WAVEFORMATEX);
        return DS_OK;
    }
    if (sizeAllocated < sizeof(PCMWAVEFORMAT)) {
        return DSERR_INVALIDPARAM;
    }
    const DWORD size = std::min<DWORD>(sizeAllocated, sizeof(WAVEFORMATEX));
    std::memcpy(destination, &format, size);
    if (sizeWritten != nullptr) {
        *sizeWritten = size;
    }
    return DS_OK;
}

}  // namespace dsound_detail
