#include "shell/game_menu.h"

#include "adventure/adventure_frame.h"
#include "adventure/save_slot_table.h"
#include "foundation/app_settings.h"
#include "media/graphics/d3d_application.h"
#include "media/graphics/d3d_functions.h"
#include "platform/d3d9/d3d9.h"
#include "platform/win32/cursor_api.h"
#include "platform/win32/menu_api.h"
#include "platform/win32/message_keys.h"
#include "shell/frame_control.h"
#include "shell/game_window.h"

namespace {

// The D3D application's capability flag: the adapter can run the device in a window.
constexpr DWORD kCanRunWindowed = 2;
constexpr UINT kDisabled = MF_GRAYED | MF_DISABLED;
constexpr int kLoadSubmenuPosition = 0;
constexpr int kSaveSubmenuPosition = 1;

UINT CheckedWhen(bool on) {
    return on ? MF_CHECKED : MF_UNCHECKED;
}

UINT EnabledWhen(bool on) {
    return on ? MF_ENABLED : kDisabled;
}

void SetCommandStates(HMENU menu) {
    const bool fullScreen = FullScreenWithDevice();
    const bool canRunWindowed = D3DApp != nullptr && (D3DApp->modeFlags & kCanRunWindowed) != 0;
    CheckMenuItem(menu, kCommandFullScreen, MF_BYCOMMAND | CheckedWhen(fullScreen));
    CheckMenuItem(menu, kCommandFastForward, MF_BYCOMMAND | CheckedWhen(SkipActive != 0));
    CheckMenuItem(menu, kCommandHandsFree, MF_BYCOMMAND | CheckedWhen(AutoMode != 0));
    EnableMenuItem(menu, kCommandReturnToTitle, MF_BYCOMMAND | EnabledWhen(TitleReturnEnabled));
    EnableMenuItem(menu, kCommandFullScreen, MF_BYCOMMAND | EnabledWhen(canRunWindowed));
    EnableMenuItem(menu, kCommandWebSite, MF_BYCOMMAND | EnabledWhen(!fullScreen));
}

}  // namespace

void UpdateMenuItemStates(HMENU popup) {
    if (HMENU file = GetSubMenu(MainMenu, 0)) {
        EnableMenuItem(file, kLoadSubmenuPosition, MF_BYPOSITION | EnabledWhen(LoadMenuEnabled));
        EnableMenuItem(file, kSaveSubmenuPosition, MF_BYPOSITION | EnabledWhen(SaveMenuEnabled));
    }
    SetCommandStates(MainMenu);
    if (popup != nullptr && popup != MainMenu) {
        SetCommandStates(popup);
    }
    ScanSaveSlots(popup);
}

void UpdateFullScreenMenuBar(HWND window, WPARAM buttons, POINT screen) {
    IDirect3DDevice9* device = CurrentDevice();
    if (device == nullptr || WindowedFlag) {
        return;
    }
    const bool anyButton = (buttons & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0;
    const bool attached = GetMenu(window) != nullptr;
    if (!attached && screen.y == 0 && !anyButton) {
        SetDialogMode(1);
        device->ShowCursor(FALSE);
        SetMenu(window, MainMenu);
        DrawMenuBar(window);
        UpdateFrame(0);
    } else if (attached) {
        device->ShowCursor(TRUE);
        SetMenu(window, nullptr);
        SetCursorPos(screen.x, screen.y);
        DrawMenuBar(window);
        SetDialogMode(0);
    }
}
