#include "support/golden.h"

#include <fstream>
#include <iterator>

namespace qvn::test {
namespace {
bool g_update_golden = false;
}

void SetUpdateGolden(bool update) {
    g_update_golden = update;
}
bool UpdateGolden() {
    return g_update_golden;
}

std::string GoldenPath(const std::string& name) {
    return std::string(QVN_FIXTURE_DIR) + "/golden/" + name;
}

std::string CompareWithGolden(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const std::string path = GoldenPath(name);
    if (g_update_golden) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return out ? std::string() : "cannot write " + path;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return "missing golden file " + path + " (run the test program with --update-golden)";
    }
    std::vector<std::uint8_t> expected((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
    if (expected.size() != bytes.size()) {
        return "size differs from " + path + ": " + std::to_string(bytes.size()) + " vs " +
               std::to_string(expected.size());
    }
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (expected[i] != bytes[i]) {
            return "first difference from " + path + " at byte " + std::to_string(i);
        }
    }
    return std::string();
}

}  // namespace qvn::test
