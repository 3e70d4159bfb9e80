#include "shell/startup_settings.h"

#include "foundation/app_settings.h"
#include "foundation/log.h"
#include "media/graphics/d3d_application.h"
#include "platform/win32/menu_api.h"
#include "shell/startup_dialog.h"

void ChooseSurfaceFormats() {
    DisplaySettings.BackBufferFormat = D3DFMT_X8R8G8B8;
    if (DisplaySettings.EnableAutoDepthStencil) {
        DisplaySettings.AutoDepthStencilFormat = D3DFMT_D16;
    }
}

void BuildDisplaySettings() {
    ReadDisplaySettings();
    HWND window = DisplaySettings.hDeviceWindow;
    DisplaySettings = D3DPRESENT_PARAMETERS{};
    DisplaySettings.hDeviceWindow = window;
    DisplaySettings.BackBufferWidth = ScreenWidth;
    DisplaySettings.BackBufferHeight = ScreenHeight;
    DisplaySettings.BackBufferCount = 1;
    DisplaySettings.SwapEffect = D3DSWAPEFFECT_DISCARD;
    DisplaySettings.Windowed = Fullscreen != 0 ? FALSE : TRUE;
    DisplaySettings.FullScreen_RefreshRateInHz = DisplaySettings.Windowed ? 0 : RefreshRate;
    DisplaySettings.PresentationInterval = (Vsync != 0 && !DisplaySettings.Windowed)
                                               ? D3DPRESENT_INTERVAL_ONE
                                               : D3DPRESENT_INTERVAL_IMMEDIATE;
    ChooseSurfaceFormats();
}

int RunStartupSettingsDialog(int resource) {
    BuildDisplaySettings();
    return static_cast<int>(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(static_cast<WORD>(resource)),
                                            nullptr, StartupDialogProc, 0));
}

bool RunStartupDialogLoop(StartupDialogRunner runDialog) {
    ForgetStartupDialogPosition();
    int resource = kStartupDialogSimple;
    for (;;) {
        const int result = runDialog(resource);
        if (result == 1) {
            return true;
        }
        if (result == 2) {
            return false;
        }
        if (result < 0) {
            // Shown again, a dialog that cannot be shown would fail the same way for ever.
            LogPrintf("startup dialog: failed (%d). back to the desktop.", result);
            return false;
        }
        resource = result == kStartupShowDetailed ? kStartupDialogDetailed : kStartupDialogSimple;
    }
}
