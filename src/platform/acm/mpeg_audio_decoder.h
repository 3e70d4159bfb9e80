#pragma once
// Whole-file MPEG audio decoding (layer 3, and layers 1 and 2), as the command-line decoder of
// the same library does it: an ID3v2 tag in front and an ID3v1 tag at the end are skipped,
// junk between frames is skipped, and the encoder delay and padding named by the stream's info
// frame are left out (gapless).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/dsound/wave_format.h"

// The most PCM one decoding delivers (1 GiB, some 100 minutes of 44.1 kHz stereo).
inline constexpr std::size_t kMaxDecodedMpegBytes = std::size_t{1} << 30;

struct DecodedPcm {
    WAVEFORMATEX format;     // PCM, 16 bits
    std::vector<BYTE> data;  // whole frames of interleaved little-endian samples
};

// The output format: 0 keeps the stream's own rate or channel count. Mono is duplicated into
// stereo, stereo mixed down to mono; rates are never converted, so that a rate other than the
// stream's decodes nothing and frames of another rate end the decoding.
struct PcmTarget {
    DWORD samplesPerSec = 0;
    WORD channels = 0;
};

// The PCM of every frame of the stream `bytes`, at most `maxBytes` of it. Nothing when no frame
// decodes or the output would pass `maxBytes`; `error` then says why.
std::optional<DecodedPcm> DecodeMpegAudio(const BYTE* bytes, std::size_t size,
                                          PcmTarget target = {}, std::string* error = nullptr,
                                          std::size_t maxBytes = kMaxDecodedMpegBytes);

// The number of sample frames the library reports for the stream after scanning it (the same
// gapless count DecodeMpegAudio delivers), or nothing when it cannot tell.
std::optional<std::int64_t> MpegAudioLength(const BYTE* bytes, std::size_t size);
