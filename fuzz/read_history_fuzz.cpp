// A read-history file parsed; one that parses is written back byte for byte (an empty one as a
// count of 0), and a page is marked in it.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "adventure/read_history.h"
#include "fuzz_program_dir.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzProgramDirectory("history");
    const std::span<const std::uint8_t> bytes(data, size);
    if (ParseReadHistory(bytes, &gReadHistory.scripts)) {
        const std::vector<std::uint8_t> written = SerializeReadHistory(gReadHistory.scripts);
        // An empty file holds what a count of 0 holds.
        if (!bytes.empty() &&
            !std::equal(written.begin(), written.end(), bytes.begin(), bytes.end())) {
            std::abort();
        }
        gReadHistory.loaded = 1;
        const char* name = gReadHistory.scripts.records().empty()
                               ? "a"
                               : gReadHistory.scripts.records().front().name.c_str();
        MarkPageRead(name, static_cast<std::int32_t>(size % 4096));
    }
    ForgetReadHistory();
    return 0;
}
