// The input is an item table, "data\fuzz.dat". Its records are laid out into cells for every
// state filter outcome, checked against the limits of a layout, and then appended to a title
// menu through Title::AddItem, whose cells load "title\t.png" when a record names "t".

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "adventure/game_mode.h"
#include "kra/headless_devices.h"
#include "title/item_table.h"
#include "title/title_item.h"
#include "title/title_menu.h"

#include "fuzz_program_dir.h"

namespace {

namespace fs = std::filesystem;

const std::string& ProgramDir() {
    static const std::string dir = [] {
        const std::string made = FuzzProgramDirectory("item-table");
        fs::create_directories(made + "/data");
        fs::create_directories(made + "/bmp/title");
        fs::copy_file(fs::path(QVN_FUZZ_DIR) / "image_decode/rgba_3x2.png",
                      made + "/bmp/title/t.png");
        if (!qvn_kra::StartHeadlessDevices(64, 48)) {
            std::abort();
        }
        LetterboxScale = 0.08;
        LetterboxRect = RECT{0, 0, 64, 48};
        return made;
    }();
    return dir;
}

int StateOf(std::int64_t index) {
    return index < 0 ? -1 : static_cast<int>(index % 3);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file = ProgramDir() + "/data/fuzz.dat";
    const std::vector<ItemTableRecord> records = ReadItemTable({data, size});
    if (records.size() != size / kItemTableRecordSize) {
        std::abort();
    }
    for (const ItemTableRecord& record : records) {
        for (const std::int64_t page : {-1, 0, 1}) {
            const std::vector<TitleCell> cells = LayoutItemRecord(record, page, StateOf);
            if (static_cast<std::int64_t>(cells.size()) > kTitleCellsPerRecord) {
                std::abort();
            }
            for (const TitleCell& cell : cells) {
                if (record.stateFilter == 1 && cell.leftValue != kTitleNoValue) {
                    std::abort();
                }
                if (cell.dest.left < -kTitleCoordinateLimit ||
                    cell.dest.left > kTitleCoordinateLimit) {
                    std::abort();
                }
            }
        }
    }
    FILE* out = std::fopen(file.c_str(), "wb");
    if (out == nullptr) {
        return 0;
    }
    std::fwrite(data, 1, size, out);
    std::fclose(out);
    Title::Close();
    gTitleMenu = new TitleMenu;
    Title::AddItem("fuzz.dat");
    for (const auto& item : gTitleMenu->items) {
        for (int k = 0; k < kTitleImageStates; ++k) {
            if (item->HasImage(k) && (item->src[k].left < 0 || item->src[k].top < 0)) {
                std::abort();  // wrapped into the image
            }
        }
    }
    gTitleMenu->navigator.Rebuild(gTitleMenu->items);
    Title::Close();
    return 0;
}
