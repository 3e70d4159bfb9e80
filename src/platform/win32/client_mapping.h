#pragma once
// Internal to src/platform: how a client area of one size is shown in an SDL window of another (a
// full-screen window on a desktop of a different size): scaled by the smaller of the two ratios
// and centred. The presenter shows the back buffer by FitPicture, and the Windows layer maps
// pointer positions through the same fit, so both always agree.

#include "platform/winbase/win_types.h"

namespace win32_internal {

struct PictureFit {
    double scale = 1.0;  // output pixels per client pixel
    RECT area{};         // where the picture lies in the output, in output pixels
};

// The fit of a `picture` into an `output` (both in pixels); scale 1 at (0, 0) when either is
// empty.
PictureFit FitPicture(SIZE picture, SIZE output);

// The client point under output pixel `output`. With `clamp`, points on the bars beside the
// picture are moved to the nearest client pixel (the screen edge of a full-screen window).
POINT OutputToClient(SIZE client, SIZE output, POINT output_point, bool clamp);
// The output pixel at the centre of client pixel `client_point`.
POINT ClientToOutput(SIZE client, SIZE output, POINT client_point);

}  // namespace win32_internal
