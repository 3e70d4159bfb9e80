#include "shell/program.h"

#include <algorithm>
#include <string>

#include "adventure/game_mode.h"
#include "adventure/save_folder.h"
#include "adventure/save_game.h"
#include "adventure/voice.h"
#include "foundation/app_settings.h"
#include "foundation/log.h"
#include "foundation/path.h"
#include "media/graphics/d3d_application.h"
#include "media/graphics/d3d_dump.h"
#include "media/graphics/font.h"
#include "media/input/di_application.h"
#include "media/music/music_window.h"
#include "media/sound/direct_sound.h"
#include "platform/gdi/gdi_types.h"
#include "platform/ui/ui_presentation.h"
#include "platform/win32/capture_api.h"
#include "platform/win32/message_api.h"
#include "platform/win32/message_box.h"
#include "platform/win32/window_api.h"
#include "platform/winbase/com_init.h"
#include "platform/winbase/file_api.h"
#include "platform/winbase/registry.h"
#include "resources/game_resources.h"
#include "script/call_stack.h"
#include "shell/accelerators.h"
#include "shell/cursor.h"
#include "shell/frame_control.h"
#include "shell/game_window.h"
#include "shell/logical_screen.h"
#include "shell/notice_dialogs.h"
#include "shell/shell_texts.h"
#include "shell/startup_settings.h"
#include "shell/system_info.h"
#include "sprite_ui/frame_textures.h"
#include "sprite_ui/ui_font.h"
#include "title/title_data.h"

int MessageFontScale = 20;

namespace {

bool endRequested = false;
int endStatus = 0;

constexpr DWORD kMouseKeyboardCooperation = 6;  // non-exclusive, foreground
constexpr DWORD kPadCooperation = 5;            // exclusive, foreground
constexpr DWORD kDeviceBehaviour = 0x44;
constexpr DWORD kNoneVoiceFlags = 0xC0;
constexpr HRESULT kAccessDenied = static_cast<HRESULT>(0x80070005u);

std::string ProgramPath(const ProgramOptions& options) {
    if (!options.programPath.empty()) {
        return options.programPath;
    }
    char path[kPathLength] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
}

void SetUpInput(HWND window) {
    LogPrintf("\r\n[DirectInput]");
    CreateDIApplication(nullptr);
    if (gDIApplication == nullptr) {
        return;
    }
    gDIApplication->SetMouseDevice(window, kMouseKeyboardCooperation);
    gDIApplication->SetKeyboardDevice(window, kMouseKeyboardCooperation);
    GUID pad{};
    bool usePadGuid = ReadPadGuid(&pad);
    if (usePadGuid) {
        const HRESULT hr = gDIApplication->SetPadDevice(window, &pad, kPadCooperation);
        usePadGuid = SUCCEEDED(hr) || hr == kAccessDenied;
    }
    if (!usePadGuid) {
        gDIApplication->SetPadDevice(window, nullptr, kPadCooperation);
    }
}

// The lines of a copy started while another runs reach standard error only, for as long as the
// object lives; the log file is the running copy's.
class LogOfASecondCopy {
public:
    explicit LogOfASecondCopy(bool secondCopy)
        : logFileBefore_(secondCopy ? SetLogFileEnabled(0) : -1) {
        if (secondCopy) {
            LogPrintf(
                "start: the game is already running; this copy writes its log to standard error "
                "only and ends after its settings dialog.");
        }
    }
    ~LogOfASecondCopy() {
        if (logFileBefore_ >= 0) {
            SetLogFileEnabled(logFileBefore_);
        }
    }
    LogOfASecondCopy(const LogOfASecondCopy&) = delete;
    LogOfASecondCopy& operator=(const LogOfASecondCopy&) = delete;

private:
    int logFileBefore_;
};

void SetUpUiFont() {
    LOGFONTA font = BoldGothicFont();
    font.lfHeight = 20;
    SetUiFont(&font);
}

// Files that writes ended before their rename (a killed run) left in the settings folder and the
// save folder. Only once this copy's window stands, and with it the lock that makes it the one
// running copy: before it, a second copy would remove a file the running copy is writing.
void RemoveStaleTemporaryFiles() {
    RemoveStaleSettingsFiles();
    RemoveStaleSaveFolderFiles();
}

enum class StartOutcome {
    kRunning,
    kAnotherCopy,  // a copy of the program already runs: this one ends quietly
    kFailed,
};

// Start-up after the settings dialog, from the message text size to the accelerator table: the
// game window, sound and music, the device, input, the remaining settings, the UI, the script
// VM and the start script.
StartOutcome StartGame() {
    MessageFontScale = ComputeMessageFontScale(ScreenWidth, ScreenHeight);
    // A copy started at the same moment may have opened its window meanwhile: its marker is 1.
    if (AnotherCopyRuns()) {
        return StartOutcome::kAnotherCopy;
    }
    WriteSafetyQuit(1);
    HWND window = CreateMainWindow();
    if (window == nullptr) {
        return AnotherCopyRuns() ? StartOutcome::kAnotherCopy : StartOutcome::kFailed;
    }
    RemoveStaleTemporaryFiles();
    LogPrintf("\r\n[DirectSound]");
    CreateDirectSound(window, nullptr);
    ReadMusicDeviceSetting();
    CreateMusicWindow(window, MusicDevice);
    LogPrintf("\r\n[Direct3D]");
    if (FAILED(D3DApp->SetDevice(window, &DisplaySettings, D3DApp->adapter, D3DApp->deviceType,
                                 kDeviceBehaviour))) {
        MessageBoxA(window, kDeviceFailureText, kErrorCaption, MB_OK);
        return StartOutcome::kFailed;
    }
    ApplyWindowMode();
    D3DDump(1);
    D3DApp->device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
    SetUpInput(window);
    ReadGeneralSettings();
    LoadFrameTextures(GetPath(PathKind::Image, "frame"));
    SetUpUiFont();
    SetCursorShape(0);
    ReadTextureFilterSettings();
    LoadGlobal(GetPath(PathKind::Script, "global"));
    ResetScriptVariables(1);
    LoadVoiceSettings();
    Title::Load();
    PlaySE(GetPath(PathKind::Voice, "_none"), 10000, nullptr, kNoneVoiceFlags);
    const std::string start = GetPath(PathKind::Script, "start");
    if (!StartScript(start.c_str(), "top", 0)) {
        // The loader's line above says why.
        LogPrintf("start: the script \"%s\" does not run from \"top\". the program ends.",
                  start.c_str());
        return StartOutcome::kFailed;
    }
    LoadGameAccelerators();
    return StartOutcome::kRunning;
}

void ShutDown() {
    ResetAdventureState();
    ReleaseCursor();
    ReleaseFpsFont();
    D3D_ReleaseAllFonts();
    DestroyD3DApplication();
    // The music window goes before the sound device its stream plays on.
    DestroyMusicWindow();
    DestroyDirectSound();
    DestroyDIApplication();
    CoUninitialize();
    ReleaseGameAccelerators();
    // The window outlives the loop only when the program ends without its close; take it down
    // and drop what its destruction queued, so that nothing of this run reaches another.
    if (MainWindow != nullptr && IsWindow(MainWindow)) {
        DestroyWindow(MainWindow);
    }
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    UnregisterClassA(kProgramShortName, nullptr);
    ResetGameWindowState();
}

}  // namespace

int ComputeMessageFontScale(unsigned width, unsigned height) {
    return static_cast<int>(LogicalScreenScale(width, height) * 20.0);
}

void RequestProgramEnd(int exitStatus) {
    if (endRequested) {
        return;
    }
    endRequested = true;
    endStatus = exitStatus;
    if (MainWindow != nullptr) {
        SendMessageA(MainWindow, WM_DESTROY, 0, 0);
    }
}

void ResetProgramEndRequest() {
    endRequested = false;
    endStatus = 0;
}

bool ProgramEndRequested() {
    return endRequested;
}

void DropMouseCapture() {
    if (MainWindow != nullptr) {
        SetCapture(MainWindow);
        ReleaseCapture();
    }
}

int RunProgram(const ProgramOptions& options) {
    ResetProgramEndRequest();
    ResetFrameControl();
    SetFrameDrawnObserver(options.frameDrawn, options.frameDrawnContext);
    ResetGameWindowState();
    ResetAppSettingsToDefaults();
    DisplaySettings = InitialDisplaySettings();
    GameMode = kGameModeNone;
    GameModeStack.clear();
    LetterboxScale = 0.0;
    ForgetSavedGames();
    InstallGameScriptHooks();
    RegisterGameResources();
    // A copy started while another runs must not harm it: the log file and "SafetyQuit" are the
    // running copy's (its marker is 1 while it runs, so the notice would only wipe it). This
    // copy writes its lines to standard error only, shows its settings dialog and ends.
    const bool secondCopy = AnotherCopyRuns();
    const LogOfASecondCopy log(secondCopy);
    std::string displayProblem;
    if (options.display && !Win32StartDisplay(&displayProblem)) {
        LogPrintf(
            "display: none found (%s). the game needs a desktop session (X11 or Wayland) to "
            "open its window; the program ends.",
            displayProblem.c_str());
        return kExitStartFailed;
    }
    if (options.display) {
        // Dialogs are drawn from here on; without a display they are answered as headless.
        ui::InstallUiPresentation();
    }
    ForgetPreviousLog();
    if (!secondCopy && ReadSafetyQuit() != 0) {
        // Before this run's first line empties the log: the notice dialog copies the old one.
        KeepPreviousLog();
        if (RunNoticeDialog() == 2) {
            return 0;
        }
    }
    SystemInfo = WriteSystemInformation();
    LogPrintf("Product: %s %d.%02d", kProgramShortName, kProductVersionMajor, kProductVersionMinor);
    LogPrintf("Path: %s", ProgramPath(options).c_str());
    CoInitialize(nullptr);
    int status = 0;
    if (CreateD3DApplication() == 0) {
        status = kExitStartFailed;
    } else if (RunStartupDialogLoop(RunStartupSettingsDialog) && !secondCopy) {
        const StartOutcome outcome = StartGame();
        if (outcome == StartOutcome::kRunning) {
            if (RunMainLoop(options.idleHook, options.idleContext)) {
                WriteSafetyQuit(0);
            }
            status = endStatus;
        } else if (outcome == StartOutcome::kFailed) {
            status = kExitStartFailed;
        }
    }
    ShutDown();
    return status;
}
