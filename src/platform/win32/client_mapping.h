#pragma once
// Internal to the Windows layer: how a client area of one size is shown in an SDL window of
// another (a full-screen window on a desktop of a different size): scaled by the smaller of the
// two ratios and centred, as the presenter shows the back buffer.

#include "platform/winbase/win_types.h"

namespace win32_internal {

// The client point under output pixel `output`. With `clamp`, points on the bars beside the
// picture are moved to the nearest client pixel (the screen edge of a full-screen window).
POINT OutputToClient(SIZE client, SIZE output, POINT output_point, bool clamp);
// The output pixel at the centre of client pixel `client_point`.
POINT ClientToOutput(SIZE client, SIZE output, POINT client_point);

}  // namespace win32_internal
