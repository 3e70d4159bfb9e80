#include "save_fixture.h"

#include <cstdio>

#include "adventure/adventure_frame.h"
#include "adventure/save_game.h"

namespace adventure_tests {

const char* const kSaveStartScript = R"(
.locals 7 8
*top
    set g3 5
    callfile "scene" "top"
    return
*restart
    set g4 77
@wait
    invoke 0 0 l0 l0
    jump @wait
)";

const char* const kSaveSceneScript = R"(
.locals 9
*top
    set l0 -2
    set g0 100
*middle
    invoke 24 "駅にて"
    text "ページ。"
    invoke 2
    set g5 1
    text "次のページ。"
    invoke 2
    return
)";

void SaveTest::SetUp() {
    AdventureTest::SetUp();
    win32_test::UseScriptedMessageBoxes(true);
    win32_test::TakeShownMessageBoxes();
}

void SaveTest::TearDown() {
    win32_test::TakeShownMessageBoxes();
    win32_test::UseScriptedMessageBoxes(false);
    AdventureTest::TearDown();
}

void SaveTest::PlayToSavePoint() {
    WriteScript("start", kSaveStartScript);
    WriteScript("scene", kSaveSceneScript);
    StartScript("start");
    RunUntilPageWait();
}

void SaveTest::RunUntilPageWait(int frames) {
    for (int i = 0; i < frames && PageWait == 0; ++i) {
        Frame();
    }
    ASSERT_EQ(PageWait, 1) << "the page waits";
}

std::string SaveTest::SlotPath(int slot) const {
    char name[32];
    std::snprintf(name, sizeof name, "save/save%02d.dat", slot);
    return name;
}

std::vector<std::uint8_t> SaveTest::SlotBytes(int slot) const {
    const std::string text = dir_->readFile(SlotPath(slot));
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

void SaveTest::WriteSlotBytes(int slot, const std::vector<std::uint8_t>& bytes) const {
    dir_->writeFile(SlotPath(slot), bytes);
}

bool SaveTest::SlotExists(int slot) const {
    return dir_->exists(SlotPath(slot));
}

std::vector<win32_test::ShownMessageBox> SaveTest::Boxes() {
    return win32_test::TakeShownMessageBoxes();
}

bool SaveTest::HasLogLineStarting(const std::string& start) const {
    for (const std::string& line : LogLines()) {
        if (line.rfind(start, 0) == 0) {
            return true;
        }
    }
    return false;
}

void PutWord(std::vector<std::uint8_t>& bytes, std::uint32_t word) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<std::uint8_t>(word >> shift));
    }
}

void PutText(std::vector<std::uint8_t>& bytes, const std::string& text, std::size_t field) {
    bytes.insert(bytes.end(), text.begin(), text.end());
    bytes.insert(bytes.end(), field - text.size(), 0);
}

}  // namespace adventure_tests
