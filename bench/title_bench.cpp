// BM_TitleFrame60: one title frame at 800 x 600 as the frame step runs it in game mode 2 (the
// menu input update, the back buffer cleared, Title::Update with 1/60 s): a background and 60
// cells of 64 x 64 with shadows and highlights, from the item table "frame.dat" through
// Title::AddItem. Half the cells show seen recollection items (three state images), the other
// half locked ones; one seen cell is hovered and held down, so its highlight pulses, another was
// clicked and shows its pressed state, and the hovered cell's balloon is open. Target: at most
// 2 ms a frame. Items are frames. BM_TitleFrame60R5G6B5: the same frame into the 16-bit back
// buffer of a first run (full screen, "Fullcolor" 0).
// BM_TitleLayout: an item table of 32 records of 244 bytes (buttons, plain grids and grids
// filtered by the recollection items' state, three grids of another page) read from memory and
// laid out into the cells of the current page, as Title::AddItem does before it makes the items;
// no file read, no images. Target: at most 100 microseconds. Items are records.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "adventure/game_mode.h"
#include "foundation/byte_writer.h"
#include "fuzz_device.h"
#include "media/graphics/d3d_application.h"
#include "media/graphics/font.h"
#include "platform/d3dx/png_encode.h"
#include "platform/winbase/code_page.h"
#include "sprite_ui/menu_input.h"
#include "title/item_table.h"
#include "title/title_data.h"
#include "title/title_item.h"
#include "title/title_menu.h"

#include "fuzz_program_dir.h"

namespace {

namespace fs = std::filesystem;

constexpr float kFrameSeconds = 1.0f / 60.0f;
// The recollection items: "scene00".."scene59", the even ones seen.
constexpr int kRecollectionItems = 60;
// The frame's grid: 10 x 6 cells of 64 x 64, 76 x 80 apart.
constexpr int kGridColumns = 10;
constexpr int kGridRows = 6;
constexpr int kCell = 64;
// The cells of the frame that are hovered and clicked (their recollection items, both seen).
constexpr std::int32_t kHoveredItem = 22;
constexpr std::int32_t kClickedItem = 36;
// State filters (Title::ItemState) and the page of the grids.
constexpr std::int32_t kSeen = 2;
constexpr std::int32_t kLocked = 1;
constexpr std::int32_t kGridPage = 1;

const std::string& ProgramDirectory() {
    const std::string& dir = FuzzProgramDirectory("titlebench");
    for (const char* sub : {"/data", "/save", "/bmp/title"}) {
        fs::create_directories(dir + sub);
    }
    return dir;
}

void WriteBytes(const std::string& relative, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(ProgramDirectory() + "/" + relative, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::ptrdiff_t>(bytes.size()));
}

// bmp/title/NAME, each pixel's ARGB from `pixel(x, y)`.
void WriteImage(const std::string& name, int width, int height,
                const std::function<std::uint32_t(int, int)>& pixel) {
    std::vector<std::uint32_t> argb(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            argb[static_cast<std::size_t>(y) * width + x] = pixel(x, y);
        }
    }
    WriteBytes("bmp/title/" + name, d3dx::EncodeArgbAsPng(width, height, argb.data(), width));
}

// A tile of kCell x kCell with corners cut round (transparent) and a soft edge, tinted by the
// cell's place and brightened by `lift`.
std::uint32_t Tile(int x, int y, int lift) {
    const int cx = x % kCell;
    const int cy = y % kCell;
    const int dx = std::max({0, 8 - cx, cx - (kCell - 9)});
    const int dy = std::max({0, 8 - cy, cy - (kCell - 9)});
    const int d = dx * dx + dy * dy;
    const std::uint32_t alpha = d > 64 ? 0u : d > 40 ? 128u : 255u;
    const auto channel = [lift](int value) {
        return static_cast<std::uint32_t>(std::min(255, value + lift));
    };
    return alpha << 24 | channel(40 + x / kCell * 18) << 16 | channel(60 + cy) << 8 |
           channel(200 - y / kCell * 25);
}

void WriteItemRecord(ByteWriter& out, const ItemTableRecord& r) {
    for (const std::string& image : r.images) {
        out.FixedString(image, kItemTableNameSize);
    }
    out.U32(r.flags);
    for (const std::int32_t word :
         {r.columns, r.rows, r.cellLimit, r.order, r.cellStepX, r.cellStepY, r.destStepX,
          r.destStepY, r.destX, r.destY, r.source[0].x, r.source[0].y, r.source[1].x, r.source[1].y,
          r.source[2].x, r.source[2].y}) {
        out.I32(word);
    }
    out.FixedString(r.script, kItemTableNameSize);
    out.FixedString(r.label, kItemTableNameSize);
    for (const std::int32_t word : {r.firstValue, r.firstRightValue, r.stateFilter, r.page}) {
        out.I32(word);
    }
}

std::vector<std::uint8_t> ItemTable(const std::vector<ItemTableRecord>& records) {
    ByteWriter out;
    for (const ItemTableRecord& record : records) {
        WriteItemRecord(out, record);
    }
    return out.Take();
}

// A grid of columns x rows cells of 64 x 64 with the three state images, whose values and
// recollection items count from `first`.
ItemTableRecord Grid(std::array<std::string, kTitleImageStates> images, std::int32_t columns,
                     std::int32_t rows, POINT dest, POINT step, std::int32_t first,
                     std::int32_t stateFilter, std::int32_t page) {
    return ItemTableRecord{.images = std::move(images),
                           .flags = kTitleItemShadow | kTitleItemHighlight,
                           .columns = columns,
                           .rows = rows,
                           .cellLimit = columns * rows,
                           .order = kTitleOrderRows,
                           .cellStepX = kCell,
                           .cellStepY = kCell,
                           .destStepX = step.x,
                           .destStepY = step.y,
                           .destX = dest.x,
                           .destY = dest.y,
                           .script = "title",
                           .label = "picture",
                           .firstValue = first,
                           .stateFilter = stateFilter,
                           .page = page};
}

// The recollection items' files (names, one page each, balloon texts) and a seen list of the even
// items, loaded; item 0 is current, on page 1.
bool LoadTitleData() {
    ByteWriter names;
    ByteWriter pages;
    ByteWriter balloons;
    ByteWriter seen;
    for (int i = 0; i < kRecollectionItems; ++i) {
        const std::string name = "scene" + std::string(i < 10 ? "0" : "") + std::to_string(i);
        names.FixedString(name, kTitleNameRecordSize);
        pages.U32(1);
        const std::string text = "第" + std::to_string(i + 1) + "話、駅前の広場/夕方の場面";
        balloons.FixedString(Utf8ToCp932(text).value_or("*"), kTitleNameRecordSize);
        if (i % 2 == 0) {
            seen.TerminatedString(name);
        }
    }
    WriteBytes("data/tiName.dat", names.Take());
    WriteBytes("data/tiPage.dat", pages.Take());
    WriteBytes("data/tiBaloon.dat", balloons.Take());
    WriteBytes("save/save99.dat", seen.Take());
    Title::ResetTitleData();
    const bool loaded = Title::Load();
    Title::SetCurrentItem(0);
    Title::SetCurrentPage(kGridPage);
    return loaded && Title::ItemState(kHoveredItem) == kSeen && Title::ItemState(1) == kLocked;
}

// The frame's images and its table: the background, the seen cells' three state sheets of
// 10 x 6 tiles, the locked tile, and the demo's balloon image.
void WriteFrameScreen() {
    WriteImage("back.png", 800, 600, [](int x, int y) {
        return 0xFF000000u | static_cast<std::uint32_t>(y * 255 / 600) << 16 |
               static_cast<std::uint32_t>(x * 255 / 800) << 8 | 0x60u;
    });
    const int sheetWidth = kGridColumns * kCell;
    const int sheetHeight = kGridRows * kCell;
    for (const int state : {0, 1, 2}) {
        WriteImage("cells" + std::to_string(state) + ".png", sheetWidth, sheetHeight,
                   [state](int x, int y) { return Tile(x, y, state == 1 ? 50 : -30 * state); });
    }
    WriteImage("locked.png", kCell, kCell,
               [](int x, int y) { return (Tile(x, y, 0) & 0xFF000000u) | 0x606060u; });
    fs::copy_file(std::string(QVN_DEMO_DIR) + "/bmp/baloon.png",
                  ProgramDirectory() + "/bmp/baloon.png", fs::copy_options::overwrite_existing);
    ItemTableRecord back{.images = {"back.png", "*", "*"},
                         .columns = 1,
                         .rows = 1,
                         .cellLimit = 1,
                         .order = kTitleOrderRows,
                         .cellStepX = 800,
                         .cellStepY = 600};
    const POINT dest{22, 80};
    const POINT step{76, 80};
    WriteBytes("data/frame.dat",
               ItemTable({back,
                          Grid({"cells0.png", "cells1.png", "cells2.png"}, kGridColumns, kGridRows,
                               dest, step, 0, kSeen, kGridPage),
                          Grid({"locked.png", "*", "*"}, kGridColumns, kGridRows, dest, step, 0,
                               kLocked, kGridPage)}));
}

// The menu's index of the cell that shows recollection item `item`; -1 none.
std::int32_t CellOf(std::int32_t item) {
    for (std::size_t i = 0; i < gTitleMenu->items.size(); ++i) {
        if (gTitleMenu->items[i]->itemIndex == item) {
            return static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

POINT CentreOf(std::int32_t cell) {
    const RECT& r = gTitleMenu->items[static_cast<std::size_t>(cell)]->dest;
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The part of the frame step that runs in game mode 2 with nothing else on the screen.
void TitleFrame(IDirect3DDevice9* device) {
    UpdateMenuInput(kFrameSeconds);
    device->BeginScene();
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
    Title::Update(kFrameSeconds);
    device->EndScene();
}

void CloseTitle() {
    Title::Close();
    Title::ResetTitleData();
    D3D_ReleaseAllFonts();
    DestroyD3DApplication();
}

void RunTitleFrame(benchmark::State& state, D3DFORMAT backBufferFormat) {
    ProgramDirectory();
    if (!MakeAdventureDevice(800, 600, false, backBufferFormat)) {
        state.SkipWithError("no device");
        return;
    }
    WriteFrameScreen();
    const bool loaded = LoadTitleData();
    gTitleMenu = new TitleMenu;
    GameMode = kGameModeTitleMenu;
    const std::size_t expected = 1 + kGridColumns * kGridRows;
    if (!loaded || !Title::AddItem("frame.dat") || gTitleMenu->items.size() != expected) {
        state.SkipWithError("the title screen was not made");
        CloseTitle();
        return;
    }
    const std::int32_t hovered = CellOf(kHoveredItem);
    const std::int32_t clicked = CellOf(kClickedItem);
    // The pointer rests on one cell held down; another was clicked before.
    gTitleMenu->OnMouseMove(CentreOf(hovered));
    gTitleMenu->OnButtonDown(CentreOf(hovered));
    gTitleMenu->clicked = clicked;
    IDirect3DDevice9* device = D3DApp->device.get();
    // The balloon opens once the pointer has rested BaloonTime on the cell.
    for (int frame = 0; frame < 600 && TitleHoverBaloon == nullptr; ++frame) {
        TitleFrame(device);
    }
    if (TitleHoverBaloon == nullptr || gTitleMenu->hovered != hovered) {
        state.SkipWithError("no hover balloon");
        CloseTitle();
        return;
    }
    for (auto _ : state) {
        TitleFrame(device);
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["items"] = static_cast<double>(gTitleMenu->items.size());
    CloseTitle();
}

void BM_TitleFrame60(benchmark::State& state) {
    RunTitleFrame(state, D3DFMT_X8R8G8B8);
}
BENCHMARK(BM_TitleFrame60)->Unit(benchmark::kMicrosecond);

void BM_TitleFrame60R5G6B5(benchmark::State& state) {
    RunTitleFrame(state, D3DFMT_R5G6B5);
}
BENCHMARK(BM_TitleFrame60R5G6B5)->Unit(benchmark::kMicrosecond);

// 32 records: single buttons, 4 x 3 grids of every cell taken column by column, 6 x 5 grids of
// the seen and of the locked items; the grids among the last four apply on page 2 only.
std::vector<ItemTableRecord> LayoutRecords() {
    std::vector<ItemTableRecord> records;
    for (std::int32_t i = 0; i < 32; ++i) {
        const std::int32_t page = i >= 28 ? kGridPage + 1 : kGridPage;
        const std::int32_t first = i / 4 % 2 * 30;
        switch (i % 4) {
            case 0:
                records.push_back(ItemTableRecord{.images = {"button0.png", "button1.png", "*"},
                                                  .flags = kTitleItemShadow,
                                                  .columns = 1,
                                                  .rows = 1,
                                                  .cellLimit = 1,
                                                  .order = kTitleOrderRows,
                                                  .cellStepX = 200,
                                                  .cellStepY = 48,
                                                  .destX = 300,
                                                  .destY = 40 + 16 * i,
                                                  .script = "title",
                                                  .label = "menu",
                                                  .firstValue = 100 + i,
                                                  .page = kTitleEveryPage});
                break;
            case 1: {
                ItemTableRecord grid =
                    Grid({"grid0.png", "grid1.png", "grid2.png"}, 4, 3, POINT{40, 60},
                         POINT{100, 90}, 1000 + i * 12, kTitleEveryCell, page);
                grid.order = 0;
                records.push_back(grid);
                break;
            }
            default:
                records.push_back(Grid({"cells0.png", "cells1.png", "cells2.png"}, 6, 5,
                                       POINT{22, 80}, POINT{76, 80}, first,
                                       i % 4 == 2 ? kSeen : kLocked, page));
                break;
        }
    }
    return records;
}

void BM_TitleLayout(benchmark::State& state) {
    ProgramDirectory();
    if (!LoadTitleData()) {
        state.SkipWithError("no title data");
        return;
    }
    const std::vector<std::uint8_t> table = ItemTable(LayoutRecords());
    const std::int64_t page = Title::CurrentPage();
    std::size_t cells = 0;
    for (auto _ : state) {
        cells = 0;
        for (const ItemTableRecord& record : ReadItemTable(table)) {
            if (!RecordApplies(record, page)) {
                continue;
            }
            const std::vector<TitleCell> laidOut = LayoutItemRecord(record, page, Title::ItemState);
            benchmark::DoNotOptimize(laidOut.data());
            cells += laidOut.size();
        }
    }
    state.SetItemsProcessed(state.iterations() * 32);
    state.counters["cells"] = static_cast<double>(cells);
    state.counters["bytes"] = static_cast<double>(table.size());
    Title::ResetTitleData();
}
BENCHMARK(BM_TitleLayout)->Unit(benchmark::kMicrosecond);

}  // namespace
