#include <cstdlib>
#include <cstring>

#include <gtest/gtest.h>

#include "support/golden.h"

int main(int argc, char** argv) {
    // Headless by default: no display, no sound card.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--update-golden") == 0) {
            qvn::test::SetUpdateGolden(true);
        }
    }
    return RUN_ALL_TESTS();
}
