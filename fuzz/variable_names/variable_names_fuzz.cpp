// Any text reads without fault into names of letters, digits and "_" (never "end"), each with
// one comment of a single line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "adventure/variable_editor.h"

namespace {

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const VariableNames read = ReadVariableNames(text);
    if (read.names.size() != read.comments.size() || read.names.size() > size) {
        std::abort();
    }
    for (std::size_t i = 0; i < read.names.size(); ++i) {
        const std::string& name = read.names[i];
        if (name.empty() || name == "end") {
            std::abort();
        }
        for (char c : name) {
            if (!IsNameChar(c)) {
                std::abort();
            }
        }
        if (read.comments[i].find_first_of("\r\n") != std::string::npos) {
            std::abort();
        }
    }
    return 0;
}
