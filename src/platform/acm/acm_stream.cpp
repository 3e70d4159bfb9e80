#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/acm/acm.h"
#include "platform/acm/mpeg_audio_decoder.h"

namespace {

bool IsMpegRate(DWORD rate) {
    constexpr DWORD kRates[] = {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000};
    return std::find(std::begin(kRates), std::end(kRates), rate) != std::end(kRates);
}

bool IsMpegSource(const WAVEFORMATEX* format) {
    return format != nullptr && format->wFormatTag == WAVE_FORMAT_MPEGLAYER3 &&
           (format->nChannels == 1 || format->nChannels == 2) && IsMpegRate(format->nSamplesPerSec);
}

// 16-bit PCM of 1 or 2 channels at the source's rate.
bool IsDecodableTo(const WAVEFORMATEX& source, const WAVEFORMATEX* destination) {
    return destination != nullptr && destination->wFormatTag == WAVE_FORMAT_PCM &&
           destination->wBitsPerSample == 16 &&
           (destination->nChannels == 1 || destination->nChannels == 2) &&
           destination->nBlockAlign == destination->nChannels * 2 &&
           destination->nSamplesPerSec == source.nSamplesPerSec;
}

// The lowest bitrate of the MPEG versions at a rate, in bytes per second: 32 kbit/s for
// MPEG-1, 8 kbit/s for MPEG-2 and 2.5.
std::uint64_t LowestBytesPerSecond(DWORD rate) {
    return rate >= 32000 ? 4000 : 1000;
}

struct AcmStream {
    std::mutex mutex;
    WAVEFORMATEX source;
    WAVEFORMATEX destination;
    // Decoded PCM that did not fit the destination of its conversion.
    std::vector<BYTE> pending;
    std::size_t pendingOffset = 0;
};

std::mutex streamsMutex;
std::map<HACMSTREAM, std::shared_ptr<AcmStream>> streams;

std::shared_ptr<AcmStream> FindStream(HACMSTREAM handle) {
    std::lock_guard lock(streamsMutex);
    const auto found = streams.find(handle);
    return found != streams.end() ? found->second : nullptr;
}

bool ValidHeader(const ACMSTREAMHEADER* header) {
    return header != nullptr && header->cbStruct >= sizeof(ACMSTREAMHEADER);
}

}  // namespace

MMRESULT acmFormatSuggest(HACMDRIVER driver, LPWAVEFORMATEX source, LPWAVEFORMATEX destination,
                          DWORD destinationSize, DWORD flags) {
    if (driver != nullptr) {
        return MMSYSERR_INVALHANDLE;
    }
    if (source == nullptr || destination == nullptr || destinationSize < sizeof(PCMWAVEFORMAT)) {
        return MMSYSERR_INVALPARAM;
    }
    if ((flags & ~ACM_FORMATSUGGESTF_TYPEMASK) != 0) {
        return MMSYSERR_INVALFLAG;
    }
    if (!IsMpegSource(source)) {
        return ACMERR_NOTPOSSIBLE;
    }
    WORD channels = source->nChannels;
    if ((flags & ACM_FORMATSUGGESTF_WFORMATTAG) != 0 &&
        destination->wFormatTag != WAVE_FORMAT_PCM) {
        return ACMERR_NOTPOSSIBLE;
    }
    if ((flags & ACM_FORMATSUGGESTF_NCHANNELS) != 0) {
        if (destination->nChannels != 1 && destination->nChannels != 2) {
            return ACMERR_NOTPOSSIBLE;
        }
        channels = destination->nChannels;
    }
    if ((flags & ACM_FORMATSUGGESTF_NSAMPLESPERSEC) != 0 &&
        destination->nSamplesPerSec != source->nSamplesPerSec) {
        return ACMERR_NOTPOSSIBLE;
    }
    if ((flags & ACM_FORMATSUGGESTF_WBITSPERSAMPLE) != 0 && destination->wBitsPerSample != 16) {
        return ACMERR_NOTPOSSIBLE;
    }
    WAVEFORMATEX suggestion{};
    suggestion.wFormatTag = WAVE_FORMAT_PCM;
    suggestion.nChannels = channels;
    suggestion.nSamplesPerSec = source->nSamplesPerSec;
    suggestion.nBlockAlign = static_cast<WORD>(channels * 2);
    suggestion.nAvgBytesPerSec = suggestion.nSamplesPerSec * suggestion.nBlockAlign;
    suggestion.wBitsPerSample = 16;
    suggestion.cbSize = 0;
    std::memcpy(destination, &suggestion, std::min<DWORD>(destinationSize, sizeof suggestion));
    return MMSYSERR_NOERROR;
}

MMRESULT acmStreamOpen(LPHACMSTREAM stream, HACMDRIVER driver, LPWAVEFORMATEX source,
                       LPWAVEFORMATEX destination, void* filter, DWORD_PTR callback,
                       DWORD_PTR /*instance*/, DWORD flags) {
    const bool query = (flags & ACM_STREAMOPENF_QUERY) != 0;
    if (stream != nullptr) {
        *stream = nullptr;
    }
    if (driver != nullptr) {
        return MMSYSERR_INVALHANDLE;
    }
    if ((stream == nullptr && !query) || source == nullptr || destination == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    if ((flags & ~(ACM_STREAMOPENF_QUERY | ACM_STREAMOPENF_NONREALTIME)) != 0) {
        return MMSYSERR_INVALFLAG;
    }
    if (filter != nullptr || callback != 0) {
        return MMSYSERR_NOTSUPPORTED;
    }
    if (!IsMpegSource(source) || !IsDecodableTo(*source, destination)) {
        return ACMERR_NOTPOSSIBLE;
    }
    if (query) {
        return MMSYSERR_NOERROR;
    }
    std::shared_ptr<AcmStream> created;
    try {
        created = std::make_shared<AcmStream>();
        created->source = *source;
        created->destination = *destination;
        const auto handle = reinterpret_cast<HACMSTREAM>(created.get());
        std::lock_guard lock(streamsMutex);
        streams.emplace(handle, created);
        *stream = handle;
    } catch (const std::bad_alloc&) {
        return MMSYSERR_NOMEM;
    }
    return MMSYSERR_NOERROR;
}

MMRESULT acmStreamSize(HACMSTREAM stream, DWORD input, LPDWORD output, DWORD flags) {
    const std::shared_ptr<AcmStream> found = FindStream(stream);
    if (!found) {
        return MMSYSERR_INVALHANDLE;
    }
    if (output == nullptr || input == 0) {
        return MMSYSERR_INVALPARAM;
    }
    const WAVEFORMATEX& source = found->source;
    const WAVEFORMATEX& destination = found->destination;
    std::uint64_t size = 0;
    switch (flags & ACM_STREAMSIZEF_QUERYMASK) {
        case ACM_STREAMSIZEF_SOURCE: {
            // Frame sizes round down, so a frame may be up to 1% shorter than the bitrate says;
            // two frames more cover a partial frame at either end.
            const std::uint64_t perSecond = LowestBytesPerSecond(source.nSamplesPerSec);
            const std::uint64_t samples =
                (static_cast<std::uint64_t>(input) * source.nSamplesPerSec * 101 + perSecond * 100 -
                 1) /
                    (perSecond * 100) +
                2304;
            size = samples * destination.nBlockAlign;
            break;
        }
        case ACM_STREAMSIZEF_DESTINATION: {
            if (source.nAvgBytesPerSec == 0) {
                return ACMERR_NOTPOSSIBLE;
            }
            const std::uint64_t frames = input / destination.nBlockAlign;
            size = (frames * source.nAvgBytesPerSec + source.nSamplesPerSec - 1) /
                   source.nSamplesPerSec;
            break;
        }
        default:
            return MMSYSERR_INVALFLAG;
    }
    if (size > 0xFFFFFFFFu) {
        return ACMERR_NOTPOSSIBLE;
    }
    *output = static_cast<DWORD>(size);
    return MMSYSERR_NOERROR;
}

MMRESULT acmStreamPrepareHeader(HACMSTREAM stream, LPACMSTREAMHEADER header, DWORD /*flags*/) {
    if (!FindStream(stream)) {
        return MMSYSERR_INVALHANDLE;
    }
    if (!ValidHeader(header) || (header->pbSrc == nullptr && header->cbSrcLength != 0) ||
        (header->pbDst == nullptr && header->cbDstLength != 0)) {
        return MMSYSERR_INVALPARAM;
    }
    header->fdwStatus =
        (header->fdwStatus & ~ACMSTREAMHEADER_STATUSF_DONE) | ACMSTREAMHEADER_STATUSF_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT acmStreamConvert(HACMSTREAM stream, LPACMSTREAMHEADER header, DWORD flags) {
    const std::shared_ptr<AcmStream> found = FindStream(stream);
    if (!found) {
        return MMSYSERR_INVALHANDLE;
    }
    if (!ValidHeader(header)) {
        return MMSYSERR_INVALPARAM;
    }
    if ((flags & ~(ACM_STREAMCONVERTF_BLOCKALIGN | ACM_STREAMCONVERTF_START |
                   ACM_STREAMCONVERTF_END)) != 0) {
        return MMSYSERR_INVALFLAG;
    }
    if ((header->fdwStatus & ACMSTREAMHEADER_STATUSF_PREPARED) == 0) {
        return ACMERR_UNPREPARED;
    }
    if ((header->pbSrc == nullptr && header->cbSrcLength != 0) ||
        (header->pbDst == nullptr && header->cbDstLength != 0)) {
        return MMSYSERR_INVALPARAM;
    }
    std::lock_guard lock(found->mutex);
    AcmStream& state = *found;
    header->fdwStatus &= ~ACMSTREAMHEADER_STATUSF_DONE;
    header->cbSrcLengthUsed = 0;
    header->cbDstLengthUsed = 0;
    if (header->cbSrcLength != 0) {
        const PcmTarget target{state.destination.nSamplesPerSec, state.destination.nChannels};
        std::optional<DecodedPcm> decoded =
            DecodeMpegAudio(header->pbSrc, header->cbSrcLength, target);
        const bool matches = decoded &&
                             decoded->format.nSamplesPerSec == state.destination.nSamplesPerSec &&
                             decoded->format.nChannels == state.destination.nChannels;
        if (!matches && state.pendingOffset == state.pending.size()) {
            return MMSYSERR_ERROR;
        }
        if (matches) {
            try {
                state.pending.erase(state.pending.begin(),
                                    state.pending.begin() + static_cast<long>(state.pendingOffset));
                state.pendingOffset = 0;
                state.pending.insert(state.pending.end(), decoded->data.begin(),
                                     decoded->data.end());
            } catch (const std::bad_alloc&) {
                return MMSYSERR_NOMEM;
            }
        }
        header->cbSrcLengthUsed = header->cbSrcLength;
    }
    const std::size_t room =
        header->cbDstLength - header->cbDstLength % state.destination.nBlockAlign;
    const std::size_t delivered = std::min(room, state.pending.size() - state.pendingOffset);
    if (delivered != 0) {
        std::memcpy(header->pbDst, state.pending.data() + state.pendingOffset, delivered);
    }
    state.pendingOffset += delivered;
    if (state.pendingOffset == state.pending.size()) {
        state.pending.clear();
        state.pendingOffset = 0;
    }
    header->cbDstLengthUsed = static_cast<DWORD>(delivered);
    header->fdwStatus |= ACMSTREAMHEADER_STATUSF_DONE;
    return MMSYSERR_NOERROR;
}

MMRESULT acmStreamUnprepareHeader(HACMSTREAM stream, LPACMSTREAMHEADER header, DWORD /*flags*/) {
    if (!FindStream(stream)) {
        return MMSYSERR_INVALHANDLE;
    }
    if (!ValidHeader(header)) {
        return MMSYSERR_INVALPARAM;
    }
    if ((header->fdwStatus & ACMSTREAMHEADER_STATUSF_PREPARED) == 0) {
        return ACMERR_UNPREPARED;
    }
    header->fdwStatus &= ~ACMSTREAMHEADER_STATUSF_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT acmStreamClose(HACMSTREAM stream, DWORD flags) {
    if (flags != 0) {
        return MMSYSERR_INVALFLAG;
    }
    std::lock_guard lock(streamsMutex);
    return streams.erase(stream) != 0 ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
}
