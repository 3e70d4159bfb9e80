// A choice-history file parsed; one that parses is written back byte for byte (an empty one as a
// count of 0), and a value is looked up in it.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "adventure/choice_history.h"
#include "fuzz_program_dir.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzProgramDirectory("history");
    const std::span<const std::uint8_t> bytes(data, size);
    if (ParseChoiceHistory(bytes, &gChoiceHistory.scripts)) {
        const std::vector<std::uint8_t> written = SerializeChoiceHistory(gChoiceHistory.scripts);
        // An empty file holds what a count of 0 holds.
        if (!bytes.empty() &&
            !std::equal(written.begin(), written.end(), bytes.begin(), bytes.end())) {
            std::abort();
        }
        gChoiceHistory.loaded = 1;
        for (const ChoiceHistoryRecord& record : gChoiceHistory.scripts.records()) {
            IsChoiceTaken(record.name.c_str(), static_cast<std::int32_t>(size % 64), 1);
        }
    }
    ForgetChoiceHistory();
    return 0;
}
