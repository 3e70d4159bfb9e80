// Menu 102: "File" with the load and save submenus, the return to the title and the exit;
// "Settings" with full screen, preferences and the play modes; "Help" with the web site and the
// version.

#include <cstdio>
#include <initializer_list>

#include "platform/win32/menu_api.h"
#include "resources/game_menu_texts.h"
#include "resources/game_resources.h"

namespace {

constexpr UINT kFirstLoadCommand = 40200;
constexpr UINT kFirstSaveCommand = 40250;
constexpr UINT kSaveForbiddenCommand = 40270;
constexpr int kListedSlots = 20;  // slots 00..19 above the separator; 20 below it

struct CommandItem {
    UINT command;  // 0: a separator
    const char* text;
    UINT flags = MF_STRING;
};

void AppendItems(HMENU menu, std::initializer_list<CommandItem> items) {
    for (const CommandItem& item : items) {
        if (item.command == 0) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuA(menu, item.flags, item.command, item.text);
        }
    }
}

// Items "00".."19", a separator, then `last`.
HMENU SlotMenu(UINT firstCommand, const CommandItem& last) {
    HMENU menu = CreatePopupMenu();
    for (int slot = 0; slot < kListedSlots; ++slot) {
        char text[4];
        std::snprintf(text, sizeof text, "%02d", slot);
        AppendMenuA(menu, MF_STRING, firstCommand + static_cast<UINT>(slot), text);
    }
    AppendItems(menu, {{0, nullptr}, last});
    return menu;
}

void AppendPopup(HMENU bar, HMENU popup, const char* text) {
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), text);
}

}  // namespace

HMENU BuildGameMenu() {
    HMENU bar = CreateMenu();

    HMENU file = CreatePopupMenu();
    AppendPopup(file, SlotMenu(kFirstLoadCommand, {kFirstLoadCommand + kListedSlots, "20"}),
                kMenuLoad);
    AppendPopup(file,
                SlotMenu(kFirstSaveCommand,
                         {kSaveForbiddenCommand, kMenuSaveForbidden, MF_STRING | MF_GRAYED}),
                kMenuSave);
    AppendItems(file,
                {{0, nullptr}, {40012, kMenuReturnToTitle}, {0, nullptr}, {40001, kMenuExit}});
    AppendPopup(bar, file, kMenuFile);

    HMENU settings = CreatePopupMenu();
    AppendItems(settings, {{40100, kMenuFullScreen},
                           {40077, kMenuPreferences},
                           {0, nullptr},
                           {40096, kMenuHandsFree},
                           {40066, kMenuFastForward}});
    AppendPopup(bar, settings, kMenuSettings);

    HMENU help = CreatePopupMenu();
    AppendItems(help, {{40095, kMenuWebSite}, {0, nullptr}, {40005, kMenuVersion}});
    AppendPopup(bar, help, kMenuHelp);
    return bar;
}
