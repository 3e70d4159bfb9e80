// The game window's commands, the start-up settings and the notice dialog in running games:
// each command through the menu's command and through its key, driven by timelines.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "adventure/adventure_frame.h"
#include "foundation/app_settings.h"
#include "foundation/byte_writer.h"
#include "foundation/path.h"
#include "foundation/registry_settings.h"
#include "media/graphics/d3d_application.h"
#include "media/sound/direct_sound.h"
#include "media/sound/ds_sound.h"
#include "platform/d3d9/d3d9_test.h"
#include "platform/win32/dialog_input.h"
#include "platform/win32/menu_api.h"
#include "platform/win32/menu_loop.h"
#include "platform/win32/shell_test_hooks.h"
#include "platform/win32/window_api.h"
#include "replay_harness.h"
#include "shell/game_window.h"
#include "shell/notice_dialogs.h"
#include "shell/startup_settings.h"

namespace {

using qvn::test::ReplayEvent;
using qvn::test::ReplayHarness;

int CountLines(const std::vector<std::string>& lines, const std::string& part) {
    int count = 0;
    for (const std::string& line : lines) {
        count += line.find(part) != std::string::npos ? 1 : 0;
    }
    return count;
}

// One second of silence, 16-bit stereo at 22050 Hz.
std::vector<std::uint8_t> SilentWave() {
    const std::uint32_t dataSize = 22050 * 4;
    ByteWriter bytes;
    bytes.Bytes("RIFF", 4);
    bytes.U32(36 + dataSize);
    bytes.Bytes("WAVEfmt ", 8);
    bytes.U32(16);
    bytes.U16(1);
    bytes.U16(2);
    bytes.U32(22050);
    bytes.U32(22050 * 4);
    bytes.U16(4);
    bytes.U16(16);
    bytes.Bytes("data", 4);
    bytes.U32(dataSize);
    bytes.Bytes(std::vector<std::uint8_t>(dataSize, 0));
    return bytes.Take();
}

// The check mark of `command` after its popup opened (WM_INITMENUPOPUP sets it).
bool Checked(int popup, UINT command) {
    Win32ChooseMenuCommand(MainWindow, popup, 0);
    return (GetMenuState(MainMenu, command, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

TEST(ShellCommandsReplayTest, EachCommandByTheMenuAndByItsKey) {
    ReplayHarness game;
    game.PrepareGame(qvn::test::kReplayEndlessStart, 0);
    game.SetSetting("MsgSkipUnseen", 1);
    game.dir().writeFile("sound/tone.wav", SilentWave());
    game.LoadTimeline("menu_commands");
    struct Mode {
        bool windowed;
        bool menuAttached;
        UINT refreshRate;
    };
    std::vector<Mode> modes;
    const auto lookAtMode = [&] {
        modes.push_back({WindowedFlag != FALSE, GetMenu(MainWindow) == MainMenu,
                         DisplaySettings.FullScreen_RefreshRateInHz});
    };
    game.AddAction(12, lookAtMode);
    game.AddAction(22, lookAtMode);
    std::vector<bool> checks;
    game.AddAction(31, [&] { checks.push_back(Checked(1, 40066)); });
    game.AddAction(37, [&] { checks.push_back(Checked(1, 40066)); });
    game.AddAction(41, [&] { checks.push_back(Checked(1, 40096)); });
    game.AddAction(47, [&] { checks.push_back(Checked(1, 40096)); });
    // A sound fades out over one second from tick 48; the version dialog is open from 50 to 60.
    DSSound* sound = nullptr;
    game.AddAction(48, [&] {
        ASSERT_TRUE(SUCCEEDED(CreateSound(GetPath(PathKind::Sound, "tone"), &sound, 0, 0)));
        sound->Play(DSBPLAY_LOOPING);
        sound->Fade(-10000, 1000);
    });
    std::vector<int> fadeStepsLeft;
    std::vector<WORD> dialogs;
    const auto lookAtDialog = [&] {
        dialogs.push_back(Win32DialogResource(Win32ActiveModalDialog()));
        fadeStepsLeft.push_back(sound != nullptr ? sound->FadeStepsLeft() : -1);
    };
    game.AddAction(51, lookAtDialog);
    game.AddAction(58, lookAtDialog);
    game.AddAction(73, lookAtDialog);
    game.AddAction(85, [&] {
        if (sound != nullptr) {
            sound->Release();
        }
    });
    EXPECT_EQ(game.Run(), 0);

    ASSERT_EQ(modes.size(), 2u);
    EXPECT_FALSE(modes[0].windowed) << "40100: full screen";
    EXPECT_FALSE(modes[0].menuAttached) << "no bar in full screen";
    EXPECT_EQ(modes[0].refreshRate, 60u) << "the desktop's rate";
    EXPECT_TRUE(modes[1].windowed) << "Alt+Enter: back to the window";
    EXPECT_TRUE(modes[1].menuAttached);
    EXPECT_EQ(modes[1].refreshRate, 0u) << "a window takes rate 0";
    const std::vector<std::string> log = game.LogLines();
    EXPECT_EQ(CountLines(log, "Changed fullscreen mode: 800x600"), 1) << "reset to full screen";
    EXPECT_EQ(CountLines(log, "Changed windowed mode: 800x600"), 2) << "at start and back";
    EXPECT_EQ(checks, (std::vector<bool>{true, false, true, false}))
        << "fast forward by 40066 and F3, hands-free by 40096 and F12";
    EXPECT_EQ(dialogs, (std::vector<WORD>{105, 105, 105})) << "by 40005, open until 60; by F1";
    ASSERT_EQ(fadeStepsLeft.size(), 3u);
    EXPECT_LT(fadeStepsLeft[1], fadeStepsLeft[0]) << "the fade went on while the dialog was open";
    EXPECT_EQ(win32_test::TakeShellOpens(), (std::vector<std::string>{kMakerWebSite}));
    EXPECT_GT(game.FramesBetween(61, 69), 0) << "the game runs again after the dialog";
}

TEST(ShellCommandsReplayTest, FullScreenToggleKeepsTheModeThatWorkedWhenTheNewOneFails) {
    ReplayHarness game;
    game.PrepareGame(qvn::test::kReplayEndlessStart, 0);
    // An adapter that lists no 800 x 600 mode: full screen at that size fails.
    game.AddAction(9, [] {
        d3d9_test::AdapterTable table = d3d9_test::DefaultAdapterTable();
        std::erase_if(table.modes, [](const D3DDISPLAYMODE& m) { return m.Width == 800; });
        d3d9_test::SetAdapterTable(table);
    });
    game.Add({10, ReplayEvent::Kind::Command, 40100, 0});
    bool windowed = false;
    bool attached = false;
    game.AddAction(15, [&] {
        windowed = WindowedFlag != FALSE;
        attached = GetMenu(MainWindow) == MainMenu;
    });
    game.Add({30, ReplayEvent::Kind::End, 0, 0});
    EXPECT_EQ(game.Run(), 0);
    d3d9_test::ResetAdapterTable();
    EXPECT_TRUE(windowed) << "back in the window that worked";
    EXPECT_TRUE(attached);
    EXPECT_EQ(CountLines(game.LogLines(), "the device refused the new mode"), 1);
    EXPECT_GT(game.FramesBetween(16, 29), 0) << "frames go on; no reset is left pending";
}

TEST(ShellCommandsReplayTest, StartupDialogModeIsTheDevicesMode) {
    ReplayHarness game;
    game.PrepareGame(qvn::test::kReplayEndlessStart, 0);
    game.LoadTimeline("startup_chosen_mode");
    UINT width = 0;
    game.AddAction(10, [&] { width = DisplaySettings.BackBufferWidth; });
    EXPECT_EQ(game.Run(), 0);
    EXPECT_EQ(width, 1024u);
    EXPECT_EQ(CountLines(game.LogLines(), "Changed windowed mode: 1024x768"), 1);
    EXPECT_EQ(ReadRegistryDword("main", "ScreenWidth"), 1024u) << "stored at once";
}

TEST(ShellCommandsReplayTest, NoticeDialogOnlyAfterAnUncleanRunCopiesTheOldLog) {
    // The same clicks: button 3, then button 1 of whichever dialog comes first.
    struct Case {
        const char* name;
        DWORD safetyQuit;
        WORD dialogAtTick2;  // the notice stays open; without it 3 opened the detailed page
        std::string clipboard;
        std::vector<std::string> opened;
    };
    const Case cases[] = {
        {"unclean", 1, 144, "old run\r\nplease help\r\n", {kSupportMailAddress}},
        {"clean", 0, 210, "", {}},
    };
    for (const Case& c : cases) {
        ReplayHarness game;
        game.PrepareGame(qvn::test::kReplayEndlessStart, 0);
        game.SetSetting("SafetyQuit", c.safetyQuit);
        game.dir().writeFile("qvn.log", "old run\r\n");
        game.dir().writeFile("data/support.txt", "please help\r\n");
        game.LoadTimeline("notice_copy_log");
        WORD dialog = 0;
        game.AddAction(2, [&] { dialog = Win32DialogResource(Win32ActiveModalDialog()); });
        EXPECT_EQ(game.Run(), 0) << c.name;
        EXPECT_EQ(dialog, c.dialogAtTick2) << c.name;
        EXPECT_EQ(win32_test::ClipboardText(), c.clipboard) << c.name;
        EXPECT_EQ(win32_test::TakeShellOpens(), c.opened) << c.name;
        EXPECT_EQ(ReadSafetyQuit(), 0u) << c.name;
        EXPECT_EQ(CountLines(game.LogLines(), "old run"), 0) << c.name << ": a new log";
    }
}

// "Windowsに戻る" at the start-up dialog after a play that left a save point: the run ends with
// no global script loaded, and its reset reads no system variables from that save.
TEST(ShellCommandsReplayTest, LeavingAtTheStartupDialogLogsNoError) {
    std::string savePoint;
    {
        ReplayHarness earlier;
        earlier.PrepareGame("*top\n    invoke 24 \"*earlier play\"\n    return\n", 0);
        EXPECT_EQ(earlier.Run(), 0);
        savePoint = earlier.dir().readFile("save/save20.dat");
    }
    ASSERT_FALSE(savePoint.empty());
    ReplayHarness game;
    game.PrepareGame(qvn::test::kReplayEndlessStart, 0);
    game.dir().writeFile("save/save20.dat", savePoint);
    game.Add({1, ReplayEvent::Kind::DialogClick, 2, 0});
    EXPECT_EQ(game.Run(), 0);
    EXPECT_TRUE(game.frames().empty());
    EXPECT_GT(CountLines(game.LogLines(), "Product: qvn 1.00"), 0);
    EXPECT_EQ(game.LogLinesWith({"error"}), std::vector<std::string>{}) << game.Log();
    EXPECT_EQ(game.dir().readFile("save/save20.dat"), savePoint);
}

}  // namespace
