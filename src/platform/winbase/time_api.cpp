#include "platform/winbase/time_api.h"

#include <sched.h>
#include <time.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <list>
#include <mutex>

#include "platform/winbase/test_hooks.h"

namespace {

constexpr LONGLONG kCounterFrequency = 1000000000;  // counts per second: nanoseconds

// The clock that tests advance. Sleepers wait for their deadline; the thread that advances the
// clock releases them, so that a count of sleepers taken after an advance never includes a
// thread that is about to wake.
struct ManualClock {
    std::mutex mutex;
    std::condition_variable changed;
    std::atomic<bool> enabled{false};
    std::atomic<std::uint64_t> microseconds{0};
    struct Sleeper {
        std::uint64_t deadline;
        bool released;
        const std::atomic<bool>* wake;  // null: only the clock ends the sleep
        bool Waiting() const { return !released && (wake == nullptr || !wake->load()); }
    };
    std::list<Sleeper> sleepers;  // stable addresses for the sleeping threads
};

ManualClock& Manual() {
    static ManualClock* clock = new ManualClock;
    return *clock;
}

std::uint64_t MonotonicNanoseconds() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000000000u +
           static_cast<std::uint64_t>(now.tv_nsec);
}

// Releases every sleeper whose deadline has come; call with the mutex held.
void ReleaseDueSleepers(ManualClock& clock, bool releaseAll) {
    std::uint64_t now = clock.microseconds.load();
    for (ManualClock::Sleeper& sleeper : clock.sleepers) {
        if (releaseAll || sleeper.deadline <= now) {
            sleeper.released = true;
        }
    }
}

void SleepManual(ManualClock& clock, DWORD milliseconds, const std::atomic<bool>* wake) {
    std::unique_lock lock(clock.mutex);
    auto sleeper = clock.sleepers.insert(
        clock.sleepers.end(),
        {clock.microseconds.load() + static_cast<std::uint64_t>(milliseconds) * 1000u, false,
         wake});
    clock.changed.notify_all();
    clock.changed.wait(lock, [&] { return !sleeper->Waiting(); });
    clock.sleepers.erase(sleeper);
}

// Wakes the real-clock sleepers of SleepUnless.
struct RealWake {
    std::mutex mutex;
    std::condition_variable changed;
};

RealWake& RealWakes() {
    static RealWake* wakes = new RealWake;
    return *wakes;
}

void SleepReal(DWORD milliseconds) {
    timespec deadline;
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    deadline.tv_sec += milliseconds / 1000;
    deadline.tv_nsec += static_cast<long>(milliseconds % 1000) * 1000000L;
    if (deadline.tv_nsec >= 1000000000L) {
        deadline.tv_sec += 1;
        deadline.tv_nsec -= 1000000000L;
    }
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
}

}  // namespace

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
    if (count == nullptr) {
        return FALSE;
    }
    ManualClock& clock = Manual();
    count->QuadPart = clock.enabled.load()
                          ? static_cast<LONGLONG>(clock.microseconds.load() * 1000u)
                          : static_cast<LONGLONG>(MonotonicNanoseconds());
    return TRUE;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    if (frequency == nullptr) {
        return FALSE;
    }
    frequency->QuadPart = kCounterFrequency;
    return TRUE;
}

DWORD timeGetTime() {
    ManualClock& clock = Manual();
    std::uint64_t milliseconds = clock.enabled.load() ? clock.microseconds.load() / 1000u
                                                      : MonotonicNanoseconds() / 1000000u;
    return static_cast<DWORD>(milliseconds);  // wraps after 2^32 ms, as the system timer does
}

void Sleep(DWORD milliseconds) {
    ManualClock& clock = Manual();
    if (clock.enabled.load()) {
        if (milliseconds != 0) {
            SleepManual(clock, milliseconds, nullptr);
        }
        return;
    }
    if (milliseconds == 0) {
        sched_yield();
        return;
    }
    SleepReal(milliseconds);
}

void SleepUnless(DWORD milliseconds, const std::atomic<bool>& wake) {
    ManualClock& clock = Manual();
    if (clock.enabled.load()) {
        if (milliseconds != 0 && !wake.load()) {
            SleepManual(clock, milliseconds, &wake);
        }
        return;
    }
    RealWake& wakes = RealWakes();
    std::unique_lock lock(wakes.mutex);
    wakes.changed.wait_for(lock, std::chrono::milliseconds(milliseconds),
                           [&] { return wake.load(); });
}

void WakeSleepers() {
    {
        ManualClock& clock = Manual();
        std::lock_guard lock(clock.mutex);
        clock.changed.notify_all();
    }
    RealWake& wakes = RealWakes();
    std::lock_guard lock(wakes.mutex);
    wakes.changed.notify_all();
}

bool Win32ClockIsManual() {
    return Manual().enabled.load();
}

namespace win32_test {

void UseManualClock(bool manual) {
    ManualClock& clock = Manual();
    std::lock_guard lock(clock.mutex);
    clock.microseconds.store(0);
    clock.enabled.store(manual);
    if (!manual) {
        ReleaseDueSleepers(clock, true);
        clock.changed.notify_all();
    }
}

void AdvanceClockMicroseconds(std::uint64_t microseconds) {
    ManualClock& clock = Manual();
    std::lock_guard lock(clock.mutex);
    clock.microseconds.fetch_add(microseconds);
    ReleaseDueSleepers(clock, false);
    clock.changed.notify_all();
}

void WaitForSleepers(int count) {
    ManualClock& clock = Manual();
    std::unique_lock lock(clock.mutex);
    clock.changed.wait(lock, [&] {
        int waiting = 0;
        for (const ManualClock::Sleeper& sleeper : clock.sleepers) {
            if (sleeper.Waiting()) {
                ++waiting;
            }
        }
        return waiting >= count;
    });
}

}  // namespace win32_test
