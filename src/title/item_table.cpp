#include "title/item_table.h"

#include <algorithm>

#include "foundation/byte_reader.h"

namespace {

// One more, wrapping as the 32-bit word does, unless the value is -1 (none).
std::int32_t NextValue(std::int32_t value) {
    return value == kTitleNoValue
               ? value
               : static_cast<std::int32_t>(static_cast<std::uint32_t>(value) + 1u);
}

LONG Coordinate(std::int64_t value) {
    return static_cast<LONG>(std::clamp(value, -kTitleCoordinateLimit, kTitleCoordinateLimit));
}

// A rectangle of step.x x step.y at origin + step * (column, row); `advance` is the step
// between cells, which for the screen rectangles differs from their size.
RECT CellRect(std::int64_t x, std::int64_t y, std::int64_t advanceX, std::int64_t advanceY,
              std::int64_t column, std::int64_t row, std::int64_t width, std::int64_t height) {
    const std::int64_t left = x + advanceX * column;
    const std::int64_t top = y + advanceY * row;
    return RECT{Coordinate(left), Coordinate(top), Coordinate(left + width),
                Coordinate(top + height)};
}

ItemTableRecord ReadRecord(ByteReader& reader) {
    ItemTableRecord record;
    for (std::string& image : record.images) {
        image = reader.FixedString(kItemTableNameSize);
    }
    record.flags = reader.U32();
    record.columns = reader.I32();
    record.rows = reader.I32();
    record.cellLimit = reader.I32();
    record.order = reader.I32();
    record.cellStepX = reader.I32();
    record.cellStepY = reader.I32();
    record.destStepX = reader.I32();
    record.destStepY = reader.I32();
    record.destX = reader.I32();
    record.destY = reader.I32();
    for (POINT& point : record.source) {
        point.x = reader.I32();
        point.y = reader.I32();
    }
    record.script = reader.FixedString(kItemTableNameSize);
    record.label = reader.FixedString(kItemTableNameSize);
    record.firstValue = reader.I32();
    record.firstRightValue = reader.I32();
    record.stateFilter = reader.I32();
    record.page = reader.I32();
    return record;
}

}  // namespace

std::vector<ItemTableRecord> ReadItemTable(std::span<const std::uint8_t> bytes) {
    ByteReader reader(bytes);
    std::vector<ItemTableRecord> records;
    records.reserve(bytes.size() / kItemTableRecordSize);
    while (reader.Has(kItemTableRecordSize)) {
        ByteReader one = reader.Sub(reader.Position(), kItemTableRecordSize);
        reader.Skip(kItemTableRecordSize);
        records.push_back(ReadRecord(one));
    }
    return records;
}

bool RecordApplies(const ItemTableRecord& record, std::int64_t currentPage) {
    return record.page == kTitleEveryPage || record.page == currentPage;
}

std::vector<TitleCell> LayoutItemRecord(const ItemTableRecord& record, std::int64_t currentPage,
                                        TitleItemStateQuery state) {
    std::vector<TitleCell> cells;
    if (record.columns <= 0 || record.rows <= 0 || record.cellLimit <= 0) {
        return cells;
    }
    const bool rowsFirst = record.order == kTitleOrderRows;
    const std::int64_t inner = rowsFirst ? record.columns : record.rows;
    const std::int64_t outer = rowsFirst ? record.rows : record.columns;
    const std::int64_t limit = std::min<std::int64_t>(record.cellLimit, kTitleCellsPerRecord);
    const bool everyCell = record.stateFilter == kTitleEveryCell;
    const int wanted = record.stateFilter & 0xFF;
    std::int32_t value = record.firstValue;
    std::int32_t rightValue = record.firstRightValue;
    std::int32_t itemCounter = currentPage >= 0 ? record.firstValue : -1;
    std::int64_t counter = 0;
    // Once the limit is reached every further inner loop ends at once: nothing more is taken.
    for (std::int64_t o = 0; o < outer && counter < limit; ++o) {
        for (std::int64_t i = 0; i < inner && counter < limit; ++i) {
            ++counter;
            const std::int64_t column = rowsFirst ? i : o;
            const std::int64_t row = rowsFirst ? o : i;
            std::int32_t itemIndex = -1;
            bool taken = true;
            if (!everyCell) {
                itemIndex = itemCounter;
                itemCounter =
                    static_cast<std::int32_t>(static_cast<std::uint32_t>(itemCounter) + 1u);
                taken = state(itemIndex) == wanted;
            }
            if (taken) {
                TitleCell cell;
                cell.dest = CellRect(record.destX, record.destY, record.destStepX, record.destStepY,
                                     column, row, record.cellStepX, record.cellStepY);
                for (int k = 0; k < kTitleImageStates; ++k) {
                    cell.source[k] =
                        CellRect(record.source[k].x, record.source[k].y, record.cellStepX,
                                 record.cellStepY, column, row, record.cellStepX, record.cellStepY);
                }
                cell.leftValue = record.stateFilter == 1 ? kTitleNoValue : value;
                cell.rightValue = rightValue;
                cell.itemIndex = itemIndex;
                cells.push_back(cell);
            }
            value = NextValue(value);
            rightValue = NextValue(rightValue);
        }
    }
    return cells;
}
