#include <time.h>

#include "serial/Timing.h"

namespace {

// The monotonic clock in nanoseconds stands for the high-resolution counter; it
// never jumps with the wall clock.
class MonotonicClock : public WaitClock {
public:
    std::int64_t CounterFrequency() override { return 1000000000; }
    std::int64_t Counter() override
    {
        timespec ts{};
        clock_gettime(CLOCK_MONOTONIC, &ts);
        return static_cast<std::int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
    }
    std::uint32_t Milliseconds() override
    {
        return static_cast<std::uint32_t>(static_cast<std::uint64_t>(Counter()) / 1000000u);
    }
};

}  // namespace

WaitClock& PlatformClock()
{
    static MonotonicClock clock;
    return clock;
}
