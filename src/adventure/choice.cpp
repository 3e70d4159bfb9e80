#include "adventure/choice.h"

#include <algorithm>
#include <string>

#include "adventure/choice_history.h"
#include "adventure/choice_window.h"
#include "adventure/message_functions.h"
#include "adventure/message_layout.h"
#include "adventure/system_functions.h"
#include "foundation/app_settings.h"
#include "script/call_stack.h"
#include "script/script_variables.h"

namespace {

// The choice window that functions 22, 20 and 21 fill, until 20 or 21 shows it.
MenuWindowWatch underConstruction(nullptr);

// The window under construction, made when there is none; null when it cannot be made.
MenuWindow* ChoiceUnderConstruction() {
    if (!underConstruction.Alive()) {
        underConstruction = MenuWindowWatch(CreateChoiceWindow());
    }
    return underConstruction.get();
}

void AddChoiceItem(MenuWindow* window, const char* text, std::uint32_t value,
                   const char* helpText) {
    const std::string padded = std::string(" ") + text + " ";
    MenuItem item;
    item.text = padded.c_str();
    item.value = value;
    item.helpText = helpText;
    window->AddItem(item);
}

// The rows a choice shows at most: ScreenHeight / 2 / 24 - 3, at least one.
int VisibleChoiceRows() {
    return std::max(static_cast<int>(ScreenHeight) / 2 / kChoiceLineHeight - 3, 1);
}

// Functions 20 and 21: the items of the arguments added, the window shown with the focus.
bool ShowChoice(const ScriptArguments& arguments, bool cancellable) {
    MenuWindow* window = ChoiceUnderConstruction();
    ChoiceCancelAllowed = cancellable ? 1 : 0;
    if (window != nullptr) {
        for (std::size_t i = 0; i < arguments.Count(); ++i) {
            AddChoiceItem(window, arguments.String(i), static_cast<std::uint32_t>(i), nullptr);
        }
    }
    underConstruction = MenuWindowWatch(nullptr);
    if (window == nullptr || window->items.empty()) {
        // Nothing to choose: no window that would wait for ever, and the choice reads as
        // cancelled.
        if (window != nullptr) {
            DeleteMenuWindow(window);
        }
        const std::uint32_t none = 0xFFFFFFFFu;
        SetVar(kResultVariable, &none);
        SetVar(kSecondResultVariable, &none);
        return false;
    }
    if (!cancellable) {
        const char* script = CurrentScriptName();
        const std::int32_t point = CurrentCallSiteIndex(kChoiceFunction);
        for (MenuItem* item : window->items) {
            if (IsChoiceTaken(script != nullptr ? script : "", point, item->value)) {
                item->colour = kChoiceTakenColour;
            }
        }
    }
    SetFocusWindow(window);
    const int rows = std::min(static_cast<int>(window->items.size()), VisibleChoiceRows());
    window->height = rows * kChoiceLineHeight;
    ShowMessageWindowAtOnce();
    return false;
}

}  // namespace

bool BuiltinChoice(const ScriptArguments& arguments) {
    return ShowChoice(arguments, false);
}

bool BuiltinCancellableChoice(const ScriptArguments& arguments) {
    return ShowChoice(arguments, true);
}

bool BuiltinChoiceItem(const ScriptArguments& arguments) {
    MenuWindow* window = ChoiceUnderConstruction();
    if (window != nullptr) {
        const char* help = arguments.Has(2) ? arguments.String(2) : nullptr;
        AddChoiceItem(window, arguments.String(0), static_cast<std::uint32_t>(arguments.Long(1, 0)),
                      help);
    }
    return true;
}

bool BuiltinPopup(const ScriptArguments& arguments) {
    const std::string text = ExpandGlobalWords(arguments.String(1));
    ShowPopup(kMenuAuto, static_cast<int>(ScreenHeight) / 2, text.c_str(),
              arguments.Long(2, 1) != 0, nullptr);
    return false;
}
