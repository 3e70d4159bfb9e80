#pragma once
// The title on the adventure's 800 x 600 device: title data files and item tables written into
// the program directory, and the title's state put back between the cases of a table.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "adventure_fixture.h"

namespace title_tests {

// Records of 64 bytes, each a name padded with zeros (a name of 64 bytes has none).
std::string NameRecords(std::initializer_list<std::string> names);
// Little-endian u32 values.
std::string Words(std::initializer_list<std::int32_t> values);

class TitleTest : public adventure_tests::AdventureTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes data\NAME.
    void WriteData(const std::string& name, const std::string& bytes);
    // The seen list's bytes (save\save99.dat); empty when missing.
    std::string SeenList() const;
    bool HasLogLine(const std::string& line) const { return CountLogLines(line) > 0; }
};

}  // namespace title_tests
