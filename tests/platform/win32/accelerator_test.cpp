// Accelerator tables: creation, resources, and the translation of key messages into commands
// with the key state of the message being handled.

#include <optional>
#include <vector>

#include "platform/win32/accelerator_api.h"
#include "platform/win32/menu_api.h"
#include "shell_window_test_support.h"

namespace {

using win32_test_support::MessageRecorder;
using win32_test_support::Received;
using win32_test_support::ShellWindowTest;

constexpr ACCEL kTable[] = {
    {FVIRTKEY | FALT, VK_F4, 100},
    {FVIRTKEY, VK_F3, 101},
    {FVIRTKEY | FSHIFT, 'I', 102},
    {FVIRTKEY | FCONTROL | FSHIFT, 'S', 103},
    {FVIRTKEY, VK_F3, 199},  // never reached: the first match wins
    {0, 'q', 104},           // the character q
    {FALT, 'x', 105},        // the character x with Alt (WM_SYSCHAR)
};

class AcceleratorTest : public ShellWindowTest {
protected:
    void SetUp() override {
        ShellWindowTest::SetUp();
        recorder_ = &newRecorder();
        window_ = makeWindow(*recorder_, WS_CAPTION | WS_SYSMENU, nullptr, "game", 800, 600);
        ASSERT_NE(window_, nullptr);
        table_ = CreateAcceleratorTableA(kTable, static_cast<int>(std::size(kTable)));
        ASSERT_NE(table_, nullptr);
    }
    void TearDown() override {
        EXPECT_TRUE(DestroyAcceleratorTable(table_));
        ShellWindowTest::TearDown();
    }

    // Retrieves every queued message as the main loop does: translated messages are not
    // dispatched. The commands the window got, in order.
    std::vector<WPARAM> pump() {
        recorder_->clear();
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (TranslateAcceleratorA(window_, table_, &message) == 0) {
                DispatchMessageA(&message);
            }
        }
        std::vector<WPARAM> commands;
        for (const Received& r : recorder_->received()) {
            if (r.message == WM_COMMAND) {
                commands.push_back(r.wParam);
            }
        }
        return commands;
    }

    void press(std::initializer_list<UINT> keys) {
        for (UINT key : keys) {
            win32_test::InjectKey(window_, key, true);
        }
        for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) {
            win32_test::InjectKey(window_, *it, false);
        }
    }

    MessageRecorder* recorder_ = nullptr;
    HWND window_ = nullptr;
    HACCEL table_ = nullptr;
};

TEST_F(AcceleratorTest, KeysMatchWithExactlyTheirModifiers) {
    struct Case {
        const char* name;
        std::initializer_list<UINT> keys;
        std::vector<WPARAM> commands;
    };
    const Case cases[] = {
        {"Alt+F4 (WM_SYSKEYDOWN)", {VK_MENU, VK_F4}, {MAKEWPARAM(100, 1)}},
        {"F4 alone", {VK_F4}, {}},
        {"Shift+Alt+F4", {VK_SHIFT, VK_MENU, VK_F4}, {}},
        {"F3, first entry wins", {VK_F3}, {MAKEWPARAM(101, 1)}},
        {"Ctrl+F3", {VK_CONTROL, VK_F3}, {}},
        {"Shift+I", {VK_SHIFT, 'I'}, {MAKEWPARAM(102, 1)}},
        {"I alone", {'I'}, {}},
        {"Ctrl+Shift+S", {VK_CONTROL, VK_SHIFT, 'S'}, {MAKEWPARAM(103, 1)}},
        {"Shift+S", {VK_SHIFT, 'S'}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        press(c.keys);
        EXPECT_EQ(pump(), c.commands);
    }
}

TEST_F(AcceleratorTest, KeyRepeatsTranslateAgainAndKeyUpsNever) {
    win32_test::InjectKey(window_, VK_F3, true);
    win32_test::InjectKey(window_, VK_F3, true, true);
    win32_test::InjectKey(window_, VK_F3, false);
    EXPECT_EQ(pump(), (std::vector<WPARAM>{MAKEWPARAM(101, 1), MAKEWPARAM(101, 1)}));
}

TEST_F(AcceleratorTest, CharacterEntriesMatchTypedCharacters) {
    struct Case {
        const char* name;
        UINT message;
        WPARAM character;
        std::vector<WPARAM> commands;
    };
    const Case cases[] = {
        {"q typed", WM_CHAR, 'q', {MAKEWPARAM(104, 1)}},
        {"Q is another character", WM_CHAR, 'Q', {}},
        {"q with Alt is no WM_CHAR", WM_SYSCHAR, 'q', {}},
        {"x with Alt", WM_SYSCHAR, 'x', {MAKEWPARAM(105, 1)}},
        {"x without Alt", WM_CHAR, 'x', {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PostMessageA(window_, c.message, c.character, 1);
        EXPECT_EQ(pump(), c.commands);
    }
}

TEST_F(AcceleratorTest, MenuBarGetsInitMenuAndBlocksGreyedCommands) {
    HMENU bar = CreateMenu();
    HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, 101, "Three");
    AppendMenuA(popup, MF_STRING | MF_GRAYED, 102, "Info");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "Menu");
    SetMenu(window_, bar);

    press({VK_F3});
    EXPECT_EQ(pump(), std::vector<WPARAM>{MAKEWPARAM(101, 1)});
    EXPECT_EQ(recorder_->messages({WM_INITMENU, WM_COMMAND}),
              (std::vector<UINT>{WM_INITMENU, WM_COMMAND}));

    press({VK_SHIFT, 'I'});
    EXPECT_TRUE(pump().empty()) << "the item is greyed";
    EXPECT_EQ(recorder_->messages({WM_KEYDOWN}), std::vector<UINT>{WM_KEYDOWN})
        << "the greyed accelerator is still consumed: only Shift's key-down was dispatched";

    press({VK_MENU, VK_F4});
    EXPECT_EQ(pump(), std::vector<WPARAM>{MAKEWPARAM(100, 1)}) << "not an item of the bar";
    DestroyMenu(bar);
}

TEST_F(AcceleratorTest, RefusesBadTablesAndMessages) {
    EXPECT_EQ(CreateAcceleratorTableA(kTable, 0), nullptr);
    EXPECT_EQ(CreateAcceleratorTableA(nullptr, 3), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    MSG key{window_, WM_KEYDOWN, VK_F3, 1, 0, {}};
    EXPECT_EQ(TranslateAcceleratorA(window_, nullptr, &key), 0);
    EXPECT_EQ(TranslateAcceleratorA(window_, table_, nullptr), 0);
    EXPECT_EQ(TranslateAcceleratorA(nullptr, table_, &key), 0);
    HACCEL gone = CreateAcceleratorTableA(kTable, 1);
    EXPECT_TRUE(DestroyAcceleratorTable(gone));
    EXPECT_FALSE(DestroyAcceleratorTable(gone));
    EXPECT_EQ(TranslateAcceleratorA(window_, gone, &key), 0);
    EXPECT_EQ(CopyAcceleratorTableA(gone, nullptr, 0), 0);
}

TEST(AcceleratorResourceTest, LoadCopiesTheRegisteredTable) {
    Win32RegisterAcceleratorResource(903, kTable, 3);
    HACCEL loaded = LoadAcceleratorsA(nullptr, MAKEINTRESOURCEA(903));
    ASSERT_NE(loaded, nullptr);
    ACCEL copy[4] = {};
    EXPECT_EQ(CopyAcceleratorTableA(loaded, nullptr, 0), 3);
    EXPECT_EQ(CopyAcceleratorTableA(loaded, copy, 2), 2);
    EXPECT_EQ(copy[1].key, VK_F3);
    EXPECT_EQ(copy[1].cmd, 101);
    EXPECT_EQ(copy[2].cmd, 0) << "only as many as asked";
    EXPECT_TRUE(DestroyAcceleratorTable(loaded));

    EXPECT_EQ(LoadAcceleratorsA(nullptr, MAKEINTRESOURCEA(904)), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    EXPECT_EQ(LoadAcceleratorsA(nullptr, "KEYS"), nullptr);
    Win32RegisterAcceleratorResource(903, nullptr, 0);
    EXPECT_EQ(LoadAcceleratorsA(nullptr, MAKEINTRESOURCEA(903)), nullptr);
}

}  // namespace
