#include "title/title_command.h"

#include <string>
#include <vector>

#include "adventure/game_mode.h"
#include "adventure/scene.h"
#include "adventure/script_format.h"
#include "adventure/system_functions.h"
#include "foundation/log.h"
#include "foundation/path.h"
#include "platform/win32/cursor_api.h"
#include "platform/win32/message_api.h"
#include "platform/win32/window_placement.h"
#include "script/script_variables.h"
#include "shell/game_window.h"
#include "sprite_ui/menu_window.h"
#include "title/title_data.h"
#include "title/title_menu.h"
#include "title/title_popup.h"

namespace {

// The title sub-command is argument 1; its own arguments follow.
constexpr std::size_t kFirstArgument = 2;
constexpr std::size_t kTextArguments = 3;  // sub-command 11's entry texts start here

void WriteResult(std::uint32_t value) {
    SetVar(kResultVariable, &value);
}

// Sub-command 3 kind 0 (and 7): the items drawn into the back buffer, which becomes BASE.
void CaptureItems() {
    Title::DrawItems();
    CaptureBasePlane(nullptr);
}

void Picture(std::int32_t kind, std::uint32_t item) {
    switch (kind) {
        case 0:
            CaptureItems();
            break;
        case 1:
            Title::ShowPicture(item);
            break;
        case 2:
            Title::ReplayScene(item);
            break;
        default:
            break;
    }
}

void DropKeptItems(TitleMenu& menu) {
    const std::size_t drop = std::min<std::size_t>(menu.keepCount, menu.items.size());
    menu.items.erase(menu.items.begin(), menu.items.begin() + static_cast<std::ptrdiff_t>(drop));
    menu.keepCount = 0;
    menu.navigator.Rebuild(menu.items);
    CaptureItems();
}

void AddTable(const ScriptArguments& arguments) {
    const char* name = arguments.String(kFirstArgument);
    std::string formatted;
    if (arguments.Count() > 3) {
        // Argument 3 alone is the format's value.
        ScriptValue value = arguments.Has(3) ? *arguments.Value(3) : ScriptValue();
        const std::vector<ScriptValue*> values{&value};
        formatted = FormatScriptText(name, ScriptArguments(values), 0);
        name = formatted.c_str();
    }
    if (!Title::AddItem(name)) {
        LogPrintf("Title: AddItem error.");
    }
}

void RunPart(std::int32_t part, const char* label) {
    const std::int32_t item = gTitleData.selectedItem;
    if (item < 0 || static_cast<std::size_t>(item) >= gTitleData.names.size() || part < 0) {
        return;
    }
    const std::vector<std::string> parts =
        SplitItemName(gTitleData.names[static_cast<std::size_t>(item)]);
    if (static_cast<std::size_t>(part) >= parts.size()) {
        return;
    }
    Title::DeleteHoverBaloon();
    StartScript(GetPath(PathKind::Script, parts[static_cast<std::size_t>(part)].c_str()), label, 0);
}

void FlagCommand(std::int32_t op, std::uint32_t item, std::int32_t value) {
    if (op == 0) {
        WriteResult(Title::FlagByte(item));
    } else if (op == 1) {
        Title::SetFlagByte(item, static_cast<std::uint8_t>(value & 0xFF));
    } else {
        WriteResult(0);
    }
}

void PageCommand(std::int32_t op, std::int32_t value) {
    switch (op) {
        case 0:
            Title::SetCurrentItem(value);
            break;
        case 1:
            Title::SetCurrentPageCount(static_cast<std::uint32_t>(value));
            break;
        case 2:
            Title::SetCurrentPage(static_cast<std::uint32_t>(value));
            break;
        case 3:
            Title::StepPage(value);
            break;
        default:
            break;
    }
}

std::array<const char*, kTitlePopupEntries> EntryTexts(const ScriptArguments& arguments) {
    std::array<const char*, kTitlePopupEntries> texts{};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        texts[i] =
            arguments.Has(kTextArguments + i) ? arguments.String(kTextArguments + i) : nullptr;
    }
    return texts;
}

}  // namespace

namespace Title {

void ResetCursorPosition() {
    POINT screen{};
    GetCursorPos(&screen);
    SetCursorPos(screen.x, screen.y);
    if (MainWindow != nullptr) {
        const POINT client = MenuCursorPosition();
        PostMessageA(MainWindow, WM_MOUSEMOVE, 0,
                     MAKELPARAM(static_cast<WORD>(client.x), static_cast<WORD>(client.y)));
    }
}

std::int32_t Command(const ScriptArguments& arguments) {
    TitleMenu* menu = gTitleMenu;
    switch (arguments.ULong(1, 0)) {
        case 0:
            if (arguments.Long(kFirstArgument, 0) != 0) {
                Close();
            } else if (menu != nullptr) {
                menu->closeRequest = 1;
            }
            return 1;
        case 1:
            Close();
            gTitleMenu = new TitleMenu;
            return 1;
        case 2:
            if (menu != nullptr) {
                GameMode = kGameModeTitleMenu;
                ResetCursorPosition();
            }
            return 0;
        case 3:
            if (menu != nullptr) {
                Picture(arguments.Long(kFirstArgument, 0), arguments.ULong(3, 0));
            }
            return 1;
        case 4:
            if (menu != nullptr) {
                menu->hovered = menu->pressed = menu->clicked = menu->chosen = -1;
            }
            return 1;
        case 5:
            ResetCursorPosition();
            return 1;
        case 6:
            if (menu != nullptr) {
                DrawItems();
                menu->keepCount = static_cast<std::uint32_t>(menu->items.size());
            }
            return 1;
        case 7:
            if (menu != nullptr) {
                DropKeptItems(*menu);
            }
            return 1;
        case 8:
            if (menu != nullptr) {
                AddTable(arguments);
            }
            return 1;
        case 9:
            ShowCommandPopup();
            return 1;
        case 10:
            PostMessageA(MainWindow, WM_CLOSE, 0, 0);
            return 0;
        case 11:
            ShowRecollection(arguments.Long(kFirstArgument, 0), EntryTexts(arguments));
            return 1;
        case 12:
            RunPart(arguments.Long(kFirstArgument, 0), arguments.String(3));
            return 1;
        case 13:
            FlagCommand(arguments.Long(kFirstArgument, 0), arguments.ULong(3, 0),
                        arguments.Long(4, 0));
            return 1;
        case 14:
            WriteResult(arguments.Long(kFirstArgument, 0) == 0 ? gTitleData.extraDataPresent : 0);
            return 1;
        case 15:
            PageCommand(arguments.Long(kFirstArgument, 0), arguments.Long(3, 0));
            return 1;
        default:
            return 1;
    }
}

}  // namespace Title
