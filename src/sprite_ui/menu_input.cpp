// UpdateMenuInput: one frame of keyboard, pad and mouse input for the focused window.
#include "sprite_ui/menu_input.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "adventure/pad_buttons.h"
#include "foundation/app_settings.h"
#include "media/input/di_application.h"
#include "platform/dinput/dik_codes.h"
#include "shell/cursor.h"
#include "sprite_ui/baloon.h"
#include "sprite_ui/menu_window.h"

const DWORD MenuKeyTable[7] = {DIK_UP,     DIK_DOWN,        DIK_PRIOR, DIK_NEXT,
                               DIK_RETURN, DIK_NUMPADENTER, DIK_ESCAPE};

DWORD MenuKey = 0;
DWORD MenuPreviousKey = 0;
double MenuRepeatTimer = 0.0;
DWORD MenuKeyLock = 0;
DWORD MenuPressedZone = kZoneNone;
int MenuDragOffset = 0;

namespace {

constexpr int kPadDecideAction = 0;
constexpr int kPadCancelAction = 1;

int AreaHeight(const MenuWindow& window) {
    return window.itemArea.bottom - window.itemArea.top;
}

// Steps 3 to 5: the key of the keyboard and the pad, 0 when none.
DWORD KeyboardAndPadKey(const DIApplication& input) {
    DWORD key = 0;
    for (DWORD code : MenuKeyTable) {
        if (input.IsKeyDown(static_cast<int>(code))) {
            key = code;
            break;
        }
    }
    DIJOYSTATE2 pad{};
    input.GetPadState(&pad);
    const LONG half = input.GetPadRangeMax() / 2;
    const LONG padX = std::labs(pad.lX) < half ? 0 : pad.lX;
    const LONG padY = std::labs(pad.lY) < half ? 0 : pad.lY;
    // Only a deflection that is more vertical than horizontal makes a key.
    if (padY != 0 && std::labs(padY) > std::labs(padX)) {
        key = padY < 0 ? DIK_UP : DIK_DOWN;
    }
    if (input.IsPadButtonPressed(GetPadButton(kPadDecideAction))) {
        key = DIK_RETURN;
    }
    if (input.IsPadButtonPressed(GetPadButton(kPadCancelAction))) {
        key = DIK_ESCAPE;
    }
    return key;
}

// Step 9: the scroll offset follows the dragged thumb; answers the move that brings the
// current item back into the item area.
int DragThumb(MenuWindow& window, POINT cursor) {
    const int thumbHeight = window.scrollThumb.bottom - window.scrollThumb.top;
    const int track = (window.windowRect.bottom - window.windowRect.top) - thumbHeight;
    if (track <= 0) {
        return 0;
    }
    const int position =
        std::clamp(static_cast<int>(cursor.y - window.windowRect.top) - MenuDragOffset, 0, track);
    const int range = std::max(0, window.contentHeight - AreaHeight(window));
    int scroll = static_cast<int>(static_cast<long long>(range) * position / track);
    if ((window.flags & kMenuFreeScroll) == 0) {
        scroll -= scroll % window.lineHeight;
    }
    window.scroll = scroll;
    const int count = static_cast<int>(window.items.size());
    int move = 0;
    while (window.current + move < count - 1 &&
           (window.current + move) * window.lineHeight < scroll) {
        ++move;
    }
    while (window.current + move > 0 &&
           (window.current + move + 1) * window.lineHeight > scroll + AreaHeight(window)) {
        --move;
    }
    return move;
}

// Step 10: false when the key does not act in this frame.
bool KeyActs(DWORD key, double seconds, const DIApplication& input) {
    if (key != MenuPreviousKey) {
        MenuRepeatTimer = input.GetKeyRepeatDelay();
        MenuPreviousKey = key;
        return key != 0;
    }
    if (key == 0 || key == DIK_RETURN || key == DIK_NUMPADENTER) {
        return false;
    }
    MenuRepeatTimer -= seconds;
    if (MenuRepeatTimer > 0.0) {
        return false;
    }
    double interval = input.GetKeyRepeatInterval();
    if (!(interval > 0.0)) {
        interval = kDefaultKeyRepeatInterval;
    }
    MenuRepeatTimer += std::floor(-MenuRepeatTimer / interval) * interval;
    while (MenuRepeatTimer <= 0.0) {
        MenuRepeatTimer += interval;
    }
    return true;
}

// Step 12: the key's event and default move; answers the page move still to make.
int Act(MenuWindow* window, DWORD key, int moveCount) {
    const MenuWindowWatch watch(window);
    const int current = window->current;
    switch (key) {
        case DIK_ESCAPE:
            DispatchWindowEvent(window, kMenuEventCancel, current);
            break;
        case DIK_RETURN:
        case DIK_NUMPADENTER:
            DispatchWindowEvent(window, kMenuEventDecide, current);
            break;
        case DIK_UP:
            if (DispatchWindowEvent(window, kMenuEventLineUp, current) == 0 && watch.Alive()) {
                window->MoveCurrent(-1);
            }
            break;
        case DIK_DOWN:
            if (DispatchWindowEvent(window, kMenuEventLineDown, current) == 0 && watch.Alive()) {
                window->MoveCurrent(1);
            }
            break;
        case DIK_PRIOR:
            if (DispatchWindowEvent(window, kMenuEventPageUp, current) == 0 && watch.Alive()) {
                moveCount = -window->GetLinesPerPage();
            }
            break;
        case DIK_NEXT:
            if (DispatchWindowEvent(window, kMenuEventPageDown, current) == 0 && watch.Alive()) {
                moveCount = window->GetLinesPerPage();
            }
            break;
        default:
            break;
    }
    return moveCount;
}

void OpenHelpBaloon(MenuWindow& window) {
    const MenuItem* item = window.GetItem(window.current);
    const RECT& area = window.itemArea;
    if (BaloonEnable == 0 || HelpBaloon != nullptr || window.items.empty() ||
        BaloonCountdown != 0 || item == nullptr || item->helpText == nullptr ||
        area.right == area.left) {
        return;
    }
    const int x = (area.left + area.right) / 2;
    const int y = window.lineHeight * window.current - window.DrawnScroll() + area.top;
    HelpBaloon = CreateBaloon(x, y, nullptr, item->helpText, nullptr);
}

}  // namespace

void UpdateMenuInput(double seconds) {
    if (MenuWindowList().empty()) {
        return;
    }
    HighlightClock += seconds;
    const auto elapsed = static_cast<long long>(seconds * 1000.0);
    BaloonCountdown = elapsed >= static_cast<long long>(BaloonCountdown)
                          ? 0
                          : BaloonCountdown - static_cast<DWORD>(std::max(0LL, elapsed));
    for (MenuWindow* window : MenuWindowList()) {
        window->flags &= ~kMenuDrawn;
    }
    for (Baloon* baloon : BaloonList()) {
        baloon->flags &= ~kBaloonDrawn;
    }
    MenuWindow* const window = GetFocusWindow();
    if (window == nullptr) {
        return;
    }
    static const DIApplication noInput;
    const DIApplication& input = gDIApplication != nullptr ? *gDIApplication : noInput;
    const MenuWindowWatch watch(window);

    MenuKey = KeyboardAndPadKey(input);
    const bool fromKeys = MenuKey != 0;
    if (fromKeys) {
        if (MenuKeyLock != 0) {
            return;
        }
    } else {
        MenuKeyLock = 0;
    }

    const POINT cursor = MenuCursorPosition();
    DWORD zone = kZoneNone;
    if (MenuRectContains(window->scrollUpButton, cursor)) {
        zone = kZoneUpButton;
    }
    if (MenuRectContains(window->scrollDownButton, cursor)) {
        zone = kZoneDownButton;
    }
    if (MenuRectContains(window->scrollThumb, cursor)) {
        zone = kZoneThumb;
    }
    if (input.IsMouseButtonPressed(0)) {
        MenuDragOffset = static_cast<int>(cursor.y - window->scrollThumb.top);
        MenuPressedZone = zone;
        const MenuItem* item = window->GetItem(window->current);
        if (MenuRectContains(window->itemArea, cursor) && item != nullptr &&
            (item->flags & kMenuItemDisabled) == 0) {
            MenuKey = DIK_RETURN;
            zone = kZoneNone;
        } else if (zone == kZoneNone && (window->flags & (kMenuPassive | kMenuModal)) != 0) {
            // (A press on the scroll bar scrolls; it is no click outside the window.)
            if (DispatchWindowEvent(window, kMenuEventDecide, -1) != 0 || !watch.Alive()) {
                return;
            }
        }
    }
    if (!input.IsMouseButtonDown(0)) {
        MenuPressedZone = kZoneNone;
        zone = kZoneNone;
    } else if (zone != MenuPressedZone) {
        zone = kZoneNone;
    }
    if (zone == kZoneUpButton) {
        MenuKey = DIK_UP;
    } else if (zone == kZoneDownButton) {
        MenuKey = DIK_DOWN;
    }
    if (input.IsMouseButtonPressed(1)) {
        MenuKey = DIK_ESCAPE;
    }

    int moveCount = 0;
    DIMOUSESTATE2 mouse{};
    input.GetMouseState(&mouse);
    const DWORD granularity = input.GetWheelGranularity();
    if (granularity != 0 && mouse.lZ != 0) {
        const int lines = -(mouse.lZ / static_cast<LONG>(granularity));
        if (DispatchWindowEvent(window, kMenuEventWheel, lines) == 0) {
            if (!watch.Alive()) {
                return;
            }
            const int top = std::max(0, window->contentHeight - AreaHeight(*window));
            window->scroll = std::clamp(window->scroll + lines * window->lineHeight, 0, top);
            moveCount = lines;
        }
    }
    if (!watch.Alive()) {
        return;
    }
    if (MenuPressedZone == kZoneThumb) {
        moveCount = DragThumb(*window, cursor);
        MenuKey = 0;
    }

    const bool acts = KeyActs(MenuKey, seconds, input);
    SetCursorShape(fromKeys ? 0 : 1);
    if (acts) {
        SetCursorTarget(-1, -1);
        moveCount = Act(window, MenuKey, moveCount);
    }
    if (moveCount != 0 && watch.Alive()) {
        window->MoveCurrent(moveCount);
    }
    if (watch.Alive()) {
        OpenHelpBaloon(*window);
    }
}

void ResetMenuInput() {
    MenuKey = 0;
    MenuPreviousKey = 0;
    MenuRepeatTimer = 0.0;
    MenuKeyLock = 0;
    MenuPressedZone = kZoneNone;
    MenuDragOffset = 0;
}
