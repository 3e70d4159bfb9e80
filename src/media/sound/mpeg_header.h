#pragma once
// The MPEG audio frame header at the start of a sound file and the source format the compression
// manager is given for it.

#include "platform/acm/acm.h"
#include "platform/winbase/win_types.h"

enum class MpegVersion { Mpeg1, Mpeg2, Mpeg25 };

struct MpegFrameHeader {
    MpegVersion version = MpegVersion::Mpeg1;
    int layer = 3;          // 1, 2 or 3 (0 for the reserved layer bits)
    DWORD bitrateKbps = 0;  // 0 for the free and the bad index
    DWORD sampleRate = 0;   // 0 for the reserved index
    WORD channels = 2;      // 1 for single-channel mode
};

// True when the 4 bytes begin with an MPEG frame sync (0xFF, then the top three bits set).
bool HasMpegSync(const BYTE* bytes, DWORD size);

// Parses the 4 header bytes; false without a frame sync.
bool ParseMpegFrameHeader(const BYTE* bytes, DWORD size, MpegFrameHeader* header);

// The length of an ID3 version 2 tag at the start of the bytes (header, body and footer), 0
// when there is none. Never more than `size`.
DWORD Id3v2TagLength(const BYTE* bytes, DWORD size);

// The ACM source format of a frame header: block size = 144000 x bitrate / rate (0 when the rate
// is 0).
MPEGLAYER3WAVEFORMAT MpegSourceFormat(const MpegFrameHeader& header);

// The text of a compression manager result code 1..20; "unknown error." for any other.
const char* AcmErrorText(MMRESULT code);
