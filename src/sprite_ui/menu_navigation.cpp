// MenuWindow: moving the current item, and the pointer tracking of mouse moves.
#include <cstdlib>

#include "sprite_ui/baloon.h"
#include "sprite_ui/menu_window.h"

namespace {

bool Enabled(const MenuWindow& window, int index) {
    return (window.items[static_cast<std::size_t>(index)]->flags & kMenuItemDisabled) == 0;
}

// The next enabled item from `from` in direction `step`; -1 when the search passes an end
// (unless `wrap`) or comes back to `from`. At most one pass over the items.
int NextEnabled(const MenuWindow& window, int from, int step, bool wrap) {
    const int count = static_cast<int>(window.items.size());
    int j = from;
    for (int tries = 0; tries < count; ++tries) {
        j += step;
        if (j < 0 || j >= count) {
            if (!wrap) {
                return -1;
            }
            j = step > 0 ? 0 : count - 1;
        }
        if (j == from) {
            return -1;
        }
        if (Enabled(window, j)) {
            return j;
        }
    }
    return -1;
}

}  // namespace

int MenuWindow::MoveCurrent(int n) {
    if ((flags & kMenuPassive) != 0) {
        return 0;
    }
    const int before = current;
    const int step = n < 0 ? -1 : 1;
    const bool wrap = (flags & kMenuWrap) != 0 && std::abs(n) == 1;
    for (int i = 0; i < std::abs(n) && !items.empty(); ++i) {
        const int next = NextEnabled(*this, current, step, wrap);
        if (next < 0) {
            break;
        }
        current = next;
    }
    ResetBaloonTimer();
    // Before its first layout the window's own height stands for the item area's.
    int areaHeight = itemArea.bottom - itemArea.top;
    if (areaHeight <= 0) {
        areaHeight = height == kMenuAuto ? contentHeight : height;
    }
    if (areaHeight > 0) {
        if (current * lineHeight < scroll) {
            scroll = current * lineHeight;
        }
        if ((current + 1) * lineHeight > scroll + areaHeight) {
            scroll = (current + 1) * lineHeight - areaHeight;
        }
    }
    if (current != before) {
        DispatchWindowEvent(this, kMenuEventFocus, current);
    }
    return 1;
}

void MenuWindow::TrackPointer() {
    const POINT p = MenuCursorPosition();
    MenuWindow* const focus = GetFocusWindow();
    MenuWindow* target = nullptr;
    if (focus != nullptr && MenuRectContains(focus->windowRect, p)) {
        target = focus;
    } else {
        for (MenuWindow* window : MenuWindowList()) {
            if ((window->flags & kMenuPassive) == 0 && MenuRectContains(window->windowRect, p)) {
                target = window;
                break;
            }
        }
    }
    if (target == nullptr) {
        return;
    }
    const MenuWindowWatch watch(target);
    const auto packed = static_cast<std::int32_t>((static_cast<std::uint32_t>(p.y) << 16) |
                                                  (static_cast<std::uint32_t>(p.x) & 0xFFFFu));
    DispatchWindowEvent(target, kMenuEventMouseOver, packed);
    MenuWindow* const focusNow = GetFocusWindow();
    if (!watch.Alive() || focusNow == nullptr || (target->flags & kMenuPassive) != 0 ||
        (focusNow != target && (focusNow->flags & kMenuModal) != 0) || target->items.empty() ||
        !MenuRectContains(target->itemArea, p) || target->lineHeight <= 0) {
        return;
    }
    const int before = target->current;
    const int under = (p.y - target->itemArea.top + target->DrawnScroll()) / target->lineHeight;
    if (under >= 0 && under < static_cast<int>(target->items.size())) {
        if (!Enabled(*target, under)) {
            return;
        }
        target->current = under;
    }
    if (target != focusNow) {
        SetFocusWindow(target);
    } else if (target->current != before) {
        DispatchWindowEvent(target, kMenuEventFocus, target->current);
        ResetBaloonTimer();
    }
}
