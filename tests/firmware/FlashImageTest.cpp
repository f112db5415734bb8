#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "firmware/DebugOutput.h"
#include "firmware/FWFileInfo.h"
#include "testsupport/Packer.h"

using packer::Bytes;
using packer::HexRecord;

namespace {

Bytes Ramp(std::size_t count, std::uint8_t first)
{
    Bytes data(count);
    for (std::size_t i = 0; i < count; ++i)
        data[i] = static_cast<std::uint8_t>(first + i);
    return data;
}

// Packs, loads and builds; the load must succeed.
FWFileInfo Build(const packer::PackInput& input)
{
    FWFileInfo info;
    EXPECT_EQ(info.LoadFileFromBytes(packer::PackZul(input)), 0);
    info.BuildFlashImage();
    return info;
}

std::vector<int> Numbers(const std::vector<FlashBlock>& blocks)
{
    std::vector<int> numbers;
    for (const FlashBlock& block : blocks)
        numbers.push_back(block.number);
    return numbers;
}

std::vector<std::string> g_debugLines;

}  // namespace

TEST(FlashImage, FirmDataBlocksInFirstTouchOrder)
{
    const struct {
        const char* name;
        std::vector<HexRecord> records;
        std::vector<int> blocks;
    } cases[] = {
        {"no records", {}, {}},
        {"two records in one block", {{0, 0x0010, Ramp(16, 1)}, {0, 0x0100, Ramp(16, 1)}}, {0}},
        {"crossing a block boundary", {{0, 0x01F8, Ramp(16, 1)}}, {0, 1}},
        {"first touch decides the order", {{0, 0x0A00, Ramp(16, 1)}, {0, 0x0400, Ramp(16, 1)}, {0, 0x0A10, Ramp(4, 1)}},
         {5, 2}},
        {"segment base", {{2, 0, {0x10, 0x00}}, {0, 0x0200, Ramp(16, 1)}}, {0x81}},
        {"records after the end record", {{0, 0, Ramp(4, 1)}, {1, 0, {}}, {0, 0x0800, Ramp(4, 1)}}, {0}},
        {"extended linear address is ignored", {{4, 0, {0x00, 0x01}}, {0, 0x0200, Ramp(16, 1)}}, {1}},
        {"empty record on a boundary registers the block before", {{0, 0x0400, {}}}, {2, 1}},
        {"empty record at address 0", {{0, 0, {}}}, {0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        packer::PackInput input;
        input.firmRecords = c.records;
        const FWFileInfo info = Build(input);
        EXPECT_EQ(Numbers(info.blocks), c.blocks);
    }
}

TEST(FlashImage, BlocksHoldTheImageWithUnwrittenBytesErased)
{
    packer::PackInput input;
    input.firmRecords = {{2, 0, {0x10, 0x00}}, {0, 0x0200, Ramp(16, 0x40)}, {0, 0x03F8, Ramp(16, 0x80)}};
    const FWFileInfo info = Build(input);
    ASSERT_EQ(Numbers(info.blocks), (std::vector<int>{0x81, 0x82}));
    Bytes expected0(512, 0xFF), expected1(512, 0xFF);
    std::copy_n(Ramp(16, 0x40).begin(), 16, expected0.begin());
    std::copy_n(Ramp(16, 0x80).begin(), 8, expected0.begin() + 0x1F8);
    std::copy_n(Ramp(16, 0x88).begin(), 8, expected1.begin());
    EXPECT_EQ(Bytes(info.blocks[0].data.begin(), info.blocks[0].data.end()), expected0);
    EXPECT_EQ(Bytes(info.blocks[1].data.begin(), info.blocks[1].data.end()), expected1);
}

TEST(FlashImage, CeDataPacksSixteenBytesPerRecord)
{
    const struct {
        std::size_t records;
        std::vector<int> blocks;
    } cases[] = {{0, {}}, {32, {0x400}}, {33, {0x400, 0x401}}, {1, {0x400}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.records);
        packer::PackInput input;
        input.firmRecords = {{0, 0, Ramp(16, 1)}};
        input.ceStartBlock = 0x400;
        for (std::size_t i = 0; i < c.records; ++i) {
            // Records longer than 16 bytes contribute their first 16.
            input.ceRecords.push_back(Ramp(i % 2 ? 16 : 20, static_cast<std::uint8_t>(i * 16)));
        }
        const FWFileInfo info = Build(input);
        std::vector<int> expected = {0};
        expected.insert(expected.end(), c.blocks.begin(), c.blocks.end());
        ASSERT_EQ(Numbers(info.blocks), expected);
        for (std::size_t i = 0; i < c.records; ++i) {
            const FlashBlock& block = info.blocks[1 + i / 32];
            EXPECT_EQ(Bytes(block.data.begin() + (i % 32) * 16, block.data.begin() + (i % 32) * 16 + 16),
                      Ramp(16, static_cast<std::uint8_t>(i * 16)));
        }
        if (c.records % 32 != 0) {
            const FlashBlock& last = info.blocks.back();
            const std::size_t fill = (c.records % 32) * 16;
            EXPECT_EQ(last.data[fill], 0xFF);
            EXPECT_EQ(Bytes(last.data.begin() + fill + 1, last.data.end()), Bytes(511 - fill, 0x00));
        }
    }
}

TEST(FlashImage, ExpectedChecksumReadsLikeStrtolBase16)
{
    const struct {
        const char* text;
        std::uint16_t value;
    } cases[] = {
        {"1A2B", 0x1A2B}, {"1a2b", 0x1A2B}, {"11A2B", 0x1A2B}, {"", 0}, {"XYZ", 0},
        {"  0x1A2B", 0x1A2B}, {"+12", 0x12}, {"-1", 0xFFFF}, {"12G4", 0x12}, {"0x", 0},
        {"0xG1", 0}, {"7FFFFFFFFF", 0xFFFF}, {"-FFFFFFFFFF", 0x0000}, {"-80000000", 0x0000},
        {"FFFFFFFF", 0xFFFF}, {"\t1A2B ", 0x1A2B},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChecksumTextToValue(c.text), c.value) << "'" << c.text << "'";

    packer::PackInput input;
    input.header.checkSum = "1A2B";
    input.header.productAddress = "0A1B2C";
    const FWFileInfo info = Build(input);
    EXPECT_EQ(info.flashHeader.expectedChecksum, 0x1A2B);
    EXPECT_EQ(info.flashHeader.productAddress, (std::array<std::uint8_t, 3>{0x0A, 0x1B, 0x2C}));
    EXPECT_STREQ(info.flashHeader.productCode.data(), "TQ615/TQ616 2011");
}

TEST(FlashImage, BlockCountGoesToTheDebugSink)
{
    packer::PackInput input;
    input.firmRecords = {{0, 0x01F8, Ramp(16, 1)}};
    input.ceStartBlock = 0x10;
    input.ceRecords.assign(40, Ramp(16, 1));
    const std::string text = packer::PackZul(input);
    g_debugLines.clear();
    SetFirmwareDebugSink([](const char* line) { g_debugLines.push_back(line); });
    FWFileInfo info;
    ASSERT_EQ(info.LoadFileFromBytes(text), 0);
    info.BuildFlashImage();
    SetFirmwareDebugSink(nullptr);
    info.BuildFlashImage();  // no sink: nothing goes anywhere
    EXPECT_EQ(g_debugLines, (std::vector<std::string>{"Vec = 2\n", "Vec = 4\n"}));
}

TEST(FlashImage, ChecksumOfTheBlocksMatchesThePackedFile)
{
    const packer::PackInput sample = packer::SampleFirmware();
    const FWFileInfo info = Build(sample);
    const packer::PackedFlash flash = packer::LayOut(sample);
    EXPECT_EQ(info.blocks.size(), flash.firmBlocks.size() + flash.ceBlocks.size());
    EXPECT_EQ(BlocksChecksum(info.blocks), packer::BlocksSum(flash));
    EXPECT_EQ(BlocksChecksum(info.blocks), info.flashHeader.expectedChecksum);
}

TEST(FlashImage, RecordsThatDoNotFitAreLeftOutWhenBuiltDirectly)
{
    // Filled in by hand, past the checks of LoadFile: the builder must stay inside its
    // buffers and skip what does not fit.
    FWFileInfo info;
    info.firmRecords = {
        {0x10, 0x00, 0x00, 0x00, 1, 2},                     // shorter than its count
        {0x02, 0x00, 0x00, 0x02, 0xFF, 0xFF, 0x00},         // base far beyond the flash
        {0x04, 0x00, 0x00, 0x00, 1, 2, 3, 4, 0x00},         // lands past the flash
        {0x02, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00},         // base back to 0
        {0x02, 0x00, 0x10, 0x00, 0xAB, 0xCD, 0x00},         // fits
        {0x1D, 0x00, 0x00, 0x02, 0xFF},                     // type 2 shorter than its count
    };
    info.ceRecords = {{0x00, 0x05, 0x00, 0x00}, ByteString(15, 1), ByteString(16, 2)};
    EXPECT_EQ(info.DecodeRecords(), -2);
    info.BuildFlashImage();
    ASSERT_EQ(Numbers(info.blocks), (std::vector<int>{0, 5}));
    EXPECT_EQ(info.blocks[0].data[0x10], 0xAB);
    EXPECT_EQ(info.blocks[1].data[0], 2);
    EXPECT_EQ(info.blocks[1].data[16], 0xFF);

    info.ceRecords = {{0x05}};  // a CEData header too short to name a block
    info.BuildFlashImage();
    EXPECT_EQ(Numbers(info.blocks), (std::vector<int>{0}));
}
