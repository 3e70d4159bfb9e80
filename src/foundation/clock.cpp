#include "foundation/clock.h"

#include "platform/winbase/time_api.h"

double GetSeconds() {
    LARGE_INTEGER frequency{};
    if (QueryPerformanceFrequency(&frequency) && frequency.QuadPart != 0) {
        LARGE_INTEGER count{};
        QueryPerformanceCounter(&count);
        return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
    }
    // The single-precision constant, as the millisecond path has always used.
    constexpr float kMillisecond = 0.001f;
    return static_cast<double>(timeGetTime()) * static_cast<double>(kMillisecond);
}
