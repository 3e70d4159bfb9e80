#include "adventure/game_mode.h"

#include <algorithm>

#include "adventure/adventure_frame.h"
#include "adventure/adventure_state.h"
#include "adventure/message_backlog.h"
#include "adventure/message_layout.h"
#include "adventure/message_window.h"
#include "adventure/read_history.h"
#include "adventure/scene.h"
#include "adventure/script_functions.h"
#include "adventure/sound_functions.h"
#include "adventure/system_variables.h"
#include "adventure/train_map_screen.h"
#include "adventure/variable_editor.h"
#include "adventure/voice.h"
#include "foundation/app_settings.h"
#include "foundation/log.h"
#include "media/movie/movie_players.h"
#include "media/music/music_window.h"
#include "platform/win32/message_api.h"
#include "platform/win32/window_api.h"
#include "script/call_stack.h"
#include "script/game_hooks.h"
#include "script/script_variables.h"
#include "script/vm_state.h"
#include "shell/logical_screen.h"
#include "shell/program.h"
#include "sprite_ui/menu_window.h"
#include "title/title_menu.h"

int GameMode = kGameModeNone;
std::deque<int> GameModeStack;
double LetterboxScale = 0.0;
RECT LetterboxRect{};

bool PushGameMode(const char*, const char* label) {
    GameModeStack.push_back(GameMode);
    GameMode = kGameModeAdventure;
    if (label != nullptr) {
        LineCounter = -1;
        PageWait = 0;
        DropMouseCapture();
    }
    return true;
}

namespace {

// The last script frame has ended: the program ends, with a failure status when an error ended
// it (a script that did not load or run) rather than the story.
void EndWithTheScripts() {
    if (ScriptErrorPending && !ProgramEndRequested()) {
        LogPrintf("script: the last script ended after the error above. the program ends.");
        RequestProgramEnd(kExitStartFailed);
        return;
    }
    RequestProgramEnd();
}

}  // namespace

bool PopGameMode(const char*, int isReturn) {
    if (IsScriptStackEmpty()) {
        PageWait = 0;
    }
    if (!GameModeStack.empty()) {
        GameMode = GameModeStack.back();
        GameModeStack.pop_back();
    }
    MessageWindowShown = 0;
    WindowFadeTime = 0.0f;
    RefreshMessageLayers();
    if (isReturn) {
        if (GameMode == kGameModeAdventure && IsScriptStackEmpty()) {
            EndWithTheScripts();
        }
        RefreshVariableEditor();
    }
    if (IsScriptStackEmpty()) {
        EndWithTheScripts();
    }
    return isReturn && GameMode == kGameModeAdventure;
}

void ComputeLetterbox(DWORD width, DWORD height, double* scale, RECT* rect) {
    const double s = LogicalScreenScale(width, height);
    const auto right = static_cast<LONG>(s * kLogicalScreenWidth);
    const auto bottom = static_cast<LONG>(s * kLogicalScreenHeight);
    const LONG dx = (static_cast<LONG>(width) - right) / 2;
    const LONG dy = (static_cast<LONG>(height) - bottom) / 2;
    *scale = s;
    *rect = RECT{dx, dy, right + dx, bottom + dy};
}

bool StartScript(const char* file, const char* label, int) {
    if (LetterboxScale == 0.0) {
        ComputeLetterbox(ScreenWidth, ScreenHeight, &LetterboxScale, &LetterboxRect);
    }
    if (file == nullptr) {
        file = CurrentScriptName();
        if (file == nullptr) {
            return false;
        }
    }
    return Load(file, label);
}

void ResetScriptVariables(int restoreSystem) {
    ResetGlobals();
    // Without a global script (a run left at its start-up dialog) there are no system variables
    // to restore into.
    if (restoreSystem && !GlobalInitialValues.empty()) {
        LoadSystemVariables();
    }
}

void ResetAdventureState() {
    ScriptVmReset();
    GameModeStack.clear();
    GameMode = kGameModeNone;
    ReleaseScene();
    MessageBacklog::Clear();
    Title::Close();
    DestroyAllMenuWindows();
    TrainMapScreen::Close();
    ResetAdventureFlags();
    DSMovie_Close();
    DSMovie9_Close();
    StopMusic();
    ReleaseVoice();
    DeleteScriptSounds();
    ResetScriptVariables(1);
    ClearUnreadPageFlag();
}

void InstallGameScriptHooks() {
    ScriptGameHooks hooks{};
    hooks.ShowMessage = ShowMessage;
    hooks.ScriptFunctionDispatcher = ScriptFunctionDispatcher;
    hooks.PushGameMode = PushGameMode;
    hooks.PopGameMode = PopGameMode;
    hooks.OnLabelFound = OnLabelFound;
    InstallScriptGameHooks(hooks);
}
