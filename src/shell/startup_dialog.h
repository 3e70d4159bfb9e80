#pragma once
// The start-up settings dialog: pages 109 (simple) and 210 (detailed). Every change is stored in
// the settings at once and the page is rebuilt from the stored values; the same code fills
// DisplaySettings for the device.

#include "platform/d3d9/d3d9.h"
#include "platform/win32/dialog_api.h"

// End codes of StartupDialogProc besides 1 (start) and 2 (back to the desktop).
constexpr INT_PTR kStartupShowDetailed = 3;
constexpr INT_PTR kStartupShowSimple = 1246;

INT_PTR StartupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Reads the display settings, checks the device, fills every control the page has and sets
// DisplaySettings.
void StartupAdvancedInit(HWND dialog);
// Adds `text` with item data `format` to the depth combo when the device accepts the format
// against the back-buffer format (0, automatic, always), selecting it when it is `selected`:
// 1 when added, 0 when rejected.
int AddDepthFormatItem(HWND combo, const char* text, D3DFORMAT format, D3DFORMAT selected);

// The stored texture-filter choices and reductions; nothing in the game calls them.
DWORD GetTextureFilterMinChoice();
DWORD GetTextureFilterMagChoice();
DWORD GetFieldReduce();
DWORD GetCharReduce();

// The next page shown stands where its template puts it; each later page of the run is centred
// where the page before it ended.
void ForgetStartupDialogPosition();
