// Menus as data: items, their states, submenus, menus attached to windows, menu resources and
// the menu loop messages.

#include <string>
#include <vector>

#include "platform/win32/menu_api.h"
#include "platform/win32/menu_loop.h"
#include "platform/win32/paint_api.h"
#include "sample_menu.h"
#include "window_test_support.h"

namespace {

using win32_test_support::MessageRecorder;
using win32_test_support::Received;
using win32_test_support::SampleMenu;
using win32_test_support::WindowTest;

constexpr UINT kNoItem = 0xFFFFFFFFu;

std::string ItemText(HMENU menu, UINT item, UINT flags) {
    char text[64] = {};
    GetMenuStringA(menu, item, text, sizeof text, flags);
    return text;
}

TEST(MenuModelTest, ItemsSubmenusAndTexts) {
    SampleMenu m;
    EXPECT_EQ(GetMenuItemCount(m.bar), 2);
    EXPECT_EQ(GetMenuItemCount(m.file), 4);
    EXPECT_EQ(GetSubMenu(m.bar, 0), m.file);
    EXPECT_EQ(GetSubMenu(m.file, 2), m.recent);
    EXPECT_EQ(GetSubMenu(m.file, 0), nullptr) << "a string item has no submenu";
    EXPECT_EQ(GetSubMenu(m.file, 9), nullptr);
    EXPECT_EQ(GetMenuItemID(m.file, 0), 10u);
    EXPECT_EQ(GetMenuItemID(m.file, 2), kNoItem) << "submenu item";
    EXPECT_EQ(GetMenuItemID(m.file, -1), kNoItem);
    EXPECT_EQ(GetMenuItemID(m.file, 4), kNoItem);
    EXPECT_EQ(ItemText(m.file, 10, MF_BYCOMMAND), "&Open\tCtrl+O");
    EXPECT_EQ(ItemText(m.file, 2, MF_BYPOSITION), "Recent");
    EXPECT_EQ(ItemText(m.bar, 21, MF_BYCOMMAND), "two") << "found through the submenus";
    EXPECT_EQ(GetMenuStringA(m.file, 10, nullptr, 0, MF_BYCOMMAND), 12);
    EXPECT_EQ(GetMenuState(m.file, 1, MF_BYPOSITION), MF_SEPARATOR);
    EXPECT_EQ(GetMenuState(m.file, 2, MF_BYPOSITION), MF_POPUP | (2u << 8))
        << "flags in the low byte, the submenu's item count in the high byte";
    EXPECT_EQ(GetMenuState(m.file, 99, MF_BYCOMMAND), kNoItem);

    char shortBuffer[4];
    EXPECT_EQ(GetMenuStringA(m.file, 10, shortBuffer, sizeof shortBuffer, MF_BYCOMMAND), 3);
    EXPECT_STREQ(shortBuffer, "&Op");
}

TEST(MenuModelTest, DoubleByteTextIsNeverCutInHalf) {
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 1, "\203t\203@");  // two double-byte characters
    char buffer[4];
    EXPECT_EQ(GetMenuStringA(menu, 1, buffer, sizeof buffer, MF_BYCOMMAND), 2);
    EXPECT_STREQ(buffer, "\203t");
    DestroyMenu(menu);
}

TEST(MenuModelTest, EnableAndCheckReturnThePreviousState) {
    SampleMenu m;
    EXPECT_EQ(EnableMenuItem(m.bar, 11, MF_BYCOMMAND | MF_ENABLED), MF_GRAYED);
    EXPECT_EQ(EnableMenuItem(m.bar, 11, MF_BYCOMMAND | MF_GRAYED | MF_DISABLED), MF_ENABLED);
    EXPECT_EQ(GetMenuState(m.file, 3, MF_BYPOSITION), MF_GRAYED | MF_DISABLED);
    EXPECT_EQ(EnableMenuItem(m.file, 2, MF_BYPOSITION | MF_GRAYED), MF_ENABLED);
    EXPECT_EQ(GetMenuState(m.file, 2, MF_BYPOSITION) & 0xFF, MF_POPUP | MF_GRAYED)
        << "a submenu item keeps MF_POPUP";
    EXPECT_EQ(EnableMenuItem(m.bar, 99, MF_BYCOMMAND), kNoItem);
    EXPECT_EQ(EnableMenuItem(m.file, 4, MF_BYPOSITION), kNoItem);

    EXPECT_EQ(CheckMenuItem(m.bar, 20, MF_BYCOMMAND | MF_CHECKED), MF_UNCHECKED);
    EXPECT_EQ(CheckMenuItem(m.recent, 0, MF_BYPOSITION | MF_CHECKED), MF_CHECKED);
    EXPECT_EQ(GetMenuState(m.recent, 20, MF_BYCOMMAND), MF_CHECKED);
    EXPECT_EQ(CheckMenuItem(m.bar, 20, MF_BYCOMMAND | MF_UNCHECKED), MF_CHECKED);
    EXPECT_EQ(CheckMenuItem(m.bar, 99, MF_BYCOMMAND | MF_CHECKED), kNoItem);
    EXPECT_EQ(GetMenuState(m.recent, 20, MF_BYCOMMAND), 0u) << "enabling left the check alone";
}

TEST(MenuModelTest, ModifyReplacesTextAndId) {
    SampleMenu m;
    EXPECT_TRUE(ModifyMenuA(m.recent, 0, MF_BYPOSITION | MF_STRING, 25, "uno"));
    EXPECT_EQ(ItemText(m.recent, 25, MF_BYCOMMAND), "uno");
    EXPECT_EQ(GetMenuItemID(m.recent, 0), 25u);
    EXPECT_FALSE(ModifyMenuA(m.file, 1, MF_BYPOSITION, 5, "x")) << "a separator has no text";
    EXPECT_FALSE(ModifyMenuA(m.file, 77, MF_BYCOMMAND, 5, "x"));
    EXPECT_FALSE(ModifyMenuA(m.file, 10, MF_BYCOMMAND, 5, nullptr));
}

TEST(MenuModelTest, RefusesBadHandlesAndTrees) {
    EXPECT_EQ(GetMenuItemCount(nullptr), -1);
    EXPECT_FALSE(AppendMenuA(nullptr, MF_STRING, 1, "x"));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_MENU_HANDLE);
    EXPECT_FALSE(DestroyMenu(nullptr));

    SampleMenu m;
    EXPECT_FALSE(AppendMenuA(m.recent, MF_POPUP, reinterpret_cast<UINT_PTR>(m.file), "loop"))
        << "a menu may not hold one of its owners";
    EXPECT_FALSE(AppendMenuA(m.edit, MF_POPUP, reinterpret_cast<UINT_PTR>(m.edit), "self"));
    EXPECT_FALSE(AppendMenuA(m.edit, MF_POPUP, reinterpret_cast<UINT_PTR>(m.recent), "twice"))
        << "a submenu hangs in one place";
    EXPECT_FALSE(AppendMenuA(m.edit, MF_STRING, 31, nullptr));
    EXPECT_EQ(GetMenuItemCount(m.edit), 1);
}

TEST(MenuModelTest, DestroyTakesTheSubmenusAlong) {
    HMENU recent = nullptr;
    HMENU file = nullptr;
    {
        SampleMenu m;
        recent = m.recent;
        file = m.file;
        EXPECT_TRUE(DestroyMenu(m.recent));
        EXPECT_EQ(GetMenuItemCount(m.file), 3) << "the submenu item went with its menu";
    }
    EXPECT_FALSE(IsMenu(file));
    EXPECT_FALSE(IsMenu(recent));
}

HMENU BuildSmallResource() {
    HMENU bar = CreateMenu();
    HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, 7, "seven");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "P");
    return bar;
}

TEST(MenuResourceTest, EachLoadBuildsAFreshMenu) {
    Win32RegisterMenuResource(901, BuildSmallResource);
    HMENU first = LoadMenuA(nullptr, MAKEINTRESOURCEA(901));
    HMENU second = LoadMenuA(nullptr, MAKEINTRESOURCEA(901));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(GetMenuItemID(GetSubMenu(second, 0), 0), 7u);
    DestroyMenu(first);
    DestroyMenu(second);

    EXPECT_EQ(LoadMenuA(nullptr, MAKEINTRESOURCEA(902)), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    EXPECT_EQ(LoadMenuA(nullptr, "MAINMENU"), nullptr) << "only numbered resources exist";
    Win32RegisterMenuResource(901, nullptr);
    EXPECT_EQ(LoadMenuA(nullptr, MAKEINTRESOURCEA(901)), nullptr);
}

class MenuWindowTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        recorder_ = &newRecorder();
        window_ = makeWindow(*recorder_);
        ASSERT_NE(window_, nullptr);
        recorder_->clear();
    }

    std::vector<UINT> menuMessages() const {
        return recorder_->messages(
            {WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_EXITMENULOOP, WM_COMMAND});
    }

    MessageRecorder* recorder_ = nullptr;
    HWND window_ = nullptr;
};

TEST_F(MenuWindowTest, AttachDetachAndDestroy) {
    SampleMenu m;
    EXPECT_EQ(GetMenu(window_), nullptr);
    EXPECT_TRUE(SetMenu(window_, m.bar));
    EXPECT_EQ(GetMenu(window_), m.bar);
    EXPECT_TRUE(DrawMenuBar(window_));
    EXPECT_TRUE(SetMenu(window_, nullptr));
    EXPECT_EQ(GetMenu(window_), nullptr);
    EXPECT_TRUE(IsMenu(m.bar)) << "detaching keeps the menu";

    HWND other = makeWindow(*recorder_);
    SetMenu(window_, m.bar);
    SetMenu(other, m.bar);
    EXPECT_EQ(GetMenu(window_), nullptr) << "a menu hangs on one window at a time";
    EXPECT_EQ(GetMenu(other), m.bar);
    DestroyWindow(other);
    EXPECT_EQ(GetMenu(other), nullptr);

    HMENU gone = CreateMenu();
    SetMenu(window_, gone);
    DestroyMenu(gone);
    EXPECT_EQ(GetMenu(window_), nullptr);
    EXPECT_FALSE(SetMenu(window_, gone));
    EXPECT_FALSE(SetMenu(nullptr, m.bar));
    EXPECT_FALSE(DrawMenuBar(nullptr));
}

TEST_F(MenuWindowTest, RedrawWindowInvalidatesOnlyWhenAsked) {
    ShowWindow(window_, SW_SHOW);
    drain();
    ValidateRect(window_, nullptr);
    EXPECT_TRUE(RedrawWindow(window_, nullptr, nullptr, RDW_FRAME));
    EXPECT_TRUE(drain().empty()) << "the frame alone paints nothing";
    EXPECT_TRUE(RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME));
    const std::vector<MSG> queued = drain();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0].message, WM_PAINT);
    ValidateRect(window_, nullptr);
    EXPECT_FALSE(RedrawWindow(nullptr, nullptr, nullptr, RDW_FRAME));
}

TEST_F(MenuWindowTest, ChoosingAnItemRunsTheMenuLoop) {
    SampleMenu m;
    SetMenu(window_, m.bar);
    recorder_->setReply([](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_INITMENUPOPUP) {
            // The window greys "two" as its popup opens.
            EnableMenuItem(reinterpret_cast<HMENU>(wParam), 21, MF_BYCOMMAND | MF_GRAYED);
        }
        return std::nullopt;
    });

    EXPECT_TRUE(Win32ChooseMenuCommand(window_, 0, 20));
    const std::vector<Received> got = recorder_->received();
    std::vector<Received> loop;
    for (const Received& r : got) {
        if (r.message == WM_ENTERMENULOOP || r.message == WM_INITMENU ||
            r.message == WM_INITMENUPOPUP || r.message == WM_EXITMENULOOP) {
            loop.push_back(r);
        }
    }
    ASSERT_EQ(loop.size(), 5u);
    EXPECT_EQ(loop[0].message, WM_ENTERMENULOOP);
    EXPECT_EQ(loop[1].message, WM_INITMENU);
    EXPECT_EQ(loop[1].wParam, reinterpret_cast<WPARAM>(m.bar));
    EXPECT_EQ(loop[2].wParam, reinterpret_cast<WPARAM>(m.file));
    EXPECT_EQ(loop[2].lParam, MAKELPARAM(0, FALSE));
    EXPECT_EQ(loop[3].wParam, reinterpret_cast<WPARAM>(m.recent));
    EXPECT_EQ(loop[3].lParam, MAKELPARAM(2, FALSE));
    EXPECT_EQ(loop[4].message, WM_EXITMENULOOP);
    // The choice arrives through the queue once the loop has ended.
    const std::vector<MSG> queued = drain();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0].message, WM_COMMAND);
    EXPECT_EQ(queued[0].wParam, MAKEWPARAM(20, 0));
    EXPECT_EQ(queued[0].lParam, 0);

    EXPECT_FALSE(Win32ChooseMenuCommand(window_, 0, 21)) << "greyed as its popup opened";
    EXPECT_TRUE(drain().empty());
}

TEST_F(MenuWindowTest, UnselectableChoicesOnlyCloseTheMenu) {
    struct Case {
        const char* name;
        int popup;
        UINT command;
        UINT disablePosition;  // on File; kNoItem: nothing
    };
    const Case cases[] = {
        {"greyed item", 0, 11, kNoItem},
        {"item of a greyed submenu", 0, 20, 2},
        {"command of another popup", 1, 10, kNoItem},
        {"no such popup", 5, 30, kNoItem},
        {"no command", 1, 0, kNoItem},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SampleMenu m;
        SetMenu(window_, m.bar);
        if (c.disablePosition != kNoItem) {
            EnableMenuItem(m.file, c.disablePosition, MF_BYPOSITION | MF_GRAYED);
        }
        recorder_->clear();
        EXPECT_FALSE(Win32ChooseMenuCommand(window_, c.popup, c.command));
        const std::vector<UINT> got = menuMessages();
        ASSERT_FALSE(got.empty());
        EXPECT_EQ(got.front(), WM_ENTERMENULOOP);
        EXPECT_EQ(got.back(), WM_EXITMENULOOP);
        EXPECT_TRUE(drain().empty()) << "no command posted";
    }
    SetMenu(window_, nullptr);
    recorder_->clear();
    EXPECT_FALSE(Win32ChooseMenuCommand(window_, 0, 10));
    EXPECT_TRUE(menuMessages().empty()) << "no bar, no menu loop";
}

}  // namespace
