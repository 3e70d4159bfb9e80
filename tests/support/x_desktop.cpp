#include "support/x_desktop.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/win32/x11_test_hooks.h"

namespace qvn::test {
namespace {

constexpr auto kStartLimit = std::chrono::seconds(30);
constexpr auto kPollPeriod = std::chrono::milliseconds(20);

// The processes started, ended at exit: the window manager first, then the server.
std::vector<pid_t>& Started() {
    static auto* const started = new std::vector<pid_t>;
    return *started;
}

void StopAll() {
    std::vector<pid_t>& started = Started();
    for (auto it = started.rbegin(); it != started.rend(); ++it) {
        kill(*it, SIGTERM);
        waitpid(*it, nullptr, 0);
    }
    started.clear();
}

// Runs `argv` (the program found on PATH) with its output discarded, keeping `keepFd` open for
// it; its death signal ties it to this process. -1 when it cannot start.
pid_t Spawn(const std::vector<std::string>& argv, int keepFd) {
    std::vector<char*> args;
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    const pid_t parent = getpid();
    const pid_t child = fork();
    if (child == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) {
            _exit(126);
        }
        const int null = open("/dev/null", O_RDWR);
        for (int fd = 0; fd < 3; ++fd) {
            if (fd != keepFd) {
                dup2(null, fd);
            }
        }
        execvp(args[0], args.data());
        _exit(127);
    }
    if (child > 0) {
        Started().push_back(child);
    }
    return child;
}

// The display number Xvfb writes to `fd` once it takes connections; empty when it does not
// within the limit.
std::string ReadDisplayNumber(int fd) {
    std::string number;
    const auto deadline = std::chrono::steady_clock::now() + kStartLimit;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd ready{fd, POLLIN, 0};
        if (poll(&ready, 1, static_cast<int>(kPollPeriod.count())) <= 0) {
            continue;
        }
        char c = 0;
        if (read(fd, &c, 1) != 1) {
            return std::string();
        }
        if (c == '\n') {
            return number;
        }
        number += c;
    }
    return std::string();
}

}  // namespace

XDesktop StartXDesktop(bool windowManager) {
    static bool started = false;
    if (started) {
        return XDesktop{"", "a desktop was already started in this process"};
    }
    started = true;
    std::atexit(StopAll);
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        return XDesktop{"", "no pipe for Xvfb"};
    }
    // Without -noreset the server starts afresh whenever its last client leaves, and a client that
    // connects meanwhile (the window manager starting) is turned away.
    const pid_t server = Spawn({"Xvfb", "-displayfd", std::to_string(pipeEnds[1]), "-screen", "0",
                                "1280x1024x24", "-nolisten", "tcp", "-noreset"},
                               pipeEnds[1]);
    close(pipeEnds[1]);
    const std::string number = server > 0 ? ReadDisplayNumber(pipeEnds[0]) : std::string();
    close(pipeEnds[0]);
    if (number.empty()) {
        return XDesktop{"", "Xvfb did not start (tools/install-deps installs it)"};
    }
    const std::string display = ":" + number;
    setenv("DISPLAY", display.c_str(), 1);
    if (!windowManager) {
        return XDesktop{display, ""};
    }
    const pid_t manager = Spawn({"openbox"}, -1);
    if (manager <= 0) {
        return XDesktop{"", "openbox did not start"};
    }
    const auto deadline = std::chrono::steady_clock::now() + kStartLimit;
    while (!win32_test::X11WindowManagerRuns(display)) {
        int status = 0;
        if (waitpid(manager, &status, WNOHANG) == manager) {
            std::erase(Started(), manager);
            return XDesktop{"", "openbox ended with status " + std::to_string(status) +
                                    " (tools/install-deps installs it)"};
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return XDesktop{"", "openbox did not take over the display"};
        }
        std::this_thread::sleep_for(kPollPeriod);
    }
    return XDesktop{display, ""};
}

}  // namespace qvn::test
