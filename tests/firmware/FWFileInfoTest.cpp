#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "firmware/FWFileInfo.h"
#include "testsupport/Packer.h"
#include "tests/support/TempDir.h"

using packer::Bytes;
using packer::HexRecord;

namespace {

const char HEADER7[] = "NAME\nVER\n1A2B\nfile.zul\nCHIP\nTQ615/TQ616 2011\n0A1B2C\n";

// One 16-byte data record at the given address, as a FirmData line.
std::string DataLine(std::uint16_t address, packer::KeyChoice key = {0x35, 3})
{
    Bytes data(16);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<std::uint8_t>(address + i * 7);
    return packer::FirmLine({0, address, data}, key);
}

std::string Text(const std::array<char, 17>& code)
{
    return std::string(code.data(), code.size());
}

}  // namespace

TEST(FWFileInfo, HexPairArithmetic)
{
    const struct {
        char high, low;
        std::uint8_t expected;
    } cases[] = {
        {'0', '0', 0x00}, {'0', 'A', 0x0A}, {'F', 'F', 0xFF}, {'9', '9', 0x99},
        {'a', '0', 0xA0},  // 'a' is 0x2A; its high bits fall off
        {'0', 'a', 0x2A},  // the low digit is not masked
        {'1', '\0', 0xD0}, // a NUL is -48
        {'G', '0', 0x00},  {'0', 'G', 0x10}, {' ', '0', 0x00},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FWFileInfo::HexPairToByte(c.high, c.low), c.expected)
            << "'" << c.high << "' '" << c.low << "'";
    }
}

TEST(FWFileInfo, UnscrambleAddsOddKeysAndSubtractsEvenKeys)
{
    // Data 10 20, sum 0030. Odd key 03 at index 0: bytes stored less 3. Even key 04 at
    // index 2: bytes stored less (256 - 4), that is plus 4.
    const struct {
        Bytes scrambled;
        bool ok;
    } cases[] = {
        {{0x03, 0x0D, 0x1D, 0x00, 0x00, 0x30}, true},
        {{0x14, 0x24, 0x04, 0x02, 0x00, 0x30}, true},
        {{0x14, 0x24, 0x04, 0x03, 0x00, 0x30}, false},  // key position beyond the data
        {{0x14, 0x24, 0x04, 0x02, 0x01, 0x30}, false},  // wrong 16-bit sum
    };
    for (const auto& c : cases) {
        ByteString data;
        EXPECT_EQ(FWFileInfo::UnscrambleRecord(c.scrambled.data(), c.scrambled.size(), data), c.ok);
        if (c.ok) {
            EXPECT_EQ(data, (ByteString{0x10, 0x20}));
        }
    }
    // Every key value and position round-trips through the packer.
    const Bytes data = {0x10, 0x02, 0x00, 0x00, 0xFF, 0x80, 0x00, 0x7F};
    for (int key = 0; key < 256; key += 5) {
        for (std::size_t position = 0; position <= data.size(); ++position) {
            const Bytes scrambled =
                packer::ScrambleRecord(data, {static_cast<std::uint8_t>(key), position});
            ByteString out;
            ASSERT_TRUE(FWFileInfo::UnscrambleRecord(scrambled.data(), scrambled.size(), out))
                << key << " " << position;
            EXPECT_EQ(out, data);
        }
    }
}

TEST(FWFileInfo, HeaderLinesAndSections)
{
    const std::string firm = DataLine(0x200);
    const struct {
        const char* name;
        std::string text;
        int loadFile;
        int loadHeader;
        std::string other1, other2;
        std::size_t firmRecords, ceRecords;
    } cases[] = {
        {"seven lines", std::string(HEADER7) + "[FirmData]\n" + firm + "\n", 0, 0, "", "", 1, 0},
        {"eight lines", std::string(HEADER7) + "O1\n[FirmData]\n" + firm, 0, 0, "O1", "", 1, 0},
        {"nine lines", std::string(HEADER7) + "O1\nO2\n[CEData]\n04000000\n", 0, 0, "O1", "O2", 0, 1},
        {"blank lines and CR LF",
         "\r\nNAME\r\n\r\nVER\n1A2B\n\nfile.zul\nCHIP\nTQ615/TQ616 2011\n0A1B2C\n\n\nO1\n[FirmData]\r\n\r\n" +
             firm + "\r\n\r\n",
         0, 0, "O1", "", 1, 0},
        {"tenth line", std::string(HEADER7) + "O1\nO2\nO3\n[FirmData]\n", -2, 0, "O1", "O2", 0, 0},
        {"CEData right after the header", std::string(HEADER7) + "[CEData]\n04000000\n", 0, 0, "", "", 0, 1},
        {"section header that is not whole", std::string(HEADER7) + "[FirmData] \n[CEData]\n", 0, 0,
         "[FirmData] ", "", 0, 0},
        {"second FirmData header is a data line",
         std::string(HEADER7) + "[FirmData]\n" + firm + "\n[FirmData]\n", -2, 0, "", "", 1, 0},
        {"header only", HEADER7, 0, 0, "", "", 0, 0},
        {"empty file", "", 0, 0, "", "", 0, 0},
        {"last line without line end", std::string(HEADER7) + "[FirmData]\n" + firm, 0, 0, "", "", 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FWFileInfo info;
        EXPECT_EQ(info.LoadFileFromBytes(c.text), c.loadFile);
        EXPECT_EQ(info.other1, c.other1);
        EXPECT_EQ(info.other2, c.other2);
        EXPECT_EQ(info.firmRecords.size(), c.firmRecords);
        EXPECT_EQ(info.ceRecords.size(), c.ceRecords);

        FWFileInfo header;
        EXPECT_EQ(header.LoadHeaderFromBytes(c.text), c.loadHeader);
        EXPECT_EQ(header.other1, c.other1);
        EXPECT_EQ(header.other2, c.other2);
        EXPECT_TRUE(header.firmLines.empty() && header.ceLines.empty());
        if (!c.text.empty()) {
            EXPECT_EQ(header.productName, "NAME");
            EXPECT_EQ(header.checkSum, "1A2B");
            EXPECT_EQ(Text(header.productCode), std::string("TQ615/TQ616 2011\0", 17));
        }
    }
}

TEST(FWFileInfo, SectionHeadersInTheFirstSevenLinesAreFields)
{
    FWFileInfo info;
    ASSERT_EQ(info.LoadFileFromBytes("[FirmData]\n[CEData]\n3\n4\n5\n6\n7\n[CEData]\n00010000\n"), 0);
    EXPECT_EQ(info.productName, "[FirmData]");
    EXPECT_EQ(info.firmVersion, "[CEData]");
    EXPECT_EQ(info.ceRecords, (std::vector<ByteString>{{0x00, 0x01, 0x00, 0x00}}));
}

TEST(FWFileInfo, ProductCodeAndAddress)
{
    const struct {
        std::string line6, line7;
        std::string code;  // 17 bytes
        std::array<std::uint8_t, 3> address;
    } cases[] = {
        {"TQ615/TQ616 2011", "0A1B2C", std::string("TQ615/TQ616 2011\0", 17), {0x0A, 0x1B, 0x2C}},
        {"TQ615/TQ616 2011 EXTRA", "0a1b2c", std::string("TQ615/TQ616 2011\0", 17), {0x2A, 0x3B, 0x2C}},
        {"SHORT", "0A1B2C3D", std::string("SHORT\0\0\0\0\0\0\0\0\0\0\0\0", 17), {0x0A, 0x1B, 0x2C}},
        {"X", "0A1", std::string("X\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 17), {0x0A, 0xD0, 0xD0}},  // "1", NUL; NUL, NUL
    };
    for (const auto& c : cases) {
        FWFileInfo info;
        ASSERT_EQ(info.LoadFileFromBytes("N\nV\nC\nF\nCH\n" + c.line6 + "\n" + c.line7 + "\n"), 0);
        EXPECT_EQ(Text(info.productCode), c.code) << c.line6;
        EXPECT_EQ(info.productAddress, c.address) << c.line7;
        EXPECT_EQ(std::string(info.productCodeText.data()), c.line6);
    }
}

TEST(FWFileInfo, EveryChangedDigitOfARecordIsCaught)
{
    for (packer::KeyChoice key : {packer::KeyChoice{0x35, 0}, packer::KeyChoice{0x64, 20}}) {
        const std::string line = DataLine(0x1F8, key);
        FWFileInfo good;
        ASSERT_EQ(good.LoadFileFromBytes(std::string(HEADER7) + "[FirmData]\n" + line + "\n"), 0);
        for (std::size_t i = 1; i < line.size(); ++i) {
            std::string damaged = line;
            damaged[i] = damaged[i] == 'F' ? '0' : (damaged[i] == '9' ? 'A' : damaged[i] + 1);
            FWFileInfo info;
            EXPECT_EQ(info.LoadFileFromBytes(std::string(HEADER7) + "[FirmData]\n" + damaged + "\n"), -2)
                << "digit " << i << " of " << line;
        }
    }
}

TEST(FWFileInfo, MalformedFilesAreRejected)
{
    const std::string ok = DataLine(0);
    // 24 data bytes make the longest FirmData line: 66 digits.
    const std::string longest = packer::FirmLine({0, 0, Bytes(24, 0x11)}, {0x11, 5});
    ASSERT_EQ(longest.size(), 67u);
    const std::string tooLong = packer::FirmLine({0, 0, Bytes(25, 0x11)}, {0x11, 5});
    const std::string ceOk = packer::CeLine(Bytes(16, 0x22), {0x22, 16});
    auto file = [](const std::string& line6, const std::string& line7, const std::string& sections) {
        return "N\nV\nC\nF\nCH\n" + line6 + "\n" + line7 + "\n" + sections;
    };
    const std::string h = file("CODE", "0A1B2C", "");
    const struct {
        const char* name;
        std::string text;
        int result;
    } cases[] = {
        {"well-formed", h + "[FirmData]\n" + ok + "\n[CEData]\n04000000\n" + ceOk + "\n", 0},
        {"FirmData line of 5 bytes", h + "[FirmData]\n:0102030405\n", -2},
        {"CEData line of 4 bytes", h + "[CEData]\n04000000\n01020304\n", -2},
        {"key position beyond the data", h + "[FirmData]\n:AABB020000CC\n", -2},
        {"record checksum", h + "[FirmData]\n" + ok.substr(0, ok.size() - 2) + "00\n", -2},
        {"line of 511 characters", std::string(511, 'P') + h.substr(1) + "[FirmData]\n" + ok + "\n", 0},
        {"line over 511 characters", std::string(512, 'P') + h.substr(1), -2},
        {"section line over 511 characters", h + "[CEData]\n" + std::string(512, '0') + "\n", -2},
        {"product code text of 49", file(std::string(49, 'P'), "0A1B2C", ""), 0},
        {"product code text over 49", file(std::string(50, 'P'), "0A1B2C", ""), -2},
        {"product address text of 20", file("CODE", std::string(20, '0'), ""), 0},
        {"product address text over 20", file("CODE", std::string(21, '0'), ""), -2},
        {"FirmData line of 66 digits", h + "[FirmData]\n" + longest + "\n", 0},
        {"FirmData line over 66 digits", h + "[FirmData]\n" + tooLong + "\n", -2},
        {"CEData line over 66 digits", h + "[CEData]\n04000000\n" + std::string(67, '0') + "\n", -2},
        {"record ending at the flash end",
         h + "[FirmData]\n" + packer::FirmLine({2, 0, {0x80, 0x00}}, {1, 0}) + "\n" +
             packer::FirmLine({0, 0x6FF0, Bytes(16, 1)}, {1, 0}) + "\n",
         0},
        {"record reaching past the flash",
         h + "[FirmData]\n" + packer::FirmLine({2, 0, {0x80, 0x00}}, {1, 0}) + "\n" +
             packer::FirmLine({0, 0x6FF1, Bytes(16, 1)}, {1, 0}) + "\n",
         -2},
        {"empty record at the flash end",
         h + "[FirmData]\n" + packer::FirmLine({2, 0, {0x87, 0x00}}, {1, 0}) + "\n" +
             packer::FirmLine({0, 0, {}}, {1, 0}) + "\n",
         -2},
        {"record past the flash after the end record is ignored",
         h + "[FirmData]\n" + packer::FirmLine({1, 0, {}}, {1, 0}) + "\n" +
             packer::FirmLine({2, 0, {0xFF, 0xFF}}, {1, 0}) + "\n" + ok + "\n",
         0},
        // Count 16 but only 8 data bytes: 12 bytes, key, position, sum, checksum.
        {"data record shorter than its count",
         h + "[FirmData]\n:" + packer::HexText([] {
             Bytes r = packer::ScrambleRecord({0x10, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8}, {1, 0});
             r.push_back(static_cast<std::uint8_t>(0 - (0x10 + 36)));
             return r;
         }()) + "\n",
         -2},
        {"CEData header of 2 bytes", h + "[CEData]\n0400\n", -2},
        {"CEData record of 15 bytes",
         h + "[CEData]\n04000000\n" + packer::CeLine(Bytes(15, 0x22), {0x22, 1}) + "\n", -2},
    };
    for (const auto& c : cases) {
        FWFileInfo info;
        EXPECT_EQ(info.LoadFileFromBytes(c.text), c.result) << c.name;
    }
}

TEST(FWFileInfo, CeDataHeaderIsTakenUnchangedAndRunsAfterAFirmDataFailure)
{
    const std::string ceData = packer::CeLine(Bytes(16, 0x5A), {0x80, 7});
    FWFileInfo info;
    // "FFFFFFFFFF" would not unscramble; as the CEData header it is taken as it is.
    EXPECT_EQ(info.LoadFileFromBytes(std::string(HEADER7) + "[FirmData]\n:0102030405\n[CEData]\nFFFFFFFFFF\n" +
                                     ceData + "\n"),
              -2);
    ASSERT_EQ(info.ceRecords.size(), 2u);
    EXPECT_EQ(info.ceRecords[0], ByteString(5, 0xFF));
    EXPECT_EQ(info.ceRecords[1], ByteString(16, 0x5A));
}

TEST(FWFileInfo, FileThatCannotBeOpenedLeavesTheRecordAsItWas)
{
    TempDir dir;
    const std::string path = dir.File("good.zul");
    WriteFileBytes(path, packer::PackZul(packer::SampleFirmware()));
    FWFileInfo info;
    ASSERT_EQ(info.LoadFile(path), 0);
    info.BuildFlashImage();
    const FWFileInfo before = info;

    for (const std::string& missing : {dir.File("missing.zul"), dir.Path().string()}) {
        EXPECT_EQ(info.LoadFile(missing), -1) << missing;
        EXPECT_EQ(info.LoadHeader(missing), -1) << missing;
    }
    EXPECT_EQ(info.productName, before.productName);
    EXPECT_EQ(info.other1, before.other1);
    EXPECT_EQ(info.productCodeText, before.productCodeText);
    EXPECT_EQ(info.firmLines, before.firmLines);
    EXPECT_EQ(info.firmRecords, before.firmRecords);
    EXPECT_EQ(info.ceRecords, before.ceRecords);
    EXPECT_EQ(info.blocks.size(), before.blocks.size());

    // A header load empties the sections but keeps the last build.
    EXPECT_EQ(info.LoadHeader(path), 0);
    EXPECT_TRUE(info.firmRecords.empty() && info.firmLines.empty() && info.ceRecords.empty());
    EXPECT_EQ(info.blocks.size(), before.blocks.size());
}

TEST(FWFileInfo, HeaderLoadKeepsWhatFitsOfOverlongLines)
{
    FWFileInfo info;
    EXPECT_EQ(info.LoadHeaderFromBytes(std::string(600, 'N') + "\nV\nC\nF\nCH\n" + std::string(60, 'P') +
                                       "\n" + std::string(30, '1') + "\n"),
              0);
    EXPECT_EQ(info.productName, std::string(511, 'N'));
    EXPECT_EQ(std::string(info.productCodeText.data()), std::string(49, 'P'));
    EXPECT_EQ(std::string(info.productAddressText.data()), std::string(20, '1'));
    EXPECT_EQ(info.productAddress, (std::array<std::uint8_t, 3>{0x11, 0x11, 0x11}));
}
