// The preferences dialog driven by control id with nothing drawn: each page's controls as the
// settings set them, what each control changes at once, and what the page stores when it goes.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "adventure/voice.h"
#include "dialog_driver.h"
#include "foundation/app_settings.h"
#include "foundation/foundation_test.h"
#include "foundation/log.h"
#include "foundation/registry_settings.h"
#include "media/graphics/d3d_application.h"
#include "media/music/music_state.h"
#include "media/music/music_window.h"
#include "media/sound/direct_sound.h"
#include "media/sound/ds_sound.h"
#include "media/sound/sound_test_support.h"
#include "platform/d3d9/d3d9_test.h"
#include "platform/dsound/dsound_test.h"
#include "platform/win32/dialog_input.h"
#include "platform/win32/menu_api.h"
#include "platform/win32/shell_test_hooks.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_placement.h"
#include "platform/winbase/code_page.h"
#include "platform/winbase/test_hooks.h"
#include "resources/game_resources.h"
#include "script/script_variables.h"
#include "shell/frame_control.h"
#include "shell/game_window.h"
#include "shell/preference_pages.h"
#include "shell/preferences_dialog.h"
#include "shell/system_info.h"
#include "support/temp_program_dir.h"

namespace {

std::string Utf8(const std::string& sjis) {
    return Cp932ToUtf8(sjis).value_or("?");
}

class PreferencesTest : public ::testing::Test {
protected:
    void SetUp() override {
        foundation_test::ResetState();
        win32_test::ForgetSettingsStore();
        ResetAppSettingsToDefaults();
        RegisterGameResources();
        win32_test::RecordShellActions(true);
        win32_test::ResetClipboard();
        d3d9_test::AdapterTable adapter = shell_test::DialogTestAdapter();
        adapter.caps.TextureFilterCaps |=
            D3DPTFILTERCAPS_MINFANISOTROPIC | D3DPTFILTERCAPS_MAGFANISOTROPIC;
        adapter.caps.MaxAnisotropy = 8;
        d3d9_test::SetAdapterTable(adapter);
        ASSERT_EQ(CreateD3DApplication(), 1);
        D3DApp->CheckDevice(0, D3DDEVTYPE_HAL);
        for (VoiceCharacterFlag& flag : VoiceCharacterFlags) {
            flag = VoiceCharacterFlag{1, 1};
        }
        ScriptVariables.assign(20, 0);
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = "preferences_test_owner";
        RegisterClassExA(&windowClass);
        MainWindow = CreateWindowExA(0, "preferences_test_owner", "game", 0, 0, 0, 800, 600,
                                     nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override {
        if (dialog_ != nullptr && IsWindow(dialog_)) {
            DestroyWindow(dialog_);
        }
        DestroyMusicWindow();
        DestroyDirectSound();
        dsound_test::UseNullDevice(false);
        win32_test::RecordShellActions(false);
        DestroyD3DApplication();
        d3d9_test::ResetAdapterTable();
        ScriptVariables.clear();
        SystemInfo = nullptr;
        DestroyWindow(MainWindow);
        MainWindow = nullptr;
        UnregisterClassA("preferences_test_owner", nullptr);
    }

    // The dialog as the command opens it, modeless so that the test acts between messages.
    HWND Open(WORD command) {
        dialog_ = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(kPreferencesDialogResource), nullptr,
                                     PreferencesDialogProc, command);
        EXPECT_NE(dialog_, nullptr);
        ShowWindow(dialog_, SW_SHOW);
        return dialog_;
    }
    // The dialog ends: its page goes and stores its values.
    void Close() {
        DestroyWindow(dialog_);
        dialog_ = nullptr;
    }
    void SoundDevice() {
        dsound_test::UseNullDevice(true);
        ASSERT_EQ(CreateDirectSound(MainWindow, nullptr), S_OK);
    }

    HWND Control(int id) const { return Win32FindDialogControl(dialog_, id); }
    bool Enabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }
    bool Checked(int id) const { return SendMessageA(Control(id), BM_GETCHECK, 0, 0) != 0; }
    int Position(int id) const {
        return static_cast<int>(SendMessageA(Control(id), TBM_GETPOS, 0, 0));
    }
    std::string Text(int id) const {
        char text[256] = {};
        GetWindowTextA(Control(id), text, sizeof text);
        return Utf8(text);
    }
    void Click(int id) const { EXPECT_TRUE(Win32ClickControl(Control(id))) << id; }
    void Drag(int id, int position, bool release = true) const {
        EXPECT_TRUE(Win32DragTrackbar(Control(id), position, release)) << id;
    }
    static DWORD Stored(const char* name, const char* section = kSettingsMain) {
        return ReadRegistryDword(section, name);
    }
    static bool IsStored(const char* name, const char* section = kSettingsMain) {
        DWORD value = 0;
        DWORD size = 0;
        return ReadRegistryValue(section, name, &value, sizeof value, &size) == 1;
    }

    qvn::test::TempProgramDir dir_;
    HWND dialog_ = nullptr;
};

// A window of the game's procedure: the preference commands reach it as the menu sends them.
struct GameWindow {
    GameWindow() {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = MainWndProc;
        windowClass.lpszClassName = "preferences_test_game";
        RegisterClassExA(&windowClass);
        handle = CreateWindowExA(0, "preferences_test_game", "game", 0, 0, 0, 800, 600, nullptr,
                                 nullptr, nullptr, nullptr);
    }
    ~GameWindow() {
        DestroyWindow(handle);
        UnregisterClassA("preferences_test_game", nullptr);
    }
    HWND handle = nullptr;
};

TEST_F(PreferencesTest, EachCommandOpensItsPageWhileTimeStandsStill) {
    struct Case {
        WORD command;
        int tab;
        WORD pageResource;
    };
    const Case cases[] = {
        {40068, 1, 166}, {40077, 0, 137}, {40078, 4, 167}, {40090, 3, 145}, {40097, 2, 165}};
    GameWindow game;
    ASSERT_NE(game.handle, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        int tab = -1;
        WORD resource = 0;
        bool dialogMode = false;
        {
            shell_test::StepDriver driver({[&](HWND dialog) {
                tab = CurrentPreferenceTab();
                resource = Win32DialogResource(CurrentPreferencePage());
                dialogMode = DialogModeFlag != 0 && PauseFlag != 0;
                HWND tabControl = GetDlgItem(dialog, kPreferencesTabControl);
                EXPECT_EQ(SendMessageA(tabControl, TCM_GETITEMCOUNT, 0, 0), 5);
                EXPECT_EQ(SendMessageA(tabControl, TCM_GETCURSEL, 0, 0), c.tab);
                EXPECT_EQ(GetParent(CurrentPreferencePage()), tabControl);
                SendMessageA(dialog, WM_CLOSE, 0, 0);
            }});
            SendMessageA(game.handle, WM_COMMAND, c.command, 0);
        }
        EXPECT_EQ(tab, c.tab);
        EXPECT_EQ(resource, c.pageResource);
        EXPECT_TRUE(dialogMode) << "time stands still while the dialog is open";
        EXPECT_EQ(DialogModeFlag, 0);
        EXPECT_EQ(PauseFlag, 0);
        EXPECT_EQ(CurrentPreferencePage(), nullptr) << "the page ends with the dialog";
    }
    // F6 opens nothing.
    SendMessageA(game.handle, WM_COMMAND, 40098, 0);
    EXPECT_EQ(CurrentPreferenceTab(), -1);
}

TEST_F(PreferencesTest, ChangingTabsDestroysTheOldPageWhichStoresItsValues) {
    Open(kCommandPreferences);
    HWND tabControl = GetDlgItem(dialog_, kPreferencesTabControl);
    const HWND soundPage = CurrentPreferencePage();
    Drag(1134, 3000);
    EXPECT_FALSE(IsStored("MusicVolume")) << "stored only when the page goes";
    ASSERT_TRUE(Win32ChooseTab(tabControl, 1));
    EXPECT_EQ(Stored("MusicVolume"), 3000u);
    EXPECT_FALSE(IsWindow(soundPage));
    EXPECT_EQ(Win32DialogResource(CurrentPreferencePage()), 166);
    EXPECT_EQ(Control(1134), nullptr) << "one page at a time";
    Drag(1196, 2);
    EXPECT_FALSE(IsStored("MsgAutoInterval"));
    Close();
    EXPECT_EQ(Stored("MsgAutoInterval"), 2000u);
}

TEST_F(PreferencesTest, SoundPageAppliesVolumesAtOnceAndSwitchesTheMusicDevice) {
    SoundDevice();
    ASSERT_TRUE(CreateMusicWindow(MainWindow, kMusicDevicePcm));
    dir_.writeFile("sound/se009.wav",
                   qvn::test::WaveFile(qvn::test::AsBytes(qvn::test::RampSamples(4410, 0))));
    MusicVolume = 7000;
    SoundVolume = 5000;
    VoiceVolume = 2000;
    Open(kCommandPreferences);
    struct Look {
        int id;
        int position;  // -1: no track bar
        bool checked;
        bool enabled;
    };
    const Look initial[] = {{1134, 7000, false, true}, {1135, 5000, false, true},
                            {1138, 2000, false, true}, {1137, -1, true, true},
                            {1136, -1, false, true},   {1149, -1, false, true}};
    for (const Look& look : initial) {
        SCOPED_TRACE(look.id);
        if (look.position >= 0) {
            EXPECT_EQ(Position(look.id), look.position);
        } else {
            EXPECT_EQ(Checked(look.id), look.checked);
        }
        EXPECT_EQ(Enabled(look.id), look.enabled);
    }
    EXPECT_EQ(SendMessageA(Control(1134), TBM_GETRANGEMAX, 0, 0), 10000);

    // Music at once; the sound effect loops at the slider's volume while the thumb is held.
    Drag(1134, 4000);
    EXPECT_EQ(MusicVolume, 4000u);
    EXPECT_EQ(GetMusicState().targetVolume.load(), 4000u);
    Drag(1135, 2500, false);
    DSSound* sample = PreferenceSampleSound();
    ASSERT_NE(sample, nullptr);
    DWORD status = 0;
    sample->GetStatus(&status);
    EXPECT_NE(status & DSBSTATUS_LOOPING, 0u);
    LONG volume = 0;
    sample->GetVolume(&volume);
    EXPECT_EQ(volume, -7500);
    Drag(1135, 1000, false);
    EXPECT_EQ(PreferenceSampleSound(), sample) << "made once for the drag";
    sample->GetVolume(&volume);
    EXPECT_EQ(volume, -9000);
    Drag(1135, 1000, true);
    EXPECT_EQ(PreferenceSampleSound(), nullptr) << "let go: released";
    EXPECT_EQ(SoundVolume, 1000u);
    // The voice sample is missing from this program directory: nothing loops, once logged.
    Drag(1138, 6000, false);
    Drag(1138, 6500, false);
    EXPECT_EQ(PreferenceSampleSound(), nullptr);
    Drag(1138, 6500, true);
    EXPECT_EQ(VoiceVolume, 6500u);

    // CD audio for the piece now playing, then back to the stream.
    const std::uint32_t piece = 1;
    SetVar(11, &piece);
    Click(1136);
    EXPECT_EQ(MusicDevice, kMusicDeviceCd);
    EXPECT_EQ(GetMusicState().device, kMusicDeviceCd);
    EXPECT_STREQ(GetMusicState().playName, GetPath(PathKind::Music, 1));
    Click(1137);
    EXPECT_EQ(GetMusicState().device, kMusicDevicePcm);
    Click(1136);
    Close();
    const std::pair<const char*, DWORD> stored[] = {
        {"MusicVolume", 4000}, {"SoundVolume", 1000}, {"VoiceVolume", 6500}, {"MusicDevice", 2}};
    for (const auto& [name, value] : stored) {
        EXPECT_EQ(Stored(name), value) << name;
    }
    // The next run reads them back.
    ResetAppSettingsToDefaults();
    ReadGeneralSettings();
    ReadMusicDeviceSetting();
    EXPECT_EQ(MusicVolume, 4000u);
    EXPECT_EQ(SoundVolume, 1000u);
    EXPECT_EQ(VoiceVolume, 6500u);
    EXPECT_EQ(MusicDevice, 2u);
}

TEST_F(PreferencesTest, SoundPageWithoutSoundDeviceOrVoicesGreysWhatCannotWork) {
    struct Case {
        bool device;
        int voices;
        bool pcm, voice;
    };
    const Case cases[] = {{false, 1, false, false}, {true, 0, true, false}, {true, 1, true, true}};
    for (const Case& c : cases) {
        if (c.device) {
            SoundDevice();
        }
        VoiceEnabled = c.voices;
        Open(kCommandPreferences);
        EXPECT_EQ(Enabled(1137), c.pcm);
        EXPECT_TRUE(Enabled(1136));
        EXPECT_EQ(Enabled(1138), c.voice);
        EXPECT_EQ(Enabled(1149), c.voice);
        Close();
        DestroyDirectSound();
    }
    VoiceEnabled = 1;
}

TEST_F(PreferencesTest, MessagePageEditsTheColourAndStoresItsSwitches) {
    struct ColourCase {
        DWORD colour;
        int hue, saturation, value, alpha;
    };
    const ColourCase colours[] = {{0x80000000u, 0, 0, 0, 128}, {0xFF00AAFFu, 200, 255, 255, 255}};
    for (const ColourCase& c : colours) {
        WndColor = c.colour;
        Open(kCommandPreferencesMessage);
        EXPECT_EQ(Position(1006), c.hue);
        EXPECT_EQ(Position(1108), c.saturation);
        EXPECT_EQ(Position(1009), c.value);
        EXPECT_EQ(Position(1256), c.alpha);
        Close();
    }
    MsgSkipUnseen = 1;
    VoiceSkip = 0;
    MsgUseRuby = 1;
    MsgAutoInterval = 2000;
    WndColor = 0x80000000u;
    Open(kCommandPreferencesMessage);
    EXPECT_EQ(SendMessageA(Control(1006), TBM_GETRANGEMAX, 0, 0), 359);
    EXPECT_EQ(SendMessageA(Control(1256), TBM_GETRANGEMAX, 0, 0), 255);
    EXPECT_EQ(SendMessageA(Control(1196), TBM_GETRANGEMAX, 0, 0), 3);
    EXPECT_TRUE(Checked(1188));
    EXPECT_FALSE(Checked(1149));
    EXPECT_TRUE(Checked(1190));
    EXPECT_EQ(Position(1196), 2);
    EXPECT_EQ(Text(1213), "2秒");

    Drag(1196, 3);
    EXPECT_EQ(MsgAutoInterval, 3000u);
    EXPECT_EQ(Text(1213), "3秒");
    Drag(1006, 200, false);
    Drag(1108, 255, false);
    Drag(1009, 255, false);
    EXPECT_EQ(WndColor, 0x8000AAFFu) << "changed while the thumb moves";
    Drag(1256, 400);
    EXPECT_EQ(WndColor, 0xFF00AAFFu) << "a position beyond the range is held to it";
    Click(1188);
    Click(1149);
    Click(1190);
    EXPECT_EQ(VoiceSkip, 0u) << "the boxes are read when the page goes";
    Close();
    const std::pair<const char*, DWORD> stored[] = {{"MsgSkipUnseen", 0},
                                                    {"MsgUseRuby", 0},
                                                    {"MsgAutoInterval", 3000},
                                                    {"WndColor", 0xFF00AAFFu},
                                                    {"VoiceSkip", 1}};
    for (const auto& [name, value] : stored) {
        EXPECT_EQ(Stored(name), value) << name;
    }
    ResetAppSettingsToDefaults();
    ReadGeneralSettings();
    EXPECT_EQ(WndColor, 0xFF00AAFFu);
    EXPECT_EQ(MsgAutoInterval, 3000u);
    EXPECT_EQ(VoiceSkip, 1u);
}

TEST_F(PreferencesTest, VoicePageShowsHeardCharactersAndSwitchesThemAndTheirGroups) {
    // Every character of the voice table has its box on the page, in its group's column.
    Open(kCommandPreferencesVoice);
    RECT maleGroup{};
    GetWindowRect(Control(1214), &maleGroup);
    for (const VoiceCharacter* c = VoiceCharacterTable; c->controlId != 0; ++c) {
        HWND box = Control(static_cast<int>(c->controlId));
        ASSERT_NE(box, nullptr) << c->valueName;
        RECT rect{};
        GetWindowRect(box, &rect);
        EXPECT_EQ(rect.left < maleGroup.right, c->group == kVoiceGroupMale) << c->valueName;
    }
    Close();

    WriteRegistryDword(kSettingsVoice, "female", 0);
    WriteRegistryDword(kSettingsVoice, "Touya", 0);  // secret, heard, switched off
    WriteRegistryDword(kSettingsVoice, "Mio", 1);    // secret, heard
    Open(kCommandPreferencesVoice);
    struct Look {
        int id;
        const char* text;
        bool checked;
        bool enabled;
    };
    const Look initial[] = {
        {1214, "男性陣", true, true},  {1217, "女性陣", false, true},
        {1230, "カイ", true, true},     // not secret: named before it is heard
        {1231, "？？？", true, false},  // secret and not heard
        {1232, "トウヤ", false, true}, {1237, "ヒナ", true, false},  // the female group is off
        {1240, "ミオ", true, false},   {1246, "？？？", true, false},
    };
    for (const Look& look : initial) {
        SCOPED_TRACE(look.id);
        EXPECT_EQ(Text(look.id), look.text);
        EXPECT_EQ(Checked(look.id), look.checked);
        EXPECT_EQ(Enabled(look.id), look.enabled);
    }

    // The male group off: every male box greys and the game silences those characters.
    Click(1214);
    EXPECT_EQ(Stored("male", kSettingsVoice), 0u);
    EXPECT_EQ(Stored("female", kSettingsVoice), 0u);
    for (std::size_t i = 0; i < 7; ++i) {
        EXPECT_FALSE(Enabled(static_cast<int>(VoiceCharacterTable[i].controlId)));
        EXPECT_EQ(VoiceCharacterFlags[i].on, 0) << i;
    }
    EXPECT_EQ(VoiceCharacterFlags[7].on, 1) << "the other group is untouched";
    // The female group on: boxes follow their stored values; secret unheard ones stay grey.
    Click(1217);
    EXPECT_TRUE(Enabled(1237));
    EXPECT_TRUE(Enabled(1240));
    EXPECT_FALSE(Enabled(1246));
    EXPECT_EQ(VoiceCharacterFlags[7].on, 1);
    // One character off: the game's switch and its stored value change at once.
    Click(1237);
    EXPECT_EQ(VoiceCharacterFlags[7].on, 0);
    EXPECT_EQ(Stored("Hina", kSettingsVoice), 0u);
    EXPECT_FALSE(Win32ClickControl(Control(1246))) << "an unheard character cannot be switched";
    Click(1214);
    EXPECT_EQ(VoiceCharacterFlags[2].on, 0) << "male on, but Touya is stored off";
    EXPECT_EQ(VoiceCharacterFlags[0].on, 1);
}

TEST_F(PreferencesTest, OtherPageSwitchesBalloonsCursorEffectsAndFilters) {
    BaloonEnable = 0;
    BaloonTime = 2000;
    CursorAutoMove = 1;
    CursorSpeed = 3;
    AdvEffectEnable = 1;
    WriteRegistryDword(kSettingsMain, "TextureFilterMag", 4);  // read again when the page opens
    Open(kCommandPreferencesOther);
    struct Look {
        int id;
        int position;  // -1: a check box or a label
        bool checked;
        bool enabled;
        const char* text;  // labels
    };
    const Look initial[] = {
        {1209, -1, false, true, nullptr},         {1210, 2, false, false, nullptr},
        {1212, -1, false, false, "表示まで 2秒"}, {1211, -1, true, true, nullptr},
        {1213, 2, false, true, nullptr},          {1219, -1, false, true, "速度(中速)"},
        {1241, -1, true, true, nullptr},
    };
    for (const Look& look : initial) {
        SCOPED_TRACE(look.id);
        if (look.position >= 0) {
            EXPECT_EQ(Position(look.id), look.position);
        } else if (look.text != nullptr) {
            EXPECT_EQ(Text(look.id), look.text);
        } else {
            EXPECT_EQ(Checked(look.id), look.checked);
        }
        EXPECT_EQ(Enabled(look.id), look.enabled);
    }
    // The device filters up to 8 times anisotropically: five choices, the stored ones chosen.
    for (int combo : {1255, 1258}) {
        ASSERT_EQ(SendMessageA(Control(combo), CB_GETCOUNT, 0, 0), 5);
        char text[64] = {};
        SendMessageA(Control(combo), CB_GETLBTEXT, 4, reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(Utf8(text), "異方性(x8)");
        EXPECT_EQ(SendMessageA(Control(combo), CB_GETITEMDATA, 4, 0), 4);
    }
    EXPECT_EQ(SendMessageA(Control(1255), CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendMessageA(Control(1258), CB_GETCURSEL, 0, 0), 4);

    Click(1209);
    EXPECT_EQ(BaloonEnable, 1u);
    EXPECT_TRUE(Enabled(1210));
    EXPECT_TRUE(Enabled(1212));
    Drag(1210, 3);
    EXPECT_EQ(BaloonTime, 3000u);
    EXPECT_EQ(Text(1212), "表示まで 3秒");
    Drag(1213, 4);
    EXPECT_EQ(CursorSpeed, 1u);
    EXPECT_EQ(Text(1219), "速度(瞬時)");
    Drag(1213, 1);
    EXPECT_EQ(Text(1219), "速度(低速)");
    Click(1211);
    EXPECT_EQ(CursorAutoMove, 0u);
    EXPECT_FALSE(Enabled(1213));
    EXPECT_FALSE(Enabled(1219));
    EXPECT_TRUE(Win32ChooseComboItem(Control(1255), 3));
    EXPECT_EQ(TextureFilterMin, 3u);
    EXPECT_EQ(Stored("TextureFilterMin"), 3u) << "stored at once";
    Click(1241);
    EXPECT_EQ(AdvEffectEnable, 1u) << "read when the page goes";
    Close();
    const std::pair<const char*, DWORD> stored[] = {{"BaloonEnable", 1},
                                                    {"BaloonTime", 3000},
                                                    {"AdvEffectEnable", 0},
                                                    {"CursorAutoMove", 0},
                                                    {"CursorSpeed", 4}};
    for (const auto& [name, value] : stored) {
        EXPECT_EQ(Stored(name), value) << name;
    }

    // A stored speed beyond the slider shows the nearest word; a device of point filtering
    // offers what it has.
    CursorSpeed = 9;
    d3d9_test::AdapterTable plain = shell_test::DialogTestAdapter();
    d3d9_test::SetAdapterTable(plain);
    D3DApp->CheckDevice(0, D3DDEVTYPE_HAL);
    Open(kCommandPreferencesOther);
    EXPECT_EQ(Text(1219), "速度(低速)");
    EXPECT_EQ(Position(1213), 1);
    EXPECT_EQ(SendMessageA(Control(1258), CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageA(Control(1258), CB_GETCURSEL, 0, 0), -1) << "x8 is not offered";
}

TEST_F(PreferencesTest, SystemPageShowsTheMachineAndCopiesTheLog) {
    SoundDevice();
    LogPrintf("first line");
    LogPrintf("second line");
    SystemInfoRecord info{};
    info.size = sizeof info;
    info.cpuClock = 299912;
    std::snprintf(info.cpuName, sizeof info.cpuName, "Test CPU 3000");
    std::snprintf(info.osName, sizeof info.osName, "Debian 12");
    info.totalMemory = 2u << 30;
    info.drives[2] = SystemInfoDrive{1, 3, 16ull << 30, 64ull << 30};
    SystemInfo = &info;
    std::snprintf(D3DApp->identifier.Description, sizeof D3DApp->identifier.Description,
                  "Software rasteriser");
    D3DApp->identifier.DriverVersion.QuadPart = (6ll << 48) | (14ll << 32) | (10ll << 16) | 9;
    Open(kCommandPreferencesSystem);
    const std::pair<int, const char*> fields[] = {
        {1225, "Test CPU 3000"},
        {1236, "2.99GHz"},
        {1229, "Debian 12"},
        {1226, "2.00GB"},
        {1228, "C"},
        {1230, "64.00GB"},
        {1231, "16.00GB"},
        {1232, "Software rasteriser"},
        {1233, "6.14.10.0009"},
        {1234, "Null Audio Device"},
        {1235, "0.00.00.0000"},
    };
    for (const auto& [id, text] : fields) {
        EXPECT_EQ(Text(id), text) << id;
    }
    const std::string log = dir_.readFile("qvn.log");
    EXPECT_FALSE(IsWindowVisible(Control(1207)));
    EXPECT_EQ(Text(1207), log);
    Click(1227);
    EXPECT_TRUE(IsWindowVisible(Control(1207)));
    Click(1227);
    EXPECT_FALSE(IsWindowVisible(Control(1207)));
    LogPrintf("a line after the page opened");
    Click(1206);
    EXPECT_EQ(win32_test::ClipboardText(), dir_.readFile("qvn.log")) << "the log as it is now";
    EXPECT_NE(win32_test::ClipboardText().find("a line after"), std::string::npos);
}

TEST_F(PreferencesTest, HoverHelpOfAPageControlShowsInTheDialogsHelpField) {
    Open(kCommandPreferencesMessage);
    RECT slider{};
    GetWindowRect(Control(1006), &slider);
    POINT origin{0, 0};
    ClientToScreen(dialog_, &origin);
    const POINT over{(slider.left + slider.right) / 2 - origin.x,
                     (slider.top + slider.bottom) / 2 - origin.y};
    Win32PointInDialog(dialog_, over, 0);
    EXPECT_EQ(Utf8([&] {
                  char text[256] = {};
                  GetDlgItemTextA(dialog_, 1010, text, sizeof text);
                  return std::string(text);
              }()),
              "メッセージ背景色の色を調整します。");
    Win32PointInDialog(dialog_, POINT{2, 2}, 0);
    char text[256] = {};
    GetDlgItemTextA(dialog_, 1010, text, sizeof text);
    EXPECT_STREQ(text, "") << "cleared when the pointer leaves";
}

}  // namespace
