#include "adventure/choice_window.h"

#include "adventure/choice_history.h"
#include "adventure/mascot.h"
#include "adventure/sound_functions.h"
#include "adventure/stand.h"
#include "adventure/system_functions.h"
#include "foundation/app_settings.h"
#include "media/input/di_application.h"
#include "script/call_stack.h"
#include "script/script_variables.h"
#include "sprite_ui/ui_font.h"

std::int32_t ChoiceCancelAllowed = 0;

namespace {

constexpr DWORD kAllInputDevices = kDIKeyboardBit | kDIMouseBit | kDIPadBit;
constexpr std::uint32_t kCancelled = 0xFFFFFFFFu;  // -1

void SetResult(std::uint32_t index, std::uint32_t value) {
    SetVar(kResultVariable, &index);
    SetVar(kSecondResultVariable, &value);
}

void PollInputAgain() {
    if (gDIApplication != nullptr) {
        gDIApplication->Poll(kAllInputDevices);
    }
}

}  // namespace

MenuWindow* CreateChoiceWindow() {
    const int y = AnyStandShown() ? static_cast<int>(ScreenHeight * 7 / 12) : kMenuAuto;
    MenuWindow* window = CreateMenuWindow(kMenuAuto, y, kMenuAuto, kMenuAuto, kChoiceLineHeight,
                                          ChoiceSelected, nullptr, 0);
    if (window == nullptr) {
        return nullptr;
    }
    window->SetFont(BoldGothicFont());
    HideMascot();
    return window;
}

int ChoiceSelected(MenuWindow* window, int event, std::intptr_t index, void*) {
    if (event == kMenuEventDecide) {
        if (index < 0) {
            return 0;
        }
        const MenuItem* item = window->GetItem(-1);
        const std::uint32_t value = item != nullptr ? item->value : 0;
        if (ChoiceCancelAllowed == 0) {
            const char* script = CurrentScriptName();
            RecordChoice(script != nullptr ? script : "", CurrentCallSiteIndex(kChoiceFunction),
                         value);
        }
        SetResult(static_cast<std::uint32_t>(index), value);
        PlaySystemSound("se001");
    } else if (event == kMenuEventCancel) {
        if (ChoiceCancelAllowed == 0) {
            return 0;
        }
        SetResult(kCancelled, kCancelled);
        PlaySystemSound("se002");
    } else {
        return 0;
    }
    if (IsMenuWindow(window)) {
        DeleteMenuWindow(window);
    }
    return 1;
}

MenuWindow* ShowPopup(int x, int y, const char* text, bool modal, MenuWindowHandler handler) {
    MenuWindow* popup = CreateMenuWindow(x, y, kMenuAuto, kMenuAuto, kChoiceLineHeight,
                                         handler != nullptr ? handler : PopupSelected,
                                         GetFocusWindow(), modal ? kMenuModal : kMenuPassive);
    if (popup == nullptr) {
        return nullptr;
    }
    MenuItem item;
    item.flags = kMenuItemNoHighlight;
    item.text = text;
    popup->AddItem(item);
    PollInputAgain();
    SetFocusWindow(popup);
    return popup;
}

int PopupSelected(MenuWindow* window, int event, std::intptr_t, void* context) {
    if (event == kMenuEventDecide || event == kMenuEventCancel) {
        auto* previous = static_cast<MenuWindow*>(context);
        if (IsMenuWindow(window)) {
            DeleteMenuWindow(window);
        }
        if (IsMenuWindow(previous)) {
            SetFocusWindow(previous);
        }
        return 1;
    }
    if (event == kMenuEventClose) {
        PollInputAgain();
    }
    return 0;
}
