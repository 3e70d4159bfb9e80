#pragma once
// TitleMenu: the title screen itself, the list of title items with the hover, press and
// selection state, the clock of the hover effects and the key navigator. While the game mode is
// 2 (TitleMenu) the frame step calls Title::Update and the game window offers its messages to
// Title::OnMessage. A click on an item stores its value in script variable 9 and runs the item's
// script label from the next frame, as a new script frame in the adventure mode; when that
// script returns, the mode stack brings the title back.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/winbase/win_types.h"
#include "title/mouse_action_navigator.h"
#include "title/title_item.h"

struct Baloon;

// Cursor shapes of the title screen: over an item with a left-click value, and elsewhere.
constexpr int kTitleCursorArrow = 1;
constexpr int kTitleCursorHand = 2;
// The hovered highlight pulses with |cos(3 t)|.
constexpr double kTitlePulseRate = 3.0;
// The pad buttons that page: 6 up, 7 down.
constexpr int kTitlePadPageUp = 6;
constexpr int kTitlePadPageDown = 7;

class TitleMenu {
public:
    // savedMode := the game mode now.
    TitleMenu();
    // Deletes the items; while the game mode is still 2 it goes back to savedMode.
    ~TitleMenu();
    TitleMenu(const TitleMenu&) = delete;
    TitleMenu& operator=(const TitleMenu&) = delete;

    // With nothing pressed, hovered := the topmost item containing the point (the last in the
    // list); with a press, the pressed item while the point lies in it. A change restarts the
    // hover clock and deletes the hover balloon.
    void OnMouseMove(POINT point);
    // The topmost item containing the point becomes hovered and pressed; else pressed := -1.
    void OnButtonDown(POINT point);
    // A release on the pressed item (with a left-click value) chooses it and sets variable 9;
    // true then.
    bool OnLeftButtonUp(POINT point);
    // The topmost item with a right-click value containing the point is chosen, variable 9 :=
    // that value; true then. No press is needed.
    bool OnRightButtonUp(POINT point);
    // Runs the chosen item's script; on success the back buffer becomes BASE.
    void RunChosenItem();

    int savedMode;
    std::vector<std::unique_ptr<TitleItem>> items;  // in creation order
    std::uint32_t keepCount = 0;                    // leading items dropped at title command 7
    double hoverClock = 0.0;                        // seconds since the hovered item last changed
    std::int32_t hovered = -1;
    std::int32_t pressed = -1;
    std::int32_t clicked = -1;  // drawn in its pressed state
    std::int32_t chosen = -1;   // its script runs at the next frame
    std::uint8_t closeRequest = 0;
    MouseActionNavigator navigator;

private:
    // The topmost item containing the point whose `value` is not -1 (any item with a null
    // member); -1 none.
    std::int32_t ItemAt(POINT point, std::int32_t TitleItem::*value) const;
};

// The one title menu; null while closed.
extern TitleMenu* gTitleMenu;
// The balloon of the hovered item; null while none is open.
extern Baloon* TitleHoverBaloon;

namespace Title {

// Every frame in game mode 2: the pad's keys, the hover clock, the items and the hover balloon
// drawn, then the chosen item, the recollection entry and the load command run (or the menu
// closed on a close request). Without a menu the adventure mode takes over. Answers 1.
int Update(float seconds);
// The game window's messages in game mode 2: 0 consumed, 1 passed on. A focused UI window takes
// every message first.
LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Deletes the hover balloon, clears the recollection sub-menu, closes the command popup's
// window and deletes the menu.
void Close();
// Draws the items into the current target: normal states, then the hovered and the clicked item.
void DrawItems();
// The pad's stick and buttons as key messages to the game window.
void PadToKeys(double seconds);
// Forgets the pad's repeat state (start of a run).
void ResetPadToKeys();
void DeleteHoverBaloon();

}  // namespace Title
