#include "title_fixture.h"

#include <filesystem>

#include "platform/win32/cursor_api.h"
#include "platform/win32/menu_api.h"
#include "platform/win32/message_api.h"
#include "platform/win32/window_api.h"
#include "resources/game_resources.h"
#include "shell/game_window.h"
#include "sprite_ui/baloon.h"
#include "sprite_ui/menu_window.h"
#include "title/title_data.h"
#include "title/title_menu.h"
#include "title/title_popup.h"

namespace title_tests {

namespace {

constexpr const char* kWindowClass = "TitleTestGame";

void ResetTitle() {
    Title::Close();
    GetCommandPopup().Clear();
    GetRecollectionPopup().Clear();
    Title::ResetTitleData();
    Title::ResetPadToKeys();
}

}  // namespace

std::string NameRecords(std::initializer_list<std::string> names) {
    std::string bytes;
    for (const std::string& name : names) {
        std::string record = name.substr(0, 64);
        record.resize(64, '\0');
        bytes += record;
    }
    return bytes;
}

std::string Words(std::initializer_list<std::int32_t> values) {
    std::string bytes;
    for (const std::int32_t value : values) {
        const auto word = static_cast<std::uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8) {
            bytes += static_cast<char>(word >> shift & 0xFF);
        }
    }
    return bytes;
}

std::string ItemRecord(const ItemRecordFields& r) {
    const auto name = [](const std::string& text) {
        std::string field = text.substr(0, 32);
        field.resize(32, '\0');
        return field;
    };
    std::string bytes = name(r.image0) + name(r.image1) + name(r.image2);
    bytes += Words({static_cast<std::int32_t>(r.flags), r.columns, r.rows, r.cellLimit, r.order,
                    r.cellStepX, r.cellStepY, r.destStepX, r.destStepY, r.destX, r.destY, r.src0X,
                    r.src0Y, r.src1X, r.src1Y, r.src2X, r.src2Y});
    bytes += name(r.script) + name(r.label);
    bytes += Words({r.firstValue, r.firstRightValue, r.stateFilter, r.page});
    return bytes;
}

void TitleTest::SetUp() {
    AdventureTest::SetUp();
    // The game writes its saves and the seen list into the folder the game comes with.
    std::filesystem::create_directories(dir_->path() + "/save");
    ResetTitle();
}

void TitleTest::TearDown() {
    ResetTitle();
    DestroyAllMenuWindows();
    AdventureTest::TearDown();
}

void TitleTest::WriteData(const std::string& name, const std::string& bytes) {
    dir_->writeFile("data/" + name, bytes);
}

std::string TitleTest::SeenList() const {
    return dir_->readFile("save/save99.dat");
}

std::ostream& operator<<(std::ostream& out, const Posted& p) {
    return out << "{" << p.message << ", " << p.wParam << ", " << p.lParam << "}";
}

void TitleWindowTest::SetUp() {
    TitleTest::SetUp();
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = kWindowClass;
    RegisterClassA(&windowClass);
    MainWindow = CreateWindowExA(0, kWindowClass, "game", 0, 0, 0, 800, 600, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(MainWindow, nullptr);
    MainMenu = BuildGameMenu();
    gTitleMenu = new TitleMenu;
}

void TitleWindowTest::TearDown() {
    Title::Close();
    DestroyAllMenuWindows();
    DestroyWindow(MainWindow);
    MainWindow = nullptr;
    ReleaseMainMenu();
    UnregisterClassA(kWindowClass, nullptr);
    TitleTest::TearDown();
}

std::vector<Posted> TitleWindowTest::TakePosted() {
    std::vector<Posted> posted;
    MSG message{};
    while (PeekMessageA(&message, MainWindow, 0, 0, PM_REMOVE)) {
        posted.push_back(Posted{message.message, message.wParam, message.lParam});
    }
    return posted;
}

LRESULT TitleWindowTest::Send(UINT message, int x, int y, WPARAM wParam) {
    SetCursorPos(x, y);
    return Title::OnMessage(MainWindow, message, wParam, 0);
}

}  // namespace title_tests
