#pragma once
// Title item tables: files of the data folder named by the title scripts, records of 244 bytes,
// each laying out a grid of cells that become title items. A record gives the three state
// images of its cells, the grid (columns, rows, the most cells taken, the order they are taken
// in), the steps between cells on the screen and in the images, the script label a click runs
// with the values it hands over, a filter on the state of the recollection items the cells show,
// and the page it applies to.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/winbase/win_types.h"

constexpr std::size_t kItemTableRecordSize = 244;
constexpr std::size_t kItemTableNameSize = 32;
constexpr int kTitleImageStates = 3;  // normal, hovered, pressed
// No more cells than this are taken from one record, however large its grid.
constexpr std::int64_t kTitleCellsPerRecord = 4096;
// Design coordinates beyond this (either sign) are held at it.
constexpr std::int64_t kTitleCoordinateLimit = 1 << 20;

// Item drawing flags.
constexpr std::uint32_t kTitleItemShadow = 0x1;
constexpr std::uint32_t kTitleItemHighlight = 0x2;

// order: cells row by row (left to right, then down); any other value column by column.
constexpr std::int32_t kTitleOrderRows = 1;
// stateFilter: every cell gets an item.
constexpr std::int32_t kTitleEveryCell = -1;
// page: the record applies on every page.
constexpr std::int32_t kTitleEveryPage = -1;
// A value of -1: none.
constexpr std::int32_t kTitleNoValue = -1;

struct ItemTableRecord {
    // Names relative to "title\" of the image folder; "*" none.
    std::array<std::string, kTitleImageStates> images;
    std::uint32_t flags = 0;
    std::int32_t columns = 0;
    std::int32_t rows = 0;
    std::int32_t cellLimit = 0;
    std::int32_t order = 0;
    std::int32_t cellStepX = 0;  // also the width of every rectangle
    std::int32_t cellStepY = 0;  // also the height
    std::int32_t destStepX = 0;  // screen step per column
    std::int32_t destStepY = 0;  // screen step per row
    std::int32_t destX = 0;      // the first cell on the 800 x 600 design screen
    std::int32_t destY = 0;
    std::array<POINT, kTitleImageStates> source{};  // the first cell in each image
    std::string script;                             // "*": "title"
    std::string label;                              // "*": none
    std::int32_t firstValue = kTitleNoValue;
    std::int32_t firstRightValue = kTitleNoValue;
    std::int32_t stateFilter = kTitleEveryCell;
    std::int32_t page = kTitleEveryPage;
};

// One cell of a record: its rectangles (design coordinates; the sources in image pixels, before
// they are wrapped into their images), the values a click hands over and the recollection item
// it shows (-1 none).
struct TitleCell {
    RECT dest{};
    std::array<RECT, kTitleImageStates> source{};
    std::int32_t leftValue = kTitleNoValue;
    std::int32_t rightValue = kTitleNoValue;
    std::int32_t itemIndex = -1;
};

// The whole records of a table; a shorter rest is ignored. Names are read up to their zero byte
// or the field's end.
std::vector<ItemTableRecord> ReadItemTable(std::span<const std::uint8_t> bytes);

// Whether the record applies on `currentPage` (-1: no current page).
bool RecordApplies(const ItemTableRecord& record, std::int64_t currentPage);

// The state of recollection item `index` (2 seen, 1 not seen, -1 none).
using TitleItemStateQuery = int (*)(std::int64_t index);

// The cells of one record that get an item, in the order they are taken. Columns or rows of 0
// or below give no cells; at most kTitleCellsPerRecord cells are considered.
std::vector<TitleCell> LayoutItemRecord(const ItemTableRecord& record, std::int64_t currentPage,
                                        TitleItemStateQuery state);
