#pragma once
// An X11 desktop of a test's own: a virtual X server (Xvfb) of 1280 x 1024 pixels, with or
// without a window manager (openbox), for tests of windows on a real desktop. DISPLAY names it
// once it is up. It ends when the process ends, after SDL has closed its connection to it (SDL
// closes at exit too, so the desktop must be started before SDL video), and goes with the
// process if that dies.

#include <string>

namespace qvn::test {

struct XDesktop {
    std::string display;  // ":N", empty when the desktop could not be started
    std::string problem;  // why not
};

// Starts the desktop, once per process, and waits (at most half a minute each) until the server
// takes connections and, with `windowManager`, until the window manager runs.
XDesktop StartXDesktop(bool windowManager);

}  // namespace qvn::test
