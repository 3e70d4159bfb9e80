// The start-up dialog and the preferences worked by the keyboard alone, as a player presses the
// keys, with nothing drawn: what the dialog procedure hears and the settings the keys make.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dialog_driver.h"
#include "foundation/app_settings.h"
#include "foundation/foundation_test.h"
#include "foundation/registry_settings.h"
#include "media/graphics/d3d_application.h"
#include "platform/d3d9/d3d9_test.h"
#include "platform/win32/dialog_api.h"
#include "platform/win32/menu_api.h"
#include "platform/win32/message_keys.h"
#include "platform/win32/shell_test_hooks.h"
#include "platform/win32/window_api.h"
#include "platform/winbase/test_hooks.h"
#include "resources/game_resources.h"
#include "script/script_variables.h"
#include "shell/game_window.h"
#include "shell/preferences_dialog.h"
#include "shell/startup_dialog.h"
#include "support/temp_program_dir.h"

namespace {

// One key pressed and let go, with Shift or Alt held around it.
struct Stroke {
    UINT key;
    UINT held = 0;  // VK_SHIFT, VK_MENU or 0
};
constexpr Stroke Alt(UINT key) {
    return Stroke{key, VK_MENU};
}
constexpr Stroke Shift(UINT key) {
    return Stroke{key, VK_SHIFT};
}

// What the dialog procedure heard from the controls: "command <id> <code>", "notify <id> <code>".
std::vector<std::string> heard;
DLGPROC heardProcedure = nullptr;

INT_PTR Listening(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        heard.push_back("command " + std::to_string(LOWORD(wParam)) + " " +
                        std::to_string(HIWORD(wParam)));
    } else if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        heard.push_back("notify " + std::to_string(header->idFrom) + " " +
                        std::to_string(static_cast<int>(header->code)));
    }
    return heardProcedure(dialog, message, wParam, lParam);
}

class DialogKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        foundation_test::ResetState();
        RegisterGameResources();
        d3d9_test::SetAdapterTable(shell_test::DialogTestAdapter());
        ASSERT_EQ(CreateD3DApplication(), 1);
        D3DApp->CheckDevice(0, D3DDEVTYPE_HAL);
        ScriptVariables.assign(20, 0);
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = "dialog_keys_owner";
        RegisterClassExA(&windowClass);
        MainWindow = CreateWindowExA(0, "dialog_keys_owner", "game", 0, 0, 0, 800, 600, nullptr,
                                     nullptr, nullptr, nullptr);
    }
    void TearDown() override {
        DestroyD3DApplication();
        d3d9_test::ResetAdapterTable();
        ScriptVariables.clear();
        DestroyWindow(MainWindow);
        MainWindow = nullptr;
        UnregisterClassA("dialog_keys_owner", nullptr);
    }
};

void Press(HWND window, const Stroke& stroke) {
    if (stroke.held != 0) {
        win32_test::InjectKey(window, stroke.held, true);
    }
    win32_test::InjectKey(window, stroke.key, true);
    win32_test::InjectKey(window, stroke.key, false);
    if (stroke.held != 0) {
        win32_test::InjectKey(window, stroke.held, false);
    }
}

TEST_F(DialogKeysTest, KeysWorkTheStartupDialogAndThePreferencesAsTheMouseDoes) {
    enum Dialog { kSimplePage = 109, kDetailedPage = 210, kPreferences = 163 };
    struct Case {
        const char* name;
        Dialog dialog;
        std::vector<Stroke> strokes;
        INT_PTR result;
        std::vector<std::string> heard;
        std::vector<std::pair<const char*, DWORD>> stored;
    };
    const Case cases[] = {
        // The simple page; the focus starts on the draw-mode list, its first tab stop.
        {"Alt+F switches full screen off; Return starts",
         kSimplePage,
         {Alt('F'), {VK_RETURN}},
         1,
         {"command 1001 0", "command 1 0"},
         {{"Fullscreen", 0}}},
        {"F alone does so outside an edit field; Escape leaves",
         kSimplePage,
         {{'F'}, {VK_ESCAPE}},
         2,
         {"command 1001 0", "command 2 0"},
         {{"Fullscreen", 0}}},
        {"Tab reaches the check box and Space toggles it",
         kSimplePage,
         {{VK_TAB}, {VK_SPACE}, {VK_RETURN}},
         1,
         {"command 1001 0", "command 1 0"},
         {{"Fullscreen", 0}}},
        {"Alt+A opens the detailed page", kSimplePage, {Alt('A')}, 3, {"command 3 0"}, {}},
        {"a push button the focus reaches is the one Return presses",
         kSimplePage,
         {{VK_TAB}, {VK_TAB}, {VK_RETURN}},
         3,
         {"command 3 0"},
         {}},
        {"Shift+Tab wraps to the last button",
         kSimplePage,
         {Shift(VK_TAB), {VK_RETURN}},
         2,
         {"command 2 0"},
         {}},
        {"Down on the draw-mode list picks the next preset",
         kSimplePage,
         {{VK_DOWN}, {VK_RETURN}},
         1,
         {"command 1201 1", "command 1 0"},
         {{"DrawMode", 1}, {"Fullcolor", 0}}},
        {"Alt+Down opens the list, whose keys choose, and Escape closes only the list",
         kSimplePage,
         {Alt(VK_DOWN), {VK_DOWN}, {VK_DOWN}, {VK_ESCAPE}, {VK_RETURN}},
         1,
         {"command 1201 1", "command 1201 1", "command 1 0"},
         {{"DrawMode", 2}, {"DepthFormat", 80}}},
        // The detailed page.
        {"Alt+C and Alt+V switch their boxes",
         kDetailedPage,
         {Alt('C'), Alt('V'), {VK_RETURN}},
         1,
         {"command 1002 0", "command 1003 0", "command 1 0"},
         {{"Fullcolor", 1}, {"Vsync", 0}, {"DrawMode", 4}}},
        // The preferences, opened on the sound page; the focus starts on the tab control.
        {"Tab enters the page: Right and Page Down move the music slider",
         kPreferences,
         {{VK_TAB}, {VK_RIGHT}, {VK_NEXT}, {VK_ESCAPE}},
         1,
         {},
         {{"MusicVolume", 9001}}},
        {"End and Page Up on the next slider, Home back on the first",
         kPreferences,
         {{VK_TAB}, {VK_TAB}, {VK_END}, {VK_PRIOR}, Shift(VK_TAB), {VK_HOME}, {VK_ESCAPE}},
         1,
         {},
         {{"MusicVolume", 0}, {"SoundVolume", 8000}}},
        {"Right on the tab control shows the next page; Shift+Tab wraps back into it",
         kPreferences,
         {{VK_RIGHT}, Shift(VK_TAB), Shift(VK_TAB), {VK_RIGHT}, {VK_ESCAPE}},
         1,
         {"notify 1203 -552", "notify 1203 -551"},
         {{"MusicVolume", 7000}, {"MsgAutoInterval", 2000}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        qvn::test::TempProgramDir dir;
        win32_test::ForgetSettingsStore();
        ResetAppSettingsToDefaults();
        MusicVolume = 7000;
        SoundVolume = 5000;
        MsgAutoInterval = 1000;
        heard.clear();
        heardProcedure = c.dialog == kPreferences ? PreferencesDialogProc : StartupDialogProc;
        INT_PTR result = 0;
        {
            shell_test::StepDriver driver({[&c](HWND dialog) {
                for (const Stroke& stroke : c.strokes) {
                    Press(dialog, stroke);
                }
            }});
            result = DialogBoxParamA(nullptr, MAKEINTRESOURCEA(c.dialog), MainWindow, Listening,
                                     kCommandPreferences);
        }
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(heard, c.heard);
        for (const auto& [name, value] : c.stored) {
            EXPECT_EQ(ReadRegistryDword(kSettingsMain, name), value) << name;
        }
    }
}

}  // namespace
