#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "cli/Cli.h"
#include "cli/FirmwareCommands.h"
#include "testsupport/Packer.h"
#include "tests/support/TempDir.h"

namespace {

struct Outcome {
    int status;
    std::string out, err;
};

Outcome Zul(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int status = RunCli(args, out, err);
    return {status, out.str(), err.str()};
}

// The flash the packer meant: FirmData blocks from its own layout, then CEData blocks.
std::string PackedImage(const packer::PackInput& input)
{
    const packer::PackedFlash flash = packer::LayOut(input);
    std::string image(0x87000, '\xFF');
    for (int number : flash.firmBlocks) {
        std::copy_n(flash.image.begin() + number * 512, 512, image.begin() + number * 512);
    }
    for (const auto& [number, data] : flash.ceBlocks) {
        if (image.size() < (number + 1u) * 512)
            image.resize((number + 1u) * 512, '\xFF');
        std::copy(data.begin(), data.end(), image.begin() + number * 512);
    }
    return image;
}

// Reads Intel HEX with extended linear addresses back into an image over 0xFF.
std::string HexToImage(const std::string& text, std::size_t size)
{
    std::string image(size, '\xFF');
    std::istringstream lines(text);
    std::string line;
    std::uint32_t upper = 0;
    while (std::getline(lines, line)) {
        std::vector<std::uint8_t> b;
        for (std::size_t i = 1; i + 1 < line.size(); i += 2)
            b.push_back(static_cast<std::uint8_t>(std::stoul(line.substr(i, 2), nullptr, 16)));
        std::uint8_t sum = 0;
        for (std::uint8_t x : b)
            sum = static_cast<std::uint8_t>(sum + x);
        EXPECT_EQ(sum, 0) << line;
        EXPECT_EQ(b.size(), b[0] + 5u) << line;
        if (b[3] == 4)
            upper = static_cast<std::uint32_t>(b[4] << 8 | b[5]) << 16;
        if (b[3] == 0) {
            const std::uint32_t address = upper + (b[1] << 8 | b[2]);
            for (std::size_t i = 0; i < b[0]; ++i)
                image.at(address + i) = static_cast<char>(b[4 + i]);
        }
    }
    return image;
}

}  // namespace

TEST(CliFirmware, HeaderBoxClosesItsFrame)
{
    FWFileInfo info;
    ASSERT_EQ(info.LoadHeaderFromBytes("P\nVer.1.00\n1A2B\nf.zul\nCHIP\nTQ615/TQ616 2011\n0A1B2C\n"), 0);
    EXPECT_EQ(FormatHeaderBox(info),
              "*********************************************************\n"
              "** [PRODUCT NAME   ] P                                 **\n"
              "** [FIRM VERSION   ] Ver.1.00                          **\n"
              "** [CHECK SUM      ] 1A2B                              **\n"
              "** [File Name      ] f.zul                             **\n"
              "** [Chip Name      ] CHIP                              **\n"
              "** [Product Code   ] TQ615/TQ616 2011                  **\n"
              "** [Product Address] 0A1B2C                            **\n"
              "** [Other 1        ]                                   **\n"
              "** [Other 2        ]                                   **\n"
              "*********************************************************\n");
    const struct {
        std::size_t nameLength;
        std::string ending;
    } cases[] = {{34, "X**"}, {35, "X*"}, {36, "X"}, {40, "X"}};
    for (const auto& c : cases) {
        info.productName = std::string(c.nameLength, 'X');
        const std::string box = FormatHeaderBox(info);
        const std::string line = box.substr(58, box.find('\n', 58) - 58);
        EXPECT_EQ(line.size(), std::max<std::size_t>(57, 21 + c.nameLength)) << c.nameLength;
        EXPECT_EQ(line.substr(line.size() - c.ending.size()), c.ending) << c.nameLength;
    }
}

TEST(CliFirmware, VerifyAndInfoStatuses)
{
    TempDir dir;
    packer::PackInput good = packer::SampleFirmware();
    WriteFileBytes(dir.File("good.zul"), packer::PackZul(good));
    packer::PackInput wrongSum = good;
    wrongSum.header.checkSum = "0000";
    WriteFileBytes(dir.File("wrongsum.zul"), packer::PackZul(wrongSum));
    std::string damaged = packer::PackZul(good);
    damaged[damaged.find("[FirmData]") + 14] ^= 1;
    WriteFileBytes(dir.File("damaged.zul"), damaged);

    const struct {
        std::string file;
        int status;
        std::string err;
    } cases[] = {
        {"good.zul", CLI_OK, ""},
        {"missing.zul", CLI_FILE_OPEN_ERROR, "The file cannot be opened.\n"},
        {"damaged.zul", CLI_FILE_FORMAT_ERROR, "It found a mistake by the internal format of the file. \n"},
        {"wrongsum.zul", CLI_CHECKSUM_MISMATCH,
         "The checksums do not agree: the file declares 0000, the blocks sum to 1178.\n"},
    };
    for (const auto& c : cases) {
        const Outcome verify = Zul({"verify", dir.File(c.file)});
        EXPECT_EQ(verify.status, c.status) << c.file;
        EXPECT_EQ(verify.err, c.err) << c.file;
        const Outcome info = Zul({"info", dir.File(c.file)});
        EXPECT_EQ(info.status, c.status == CLI_CHECKSUM_MISMATCH ? CLI_OK : c.status) << c.file;
    }
    EXPECT_EQ(Zul({"verify"}).status, CLI_USAGE);
    EXPECT_EQ(Zul({"info", "a.zul", "b.zul"}).status, CLI_USAGE);

    const Outcome info = Zul({"info", dir.File("good.zul")});
    for (const char* expected : {"** [Other 1        ] Sample firmware made by zul-pack  **\n",
                                 "Blocks            : 42 (FirmData 40, CEData 2)\n",
                                 "Expected checksum : 1178\n", "Computed checksum : 1178\n",
                                 "Checksums agree   : yes\n"}) {
        EXPECT_NE(info.out.find(expected), std::string::npos) << expected << info.out;
    }
    EXPECT_NE(Zul({"info", dir.File("wrongsum.zul")}).out.find("Checksums agree   : no\n"), std::string::npos);
    // A damaged file still shows its header.
    EXPECT_NE(Zul({"info", dir.File("damaged.zul")}).out.find("TQ615/TQ616 SAMPLE"), std::string::npos);
}

TEST(CliFirmware, ImageRoundTripsThePackedFlash)
{
    TempDir dir;
    packer::PackInput input = packer::SampleFirmware();
    // A CEData block above the flash widens the binary image; one inside it overlays.
    input.ceStartBlock = 0x437;
    WriteFileBytes(dir.File("in.zul"), packer::PackZul(input));
    const std::string expected = PackedImage(input);
    ASSERT_EQ(expected.size(), 0x439u * 512);

    EXPECT_EQ(Zul({"image", dir.File("in.zul"), "-o", dir.File("out.bin")}).status, CLI_OK);
    EXPECT_TRUE(ReadFileBytes(dir.File("out.bin")) == expected);
    EXPECT_EQ(Zul({"image", dir.File("in.zul"), "-o", dir.File("out.hex"), "--format", "hex"}).status, CLI_OK);
    EXPECT_TRUE(HexToImage(ReadFileBytes(dir.File("out.hex")), expected.size()) == expected);

    const struct {
        std::vector<std::string> args;
        int status;
    } failures[] = {
        {{"image", dir.File("in.zul")}, CLI_USAGE},
        {{"image", dir.File("in.zul"), "-o", dir.File("x"), "--format", "srec"}, CLI_USAGE},
        {{"image", dir.File("missing.zul"), "-o", dir.File("x")}, CLI_FILE_OPEN_ERROR},
        {{"image", dir.File("in.zul"), "-o", dir.Path().string()}, CLI_OUTPUT_ERROR},
    };
    for (const auto& f : failures)
        EXPECT_EQ(Zul(f.args).status, f.status) << f.args.back();
}

TEST(CliFirmware, LaterBlocksOverlayEarlierOnes)
{
    FlashBlock first, second;
    first.number = second.number = 3;
    first.data.fill(1);
    second.data.fill(2);
    const auto flash = ApplyBlocks({first, second});
    const std::string image = FlashImageBinary(flash);
    ASSERT_EQ(image.size(), 0x87000u);
    EXPECT_EQ(image.substr(3 * 512, 512), std::string(512, '\x02'));
    EXPECT_EQ(image.substr(0, 3 * 512), std::string(3 * 512, '\xFF'));
}
