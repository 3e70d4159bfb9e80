#pragma once
// The message colour as the message page edits it: hue 0..359 degrees, saturation, value and
// alpha 0..255, converted to and from packed ARGB in integer arithmetic (every division
// truncates), so that a colour read back shows the same slider positions on every machine.

#include "platform/winbase/win_types.h"

struct HsvColour {
    int hue;         // 0..359
    int saturation;  // 0..255
    int value;       // 0..255
    int alpha;       // 0..255
};

// A hue outside 0..359 is taken modulo 360 (360 is red again, as 0); saturation, value and alpha
// are held to 0..255. Saturation 0 gives grey (every channel the value).
DWORD HsvToArgb(int hue, int saturation, int value, int alpha);
// The hue is 0..359: red with equal green and blue reads as 0, never 360. A grey colour reads as
// hue 0 and saturation 0.
HsvColour ArgbToHsv(DWORD colour);
