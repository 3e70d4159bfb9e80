#pragma once
// The title on the adventure's 800 x 600 device: title data files and item tables written into
// the program directory, and the title's state put back between the cases of a table.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "adventure_fixture.h"
#include "platform/winbase/win_types.h"

namespace title_tests {

// Records of 64 bytes, each a name padded with zeros (a name of 64 bytes has none).
std::string NameRecords(std::initializer_list<std::string> names);
// Little-endian u32 values.
std::string Words(std::initializer_list<std::int32_t> values);

// One record of an item table; every field as the table stores it.
struct ItemRecordFields {
    std::string image0 = "*";
    std::string image1 = "*";
    std::string image2 = "*";
    std::uint32_t flags = 0;
    std::int32_t columns = 1;
    std::int32_t rows = 1;
    std::int32_t cellLimit = 1;
    std::int32_t order = 1;
    std::int32_t cellStepX = 10;
    std::int32_t cellStepY = 10;
    std::int32_t destStepX = 0;
    std::int32_t destStepY = 0;
    std::int32_t destX = 0;
    std::int32_t destY = 0;
    std::int32_t src0X = 0;
    std::int32_t src0Y = 0;
    std::int32_t src1X = 0;
    std::int32_t src1Y = 0;
    std::int32_t src2X = 0;
    std::int32_t src2Y = 0;
    std::string script = "*";
    std::string label = "*";
    std::int32_t firstValue = -1;
    std::int32_t firstRightValue = -1;
    std::int32_t stateFilter = -1;
    std::int32_t page = -1;
};
// The 244 bytes of the record.
std::string ItemRecord(const ItemRecordFields& fields);

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

// A message posted to the game window.
struct Posted {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Posted&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Posted& posted);

// With a game window (MainWindow, its menu MainMenu) that keeps what is posted to it, and an
// empty title menu.
class TitleWindowTest : public TitleTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The messages posted to the game window since the last call, taken off its queue.
    static std::vector<Posted> TakePosted();
    // The pointer put at (x, y), then the message offered to the title screen.
    static LRESULT Send(UINT message, int x, int y, WPARAM wParam = 0);
};

}  // namespace title_tests
