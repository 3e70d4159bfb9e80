// The title data: names with "*" and "+" parts, pages and balloons read at start-up, the flags
// the two hooks set, the seen list written as they go and read back after a restart, and the
// files' bad and empty forms.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "foundation/path.h"
#include "title/title_data.h"
#include "title_fixture.h"

namespace title_tests {
namespace {

using namespace std::string_literals;

const std::string kLongName(64, 'L');  // a record without a zero byte

class TitleDataTest : public TitleTest {
protected:
    // Eight items: a picture, an index without an item, three scenes, nine parts (the ninth is
    // not tracked), a scene that the third item also has, a JPEG picture, a name filling its
    // record, and a name with an empty part.
    void WriteStandardData() {
        WriteData("tiName.dat",
                  NameRecords({"station", "*", "chapter1+chapter2+chapter3", "a+b+c+d+e+f+g+h+i",
                               "chapter2", "street.jpg", kLongName, "x++y"}) +
                      "rest");
        WriteData("tiPage.dat", Words({1, 0, 3, 1, 1, 1, 1, 2}) + "ab");
        WriteData("tiBaloon.dat", NameRecords({"the station", "*", "three scenes"}));
    }
    std::filesystem::path SeenListPath() const { return dir_->path() + "/save/save99.dat"; }
    std::vector<std::uint8_t> Flags() const { return gTitleData.flags; }
};

TEST_F(TitleDataTest, RecordsPartsPagesAndBalloonsFollowTheHooksAndSurviveARestart) {
    WriteStandardData();
    EXPECT_FALSE(Title::Load()) << "no seen list yet";
    EXPECT_TRUE(HasLogLine("Title: LoadFlag error."));
    EXPECT_EQ(CountLogLines("Title: LoadName error.") + CountLogLines("Title: LoadPage error.") +
                  CountLogLines("Title: LoadBaloon error."),
              0);
    for (const std::string& line : LogLines()) {
        EXPECT_EQ(line.find("load error"), std::string::npos) << "a first run is no load error";
    }
    ASSERT_EQ(Title::ItemCount(), 8u) << "the shorter rest is ignored";
    EXPECT_EQ(gTitleData.names[6], kLongName) << "read up to the record's end";
    EXPECT_EQ(gTitleData.pageCount, (std::vector<std::uint32_t>{1, 0, 3, 1, 1, 1, 1, 2}));
    EXPECT_EQ(Title::BalloonText(0), "the station");
    EXPECT_EQ(Title::BalloonText(1), "*");
    EXPECT_EQ(Title::BalloonText(3), "*") << "beyond the balloon texts";
    EXPECT_EQ(Title::BalloonText(-1), "*");
    EXPECT_EQ(Flags(), std::vector<std::uint8_t>(8, 0));
    EXPECT_EQ(gTitleData.flagFilePath, GetPath(PathKind::Save, 99));

    const struct {
        const char* name;
        bool visual;  // MarkSeenVisual, else MarkSeenScript
        std::vector<std::uint8_t> flags;
        std::string seen;  // the seen list's bytes afterwards
    } marks[] = {
        {"STATION", true, {1, 0, 0, 0, 0, 0, 0, 0}, "STATION\0"s},
        {"C:\\game\\script\\CHAPTER2.scr", false, {1, 0, 2, 0, 0, 0, 0, 0}, "STATION\0CHAPTER2\0"s},
        {"chapter2", false, {1, 0, 2, 0, 0, 0, 0, 0}, "STATION\0CHAPTER2\0"s},
        {"i", false, {1, 0, 2, 0, 0, 0, 0, 0}, "STATION\0CHAPTER2\0"s},
        {"chapter3", true, {1, 0, 2, 0, 0, 0, 0, 0}, "STATION\0CHAPTER2\0"s},
        {"street.jpg", true, {1, 0, 2, 0, 0, 1, 0, 0}, "STATION\0CHAPTER2\0street.jpg\0"s},
        {"y", false, {1, 0, 2, 0, 0, 1, 0, 2}, "STATION\0CHAPTER2\0street.jpg\0y\0"s},
        {"*", true, {1, 0, 2, 0, 0, 1, 0, 2}, "STATION\0CHAPTER2\0street.jpg\0y\0"s},
        {"", false, {1, 0, 2, 0, 0, 1, 0, 2}, "STATION\0CHAPTER2\0street.jpg\0y\0"s},
    };
    for (const auto& mark : marks) {
        SCOPED_TRACE(mark.name);
        if (mark.visual) {
            Title::MarkSeenVisual(mark.name);
        } else {
            Title::MarkSeenScript(mark.name);
        }
        EXPECT_EQ(Flags(), mark.flags);
        EXPECT_EQ(SeenList(), mark.seen);
    }
    EXPECT_EQ(CountLogLines("Title: SetMeFlag error: item(\"a+b+c+d+e+f+g+h+i\") fname(\"i\")"), 1);

    // A name seen again sets nothing new but writes the list again.
    std::filesystem::remove(SeenListPath());
    Title::MarkSeenVisual("station");
    EXPECT_EQ(SeenList(), "STATION\0CHAPTER2\0street.jpg\0y\0"s);

    const struct {
        std::int64_t item;
        int state;
    } states[] = {{0, 2}, {1, -1}, {2, 2}, {3, 1}, {7, 2}, {8, -1}, {-1, -1}};
    for (const auto& s : states) {
        EXPECT_EQ(Title::ItemState(s.item), s.state) << s.item;
    }

    // The next run reads the list back; it is not written again when nothing changed.
    const auto stamp = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24);
    std::filesystem::last_write_time(SeenListPath(), stamp);
    Title::ResetTitleData();
    EXPECT_TRUE(Title::Load());
    EXPECT_EQ(Flags(), (std::vector<std::uint8_t>{1, 0, 2, 0, 0, 1, 0, 2}));
    EXPECT_EQ(std::filesystem::last_write_time(SeenListPath()), stamp);

    // A stored name that matches nothing any more goes at the one write after the replay.
    dir_->writeFile("save/save99.dat", "zzz\0street.jpg\0chapter1\0"s);
    Title::ResetTitleData();
    EXPECT_TRUE(Title::Load());
    EXPECT_EQ(Flags(), (std::vector<std::uint8_t>{0, 0, 1, 0, 0, 1, 0, 0}));
    EXPECT_EQ(SeenList(), "street.jpg\0chapter1\0"s);

    // Title command 13's setter.
    EXPECT_TRUE(Title::SetFlagByte(3, 0x81));
    EXPECT_EQ(Title::FlagByte(3), 0x81);
    EXPECT_FALSE(Title::SetFlagByte(8, 1));
    EXPECT_EQ(Title::FlagByte(8), 0);
    EXPECT_EQ(Title::FlagByte(-1), 0);
}

TEST_F(TitleDataTest, MissingEmptyAndCutFilesGiveWhatCanBeRead) {
    const struct {
        const char* name;
        const char* remove;  // a file of the standard data removed, or null
        std::vector<std::pair<std::string, std::string>> files;  // written over it
        std::size_t items;
        std::vector<const char*> errors;  // the Title: lines logged
        std::string seenAfter;            // the seen list after "station" was shown
    } cases[] = {
        {"no tiPage.dat: no items at all",
         "data/tiPage.dat",
         {},
         0,
         {"Title: LoadPage error.", "Title: LoadFlag error."},
         ""},
        {"an empty tiPage.dat: no items",
         nullptr,
         {{"data/tiPage.dat", ""}},
         0,
         {"Title: LoadPage error.", "Title: LoadFlag error."},
         ""},
        {"no tiName.dat",
         "data/tiName.dat",
         {},
         0,
         {"Title: LoadName error.", "Title: LoadFlag error."},
         ""},
        {"a tiName.dat shorter than a record",
         nullptr,
         {{"data/tiName.dat", "station"}},
         0,
         {"Title: LoadName error.", "Title: LoadFlag error."},
         ""},
        {"no tiBaloon.dat is no error",
         "data/tiBaloon.dat",
         {},
         8,
         {"Title: LoadFlag error."},
         "station\0"s},
        {"an empty tiBaloon.dat is",
         nullptr,
         {{"data/tiBaloon.dat", ""}},
         8,
         {"Title: LoadBaloon error.", "Title: LoadFlag error."},
         "station\0"s},
        {"an empty seen list is valid", nullptr, {{"save/save99.dat", ""}}, 8, {}, "station\0"s},
        {"a last name without its zero byte counts",
         nullptr,
         {{"save/save99.dat", "y\0street.jpg"s}},
         8,
         {},
         "y\0street.jpg\0station\0"s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Restart();
        WriteStandardData();
        if (c.remove != nullptr) {
            std::filesystem::remove(dir_->path() + "/" + c.remove);
        }
        for (const auto& [file, bytes] : c.files) {
            dir_->writeFile(file, bytes);
        }
        EXPECT_EQ(Title::Load(), c.errors.empty());
        EXPECT_EQ(Title::ItemCount(), c.items);
        std::vector<std::string> errors;
        for (const std::string& line : LogLines()) {
            if (line.rfind("Title: Load", 0) == 0) {
                errors.push_back(line);
            }
        }
        EXPECT_EQ(errors, std::vector<std::string>(c.errors.begin(), c.errors.end()));
        if (c.remove != nullptr && std::string(c.remove) == "data/tiBaloon.dat") {
            EXPECT_EQ(Title::BalloonText(0), "*");
        }
        Title::MarkSeenVisual("station");
        EXPECT_EQ(SeenList(), c.seenAfter);
    }
}

TEST_F(TitleDataTest, PagesStepOnlyForACurrentItemInRange) {
    WriteStandardData();
    Title::Load();
    EXPECT_EQ(Title::CurrentPageCount(), -1) << "no current item after the load";
    Title::SetCurrentPage(2);
    EXPECT_TRUE(gTitleData.currentPage.empty()) << "a setter without a current item";

    for (const std::int32_t refused : {-2, 8, 0x7FFFFFFF}) {
        Title::SetCurrentItem(refused);
        EXPECT_EQ(gTitleData.currentItem, -1) << refused;
    }
    EXPECT_EQ(CountLogLines("Title: current item(-2) out of range(8)"), 1);

    Title::SetCurrentItem(6);
    EXPECT_EQ(Title::CurrentPageCount(), 1);
    EXPECT_EQ(Title::CurrentPage(), -1) << "no page set for the item yet";
    Title::SetCurrentPageCount(3);
    Title::SetCurrentPage(3);
    EXPECT_EQ(gTitleData.currentPage.size(), 7u) << "grown to reach the item";
    const struct {
        std::int32_t delta;
        std::int64_t page;
    } steps[] = {{1, 1}, {-1, 3}, {-1, 2}, {1, 3}, {5, 1}, {-7, 3}};
    for (const auto& step : steps) {
        Title::StepPage(step.delta);
        EXPECT_EQ(Title::CurrentPage(), step.page) << step.delta;
    }
    Title::SetCurrentItem(-1);
    EXPECT_EQ(Title::CurrentPage(), -1);
    Title::StepPage(1);
    EXPECT_EQ(gTitleData.currentPage[6], 3u);
}

}  // namespace
}  // namespace title_tests
