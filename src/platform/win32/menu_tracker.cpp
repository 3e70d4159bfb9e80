// The open menu's state and what the pointer and the keys do to it.

#include "platform/win32/menu_tracker.h"

#include <algorithm>
#include <cctype>

#include "platform/win32/menu_loop.h"
#include "platform/win32/message_api.h"
#include "platform/win32/message_keys.h"
#include "platform/win32/ui_hooks.h"
#include "platform/win32/window_placement.h"
#include "platform/winbase/code_page.h"
#include "platform/winbase/file_api.h"

namespace win32_internal {
namespace {

constexpr UINT kNoItem = 0xFFFFFFFFu;

std::string ItemText(HMENU menu, int position) {
    char text[256] = {};
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

bool IsSeparator(HMENU menu, int position) {
    const UINT state = GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION);
    return state == kNoItem || (state & MF_SEPARATOR) != 0;
}

bool Contains(const RECT& rect, POINT at) {
    return at.x >= rect.left && at.x < rect.right && at.y >= rect.top && at.y < rect.bottom;
}

}  // namespace

LONG MeasureMenuText(const std::string& sjis) {
    const UiHooks* hooks = GetUiHooks();
    if (hooks != nullptr && hooks->measureText != nullptr) {
        return hooks->measureText(sjis.c_str());
    }
    // Without a presentation: a half-width character 7 pixels, a double-byte one 13.
    LONG width = 0;
    for (std::size_t i = 0; i < sjis.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(sjis[i])) != 0 && i + 1 < sjis.size()) {
            width += 13;
            ++i;
        } else {
            width += 7;
        }
    }
    return width;
}

MenuItemText SplitMenuItemText(const std::string& sjis) {
    MenuItemText result;
    std::string* part = &result.name;
    for (std::size_t i = 0; i < sjis.size(); ++i) {
        const char c = sjis[i];
        if (IsDBCSLeadByte(static_cast<BYTE>(c)) != 0 && i + 1 < sjis.size()) {
            *part += c;
            *part += sjis[++i];
        } else if (c == '\t' && part == &result.name) {
            part = &result.shortcut;
        } else if (c == '&' && i + 1 < sjis.size()) {
            const char next = sjis[++i];
            if (next != '&' && part == &result.name && result.mnemonic == 0) {
                result.mnemonic = static_cast<char>(std::tolower(static_cast<unsigned char>(next)));
            }
            *part += next;
        } else {
            *part += c;
        }
    }
    return result;
}

MenuTracker::MenuTracker(HWND window, bool bar, SIZE area, bool notify)
    : window_(window), bar_(bar), area_(area), notify_(notify) {}

MenuTracker MenuTracker::ForBar(HWND window, SIZE area) {
    MenuTracker tracker(window, true, area, true);
    MenuLevel level;
    level.menu = GetMenu(window);
    level.rect = RECT{0, 0, area.cx, kMenuBarHeight};
    LONG x = 0;
    const int count = std::max(GetMenuItemCount(level.menu), 0);
    for (int i = 0; i < count; ++i) {
        const LONG width = 2 * kMenuBarItemPadding +
                           MeasureMenuText(SplitMenuItemText(ItemText(level.menu, i)).name);
        level.items.push_back(RECT{x, 0, x + width, kMenuBarHeight});
        x += width;
    }
    tracker.levels_.push_back(std::move(level));
    return tracker;
}

MenuTracker MenuTracker::ForPopup(HWND window, HMENU menu, POINT anchor, UINT flags, SIZE area) {
    MenuTracker tracker(window, false, area, (flags & TPM_NONOTIFY) == 0);
    if (tracker.notify_) {
        SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    }
    MenuLevel level = tracker.LayOutPopup(menu, POINT{0, 0}, -1);
    const LONG width = RectWidth(level.rect);
    const LONG height = RectHeight(level.rect);
    POINT at = anchor;
    if ((flags & TPM_CENTERALIGN) != 0) {
        at.x -= width / 2;
    } else if ((flags & TPM_RIGHTALIGN) != 0) {
        at.x -= width;
    }
    if ((flags & TPM_VCENTERALIGN) != 0) {
        at.y -= height / 2;
    } else if ((flags & TPM_BOTTOMALIGN) != 0) {
        at.y -= height;
    }
    tracker.levels_.push_back(tracker.LayOutPopup(menu, at, -1));
    return tracker;
}

MenuLevel MenuTracker::LayOutPopup(HMENU menu, POINT at, LONG avoidLeft) const {
    MenuLevel level;
    level.menu = menu;
    const int count = std::max(GetMenuItemCount(menu), 0);
    LONG nameWidth = 0;
    LONG shortcutWidth = 0;
    LONG height = 2 * kMenuBorder;
    for (int i = 0; i < count; ++i) {
        if (IsSeparator(menu, i)) {
            height += kMenuSeparatorHeight;
            continue;
        }
        const MenuItemText text = SplitMenuItemText(ItemText(menu, i));
        nameWidth = std::max(nameWidth, MeasureMenuText(text.name));
        shortcutWidth = std::max(shortcutWidth, MeasureMenuText(text.shortcut));
        height += kMenuItemHeight;
    }
    const LONG width = 2 * kMenuBorder + kMenuCheckColumn + nameWidth +
                       (shortcutWidth > 0 ? kMenuShortcutGap + shortcutWidth : 0) +
                       kMenuArrowColumn;
    if (at.x + width > area_.cx) {
        at.x = avoidLeft >= 0 ? avoidLeft - width : area_.cx - width;
    }
    if (at.y + height > area_.cy) {
        at.y = area_.cy - height;
    }
    at.x = std::max<LONG>(at.x, 0);
    at.y = std::max<LONG>(at.y, 0);
    level.rect = RECT{at.x, at.y, at.x + width, at.y + height};
    LONG y = at.y + kMenuBorder;
    for (int i = 0; i < count; ++i) {
        const LONG rows = IsSeparator(menu, i) ? kMenuSeparatorHeight : kMenuItemHeight;
        level.items.push_back(RECT{at.x + kMenuBorder, y, at.x + width - kMenuBorder, y + rows});
        y += rows;
    }
    return level;
}

void MenuTracker::CloseAbove(std::size_t level) {
    if (levels_.size() > level + 1) {
        levels_.resize(level + 1);
    }
}

bool MenuTracker::OpenSubmenu(std::size_t level, int item) {
    CloseAbove(level);
    MenuLevel& parent = levels_[level];
    if (item < 0 || static_cast<std::size_t>(item) >= parent.items.size() ||
        GetSubMenu(parent.menu, item) == nullptr) {
        return false;
    }
    HMENU submenu =
        notify_ ? Win32OpenMenuPopup(window_, parent.menu, item)
                : (Win32MenuItemSelectable(parent.menu, item) ? GetSubMenu(parent.menu, item)
                                                              : nullptr);
    if (submenu == nullptr) {
        return false;
    }
    const RECT& from = levels_[level].items[static_cast<std::size_t>(item)];
    const bool fromBar = bar_ && level == 0;
    const POINT at = fromBar ? POINT{from.left, kMenuBarHeight}
                             : POINT{from.right - kMenuBorder, from.top - kMenuBorder};
    levels_.push_back(LayOutPopup(submenu, at, fromBar ? -1 : levels_[level].rect.left));
    return true;
}

bool MenuTracker::HitTest(POINT at, std::size_t* level, int* item) const {
    for (std::size_t l = levels_.size(); l-- > 0;) {
        const MenuLevel& candidate = levels_[l];
        for (std::size_t i = 0; i < candidate.items.size(); ++i) {
            if (Contains(candidate.items[i], at)) {
                *level = l;
                *item = static_cast<int>(i);
                return true;
            }
        }
        if (!(bar_ && l == 0) && Contains(candidate.rect, at)) {
            *level = l;
            *item = -1;
            return true;
        }
    }
    return false;
}

MenuTrackResult MenuTracker::Finish(UINT command) {
    chosen_ = command;
    return command != 0 ? MenuTrackResult::kChosen : MenuTrackResult::kCancelled;
}

MenuTrackResult MenuTracker::Cancel() {
    return Finish(0);
}

void MenuTracker::HighlightBarItem(int index) {
    if (bar_ && !levels_.empty()) {
        CloseAbove(0);
        levels_[0].highlighted = index;
    }
}

MenuTrackResult MenuTracker::OpenBarItem(int index) {
    if (!bar_ || levels_.empty() || index < 0 ||
        static_cast<std::size_t>(index) >= levels_[0].items.size()) {
        return MenuTrackResult::kOpen;
    }
    levels_[0].highlighted = index;
    OpenSubmenu(0, index);
    return MenuTrackResult::kOpen;
}

MenuTrackResult MenuTracker::Activate(std::size_t level, int item) {
    const HMENU menu = levels_[level].menu;
    if (item < 0 || IsSeparator(menu, item)) {
        return MenuTrackResult::kOpen;
    }
    levels_[level].highlighted = item;
    if (GetSubMenu(menu, item) != nullptr) {
        if (OpenSubmenu(level, item)) {
            MoveHighlight(1);
        }
        return MenuTrackResult::kOpen;
    }
    if (bar_ && level == 0) {
        return MenuTrackResult::kOpen;
    }
    if (!Win32MenuItemSelectable(menu, item)) {
        return MenuTrackResult::kOpen;
    }
    return Finish(GetMenuItemID(menu, item));
}

void MenuTracker::MoveHighlight(int step) {
    MenuLevel& level = levels_.back();
    const int count = static_cast<int>(level.items.size());
    int at = level.highlighted;
    for (int tries = 0; tries < count; ++tries) {
        at = at < 0 ? (step > 0 ? 0 : count - 1) : (at + step + count) % count;
        if (!IsSeparator(level.menu, at)) {
            level.highlighted = at;
            return;
        }
    }
}

MenuTrackResult MenuTracker::OnMouseMove(POINT at) {
    std::size_t level = 0;
    int item = -1;
    if (!HitTest(at, &level, &item)) {
        if (levels_.size() > (bar_ ? 1u : 0u) && levels_.back().highlighted >= 0 &&
            GetSubMenu(levels_.back().menu, levels_.back().highlighted) == nullptr) {
            levels_.back().highlighted = -1;
        }
        return MenuTrackResult::kOpen;
    }
    if (item < 0) {
        return MenuTrackResult::kOpen;
    }
    MenuLevel& hit = levels_[level];
    if (bar_ && level == 0) {
        // Over the bar: with a popup open, another title opens its popup instead.
        if (levels_.size() > 1 && hit.highlighted != item) {
            hit.highlighted = item;
            OpenSubmenu(0, item);
        } else if (levels_.size() == 1) {
            hit.highlighted = item;
        }
        return MenuTrackResult::kOpen;
    }
    if (hit.highlighted == item && levels_.size() > level + 1) {
        return MenuTrackResult::kOpen;  // its submenu stays open
    }
    hit.highlighted = IsSeparator(hit.menu, item) ? -1 : item;
    if (hit.highlighted >= 0 && GetSubMenu(hit.menu, item) != nullptr) {
        OpenSubmenu(level, item);
    } else {
        CloseAbove(level);
    }
    return MenuTrackResult::kOpen;
}

MenuTrackResult MenuTracker::OnButtonDown(POINT at) {
    std::size_t level = 0;
    int item = -1;
    if (!HitTest(at, &level, &item)) {
        return Cancel();
    }
    pressed_ = true;
    if (bar_ && level == 0) {
        if (item < 0) {
            return MenuTrackResult::kOpen;
        }
        // The title of the open popup closes the menu; another one opens its popup.
        if (levels_.size() > 1 && levels_[0].highlighted == item) {
            return Cancel();
        }
        return OpenBarItem(item);
    }
    return OnMouseMove(at);
}

MenuTrackResult MenuTracker::OnButtonUp(POINT at) {
    std::size_t level = 0;
    int item = -1;
    // A release chooses only after a press on the menus: the release of the click that opened a
    // popup menu under the pointer chooses nothing.
    if (!pressed_ || !HitTest(at, &level, &item) || item < 0 || (bar_ && level == 0) ||
        GetSubMenu(levels_[level].menu, item) != nullptr) {
        return MenuTrackResult::kOpen;
    }
    return Activate(level, item);
}

MenuTrackResult MenuTracker::OnKey(UINT virtualKey) {
    const std::size_t top = levels_.size() - 1;
    const bool barOnly = bar_ && top == 0;
    switch (virtualKey) {
        case VK_ESCAPE:
            if (barOnly || (!bar_ && top == 0)) {
                return Cancel();
            }
            CloseAbove(top - 1);
            return MenuTrackResult::kOpen;
        case VK_MENU:
        case VK_F10:
            return Cancel();
        case VK_LEFT:
        case VK_RIGHT: {
            const int step = virtualKey == VK_RIGHT ? 1 : -1;
            MenuLevel& deepest = levels_.back();
            if (step > 0 && !barOnly && deepest.highlighted >= 0 &&
                GetSubMenu(deepest.menu, deepest.highlighted) != nullptr) {
                Activate(top, deepest.highlighted);
                return MenuTrackResult::kOpen;
            }
            if (step < 0 && top > (bar_ ? 1u : 0u)) {
                CloseAbove(top - 1);
                return MenuTrackResult::kOpen;
            }
            if (bar_) {
                const int count = static_cast<int>(levels_[0].items.size());
                if (count == 0) {
                    return MenuTrackResult::kOpen;
                }
                const int next = (std::max(levels_[0].highlighted, 0) + step + count) % count;
                if (barOnly) {
                    HighlightBarItem(next);
                } else {
                    OpenBarItem(next);
                    MoveHighlight(1);
                }
            }
            return MenuTrackResult::kOpen;
        }
        case VK_UP:
        case VK_DOWN:
            if (barOnly) {
                OpenBarItem(std::max(levels_[0].highlighted, 0));
                MoveHighlight(1);
            } else {
                MoveHighlight(virtualKey == VK_DOWN ? 1 : -1);
            }
            return MenuTrackResult::kOpen;
        case VK_RETURN:
            if (barOnly) {
                OpenBarItem(std::max(levels_[0].highlighted, 0));
                MoveHighlight(1);
                return MenuTrackResult::kOpen;
            }
            return Activate(top, levels_[top].highlighted);
        default:
            return MenuTrackResult::kOpen;
    }
}

MenuTrackResult MenuTracker::OnChar(char c) {
    const char wanted = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::size_t top = levels_.size() - 1;
    const HMENU menu = levels_[top].menu;
    for (int i = 0; i < static_cast<int>(levels_[top].items.size()); ++i) {
        if (!IsSeparator(menu, i) && SplitMenuItemText(ItemText(menu, i)).mnemonic == wanted) {
            if (bar_ && top == 0) {
                OpenBarItem(i);
                MoveHighlight(1);
                return MenuTrackResult::kOpen;
            }
            return Activate(top, i);
        }
    }
    return MenuTrackResult::kOpen;
}

}  // namespace win32_internal
