#pragma once
// MPEG audio files decoded whole to PCM through the compression manager.

#include "platform/dsound/wave_format.h"
#include "platform/winbase/win_types.h"

// Decodes the file bytes (from the frame header after any ID3 version 2 tag to the end, without
// a trailing ID3 version 1 "TAG" block) and delivers the PCM as LoadWaveData does. 0 on failure:
// a reserved sample rate quietly, a compression manager failure with one
// "dslib:ACM Error(path): text" line.
DWORD DecodeMpegData(const char* path, const BYTE* file, DWORD fileSize, PCMWAVEFORMAT* format,
                     BYTE** data, DWORD size);
