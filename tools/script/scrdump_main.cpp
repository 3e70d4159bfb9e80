// qvn-scrdump FILE: prints an "SCR " file in the assembler's text form, or an "SCRM" block (at
// the start of FILE) as a listing.

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "tools/script/script_dumper.h"
#include "tools/script/script_image.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: qvn-scrdump FILE\n");
        return 2;
    }
    std::ifstream input(argv[1], std::ios::binary);
    if (!input) {
        std::fprintf(stderr, "qvn-scrdump: cannot read %s\n", argv[1]);
        return 1;
    }
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(input)),
                                          std::istreambuf_iterator<char>());
    std::string error;
    std::string text;
    if (bytes.size() >= 8 && std::memcmp(bytes.data() + 4, "SCRM", 4) == 0) {
        text = DumpStateBlock(bytes, &error);
    } else if (std::optional<ScriptImage> image = ParseScriptImage(bytes, &error)) {
        text = DumpScriptImage(*image);
    }
    if (!error.empty()) {
        std::fprintf(stderr, "qvn-scrdump: %s: %s\n", argv[1], error.c_str());
        return 1;
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}
