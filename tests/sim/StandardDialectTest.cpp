// The radio's half of the standard dialect, driven in virtual time with frames
// built by hand.
#include <gtest/gtest.h>

#include <cctype>

#include "tests/sim/RadioFixture.h"

namespace {

class StandardDialect : public RadioFixture {};

TEST_F(StandardDialect, FollowsTheBaudRateThenAnswersTheProductCode)
{
    Start(DIALECT_STANDARD);
    // Nothing but the sync byte starts the handshake.
    EXPECT_EQ(Exchange({0x5A, 0x5C, 0x12}), Bytes{});
    EXPECT_EQ(Exchange({0x00}), Bytes{0x00});
    EXPECT_EQ(Exchange({0x00}), Bytes{0x00});
    EXPECT_EQ(Exchange({0x5A}), Bytes{0x5A});

    const Bytes frame = StdAddressFrame(0x12, 0x34, 0x56);
    EXPECT_EQ(frame, (Bytes{0x5C, 0x12, 0x34, 0x56, 0x00, 0x9C}));
    EXPECT_EQ(Exchange(frame), CodeAnswerStd(Code()));
    EXPECT_EQ(m_radio->Record().codeAnswers, 1);
    // Between frames the handshake is still answered, so a PC may synchronise again.
    EXPECT_EQ(Exchange({0x00}), Bytes{0x00});
    EXPECT_EQ(Exchange({0x5A}), Bytes{0x5A});
}

TEST_F(StandardDialect, StoresAcknowledgedBlocksAndConfirmsTheirSums)
{
    Start(DIALECT_STANDARD);
    StdReady();
    const Bytes first = StdBlockFrame(0x0002, BlockData(1));
    const Bytes second = StdBlockFrame(0x0000, BlockData(9));

    EXPECT_EQ(Exchange(first), Bytes{0x05});
    const std::uint16_t s1 = StdBlockSum(first);
    EXPECT_EQ(Exchange(kProtect), (Bytes{0x05, static_cast<std::uint8_t>(s1 >> 8), static_cast<std::uint8_t>(s1)}));
    // A lost protect answer is asked for again and given again.
    EXPECT_EQ(Exchange(kProtect).size(), 3u);
    EXPECT_EQ(Exchange(second), Bytes{0x05});
    const std::uint16_t s2 = StdBlockSum(second);
    EXPECT_EQ(Exchange(kProtect), (Bytes{0x05, static_cast<std::uint8_t>(s2 >> 8), static_cast<std::uint8_t>(s2)}));

    const std::vector<std::uint8_t> image = m_radio->Flash().Image();
    ASSERT_EQ(image.size(), 3u * 512);
    EXPECT_EQ(Bytes(image.begin(), image.begin() + 512), BlockData(9));
    EXPECT_EQ(Bytes(image.begin() + 512, image.begin() + 1024), Bytes(512, 0xFF));
    EXPECT_EQ(Bytes(image.begin() + 1024, image.end()), BlockData(1));
    EXPECT_EQ(m_radio->Flash().DataSum(),
              static_cast<std::uint16_t>(TestSum(BlockData(1), 0, 512) + TestSum(BlockData(9), 0, 512)));
    EXPECT_EQ(m_radio->Record().protects, 3);
}

TEST_F(StandardDialect, IgnoresWhatIsNotAValidFrame)
{
    RadioConfig config;
    config.productAddress = {0x12, 0x34, 0x56};
    config.checkAddress = true;
    Start(config);
    ASSERT_EQ(Exchange({0x00}), Bytes{0x00});
    ASSERT_EQ(Exchange({0x5A}), Bytes{0x5A});

    // Blocks count only after the product check.
    EXPECT_EQ(Exchange(StdBlockFrame(0, BlockData(1))), Bytes{});
    Bytes badSum = StdAddressFrame(0x12, 0x34, 0x56);
    badSum[5] ^= 1;
    EXPECT_EQ(Exchange(badSum), Bytes{});
    EXPECT_EQ(Exchange(StdAddressFrame(0x12, 0x34, 0x57)), Bytes{});
    EXPECT_EQ(m_radio->Record().wrongAddresses, 1);
    EXPECT_EQ(Exchange(StdAddressFrame(0x12, 0x34, 0x56)).size(), 18u);

    // Nothing to protect yet: refused.
    EXPECT_EQ(Exchange(kProtect), (Bytes{0x15, 0x00, 0x00}));
    Bytes block = StdBlockFrame(1, BlockData(2));
    block[100] ^= 0x40;
    EXPECT_EQ(Exchange(block), Bytes{});
    // A frame cut short by a pause is thrown away; the next one is taken whole.
    const Bytes good = StdBlockFrame(1, BlockData(2));
    m_radio->FromPc(Bytes(good.begin(), good.begin() + 200));
    Wait(150);
    EXPECT_EQ(Exchange(good), Bytes{0x05});
    EXPECT_EQ(m_radio->Flash().Writes(), std::vector<std::uint32_t>{1});
    EXPECT_EQ(m_radio->Record().badFrames, 4);
}

struct StdFaultCase {
    const char* fault;
    // Handshake answers, then what the first and the second product code answers are
    // (relative to the right code), then the answers to block 0 (twice) and its protect.
    Bytes sync;
    Bytes confirm;
    int codeChange;     // -1: no answer; 0: right; 1: wrong sum; 2: other code; 3: all FF; 4: last byte
    int secondCode;
    Bytes blockAnswers; // first and second try of block 0
    int protect;        // -1: none; 0: right; 1: first byte 15; 2: sum + 1; 3: refused
};

class StandardFaults : public RadioFixture, public ::testing::WithParamInterface<StdFaultCase> {};

TEST_P(StandardFaults, StrikeWhereAndAsOftenAsAsked)
{
    const StdFaultCase& c = GetParam();
    Start(DIALECT_STANDARD, {c.fault});
    EXPECT_EQ(Exchange({0x00}), c.sync);
    EXPECT_EQ(Exchange({0x5A}), c.confirm);
    if (c.sync.empty() || c.confirm.empty())
        return;

    auto expectedCode = [&](int change) {
        Bytes code = Code();
        switch (change) {
        case -1: return Bytes{};
        case 1: return CodeAnswerStd(code, 1);
        case 2: code[0] ^= 0xFF; break;
        case 3: code.assign(16, 0xFF); break;
        case 4: code[15] ^= 0xFF; break;
        default: break;
        }
        return CodeAnswerStd(code);
    };
    EXPECT_EQ(Exchange(StdAddressFrame(0, 0, 0)), expectedCode(c.codeChange));
    EXPECT_EQ(Exchange(StdAddressFrame(0, 0, 0)), expectedCode(c.secondCode));

    const Bytes block = StdBlockFrame(0, BlockData(3));
    Bytes answers = Exchange(block);
    answers = Concat(answers, Exchange(block));
    EXPECT_EQ(answers, c.blockAnswers);
    const std::uint16_t s = StdBlockSum(block);
    Bytes protect;
    if (c.protect == 0)
        protect = {0x05, static_cast<std::uint8_t>(s >> 8), static_cast<std::uint8_t>(s)};
    else if (c.protect == 1)
        protect = {0x15, static_cast<std::uint8_t>(s >> 8), static_cast<std::uint8_t>(s)};
    else if (c.protect == 2)
        protect = {0x05, static_cast<std::uint8_t>((s + 1) >> 8), static_cast<std::uint8_t>(s + 1)};
    else if (c.protect == 3)
        protect = {0x15, 0x00, 0x00};
    EXPECT_EQ(Exchange(kProtect), protect);
}

const Bytes kAck = {0x05};
const Bytes kTwoAcks = {0x05, 0x05};

INSTANTIATE_TEST_SUITE_P(
    Faults, StandardFaults,
    ::testing::Values(
        StdFaultCase{"silent", {}, {}, -1, -1, {}, -1},
        StdFaultCase{"no-sync-echo", {}, {}, -1, -1, {}, -1},
        StdFaultCase{"no-confirm-echo", {0x00}, {}, -1, -1, {}, -1},
        StdFaultCase{"code-bad-sum*1", {0x00}, {0x5A}, 1, 0, kTwoAcks, 0},
        StdFaultCase{"code-bad-sum", {0x00}, {0x5A}, 1, 1, kTwoAcks, 0},
        StdFaultCase{"other-code", {0x00}, {0x5A}, 2, 2, kTwoAcks, 0},
        StdFaultCase{"other-code=16*1", {0x00}, {0x5A}, 4, 0, kTwoAcks, 0},
        StdFaultCase{"code-ff", {0x00}, {0x5A}, 3, 3, kTwoAcks, 0},
        StdFaultCase{"block-nak=0x15*1", {0x00}, {0x5A}, 0, 0, {0x15, 0x05}, 0},
        StdFaultCase{"block-nak@1", {0x00}, {0x5A}, 0, 0, kTwoAcks, 0},
        StdFaultCase{"block-silent@0-2*1", {0x00}, {0x5A}, 0, 0, kAck, 0},
        StdFaultCase{"block-silent", {0x00}, {0x5A}, 0, 0, {}, 3},
        StdFaultCase{"protect-silent", {0x00}, {0x5A}, 0, 0, kTwoAcks, -1},
        StdFaultCase{"protect-nak", {0x00}, {0x5A}, 0, 0, kTwoAcks, 1},
        StdFaultCase{"protect-sum@0", {0x00}, {0x5A}, 0, 0, kTwoAcks, 2},
        StdFaultCase{"protect-sum@5", {0x00}, {0x5A}, 0, 0, kTwoAcks, 0}),
    [](const ::testing::TestParamInfo<StdFaultCase>& info) {
        std::string name;
        for (const char* p = info.param.fault; *p != '\0'; ++p)
            name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return name;
    });

TEST_F(StandardDialect, FaultedBlocksAreNotStored)
{
    Start(DIALECT_STANDARD, {"block-nak@1*2"});
    StdReady();
    const Bytes frame = StdBlockFrame(1, BlockData(5));
    EXPECT_EQ(Exchange(frame), Bytes{0x15});
    EXPECT_EQ(Exchange(frame), Bytes{0x15});
    EXPECT_FALSE(m_radio->Flash().Has(1));
    EXPECT_EQ(Exchange(frame), Bytes{0x05});
    EXPECT_TRUE(m_radio->Flash().Has(1));
}

}  // namespace
