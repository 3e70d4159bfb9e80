#pragma once
// Internal to the sound device: the PCM formats the mixer takes.

#include "platform/dsound/mix_voice.h"
#include "platform/dsound/wave_format.h"

namespace dsound_detail {

// DS_OK for PCM with 1 or 2 channels of 8 or 16 bits, a block align of channels × bytes per
// sample and a rate within DSBFREQUENCY_MIN..DSBFREQUENCY_MAX; DSERR_INVALIDPARAM for no
// format, DSERR_BADFORMAT for any other.
HRESULT CheckPcmFormat(const WAVEFORMATEX* format);

MixFormat ToMixFormat(const WAVEFORMATEX& format);
WAVEFORMATEX ToWaveFormat(const MixFormat& format);

// Copies `format` for GetFormat: at least a PCMWAVEFORMAT (16 bytes) must fit; with no record,
// only the size needed is answered.
HRESULT CopyFormatOut(const WAVEFORMATEX& format, LPWAVEFORMATEX destination, DWORD sizeAllocated,
                      DWORD* sizeWritten);

}  // namespace dsound_detail
