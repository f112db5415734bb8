#pragma once

#include <chrono>
#include <cstdint>

// The emulated radio reads time only through this, so tests can run a whole
// write in virtual time and zul-radio can run on the machine's clock.
class RadioClock {
public:
    virtual ~RadioClock() = default;
    virtual std::int64_t NowUs() const = 0;
};

// Time that moves only when a test moves it.
class ManualClock : public RadioClock {
public:
    std::int64_t NowUs() const override { return m_nowUs; }
    void AdvanceUs(std::int64_t us) { m_nowUs += us; }
    void AdvanceMs(std::int64_t ms) { m_nowUs += ms * 1000; }

private:
    std::int64_t m_nowUs = 0;
};

// The machine's monotonic clock, counted from the moment the object was made.
class SteadyRadioClock : public RadioClock {
public:
    std::int64_t NowUs() const override
    {
        return std::chrono::duration_cast<std::chrono::microseconds>(
                   std::chrono::steady_clock::now() - m_start)
            .count();
    }

private:
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};
