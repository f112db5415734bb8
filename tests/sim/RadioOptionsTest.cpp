// zul-radio's command line and the fault notation.
#include <gtest/gtest.h>

#include "sim/RadioOptions.h"

namespace {

RadioOptions Parse(const std::vector<std::string>& args)
{
    RadioOptions options;
    std::string error;
    EXPECT_TRUE(ParseRadioOptions(args, options, error)) << error;
    return options;
}

TEST(RadioOptions, DefaultsDependOnDialectAndCable)
{
    const RadioOptions standard = Parse({});
    EXPECT_EQ(standard.config.dialect, DIALECT_STANDARD);
    EXPECT_EQ(standard.config.cable, RADIO_CABLE_PLAIN);
    EXPECT_EQ(standard.config.powerOnMs, 0);
    EXPECT_FALSE(standard.config.checkAddress);
    EXPECT_FALSE(standard.config.pace);

    const RadioOptions mic = Parse({"--dialect", "mic", "--cable", "qox70"});
    EXPECT_EQ(mic.config.powerOnMs, 1000);
    EXPECT_EQ(mic.config.settleMs, 100);
    // Given values win over the defaults.
    const RadioOptions given = Parse({"--settle-ms", "0", "--cable", "qox70", "--power-on-ms", "5",
                                      "--dialect", "mic"});
    EXPECT_EQ(given.config.settleMs, 0);
    EXPECT_EQ(given.config.powerOnMs, 5);
}

TEST(RadioOptions, ReadsEveryFlag)
{
    const RadioOptions o = Parse({"--dialect", "standard", "--cable", "qox50", "--code",
                                  "00112233-44556677-8899AABB-CCDDEEFF", "--address", "12 34 56",
                                  "--prompt-ms", "50", "--latency-ms", "3", "--frame-gap-ms", "40",
                                  "--baud", "57600", "--fault", "code-bad-sum*2", "--fault",
                                  "block-nak=0x06@0x10-0x12,0x20*3", "--link", "/tmp/com5", "--flash",
                                  "out.bin", "--idle-ms", "700", "--end-idle-ms", "0", "--wait-ms",
                                  "9000", "-v"});
    EXPECT_EQ(o.config.cable, RADIO_CABLE_QOX50);
    EXPECT_EQ(o.config.productCode[0], 0x00);
    EXPECT_EQ(o.config.productCode[15], 0xFF);
    EXPECT_TRUE(o.config.checkAddress);
    EXPECT_EQ(o.config.productAddress[2], 0x56);
    EXPECT_EQ(o.config.promptIntervalMs, 50);
    EXPECT_EQ(o.config.latencyMs, 3);
    EXPECT_EQ(o.config.frameGapMs, 40);
    EXPECT_TRUE(o.config.pace);
    EXPECT_EQ(o.config.paceBaud, 57600u);
    EXPECT_EQ(o.linkPath, "/tmp/com5");
    EXPECT_EQ(o.flashPath, "out.bin");
    EXPECT_EQ(o.idleMs, 700);
    EXPECT_EQ(o.endIdleMs, 0);
    EXPECT_EQ(o.waitMs, 9000);
    EXPECT_TRUE(o.verbose);

    const RadioFault* nak = o.config.faults.Find(FAULT_BLOCK_NAK);
    ASSERT_NE(nak, nullptr);
    EXPECT_EQ(nak->value, 6);
    EXPECT_EQ(nak->times, 3);
    EXPECT_EQ(nak->blocks, (std::vector<std::pair<std::uint16_t, std::uint16_t>>{{0x10, 0x12}, {0x20, 0x20}}));
    EXPECT_EQ(o.config.faults.Find(FAULT_CODE_BAD_SUM)->times, 2);
    EXPECT_TRUE(Parse({"--help"}).help);
}

TEST(RadioOptions, RefusesWhatItCannotUse)
{
    const std::vector<std::vector<std::string>> bad = {
        {"--dialect", "option"},
        {"--cable"},
        {"--code", "0011"},
        {"--code", "zz112233445566778899aabbccddeeff"},
        {"--address", "1234567"},
        {"--latency-ms", "-1"},
        {"--prompt-ms", "0"},
        {"--baud", "fast"},
        {"--fault", "loud"},
        {"--fault", "silent=3"},
        {"--fault", "code-ff@1"},
        {"--fault", "block-nak=0x100"},
        {"--fault", "other-code=17"},
        {"--fault", "drop=0"},
        {"--fault", "block-silent@5-2"},
        {"--fault", "block-silent*0"},
        {"--fault", "block-silent@"},
        {"--frobnicate"},
    };
    for (const auto& args : bad) {
        RadioOptions options;
        std::string error;
        EXPECT_FALSE(ParseRadioOptions(args, options, error)) << ::testing::PrintToString(args);
        EXPECT_FALSE(error.empty());
    }
}

TEST(RadioOptions, FaultTimesCountPerBlockForBlockFaults)
{
    RadioFaults faults;
    std::string error;
    ASSERT_TRUE(faults.Add("block-silent@1-2*2", error)) << error;
    ASSERT_TRUE(faults.Add("code-bad-sum*1", error)) << error;
    for (std::uint16_t block : {1, 2}) {
        EXPECT_NE(faults.StrikeBlock(FAULT_BLOCK_SILENT, block), nullptr);
        EXPECT_NE(faults.StrikeBlock(FAULT_BLOCK_SILENT, block), nullptr);
        EXPECT_EQ(faults.StrikeBlock(FAULT_BLOCK_SILENT, block), nullptr);
    }
    EXPECT_EQ(faults.StrikeBlock(FAULT_BLOCK_SILENT, 3), nullptr);
    EXPECT_NE(faults.Strike(FAULT_CODE_BAD_SUM), nullptr);
    EXPECT_EQ(faults.Strike(FAULT_CODE_BAD_SUM), nullptr);
}

TEST(RadioOptions, HelpNamesEveryFlagAndFault)
{
    const std::string usage = RadioUsage();
    for (const char* word : {"--dialect", "--cable", "--code", "--address", "--power-on-ms", "--prompt-ms",
                             "--latency-ms", "--frame-gap-ms", "--settle-ms", "--pace", "--baud", "--fault",
                             "--link", "--flash", "--idle-ms", "--end-idle-ms", "--wait-ms", "--verbose",
                             "SIGTERM"})
        EXPECT_NE(usage.find(word), std::string::npos) << word;
    for (const auto& d : RadioFaults::Descriptions())
        EXPECT_NE(usage.find(d.name), std::string::npos) << d.name;
}

}  // namespace
