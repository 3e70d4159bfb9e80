#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace d3dx_test {

// A file of tests/fixtures/d3dx/, whole.
inline std::vector<std::uint8_t> ReadFixture(const std::string& name) {
    std::ifstream in(std::string(QVN_FIXTURE_DIR) + "/d3dx/" + name, std::ios::binary);
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
}

}  // namespace d3dx_test
