#pragma once
// Internal to src/platform: the presentation of dialogs and menus (src/platform/ui) draws over a
// device's frame at the moment it is presented, after the game finished drawing it.

#include "platform/d3d9/d3d9.h"

namespace d3d9_internal {

// Called by Present before the back buffer is shown, with the window it is shown in. Null: none.
using PresentOverlay = void (*)(IDirect3DDevice9* device, HWND window);
void SetPresentOverlay(PresentOverlay overlay);
PresentOverlay CurrentPresentOverlay();

// The live device that presents into `window`, or null.
IDirect3DDevice9* FindDeviceOfWindow(HWND window);

}  // namespace d3d9_internal
