#pragma once
// A shown window of the Windows layer with its SDL window on SDL's offscreen video driver, for
// tests that present into a real window without a display.

#include "platform/winbase/win_types.h"

namespace qvn::test {

class OffscreenWindow {
public:
    // Registers `className` (procedure DefWindowProcA), brings up SDL video and makes a 320 x 240
    // captioned window titled "game". handle() is null when any step failed.
    explicit OffscreenWindow(const char* className);
    ~OffscreenWindow();
    OffscreenWindow(const OffscreenWindow&) = delete;
    OffscreenWindow& operator=(const OffscreenWindow&) = delete;

    HWND handle() const { return window_; }

private:
    const char* className_;
    bool registered_ = false;
    HWND window_ = nullptr;
};

}  // namespace qvn::test
