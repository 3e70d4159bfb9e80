#pragma once
// Test-only controls of the game window's side of the Windows layer: window events without SDL,
// scripted message-box answers, and the desktop size. The program itself never calls these.
//
// The injected events take the same road as SDL's (window_input.h): the messages are posted to
// the window in call order and reach its procedure when the test retrieves and dispatches them.

#include <string>
#include <vector>

#include "platform/winbase/win_types.h"

namespace win32_test {

void InjectActivation(HWND window, bool active, bool byClick = false);
void InjectClose(HWND window);
// `sizeKind` SIZE_RESTORED, SIZE_MINIMIZED or SIZE_MAXIMIZED (window_placement.h).
void InjectSize(HWND window, WPARAM sizeKind, int width, int height);
void InjectMove(HWND window, int x, int y);
void InjectSizeMove(HWND window, bool entering);
void InjectExpose(HWND window);
// A key by virtual key, with the scan code of a US keyboard's key for it (the left one of the
// modifier pairs unless `rightHand`).
void InjectKey(HWND window, UINT virtualKey, bool down, bool repeat = false,
               bool rightHand = false);
// Client coordinates; button 0 left, 1 right, 2 middle, 3 and 4 the side buttons.
void InjectMouseMove(HWND window, int x, int y);
void InjectMouseButton(HWND window, int button, bool down, int x, int y);
void InjectMouseWheel(HWND window, int notches, int x, int y);
void InjectMouseLeave(HWND window, int screenX, int screenY);

// Message boxes answer from this queue, first queued first used; an answer that is not a button
// of the box is dropped with a line on standard error and the default button answers.
void QueueMessageBoxAnswer(int answer);
// On: no real box is ever shown; a box with no answer queued answers its default button and
// writes a line to standard error. Off (the program's setting): real boxes where a display is.
void UseScriptedMessageBoxes(bool scripted);

struct ShownMessageBox {
    HWND owner;
    std::string text;     // Shift-JIS, as passed
    std::string caption;  // Shift-JIS, as passed
    UINT style;
    int answer;
    bool answeredByScript;  // false: the default button answered for lack of a scripted answer
};
// The boxes shown since the last call (at most the last 256), in order; clears the list and the
// unused answers.
std::vector<ShownMessageBox> TakeShownMessageBoxes();

// A desktop of width x height at (0, 0) in place of SDL's display: Win32ScreenMetric reports its
// size while no full-screen window is shown, and a full-screen window's SDL window covers it.
// 0, 0 returns to SDL's display.
void SetDesktopSize(int width, int height);

// On: ShellExecuteA and the clipboard only record what they are given (TakeShellOpens,
// ClipboardText) and never reach the desktop. Off (the program's setting): they do.
void RecordShellActions(bool record);
// The targets ShellExecuteA opened since the last call (UTF-8), in order.
std::vector<std::string> TakeShellOpens();
// The clipboard's text (Shift-JIS), empty when it holds none; ResetClipboard empties it.
std::string ClipboardText();
void ResetClipboard();

// Back to the state of a new process: the program inactive with no active window, no key or
// button held, the pointer shape the arrow with a display count of 0, no clip, position (0, 0).
void ResetWindowInput();
// Resets the pointer alone (ResetWindowInput does it too).
void ResetPointer();

}  // namespace win32_test
