#include "shell/startup_settings.h"

#include "foundation/app_settings.h"
#include "foundation/log.h"
#include "media/graphics/d3d_application.h"

// Until the dialog lands: what its page fill sets, without the controls.
int RunStartupSettingsDialog(int) {
    ReadDisplaySettings();
    if (D3DApp == nullptr || D3DApp->direct3D == nullptr) {
        return 1;
    }
    D3DApp->CheckDevice(0, static_cast<D3DDEVTYPE>(DevType));
    const bool fullScreen = Fullscreen != 0 || (D3DApp->modeFlags & 2) == 0;
    WindowedFlag = fullScreen ? FALSE : TRUE;
    DisplaySettings.PresentationInterval =
        fullScreen && Vsync != 0 ? D3DPRESENT_INTERVAL_DEFAULT : D3DPRESENT_INTERVAL_IMMEDIATE;
    if ((D3DApp->caps.CursorCaps & D3DCURSORCAPS_COLOR) == 0) {
        HWCursor = 0;
    }
    ChooseSurfaceFormats();
    D3DDISPLAYMODE desktop{};
    D3DApp->direct3D->GetAdapterDisplayMode(D3DApp->adapter, &desktop);
    const UINT refreshRate = !fullScreen || RefreshRate == 0 ? desktop.RefreshRate : RefreshRate;
    BuildDisplayModeList(DisplaySettings.BackBufferFormat, WindowedFlag, desktop);
    ApplyBackBufferSize();
    DisplaySettings.FullScreen_RefreshRateInHz = fullScreen ? refreshRate : 0;
    return 1;
}

int RunNoticeDialog() {
    return 1;
}

bool RunStartupDialogLoop(StartupDialogRunner runDialog) {
    int resource = kStartupDialogSimple;
    for (;;) {
        const int result = runDialog(resource);
        if (result == 1) {
            return true;
        }
        if (result == 2) {
            return false;
        }
        if (result != 3) {
            // Shown again, a dialog that cannot be shown would fail the same way for ever.
            LogPrintf("startup dialog: failed (%d). back to the desktop.", result);
            return false;
        }
        resource = kStartupDialogDetailed;
    }
}
