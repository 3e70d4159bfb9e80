// Opens the input as a pack archive and looks a few names up in it.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "foundation/file_info.h"
#include "foundation/log.h"
#include "foundation/pack_archive.h"
#include "foundation/path.h"

#include "fuzz_program_dir.h"

namespace {

const std::string& ProgramDir() {
    return FuzzProgramDirectory("pack");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string archive = ProgramDir() + "/game00.dat";
    FILE* file = std::fopen(archive.c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    char path[kPathLength];
    FormatPath(path, PathKind::Pack, 0);
    PackFile pack;
    DWORD code = 0;
    if (pack.Open(path, 0, &code)) {
        static const char* const kNames[] = {
            "a",      "script\\start.scr", "A\\B\\C",       "bg\\x", "\x83\x5C\\x",
            "data\\", "\\leading",         "x\\y\\z\\w\\v",
        };
        for (const char* name : kNames) {
            FileInfo record(name);
            pack.Find(record, name);
        }
        pack.ListFiles();
    }
    return 0;
}
