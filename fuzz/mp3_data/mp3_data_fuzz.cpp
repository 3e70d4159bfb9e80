// Decodes the input as the bytes of an MPEG audio file: ID3 tags, the frame header, the source
// format and the whole-file conversion.

#include <cstdint>
#include <vector>

#include "foundation/log.h"
#include "media/sound/mpeg_data.h"
#include "platform/winbase/file_api.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = [] {
        SetLogEnabled(0);
        return true;
    }();
    (void)quiet;
    // A copy of exactly the input's size, so that any read past it is caught.
    std::vector<BYTE> file(data, data + size);
    for (DWORD wanted : {0u, 1000u}) {
        PCMWAVEFORMAT format{};
        BYTE* pcm = nullptr;
        DWORD delivered = DecodeMpegData("fuzz.mp3", file.data(), static_cast<DWORD>(file.size()),
                                         &format, &pcm, wanted);
        if (pcm != nullptr && delivered > 0) {
            volatile BYTE last = pcm[delivered - 1];
            (void)last;
        }
        LocalFree(pcm);
    }
    return 0;
}
