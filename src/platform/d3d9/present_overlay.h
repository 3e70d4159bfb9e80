#pragma once
// Internal to src/platform: the presentation of dialogs and menus (src/platform/ui) draws over a
// device's frame at the moment it is presented, after the game finished drawing it, and lets go
// of what it keeps on a device when the device goes.

#include "platform/d3d9/d3d9.h"

namespace d3d9_internal {

// Called by Present before the back buffer is shown, with the window it is shown in. Null: none.
// `strip` (never null, null on entry): a surface of the back buffer's format and width, shown
// above the back buffer (the window's menu bar above its client area), whose reference passes to
// Present, which releases it; left null, the back buffer is shown alone.
using PresentOverlay = void (*)(IDirect3DDevice9* device, HWND window, IDirect3DSurface9** strip);
void SetPresentOverlay(PresentOverlay overlay);
PresentOverlay CurrentPresentOverlay();

// Called when a device's last reference is released, before the device lets go of anything, so
// that resources kept on it are released while they still belong to it. Null: none.
using DeviceEndObserver = void (*)(IDirect3DDevice9* device);
void SetDeviceEndObserver(DeviceEndObserver observer);

// The live device that presents into `window`, or null.
IDirect3DDevice9* FindDeviceOfWindow(HWND window);

}  // namespace d3d9_internal
