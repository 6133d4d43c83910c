// Time stamps that every process of a run can compare: the system-wide
// monotonic clock, in nanoseconds.
#pragma once

#include <time.h>

#include <cstdint>

namespace stress {

inline std::int64_t MonotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

inline void SleepUs(std::int64_t us)
{
    if (us <= 0) return;
    timespec pause{static_cast<time_t>(us / 1000000), static_cast<long>(us % 1000000) * 1000};
    nanosleep(&pause, nullptr);
}

inline void SleepMs(long ms)
{
    SleepUs(static_cast<std::int64_t>(ms) * 1000);
}

inline double Seconds(std::int64_t ns)
{
    return static_cast<double>(ns) / 1e9;
}
inline double Millis(std::int64_t ns)
{
    return static_cast<double>(ns) / 1e6;
}

}  // namespace stress
