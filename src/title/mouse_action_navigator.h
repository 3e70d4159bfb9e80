#pragma once
// MouseActionNavigator: keys and the game pad drive the title screen by moving the real pointer
// onto its items and posting mouse messages to the game window, so that the screen itself only
// ever answers the mouse. Every item with a left-click value is a target; each target knows its
// neighbour in the four directions, and a page key (Page Up, Page Down) can be bound to a target
// that the key then moves to and clicks.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/winbase/win_types.h"

struct TitleItem;

// Directions, indices of NavigationTarget::neighbours and of actionKeys.
constexpr int kNavigateLeft = 0;
constexpr int kNavigateUp = 1;
constexpr int kNavigateRight = 2;
constexpr int kNavigateDown = 3;
constexpr int kNavigateClick = 4;
constexpr int kNavigateRightClick = 5;
constexpr int kNavigationDirections = 4;

// Left-click values bound to the page keys.
constexpr std::int32_t kTitlePageUpValue = 1001;
constexpr std::int32_t kTitlePageDownValue = 1002;

struct NavigationTarget {
    std::int32_t centreX = 0;  // the rectangle's midpoints, integer halves
    std::int32_t centreY = 0;
    RECT rect{};
    DWORD key = 0;  // virtual key bound to the target; 0 none
    std::array<std::int32_t, kNavigationDirections> neighbours{};  // target indices
};

class MouseActionNavigator {
public:
    MouseActionNavigator() = default;
    MouseActionNavigator(const MouseActionNavigator&) = delete;
    MouseActionNavigator& operator=(const MouseActionNavigator&) = delete;

    // Posts WM_LBUTTONDOWN then WM_LBUTTONUP (parameters 0) to the window; true.
    virtual bool Click(HWND window, DWORD key);
    // Posts WM_RBUTTONDOWN then WM_RBUTTONUP; true.
    virtual bool RightClick(HWND window, DWORD key);
    // Puts the system pointer on the rectangle's last pixel (right - 1, bottom - 1, client
    // coordinates) and posts WM_MOUSEMOVE with that client point; true.
    virtual bool MoveCursorTo(HWND window, DWORD key, const RECT& rect);
    virtual ~MouseActionNavigator() = default;

    // Acts on a key with the pointer at `point` (client pixels); the answer of the last
    // operation, false when the key does nothing.
    bool OnKeyDown(HWND window, POINT point, DWORD key);
    // Targets from the items with a left-click value, in item order, and their neighbours.
    void Rebuild(const std::vector<std::unique_ptr<TitleItem>>& items);

    std::vector<NavigationTarget> targets;
    // VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN, VK_RETURN (click), VK_ESCAPE (right click).
    std::array<DWORD, 6> actionKeys{37, 38, 39, 40, 13, 27};

private:
    // The target for a direction key with the pointer at `point`; -1 without targets.
    std::int32_t TargetFrom(POINT point, int direction) const;
};

// Whether (x, y) lies strictly beyond (fromX, fromY) in `direction`.
bool LiesBeyond(std::int32_t x, std::int32_t y, std::int32_t fromX, std::int32_t fromY,
                int direction);
