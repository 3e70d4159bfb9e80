#include "platform/acm/mpeg_audio_decoder.h"

#include <mpg123.h>

#include <sys/types.h>
#include <algorithm>
#include <memory>

#include "platform/winbase/byte_reader.h"

namespace {

struct Mpg123HandleDeleter {
    void operator()(mpg123_handle* handle) const {
        mpg123_close(handle);
        mpg123_delete(handle);
    }
};
using Mpg123Handle = std::unique_ptr<mpg123_handle, Mpg123HandleDeleter>;

// The stream as the library reads it, a seekable view of the caller's bytes: reads deliver
// what is left, up to the count asked for.
mpg123_ssize_t ReadMemory(void* handle, void* buffer, std::size_t count) {
    auto* reader = static_cast<ByteReader*>(handle);
    const std::size_t taken = std::min(count, reader->Remaining());
    reader->Bytes(buffer, taken);
    return static_cast<mpg123_ssize_t>(taken);
}

off_t SeekMemory(void* handle, off_t offset, int whence) {
    auto* reader = static_cast<ByteReader*>(handle);
    off_t base = 0;
    if (whence == SEEK_CUR) {
        base = static_cast<off_t>(reader->Position());
    } else if (whence == SEEK_END) {
        base = static_cast<off_t>(reader->Size());
    } else if (whence != SEEK_SET) {
        return -1;
    }
    if ((offset < 0 && -offset > base) ||
        (offset > 0 && offset > static_cast<off_t>(reader->Size()) - base)) {
        return -1;
    }
    reader->Seek(static_cast<std::size_t>(base + offset));
    return static_cast<off_t>(reader->Position());
}

bool InitLibrary() {
    static const bool ready = mpg123_init() == MPG123_OK;
    return ready;
}

void SetError(std::string* error, const std::string& text) {
    if (error != nullptr) {
        *error = text;
    }
}

int ChannelMask(WORD channels) {
    if (channels == 1) {
        return MPG123_MONO;
    }
    if (channels == 2) {
        return MPG123_STEREO;
    }
    return MPG123_MONO | MPG123_STEREO;
}

// A handle reading `reader` that decodes to 16-bit samples at `target` (any rate or channel
// count where it says 0).
Mpg123Handle OpenStream(ByteReader& reader, PcmTarget target, std::string* error) {
    if (!InitLibrary()) {
        SetError(error, "the MPEG audio library cannot start");
        return nullptr;
    }
    int code = MPG123_OK;
    Mpg123Handle handle(mpg123_new(nullptr, &code));
    if (!handle) {
        SetError(error, mpg123_plain_strerror(code));
        return nullptr;
    }
    mpg123_param(handle.get(), MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0.0);
    // No resampling: the library's resampler counts its output over a damaged stream's claimed
    // length frame by frame, minutes for a few bytes that claim four billion frames.
    mpg123_param(handle.get(), MPG123_REMOVE_FLAGS, MPG123_AUTO_RESAMPLE, 0.0);
    mpg123_format_none(handle.get());
    const int channels = ChannelMask(target.channels);
    if (target.samplesPerSec != 0) {
        mpg123_format(handle.get(), static_cast<long>(target.samplesPerSec), channels,
                      MPG123_ENC_SIGNED_16);
    } else {
        const long* rates = nullptr;
        std::size_t count = 0;
        mpg123_rates(&rates, &count);
        for (std::size_t i = 0; i < count; ++i) {
            mpg123_format(handle.get(), rates[i], channels, MPG123_ENC_SIGNED_16);
        }
    }
    if (mpg123_replace_reader_handle(handle.get(), &ReadMemory, &SeekMemory, nullptr) !=
            MPG123_OK ||
        mpg123_open_handle(handle.get(), &reader) != MPG123_OK) {
        SetError(error, mpg123_strerror(handle.get()));
        return nullptr;
    }
    return handle;
}

}  // namespace

std::optional<DecodedPcm> DecodeMpegAudio(const BYTE* bytes, std::size_t size, PcmTarget target,
                                          std::string* error, std::size_t maxBytes) {
    if (bytes == nullptr || size == 0) {
        SetError(error, "no data");
        return std::nullopt;
    }
    ByteReader reader(bytes, size);
    Mpg123Handle handle = OpenStream(reader, target, error);
    if (!handle) {
        return std::nullopt;
    }
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(handle.get(), &rate, &channels, &encoding) != MPG123_OK) {
        SetError(error, mpg123_strerror(handle.get()));
        return std::nullopt;
    }
    // Keep this format to the end: a later change of the stream's channels is converted, a frame
    // of another rate ends the decoding as damage does.
    mpg123_format_none(handle.get());
    mpg123_format(handle.get(), rate, channels, MPG123_ENC_SIGNED_16);

    const std::size_t frameBytes = static_cast<std::size_t>(channels) * 2;
    DecodedPcm pcm{};
    pcm.format.wFormatTag = WAVE_FORMAT_PCM;
    pcm.format.nChannels = static_cast<WORD>(channels);
    pcm.format.nSamplesPerSec = static_cast<DWORD>(rate);
    pcm.format.nBlockAlign = static_cast<WORD>(frameBytes);
    pcm.format.nAvgBytesPerSec = static_cast<DWORD>(rate) * static_cast<DWORD>(frameBytes);
    pcm.format.wBitsPerSample = 16;
    pcm.format.cbSize = 0;
    if (mpg123_scan(handle.get()) == MPG123_OK) {
        const off_t length = mpg123_length(handle.get());
        if (length > 0 && static_cast<std::size_t>(length) <= maxBytes / frameBytes) {
            pcm.data.reserve(static_cast<std::size_t>(length) * frameBytes);
        }
    }

    std::vector<BYTE> chunk(65536);
    int idleCalls = 0;
    while (true) {
        std::size_t done = 0;
        const int result = mpg123_read(handle.get(), chunk.data(), chunk.size(), &done);
        if (done > maxBytes - pcm.data.size()) {
            SetError(error, "the decoded sound is too long");
            return std::nullopt;
        }
        pcm.data.insert(pcm.data.end(), chunk.begin(), chunk.begin() + static_cast<long>(done));
        idleCalls = done == 0 ? idleCalls + 1 : 0;
        if (result == MPG123_DONE || result == MPG123_NEED_MORE) {
            break;
        }
        if (result != MPG123_OK && result != MPG123_NEW_FORMAT) {
            // A damaged stream keeps what decoded before the damage.
            if (pcm.data.empty()) {
                SetError(error, mpg123_strerror(handle.get()));
                return std::nullopt;
            }
            break;
        }
        // Each call reads on through the stream; this only guards against a library that
        // stops making progress.
        if (idleCalls > 1000) {
            break;
        }
    }
    pcm.data.resize(pcm.data.size() - pcm.data.size() % frameBytes);
    if (pcm.data.empty()) {
        SetError(error, "no MPEG audio frame decodes");
        return std::nullopt;
    }
    return pcm;
}

std::optional<std::int64_t> MpegAudioLength(const BYTE* bytes, std::size_t size) {
    if (bytes == nullptr || size == 0) {
        return std::nullopt;
    }
    ByteReader reader(bytes, size);
    Mpg123Handle handle = OpenStream(reader, PcmTarget{}, nullptr);
    if (!handle || mpg123_scan(handle.get()) != MPG123_OK) {
        return std::nullopt;
    }
    const off_t length = mpg123_length(handle.get());
    if (length < 0) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(length);
}
