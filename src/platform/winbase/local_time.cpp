#include "platform/winbase/local_time.h"

#include <time.h>

#include <atomic>
#include <cstdint>

#include "platform/winbase/test_hooks.h"

namespace {

constexpr std::int64_t kTicksPerSecond = 10000000;            // 100 ns intervals
constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600;  // 369 years with 89 leap days

struct FixedWallClock {
    std::atomic<bool> fixed{false};
    std::atomic<std::int64_t> unixSeconds{0};
    std::atomic<std::int32_t> utcOffsetSeconds{0};
};

FixedWallClock& Fixed() {
    static FixedWallClock* clock = new FixedWallClock;
    return *clock;
}

std::uint64_t TicksOf(const FILETIME& time) {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FILETIME FileTimeOf(std::uint64_t ticks) {
    return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

// Seconds east of UTC of the local zone at `unixSeconds`.
std::int64_t UtcOffsetAt(std::int64_t unixSeconds) {
    FixedWallClock& clock = Fixed();
    if (clock.fixed.load()) {
        return clock.utcOffsetSeconds.load();
    }
    const auto when = static_cast<time_t>(unixSeconds);
    tm local{};
    if (localtime_r(&when, &local) == nullptr) {
        return 0;
    }
    return local.tm_gmtoff;
}

// Calendar fields of `seconds` counted from 1970-01-01 in whatever zone they are.
void BreakDown(std::int64_t seconds, WORD milliseconds, SYSTEMTIME* out) {
    const auto when = static_cast<time_t>(seconds);
    tm fields{};
    gmtime_r(&when, &fields);
    out->wYear = static_cast<WORD>(fields.tm_year + 1900);
    out->wMonth = static_cast<WORD>(fields.tm_mon + 1);
    out->wDayOfWeek = static_cast<WORD>(fields.tm_wday);
    out->wDay = static_cast<WORD>(fields.tm_mday);
    out->wHour = static_cast<WORD>(fields.tm_hour);
    out->wMinute = static_cast<WORD>(fields.tm_min);
    out->wSecond = static_cast<WORD>(fields.tm_sec);
    out->wMilliseconds = milliseconds;
}

}  // namespace

void GetLocalTime(SYSTEMTIME* time) {
    if (time == nullptr) {
        return;
    }
    FixedWallClock& clock = Fixed();
    if (clock.fixed.load()) {
        const std::int64_t now = clock.unixSeconds.load();
        BreakDown(now + UtcOffsetAt(now), 0, time);
        return;
    }
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    BreakDown(now.tv_sec + UtcOffsetAt(now.tv_sec), static_cast<WORD>(now.tv_nsec / 1000000), time);
}

BOOL FileTimeToLocalFileTime(const FILETIME* utc, FILETIME* local) {
    if (utc == nullptr || local == nullptr) {
        return FALSE;
    }
    const std::uint64_t ticks = TicksOf(*utc);
    const std::int64_t unixSeconds =
        static_cast<std::int64_t>(ticks / kTicksPerSecond) - kSecondsFrom1601To1970;
    const std::int64_t shifted =
        static_cast<std::int64_t>(ticks) + UtcOffsetAt(unixSeconds) * kTicksPerSecond;
    if (shifted < 0) {
        return FALSE;
    }
    *local = FileTimeOf(static_cast<std::uint64_t>(shifted));
    return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME* time, SYSTEMTIME* out) {
    if (time == nullptr || out == nullptr) {
        return FALSE;
    }
    const std::uint64_t ticks = TicksOf(*time);
    if (ticks >= (std::uint64_t{1} << 63)) {
        return FALSE;
    }
    const std::int64_t seconds =
        static_cast<std::int64_t>(ticks / kTicksPerSecond) - kSecondsFrom1601To1970;
    const auto milliseconds = static_cast<WORD>((ticks % kTicksPerSecond) / 10000);
    BreakDown(seconds, milliseconds, out);
    return TRUE;
}

FILETIME UnixTimeToFileTime(std::int64_t seconds, std::int64_t nanoseconds) {
    const std::int64_t ticks =
        (seconds + kSecondsFrom1601To1970) * kTicksPerSecond + nanoseconds / 100;
    return FileTimeOf(static_cast<std::uint64_t>(ticks < 0 ? 0 : ticks));
}

namespace win32_test {

void FixWallClock(bool fixed, std::int64_t unixSeconds, std::int32_t utcOffsetSeconds) {
    FixedWallClock& clock = Fixed();
    clock.unixSeconds = unixSeconds;
    clock.utcOffsetSeconds = utcOffsetSeconds;
    clock.fixed = fixed;
}

}  // namespace win32_test
