#include <gtest/gtest.h>

#include "platform/mci/mci.h"
#include "platform/mci/track_table.h"

namespace qvn::test {
namespace {

using mci_detail::TrackTable;

// Tracks at sectors 0, 150 and 4650 (a data track), the lead-out at 9000.
TrackTable Disc() {
    return TrackTable{{0, 150, 4650}, {true, true, false}, 9000};
}

TEST(TrackTableTest, OnlyRisingTablesWithinTheLeadOutAreUsable) {
    struct Case {
        const char* name;
        TrackTable table;
        bool usable;
    };
    std::vector<std::int32_t> many(100);
    for (std::size_t i = 0; i < many.size(); ++i) {
        many[i] = static_cast<std::int32_t>(i * 10);
    }
    const Case cases[] = {
        {"three tracks", Disc(), true},
        {"one track", {{0}, {true}, 1}, true},
        {"no track", {{}, {}, 100}, false},
        {"a negative start", {{-5, 10}, {true, true}, 100}, false},
        {"two tracks at one sector", {{0, 10, 10}, {true, true, true}, 100}, false},
        {"going back", {{0, 50, 20}, {true, true, true}, 100}, false},
        {"the lead-out at the last start", {{0, 50}, {true, true}, 50}, false},
        {"the lead-out before it", {{0, 50}, {true, true}, 20}, false},
        {"flags that do not match", {{0, 50}, {true}, 100}, false},
        {"100 tracks", {many, std::vector<bool>(100, true), 2000}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(mci_detail::IsUsable(c.table), c.usable) << c.name;
    }

    const TrackTable disc = Disc();
    EXPECT_EQ(disc.TrackAt(149), 1);
    EXPECT_EQ(disc.TrackAt(150), 2);
    EXPECT_EQ(disc.TrackAt(9000), 3) << "the lead-out counts to the last track";
    EXPECT_EQ(disc.Start(4), 9000);
    EXPECT_EQ(disc.Start(0), 9000);
    EXPECT_TRUE(disc.IsAudio(4649));
    EXPECT_FALSE(disc.IsAudio(4650)) << "a data track";
    EXPECT_FALSE(disc.IsAudio(9000));
    EXPECT_FALSE(disc.IsAudio(-1));
}

TEST(TrackTableTest, PositionsOfBothTimeFormats) {
    const TrackTable disc = Disc();
    struct Case {
        const char* name;
        DWORD format;
        DWORD position;
        std::optional<std::int32_t> sector;
        DWORD back;  // the position the sector gives back
    };
    const Case cases[] = {
        {"track 1", MCI_FORMAT_TMSF, MCI_MAKE_TMSF(1, 0, 0, 0), 0, MCI_MAKE_TMSF(1, 0, 0, 0)},
        {"into track 2", MCI_FORMAT_TMSF, MCI_MAKE_TMSF(2, 1, 2, 3), 150 + 4500 + 150 + 3,
         MCI_MAKE_TMSF(3, 0, 2, 3)},
        {"track 3", MCI_FORMAT_TMSF, MCI_MAKE_TMSF(3, 0, 1, 74), 4650 + 149,
         MCI_MAKE_TMSF(3, 0, 1, 74)},
        {"the lead-out", MCI_FORMAT_TMSF, MCI_MAKE_TMSF(3, 0, 58, 0), 9000,
         MCI_MAKE_TMSF(3, 0, 58, 0)},
        {"past the lead-out", MCI_FORMAT_TMSF, MCI_MAKE_TMSF(3, 0, 58, 1), std::nullopt, 0},
        {"track 4", MCI_FORMAT_TMSF, MCI_MAKE_TMSF(4, 0, 0, 0), std::nullopt, 0},
        {"frame 75", MCI_FORMAT_TMSF, MCI_MAKE_TMSF(1, 0, 0, 75), std::nullopt, 0},
        {"the first sector", MCI_FORMAT_MSF, MCI_MAKE_MSF(0, 2, 0), 0, MCI_MAKE_MSF(0, 2, 0)},
        {"a minute in", MCI_FORMAT_MSF, MCI_MAKE_MSF(1, 2, 5), 4505, MCI_MAKE_MSF(1, 2, 5)},
        {"the lead-in", MCI_FORMAT_MSF, MCI_MAKE_MSF(0, 1, 0), std::nullopt, 0},
        {"second 60", MCI_FORMAT_MSF, MCI_MAKE_MSF(0, 60, 0), std::nullopt, 0},
        {"milliseconds", 0, 1000, std::nullopt, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(mci_detail::PositionToSector(c.format, c.position, disc), c.sector) << c.name;
        if (c.sector) {
            EXPECT_EQ(mci_detail::SectorToPosition(c.format, *c.sector, disc), c.back) << c.name;
        }
    }
}

}  // namespace
}  // namespace qvn::test
