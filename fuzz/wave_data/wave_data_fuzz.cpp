// Loads the input as a sound file ("sound\fuzz.wav") the ways the game does: whole, cut or
// padded to a size, and the header alone. Wave and MPEG data both reach their readers.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "foundation/log.h"
#include "foundation/path.h"
#include "media/sound/wave_data.h"
#include "platform/winbase/file_api.h"

#include "fuzz_program_dir.h"

namespace {

const std::string& ProgramDir() {
    return FuzzProgramDirectory("wave");
}

void LoadAndFree(const char* path, DWORD size) {
    PCMWAVEFORMAT format{};
    BYTE* data = nullptr;
    DWORD delivered = LoadWaveData(path, &format, &data, size);
    if (data != nullptr && delivered > 0) {
        // Every delivered byte must be readable.
        volatile BYTE last = data[delivered - 1];
        (void)last;
    }
    LocalFree(data);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file = ProgramDir() + "/fuzz.wav";
    FILE* out = std::fopen(file.c_str(), "wb");
    if (out == nullptr) {
        return 0;
    }
    std::fwrite(data, 1, size, out);
    std::fclose(out);
    const std::string path = std::string(GetProgramDir()) + "fuzz.wav";
    LoadAndFree(path.c_str(), 0);
    LoadAndFree(path.c_str(), 4096);
    LoadAndFree(path.c_str(), 16);
    LoadWaveData(path.c_str(), nullptr, nullptr, 0);
    return 0;
}
