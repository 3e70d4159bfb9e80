// The start-up settings, notice and version dialogs, driven by control id with nothing drawn.

#include <functional>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dialog_driver.h"
#include "foundation/app_settings.h"
#include "foundation/foundation_test.h"
#include "foundation/log.h"
#include "foundation/registry_settings.h"
#include "media/graphics/d3d_application.h"
#include "platform/d3d9/d3d9_test.h"
#include "platform/win32/dialog_input.h"
#include "platform/win32/dialog_test_hooks.h"
#include "platform/win32/icon_api.h"
#include "platform/win32/menu_api.h"
#include "platform/win32/message_keys.h"
#include "platform/win32/shell_test_hooks.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_placement.h"
#include "platform/winbase/test_hooks.h"
#include "resources/game_resources.h"
#include "shell/notice_dialogs.h"
#include "shell/startup_dialog.h"
#include "shell/startup_dialog_texts.h"
#include "shell/startup_settings.h"
#include "support/temp_program_dir.h"

namespace {

using Action = std::function<void(HWND dialog)>;

// Runs the modal loop's turns: each turn takes the next action; the last one must end it.
struct Driver {
    std::vector<Action> actions;
    std::size_t next = 0;
    static void Idle(HWND dialog, void* context) {
        auto* self = static_cast<Driver*>(context);
        if (self->next >= self->actions.size()) {
            ADD_FAILURE() << "the dialog is still open after the last action";
            EndDialog(dialog, -2);
            return;
        }
        self->actions[self->next++](dialog);
    }
};

Action Click(int id) {
    return [id](HWND dialog) { EXPECT_TRUE(Win32ClickControl(GetDlgItem(dialog, id))) << id; };
}
Action Choose(int id, int index) {
    return [id, index](HWND dialog) {
        EXPECT_TRUE(Win32ChooseComboItem(GetDlgItem(dialog, id), index)) << id;
    };
}

class DialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        foundation_test::ResetState();
        win32_test::ForgetSettingsStore();
        ResetAppSettingsToDefaults();
        RegisterGameResources();
        win32_test::RecordShellActions(true);
        win32_test::ResetClipboard();
        win32_test::TakeShellOpens();
        d3d9_test::SetAdapterTable(shell_test::DialogTestAdapter());
        ASSERT_EQ(CreateD3DApplication(), 1);
        DisplaySettings = D3DPRESENT_PARAMETERS{};
        DisplaySettings.EnableAutoDepthStencil = TRUE;
    }
    void TearDown() override {
        win32_test::SetModalIdleHook(nullptr, nullptr);
        win32_test::RecordShellActions(false);
        DestroyD3DApplication();
        d3d9_test::ResetAdapterTable();
    }

    INT_PTR Run(WORD resource, DLGPROC procedure, std::vector<Action> actions,
                HWND owner = nullptr) {
        Driver driver{std::move(actions)};
        win32_test::SetModalIdleHook(&Driver::Idle, &driver);
        const INT_PTR result =
            DialogBoxParamA(nullptr, MAKEINTRESOURCEA(resource), owner, procedure, 0);
        win32_test::SetModalIdleHook(nullptr, nullptr);
        EXPECT_EQ(driver.next, driver.actions.size()) << "actions left over";
        return result;
    }

    static DWORD Stored(const char* name) { return ReadRegistryDword(kSettingsMain, name); }

    qvn::test::TempProgramDir dir_;
};

// A snapshot of what one page shows.
struct PageView {
    std::vector<UINT> checks;  // 1001, 1002, 1003, 1216: checked
    std::vector<BOOL> enabled;
    std::vector<std::string> modes;
    std::vector<std::string> depths;
    int modeSelection = -1;
};

PageView Look(HWND dialog) {
    PageView view;
    for (int id : {1001, 1002, 1003, 1216}) {
        view.checks.push_back(IsDlgButtonChecked(dialog, id));
        view.enabled.push_back(IsWindowEnabled(GetDlgItem(dialog, id)));
    }
    for (auto [id, list] : {std::pair{1264, &view.modes}, {1242, &view.depths}}) {
        const auto count = SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            char text[64] = {};
            SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(i),
                                reinterpret_cast<LPARAM>(text));
            list->push_back(text);
        }
    }
    view.modeSelection = static_cast<int>(SendDlgItemMessageA(dialog, 1264, CB_GETCURSEL, 0, 0));
    return view;
}

TEST_F(DialogsTest, StartupPagesStoreEveryChangeAtOnceAndEndWithTheirCodes) {
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, DWORD>> stored;  // before the page opens
        WORD page;
        std::vector<Action> actions;
        INT_PTR result;
        std::vector<std::pair<const char*, DWORD>> expected;
    };
    const Case cases[] = {
        {"start at once", {}, 109, {Click(1)}, 1, {}},
        {"back to the desktop", {}, 109, {Click(2)}, 2, {}},
        {"the detailed page", {}, 109, {Click(3)}, 3, {}},
        {"the simple page", {}, 210, {Click(1246)}, 1246, {}},
        {"closing is leaving", {}, 210, {[](HWND d) { SendMessageA(d, WM_CLOSE, 0, 0); }}, 2, {}},
        {"a window as large as the desktop becomes 800 x 600",
         {{"ScreenWidth", 1280}, {"ScreenHeight", 1024}},
         109,
         {Click(1001), Click(1)},
         1,
         {{"Fullscreen", 0}, {"ScreenWidth", 800}, {"ScreenHeight", 600}}},
        {"light preset",
         {},
         109,
         {Choose(1201, 2), Click(1)},
         1,
         {{"DrawMode", 2}, {"DepthFormat", 80}, {"FieldReduce", 1}, {"CharReduce", 0}}},
        {"lightest preset then custom keeps it",
         {},
         210,
         {Choose(1201, 3), Choose(1201, 4), Click(1)},
         1,
         {{"DrawMode", 4}, {"DepthFormat", 80}, {"FieldReduce", 2}, {"CharReduce", 1}}},
        {"full colour box makes the mode custom",
         {},
         210,
         {Click(1002), Click(1)},
         1,
         {{"DrawMode", 4}, {"Fullcolor", 1}, {"Vsync", 1}, {"HWCursor", 1}}},
        {"the desktop's mode",
         {},
         210,
         {Click(1265), Click(1)},
         1,
         {{"Fullscreen", 1},
          {"ScreenWidth", 1280},
          {"ScreenHeight", 1024},
          {"RefreshRate", 60},
          {"DrawMode", 4},
          {"Fullcolor", 1}}},
        {"back to the first state",
         {{"ScreenWidth", 1024}, {"ScreenHeight", 768}, {"RefreshRate", 75}, {"DrawMode", 3}},
         210,
         {Click(1266), Click(1)},
         1,
         {{"ScreenWidth", 800},
          {"ScreenHeight", 600},
          {"RefreshRate", 0},
          {"DrawMode", 0},
          {"Fullcolor", 1}}},
        {"a mode from the list",
         {{"Fullcolor", 1}},
         210,
         {Choose(1264, 2), Click(1)},
         1,
         {{"ScreenWidth", 1024}, {"ScreenHeight", 768}, {"RefreshRate", 60}}},
        {"depth, texture and character choices",
         {},
         210,
         {Choose(1242, 1), Choose(1243, 2), Choose(1244, 1), Click(1)},
         1,
         {{"DepthFormat", 80}, {"FieldReduce", 2}, {"CharReduce", 1}, {"DrawMode", 4}}},
        {"vertical sync off", {}, 210, {Click(1003), Click(1)}, 1, {{"Vsync", 0}, {"DrawMode", 0}}},
    };
    for (const Case& c : cases) {
        qvn::test::TempProgramDir dir;
        win32_test::ForgetSettingsStore();
        ResetAppSettingsToDefaults();
        for (auto [name, value] : c.stored) {
            WriteRegistryDword(kSettingsMain, name, value);
        }
        std::vector<Action> actions = c.actions;
        EXPECT_EQ(Run(c.page, StartupDialogProc, actions), c.result) << c.name;
        for (auto [name, value] : c.expected) {
            EXPECT_EQ(Stored(name), value) << c.name << ": " << name;
        }
    }
}

TEST_F(DialogsTest, StartupPageShowsTheModesFormatsAndRulesOfTheSettings) {
    // Full screen, 32-bit: every listed mode of X8R8G8B8 from 800 x 600, sorted; the depth
    // formats the adapter takes; 1024 x 768 at 75 Hz chosen.
    WriteRegistryDword(kSettingsMain, "Fullcolor", 1);
    WriteRegistryDword(kSettingsMain, "ScreenWidth", 1024);
    WriteRegistryDword(kSettingsMain, "ScreenHeight", 768);
    WriteRegistryDword(kSettingsMain, "RefreshRate", 75);
    PageView full;
    EXPECT_EQ(Run(210, StartupDialogProc, {[&](HWND d) { full = Look(d); }, Click(1)}), 1);
    const std::vector<std::string> fullModes = {
        "800 x 600 x 32 60KHz ",  "800 x 600 x 32 75KHz ",   "1024 x 768 x 32 60KHz ",
        "1024 x 768 x 32 75KHz ", "1280 x 1024 x 32 60KHz ", "1280 x 1024 x 32 75KHz "};
    EXPECT_EQ(full.modes, fullModes);
    EXPECT_EQ(full.modeSelection, 3);
    EXPECT_EQ(full.depths, (std::vector<std::string>{"AUTO", "16bit", "24bit"}));
    EXPECT_EQ(full.checks, (std::vector<UINT>{1, 1, 1, 1}));
    EXPECT_EQ(DisplaySettings.BackBufferWidth, 1024u);
    EXPECT_EQ(DisplaySettings.FullScreen_RefreshRateInHz, 75u);
    EXPECT_EQ(DisplaySettings.PresentationInterval, D3DPRESENT_INTERVAL_DEFAULT);

    // In a window: the sync box is off and disabled, the interval immediate, and only modes
    // smaller than the desktop at its rate are listed.
    WriteRegistryDword(kSettingsMain, "Fullscreen", 0);
    PageView window;
    EXPECT_EQ(Run(210, StartupDialogProc, {[&](HWND d) { window = Look(d); }, Click(2)}), 2);
    EXPECT_EQ(window.checks[0], 0u);
    EXPECT_EQ(window.checks[2], 0u);
    EXPECT_EQ(window.enabled[2], FALSE);
    EXPECT_EQ(window.enabled[1], FALSE) << "full colour needs full screen";
    EXPECT_EQ(DisplaySettings.PresentationInterval, D3DPRESENT_INTERVAL_IMMEDIATE);
    EXPECT_EQ(DisplaySettings.FullScreen_RefreshRateInHz, 0u);
}

TEST_F(DialogsTest, StartupCaptionAndHoverHelp) {
    std::string caption;
    std::string help;
    EXPECT_EQ(
        Run(109, StartupDialogProc,
            {[&](HWND d) {
                 char text[128] = {};
                 GetWindowTextA(d, text, sizeof text);
                 caption = text;
                 RECT box{};
                 GetWindowRect(GetDlgItem(d, 1001), &box);
                 RECT page{};
                 GetWindowRect(d, &page);
                 Win32PointInDialog(d, POINT{box.left - page.left + 3, box.top - page.top + 3}, 0);
                 GetDlgItemTextA(d, 1010, text, sizeof text);
                 help = text;
             },
             Click(1)}),
        1);
    EXPECT_EQ(caption, "Quorvane \201`Ostrevia Ver.1.00");
    EXPECT_EQ(help, std::string(kHelpFullScreen).substr(0, 127));
}

// The pointer at the middle of each control with hover help, on both pages, shows that control's
// own text: a closed drop-down list takes no pointer below its closed box (the list it opens
// would reach over the controls below it).
TEST_F(DialogsTest, HoverHelpOfEveryControlOnBothPagesIsItsOwn) {
    const std::pair<int, const char*> helps[] = {
        {1001, kHelpFullScreen}, {1002, kHelpFullColor},   {1, kHelpStart},
        {2, kHelpQuit},          {3, kHelpAdvanced},       {1246, kHelpSimple},
        {1201, kHelpDrawMode},   {1242, kHelpDepth},       {1243, kHelpFieldReduce},
        {1244, kHelpCharReduce}, {1003, kHelpVsync},       {1216, kHelpHardwareCursor},
        {1264, kHelpScreenMode}, {1266, kHelpDefaultMode}, {1265, kHelpDesktopMode},
    };
    for (WORD page : {WORD{109}, WORD{210}}) {
        int pointed = 0;
        Run(page, StartupDialogProc,
            {[&](HWND d) {
                 POINT origin{0, 0};
                 ClientToScreen(d, &origin);
                 for (const auto& [id, text] : helps) {
                     HWND control = GetDlgItem(d, id);
                     if (control == nullptr) {
                         continue;
                     }
                     RECT box{};
                     GetWindowRect(control, &box);
                     const POINT middle{(box.left + box.right) / 2 - origin.x,
                                        (box.top + box.bottom) / 2 - origin.y};
                     // The first move tells the control under the pointer before (which holds
                     // the pointer while it is over it) that the pointer has left.
                     Win32PointInDialog(d, middle, 0);
                     Win32PointInDialog(d, middle, 0);
                     char shown[512] = {};
                     GetDlgItemTextA(d, 1010, shown, sizeof shown);
                     EXPECT_STREQ(shown, text) << "page " << page << ", control " << id;
                     ++pointed;
                 }
             },
             Click(2)});
        EXPECT_EQ(pointed, page == 109 ? 5 : 14) << page;
    }
}

// The pages of one run share a centre, whatever their size: the screen's, or wherever the player
// moved a page to. Alt+A shows the detailed page, Alt+E the simple one again.
TEST_F(DialogsTest, StartupPagesAreCentredWhereThePageBeforeStood) {
    win32_test::SetDesktopSize(1280, 1024);
    auto press = [](HWND dialog, std::initializer_list<UINT> keys) {
        for (UINT key : keys) {
            win32_test::InjectKey(dialog, key, true);
        }
        for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
            win32_test::InjectKey(dialog, *key, false);
        }
    };
    struct Case {
        const char* name;
        bool moved;
        POINT centre;
    };
    const Case cases[] = {
        {"never moved: centred on the screen", false, {640, 512}},
        // The simple page (330 x 230) dragged to (60, 40).
        {"moved: centred where the player left the page", true, {225, 155}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        struct Seen {
            WORD page;
            POINT centre;
            LONG width;
        };
        std::vector<Seen> seen;
        auto look = [&seen](HWND dialog) {
            RECT rect{};
            GetWindowRect(dialog, &rect);
            seen.push_back({Win32DialogResource(dialog),
                            POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2},
                            RectWidth(rect)});
        };
        std::vector<Action> steps;
        if (c.moved) {
            steps.push_back([](HWND d) { win32_test::InjectMove(d, 60, 40); });
        }
        steps.push_back([&](HWND d) {
            look(d);
            press(d, {VK_MENU, 'A'});
        });
        steps.push_back([&](HWND d) {
            look(d);
            press(d, {VK_MENU, 'E'});
        });
        steps.push_back([&](HWND d) {
            look(d);
            press(d, {VK_RETURN});
        });
        Driver driver{steps};
        win32_test::SetModalIdleHook(&Driver::Idle, &driver);
        EXPECT_TRUE(RunStartupDialogLoop(RunStartupSettingsDialog));
        win32_test::SetModalIdleHook(nullptr, nullptr);
        ASSERT_EQ(seen.size(), 3u);
        EXPECT_EQ(seen[1].page, 210);
        EXPECT_GT(seen[1].width, seen[0].width) << "the detailed page is the larger";
        for (const Seen& page : seen) {
            EXPECT_NEAR(page.centre.x, c.centre.x, 2) << "page " << page.page;
            EXPECT_NEAR(page.centre.y, c.centre.y, 2) << "page " << page.page;
        }
    }
    win32_test::SetDesktopSize(0, 0);
}

TEST_F(DialogsTest, NoticeCopiesTheOldLogAndEndsWithItsButtons) {
    struct Case {
        const char* name;
        const char* oldLog;  // null: none
        const char* support;
        int button;
        std::string clipboard;
    };
    const Case cases[] = {
        {"log and support text", "old line\r\n", "please help\r\n", 1,
         "old line\r\nplease help\r\n"},
        {"log alone", "old line\r\n", nullptr, 2, "old line\r\n"},
        // Without an old log the log of this run is copied.
        {"no old log", nullptr, "please help\r\n", 1, "this run's first line\r\nplease help\r\n"},
    };
    for (const Case& c : cases) {
        qvn::test::TempProgramDir dir;
        foundation_test::ResetState();
        win32_test::ForgetSettingsStore();
        win32_test::ResetClipboard();
        WriteSafetyQuit(1);
        dir.writeFile("data/emergency.txt", "advice");
        if (c.oldLog != nullptr) {
            dir.writeFile("qvn.log", c.oldLog);
        }
        if (c.support != nullptr) {
            dir.writeFile("data/support.txt", c.support);
        }
        KeepPreviousLog();
        LogPrintf("this run's first line");
        std::string advice;
        EXPECT_EQ(Run(kNoticeDialogResource, NoticeDialogProc,
                      {[&](HWND d) {
                           char text[64] = {};
                           GetDlgItemTextA(d, 1152, text, sizeof text);
                           advice = text;
                       },
                       Click(3), Click(3), Click(c.button)}),
                  c.button)
            << c.name;
        EXPECT_EQ(advice, "advice") << c.name;
        EXPECT_EQ(win32_test::ClipboardText(), c.clipboard) << c.name;
        EXPECT_EQ(win32_test::TakeShellOpens(),
                  (std::vector<std::string>{kSupportMailAddress, kSupportMailAddress}))
            << c.name;
        EXPECT_EQ(ReadSafetyQuit(), 0u) << c.name;
        ForgetPreviousLog();
    }
}

TEST_F(DialogsTest, VersionShowsTheProductAndIcon) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "dialogs_test_owner";
    RegisterClassExA(&windowClass);
    HWND owner = CreateWindowExA(0, "dialogs_test_owner", "Quorvane \201`Ostrevia", WS_POPUP, 0, 0,
                                 800, 600, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    std::string text;
    HICON icon = nullptr;
    EXPECT_EQ(Run(kVersionDialogResource, VersionDialogProc,
                  {[&](HWND d) {
                       char buffer[128] = {};
                       GetDlgItemTextA(d, 1000, buffer, sizeof buffer);
                       text = buffer;
                       icon =
                           reinterpret_cast<HICON>(SendDlgItemMessageA(d, 1228, STM_GETICON, 0, 0));
                       EXPECT_FALSE(IsWindowEnabled(owner)) << "the owner waits";
                   },
                   Click(1)},
                  owner),
              1);
    EXPECT_EQ(text, "Quorvane \201`Ostrevia Ver.1.00\r\n(C) Velkaro  All rights reserved.");
    EXPECT_NE(icon, nullptr);
    EXPECT_EQ(Win32IconPixels(icon), nullptr) << "the icon is destroyed with the dialog";
    EXPECT_TRUE(IsWindowEnabled(owner));
    DestroyWindow(owner);
    UnregisterClassA("dialogs_test_owner", nullptr);
}

}  // namespace
