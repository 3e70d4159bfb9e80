#include "shell/startup_settings.h"

#include "foundation/log.h"

int RunStartupSettingsDialog(int) {
    ReadDisplayValues();
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
