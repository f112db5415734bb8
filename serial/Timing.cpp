#include "serial/Timing.h"

void Deadline::Start(std::uint32_t milliseconds)
{
    const std::int64_t frequency = m_clock->CounterFrequency();
    m_counter = frequency != 0;
    if (m_counter) {
        m_startTicks = m_clock->Counter();
        // Ticks of the span, truncated toward zero.
        const auto span = static_cast<std::int64_t>(static_cast<double>(milliseconds) *
                                                    static_cast<double>(frequency) / 1000.0);
        m_endTicks = m_startTicks + span;
    } else {
        m_startMs = static_cast<double>(m_clock->Milliseconds());
        m_endMs = m_startMs + static_cast<double>(milliseconds);
    }
}

double Deadline::Now() const
{
    return m_counter ? static_cast<double>(m_clock->Counter())
                     : static_cast<double>(m_clock->Milliseconds());
}

bool Deadline::Expired() const
{
    if (m_counter) {
        const std::int64_t now = m_clock->Counter();
        return now >= m_endTicks || now < m_startTicks;
    }
    const double now = static_cast<double>(m_clock->Milliseconds());
    return now >= m_endMs || now < m_startMs;
}

void Delay(std::uint32_t milliseconds, WaitClock& clock)
{
    Deadline deadline(clock);
    deadline.Start(milliseconds);
    if (!(deadline.EndReading() > deadline.StartReading()))
        return;  // nothing to wait for: no second reading
    while (!deadline.Expired()) {
    }
}
