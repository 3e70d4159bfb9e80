// qvn-scrasm SOURCE OUTPUT: assembles the text form into an "SCR " file.

#include <cstdio>
#include <string>
#include <vector>

#include "common/whole_file.h"
#include "tools/script/script_assembler.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: qvn-scrasm SOURCE OUTPUT\n");
        return 2;
    }
    std::string source;
    if (!qvn_tools::ReadWholeFile(argv[1], &source)) {
        std::fprintf(stderr, "qvn-scrasm: cannot read %s\n", argv[1]);
        return 1;
    }
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!AssembleScript(source, argv[1], &bytes, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    if (!qvn_tools::WriteWholeFile(argv[2], bytes)) {
        std::fprintf(stderr, "qvn-scrasm: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
