#pragma once
// The start-up settings dialog's part in start-up: the pages shown one after another until the
// player starts the game or leaves.

// The display modes and surface formats that the dialog offers and sets.
#include "shell/display_modes.h"

// Dialog resources of the simple and the detailed page.
constexpr int kStartupDialogSimple = 109;
constexpr int kStartupDialogDetailed = 210;

// Runs the dialog page `resource` (StartupDialogProc, no owner): 1 play, 2 back to the desktop,
// 3 the detailed page, 1246 the simple page; -1 when the dialog cannot be shown. On 1,
// DisplaySettings holds the chosen settings.
int RunStartupSettingsDialog(int resource);
// Runs the dialog until the player starts the game (true) or leaves it (false): the simple page
// first and after every result but 3, the detailed page after 3. A dialog that cannot be shown
// counts as leaving, with a log line.
using StartupDialogRunner = int (*)(int resource);
bool RunStartupDialogLoop(StartupDialogRunner runDialog);
