#include "title/title_popup.h"

#include <cstdio>

#include "adventure/game_mode.h"
#include "adventure/save_slot_table.h"
#include "adventure/system_functions.h"
#include "foundation/app_settings.h"
#include "foundation/path.h"
#include "media/sound/direct_sound.h"
#include "platform/win32/menu_api.h"
#include "platform/win32/message_api.h"
#include "script/script_variables.h"
#include "shell/game_window.h"
#include "sprite_ui/ui_font.h"
#include "title/title_data.h"
#include "title/title_menu.h"

namespace {

constexpr const char* kRecollectionScript = "title";
constexpr const char* kRecollectionLabel = "_mecall";
constexpr const char* kFrameImage = "frame";
constexpr const char* kNoSlotText = "-";
constexpr DWORD kSoundFlags = 128;  // DSBCAPS_CTRLVOLUME

void PlaySound(const char* name) {
    PlaySE(GetPath(PathKind::Sound, name), static_cast<LONG>(SoundVolume) - 10000, nullptr,
           kSoundFlags);
}

// A window of automatic place and size with the frame "frame.png" and the UI font at
// `fontHeight`; null when it cannot be made.
MenuWindow* MakeWindow(int line, int fontHeight, MenuWindowHandler handler, TitlePopup* popup) {
    MenuWindow* window =
        CreateMenuWindow(kMenuAuto, kMenuAuto, kMenuAuto, kMenuAuto, line, handler, popup, 0);
    if (window == nullptr) {
        return nullptr;
    }
    window->LoadFrameTextures(GetPath(PathKind::Image, kFrameImage));
    LOGFONTA font = BoldGothicFont();
    font.lfHeight = fontHeight;
    window->SetFont(font);
    return window;
}

int CommandPopupHandler(MenuWindow*, int event, std::intptr_t argument, void* context) {
    auto* popup = static_cast<TitlePopup*>(context);
    if (event == kMenuEventDecide && argument >= 0) {
        popup->CloseWindow();
        popup->chosen = static_cast<std::int32_t>(argument);
        return 1;
    }
    if (event == kMenuEventCancel) {
        popup->CloseWindow();
        PlaySound("se002");
        return 1;
    }
    return 0;
}

int RecollectionPopupHandler(MenuWindow*, int event, std::intptr_t argument, void* context) {
    auto* popup = static_cast<TitlePopup*>(context);
    if (event == kMenuEventDecide && argument >= 0) {
        popup->Clear();
        popup->chosen = static_cast<std::int32_t>(argument);
        PlaySound("se001");
        return 1;
    }
    if (event == kMenuEventCancel) {
        popup->Clear();
        PlaySound("se002");
        return 1;
    }
    return 0;
}

MenuItem Entry(const char* text, bool enabled, D3DCOLOR on, D3DCOLOR off) {
    MenuItem item;
    item.text = text;
    item.flags = enabled ? 0 : kMenuItemDisabled;
    item.colour = enabled ? on : off;
    return item;
}

}  // namespace

void TitlePopup::CloseWindow() {
    if (IsMenuWindow(window)) {
        MenuWindow* closing = window;
        window = nullptr;
        DeleteMenuWindow(closing);
    }
    window = nullptr;
    chosen = -1;
}

void TitlePopup::Clear() {
    CloseWindow();
    count = 0;
}

bool TitlePopup::PostCommand() {
    if (chosen == -1) {
        return false;
    }
    const std::int32_t entry = chosen;
    CloseWindow();
    PostMessageA(MainWindow, WM_COMMAND, static_cast<WPARAM>(kFirstLoadCommand + entry), 0);
    return true;
}

bool TitlePopup::RunRecollection() {
    if (chosen == -1) {
        return false;
    }
    const auto entry = static_cast<std::uint32_t>(chosen);
    SetVar(kResultVariable, &entry);
    Title::DeleteHoverBaloon();
    Clear();
    return StartScript(GetPath(PathKind::Script, kRecollectionScript), kRecollectionLabel, 0);
}

TitlePopup& GetCommandPopup() {
    static TitlePopup popup = [] {
        TitlePopup made;
        made.count = kCommandPopupEntries;
        return made;
    }();
    return popup;
}

TitlePopup& GetRecollectionPopup() {
    static TitlePopup popup;
    return popup;
}

namespace Title {

bool SaveSlotUsed(int slot) {
    return slot >= 0 && slot < kSaveSlotCount && SaveSlots[static_cast<std::size_t>(slot)].used;
}

void ShowCommandPopup() {
    TitlePopup& popup = GetCommandPopup();
    popup.CloseWindow();
    popup.window = MakeWindow(kCommandPopupLine, kCommandPopupFont, CommandPopupHandler, &popup);
    if (popup.window == nullptr) {
        return;
    }
    ScanSaveSlots(MainMenu);
    HMENU load = MainMenu != nullptr ? GetSubMenu(GetSubMenu(MainMenu, 0), 0) : nullptr;
    for (int i = 0; i < kCommandPopupEntries; ++i) {
        char text[kSlotTextLimit + 1] = {};
        if (load == nullptr || GetMenuStringA(load, kFirstLoadCommand + static_cast<UINT>(i), text,
                                              sizeof text, MF_BYCOMMAND) <= 0) {
            std::snprintf(text, sizeof text, "%s", kNoSlotText);
        }
        const bool last = i == kCommandPopupEntries - 1;
        popup.window->AddItem(Entry(text, SaveSlotUsed(i),
                                    last ? kLastSlotEnabledColour : kPopupEnabledColour,
                                    last ? kLastSlotDisabledColour : kPopupDisabledColour));
    }
    FocusMenuWindow(popup.window);
}

void ShowRecollection(std::int32_t item, const std::array<const char*, kTitlePopupEntries>& texts) {
    gTitleData.selectedItem = item;
    if (item < 0 || static_cast<std::size_t>(item) >= gTitleData.names.size()) {
        return;
    }
    TitlePopup& popup = GetRecollectionPopup();
    const std::size_t parts =
        SplitItemName(gTitleData.names[static_cast<std::size_t>(item)]).size();
    if (parts <= 1 || static_cast<std::size_t>(item) >= gTitleData.flags.size()) {
        popup.chosen = 0;
        return;
    }
    popup.Clear();
    if (parts > kTitlePopupEntries) {
        return;
    }
    popup.count = static_cast<std::uint32_t>(parts);
    popup.window =
        MakeWindow(kRecollectionLine, kRecollectionFont, RecollectionPopupHandler, &popup);
    if (popup.window == nullptr) {
        popup.count = 0;
        return;
    }
    const std::uint8_t seen = FlagByte(item);
    for (std::size_t i = 0; i < parts; ++i) {
        popup.texts[i] = texts[i] != nullptr ? texts[i] : "";
        popup.items[i] = Entry(popup.texts[i].c_str(), (seen >> i & 1) != 0, kPopupEnabledColour,
                               kPopupDisabledColour);
        popup.window->AddItem(popup.items[i]);
    }
    FocusMenuWindow(popup.window);
}

}  // namespace Title
