#include "adventure/adventure_frame.h"

#include <algorithm>
#include <cmath>

#include "adventure/adventure_state.h"
#include "adventure/game_mode.h"
#include "adventure/mascot.h"
#include "adventure/message_backlog.h"
#include "adventure/message_window.h"
#include "adventure/pad_buttons.h"
#include "adventure/read_history.h"
#include "adventure/scene.h"
#include "adventure/variable_editor.h"
#include "adventure/voice.h"
#include "foundation/app_settings.h"
#include "media/graphics/d3d_application.h"
#include "media/input/di_application.h"
#include "media/movie/movie_players.h"
#include "platform/win32/message_api.h"
#include "script/call_stack.h"
#include "script/interpreter.h"
#include "shell/cursor.h"
#include "shell/frame_control.h"
#include "shell/game_window.h"
#include "sprite_ui/menu_window.h"

int PageWait = 0;
std::uint32_t PendingDelayMs = 0;
int SkipActive = 0;
int FastForwardMode = 0;
int AutoMode = 0;
int SkipDisabled = 0;
std::int32_t BlockingCount = 0;
double KeyRepeatTimer = 0.0;
std::uint8_t KeyRepeatFirst = 1;

namespace {

// DirectInput key codes.
constexpr int kKeyEnter = 28;
constexpr int kKeyLeftControl = 29;
constexpr int kKeySpace = 57;
constexpr int kKeyPadEnter = 156;
constexpr int kKeyRightControl = 157;
constexpr int kKeyUp = 200;
constexpr int kKeyPageUp = 201;
constexpr int kKeyDown = 208;
constexpr int kKeyPageDown = 209;

// Pad actions.
constexpr int kActionAdvance = 0;
constexpr int kActionWindowToggle = 1;
constexpr int kActionSkip = 2;
constexpr int kActionFastForward = 3;

// Windows with none of these flag bits count as open UI windows.
constexpr int kOpenWindowMask = 4;

// Virtual keys that close a playing movie.
constexpr WPARAM kMovieCloseKeys[] = {13, 27, 32};

// The typed word that opens the variable editor.
constexpr const char kEditorWord[] = "plovanet";

void CloseMovies() {
    DSMovie_Close();
    DSMovie9_Close();
    SetDialogMode(0);
}

bool UiWindowOpen() {
    return CountMenuWindows(kOpenWindowMask) != 0;
}

// The input of one frame, as the polled devices report it.
struct FrameInput {
    bool advance = false;
    bool windowToggle = false;
    bool skipHeld = false;
    bool fastForwardToggle = false;
    bool leftButtonDown = false;
};

bool PadButtonDown(const DIApplication& input, int action) {
    const int button = GetPadButton(action);
    return button >= 0 && button < 128 && (input.padState.rgbButtons[button] & 0x80) != 0;
}

FrameInput ReadInput() {
    FrameInput in;
    const DIApplication* input = gDIApplication;
    if (input == nullptr) {
        return in;
    }
    in.advance = input->IsMouseButtonPressed(0) || input->IsKeyPressed(kKeyEnter) ||
                 input->IsKeyPressed(kKeyPadEnter) ||
                 input->IsPadButtonPressed(GetPadButton(kActionAdvance));
    in.windowToggle = (input->IsMouseButtonPressed(1) && !MoviePlaying()) ||
                      input->IsKeyPressed(kKeySpace) ||
                      input->IsPadButtonPressed(GetPadButton(kActionWindowToggle));
    in.skipHeld = input->IsKeyDown(kKeyLeftControl) || input->IsKeyDown(kKeyRightControl) ||
                  PadButtonDown(*input, kActionSkip);
    in.fastForwardToggle = input->IsPadButtonPressed(GetPadButton(kActionFastForward));
    in.leftButtonDown = input->IsMouseButtonDown(0);
    return in;
}

float WindowFadeLength() {
    return AdvEffectEnable != 0 ? kWindowFadeSeconds : 0.0f;
}

// The page ends by the player's advance or by skipping: the window closes at once and the next
// text starts a new page.
void EndPage(bool setCursorShape) {
    LineCounter = -1;
    PageWait = 0;
    PendingDelayMs = 0;
    MessageWindowShown = 0;
    WindowFadeTime = 0.0f;
    RefreshMessageLayers();
    if (VoiceSkip != 0) {
        ReleaseVoice();
    }
    if (setCursorShape) {
        SetCursorShape(0);
    }
}

// Step 4: paging through the backlog while a page waits.
void PageBacklog(double dt) {
    if (PageWait == 0 || MessageWindowShown == 0 || MessageBacklog::IsEmpty()) {
        return;
    }
    const int direction = ReadBacklogDirection(dt);
    if (direction < 0) {
        MessageBacklog::StepBack();
    } else if (direction > 0) {
        MessageBacklog::StepForward();
    }
}

// Step 7.
void Advance(const FrameInput& in) {
    if (MessageBacklog::IsCursorOnEntry()) {
        if (PageWait != 0 && MessageWindowShown != 0 && !MessageBacklog::IsEmpty()) {
            MessageBacklog::ReplayVoice();
        }
        return;
    }
    if (PageWait != 0) {
        if (MessageWindowShown == 0) {
            MessageWindowShown = 1;
            WindowFadeTime = WindowFadeLength();
            SetMascotVisible(true);
        } else {
            EndPage(!in.leftButtonDown);
        }
    }
    FastForwardMode = 0;
    AutoMode = 0;
}

// Step 8.
void ToggleWindow() {
    if (MessageBacklog::IsCursorOnEntry()) {
        MessageBacklog::ReturnToCurrent();
        return;
    }
    if (PageWait != 0) {
        MessageWindowShown = MessageWindowShown != 0 ? 0 : 1;
        WindowFadeTime = WindowFadeLength();
        SetMascotVisible(MessageWindowShown != 0);
        if (VoiceSkip != 0) {
            ReleaseVoice();
        }
    }
    FastForwardMode = 0;
    AutoMode = 0;
}

// Step 9: the scene's timers run down, or end at once while skipping.
void CountSceneTimers(double dt) {
    if (SkipActive == 0) {
        QuakeTime = std::max(QuakeTime - dt, 0.0);
        EffectTimer = std::max(EffectTimer - dt, 0.0);
        TransitionTimeLeft = std::max(TransitionTimeLeft - dt, 0.0);
    } else {
        QuakeTime = 0.0;
        EffectTimer = 0.0;
        TransitionTimeLeft = 0.0;
    }
    if (SkipDisabled != 0) {
        FastForwardMode = 0;
    }
}

// Step 10: runs the script unless something holds it.
void RunScriptStep(double dt) {
    if (EffectTimer != 0.0 || BlockingCount != 0 || UiWindowOpen() || IsScriptStackEmpty()) {
        return;
    }
    std::uint32_t ms = FrameMilliseconds(dt);
    for (;;) {
        if (AutoMode != 0 && PendingDelayMs != 0) {
            if (IsVoicePlaying()) {
                return;
            }
            ReleaseVoice();
        }
        if (SkipActive == 0) {
            if (ms < PendingDelayMs) {
                PendingDelayMs -= ms;
                return;
            }
            if (PendingDelayMs != 0) {
                ms -= PendingDelayMs;
                PageWait = 0;
                LineCounter = -1;
                PendingDelayMs = 0;
            }
        } else {
            ms = 0;
            PendingDelayMs = 0;
        }
        if (PageWait != 0) {
            if (AutoMode != 0) {
                PageWait = 0;
                PendingDelayMs = MsgAutoInterval;
                MascotGoodnight();
                return;
            }
            if (SkipActive == 0) {
                MessageBacklog::ShowSelected();
                return;
            }
            if (MessageBacklog::IsCursorOnEntry()) {
                MessageBacklog::ReturnToCurrent();
                return;
            }
            EndPage(true);
        }
        SaveReadHistoryIfChanged();
        RefreshVariableEditor();
        if (!RunScripts(static_cast<float>(dt)) || IsScriptStackEmpty()) {
            return;
        }
    }
}

bool DisplayWindowedOrAbsent() {
    return D3DApp == nullptr || D3DApp->device == nullptr || WindowedFlag != FALSE;
}

}  // namespace

std::uint32_t FrameMilliseconds(double dt) {
    if (!(dt > 0.0)) {
        return 0;
    }
    const double ms = std::trunc(dt * 1000.0);
    if (ms >= 4294967295.0) {
        return 0xFFFFFFFFu;
    }
    return std::max<std::uint32_t>(static_cast<std::uint32_t>(ms), 1);
}

int ReadBacklogDirection(double dt) {
    const DIApplication* input = gDIApplication;
    int held = 0;  // of the keys, else of the pad's Y axis
    if (input != nullptr) {
        const LONG limit = std::max<LONG>(input->GetPadRangeMax() * 9 / 10, 1);
        if (input->IsKeyDown(kKeyUp) || input->IsKeyDown(kKeyPageUp)) {
            held = -1;
        } else if (input->IsKeyDown(kKeyDown) || input->IsKeyDown(kKeyPageDown)) {
            held = 1;
        } else if (input->padState.lY <= -limit) {
            held = -1;
        } else if (input->padState.lY >= limit) {
            held = 1;
        }
    }
    if (held == 0) {
        // Released: the hold is over, however long its timer still runs, so that the next
        // press steps at once and starts a hold of its own.
        KeyRepeatFirst = 1;
        KeyRepeatTimer = 0.0;
    }
    if (KeyRepeatTimer > 0.0) {
        KeyRepeatTimer -= dt;
        if (KeyRepeatTimer > 0.0) {
            return 0;
        }
        KeyRepeatTimer = 0.0;
    }
    const LONG wheel = input != nullptr ? input->mouseState.lZ : 0;
    const int direction = wheel != 0 ? (wheel > 0 ? -1 : 1) : held;
    if (AutoMode != 0 && direction != 0) {
        PendingDelayMs = 0;
        FastForwardMode = 0;
        AutoMode = 0;
    }
    if (direction != 0 && wheel == 0) {
        KeyRepeatTimer =
            KeyRepeatFirst != 0 ? input->GetKeyRepeatDelay() : input->GetKeyRepeatInterval();
        KeyRepeatFirst = KeyRepeatTimer == 0.0 ? 1 : 0;
    } else {
        KeyRepeatFirst = 1;
        KeyRepeatTimer = 0.0;
    }
    return direction;
}

void ToggleFastForwardMode() {
    const bool allowed = MsgSkipUnseen != 0 || IsCurrentPageUnread() == 0;
    if (allowed && !UiWindowOpen()) {
        FastForwardMode = FastForwardMode != 0 ? 0 : 1;
    } else {
        FastForwardMode = 0;
    }
    AutoMode = 0;
    if (SkipDisabled == 0 && FastForwardMode != 0) {
        SkipActive = 1;
        MascotGoodnight();
    } else {
        SkipActive = 0;
        MascotAwake();
    }
}

void ToggleAutoMode() {
    AutoMode = UiWindowOpen() ? 0 : (AutoMode != 0 ? 0 : 1);
    if (MessageBacklog::IsCursorOnEntry() && AutoMode != 0) {
        MessageBacklog::ReturnToCurrent();
    }
    FastForwardMode = 0;
    if (SkipActive != 0 || AutoMode != 0) {
        MascotGoodnight();
    } else {
        MascotAwake();
    }
}

void AdventureFrame(double dt) {
    if (DisplayWindowedOrAbsent() && VariableEditorWindow == nullptr &&
        MatchTypedKeyword(kEditorWord) != 0) {
        OpenVariableEditor(1);
    }
    CreateMascot(LetterboxRect.right - 40, LetterboxRect.bottom - 28);
    PageBacklog(dt);

    const FrameInput in = ReadInput();
    if (in.fastForwardToggle) {
        ToggleFastForwardMode();
    }
    if (SkipDisabled == 0 && (FastForwardMode != 0 || in.skipHeld)) {
        SkipActive = 1;
        AutoMode = 0;
        WindowFadeTime = 0.0f;
    } else {
        SkipActive = 0;
        WindowFadeTime = std::max(WindowFadeTime - static_cast<float>(dt), 0.0f);
    }
    if (in.advance) {
        Advance(in);
    }
    if (in.windowToggle) {
        ToggleWindow();
    }
    CountSceneTimers(dt);
    RunScriptStep(dt);
    // The page that stopped the script is kept too, so that leaving the game on it keeps it.
    SaveReadHistoryIfChanged();

    RenderAdventureScene(1);
    if (SkipActive == 0 && AutoMode == 0) {
        MascotAwake();
    } else {
        MascotGoodnight();
    }
    DrawMessageWindow();
    if (GameMode != kGameModeAdventure) {
        ReleaseScene();
    }
}

LRESULT AdventureOnMessage(HWND, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_KEYDOWN:
            if (MoviePlaying() && std::find(std::begin(kMovieCloseKeys), std::end(kMovieCloseKeys),
                                            wParam) != std::end(kMovieCloseKeys)) {
                CloseMovies();
            }
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            if (MoviePlaying()) {
                CloseMovies();
            }
            return 0;
        case WM_MOUSEMOVE: {
            const bool crossFading = FadePlane != nullptr && FadePlane->gameData != 0;
            SetCursorShape(crossFading || MoviePlaying() ? 0 : 1);
            return 0;
        }
        default:
            return 1;
    }
}

int EndMovie(int reason) {
    // The end (1), a user abort (2) and an error abort (3) all stop the movie's event pump:
    // the players close with it, so that none is left counted as playing.
    if (reason >= 1 && reason <= 3) {
        CloseMovies();
    }
    return 0;
}
