#pragma once
// Bitmap resources: the program registers its images (A8R8G8B8 pixels, kept by pointer) by id.
// A static control with SS_BITMAP names its bitmap in its template text as "#id"; the
// presentation draws the image stretched over the control.

#include <cstdint>

#include "platform/winbase/win_types.h"

struct Win32Bitmap {
    int width = 0;
    int height = 0;
    const std::uint32_t* argbPixels = nullptr;  // width x height, row by row
};

// Registers `bitmap` as resource `id`; a bitmap without pixels removes it.
void Win32RegisterBitmapResource(WORD id, const Win32Bitmap& bitmap);
// The bitmap of resource `id`; no pixels when there is none.
Win32Bitmap Win32FindBitmapResource(WORD id);
// The bitmap a control text names ("#117"); no pixels for any other text.
Win32Bitmap Win32BitmapOfText(const char* text);
