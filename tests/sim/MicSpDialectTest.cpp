// The radio's half of the MIC/SP dialect and the jack's line echo, in virtual time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "tests/sim/RadioFixture.h"

namespace {

class MicSpDialect : public RadioFixture {};

TEST_F(MicSpDialect, PromptsAfterPowerOnUntilAnswered)
{
    RadioConfig config;
    config.dialect = DIALECT_MIC_SP;
    config.powerOnMs = 300;
    config.promptIntervalMs = 100;
    Start(config);

    // Switched off, the radio says nothing, but the jack still echoes.
    EXPECT_EQ(Exchange({0xA0}, 290), Bytes{0xA0});
    EXPECT_EQ(Wait(10), Bytes{0x5A});
    EXPECT_EQ(Wait(200), (Bytes{0x5A, 0x5A}));
    // Answered: the echo of A0 comes back and the prompts stop.
    EXPECT_EQ(Exchange({0xA0}, 500), Bytes{0xA0});
    EXPECT_TRUE(m_radio->Record().promptAnswered);
    EXPECT_EQ(m_radio->Record().prompts, 3);
}

TEST_F(MicSpDialect, EchoesEveryByteBeforeItsAnswer)
{
    Start(DIALECT_MIC_SP);
    Wait(1);
    ASSERT_EQ(Exchange({0xA0}, 5), Bytes{0xA0});

    const Bytes address = MicAddressFrame(0x12, 0x34, 0x56);
    EXPECT_EQ(address, (Bytes{0x5C, 0x12, 0x34, 0x56, 0xF8}));
    EXPECT_EQ(Exchange(address), Concat(address, CodeAnswerMic(Code())));

    const Bytes block = MicBlockFrame(0x0003, BlockData(4));
    const std::uint8_t dataSum = static_cast<std::uint8_t>(TestSum(BlockData(4), 0, 512));
    EXPECT_EQ(Exchange(block), Concat(block, {0x06, dataSum}));
    // Filler after a failed frame is echoed and otherwise harmless.
    EXPECT_EQ(Exchange(Bytes(32, 0x00)), Bytes(32, 0x00));
    EXPECT_EQ(Exchange(MicBlockFrame(0, BlockData(5))).back(), static_cast<std::uint8_t>(TestSum(BlockData(5), 0, 512)));

    EXPECT_EQ(Exchange(kEndFrame), kEndFrame);
    EXPECT_TRUE(m_radio->Record().endFrame);
    // The radio has left its boot loader: only the jack answers now.
    EXPECT_EQ(Exchange(address), address);

    // Blocks land 0x40 blocks up.
    EXPECT_EQ(m_radio->Flash().Writes(), (std::vector<std::uint32_t>{0x43, 0x40}));
    const std::vector<std::uint8_t> image = m_radio->Flash().Image();
    ASSERT_EQ(image.size(), 0x44u * 512);
    EXPECT_EQ(Bytes(image.begin() + 0x43 * 512, image.end()), BlockData(4));
    EXPECT_TRUE(std::all_of(image.begin(), image.begin() + 0x40 * 512, [](std::uint8_t b) { return b == 0xFF; }));
}

TEST_F(MicSpDialect, BadFramesGetOnlyTheirEcho)
{
    Start(DIALECT_MIC_SP);
    MicReady();
    // Data without command bytes, so that the radio, hunting for the next frame in
    // the rest of a broken one, finds none.
    const Bytes plain(512, 0x11);
    Bytes wrongLength = MicBlockFrame(1, plain);
    wrongLength[2] = 0x04;
    Bytes wrongSum = MicBlockFrame(1, plain);
    wrongSum[517] ^= 1;
    Bytes wrongEnd = kEndFrame;
    wrongEnd[3] = 0x3A;
    for (const Bytes& frame : {wrongLength, wrongSum, wrongEnd, MicAddressFrame(0, 0, 1)}) {
        Bytes bad = frame;
        if (bad[0] == 0x5C)
            bad[4] ^= 1;
        EXPECT_EQ(Exchange(bad, 150), bad);
    }
    EXPECT_EQ(m_radio->Flash().BlockCount(), 0u);
    EXPECT_FALSE(m_radio->Record().endFrame);
    EXPECT_EQ(m_radio->Record().badFrames, 4);
    // And the radio still takes a good frame.
    EXPECT_EQ(Exchange(MicBlockFrame(1, BlockData(6))).size(), 518u + 2);
}

struct MicFaultCase {
    const char* fault;
    bool prompts;      // the radio prompts
    int noise;         // bytes before the first prompt
    Bytes blockAnswer; // to MIC block 0 after its echo; {0x06, 0xFF} stands for the right answer
    int echoFlipAt;    // byte of the block frame's echo that comes back inverted; -1: none
    int lostAt;        // byte of the block frame that the line loses; -1: none
};

class MicSpFaults : public RadioFixture, public ::testing::WithParamInterface<MicFaultCase> {};

TEST_P(MicSpFaults, StrikeAsAsked)
{
    const MicFaultCase& c = GetParam();
    Start(DIALECT_MIC_SP, {c.fault});
    const Bytes first = Wait(1);
    if (!c.prompts) {
        EXPECT_EQ(Wait(500), Bytes{});
        return;
    }
    ASSERT_EQ(first.size(), static_cast<std::size_t>(c.noise) + 1);
    EXPECT_EQ(first.back(), 0x5A);
    EXPECT_EQ(std::count(first.begin(), first.end(), 0x5A), 1);
    ASSERT_EQ(Exchange({0xA0}, 5), Bytes{0xA0});
    // Line faults count bytes from here on.
    ASSERT_EQ(Exchange(MicAddressFrame(0, 0, 0)).size(), 22u);

    const Bytes data = BlockData(7);
    const Bytes frame = MicBlockFrame(0, data);
    const Bytes got = Exchange(frame, 150);
    Bytes echo = frame;
    if (c.lostAt >= 0)
        echo.erase(echo.begin() + c.lostAt);
    if (c.echoFlipAt >= 0)
        echo[static_cast<std::size_t>(c.echoFlipAt)] ^= 0xFF;
    Bytes answer = c.blockAnswer;
    if (answer == Bytes{0x06, 0xFF})
        answer[1] = static_cast<std::uint8_t>(TestSum(data, 0, 512));
    else if (answer.size() == 2 && answer[1] == 0xFE)
        answer[1] = static_cast<std::uint8_t>(TestSum(data, 0, 512) + (answer[0] == 0x06 ? 1 : 0));
    EXPECT_EQ(got, Concat(echo, answer));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, MicSpFaults,
    ::testing::Values(MicFaultCase{"no-prompt", false, 0, {}, -1, -1},
                      MicFaultCase{"silent", false, 0, {}, -1, -1},
                      MicFaultCase{"noise=40", true, 40, {0x06, 0xFF}, -1, -1},
                      MicFaultCase{"answer-sum", true, 0, {0x06, 0xFE}, -1, -1},
                      MicFaultCase{"block-silent@0", true, 0, {}, -1, -1},
                      MicFaultCase{"block-nak=0x07", true, 0, {0x07, 0xFE}, -1, -1},
                      // The line counts from the first byte after the cable: A0, then 5
                      // bytes of the address frame; byte 10 is the block frame's fourth.
                      MicFaultCase{"garble-echo=10", true, 0, {0x06, 0xFF}, 3, -1},
                      MicFaultCase{"drop=300", true, 0, {}, -1, 300 - 7}),
    [](const ::testing::TestParamInfo<MicFaultCase>& info) {
        std::string name;
        for (const char* p = info.param.fault; *p != '\0'; ++p)
            name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return name;
    });

}  // namespace
