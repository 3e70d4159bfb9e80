#pragma once
// Sound files turned into PCM for a sound buffer: canonical wave files, whose PCM data starts at
// byte 44, and MPEG audio files, decoded whole through the compression manager. The kind is
// decided by the first bytes, not by the extension. Files are read through the file layer, so
// they may come from a pack archive.

#include "platform/dsound/wave_format.h"
#include "platform/winbase/win_types.h"

// Byte offset of the PCM data in a canonical wave file.
constexpr DWORD kWaveDataOffset = 44;

// Returns the number of PCM bytes delivered, 0 on any failure (with a log line, except for a
// missing file, which the file layer logs, and an MPEG header with a reserved sample rate).
// - `data` null and `size` 0: only the first 44 bytes are read; for a wave file the result is
//   its data size field (how the music streamer learns the length of a file).
// - `data` holding null: a zero-filled buffer is allocated and returned through it; the caller
//   frees it with LocalFree. Holding a buffer: the PCM is copied into it (the caller guarantees
//   room for the result).
// - `size` 0: the whole sound. Otherwise exactly `size` bytes: the sound cut to `size`, or
//   padded with zero bytes.
// `format` (or null) receives the PCM format.
DWORD LoadWaveData(const char* path, PCMWAVEFORMAT* format, BYTE** data, DWORD size);

// The fields of a canonical wave header that are read.
struct WaveHeader {
    WORD channels = 0;
    DWORD samplesPerSec = 0;
    WORD blockAlign = 0;
    WORD bitsPerSample = 0;
    DWORD dataSize = 0;
};

// Reads the header from the first 44 bytes; null with the reason when `size` is below 44 or a
// field is impossible (channels not 1 or 2, bits not 8 or 16, a block align other than
// channels x bits / 8, a rate of 0).
const char* ParseWaveHeader(const BYTE* bytes, DWORD size, WaveHeader* header);

// The PCM format of a wave header (average bytes per second = block align x rate).
PCMWAVEFORMAT WaveHeaderFormat(const WaveHeader& header);
