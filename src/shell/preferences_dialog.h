#pragma once
// The preferences dialog 163: a tab control (1203) with five pages, each a child dialog made
// when its tab is chosen and destroyed (storing its values) when another tab is chosen or the
// dialog ends. The pages change the game's settings at once while their controls move. It runs
// modally over the game window, inside dialog mode (time stands still).

#include "platform/win32/dialog_api.h"

constexpr WORD kPreferencesDialogResource = 163;
constexpr int kPreferencesTabControl = 1203;
constexpr int kPreferencePageCount = 5;

// The commands that open the dialog, each on its page.
constexpr WORD kCommandPreferencesMessage = 40068;  // F9: page 1
constexpr WORD kCommandPreferences = 40077;         // F8 and the menu: page 0, sound
constexpr WORD kCommandPreferencesSystem = 40078;   // F7: page 4
constexpr WORD kCommandPreferencesOther = 40090;    // F10: page 3
constexpr WORD kCommandPreferencesVoice = 40097;    // F11: page 2

// Pages by tab index.
enum PreferencePage : int {
    kPageSound = 0,
    kPageMessage = 1,
    kPageVoice = 2,
    kPageOther = 3,
    kPageSystem = 4,
};

// The page a command opens the dialog on; sound for any command not listed above.
int PreferencesStartPage(WORD command);

// The dialog procedure of 163; its parameter is the command that opened it.
INT_PTR PreferencesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Makes page `index` (0..4) a modeless child of `tabControl`, shown in its display area; null for
// any other index or when the page cannot be made.
HWND CreatePreferencePage(HWND tabControl, int index);

// The tab chosen and its page while the dialog is open; -1 and null otherwise.
int CurrentPreferenceTab();
HWND CurrentPreferencePage();

// One of the preference commands: the dialog over `owner` on the command's page, modal, inside
// dialog mode.
void ShowPreferencesDialog(HWND owner, WORD command);
