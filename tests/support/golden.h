#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qvn::test {

// Set by --update-golden on a test program's command line: comparisons then rewrite the golden
// file instead of failing.
void SetUpdateGolden(bool update);
bool UpdateGolden();

// Path of a file under tests/fixtures/golden/.
std::string GoldenPath(const std::string& name);

// Compares `bytes` with the golden file `name` byte for byte; with --update-golden writes them.
// Returns an empty string on a match, else a description of the difference.
std::string CompareWithGolden(const std::string& name, const std::vector<std::uint8_t>& bytes);

}  // namespace qvn::test
