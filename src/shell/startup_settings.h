#pragma once
// The start-up settings dialog's part in start-up: until the dialog exists, the display
// settings come from the stored values of the application settings.

// The display modes and surface formats that the dialog offers and sets.
#include "shell/display_modes.h"

// Dialog resources of the simple and the detailed page.
constexpr int kStartupDialogSimple = 109;
constexpr int kStartupDialogDetailed = 210;

// Runs the dialog page `resource`: 1 play, 2 back to the desktop, 3 the detailed page; any
// other result is a dialog that failed. On 1, DisplaySettings holds the chosen settings.
int RunStartupSettingsDialog(int resource);
// Runs the dialog until the player starts the game (true) or leaves it (false): the simple page
// first and after every result but 3, the detailed page after 3. A result other than 1, 2 or 3
// is a dialog that failed and counts as leaving, with a log line.
using StartupDialogRunner = int (*)(int resource);
bool RunStartupDialogLoop(StartupDialogRunner runDialog);
// The notice dialog shown after a run that did not end cleanly: 2 ends the program.
int RunNoticeDialog();
