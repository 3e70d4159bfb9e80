#pragma once
// Icons: the program registers its icon images as resources (32 x 32 A8R8G8B8 pixels, kept by
// pointer); LoadIconA makes a new handle for one, which DestroyIcon frees.

#include <cstdint>

#include "platform/winbase/win_types.h"

constexpr int kIconSize = 32;

void Win32RegisterIconResource(WORD id, const std::uint32_t* argbPixels);
// Null (ERROR_RESOURCE_NAME_NOT_FOUND) for an id with no image.
HICON LoadIconA(HINSTANCE instance, LPCSTR name);
BOOL DestroyIcon(HICON icon);
// The icon's 32 x 32 pixels, null for a handle that is not (or no longer) a loaded icon.
const std::uint32_t* Win32IconPixels(HICON icon);
