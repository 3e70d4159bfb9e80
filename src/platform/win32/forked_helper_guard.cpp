#include "platform/win32/forked_helper_guard.h"

#include <pthread.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <atomic>
#include <mutex>

namespace win32_internal {
namespace {

std::atomic<int> liveGuards{0};
std::atomic<pid_t> guardedParent{0};

// Runs in the new child right after fork: async-signal-safe calls only.
void DieWithParent() {
    if (liveGuards.load() == 0) {
        return;
    }
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    // The guard is this process's parent's: what the helper forks in its turn is its own affair.
    liveGuards.store(0);
    if (getppid() != guardedParent.load()) {
        _exit(1);  // the parent ended before the line above took effect
    }
}

}  // namespace

ForkedHelperGuard::ForkedHelperGuard() {
    static std::once_flag registered;
    std::call_once(registered, [] { pthread_atfork(nullptr, nullptr, &DieWithParent); });
    guardedParent.store(getpid());
    liveGuards.fetch_add(1);
}

ForkedHelperGuard::~ForkedHelperGuard() {
    liveGuards.fetch_sub(1);
}

}  // namespace win32_internal
