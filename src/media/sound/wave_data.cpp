#include "media/sound/wave_data.h"

#include <algorithm>
#include <memory>

#include "foundation/byte_reader.h"
#include "foundation/file.h"
#include "foundation/log.h"
#include "media/sound/mpeg_data.h"
#include "media/sound/mpeg_header.h"
#include "platform/winbase/file_api.h"

namespace {

struct LocalFreeDeleter {
    void operator()(BYTE* memory) const { LocalFree(memory); }
};
using LocalBuffer = std::unique_ptr<BYTE, LocalFreeDeleter>;

void LogWaveError(const char* path, const char* problem) {
    LogPrintf("%s:Wave Error(%s): %s", "dslib", path, problem);
}

DWORD DeliverWave(const char* path, const BYTE* file, DWORD fileSize, PCMWAVEFORMAT* format,
                  BYTE** data, DWORD size) {
    WaveHeader header;
    if (const char* problem = ParseWaveHeader(file, fileSize, &header)) {
        LogWaveError(path, problem);
        return 0;
    }
    if (format != nullptr) {
        *format = WaveHeaderFormat(header);
    }
    if (data == nullptr && size == 0) {
        return header.dataSize;
    }
    DWORD available = fileSize - kWaveDataOffset;
    DWORD dataSize = header.dataSize;
    if (size == 0 && dataSize > available) {
        LogPrintf("%s:Wave Error(%s): data size %lu cut to the %lu bytes the file holds", "dslib",
                  path, static_cast<unsigned long>(dataSize),
                  static_cast<unsigned long>(available));
        dataSize = available;
    }
    DWORD result = size != 0 ? size : dataSize;
    if (data == nullptr || result == 0) {
        return result;
    }
    BYTE* out = *data;
    if (out == nullptr) {
        out = static_cast<BYTE*>(LocalAlloc(LPTR, result));
        if (out == nullptr) {
            return 0;
        }
        *data = out;
    }
    DWORD copied = std::min({dataSize, result, available});
    ByteReader pcm(file, fileSize);
    pcm.Seek(kWaveDataOffset);
    pcm.Bytes(out, copied);
    std::fill_n(out + copied, result - copied, BYTE{0});
    return result;
}

}  // namespace

const char* ParseWaveHeader(const BYTE* bytes, DWORD size, WaveHeader* header) {
    if (size < kWaveDataOffset) {
        return "file too short for a wave header.";
    }
    ByteReader reader(bytes, size);
    WaveHeader parsed;
    reader.Seek(22);
    parsed.channels = reader.U16();
    parsed.samplesPerSec = reader.U32();
    reader.Skip(4);  // average bytes per second: derived, not read
    parsed.blockAlign = reader.U16();
    parsed.bitsPerSample = reader.U16();
    reader.Seek(40);
    parsed.dataSize = reader.U32();
    if (parsed.channels != 1 && parsed.channels != 2) {
        return "unsupported channel count.";
    }
    if (parsed.bitsPerSample != 8 && parsed.bitsPerSample != 16) {
        return "unsupported bits per sample.";
    }
    if (parsed.blockAlign != parsed.channels * parsed.bitsPerSample / 8) {
        return "wrong block align.";
    }
    if (parsed.samplesPerSec == 0) {
        return "sample rate is 0.";
    }
    *header = parsed;
    return nullptr;
}

PCMWAVEFORMAT WaveHeaderFormat(const WaveHeader& header) {
    PCMWAVEFORMAT format{};
    format.wf.wFormatTag = WAVE_FORMAT_PCM;
    format.wf.nChannels = header.channels;
    format.wf.nSamplesPerSec = header.samplesPerSec;
    format.wf.nAvgBytesPerSec = header.blockAlign * header.samplesPerSec;
    format.wf.nBlockAlign = header.blockAlign;
    format.wBitsPerSample = header.bitsPerSample;
    return format;
}

DWORD LoadWaveData(const char* path, PCMWAVEFORMAT* format, BYTE** data, DWORD size) {
    if (path == nullptr) {
        return 0;
    }
    bool headerOnly = data == nullptr && size == 0;
    DWORD limit = 0;
    if (headerOnly) {
        limit = kWaveDataOffset;
    } else if (size != 0) {
        limit = size > 0xFFFFFFFFu - kWaveDataOffset ? 0 : size + kWaveDataOffset;
    }
    DWORD fileSize = 0;
    LocalBuffer file(LoadFile(path, &fileSize, limit));
    if (file == nullptr) {
        return 0;
    }
    DWORD tag = Id3v2TagLength(file.get(), fileSize);
    const std::span<const BYTE> audio =
        ByteReader(file.get(), fileSize).Sub(tag, fileSize - tag).Rest();
    if (!HasMpegSync(audio.data(), static_cast<DWORD>(audio.size())) && !(headerOnly && tag != 0)) {
        return DeliverWave(path, file.get(), fileSize, format, data, size);
    }
    if (headerOnly) {
        LogWaveError(path, "not a wave file.");
        return 0;
    }
    if (limit != 0 && fileSize == limit) {
        // An MPEG file is decoded whole; the limit only applies to wave data.
        file.reset(LoadFile(path, &fileSize, 0));
        if (file == nullptr) {
            return 0;
        }
    }
    return DecodeMpegData(path, file.get(), fileSize, format, data, size);
}
