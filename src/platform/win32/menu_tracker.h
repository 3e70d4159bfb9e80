#pragma once
// Internal to src/platform: an open menu as the user works it. It is either a window's menu bar
// or a popup menu opened at a point, with the chain of popups open from it and the highlighted
// item of each. Positions are window coordinates: from the top-left corner of the window
// rectangle, the menu bar's rows included. Items are laid out with the presentation's text
// measure (ui_hooks.h), so that what is drawn is what the pointer hits. Opening a popup sends
// WM_INITMENUPOPUP to the window first (except for a popup menu opened with TPM_NONOTIFY).

#include <string>
#include <vector>

#include "platform/win32/menu_api.h"

namespace win32_internal {

// Layout, in pixels.
constexpr LONG kMenuItemHeight = 20;
constexpr LONG kMenuSeparatorHeight = 8;
constexpr LONG kMenuBarItemPadding = 8;  // either side of a bar item's name
constexpr LONG kMenuCheckColumn = 20;    // before an item's name: the check mark
constexpr LONG kMenuShortcutGap = 24;    // between the name and the shortcut text
constexpr LONG kMenuArrowColumn = 18;    // after the texts: the submenu arrow
constexpr LONG kMenuBorder = 2;

// The width in pixels of a Shift-JIS text as the presentation draws it.
LONG MeasureMenuText(const std::string& sjis);

// An item's text split for drawing: the name before "\t" and the shortcut text after it, each
// without the "&" marks ("&&" stays one "&"), and the mnemonic (lower case, 0 for none).
struct MenuItemText {
    std::string name;
    std::string shortcut;
    char mnemonic = 0;
};
MenuItemText SplitMenuItemText(const std::string& sjis);

struct MenuLevel {
    HMENU menu = nullptr;
    RECT rect{};              // the popup (for a bar, the bar's row)
    std::vector<RECT> items;  // one per item; a bar's items lie in its row
    int highlighted = -1;
};

enum class MenuTrackResult { kOpen, kChosen, kCancelled };

class MenuTracker {
public:
    // The menu bar of `window` (GetMenu); `area` is the window's size (bar rows included), which
    // popups are kept inside.
    static MenuTracker ForBar(HWND window, SIZE area);
    // The popup menu `menu` opened at `anchor` (window coordinates) as TrackPopupMenuEx places
    // it by `flags` (TPM_*).
    static MenuTracker ForPopup(HWND window, HMENU menu, POINT anchor, UINT flags, SIZE area);

    bool isBar() const { return bar_; }
    HWND window() const { return window_; }
    // Level 0 is the bar (or the popup menu); each open popup follows.
    const std::vector<MenuLevel>& levels() const { return levels_; }
    UINT chosen() const { return chosen_; }

    // Opens the bar's popup `index` (keyboard or mouse activation of the bar).
    MenuTrackResult OpenBarItem(int index);
    // Highlights bar item `index` without opening it (the bar entered by the keyboard).
    void HighlightBarItem(int index);
    MenuTrackResult OnMouseMove(POINT at);
    MenuTrackResult OnButtonDown(POINT at);
    MenuTrackResult OnButtonUp(POINT at);
    MenuTrackResult OnKey(UINT virtualKey);
    MenuTrackResult OnChar(char c);
    MenuTrackResult Cancel();

private:
    MenuTracker(HWND window, bool bar, SIZE area, bool notify);
    // Lays out the popup of `menu` with its top-left corner at `at`, kept inside the area (a
    // popup that would pass the right edge goes left of `avoidLeft` when that is given).
    MenuLevel LayOutPopup(HMENU menu, POINT at, LONG avoidLeft) const;
    // Closes every level above `level`.
    void CloseAbove(std::size_t level);
    // Opens the submenu of item `item` of level `level` (closing the levels above); false when
    // it has none or it may not open.
    bool OpenSubmenu(std::size_t level, int item);
    // The deepest level and item under `at`; false when none.
    bool HitTest(POINT at, std::size_t* level, int* item) const;
    // Acts on the item as Enter does: opens its submenu or chooses its command.
    MenuTrackResult Activate(std::size_t level, int item);
    // Moves the highlight of the deepest level by `step` over the items that are no separators.
    void MoveHighlight(int step);
    MenuTrackResult Finish(UINT command);

    HWND window_;
    bool bar_;
    SIZE area_;
    bool notify_;
    bool pressed_ = false;  // a button went down on the menus during this loop
    UINT chosen_ = 0;
    std::vector<MenuLevel> levels_;
};

// The menu loops running, innermost last; the tracker of `window`'s, or null.
MenuTracker* ActiveMenuTracker(HWND window);

// Runs the modal loop of `tracker` until an item is chosen or the menu is closed: input of the
// thread goes to the tracker, timers and paints are dispatched, and the presentation draws it
// when one is installed (without one, only a test's idle hook can answer it; otherwise it closes
// at once). The chosen command, 0 for none.
UINT RunMenuTracking(MenuTracker* tracker);

}  // namespace win32_internal
