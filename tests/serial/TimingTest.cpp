#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "serial/Timing.h"

namespace {

// A clock that moves by a fixed step at every reading, or plays a script.
class FakeClock : public WaitClock {
public:
    std::int64_t frequency = 0;
    std::int64_t counter = 0;
    std::int64_t counterStep = 0;
    std::uint32_t ms = 0;
    std::uint32_t msStep = 0;
    int readings = 0;

    std::int64_t CounterFrequency() override { return frequency; }
    std::int64_t Counter() override
    {
        ++readings;
        const std::int64_t now = counter;
        counter += counterStep;
        return now;
    }
    std::uint32_t Milliseconds() override
    {
        ++readings;
        const std::uint32_t now = ms;
        ms += msStep;  // wraps like the 32-bit millisecond clock
        return now;
    }
};

}  // namespace

TEST(Timing, DelayOfZeroReadsTheClockOnce)
{
    for (std::int64_t frequency : {std::int64_t{0}, std::int64_t{3579545}}) {
        FakeClock clock;
        clock.frequency = frequency;
        Delay(0, clock);
        EXPECT_EQ(clock.readings, 1) << frequency;
    }
    FakeClock tiny;
    tiny.frequency = 999;  // 1 ms is 0.999 ticks: truncated to no wait at all
    Delay(1, tiny);
    EXPECT_EQ(tiny.readings, 1);
}

TEST(Timing, CounterSpanIsTruncatedTowardZero)
{
    FakeClock clock;
    clock.frequency = 3579545;
    clock.counter = 1000;
    Deadline d(clock);
    d.Start(10);
    EXPECT_TRUE(d.UsesCounter());
    EXPECT_EQ(d.StartReading(), 1000.0);
    EXPECT_EQ(d.EndReading(), 1000.0 + 35795.0);  // 35795.45 ticks
    clock.counter = 1000 + 35794;
    EXPECT_FALSE(d.Expired());
    clock.counter = 1000 + 35795;
    EXPECT_TRUE(d.Expired());
    clock.counter = 999;  // went backwards
    EXPECT_TRUE(d.Expired());
}

TEST(Timing, MillisecondClockExpiresWhenItWraps)
{
    FakeClock clock;
    clock.ms = 0xFFFFFFF0u;
    Deadline d(clock);
    d.Start(100);
    EXPECT_FALSE(d.UsesCounter());
    clock.ms = 0xFFFFFFFFu;
    EXPECT_FALSE(d.Expired());
    clock.ms = 5;  // wrapped: a reading below start ends the wait at once
    EXPECT_TRUE(d.Expired());

    FakeClock spinning;
    spinning.ms = 0xFFFFFFF0u;
    spinning.msStep = 4;
    Delay(1000, spinning);  // would need ~250 readings without the wrap rule
    EXPECT_LE(spinning.readings, 8);
}

TEST(Timing, DelaySpinsUntilTheEnd)
{
    FakeClock clock;
    clock.frequency = 1000;  // one tick per millisecond
    clock.counterStep = 1;
    Delay(10, clock);
    EXPECT_EQ(clock.counter, 11);  // the start reading 0, then readings 1..10
}

TEST(Timing, RealDelayIsNeverShort)
{
    using namespace std::chrono;
    for (std::uint32_t ms : {1u, 5u, 10u}) {
        const auto before = steady_clock::now();
        Delay(ms);
        EXPECT_GE(steady_clock::now() - before, milliseconds(ms)) << ms;
    }
    Deadline d;
    d.Start(10);
    const auto before = steady_clock::now();
    while (!d.Expired()) {
    }
    EXPECT_GE(steady_clock::now() - before, milliseconds(9));
}
