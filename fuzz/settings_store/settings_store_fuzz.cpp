// Any text parses without fault, and what the store writes reads back as the same store.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/winbase/settings_store_format.h"

namespace {

bool SameStore(const SettingsStore& a, const SettingsStore& b) {
    if (a.keys.size() != b.keys.size()) {
        return false;
    }
    for (std::size_t k = 0; k < a.keys.size(); ++k) {
        const SettingsKey& x = a.keys[k];
        const SettingsKey& y = b.keys[k];
        if (x.path != y.path || x.values.size() != y.values.size()) {
            return false;
        }
        for (std::size_t v = 0; v < x.values.size(); ++v) {
            if (x.values[v].name != y.values[v].name || x.values[v].type != y.values[v].type ||
                x.values[v].data != y.values[v].data) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    SettingsParseResult first = ParseSettingsText(text);
    SettingsParseResult second = ParseSettingsText(FormatSettingsText(first.store));
    if (second.damagedLines != 0 || !SameStore(first.store, second.store)) {
        std::abort();
    }
    return 0;
}
