#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "support/golden.h"

int main(int argc, char** argv) {
    // Headless by default: no display, no sound card.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    // A settings folder of this process alone: the settings of whoever runs the tests (a player's
    // own ~/.config) neither change what a test sees nor are written by one.
    std::string settingsHome =
        (std::filesystem::temp_directory_path() / "qvn-test-settings-XXXXXX").string();
    if (mkdtemp(settingsHome.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    setenv("XDG_CONFIG_HOME", settingsHome.c_str(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--update-golden") == 0) {
            qvn::test::SetUpdateGolden(true);
        }
    }
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(settingsHome, ignored);
    return result;
}
