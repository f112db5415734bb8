#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "sim/EmulatedRadio.h"
#include "tests/sim/RadioFrames.h"

// One emulated radio in virtual time, with the port open.
class RadioFixture : public ::testing::Test {
protected:
    void Start(RadioConfig config = {})
    {
        m_radio = std::make_unique<EmulatedRadio>(std::move(config), m_clock);
        m_radio->PortOpened();
    }
    void Start(RadioDialect dialect, const std::vector<std::string>& faults = {},
               RadioCable cable = RADIO_CABLE_PLAIN)
    {
        RadioConfig c;
        c.dialect = dialect;
        c.cable = cable;
        for (const auto& f : faults) {
            std::string error;
            EXPECT_TRUE(c.faults.Add(f, error)) << error;
        }
        Start(std::move(c));
    }

    // Sends bytes and returns what came back within the next ms milliseconds.
    Bytes Exchange(const Bytes& bytes, int ms = 50)
    {
        m_radio->FromPc(bytes);
        return Wait(ms);
    }
    Bytes Wait(int ms)
    {
        Bytes got;
        for (int i = 0; i < ms; ++i) {
            m_clock.AdvanceMs(1);
            const Bytes more = m_radio->ToPc();
            got.insert(got.end(), more.begin(), more.end());
        }
        return got;
    }

    Bytes Code() const
    {
        const auto& c = m_radio->Config().productCode;
        return Bytes(c.begin(), c.end());
    }

    // Standard dialect up to the product code answer.
    void StdReady()
    {
        ASSERT_EQ(Exchange({0x00}), Bytes{0x00});
        ASSERT_EQ(Exchange({0x5A}), Bytes{0x5A});
        ASSERT_EQ(Exchange(StdAddressFrame(0, 0, 0)).size(), 18u);
    }

    // MIC/SP dialect: the first prompt answered and the product code given.
    void MicReady()
    {
        Wait(m_radio->Config().powerOnMs + 1);
        ASSERT_EQ(Exchange({0xA0}, 5), Bytes{0xA0});
        ASSERT_EQ(Exchange(MicAddressFrame(0, 0, 0)).size(), 5u + 17u);
    }

    ManualClock m_clock;
    std::unique_ptr<EmulatedRadio> m_radio;
};
