#pragma once
// The built program, copied into a test's program directory so that it runs there as a process
// of its own (its data, log and lock files then those of the test), and run there.

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "support/temp_program_dir.h"

namespace qvn::test {

// The path of the copy; empty when the program could not be copied.
inline std::string CopyProgramInto(const TempProgramDir& dir) {
    std::ifstream program(QVN_PROGRAM, std::ios::binary);
    std::stringstream bytes;
    bytes << program.rdbuf();
    dir.writeFile("qvn", bytes.str());
    const std::string copy = dir.path() + "/qvn";
    return program.good() && chmod(copy.c_str(), 0755) == 0 ? copy : std::string();
}

// Runs the copy as a process of its own with its standard error in the file `errors`; without
// a desktop (no X11 or Wayland server to be found) when `display` is false. Its exit status, 128
// when it did not end by itself within half a minute (it is then killed).
inline int RunProgramCopy(const std::string& copy, const std::string& errors, bool display) {
    const pid_t child = fork();
    if (child == 0) {
        if (!display) {
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            // Only the desktop drivers: with neither server there, video cannot start.
            setenv("SDL_VIDEODRIVER", "x11,wayland", 1);
        }
        if (std::freopen(errors.c_str(), "w", stderr) == nullptr) {
            _exit(126);
        }
        execl(copy.c_str(), copy.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    for (int i = 0; i < 600; ++i) {
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
        }
        usleep(50000);
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    return 128;
}

}  // namespace qvn::test
