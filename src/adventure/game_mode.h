#pragma once
// Game modes: the current mode word, the stack of modes saved by script loads, the letterbox
// computed at the first script start, and the reset of the whole adventure.

#include <deque>

#include "platform/winbase/win_types.h"

constexpr int kGameModeAdventure = 1;
constexpr int kGameModeTitleMenu = 2;
constexpr int kGameModeTrainMap = 3;
constexpr int kGameModeNone = 4;

extern int GameMode;
// Used at its back.
extern std::deque<int> GameModeStack;

// 0.0 until the first StartScript.
extern double LetterboxScale;
extern RECT LetterboxRect;

// The script VM's load hook: saves the mode and enters Adventure.
bool PushGameMode(const char* path, const char* label);
// The script VM's frame-end hook; true only when returning into Adventure.
bool PopGameMode(const char* scriptName, int isReturn);

// Loads `file` (null: the running frame's file) at `label` as a new frame. The third argument
// is not read.
bool StartScript(const char* file, const char* label, int unused);

// Puts the whole adventure back to its starting state; AutoMode keeps its value.
void ResetAdventureState();
// The globals back to their initial values; with `restoreSystem` the system variables 0..8
// come back from the program's own save slot, once a global script has been loaded.
void ResetScriptVariables(int restoreSystem);

// Installs the game's hooks into the script VM.
void InstallGameScriptHooks();

// Computes LetterboxScale and LetterboxRect for a back buffer of width x height pixels.
void ComputeLetterbox(DWORD width, DWORD height, double* scale, RECT* rect);
