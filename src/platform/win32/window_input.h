#pragma once
// Internal to the Windows layer: input and window events in a form that owes nothing to SDL,
// turned into window messages. The SDL event pump feeds them (sdl_event_translation.cpp), and
// so do the tests' injection hooks. Every call runs on the thread that owns the window, without
// the state mutex held; the messages are posted in call order, so that a window procedure sees
// them in the order the events happened.

#include <functional>

#include "platform/win32/message_api.h"
#include "platform/winbase/win_types.h"

namespace win32_internal {

// `window` became the active window (true), or the program lost the activation (false). Calls
// the activation observer first. A gain while another of our windows was active moves the
// activation inside the program: WM_ACTIVATE (WA_INACTIVE) and WM_KILLFOCUS to that window, then
// WM_ACTIVATE (WA_CLICKACTIVE when `byClick`) and WM_SETFOCUS to `window`. Only the program's own
// gain or loss posts WM_ACTIVATEAPP, to each of its top-level windows. A loss posts WM_ACTIVATE
// (WA_INACTIVE), WM_ACTIVATEAPP and WM_KILLFOCUS. A repeat of the current state posts nothing.
void DeliverActivation(HWND window, bool active, bool byClick);
bool ProgramIsActive();
HWND ActiveWindow();

// A key went down or up. `virtualKey` is VK_SHIFT, VK_CONTROL or VK_MENU for either modifier
// key (`rightHand` tells which side), `scanCode` the PC set-1 code. Posts WM_KEYDOWN/UP, or
// WM_SYSKEYDOWN/UP while Alt is held and for F10, with the lParam bits of message_keys.h.
void DeliverKey(HWND window, UINT virtualKey, UINT scanCode, bool extended, bool rightHand,
                bool down, bool repeat);
// A key or mouse button went down or up over no window of ours, or over one that has gone: the
// key state follows it at once (GetKeyState too, since no message will carry it), so that a key
// let go while our windows change is up for the program.
void DeliverKeyWithoutWindow(UINT virtualKey, bool rightHand, bool down);
void DeliverMouseButtonWithoutWindow(int button, bool down);

// A mouse button goes down in `window` (in its client area, or on its frame or menu bar): an
// enabled window that is not the active one becomes it first, as the desktop activates a window
// on the click (WA_CLICKACTIVE for a click in the client area), and takes the keyboard. The
// button messages call it themselves; the SDL event pump calls it before the input layer sees
// the press.
void ActivateForPress(HWND window, bool inClient);

// The pointer moved to client position (x, y) of the window. A point above the client area of a
// window with a menu bar (y < 0) lies on the bar: WM_NCMOUSEMOVE with HTMENU and the screen
// position instead, and for a button WM_NCLBUTTONDOWN and its kin.
void DeliverMouseMove(HWND window, int x, int y);
// The pointer left the window's client area for (screen) position (x, y): WM_NCMOUSEMOVE.
void DeliverMouseLeave(HWND window, int screenX, int screenY);
// Button 0 left, 1 right, 2 middle, 3 and 4 the side buttons (no message, state only).
void DeliverMouseButton(HWND window, int button, bool down, int x, int y);
// `delta` in WHEEL_DELTA units (120 per notch), positive away from the user; the lParam of
// WM_MOUSEWHEEL carries the screen position.
void DeliverMouseWheel(HWND window, int delta, int x, int y);

// The desktop asks to close the window: WM_CLOSE.
void DeliverClose(HWND window);
// The desktop resized, minimised, maximised or restored the window: the record follows, and
// WM_SIZE is posted when the state or size changed. Width and height are client pixels.
void DeliverSize(HWND window, WPARAM sizeKind, int width, int height);
// The desktop moved the window: the record follows and WM_MOVE is posted on a change.
void DeliverMove(HWND window, int x, int y);
// The user started (true) or ended (false) moving or sizing the window.
void DeliverSizeMove(HWND window, bool entering);
// Some of the window must be repainted.
void DeliverExpose(HWND window);

// The function that learns of every change of the active window before the messages are posted
// (the input layer's foreground state): the new active window, or null when the program lost the
// activation. Replaces the previous one; null for none.
void SetActivationObserver(std::function<void(HWND activeWindow)> observer);

// A key or mouse button message was taken from a queue: GetKeyState follows it, so that the
// state read while handling a message is the state of that message's moment. Call with the
// state mutex held or not.
void NoteRetrievedMessage(const MSG& message);
// A key or mouse button message was thrown away unread (its window went): GetKeyState follows it
// all the same, since the key did go down or up.
void NoteDiscardedMessage(const MSG& message);

// Key state (GetKeyState and GetAsyncKeyState) changes without a message, for keys seen while
// another program was active.
void SetKeyDown(UINT virtualKey, bool down);
// The last Alt (or F10) press taken from a queue had no other key or button after it (the
// press and release of the key alone, which opens the menu bar).
bool MenuKeyPressedAlone();

// Forgets every held key and button (after the activation was lost, the releases go elsewhere).
void ReleaseAllKeys();
// Back to the state of a new process, without messages or observer calls: inactive, no active
// window, every key up and untoggled, no pointer position.
void ResetInputState();

// The client position the pointer was last reported or set at, and its window.
struct PointerPosition {
    HWND window = nullptr;
    POINT client{};
    POINT screen{};
};
PointerPosition LastPointerPosition();
void SetLastPointerPosition(const PointerPosition& position);
// Moves a screen point into the ClipCursor rectangle, when one is set (cursor.cpp).
void ClampToCursorClip(POINT* screen);
// Shows or hides SDL's pointer as ShowCursor, SetCursor and the colour cursor last asked
// (cursor.cpp); for SDL video that starts after those calls.
void ReapplyPointerVisibility();
// An SDL window changed size: the colour cursor is made again at the picture's new scale.
void RescalePointer();
// The pointer is on a window's menu bar, where the arrow shows even when the client area's
// shape is none (cursor.cpp); the pointer moves report it.
void SetPointerOverMenuBar(bool over);
// A menu bar came or went (SetMenu): whether the pointer, where it is, now lies on the bar.
void RecheckPointerOverMenuBar(HWND window);

// While one of our own modal boxes is up, the focus it takes from the game window is no loss of
// the program's activation: DeliverActivation then ignores a loss (a gain still counts).
void SetOwnModalBoxShown(bool shown);

}  // namespace win32_internal
