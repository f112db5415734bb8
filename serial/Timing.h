#pragma once

#include <cstdint>

// The clocks the waits of the serial link are measured on: a high-resolution
// counter when the machine has one, else a 32-bit millisecond clock that wraps.
class WaitClock {
public:
    virtual ~WaitClock() = default;
    // The counter's ticks per second; 0 when there is no counter.
    virtual std::int64_t CounterFrequency() = 0;
    virtual std::int64_t Counter() = 0;
    virtual std::uint32_t Milliseconds() = 0;
};

// The platform's clocks.
WaitClock& PlatformClock();

// A point in time after which a receive gives up. It is never extended, and it
// counts as passed when the clock goes backwards or wraps.
class Deadline {
public:
    explicit Deadline(WaitClock& clock = PlatformClock()) : m_clock(&clock) {}

    void Start(std::uint32_t milliseconds);
    bool Expired() const;

    // Readings for the log, in the deadline's own clock units.
    bool UsesCounter() const { return m_counter; }
    double Now() const;
    double StartReading() const { return m_counter ? static_cast<double>(m_startTicks) : m_startMs; }
    double EndReading() const { return m_counter ? static_cast<double>(m_endTicks) : m_endMs; }

private:
    WaitClock* m_clock;
    bool m_counter = false;
    std::int64_t m_startTicks = 0;
    std::int64_t m_endTicks = 0;
    double m_startMs = 0;
    double m_endMs = 0;
};

// Spins, without yielding the processor, until the milliseconds have passed: short
// waits must never end early by the granularity of a sleeping timer.
void Delay(std::uint32_t milliseconds, WaitClock& clock = PlatformClock());
