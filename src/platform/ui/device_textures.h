#pragma once
// Internal to the presentation: what it keeps on each device it draws on: the font atlas's
// texture (made anew when the atlas is rebuilt) and the icons' textures (managed, so that they
// survive a Reset). What is kept on a device is released as the device goes (its last Release),
// also after the presentation was removed.

#include "platform/d3d9/d3d9.h"

namespace ui_internal {

// Null when the texture cannot be made.
IDirect3DTexture9* FontTexture(IDirect3DDevice9* device);
IDirect3DTexture9* IconTexture(IDirect3DDevice9* device, HICON icon);

}  // namespace ui_internal
