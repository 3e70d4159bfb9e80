// The dialogs, the preference pages, the variable editor, the close question and the menu bar
// as they are drawn: golden images of the pictures presented, on a display that shows nothing
// (drawn all the same for the test).

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "adventure/adventure_frame.h"
#include "adventure/save_file.h"
#include "adventure/save_slot_table.h"
#include "adventure/save_texts.h"
#include "adventure/variable_editor.h"
#include "dialog_driver.h"
#include "foundation/app_settings.h"
#include "foundation/foundation_test.h"
#include "foundation/log.h"
#include "foundation/registry_settings.h"
#include "media/graphics/d3d_application.h"
#include "media/graphics/d3d_functions.h"
#include "platform/d3d9/d3d9_test.h"
#include "platform/d3d9/present_overlay.h"
#include "platform/ui/ui_presentation.h"
#include "platform/win32/client_mapping.h"
#include "platform/win32/controls_api.h"
#include "platform/win32/dialog_input.h"
#include "platform/win32/menu_api.h"
#include "platform/win32/menu_tracker.h"
#include "platform/win32/message_box.h"
#include "platform/win32/message_keys.h"
#include "platform/win32/paint_api.h"
#include "platform/win32/sdl_host.h"
#include "platform/win32/sdl_test_hooks.h"
#include "platform/win32/shell_test_hooks.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_placement.h"
#include "platform/winbase/code_page.h"
#include "platform/winbase/test_hooks.h"
#include "resources/game_resources.h"
#include "script/script_variables.h"
#include "shell/game_menu.h"
#include "shell/game_window.h"
#include "shell/notice_dialogs.h"
#include "shell/preferences_dialog.h"
#include "shell/shell_texts.h"
#include "shell/startup_dialog.h"
#include "shell/system_info.h"
#include "support/golden_image.h"
#include "support/temp_program_dir.h"

namespace {

using shell_test::Step;
using shell_test::StepDriver;

constexpr char kGameClass[] = "dialog_pictures_game";

// The game window's stand-in: its frame is bands of colour, and its popups take the game's item
// states.
LRESULT GameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint{};
            BeginPaint(window, &paint);
            if (IDirect3DDevice9* device = CurrentDevice()) {
                static constexpr D3DCOLOR kBands[] = {0xFF203A5Cu, 0xFF2E5A7Eu, 0xFF4A7FA3u,
                                                      0xFF7FAFC8u};
                for (int band = 0; band < 4; ++band) {
                    const D3DRECT rect{0, band * 150, 800, band * 150 + 150};
                    device->Clear(1, &rect, D3DCLEAR_TARGET, kBands[band], 1.0f, 0);
                }
                device->Present(nullptr, nullptr, nullptr, nullptr);
            }
            EndPaint(window, &paint);
            return 0;
        }
        case WM_INITMENUPOPUP:
            UpdateMenuItemStates(reinterpret_cast<HMENU>(wParam));
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

class DialogPicturesTest : public ::testing::Test {
protected:
    void SetUp() override {
        foundation_test::ResetState();
        win32_test::ForgetSettingsStore();
        win32_test::ResetWindowInput();
        ResetAppSettingsToDefaults();
        RegisterGameResources();
        d3d9_test::SetAdapterTable(shell_test::DialogTestAdapter());
        ASSERT_EQ(CreateD3DApplication(), 1);
        DisplaySettings = D3DPRESENT_PARAMETERS{};
        DisplaySettings.EnableAutoDepthStencil = TRUE;
        ui::InstallUiPresentation();
        ui::DrawOnHeadlessDisplay(true);
        d3d9_test::KeepPresentedPictures(true);
        win32_test::RecordShellActions(true);
    }
    void TearDown() override {
        if (window_ != nullptr) {
            DestroyWindow(window_);
            ReleaseMainMenu();
            UnregisterClassA(kGameClass, nullptr);
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
        d3d9_test::KeepPresentedPictures(false);
        ui::DrawOnHeadlessDisplay(false);
        ui::RemoveUiPresentation();
        win32_test::RecordShellActions(false);
        DestroyD3DApplication();
        d3d9_test::ResetAdapterTable();
        win32_test::ResetWindowInput();
        SkipActive = 0;
        AutoMode = 0;
        TitleReturnEnabled = 1;
    }

    // A windowed 800 x 600 game window with menu 102 and the game's device.
    void MakeGameWindow() {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = GameProc;
        windowClass.lpszClassName = kGameClass;
        ASSERT_NE(RegisterClassExA(&windowClass), 0);
        RECT rect{0, 0, 800, 600};
        AdjustWindowRectEx(&rect, kWindowedStyle, TRUE, WS_EX_APPWINDOW);
        window_ =
            CreateWindowExA(WS_EX_APPWINDOW, kGameClass, kWindowTitle, kWindowedStyle, 40, 30,
                            RectWidth(rect), RectHeight(rect), nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
        MainWindow = window_;
        MainMenu = LoadMenuA(nullptr, MAKEINTRESOURCEA(kGameMenuResource));
        SetMenu(window_, MainMenu);
        ShowWindow(window_, SW_SHOW);
        DisplaySettings.hDeviceWindow = window_;
        DisplaySettings.BackBufferWidth = 800;
        DisplaySettings.BackBufferHeight = 600;
        DisplaySettings.BackBufferFormat = D3DFMT_X8R8G8B8;
        DisplaySettings.BackBufferCount = 1;
        DisplaySettings.SwapEffect = D3DSWAPEFFECT_DISCARD;
        DisplaySettings.Windowed = TRUE;
        DisplaySettings.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
        DisplaySettings.AutoDepthStencilFormat = D3DFMT_D16;
        D3DApp->CheckDevice(0, D3DDEVTYPE_HAL);
        ASSERT_TRUE(SUCCEEDED(D3DApp->SetDevice(window_, &DisplaySettings, D3DApp->adapter,
                                                D3DApp->deviceType, 0x44)));
        Pump();
    }

    static void Pump() {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }

    HWND window_ = nullptr;
};

// The last picture presented into `window` against the golden image `name`.
Step ExpectPicture(HWND window, const char* name) {
    return [window, name](HWND modalWindow) {
        const HWND shown = window != nullptr ? window : modalWindow;
        const d3d9_test::PresentedPicture picture =
            d3d9_test::LastPresentedPicture(d3d9_internal::FindDeviceOfWindow(shown));
        ASSERT_GT(picture.width, 0) << name;
        EXPECT_EQ(qvn::test::CompareImageWithGolden(name, picture.width, picture.height,
                                                    picture.argb.data(), picture.width),
                  "");
    };
}

void PressKey(HWND window, UINT key) {
    win32_test::InjectKey(window, key, true);
    win32_test::InjectKey(window, key, false);
}

Step ClickControl(int id) {
    return [id](HWND dialog) { EXPECT_TRUE(Win32ClickControl(GetDlgItem(dialog, id))) << id; };
}

// The pointer moved to the middle of control `id` (on a page too), as a player points at it:
// its help shows in the help field. `surface`: the window the dialog is drawn in, null for the
// dialog's own.
Step PointAt(HWND surface, int id) {
    return [surface, id](HWND dialog) {
        const HWND shown = surface != nullptr ? surface : dialog;
        RECT rect{};
        ASSERT_TRUE(GetWindowRect(Win32FindDialogControl(dialog, id), &rect)) << id;
        POINT middle{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        ScreenToClient(shown, &middle);
        win32_test::InjectMouseMove(shown, middle.x, middle.y);
    };
}

TEST_F(DialogPicturesTest, StartupNoticeAndVersionDialogs) {
    qvn::test::TempProgramDir dir;
    dir.writeFile("data/emergency.txt",
                  Utf8ToCp932("ゲームの動作に問題が起きたときは、ビデオカードのドライバを更新して"
                              "ください。\r\n直らないときは、下のボタンでサポートにご連絡ください"
                              "。ログがクリップボードに写されます。")
                      .value());
    // Full colour in full screen: 32-bit modes on both pages.
    WriteRegistryDword(kSettingsMain, "Fullcolor", 1);
    {
        StepDriver driver({ExpectPicture(nullptr, "dialog_startup_simple"), ClickControl(1)});
        EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(109), nullptr, StartupDialogProc, 0),
                  1);
    }
    {
        StepDriver driver({PointAt(nullptr, 1001),
                           ExpectPicture(nullptr, "dialog_startup_detailed"), ClickControl(2)});
        EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(210), nullptr, StartupDialogProc, 0),
                  2);
    }
    {
        StepDriver driver({ExpectPicture(nullptr, "dialog_notice"), ClickControl(1)});
        EXPECT_EQ(RunNoticeDialog(), 1);
    }
    MakeGameWindow();
    {
        StepDriver driver({ExpectPicture(window_, "dialog_version"), ClickControl(1)});
        ShowVersionDialog(window_);
    }
    {
        StepDriver driver({ExpectPicture(window_, "dialog_close_question"), ClickControl(IDNO)});
        EXPECT_EQ(MessageBoxA(window_, kCloseQuestionText, kConfirmCaption, 0x144), IDNO);
    }
    {
        // The save menu's overwrite question with two titles as long as a save keeps them: the
        // box grows to hold the whole question, each of its lines within the text's field.
        const auto saveTitle = [](const char* utf8, char* field) {
            SetSaveText(field, kSaveTitleSize, Utf8ToCp932(utf8).value().c_str());
        };
        char oldTitle[kSaveTitleSize];
        char newTitle[kSaveTitleSize];
        saveTitle("12月 4週 日曜 北の果ての駅から南の海辺の町まで続く長い長い旅の終わり", oldTitle);
        saveTitle("5月 2週 土曜 切符売り場から見える一番線ホームの端にある古い待合室", newTitle);
        ASSERT_EQ(std::strlen(newTitle), kSaveTitleSize - 1);
        char question[512];
        std::snprintf(question, sizeof question, kOverwriteQuestionFormat, oldTitle, newTitle);
        const auto wholeInItsField = [&question](HWND box) {
            const HWND field = GetDlgItem(box, 0xFFFF);
            char shown[512] = {};
            GetWindowTextA(field, shown, sizeof shown);
            RECT rect{};
            GetWindowRect(field, &rect);
            std::string text = shown;
            int lines = 0;
            for (std::size_t start = 0; start != std::string::npos; ++lines) {
                const std::size_t end = text.find('\n', start);
                const std::string line = text.substr(start, end - start);
                EXPECT_LE(win32_internal::MeasureMenuText(line), RectWidth(rect)) << lines;
                start = end == std::string::npos ? end : end + 1;
            }
            EXPECT_GE(RectHeight(rect), lines * 13) << "a field of " << lines << " lines";
            std::string whole = question;
            std::erase(whole, ' ');
            std::erase(text, ' ');
            std::erase(text, '\n');
            EXPECT_EQ(text, whole);
        };
        StepDriver driver({ExpectPicture(window_, "dialog_overwrite_question"), wholeInItsField,
                           ClickControl(IDNO)});
        EXPECT_EQ(MessageBoxA(window_, question, kConfirmCaption, 0x104), IDNO);
    }
}

// The draw-mode list of the start-up dialog opened by a click: drawn opaque over the controls
// below it with its last entry whole; Escape closes the list alone, and the dialog goes on.
TEST_F(DialogPicturesTest, StartupDropDownListOpensOpaqueAndEscapeClosesItAlone) {
    const auto clickList = [](HWND dialog) {
        RECT box{};
        GetWindowRect(GetDlgItem(dialog, 1201), &box);
        POINT middle{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
        ScreenToClient(dialog, &middle);
        win32_test::InjectMouseMove(dialog, middle.x, middle.y);
        win32_test::InjectMouseButton(dialog, 0, true, middle.x, middle.y);
        win32_test::InjectMouseButton(dialog, 0, false, middle.x, middle.y);
    };
    const auto escape = [](HWND dialog) { PressKey(dialog, VK_ESCAPE); };
    StepDriver driver({clickList, ExpectPicture(nullptr, "dialog_startup_list_open"), escape,
                       ExpectPicture(nullptr, "dialog_startup_list_closed"), ClickControl(1)});
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(109), nullptr, StartupDialogProc, 0), 1);
}

TEST_F(DialogPicturesTest, DrawnBoxAnswersTheKeysAsABoxDoes) {
    MakeGameWindow();
    struct Case {
        const char* name;
        std::vector<UINT> keys;
        int answer;
    };
    const Case cases[] = {
        {"Enter takes the default button", {VK_RETURN}, IDNO},
        {"Escape is No for a question", {VK_ESCAPE}, IDNO},
        {"Left moves to Yes", {VK_LEFT, VK_RETURN}, IDYES},
        {"and Right back to No", {VK_LEFT, VK_RIGHT, VK_RETURN}, IDNO},
        {"Space presses the button the arrows reached", {VK_LEFT, VK_SPACE}, IDYES},
        {"Y answers Yes: its button reads \"はい(Y)\"", {'Y'}, IDYES},
    };
    const HWND window = window_;
    for (const Case& c : cases) {
        StepDriver driver({[&](HWND) {
            for (UINT key : c.keys) {
                win32_test::InjectKey(window, key, true);
                win32_test::InjectKey(window, key, false);
            }
        }});
        EXPECT_EQ(MessageBoxA(window, kCloseQuestionText, kConfirmCaption, 0x144), c.answer)
            << c.name;
    }
}

// The game window shown larger than its picture by the desktop (a window manager that sizes
// windows itself): the picture is scaled to fit, and a click at the drawn centre of each button
// of the close question presses that button.
TEST_F(DialogPicturesTest, ClicksOnAScaledWindowLandWhereTheButtonsAreDrawn) {
    setenv("SDL_RENDER_DRIVER", "software", 1);
    setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 1);
    ASSERT_TRUE(Win32InitSdl(0x20u));  // video
    MakeGameWindow();
    InvalidateRect(window_, nullptr, FALSE);
    Pump();  // the picture presented into the window
    RECT picture{};
    GetWindowRect(window_, &picture);
    struct Case {
        SIZE output;
        int button;
    };
    for (const Case& c : {Case{{1024, 787}, IDYES}, Case{{1024, 787}, IDNO},
                          Case{{1280, 1024}, IDYES}, Case{{700, 700}, IDNO}}) {
        ASSERT_TRUE(win32_test::ResizeSdlWindow(window_, c.output.cx, c.output.cy));
        Pump();
        RECT kept{};
        GetWindowRect(window_, &kept);
        EXPECT_EQ(RectWidth(kept), RectWidth(picture)) << "the window keeps its picture's size";
        const HWND window = window_;
        StepDriver driver({[&](HWND box) {
            RECT button{};
            ASSERT_TRUE(GetWindowRect(GetDlgItem(box, c.button), &button));
            const win32_internal::PictureFit fit =
                win32_internal::FitPicture(SIZE{RectWidth(picture), RectHeight(picture)}, c.output);
            const auto drawn = [&](LONG from, LONG to, LONG origin, LONG offset) {
                return static_cast<int>(offset + ((from + to) / 2.0 - origin) * fit.scale);
            };
            const int x = drawn(button.left, button.right, picture.left, fit.area.left);
            const int y = drawn(button.top, button.bottom, picture.top, fit.area.top);
            win32_test::PushSdlMouseMotion(window, x, y);
            win32_test::PushSdlMouseButton(window, 1, true, x, y);
            win32_test::PushSdlMouseButton(window, 1, false, x, y);
        }});
        EXPECT_EQ(MessageBoxA(window_, kCloseQuestionText, kConfirmCaption, 0x144), c.button)
            << c.output.cx << " x " << c.output.cy;
    }
}

// The centre of item `item` of level `level` of the window's open menu, in client coordinates.
POINT MenuItemCentre(HWND window, std::size_t level, int item) {
    const win32_internal::MenuTracker* tracker = win32_internal::ActiveMenuTracker(window);
    if (tracker == nullptr || level >= tracker->levels().size()) {
        ADD_FAILURE() << "no menu level " << level << " is open";
        return POINT{};
    }
    const RECT& rect = tracker->levels()[level].items[static_cast<std::size_t>(item)];
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2 - kMenuBarHeight};
}

TEST_F(DialogPicturesTest, MenuBarOpenedOnEachMenuAndAPopupMenu) {
    // No save files but slot 05, set in the table as a save of it would: the slot items show
    // its date, time and title, the others the empty text (and greyed for loading).
    qvn::test::TempProgramDir dir;
    ForgetSaveSlots();
    ScanSaveSlots(nullptr);
    SaveSlotRecord& saved = SaveSlots[5];
    SetSaveText(saved.title, kSaveTitleSize,
                Utf8ToCp932("4月 1週 平日 北の駅").value_or("?").c_str());
    saved.time = SYSTEMTIME{2024, 4, 1, 1, 9, 30, 0, 0};
    saved.used = 1;
    MakeGameWindow();
    TitleReturnEnabled = 0;
    SkipActive = 1;
    AutoMode = 1;
    const win32_internal::MenuTracker bar =
        win32_internal::MenuTracker::ForBar(window_, SIZE{800, 619});
    const auto barCentre = [&](int item) {
        const RECT& rect = bar.levels()[0].items[static_cast<std::size_t>(item)];
        return POINT{(rect.left + rect.right) / 2, -kMenuBarHeight / 2};
    };
    const HWND window = window_;
    {
        // A click on "File" opens it; the pointer on "Load" opens its slots; a click elsewhere
        // closes the menu without a command.
        StepDriver driver({[&](HWND) {
                               const POINT load = MenuItemCentre(window, 1, 0);
                               win32_test::InjectMouseMove(window, load.x, load.y);
                           },
                           ExpectPicture(window, "menu_file_load"),
                           [&](HWND) {
                               win32_test::InjectMouseButton(window, 0, true, 790, 590);
                               win32_test::InjectMouseButton(window, 0, false, 790, 590);
                           }});
        const POINT file = barCentre(0);
        win32_test::InjectMouseButton(window, 0, true, file.x, file.y);
        win32_test::InjectMouseButton(window, 0, false, file.x, file.y);
        Pump();
    }
    {
        // "Settings" with both play modes checked; Escape twice closes it.
        StepDriver driver({ExpectPicture(window, "menu_settings"), [&](HWND) {
                               PressKey(window, VK_ESCAPE);
                               PressKey(window, VK_ESCAPE);
                           }});
        const POINT settings = barCentre(1);
        win32_test::InjectMouseButton(window, 0, true, settings.x, settings.y);
        win32_test::InjectMouseButton(window, 0, false, settings.x, settings.y);
        Pump();
    }
    {
        // Alt alone enters the bar; Left wraps to "Help", Down opens it on its first item, Enter
        // chooses the web site.
        StepDriver driver({[&](HWND) {
                               PressKey(window, VK_LEFT);
                               PressKey(window, VK_DOWN);
                           },
                           ExpectPicture(window, "menu_help"),
                           [&](HWND) { PressKey(window, VK_RETURN); }});
        PressKey(window, VK_MENU);
        MSG message{};
        std::vector<WPARAM> commands;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_COMMAND) {
                commands.push_back(message.wParam);
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        EXPECT_EQ(commands, (std::vector<WPARAM>{40095}));
    }
    {
        // The load slots as a popup menu centred under a point; a click on "05" returns it.
        StepDriver driver({ExpectPicture(window, "menu_popup_load"), [&](HWND) {
                               const POINT slot = MenuItemCentre(window, 0, 5);
                               win32_test::InjectMouseButton(window, 0, true, slot.x, slot.y);
                               win32_test::InjectMouseButton(window, 0, false, slot.x, slot.y);
                           }});
        POINT at{400, 120};
        ClientToScreen(window, &at);
        HMENU load = GetSubMenu(GetSubMenu(MainMenu, 0), 0);
        EXPECT_EQ(
            TrackPopupMenuEx(load, TPM_CENTERALIGN | TPM_RETURNCMD, at.x, at.y, window, nullptr),
            40205);
    }
    ForgetSaveSlots();
}

// A modeless list of values beside the game: columns and rows at WM_INITDIALOG, a value changed
// by WM_USER, and the notifications it gets.
struct ValueList {
    static inline std::vector<int> labelEdits;
    static INT_PTR Proc(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
        HWND list = GetDlgItem(dialog, 1004);
        switch (message) {
            case WM_INITDIALOG: {
                const std::pair<const char*, int> columns[] = {
                    {"No.", 0}, {"Name", 80}, {"Dec", 40}, {"Hex", 80}, {"Comment", 100}};
                for (int i = 0; i < 5; ++i) {
                    LVCOLUMNA column{LVCF_TEXT | LVCF_WIDTH,
                                     0,
                                     columns[i].second,
                                     const_cast<char*>(columns[i].first),
                                     0,
                                     i};
                    SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i),
                                 reinterpret_cast<LPARAM>(&column));
                }
                const char* const rows[][5] = {{"0", "flag", "0", "00000000", "first"},
                                               {"1", "month", "4", "00000004", "April"},
                                               {"2", "day", "1", "00000001", ""}};
                for (int row = 0; row < 3; ++row) {
                    LVITEMA item{LVIF_TEXT, row, 0, 0, 0, const_cast<char*>(rows[row][0]), 0, 0, 0};
                    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
                    for (int cell = 1; cell < 5; ++cell) {
                        item.iSubItem = cell;
                        item.pszText = const_cast<char*>(rows[row][cell]);
                        SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row),
                                     reinterpret_cast<LPARAM>(&item));
                    }
                }
                return TRUE;
            }
            case WM_USER: {
                LVITEMA item{LVIF_TEXT, 1, 2, 0, 0, const_cast<char*>("42"), 0, 0, 0};
                SendMessageA(list, LVM_SETITEMTEXTA, 1, reinterpret_cast<LPARAM>(&item));
                return TRUE;
            }
            case WM_NOTIFY: {
                const auto* info = reinterpret_cast<const NMLVDISPINFOA*>(lParam);
                if (info->hdr.code == LVN_BEGINLABELEDITA) {
                    labelEdits.push_back(info->item.iItem);
                }
                return TRUE;
            }
            default:
                return FALSE;
        }
    }
};

TEST_F(DialogPicturesTest, ModelessDialogBesideTheGameIsDrawnAndAnswersItsInput) {
    MakeGameWindow();
    ValueList::labelEdits.clear();
    HWND dialog = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(114), window_, ValueList::Proc, 0);
    ASSERT_NE(dialog, nullptr);
    ShowWindow(dialog, SW_SHOW);
    Pump();
    IDirect3DDevice9* device = d3d9_internal::FindDeviceOfWindow(dialog);
    ASSERT_NE(device, nullptr) << "a device of its own";
    ExpectPicture(dialog, "dialog_modeless_value_list")(nullptr);
    const auto before = d3d9_test::LastPresentedPicture(device).argb;
    SendMessageA(dialog, WM_USER, 0, 0);
    EXPECT_NE(d3d9_test::LastPresentedPicture(device).argb, before) << "redrawn after WM_USER";
    // A double click on the second row starts editing its label.
    for (int click = 0; click < 2; ++click) {
        win32_test::InjectMouseMove(dialog, 30, 44);
        win32_test::InjectMouseButton(dialog, 0, true, 30, 44);
        win32_test::InjectMouseButton(dialog, 0, false, 30, 44);
        Pump();
    }
    EXPECT_EQ(ValueList::labelEdits, std::vector<int>{1});
    DestroyWindow(dialog);
}

// The five pages of the preferences over the game, each reached by its tab, and the variable
// editor beside the game with names and comments from "variable.txt".
TEST_F(DialogPicturesTest, PreferencePagesAndTheVariableEditor) {
    qvn::test::TempProgramDir dir;
    LogPrintf("[Information]");
    LogPrintf("CPU Vendor: GenuineIntel");
    MakeGameWindow();
    MusicVolume = 8000;
    SoundVolume = 6000;
    VoiceVolume = 4000;
    WndColor = 0xC0205080u;
    MsgAutoInterval = 1000;
    WriteRegistryDword(kSettingsVoice, "Touya", 1);
    SystemInfoRecord info{};
    std::snprintf(info.cpuName, sizeof info.cpuName, "Intel(R) Core(TM) i5 CPU");
    std::snprintf(info.osName, sizeof info.osName, "Debian GNU/Linux 12 6.1.0");
    info.cpuClock = 320000;
    info.totalMemory = 2u << 30;
    info.drives[2] = SystemInfoDrive{1, 3, 20ull << 30, 64ull << 30};
    SystemInfo = &info;
    const HWND window = window_;
    const auto tab = [window](int index) {
        return [window, index](HWND dialog) {
            EXPECT_TRUE(Win32ChooseTab(GetDlgItem(dialog, kPreferencesTabControl), index));
            InvalidateRect(window, nullptr, FALSE);
        };
    };
    {
        StepDriver driver({ExpectPicture(window, "preferences_sound"), tab(1),
                           ExpectPicture(window, "preferences_message"), tab(2),
                           ExpectPicture(window, "preferences_voice"), tab(3),
                           PointAt(window, 1241), ExpectPicture(window, "preferences_other"),
                           tab(4), PointAt(window, 1206),
                           ExpectPicture(window, "preferences_system"), ClickControl(1)});
        ShowPreferencesDialog(window, kCommandPreferences);
    }
    SystemInfo = nullptr;

    dir.writeFile("script/variable.txt",
                  Utf8ToCp932("var\r\nflag\t/ 最初のフラグ\r\nresult / 結果\r\nmusic / "
                              "再生中の曲\r\nmonth / 月\r\nend\r\n")
                      .value());
    ScriptVariables.assign(4, 0);
    ScriptVariables[1] = static_cast<std::uint32_t>(-3);
    ScriptVariables[2] = 1;
    ScriptVariables[3] = 4;
    OpenVariableEditor(1);
    ASSERT_NE(VariableEditorWindow, nullptr);
    // The pointer over the row "result" highlights nothing: only a chosen row is highlighted,
    // and none is chosen yet.
    win32_test::InjectMouseMove(VariableEditorWindow, 30, 44);
    Pump();
    ExpectPicture(VariableEditorWindow, "variable_editor")(nullptr);
    // A double click on "result" edits its value in dialog 153, drawn inside the editor while
    // the editor's own picture waits for the dialog to end.
    {
        const HWND editor = VariableEditorWindow;
        StepDriver driver(
            {ExpectPicture(editor, "variable_value"),
             [editor](HWND dialog) {
                 // Typed as a player types: a click at the end of the field, two
                 // characters rubbed out, two typed.
                 RECT field{};
                 GetWindowRect(GetDlgItem(dialog, kVariableValueField), &field);
                 POINT at{field.right - 4, (field.top + field.bottom) / 2};
                 ScreenToClient(editor, &at);
                 win32_test::InjectMouseMove(editor, at.x, at.y);
                 win32_test::InjectMouseButton(editor, 0, true, at.x, at.y);
                 win32_test::InjectMouseButton(editor, 0, false, at.x, at.y);
                 for (UINT key : {UINT{VK_BACK}, UINT{VK_BACK}, UINT{'7'}, UINT{'5'}}) {
                     win32_test::InjectKey(editor, key, true);
                     win32_test::InjectKey(editor, key, false);
                 }
             },
             [](HWND dialog) {
                 char text[16] = {};
                 GetDlgItemTextA(dialog, kVariableValueField, text, sizeof text);
                 EXPECT_STREQ(text, "75");
                 Win32ClickControl(GetDlgItem(dialog, 1));
             }});
        for (int click = 0; click < 2; ++click) {
            win32_test::InjectMouseMove(VariableEditorWindow, 30, 44);
            win32_test::InjectMouseButton(VariableEditorWindow, 0, true, 30, 44);
            win32_test::InjectMouseButton(VariableEditorWindow, 0, false, 30, 44);
            Pump();
        }
    }
    EXPECT_EQ(ScriptVariables[1], 75u);
    SendMessageA(VariableEditorWindow, WM_CLOSE, 0, 0);
    ScriptVariables.clear();
}

}  // namespace
