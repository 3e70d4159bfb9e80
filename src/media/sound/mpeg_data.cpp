#include "media/sound/mpeg_data.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "foundation/byte_reader.h"
#include "foundation/log.h"
#include "media/sound/mpeg_header.h"
#include "platform/winbase/file_api.h"

namespace {

constexpr DWORD kId3v1Length = 128;

struct LocalFreeDeleter {
    void operator()(BYTE* memory) const { LocalFree(memory); }
};
using LocalBuffer = std::unique_ptr<BYTE, LocalFreeDeleter>;

// An open conversion stream with its prepared header; closes both on every exit.
class Conversion {
public:
    ~Conversion() {
        if (prepared_) {
            acmStreamUnprepareHeader(stream_, &header_, 0);
        }
        if (stream_ != nullptr) {
            acmStreamClose(stream_, 0);
        }
    }
    MMRESULT Open(MPEGLAYER3WAVEFORMAT& source, WAVEFORMATEX& destination) {
        return acmStreamOpen(&stream_, nullptr, &source.wfx, &destination, nullptr, 0, 0,
                             ACM_STREAMOPENF_NONREALTIME);
    }
    MMRESULT DestinationSize(DWORD sourceBytes, DWORD* destinationBytes) {
        return acmStreamSize(stream_, sourceBytes, destinationBytes, ACM_STREAMSIZEF_SOURCE);
    }
    MMRESULT Prepare(const BYTE* source, DWORD sourceBytes, BYTE* destination,
                     DWORD destinationBytes) {
        header_.cbStruct = sizeof(header_);
        header_.pbSrc = const_cast<BYTE*>(source);
        header_.cbSrcLength = sourceBytes;
        header_.pbDst = destination;
        header_.cbDstLength = destinationBytes;
        MMRESULT result = acmStreamPrepareHeader(stream_, &header_, 0);
        prepared_ = result == MMSYSERR_NOERROR;
        return result;
    }
    MMRESULT Convert() { return acmStreamConvert(stream_, &header_, 0); }
    DWORD Written() const { return header_.cbDstLengthUsed; }

private:
    HACMSTREAM stream_ = nullptr;
    ACMSTREAMHEADER header_{};
    bool prepared_ = false;
};

DWORD Fail(const char* path, MMRESULT code) {
    LogPrintf("%s:ACM Error(%s): %s", "dslib", path, AcmErrorText(code));
    return 0;
}

}  // namespace

DWORD DecodeMpegData(const char* path, const BYTE* file, DWORD fileSize, PCMWAVEFORMAT* format,
                     BYTE** data, DWORD size) {
    const ByteReader whole(file, fileSize);
    const DWORD start = Id3v2TagLength(file, fileSize);
    // The source begins with the frame header itself, so the first frame is decoded too.
    std::span<const BYTE> audio = whole.Sub(start, fileSize - start).Rest();
    MpegFrameHeader frame;
    if (!ParseMpegFrameHeader(audio.data(), static_cast<DWORD>(audio.size()), &frame) ||
        frame.sampleRate == 0) {
        return 0;
    }
    if (audio.size() >= kId3v1Length) {
        ByteReader tail = ByteReader(audio).Sub(audio.size() - kId3v1Length, kId3v1Length);
        if (tail.FixedString(3) == "TAG") {
            audio = audio.first(audio.size() - kId3v1Length);
        }
    }
    const auto audioBytes = static_cast<DWORD>(audio.size());
    MPEGLAYER3WAVEFORMAT source = MpegSourceFormat(frame);
    WAVEFORMATEX destination{};
    destination.wFormatTag = WAVE_FORMAT_PCM;
    MMRESULT result = acmFormatSuggest(nullptr, &source.wfx, &destination, sizeof(destination),
                                       ACM_FORMATSUGGESTF_WFORMATTAG);
    if (result != MMSYSERR_NOERROR) {
        return Fail(path, result);
    }
    Conversion conversion;
    if ((result = conversion.Open(source, destination)) != MMSYSERR_NOERROR) {
        return Fail(path, result);
    }
    DWORD capacity = 0;
    if ((result = conversion.DestinationSize(audioBytes, &capacity)) != MMSYSERR_NOERROR) {
        return Fail(path, result);
    }
    // Room for `size` bytes too, so that a short sound can be padded to it.
    DWORD allocated = std::max(capacity, size);
    if (allocated == 0) {
        return 0;
    }
    LocalBuffer pcm(static_cast<BYTE*>(LocalAlloc(LPTR, allocated)));
    if (pcm == nullptr) {
        return 0;
    }
    if ((result = conversion.Prepare(audio.data(), audioBytes, pcm.get(), capacity)) !=
        MMSYSERR_NOERROR) {
        return Fail(path, result);
    }
    if ((result = conversion.Convert()) != MMSYSERR_NOERROR) {
        return Fail(path, result);
    }
    // The length is what the decoder wrote: the capacity is only an upper bound, and the rest
    // of it would play as trailing silence.
    DWORD decoded = size != 0 ? size : conversion.Written();
    if (format != nullptr) {
        std::memcpy(format, &destination, sizeof(PCMWAVEFORMAT));
    }
    if (data == nullptr || decoded == 0) {
        return decoded;
    }
    if (*data == nullptr) {
        *data = pcm.release();
    } else {
        std::memcpy(*data, pcm.get(), decoded);
    }
    return decoded;
}
