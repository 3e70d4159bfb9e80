// The developer's variable editor open beside the running demo in a window: the game goes on
// taking its input while the editor is open, the editor's list answers its keys, and closing the
// editor gives the game the keyboard back.

#include <string>

#include <gtest/gtest.h>

#include "adventure/message_backlog.h"
#include "adventure/variable_editor.h"
#include "platform/dinput/test_input_backend.h"
#include "platform/win32/dialog_api.h"
#include "platform/win32/dialog_input.h"
#include "platform/win32/dialog_keyboard.h"
#include "platform/win32/message_keys.h"
#include "platform/win32/shell_test_hooks.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_placement.h"
#include "replay_harness.h"
#include "script/script_variables.h"
#include "shell/frame_control.h"
#include "shell/game_window.h"

namespace {

using qvn::test::ReplayHarness;

// A key pressed and let go in `window`, as the desktop and DirectInput both see it. The editor,
// not drawn in a headless run, hands its keys to the dialog's keyboard as the drawn one does.
void Press(HWND window, UINT virtualKey) {
    auto* backend = dynamic_cast<dinput_test::TestInputBackend*>(&CurrentInputBackend());
    const BYTE dik = dinput_test::DikOfVirtualKey(virtualKey);
    for (const bool down : {true, false}) {
        if (backend != nullptr && dik != 0) {
            down ? backend->KeyDown(dik) : backend->KeyUp(dik);
        }
        if (window == VariableEditorWindow) {
            Win32DialogKey(window, MSG{window, down ? WM_KEYDOWN : WM_KEYUP, virtualKey,
                                       down ? 1 : static_cast<LPARAM>(0xC0000001), 0, POINT{}});
        } else {
            win32_test::InjectKey(window, virtualKey, down);
        }
    }
}

TEST(EditorBesideGameReplayTest, TheGameTakesItsInputBesideTheEditorAndBackAfterIt) {
    ReplayHarness game;
    qvn::test::CopyDemoGame(game.dir());
    game.SetSetting("Fullscreen", 0);
    game.SetHashEveryFrame(false);
    game.LoadTimeline("editor_beside_game");

    std::size_t pages = 0;
    HWND editor = nullptr;
    std::string edited;
    // The desktop gives the editor the focus (as it opens, or on a click on its title bar).
    const auto focusTheEditor = [&] { win32_test::InjectActivation(editor, true); };
    game.AddAction(160, [&] {
        editor = VariableEditorWindow;
        ASSERT_NE(editor, nullptr) << "the word opened the editor";
        focusTheEditor();
        pages = MessageBacklog::Size();
    });
    game.AddAction(170, [&] { EXPECT_EQ(GetForegroundWindow(), editor); });
    game.AddAction(190, [&] {
        EXPECT_EQ(PauseFlag, 0) << "the game runs on beside the editor";
        EXPECT_EQ(MessageBacklog::Size(), pages);
    });
    game.AddAction(260, [&] {
        EXPECT_EQ(MessageBacklog::Size(), pages + 1) << "the click on the game turned its page";
        EXPECT_EQ(GetForegroundWindow(), MainWindow);
        pages = MessageBacklog::Size();
    });
    game.AddAction(290, focusTheEditor);
    game.AddAction(300, [&] {
        EXPECT_EQ(GetForegroundWindow(), editor);
        Press(editor, VK_DOWN);
        Press(editor, VK_F2);  // the value dialog's modal loop runs the next actions
    });
    game.AddAction(310, [&] {
        const HWND value = Win32ActiveModalDialog();
        ASSERT_NE(value, nullptr) << "F2 began the label edit";
        EXPECT_EQ(Win32DialogResource(value), kVariableValueResource);
        char text[16] = {};
        GetDlgItemTextA(value, kVariableValueField, text, sizeof text);
        edited = text;
        SetDlgItemTextA(value, kVariableValueField, "-7");
        Press(value, VK_RETURN);
    });
    game.AddAction(330, [&] {
        EXPECT_EQ(Win32ActiveModalDialog(), nullptr) << "Return closed the value dialog";
        EXPECT_EQ(static_cast<std::int32_t>(ScriptVariables.at(0)), -7) << "and stored the value";
        EXPECT_EQ(MessageBacklog::Size(), pages) << "keys for the editor are not the game's";
        Press(editor, VK_ESCAPE);
    });
    game.AddAction(350, [&] {
        EXPECT_EQ(VariableEditorWindow, nullptr) << "Escape closed the editor";
        EXPECT_EQ(GetForegroundWindow(), MainWindow) << "the game has the keyboard again";
    });
    game.AddAction(430, [&] {
        EXPECT_EQ(MessageBacklog::Size(), pages + 1) << "Return turned the game's page";
    });
    game.AddAction(490, [&] { EXPECT_NE(VariableEditorWindow, nullptr) << "the word again"; });
    EXPECT_EQ(game.Run(), 0);
    EXPECT_TRUE(game.problems().empty());
    EXPECT_EQ(edited, std::to_string(static_cast<std::int32_t>(0))) << "row 0: the first variable";
}

}  // namespace
