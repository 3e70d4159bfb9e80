#include "resources/game_resources.h"

#include "platform/win32/menu_api.h"

void RegisterGameResources() {
    Win32RegisterMenuResource(kGameMenuResource, BuildGameMenu);
    RegisterGameAccelerators();
    RegisterDialogTemplates();
    RegisterGameIcon();
    RegisterColourScales();
}
