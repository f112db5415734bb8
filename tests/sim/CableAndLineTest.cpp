// The cables, the line's pacing and character format, and what a closed port loses.
#include <gtest/gtest.h>

#include "tests/sim/RadioFixture.h"

namespace {

class CableAndLine : public RadioFixture {};

TEST_F(CableAndLine, Qox50PassesBytesUntilItsModeFrameThenOnlyPackets)
{
    Start(DIALECT_STANDARD, {}, RADIO_CABLE_QOX50);
    // Raw at first: the radio answers the sync byte.
    EXPECT_EQ(Exchange({0x00}), Bytes{0x00});
    // The mode frame is the cable's: the radio does not see it, so no echo of its zeros.
    EXPECT_EQ(Exchange(kModeFrame), Bytes{});
    EXPECT_TRUE(m_radio->CablePacketMode());
    EXPECT_EQ(m_radio->Record().modeFrames, 1);
    // Raw bytes are now a malformed packet and go nowhere.
    EXPECT_EQ(Exchange({0x5A}), Bytes{});
    EXPECT_EQ(Exchange(Wrapped({0x5A})), Bytes{0x5A});
    EXPECT_EQ(Exchange(Wrapped(StdAddressFrame(0, 0, 0))).size(), 18u);

    const Bytes block = Wrapped(StdBlockFrame(4, BlockData(8)));
    EXPECT_EQ(block.size(), 517u + 10 * 8);
    EXPECT_EQ(Exchange(block), Bytes{0x05});
    EXPECT_EQ(Exchange(Wrapped(kProtect)).size(), 3u);
    // A mode frame between packets is taken again without harm.
    EXPECT_EQ(Exchange(kModeFrame), Bytes{});
    EXPECT_EQ(Exchange(Wrapped({0x00})), Bytes{0x00});
    EXPECT_EQ(m_radio->Record().packets, 1 + 1 + 10 + 1 + 1);
    EXPECT_EQ(m_radio->Record().badPackets, 1);
    EXPECT_TRUE(m_radio->Flash().Has(4));

    // Closing the port drops DTR and RTS: the cable is back to passing bytes as they are.
    m_radio->PortClosed();
    m_radio->PortOpened();
    EXPECT_FALSE(m_radio->CablePacketMode());
    EXPECT_EQ(Exchange({0x00}), Bytes{0x00});
}

TEST_F(CableAndLine, Qox50RejectsMalformedPackets)
{
    const Bytes good = Wrapped({0x00});
    const std::vector<Bytes> malformed = {
        {0x50, 0xAF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},        // no data
        Concat({0x50, 0xAF, 0x00, 0x00, 0x00, 0x00, 57, 0x00}, Bytes(57, 0x00)), // too much
        {0x50, 0xAE, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00},  // second byte
        {0x50, 0xAF, 0x00, 0x00, 0x00, 0x00, 0x01, 0x01, 0x00},  // eighth byte
        {0x51, 0xAE, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00},        // not the mode frame
    };
    for (const Bytes& bad : malformed) {
        SCOPED_TRACE(::testing::PrintToString(Bytes(bad.begin(), bad.begin() + 8)));
        Start(DIALECT_STANDARD, {}, RADIO_CABLE_QOX50);
        ASSERT_EQ(Exchange(kModeFrame), Bytes{});
        EXPECT_EQ(Exchange(bad), Bytes{});
        EXPECT_EQ(m_radio->Record().badPackets, 1);
        // Right after it, a good packet gets through.
        EXPECT_EQ(Exchange(good), Bytes{0x00});
        // A packet cut short by a pause is dropped too.
        m_radio->FromPc(Bytes(good.begin(), good.begin() + 5));
        Wait(150);
        EXPECT_EQ(m_radio->Record().badPackets, 2);
        EXPECT_EQ(Exchange(good), Bytes{0x00});
    }
}

TEST_F(CableAndLine, Qox70PassesNothingUntilSettled)
{
    RadioConfig config;
    config.cable = RADIO_CABLE_QOX70;
    config.settleMs = 100;
    Start(config);
    EXPECT_EQ(Exchange({0x00}, 100), Bytes{});
    EXPECT_EQ(Exchange({0x00}), Bytes{0x00});
    m_radio->PortClosed();
    m_radio->PortOpened();
    EXPECT_EQ(Exchange({0x00}), Bytes{});
    EXPECT_EQ(m_radio->Record().lostBytes, 2);
}

TEST_F(CableAndLine, PacingMakesBytesTakeTheirTimeOnTheLine)
{
    RadioConfig config;
    config.pace = true;
    config.latencyMs = 0;
    Start(config);
    // 9600 baud, 8 data bits, no parity, 2 stop bits: 11 bits, 1145 us a byte.
    m_radio->SetLineSettings(LineSettings{9600, 8, 'N', 2});
    m_radio->FromPc({0x00});
    m_clock.AdvanceUs(2 * 1145 - 1);
    EXPECT_EQ(m_radio->ToPc(), Bytes{});
    m_clock.AdvanceUs(1);
    EXPECT_EQ(m_radio->ToPc(), Bytes{0x00});
    ASSERT_EQ(Exchange({0x5A}), Bytes{0x5A});
    ASSERT_EQ(Exchange(StdAddressFrame(0, 0, 0)).size(), 18u);

    // A block frame arrives whole only after 517 byte times; its answer one more.
    m_radio->FromPc(StdBlockFrame(0, BlockData(1)));
    m_clock.AdvanceUs(518 * 1145 - 1);
    EXPECT_EQ(m_radio->ToPc(), Bytes{});
    m_clock.AdvanceUs(1);
    EXPECT_EQ(m_radio->ToPc(), Bytes{0x05});

    // --baud overrides the port's rate.
    RadioConfig fixed;
    fixed.pace = true;
    fixed.paceBaud = 1200;  // 10 bits at 8N1: 8333 us a byte
    fixed.latencyMs = 0;
    Start(fixed);
    m_radio->SetLineSettings(LineSettings{115200, 8, 'N', 1});
    m_radio->FromPc({0x00});
    m_clock.AdvanceUs(2 * 8333 - 1);
    EXPECT_EQ(m_radio->ToPc(), Bytes{});
    m_clock.AdvanceUs(1);
    EXPECT_EQ(m_radio->ToPc(), Bytes{0x00});
}

TEST_F(CableAndLine, AnotherCharacterFormatReachesNobody)
{
    for (const LineSettings& wrong : {LineSettings{57600, 7, 'N', 1}, LineSettings{57600, 8, 'E', 1}}) {
        Start(DIALECT_STANDARD);
        m_radio->SetLineSettings(wrong);
        EXPECT_EQ(Exchange({0x00}), Bytes{});
        EXPECT_EQ(m_radio->Record().lostBytes, 1);
        m_radio->SetLineSettings(LineSettings{57600, 8, 'N', 2});
        EXPECT_EQ(Exchange({0x00}), Bytes{0x00});
    }
}

TEST_F(CableAndLine, AClosedPortLosesWhatWasOnItsWay)
{
    RadioConfig config;
    config.latencyMs = 20;
    Start(config);
    m_radio->FromPc({0x00});
    m_radio->PortClosed();
    EXPECT_EQ(Wait(50), Bytes{});
    // The radio still heard the byte and follows the baud rate.
    m_radio->PortOpened();
    EXPECT_EQ(Exchange({0x5A}), Bytes{0x5A});
    EXPECT_EQ(m_radio->Record().portOpens, 2);
}

}  // namespace
