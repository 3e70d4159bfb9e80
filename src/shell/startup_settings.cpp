#include "shell/startup_settings.h"

#include "foundation/app_settings.h"
#include "foundation/log.h"
#include "media/graphics/d3d_application.h"
#include "platform/win32/menu_api.h"
#include "shell/startup_dialog.h"

int RunStartupSettingsDialog(int resource) {
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
