#include "title/mouse_action_navigator.h"

#include <algorithm>
#include <limits>

#include "platform/win32/cursor_api.h"
#include "platform/win32/message_api.h"
#include "platform/win32/message_keys.h"
#include "platform/win32/window_placement.h"
#include "sprite_ui/menu_window.h"
#include "title/title_item.h"

namespace {

constexpr DWORD kNoKey = 0;

std::int64_t SquaredDistance(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) {
    const std::int64_t dx = static_cast<std::int64_t>(x1) - x0;
    const std::int64_t dy = static_cast<std::int64_t>(y1) - y0;
    return dx * dx + dy * dy;
}

// Whether the candidate's rectangle overlaps t's across `direction`: rows for left and right,
// columns for up and down.
bool SharesBand(const RECT& t, const RECT& candidate, int direction) {
    if (direction == kNavigateLeft || direction == kNavigateRight) {
        return candidate.bottom >= t.top && candidate.top <= t.bottom;
    }
    return candidate.right >= t.left && candidate.left <= t.right;
}

// The nearest target to (x, y) among those `accept` takes, skipping `self`; -1 when none.
template <typename Accept>
std::int32_t Nearest(const std::vector<NavigationTarget>& targets, std::int32_t x, std::int32_t y,
                     std::size_t self, Accept accept) {
    std::int32_t best = -1;
    std::int64_t bestDistance = std::numeric_limits<std::int64_t>::max();
    for (std::size_t i = 0; i < targets.size(); ++i) {
        if (i == self || !accept(targets[i])) {
            continue;
        }
        const std::int64_t distance = SquaredDistance(x, y, targets[i].centreX, targets[i].centreY);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<std::int32_t>(i);
        }
    }
    return best;
}

DWORD KeyOfValue(std::int32_t value) {
    if (value == kTitlePageUpValue) {
        return VK_PRIOR;
    }
    return value == kTitlePageDownValue ? VK_NEXT : kNoKey;
}

}  // namespace

bool LiesBeyond(std::int32_t x, std::int32_t y, std::int32_t fromX, std::int32_t fromY,
                int direction) {
    switch (direction) {
        case kNavigateLeft:
            return x < fromX;
        case kNavigateUp:
            return y < fromY;
        case kNavigateRight:
            return x > fromX;
        default:
            return y > fromY;
    }
}

bool MouseActionNavigator::Click(HWND window, DWORD) {
    PostMessageA(window, WM_LBUTTONDOWN, 0, 0);
    PostMessageA(window, WM_LBUTTONUP, 0, 0);
    return true;
}

bool MouseActionNavigator::RightClick(HWND window, DWORD) {
    PostMessageA(window, WM_RBUTTONDOWN, 0, 0);
    PostMessageA(window, WM_RBUTTONUP, 0, 0);
    return true;
}

bool MouseActionNavigator::MoveCursorTo(HWND window, DWORD, const RECT& rect) {
    const POINT client{rect.right - 1, rect.bottom - 1};
    POINT screen = client;
    ClientToScreen(window, &screen);
    SetCursorPos(screen.x, screen.y);
    PostMessageA(window, WM_MOUSEMOVE, 0,
                 MAKELPARAM(static_cast<WORD>(client.x), static_cast<WORD>(client.y)));
    return true;
}

void MouseActionNavigator::Rebuild(const std::vector<std::unique_ptr<TitleItem>>& items) {
    targets.clear();
    for (const auto& item : items) {
        if (item->leftValue == kTitleNoValue) {
            continue;
        }
        NavigationTarget target;
        target.rect = item->dest;
        target.centreX = static_cast<std::int32_t>(
            (static_cast<std::int64_t>(item->dest.left) + item->dest.right) / 2);
        target.centreY = static_cast<std::int32_t>(
            (static_cast<std::int64_t>(item->dest.top) + item->dest.bottom) / 2);
        target.key = KeyOfValue(item->leftValue);
        targets.push_back(target);
    }
    for (std::size_t t = 0; t < targets.size(); ++t) {
        NavigationTarget& from = targets[t];
        for (int d = 0; d < kNavigationDirections; ++d) {
            const auto beyond = [&](const NavigationTarget& candidate) {
                return LiesBeyond(candidate.centreX, candidate.centreY, from.centreX, from.centreY,
                                  d);
            };
            std::int32_t next = Nearest(
                targets, from.centreX, from.centreY, t, [&](const NavigationTarget& candidate) {
                    return SharesBand(from.rect, candidate.rect, d) && beyond(candidate);
                });
            if (next < 0) {
                next = Nearest(targets, from.centreX, from.centreY, t, beyond);
            }
            from.neighbours[d] = next < 0 ? static_cast<std::int32_t>(t) : next;
        }
    }
}

std::int32_t MouseActionNavigator::TargetFrom(POINT point, int direction) const {
    for (const NavigationTarget& target : targets) {
        if (MenuRectContains(target.rect, point)) {
            return target.neighbours[direction];
        }
    }
    // The pointer lies in no target here: none is skipped as "self".
    const std::size_t none = targets.size();
    const auto x = static_cast<std::int32_t>(point.x);
    const auto y = static_cast<std::int32_t>(point.y);
    const std::int32_t beyond = Nearest(targets, x, y, none, [&](const NavigationTarget& t) {
        return LiesBeyond(t.centreX, t.centreY, x, y, direction);
    });
    return beyond >= 0 ? beyond
                       : Nearest(targets, x, y, none, [](const NavigationTarget&) { return true; });
}

bool MouseActionNavigator::OnKeyDown(HWND window, POINT point, DWORD key) {
    if (targets.empty()) {
        return false;
    }
    if (key != kNoKey) {
        for (const NavigationTarget& target : targets) {
            if (target.key == key) {
                return MoveCursorTo(window, key, target.rect) && Click(window, key);
            }
        }
    }
    const auto action = std::find(actionKeys.begin(), actionKeys.end(), key);
    if (action == actionKeys.end()) {
        return false;
    }
    const auto index = static_cast<int>(action - actionKeys.begin());
    if (index == kNavigateClick) {
        return Click(window, key);
    }
    if (index == kNavigateRightClick) {
        return RightClick(window, key);
    }
    const std::int32_t target = TargetFrom(point, index);
    return MoveCursorTo(window, key, targets[static_cast<std::size_t>(target)].rect);
}
