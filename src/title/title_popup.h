#pragma once
// TitlePopup: the two windows the title screen opens, each one UI window with its entries and
// the entry the player chose. The command popup lists the 21 load slots with their texts; a
// chosen slot reaches the game window as its load command (40200 + slot). The recollection
// sub-menu lists the scenes of one recollection item, those seen enabled; a chosen scene starts
// the script "title" at "_mecall" with its entry in variable 9.

#include <array>
#include <cstdint>
#include <string>

#include "platform/d3d9/d3d9_types.h"
#include "platform/winbase/win_types.h"
#include "sprite_ui/menu_window.h"

constexpr int kTitlePopupEntries = 8;
constexpr int kCommandPopupEntries = 21;  // save slots 0..20
constexpr WORD kFirstLoadCommand = 40200;
// The command popup's window: line height and font height; the recollection sub-menu's.
constexpr int kCommandPopupLine = 18;
constexpr int kCommandPopupFont = 16;
constexpr int kRecollectionLine = 24;
constexpr int kRecollectionFont = 20;
constexpr D3DCOLOR kPopupEnabledColour = 0xFFFFFFFFu;
constexpr D3DCOLOR kPopupDisabledColour = 0xFF808080u;
constexpr D3DCOLOR kLastSlotEnabledColour = 0xFF7FF4FFu;
constexpr D3DCOLOR kLastSlotDisabledColour = 0xFF60C0C0u;
// A slot text is cut at this many bytes; a slot without one shows "-".
constexpr int kSlotTextLimit = 255;

class TitlePopup {
public:
    // Deletes the window when it is still a live UI window; chosen := -1.
    void CloseWindow();
    // CloseWindow and no entries.
    void Clear();
    void SetChosen(std::int32_t index) { chosen = index; }
    // Command popup, each title frame: a chosen entry closes the window and posts its load
    // command to the game window; true then.
    bool PostCommand();
    // Recollection sub-menu, each title frame: a chosen entry goes to variable 9, the hover
    // balloon is deleted, the popup cleared and "title" started at "_mecall"; the start's
    // answer. False without a chosen entry.
    bool RunRecollection();

    MenuWindow* window = nullptr;
    std::array<MenuItem, kTitlePopupEntries> items{};   // templates
    std::array<std::string, kTitlePopupEntries> texts;  // what the templates lend
    std::uint32_t count = 0;
    std::int32_t chosen = -1;
};

// Made on first use, living to the end of the run.
TitlePopup& GetCommandPopup();
TitlePopup& GetRecollectionPopup();

namespace Title {

// Title command 9: the command popup filled with the load menu's slot texts and shown.
void ShowCommandPopup();
// Title command 11: the recollection sub-menu of `item` with the entry texts (null: none);
// an item of one part chooses entry 0 at once.
void ShowRecollection(std::int32_t item, const std::array<const char*, kTitlePopupEntries>& texts);
// The slot table's used flag of save slot `slot`.
bool SaveSlotUsed(int slot);

}  // namespace Title
