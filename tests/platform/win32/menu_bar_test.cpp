// The menu bar of a window: the rows it takes above the client area, the non-client pointer
// messages over it, and its menu loop entered by the pointer and the keyboard, worked by the
// pointer and the keys; popup menus at a point.

#include <functional>
#include <string>
#include <vector>

#include "platform/win32/dialog_test_hooks.h"
#include "platform/win32/menu_api.h"
#include "platform/win32/menu_tracker.h"
#include "platform/win32/message_keys.h"
#include "platform/win32/shell_test_hooks.h"
#include "platform/win32/window_placement.h"
#include "sample_menu.h"
#include "window_test_support.h"

namespace {

using win32_internal::ActiveMenuTracker;
using win32_internal::MenuTracker;
using win32_test_support::MessageRecorder;
using win32_test_support::SampleMenu;
using win32_test_support::WindowTest;

using Step = std::function<void(HWND window)>;

class MenuBarTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        win32_test::ResetWindowInput();
        recorder_ = &newRecorder();
        window_ = makeWindow(*recorder_, WS_CAPTION, nullptr, "bar", 320, 240);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        win32_test::SetModalIdleHook(nullptr, nullptr);
        win32_test::ResetWindowInput();
        WindowTest::TearDown();
    }

    // Runs `entry`, then dispatches the queue; the menu loop takes the steps, one each time its
    // queue runs empty. The commands that reached the window.
    std::vector<WPARAM> Run(const Step& entry, std::vector<Step> steps) {
        steps_ = std::move(steps);
        next_ = 0;
        win32_test::SetModalIdleHook(&MenuBarTest::Idle, this);
        entry(window_);
        std::vector<WPARAM> commands;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_COMMAND) {
                commands.push_back(message.wParam);
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        win32_test::SetModalIdleHook(nullptr, nullptr);
        EXPECT_EQ(next_, steps_.size()) << "steps left over";
        return commands;
    }

    static void Idle(HWND, void* context) {
        auto* self = static_cast<MenuBarTest*>(context);
        if (self->next_ >= self->steps_.size()) {
            ADD_FAILURE() << "the menu is still open after the last step";
            PressKey(VK_ESCAPE)(self->window_);
            PressKey(VK_ESCAPE)(self->window_);
            return;
        }
        self->steps_[self->next_++](self->window_);
    }

    static Step PressKey(UINT key) {
        return [key](HWND window) {
            win32_test::InjectKey(window, key, true);
            win32_test::InjectKey(window, key, false);
        };
    }
    static Step ClickAt(POINT client) {
        return [client](HWND window) {
            win32_test::InjectMouseButton(window, 0, true, client.x, client.y);
            win32_test::InjectMouseButton(window, 0, false, client.x, client.y);
        };
    }
    // A click on the title `index` of the bar.
    static Step ClickTitle(int index) {
        return [index](HWND window) {
            const MenuTracker bar = MenuTracker::ForBar(window, SIZE{320, 240});
            const RECT& title = bar.levels()[0].items[static_cast<std::size_t>(index)];
            ClickAt(POINT{(title.left + title.right) / 2, -kMenuBarHeight / 2})(window);
        };
    }
    // A click on item `item` of the open level `level`.
    static Step ClickItem(std::size_t level, int item) {
        return [level, item](HWND window) {
            const MenuTracker* tracker = ActiveMenuTracker(window);
            ASSERT_NE(tracker, nullptr);
            ASSERT_LT(level, tracker->levels().size());
            const RECT& r = tracker->levels()[level].items[static_cast<std::size_t>(item)];
            ClickAt(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2 - kMenuBarHeight})(window);
        };
    }
    static Step Keys(std::vector<UINT> keys) {
        return [keys](HWND window) {
            for (UINT key : keys) {
                PressKey(key)(window);
            }
        };
    }

    MessageRecorder* recorder_ = nullptr;
    HWND window_ = nullptr;
    std::vector<Step> steps_;
    std::size_t next_ = 0;
};

TEST_F(MenuBarTest, BarTakesTheTopRowsOfTheWindowAndItsPointerMessagesAreNonClient) {
    RECT adjusted{0, 0, 320, 240};
    ASSERT_TRUE(AdjustWindowRectEx(&adjusted, WS_CAPTION, TRUE, 0));
    EXPECT_EQ(adjusted.top, -kMenuBarHeight);
    EXPECT_EQ(adjusted.bottom, 240) << "only the top grows";
    SampleMenu m;
    RECT client{};
    POINT origin{0, 0};
    SetMenu(window_, m.bar);
    GetClientRect(window_, &client);
    ClientToScreen(window_, &origin);
    EXPECT_EQ(client.bottom, 240 - kMenuBarHeight);
    EXPECT_EQ(origin.y, kMenuBarHeight);
    win32_test::InjectActivation(window_, true);
    drain();
    recorder_->clear();
    win32_test::InjectMouseMove(window_, 50, -5);
    win32_test::InjectMouseMove(window_, 50, 5);
    win32_test::InjectMouseButton(window_, 1, true, 60, -3);
    win32_test::InjectMouseButton(window_, 1, false, 60, -3);
    const std::vector<MSG> got = drain();
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0].message, WM_NCMOUSEMOVE);
    EXPECT_EQ(got[0].wParam, HTMENU);
    EXPECT_EQ(got[0].lParam, MAKELPARAM(50, kMenuBarHeight - 5)) << "screen coordinates";
    EXPECT_EQ(got[1].message, WM_MOUSEMOVE);
    EXPECT_EQ(got[2].message, WM_NCRBUTTONDOWN);
    EXPECT_EQ(got[3].message, WM_NCRBUTTONUP);

    DestroyMenu(m.bar);
    m.bar = CreateMenu();
    GetClientRect(window_, &client);
    EXPECT_EQ(client.bottom, 240) << "the destroyed menu left the window";
    win32_test::InjectMouseMove(window_, 50, -5);
    const std::vector<MSG> outside = drain();
    ASSERT_EQ(outside.size(), 1u);
    EXPECT_EQ(outside[0].message, WM_MOUSEMOVE) << "no bar: a point above is no bar's";
}

TEST_F(MenuBarTest, EnteredAndWorkedByPointerAndKeys) {
    const Step altAlone = PressKey(VK_MENU);
    const Step altE = [](HWND window) {
        win32_test::InjectKey(window, VK_MENU, true);
        win32_test::InjectKey(window, 'E', true);
        win32_test::InjectKey(window, 'E', false);
        win32_test::InjectKey(window, VK_MENU, false);
    };
    struct Case {
        const char* name;
        Step entry;
        std::vector<Step> steps;
        std::vector<WPARAM> commands;
    };
    const std::vector<Case> cases = {
        {"click File, click Open", ClickTitle(0), {ClickItem(1, 0)}, {10}},
        {"Alt alone, Down, Enter", altAlone, {Keys({VK_DOWN, VK_RETURN})}, {10}},
        {"Alt+E, Enter", altE, {Keys({VK_RETURN})}, {30}},
        {"click File, the mnemonic O", ClickTitle(0), {Keys({'O'})}, {10}},
        {"Right opens Recent",
         ClickTitle(0),
         {Keys({VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN})},
         {20}},
        {"Right on a plain item goes to Edit",
         ClickTitle(0),
         {Keys({VK_DOWN, VK_RIGHT, VK_RETURN})},
         {30}},
        {"Left from File goes round to Edit", ClickTitle(0), {Keys({VK_LEFT, VK_RETURN})}, {30}},
        {"greyed Quit is not chosen",
         ClickTitle(0),
         {Keys({VK_UP, VK_RETURN}), Keys({VK_ESCAPE, VK_ESCAPE})},
         {}},
        {"a click outside closes", ClickTitle(1), {ClickAt(POINT{300, 200})}, {}},
        {"the open title closes", ClickTitle(0), {ClickTitle(0)}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SampleMenu m;
        SetMenu(window_, m.bar);
        drain();
        recorder_->clear();
        EXPECT_EQ(Run(c.entry, c.steps), c.commands);
        const std::vector<UINT> loop = recorder_->messages({WM_ENTERMENULOOP, WM_EXITMENULOOP});
        EXPECT_EQ(loop, (std::vector<UINT>{WM_ENTERMENULOOP, WM_EXITMENULOOP}));
        SetMenu(window_, nullptr);
    }
}

TEST_F(MenuBarTest, AltWithAnotherKeyOrWithoutABarOpensNothing) {
    SampleMenu m;
    SetMenu(window_, m.bar);
    drain();
    recorder_->clear();
    Run(
        [](HWND window) {
            win32_test::InjectKey(window, VK_MENU, true);
            win32_test::InjectKey(window, VK_RETURN, true);
            win32_test::InjectKey(window, VK_RETURN, false);
            win32_test::InjectKey(window, VK_MENU, false);
        },
        {});
    SetMenu(window_, nullptr);
    Run(PressKey(VK_MENU), {});
    EXPECT_TRUE(recorder_->messages({WM_ENTERMENULOOP}).empty());
}

TEST_F(MenuBarTest, PopupMenuReturnsOrPostsItsChoice) {
    struct Case {
        const char* name;
        UINT flags;
        BOOL result;
        std::vector<WPARAM> posted;
        std::vector<UINT> notifications;
    };
    const Case cases[] = {
        {"returned", TPM_RETURNCMD, 20, {}, {WM_ENTERMENULOOP, WM_INITMENUPOPUP, WM_EXITMENULOOP}},
        {"posted",
         TPM_CENTERALIGN,
         TRUE,
         {20},
         {WM_ENTERMENULOOP, WM_INITMENUPOPUP, WM_EXITMENULOOP}},
        {"no notifications", TPM_RETURNCMD | TPM_NONOTIFY, 20, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SampleMenu m;
        recorder_->clear();
        BOOL result = FALSE;
        const std::vector<WPARAM> posted = Run(
            [&](HWND window) {
                result = TrackPopupMenuEx(m.recent, c.flags, 100, 100, window, nullptr);
            },
            {Keys({VK_DOWN, VK_RETURN})});
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(posted, c.posted);
        EXPECT_EQ(recorder_->messages({WM_ENTERMENULOOP, WM_INITMENUPOPUP, WM_EXITMENULOOP}),
                  c.notifications);
    }
    EXPECT_FALSE(TrackPopupMenuEx(nullptr, 0, 0, 0, window_, nullptr));
    HMENU popup = CreatePopupMenu();
    EXPECT_FALSE(TrackPopupMenuEx(popup, 0, 0, 0, nullptr, nullptr));
    DestroyMenu(popup);
}

}  // namespace
