// Menu 102 and accelerator table 104 as the game registers them, and the item states set as a
// popup opens.

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "adventure/adventure_frame.h"
#include "platform/win32/accelerator_api.h"
#include "platform/win32/menu_api.h"
#include "platform/win32/message_keys.h"
#include "platform/win32/shell_test_hooks.h"
#include "platform/win32/window_api.h"
#include "platform/winbase/code_page.h"
#include "resources/game_resources.h"
#include "shell/accelerators.h"
#include "shell/game_menu.h"
#include "shell/game_window.h"

namespace {

constexpr UINT kSeparator = 0;

std::string Sjis(const char* utf8) {
    return Utf8ToCp932(utf8).value_or("<does not convert>");
}

std::string Text(HMENU menu, int position) {
    char text[128] = {};
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

struct ExpectedItem {
    UINT command;  // kSeparator for a separator; ignored for a submenu
    const char* utf8;
    UINT state = 0;
};

void ExpectItems(HMENU menu, const std::vector<ExpectedItem>& items) {
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(items.size()));
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        SCOPED_TRACE("item " + std::to_string(i));
        const ExpectedItem& item = items[static_cast<std::size_t>(i)];
        const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        if (item.command == kSeparator) {
            EXPECT_EQ(state, MF_SEPARATOR);
            continue;
        }
        if (GetSubMenu(menu, i) == nullptr) {
            EXPECT_EQ(GetMenuItemID(menu, i), item.command);
        }
        EXPECT_EQ(Text(menu, i), Sjis(item.utf8));
        EXPECT_EQ(state & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_SEPARATOR), item.state);
    }
}

std::vector<ExpectedItem> SlotItems(UINT first, ExpectedItem last) {
    std::vector<ExpectedItem> items;
    static const char* const kNumbers[] = {"00", "01", "02", "03", "04", "05", "06",
                                           "07", "08", "09", "10", "11", "12", "13",
                                           "14", "15", "16", "17", "18", "19"};
    for (UINT slot = 0; slot < 20; ++slot) {
        items.push_back({first + slot, kNumbers[slot]});
    }
    items.push_back({kSeparator, nullptr});
    items.push_back(last);
    return items;
}

TEST(GameMenuTest, Menu102HasEveryItemWithItsText) {
    RegisterGameResources();
    HMENU bar = LoadMenuA(nullptr, MAKEINTRESOURCEA(kGameMenuResource));
    ASSERT_NE(bar, nullptr);
    ExpectItems(bar, {{1, "ファイル(&F)"}, {1, "設定(&C)"}, {1, "ヘルプ(&H)"}});
    HMENU file = GetSubMenu(bar, 0);
    ExpectItems(file, {{1, "ロード(&L)"},
                       {1, "セーブ(&S)"},
                       {kSeparator, nullptr},
                       {40012, "タイトルに戻る(&T)"},
                       {kSeparator, nullptr},
                       {40001, "終了(&Q)\tALT+F4"}});
    ExpectItems(GetSubMenu(file, 0), SlotItems(40200, {40220, "20"}));
    ExpectItems(GetSubMenu(file, 1),
                SlotItems(40250, {40270, "ここには保存できません", MF_GRAYED}));
    ExpectItems(GetSubMenu(bar, 1), {{40100, "フルスクリーン(&F)\tAlt+Enter"},
                                     {40077, "環境設定(&E)"},
                                     {kSeparator, nullptr},
                                     {40096, "手ぶらモード(&H)\tF12"},
                                     {40066, "早送りモード(&M)\tF3"}});
    ExpectItems(GetSubMenu(bar, 2), {{40095, "Velkaro のサイトに移動(&W)"},
                                     {kSeparator, nullptr},
                                     {40005, "バージョン表示(&A)..."}});
    DestroyMenu(bar);
}

TEST(GameMenuTest, Table104HoldsExactlyTheCommandKeys) {
    RegisterGameResources();
    HACCEL table = LoadAcceleratorsA(nullptr, MAKEINTRESOURCEA(kGameAcceleratorResource));
    ASSERT_NE(table, nullptr);
    std::vector<ACCEL> entries(static_cast<std::size_t>(CopyAcceleratorTableA(table, nullptr, 0)));
    CopyAcceleratorTableA(table, entries.data(), static_cast<int>(entries.size()));
    DestroyAcceleratorTable(table);
    struct Key {
        BYTE fVirt;
        WORD key;
        WORD cmd;
        bool operator<(const Key& other) const { return cmd < other.cmd; }
        bool operator==(const Key&) const = default;
    };
    std::vector<Key> got;
    for (const ACCEL& entry : entries) {
        got.push_back({entry.fVirt, entry.key, entry.cmd});
    }
    std::sort(got.begin(), got.end());
    const std::vector<Key> expected = {
        {FVIRTKEY | FALT, VK_F4, 40001}, {FVIRTKEY, VK_F1, 40005},
        {FVIRTKEY, VK_F3, 40066},        {FVIRTKEY, VK_F9, 40068},
        {FVIRTKEY, VK_F8, 40077},        {FVIRTKEY, VK_F7, 40078},
        {FVIRTKEY, VK_F10, 40090},       {FVIRTKEY | FSHIFT, 'I', 40091},
        {FVIRTKEY, VK_F12, 40096},       {FVIRTKEY, VK_F11, 40097},
        {FVIRTKEY, VK_F6, 40098},        {FVIRTKEY | FALT, VK_RETURN, 40100},
    };
    EXPECT_EQ(got, expected);
}

// A window that records the commands it gets; the loaded table 104 translates its keys.
class GameAcceleratorTest : public ::testing::Test {
protected:
    static LRESULT Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COMMAND) {
            commands_.push_back(wParam);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    void SetUp() override {
        win32_test::ResetWindowInput();
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = Procedure;
        windowClass.lpszClassName = "game_accelerator_test";
        RegisterClassExA(&windowClass);
        window_ = CreateWindowExA(0, "game_accelerator_test", "keys", WS_CAPTION, 0, 0, 64, 64,
                                  nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
        RegisterGameResources();
        LoadGameAccelerators();
        ASSERT_NE(GameAccelerators(), nullptr);
        commands_.clear();
    }
    void TearDown() override {
        ReleaseGameAccelerators();
        DestroyWindow(window_);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
        UnregisterClassA("game_accelerator_test", nullptr);
        win32_test::ResetWindowInput();
    }
    // Presses the keys in order and lets them go in reverse; the commands they gave.
    std::vector<WORD> Press(const std::vector<UINT>& keys, bool repeatLast = false) {
        commands_.clear();
        for (UINT key : keys) {
            win32_test::InjectKey(window_, key, true);
        }
        if (repeatLast) {
            win32_test::InjectKey(window_, keys.back(), true, true);
        }
        for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
            win32_test::InjectKey(window_, *it, false);
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!TranslateGameAccelerator(message)) {
                DispatchMessageA(&message);
            }
        }
        std::vector<WORD> result;
        for (WPARAM wParam : commands_) {
            EXPECT_EQ(HIWORD(wParam), 1) << "accelerator commands carry 1 in the high word";
            result.push_back(LOWORD(wParam));
        }
        return result;
    }

    HWND window_ = nullptr;
    static inline std::vector<WPARAM> commands_;
};

TEST_F(GameAcceleratorTest, EachKeyWithAndWithoutExtraModifiers) {
    struct Case {
        const char* name;
        std::vector<UINT> modifiers;
        UINT key;
        WORD command;
    };
    const Case cases[] = {
        {"Alt+F4", {VK_MENU}, VK_F4, 40001},
        {"F1", {}, VK_F1, 40005},
        {"F3", {}, VK_F3, 40066},
        {"F9", {}, VK_F9, 40068},
        {"F8", {}, VK_F8, 40077},
        {"F7", {}, VK_F7, 40078},
        {"F10", {}, VK_F10, 40090},
        {"Shift+I", {VK_SHIFT}, 'I', 40091},
        {"F12", {}, VK_F12, 40096},
        {"F11", {}, VK_F11, 40097},
        {"F6", {}, VK_F6, 40098},
        {"Alt+Enter", {VK_MENU}, VK_RETURN, 40100},
    };
    const UINT extras[] = {VK_SHIFT, VK_CONTROL, VK_MENU};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<UINT> keys = c.modifiers;
        keys.push_back(c.key);
        EXPECT_EQ(Press(keys), std::vector<WORD>{c.command});
        for (UINT extra : extras) {
            if (std::find(c.modifiers.begin(), c.modifiers.end(), extra) != c.modifiers.end()) {
                continue;
            }
            std::vector<UINT> more = {extra};
            more.insert(more.end(), keys.begin(), keys.end());
            EXPECT_TRUE(Press(more).empty()) << "with the extra modifier " << extra;
        }
        if (!c.modifiers.empty()) {
            EXPECT_TRUE(Press({c.key}).empty()) << "without its modifier";
        }
    }
}

TEST_F(GameAcceleratorTest, HeldKeyRepeatsItsCommand) {
    EXPECT_EQ(Press({VK_F3}, true), (std::vector<WORD>{40066, 40066}));
}

class MenuStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterGameResources();
        MainMenu = BuildGameMenu();
    }
    void TearDown() override {
        ReleaseMainMenu();
        LoadMenuEnabled = SaveMenuEnabled = TitleReturnEnabled = 1;
        SkipActive = 0;
        AutoMode = 0;
    }
    static UINT State(UINT command) { return GetMenuState(MainMenu, command, MF_BYCOMMAND); }
    static UINT FileState(int position) {
        return GetMenuState(GetSubMenu(MainMenu, 0), static_cast<UINT>(position), MF_BYPOSITION) &
               0xFF;
    }
};

TEST_F(MenuStateTest, PopupOpeningSetsChecksAndEnables) {
    constexpr UINT kOff = MF_GRAYED | MF_DISABLED;
    LoadMenuEnabled = 0;
    TitleReturnEnabled = 0;
    SkipActive = 1;
    UpdateMenuItemStates(GetSubMenu(MainMenu, 1));
    EXPECT_EQ(FileState(0), MF_POPUP | kOff) << "load submenu";
    EXPECT_EQ(FileState(1), MF_POPUP) << "save submenu";
    EXPECT_EQ(State(40012), kOff);
    EXPECT_EQ(State(kCommandFastForward), MF_CHECKED);
    EXPECT_EQ(State(kCommandHandsFree), 0u);
    EXPECT_EQ(State(kCommandFullScreen), kOff) << "no device that could run in a window";
    EXPECT_EQ(State(kCommandWebSite), 0u) << "not in full screen";
    EXPECT_EQ(State(40270), MF_GRAYED) << "the slot-20 save item stays greyed";

    LoadMenuEnabled = 1;
    SaveMenuEnabled = 0;
    TitleReturnEnabled = 1;
    SkipActive = 0;
    AutoMode = 1;
    UpdateMenuItemStates(GetSubMenu(MainMenu, 0));
    EXPECT_EQ(FileState(0), MF_POPUP);
    EXPECT_EQ(FileState(1), MF_POPUP | kOff);
    EXPECT_EQ(State(40012), 0u);
    EXPECT_EQ(State(kCommandFastForward), 0u);
    EXPECT_EQ(State(kCommandHandsFree), MF_CHECKED);
}

}  // namespace
