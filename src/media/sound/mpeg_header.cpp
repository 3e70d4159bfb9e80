#include "media/sound/mpeg_header.h"

#include "foundation/byte_reader.h"

namespace {

// kbit/s by bitrate index 0..15; rows MPEG-1 Layer I, II, III, MPEG-2 Layer I, II and III
// (MPEG-2.5 uses the MPEG-2 Layer II/III row).
constexpr WORD kBitrates[5][16] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
};

constexpr DWORD kSampleRates[3][4] = {
    {44100, 48000, 32000, 0},
    {22050, 24000, 16000, 0},
    {11025, 12000, 8000, 0},
};

constexpr const char* kAcmErrorTexts[] = {
    "unspecified error.",         "device ID out of range.",
    "driver failed enable.",      "device already allocated.",
    "device handle is invalid.",  "no device driver present.",
    "memory allocation error.",   "function isn't supported.",
    "error value out of range.",  "invalid flag passed.",
    "invalid parameter passed.",  "handle being used.",
    "specified alias not found.", "bad registry database.",
    "registry key not found.",    "registry read error.",
    "registry write error.",      "registry delete error.",
    "registry value not found.",  "driver does not call DriverCallback.",
};

int BitrateRow(MpegVersion version, int layer) {
    if (version == MpegVersion::Mpeg25) {
        return 4;
    }
    int base = version == MpegVersion::Mpeg1 ? 0 : 3;
    switch (layer) {
        case 1:
            return base;
        case 2:
            return version == MpegVersion::Mpeg1 ? 1 : 4;
        default:
            return version == MpegVersion::Mpeg1 ? 2 : 4;
    }
}

}  // namespace

bool HasMpegSync(const BYTE* bytes, DWORD size) {
    ByteReader reader(bytes, size);
    if (!reader.Has(4)) {
        return false;
    }
    const BYTE sync = reader.U8();
    const BYTE versionAndLayer = reader.U8();
    return sync == 0xFF && (versionAndLayer & 0xE0) == 0xE0;
}

bool ParseMpegFrameHeader(const BYTE* bytes, DWORD size, MpegFrameHeader* header) {
    if (!HasMpegSync(bytes, size)) {
        return false;
    }
    ByteReader reader(bytes, size);
    reader.Skip(1);  // the sync byte
    const BYTE versionAndLayer = reader.U8();
    const BYTE rates = reader.U8();
    const BYTE mode = reader.U8();
    MpegFrameHeader parsed;
    if ((versionAndLayer & 0x10) == 0) {
        parsed.version = MpegVersion::Mpeg25;
    } else {
        parsed.version = (versionAndLayer & 0x08) != 0 ? MpegVersion::Mpeg1 : MpegVersion::Mpeg2;
    }
    int layerBits = (versionAndLayer >> 1) & 0x3;
    parsed.layer = layerBits == 0 ? 0 : 4 - layerBits;
    int bitrateIndex = rates >> 4;
    parsed.bitrateKbps = kBitrates[BitrateRow(parsed.version, parsed.layer)][bitrateIndex];
    parsed.sampleRate = kSampleRates[static_cast<int>(parsed.version)][(rates >> 2) & 0x3];
    parsed.channels = (mode >> 6) == 3 ? 1 : 2;
    *header = parsed;
    return true;
}

DWORD Id3v2TagLength(const BYTE* bytes, DWORD size) {
    // "ID3", a 2-byte version, flags, then the body size in four 7-bit bytes (synchsafe).
    ByteReader reader(bytes, size);
    if (!reader.Has(10) || reader.FixedString(3) != "ID3") {
        return 0;
    }
    reader.Skip(2);
    const BYTE flags = reader.U8();
    DWORD body = 0;
    for (int i = 0; i < 4; ++i) {
        const BYTE part = reader.U8();
        if ((part & 0x80) != 0) {
            return 0;  // not a synchsafe size: not a tag
        }
        body = (body << 7) | part;
    }
    DWORD length = 10 + body + ((flags & 0x10) != 0 ? 10 : 0);
    return length > size ? size : length;
}

MPEGLAYER3WAVEFORMAT MpegSourceFormat(const MpegFrameHeader& header) {
    MPEGLAYER3WAVEFORMAT format{};
    format.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
    format.wfx.nChannels = header.channels;
    format.wfx.nSamplesPerSec = header.sampleRate;
    format.wfx.nAvgBytesPerSec = header.bitrateKbps * 1000 / 8;
    format.wfx.nBlockAlign = 1;
    format.wfx.wBitsPerSample = 0;
    format.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
    format.wID = MPEGLAYER3_ID_MPEG;
    format.fdwFlags = MPEGLAYER3_FLAG_PADDING_OFF;
    format.nBlockSize = header.sampleRate == 0
                            ? 0
                            : static_cast<WORD>(144000 * header.bitrateKbps / header.sampleRate);
    format.nFramesPerBlock = 1;
    format.nCodecDelay = 1393;
    return format;
}

const char* AcmErrorText(MMRESULT code) {
    if (code >= 1 && code <= 20) {
        return kAcmErrorTexts[code - 1];
    }
    return "unknown error.";
}
