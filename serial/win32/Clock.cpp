#include <windows.h>
#include <mmsystem.h>

#include "serial/Timing.h"

namespace {

class PerformanceClock : public WaitClock {
public:
    std::int64_t CounterFrequency() override
    {
        LARGE_INTEGER f;
        if (!QueryPerformanceFrequency(&f))
            return 0;
        return f.QuadPart;
    }
    std::int64_t Counter() override
    {
        LARGE_INTEGER c;
        QueryPerformanceCounter(&c);
        return c.QuadPart;
    }
    std::uint32_t Milliseconds() override { return timeGetTime(); }
};

}  // namespace

WaitClock& PlatformClock()
{
    static PerformanceClock clock;
    return clock;
}
