#pragma once
// Internal to the presentation: what it keeps on each device it draws on: the font atlas's
// texture (made anew when the atlas is rebuilt) and the icons' textures (managed, so that they
// survive a Reset). Each is checked on use to still belong to the device, so that a new
// device at a dead one's address never draws with the dead one's resources.

#include "platform/d3d9/d3d9.h"

namespace ui_internal {

// Null when the texture cannot be made.
IDirect3DTexture9* FontTexture(IDirect3DDevice9* device);
IDirect3DTexture9* IconTexture(IDirect3DDevice9* device, HICON icon);
// Drops what is kept for the device (before it is released), or for every device.
void ReleaseDeviceTextures(IDirect3DDevice9* device);
void ReleaseAllDeviceTextures();

}  // namespace ui_internal
