#pragma once
// The choice window and popups: UI windows of the window layer. The choice window lists the
// options of built-in functions 22, 20 and 21; the option taken lands in script variables 9
// (its index) and 10 (its value) and, for a choice that cannot be cancelled, in the choice
// history. A popup is a one-line window that closes on a click and hands the focus back.

#include <cstdint>

#include "platform/d3d9/d3d9_types.h"
#include "sprite_ui/menu_window.h"

constexpr int kChoiceLineHeight = 24;
// The colour of an option taken in an earlier run.
constexpr D3DCOLOR kChoiceTakenColour = 0xFF00C0FFu;
// The built-in function whose occurrences key the choice history.
constexpr std::uint32_t kChoiceFunction = 20;

// 1 while the open choice came from built-in function 21: it can be cancelled, and the option
// taken is not recorded.
extern std::int32_t ChoiceCancelAllowed;

// A window centred horizontally, sized to its items, with line height 24 and ChoiceSelected as
// its handler: vertically centred while no standing character shows, else at
// y = ScreenHeight x 7 / 12; its font "ＭＳ ゴシック" bold, height 20. Hides the mascot. Null when
// it cannot be made.
MenuWindow* CreateChoiceWindow();
// The choice window's handler. Decide (1) with an item: recorded unless cancellable, variable 9
// = the index, 10 = the item's value, "se001". Cancel (2), only when cancellable: variables 9
// and 10 = -1, "se002". After either the window is deleted and the answer is 1; every other
// event answers 0.
int ChoiceSelected(MenuWindow* window, int event, std::intptr_t index, void* context);

// A one-item popup of `text` at (x, y) (kMenuAuto: centred), sized to the text, line height 24,
// with `handler` (null: PopupSelected) and the focused window as its context; modal (0x80) or
// passive (0x2). The input devices are polled once more, so that the click that opened it is
// not seen again, and the popup takes the focus. Null when it cannot be made.
MenuWindow* ShowPopup(int x, int y, const char* text, bool modal, MenuWindowHandler handler);
// The popup's handler: decide or cancel deletes the popup and gives the focus back to the
// context window when that still exists (1); close (13) polls the input devices (0).
int PopupSelected(MenuWindow* window, int event, std::intptr_t value, void* context);
