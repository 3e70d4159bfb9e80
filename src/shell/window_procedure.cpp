// MainWndProc: who sees each message of the game window, in a fixed order.
#include "adventure/adventure_frame.h"
#include "adventure/game_mode.h"
#include "adventure/save_game.h"
#include "adventure/train_map_screen.h"
#include "foundation/app_settings.h"
#include "foundation/log.h"
#include "foundation/path.h"
#include "media/graphics/d3d_application.h"
#include "media/graphics/d3d_functions.h"
#include "media/input/di_application.h"
#include "media/movie/movie_players.h"
#include "platform/d3d9/d3d9.h"
#include "platform/win32/cursor_api.h"
#include "platform/win32/gdi_fill.h"
#include "platform/win32/menu_api.h"
#include "platform/win32/message_api.h"
#include "platform/win32/message_box.h"
#include "platform/win32/message_keys.h"
#include "platform/win32/paint_api.h"
#include "platform/win32/shell_api.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_placement.h"
#include "shell/cursor.h"
#include "shell/frame_control.h"
#include "shell/game_menu.h"
#include "shell/game_window.h"
#include "shell/notice_dialogs.h"
#include "shell/preferences_dialog.h"
#include "shell/shell_texts.h"
#include "shell/startup_settings.h"
#include "sprite_ui/menu_window.h"
#include "title/title_menu.h"

namespace {

constexpr DWORD kAllInputDevices = kDIKeyboardBit | kDIMouseBit | kDIPadBit;
// Yes/No, question icon, No as the default button.
constexpr UINT kQuestionStyle = 0x144;
constexpr int kShowNormal = 1;  // SW_SHOWNORMAL

bool UseHardwareCursor() {
    return HWCursor != 0;
}

void SetInputAcquired(bool acquired) {
    if (gDIApplication != nullptr) {
        gDIApplication->SetAcquire(kAllInputDevices, acquired);
    }
}

void AskToClose(HWND window) {
    SetDialogMode(1);
    const int answer = MessageBoxA(window, kCloseQuestionText, kConfirmCaption, kQuestionStyle);
    SetDialogMode(0);
    if (answer != IDYES) {
        return;
    }
    if (WindowedFlag || CurrentDevice() == nullptr) {
        RECT rect{};
        GetWindowRect(window, &rect);
        WriteWindowRect(rect);
    }
    ShowWindow(window, SW_HIDE);
    DestroyWindow(window);
}

// The full-screen refresh rate: the stored one, else the desktop's.
UINT FullScreenRefreshRate() {
    if (RefreshRate != 0) {
        return RefreshRate;
    }
    D3DDISPLAYMODE desktop{};
    if (D3DApp->direct3D != nullptr) {
        D3DApp->direct3D->GetAdapterDisplayMode(D3DApp->adapter, &desktop);
    }
    return desktop.RefreshRate;
}

// Asked without dialog mode; anything but No restarts the game at the title.
void ReturnToTitle(HWND window) {
    const int answer =
        MessageBoxA(window, kTitleReturnQuestionText, kConfirmCaption, kQuestionStyle);
    if (answer == IDNO) {
        return;
    }
    ResetAdventureState();
    StartScript(GetPath(PathKind::Script, "start"), "restart", 0);
}

void ToggleFullScreen(HWND window) {
    if (MoviePlaying()) {
        DSMovie_Close();
        DSMovie9_Close();
        SetDialogMode(0);
    }
    IDirect3DDevice9* device = CurrentDevice();
    if (device == nullptr || (D3DApp->modeFlags & 2) == 0 ||
        device->TestCooperativeLevel() == D3DERR_DEVICELOST) {
        return;
    }
    const D3DPRESENT_PARAMETERS worked = DisplaySettings;
    WindowedFlag = WindowedFlag ? FALSE : TRUE;
    // A window takes the desktop's rate (0); full screen the chosen one.
    DisplaySettings.FullScreen_RefreshRateInHz = WindowedFlag ? 0 : FullScreenRefreshRate();
    DisplaySettings.PresentationInterval =
        !WindowedFlag && Vsync != 0 ? D3DPRESENT_INTERVAL_DEFAULT : D3DPRESENT_INTERVAL_IMMEDIATE;
    ChooseSurfaceFormats();
    if (FAILED(D3DApp->Reset(&DisplaySettings))) {
        LogPrintf(
            "full screen toggle: the device refused the new mode; back to the one that "
            "worked");
        DisplaySettings = worked;
        if (FAILED(D3DApp->Reset(&DisplaySettings))) {
            DeviceResetPending = 1;
        }
    }
    SetDialogMode(0);
    ApplyWindowMode();
    InvalidateRect(window, nullptr, TRUE);
}

// The messages handled before anyone else sees them (activation, clicks and the cursor, system
// commands, moving and sizing, the movie notification); true when the message is answered with
// `*result`.
bool HandleEarly(HWND window, UINT message, WPARAM wParam, LRESULT* result) {
    switch (message) {
        case WM_ACTIVATEAPP:
            if (D3DApp == nullptr) {
                return false;
            }
            if (FullScreenWithDevice()) {
                if (wParam == 0) {
                    ShowWindow(window, SW_MINIMIZE);
                } else if (IsIconic(window)) {
                    ShowWindow(window, SW_SHOW);
                }
            } else {
                AppActiveFlag = wParam != 0 ? 1 : 0;
                PauseFlag = wParam == 0 ? 1 : 0;
            }
            SetInputAcquired(AppActiveFlag != 0);
            return false;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_CLICKACTIVE) {
                ClickActivateFlag = 1;
            }
            return false;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            if (ClickActivateFlag != 0) {
                ClickActivateFlag = 0;
                *result = 0;
                return true;
            }
            return false;
        case WM_NCMOUSEMOVE:
            if (UseHardwareCursor() && CurrentDevice() != nullptr) {
                CurrentDevice()->ShowCursor(FALSE);
                SetCursor(LoadCursorA(nullptr, IDC_ARROW));
            }
            *result = 0;
            return true;
        case WM_MOUSEMOVE: {
            POINT screen{};
            GetCursorPos(&screen);
            if (GetCursor() != nullptr) {
                SetCursor(nullptr);
            }
            if (UseHardwareCursor() && CurrentDevice() != nullptr) {
                CurrentDevice()->ShowCursor(TRUE);
                CurrentDevice()->SetCursorPosition(screen.x, screen.y, D3DCURSOR_IMMEDIATE_UPDATE);
            }
            UpdateFullScreenMenuBar(window, wParam, screen);
            return false;
        }
        case WM_SYSCOMMAND: {
            const WPARAM command = wParam & 0xFFF0;
            if (command == SC_SCREENSAVE || command == SC_MONITORPOWER) {
                *result = 0;
                return true;
            }
            if (FullScreenWithDevice() && !IsIconic(window) && command != SC_CLOSE &&
                command != SC_MOUSEMENU && command != SC_KEYMENU) {
                *result = 0;
                return true;
            }
            return false;
        }
        case WM_ENTERSIZEMOVE:
            PauseFlag = 1;
            return false;
        case WM_EXITSIZEMOVE:
            PauseFlag = 0;
            return false;
        case MovieNotifyMessage:
            // Each player that plays takes its events; a notification that comes after the
            // movie stopped is ignored.
            if (DSMovie_IsPlaying() != 0) {
                DSMovie_OnGraphNotify(window);
            }
            if (DSMovie9_IsPlaying() != 0) {
                DSMovie9_OnGraphNotify(window);
            }
            return false;
        default:
            return false;
    }
}

// The current mode's handler, offered the message after the UI window layer; true when it
// consumed the message.
bool OfferToGameMode(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (GameMode) {
        case kGameModeAdventure:
            return AdventureOnMessage(window, message, wParam, lParam) == 0;
        case kGameModeTitleMenu:
            return Title::OnMessage(window, message, wParam, lParam) == 0;
        case kGameModeTrainMap:
            return TrainMapScreen::OnMessage(window, message, wParam, lParam) == 0;
        default:
            return false;
    }
}

LRESULT HandleCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
        case kCommandExit:
            SendMessageA(window, WM_CLOSE, 0, 0);
            return 0;
        case kCommandReturnToTitle:
            ReturnToTitle(window);
            return 0;
        case kCommandFpsOverlay:
            FpsOverlayFlag = FpsOverlayFlag != 0 ? 0 : 1;
            break;
        case kCommandFastForward:
            ToggleFastForwardMode();
            break;
        case kCommandHandsFree:
            ToggleAutoMode();
            break;
        case kCommandFullScreen:
            ToggleFullScreen(window);
            break;
        case kCommandVersion:
            ShowVersionDialog(window);
            return 0;
        case kCommandPreferencesMessage:
        case kCommandPreferences:
        case kCommandPreferencesSystem:
        case kCommandPreferencesOther:
        case kCommandPreferencesVoice:
            ShowPreferencesDialog(window, LOWORD(wParam));
            return 0;
        case kCommandWebSite:
            ShellExecuteA(window, "open", kMakerWebSite, nullptr, nullptr, kShowNormal);
            return 0;
        default:
            // The save and load commands; each acts only on its own range of ids.
            SaveToSlot(LOWORD(wParam));
            LoadGameData(LOWORD(wParam));
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

LRESULT MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT early = 0;
    if (HandleEarly(window, message, wParam, &early)) {
        return early;
    }
    if (MenuWindowHook(window, message, wParam, lParam) != 0) {
        return 0;
    }
    if (PauseFlag == 0 && OfferToGameMode(window, message, wParam, lParam)) {
        return 0;
    }
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint{};
            BeginPaint(window, &paint);
            // While a movie plays it draws itself over black.
            if (!MoviePlaying()) {
                UpdateFrame(0);
            } else {
                FillRect(paint.hdc, &paint.rcPaint,
                         reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            }
            EndPaint(window, &paint);
            return 0;
        }
        case WM_CLOSE:
            AskToClose(window);
            return 0;
        case WM_GETMINMAXINFO:
            if (FullScreenWithDevice() && lParam != 0) {
                auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
                limits->ptMinTrackSize.x = static_cast<LONG>(ScreenWidth);
                limits->ptMinTrackSize.y = static_cast<LONG>(ScreenHeight);
            }
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_PAUSE) {
                PauseFlag = PauseFlag != 0 ? 0 : 1;
                SingleStepFlag = 0;
                return 0;
            }
            if (wParam == VK_SPACE && PauseFlag != 0) {
                PauseFlag = 0;
                SingleStepFlag = 1;
                return 0;
            }
            return DefWindowProcA(window, message, wParam, lParam);
        case WM_CHAR:
            AppendTypedChar(static_cast<char>(wParam & 0xFF));
            return 0;
        case WM_INITMENUPOPUP:
            UpdateMenuItemStates(reinterpret_cast<HMENU>(wParam));
            return 0;
        case WM_ENTERMENULOOP:
            PauseFlag = 1;
            SetInputAcquired(false);
            DrawMenuBar(window);
            RedrawWindow(window, nullptr, nullptr, RDW_FRAME);
            return 0;
        case WM_EXITMENULOOP:
            PauseFlag = 0;
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return DefWindowProcA(window, message, wParam, lParam);
        case WM_COMMAND:
            return HandleCommand(window, message, wParam, lParam);
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}
