// A process forked while a message box shows (as SDL forks one to show the box) ends with the
// program, however the program ends.

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/win32/forked_helper_guard.h"

namespace {

// Exit codes of the watching process.
constexpr int kHelperEnded = 10;
constexpr int kHelperLived = 11;
constexpr int kSetupFailed = 12;

// In a watching process that adopts orphans: a "game" process forks a helper (which waits for
// ever), with or without the guard, and is then killed. Reports what became of the helper.
int WatchHelperOfKilledGame(bool guarded) {
    if (prctl(PR_SET_CHILD_SUBREAPER, 1) != 0) {
        return kSetupFailed;
    }
    int report[2];
    if (pipe(report) != 0) {
        return kSetupFailed;
    }
    const pid_t game = fork();
    if (game == 0) {
        close(report[0]);
        pid_t helper = -1;
        {
            win32_internal::ForkedHelperGuard guard;
            helper = guarded ? fork() : -1;
        }
        if (!guarded) {
            helper = fork();
        }
        if (helper == 0) {
            for (;;) {
                pause();
            }
        }
        if (write(report[1], &helper, sizeof helper) != static_cast<ssize_t>(sizeof helper)) {
            _exit(1);
        }
        raise(SIGKILL);
    }
    close(report[1]);
    pid_t helper = -1;
    const bool reported = read(report[0], &helper, sizeof helper) == sizeof helper && helper > 0;
    waitpid(game, nullptr, 0);
    if (!reported) {
        return kSetupFailed;
    }
    // The helper is our child now. Its end follows the game's at once; two seconds is margin.
    for (int i = 0; i < 200; ++i) {
        // Killed as the game died, or ended at once when the game died before the helper ran.
        if (waitpid(helper, nullptr, WNOHANG) == helper) {
            return kHelperEnded;
        }
        usleep(10000);
    }
    kill(helper, SIGKILL);
    waitpid(helper, nullptr, 0);
    return kHelperLived;
}

TEST(ForkedHelperGuardTest, HelpersForkedUnderTheGuardDieWithTheProgram) {
    struct Case {
        const char* name;
        bool guarded;
        int outcome;
    };
    const Case cases[] = {
        {"forked while a box shows", true, kHelperEnded},
        {"forked at any other time", false, kHelperLived},
    };
    for (const Case& c : cases) {
        const pid_t watcher = fork();
        if (watcher == 0) {
            _exit(WatchHelperOfKilledGame(c.guarded));
        }
        int status = 0;
        ASSERT_EQ(waitpid(watcher, &status, 0), watcher) << c.name;
        ASSERT_TRUE(WIFEXITED(status)) << c.name;
        EXPECT_EQ(WEXITSTATUS(status), c.outcome) << c.name;
    }
}

}  // namespace
