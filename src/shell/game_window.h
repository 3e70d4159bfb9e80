#pragma once
// The one game window: its class, creation, windowed and full-screen styles, the message
// procedure, the close question and the typed-character buffer.

#include "platform/winbase/win_types.h"

constexpr DWORD kWindowedStyle = 0x00CA0000u;    // WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX
constexpr DWORD kFullScreenStyle = 0x90080000u;  // WS_POPUP | WS_VISIBLE | WS_SYSMENU
constexpr int kTypedCharBufferSize = 80;

// Command ids of the menu and the accelerators.
constexpr WORD kCommandExit = 40001;
constexpr WORD kCommandVersion = 40005;
constexpr WORD kCommandReturnToTitle = 40012;
constexpr WORD kCommandFpsOverlay = 40091;

extern HWND MainWindow;
// Menu 102, loaded once when the window is made; attached only in windowed mode or while the
// full-screen menu bar shows.
extern HMENU MainMenu;
extern char TypedCharBuffer[kTypedCharBufferSize];
extern int ClickActivateFlag;
extern int LoadMenuEnabled;
extern int SaveMenuEnabled;
extern int TitleReturnEnabled;

// Whether the game window of another copy of the program is open: that copy is running, and
// the log, "SafetyQuit" and the saves are its own.
bool AnotherCopyRuns();
// None when a copy of the program already runs, or the window cannot be made.
HWND CreateMainWindow();
void ApplyWindowMode();
// Full screen with a device made (the mode in which the window keeps the whole screen).
bool FullScreenWithDevice();
LRESULT MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Null `word` clears the buffer (0). Otherwise 1 when the buffer ends with `word` (case
// ignored), which also clears it.
int MatchTypedKeyword(const char* word);
// Appends one typed character, dropping the oldest beyond 79.
void AppendTypedChar(char c);

// The window position for a window of width x height: the stored "WindowRect"'s left and top,
// kept on the primary screen of screenWidth x screenHeight; a window larger than the screen
// starts at its left or top edge.
POINT ClampWindowPosition(const RECT& stored, int width, int height, int screenWidth,
                          int screenHeight);

// Every window value back to the start of a run (the window itself is not touched).
void ResetGameWindowState();
// Destroys the main menu (at shutdown, whether or not a window holds it).
void ReleaseMainMenu();
