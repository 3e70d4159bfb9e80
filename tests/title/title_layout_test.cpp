// Item tables laid out into title items: grids taken row by row and column by column with
// their cell limits and steps, source rectangles wrapped into their images, the seen and locked
// filters over the recollection items, records of other pages, shadows, the pulsing highlight
// and the pressed image, all in one golden image; the values clicks hand over; the letterbox's
// scale and origin; tables that cannot be laid out.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adventure/game_mode.h"
#include "foundation/path.h"
#include "script/script_variables.h"
#include "title/title_data.h"
#include "title/title_menu.h"
#include "title_fixture.h"

namespace title_tests {
namespace {

using graphics_tests::MakeImage;

// A 4 x 3 sheet of 40 x 30 cells, each its own colour with a dark edge at its left and top;
// `level` lightens (hovered) or darkens (pressed) it.
std::vector<std::uint32_t> Sheet(int level) {
    return MakeImage(160, 90, [level](int x, int y) -> std::uint32_t {
        if (x % 40 == 0 || y % 30 == 0) {
            return 0xFF202020u;
        }
        const int c = x / 40;
        const int r = y / 30;
        const auto channel = [level](int value) {
            return static_cast<std::uint32_t>(std::min(255, std::max(0, value + level)));
        };
        return 0xFF000000u | channel(40 + c * 60) << 16 | channel(60 + r * 70) << 8 |
               channel(200 - c * 40);
    });
}

class TitleLayoutTest : public TitleTest {
protected:
    void SetUp() override {
        TitleTest::SetUp();
        WriteImage("title/cells.png", 160, 90, Sheet(0));
        WriteImage("title/lit.png", 160, 90, Sheet(70));
        WriteImage("title/dark.png", 160, 90, Sheet(-70));
        WriteImage("title/back.png", 800, 600, MakeImage(800, 600, [](int x, int y) {
                       return x % 50 == 0 || y % 50 == 0 ? 0xFF9098A0u : 0xFF606870u;
                   }));
        // Recollection items 0, 3 and 5 seen; 1 and 4 not; 2 no item.
        gTitleData.names = {"pic0", "pic1", "*", "pic3", "pic4", "pic5"};
        gTitleData.flags = {1, 0, 0, 4, 0, 1};
        gTitleData.pageCount = {2};
        Title::SetCurrentItem(0);
        Title::SetCurrentPage(1);
        gTitleMenu = new TitleMenu;
    }

    static ItemRecordFields Grid(std::int32_t order, std::int32_t x, std::int32_t y) {
        ItemRecordFields r;
        r.image0 = "cells.png";
        r.image1 = "lit.png";
        r.image2 = "dark.png";
        r.columns = 3;
        r.rows = 2;
        r.cellLimit = 5;
        r.order = order;
        r.cellStepX = 40;
        r.cellStepY = 30;
        r.destStepX = 50;
        r.destStepY = 40;
        r.destX = x;
        r.destY = y;
        r.label = "pick";
        return r;
    }

    static std::string Table() {
        ItemRecordFields rows = Grid(1, 20, 20);
        rows.firstValue = 10;
        ItemRecordFields columns = Grid(0, 220, 20);
        columns.firstValue = 20;
        ItemRecordFields wrap = Grid(1, 20, 120);
        wrap.columns = 4;
        wrap.rows = 1;
        wrap.cellLimit = 4;
        wrap.destStepX = 45;
        wrap.src0X = 80;
        wrap.src0Y = 60;
        ItemRecordFields negative = Grid(1, 200, 120);
        negative.columns = negative.rows = negative.cellLimit = 1;
        negative.src0X = -40;
        negative.src0Y = -30;
        ItemRecordFields seen = Grid(1, 20, 170);
        seen.cellLimit = 6;
        seen.firstValue = 0;
        seen.firstRightValue = 50;
        seen.stateFilter = 2;
        ItemRecordFields locked = Grid(1, 220, 170);
        locked.image0 = "dark.png";
        locked.cellLimit = 6;
        locked.firstValue = 0;
        locked.firstRightValue = 50;
        locked.stateFilter = 1;
        ItemRecordFields otherPage = Grid(1, 420, 20);
        otherPage.columns = otherPage.rows = otherPage.cellLimit = 1;
        otherPage.image0 = "lit.png";
        otherPage.page = 2;
        ItemRecordFields pageUp = otherPage;
        pageUp.image0 = "cells.png";
        pageUp.src0X = pageUp.src1X = 120;
        pageUp.src0Y = pageUp.src1Y = 60;
        pageUp.firstValue = 1001;
        pageUp.flags = kTitleItemShadow | kTitleItemHighlight;
        pageUp.page = 1;
        ItemRecordFields pageDown = pageUp;
        pageDown.destX = 480;
        pageDown.firstValue = 1002;
        pageDown.flags = kTitleItemShadow;
        pageDown.page = -1;
        ItemRecordFields empty = Grid(1, 600, 20);
        empty.columns = 0;
        ItemRecordFields noLimit = Grid(1, 600, 20);
        noLimit.cellLimit = 0;
        ItemRecordFields back;
        back.image0 = "back.png";
        back.cellStepX = 800;
        back.cellStepY = 600;
        std::string table;
        for (const ItemRecordFields& r : {back, rows, columns, wrap, negative, seen, locked,
                                          otherPage, pageUp, pageDown, empty, noLimit}) {
            table += ItemRecord(r);
        }
        return table + "a shorter rest";
    }

    const TitleItem& Item(std::size_t index) const { return *gTitleMenu->items.at(index); }
    static POINT Centre(const TitleItem& item) {
        return POINT{(item.dest.left + item.dest.right) / 2,
                     (item.dest.top + item.dest.bottom) / 2};
    }
};

TEST_F(TitleLayoutTest, RecordsLayTheirCellsOutAsOneScreenShows) {
    WriteData("layout.dat", Table());
    ASSERT_TRUE(Title::AddItem("layout.dat"));

    const struct {
        LONG left;
        LONG top;
        std::int32_t leftValue;
        std::int32_t rightValue;
        std::int32_t itemIndex;
        LONG srcLeft;  // of the normal image
        LONG srcTop;
    } expected[] = {
        // The background, not clickable.
        {0, 0, -1, -1, -1, 0, 0},
        // Row by row, the sixth cell beyond the limit.
        {20, 20, 10, -1, -1, 0, 0},
        {70, 20, 11, -1, -1, 40, 0},
        {120, 20, 12, -1, -1, 80, 0},
        {20, 60, 13, -1, -1, 0, 30},
        {70, 60, 14, -1, -1, 40, 30},
        // Column by column.
        {220, 20, 20, -1, -1, 0, 0},
        {220, 60, 21, -1, -1, 0, 30},
        {270, 20, 22, -1, -1, 40, 0},
        {270, 60, 23, -1, -1, 40, 30},
        {320, 20, 24, -1, -1, 80, 0},
        // Sources past the image's right edge wrap to its left.
        {20, 120, -1, -1, -1, 80, 60},
        {65, 120, -1, -1, -1, 120, 60},
        {110, 120, -1, -1, -1, 0, 60},
        {155, 120, -1, -1, -1, 40, 60},
        // Sources before its left and top edges too.
        {200, 120, -1, -1, -1, 120, 60},
        // Seen items 0, 3 and 5, their left values their indices.
        {20, 170, 0, 50, 0, 0, 0},
        {20, 210, 3, 53, 3, 0, 30},
        {120, 210, 5, 55, 5, 80, 30},
        // Items 1 and 4, known and not seen: right clicks only.
        {270, 170, -1, 51, 1, 40, 0},
        {270, 210, -1, 54, 4, 40, 30},
        // The page 1 and every-page records; page 2 skipped.
        {420, 20, 1001, -1, -1, 120, 60},
        {480, 20, 1002, -1, -1, 120, 60},
    };
    ASSERT_EQ(gTitleMenu->items.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        const TitleItem& item = Item(i);
        const auto& e = expected[i];
        EXPECT_EQ(item.dest.left, e.left);
        EXPECT_EQ(item.dest.top, e.top);
        EXPECT_EQ(item.dest.right - item.dest.left, i == 0 ? 800 : 40);
        EXPECT_EQ(item.dest.bottom - item.dest.top, i == 0 ? 600 : 30);
        EXPECT_EQ(item.leftValue, e.leftValue);
        EXPECT_EQ(item.rightValue, e.rightValue);
        EXPECT_EQ(item.itemIndex, e.itemIndex);
        EXPECT_EQ(item.src[0].left, e.srcLeft);
        EXPECT_EQ(item.src[0].top, e.srcTop);
        EXPECT_EQ(item.script, "title");
        EXPECT_EQ(item.label, i == 0 ? "" : "pick");
    }

    // The page-up item hovered with its highlight at |cos(0.6)| (210 of 255), the first cell
    // pressed; both page items cast shadows on the background.
    TitleMenu& menu = *gTitleMenu;
    menu.hovered = 21;
    menu.hoverClock = 0.2;
    menu.clicked = 1;
    device()->BeginScene();
    device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
    Title::DrawItems();
    device()->EndScene();
    ExpectGolden("title_layout");

    // Every left-clickable item hands its value over; locked items only their right values.
    for (std::size_t i = 0; i < menu.items.size(); ++i) {
        SCOPED_TRACE(i);
        const POINT centre = Centre(Item(i));
        menu.OnButtonDown(centre);
        const bool left = menu.OnLeftButtonUp(centre);
        EXPECT_EQ(left, Item(i).leftValue != -1);
        if (left) {
            EXPECT_EQ(Var(9), Item(i).leftValue);
            EXPECT_EQ(menu.chosen, static_cast<std::int32_t>(i));
        }
        menu.chosen = -1;
        EXPECT_EQ(menu.OnRightButtonUp(centre), Item(i).rightValue != -1);
        if (Item(i).rightValue != -1) {
            EXPECT_EQ(Var(9), Item(i).rightValue);
        }
        menu.chosen = -1;
    }
}

TEST_F(TitleLayoutTest, TheLetterboxScalesAndPlacesTheScreenRectangles) {
    LetterboxScale = 0.75;
    LetterboxRect = RECT{100, 75, 700, 525};
    ItemRecordFields r = Grid(1, 21, 41);
    r.columns = 2;
    r.rows = 1;
    r.cellLimit = 2;
    r.destStepX = 101;
    WriteData("scaled.dat", ItemRecord(r));
    ASSERT_TRUE(Title::AddItem("scaled.dat"));
    ASSERT_EQ(gTitleMenu->items.size(), 2u);
    // trunc(21 x 0.75) + 100, trunc(40 x 0.75) wide; trunc(122 x 0.75) + 100.
    EXPECT_EQ(Item(0).dest.left, 115);
    EXPECT_EQ(Item(0).dest.top, 105);
    EXPECT_EQ(Item(0).dest.right, 145);
    EXPECT_EQ(Item(0).dest.bottom, 127);
    EXPECT_EQ(Item(1).dest.left, 191);
    EXPECT_EQ(Item(0).src[0].right, 40) << "sources stay in image pixels";

    // The margins are cleared before the items are drawn.
    device()->BeginScene();
    device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF00FFu, 1.0f, 0);
    Title::DrawItems();
    device()->EndScene();
    EXPECT_EQ(PixelAt(50, 50), 0xFF000000u);
    EXPECT_EQ(PixelAt(130, 115) & 0xFFFFFFu, 0x283CC8u) << "cell (0, 0) of the sheet";
}

TEST_F(TitleLayoutTest, TablesThatCannotBeLaidOutStopWhereTheyFail) {
    ItemRecordFields good = Grid(1, 0, 0);
    ItemRecordFields missing = Grid(1, 0, 100);
    missing.image1 = "absent.png";
    const struct {
        const char* name;
        std::string table;  // null: no file
        bool written;
        bool result;
        std::size_t items;
    } cases[] = {
        {"no table", "", false, false, 0},
        {"an empty table", "", true, false, 0},
        {"a table shorter than a record", "short", true, true, 0},
        {"an image that does not load", ItemRecord(good) + ItemRecord(missing), true, false, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Restart();
        if (c.written) {
            WriteData("t.dat", c.table);
        }
        EXPECT_EQ(Title::AddItem("t.dat"), c.result);
        EXPECT_EQ(gTitleMenu->items.size(), c.items);
    }
    Title::Close();
    WriteData("t.dat", ItemRecord(good));
    EXPECT_FALSE(Title::AddItem("t.dat")) << "without a menu";
}

TEST_F(TitleLayoutTest, AHugeGridIsCutAtTheMenusLimit) {
    ItemRecordFields huge = Grid(1, 0, 0);
    huge.image1 = huge.image2 = "*";
    huge.columns = 0x7FFFFFFF;
    huge.rows = 0x7FFFFFFF;
    huge.cellLimit = 0x7FFFFFFF;
    huge.destStepX = 0x7FFFFFFF;
    huge.firstValue = 0x7FFFFFFE;
    WriteData("huge.dat", ItemRecord(huge));
    EXPECT_FALSE(Title::AddItem("huge.dat"));
    ASSERT_EQ(gTitleMenu->items.size(), kTitleItemLimit);
    EXPECT_EQ(CountLogLines("Title: AddItem: \"huge.dat\" goes beyond 1024 items"), 1);
    EXPECT_EQ(Item(1).leftValue, 0x7FFFFFFF);
    EXPECT_EQ(Item(2).leftValue, INT32_MIN) << "the value wraps as a 32-bit word";
    EXPECT_EQ(Item(5).dest.left, kTitleCoordinateLimit) << "far cells are held at the limit";
}

}  // namespace
}  // namespace title_tests
