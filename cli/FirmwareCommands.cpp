#include "cli/FirmwareCommands.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "cli/Cli.h"
#include "resources/Texts.h"

namespace {

constexpr std::size_t FRAME_WIDTH = 57;

std::string Hex4(unsigned value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value & 0xFFFF);
    return text;
}

// A text field up to its first NUL.
template <std::size_t N>
std::string FieldText(const std::array<char, N>& field)
{
    std::size_t length = 0;
    while (length < N && field[length] != '\0')
        ++length;
    return std::string(field.data(), length);
}

// Loads and builds the file; on failure prints the reason and gives the exit status.
int LoadAndBuild(const std::string& path, FWFileInfo& info, std::ostream& err)
{
    const int result = info.LoadFile(path);
    if (result == FWFILE_CANNOT_OPEN) {
        err << LoadText(IDS_FILE_OPEN_ERROR) << "\n";
        return CLI_FILE_OPEN_ERROR;
    }
    if (result != FWFILE_OK) {
        err << LoadText(IDS_FILE_FORMAT_ERROR) << "\n";
        return CLI_FILE_FORMAT_ERROR;
    }
    info.BuildFlashImage();
    return CLI_OK;
}

std::string MismatchText(const FWFileInfo& info, std::uint16_t computed)
{
    return "The checksums do not agree: the file declares " +
           Hex4(info.flashHeader.expectedChecksum) + ", the blocks sum to " + Hex4(computed) + ".";
}

// Blocks that the CEData section adds: a block per 32 records, and one more for a rest.
std::size_t CeBlockCount(const FWFileInfo& info)
{
    if (info.ceRecords.empty())
        return 0;
    const std::size_t records = info.ceRecords.size() - 1;
    const std::size_t perBlock = FLASH_BLOCK_SIZE / CE_RECORD_BYTES;
    return (records + perBlock - 1) / perBlock;
}

bool OneFileArgument(const std::vector<std::string>& args, std::ostream& err)
{
    if (args.size() == 2)
        return true;
    err << "zul: " << args.front() << " takes one firmware file; see zul --help\n";
    return false;
}

}  // namespace

std::string FormatHeaderBox(const FWFileInfo& info)
{
    const struct {
        int label;
        std::string value;
    } fields[] = {
        {IDS_LABEL_PRODUCT_NAME, info.productName},
        {IDS_LABEL_FIRM_VERSION, info.firmVersion},
        {IDS_LABEL_CHECK_SUM, info.checkSum},
        {IDS_LABEL_FILE_NAME, info.fileName},
        {IDS_LABEL_CHIP_NAME, info.chipName},
        {IDS_LABEL_PRODUCT_CODE, FieldText(info.productCodeText)},
        {IDS_LABEL_PRODUCT_ADDR, FieldText(info.productAddressText)},
        {IDS_LABEL_OTHER1, info.other1},
        {IDS_LABEL_OTHER2, info.other2},
    };
    const std::string border(FRAME_WIDTH, '*');
    std::string box = border + "\n";
    for (const auto& field : fields) {
        std::string line = std::string("** ") + LoadText(field.label) + " " + field.value;
        // Close the frame where the value leaves room; a long value runs past it.
        if (line.size() <= FRAME_WIDTH - 2)
            line += std::string(FRAME_WIDTH - 2 - line.size(), ' ') + "**";
        else if (line.size() == FRAME_WIDTH - 1)
            line += "*";
        box += line + "\n";
    }
    return box + border + "\n";
}

std::map<std::int32_t, FlashBlock> ApplyBlocks(const std::vector<FlashBlock>& blocks)
{
    std::map<std::int32_t, FlashBlock> flash;
    for (const FlashBlock& block : blocks) {
        if (block.number >= 0)
            flash[block.number] = block;
    }
    return flash;
}

std::string FlashImageBinary(const std::map<std::int32_t, FlashBlock>& flash)
{
    std::size_t size = FLASH_IMAGE_SIZE;
    if (!flash.empty())
        size = std::max(size, (static_cast<std::size_t>(flash.rbegin()->first) + 1) * FLASH_BLOCK_SIZE);
    std::string image(size, '\xFF');
    for (const auto& [number, block] : flash) {
        std::copy(block.data.begin(), block.data.end(),
                  image.begin() + static_cast<std::ptrdiff_t>(number * FLASH_BLOCK_SIZE));
    }
    return image;
}

std::string FlashImageHex(const std::map<std::int32_t, FlashBlock>& flash)
{
    std::string text;
    auto record = [&text](std::uint8_t type, std::uint16_t address, const std::uint8_t* data,
                          std::size_t count) {
        char digits[4];
        std::uint8_t sum = static_cast<std::uint8_t>(count + (address >> 8) + address + type);
        std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned>(count));
        text += ":";
        text += digits;
        text += Hex4(address);
        std::snprintf(digits, sizeof digits, "%02X", type);
        text += digits;
        for (std::size_t i = 0; i < count; ++i) {
            std::snprintf(digits, sizeof digits, "%02X", data[i]);
            text += digits;
            sum = static_cast<std::uint8_t>(sum + data[i]);
        }
        std::snprintf(digits, sizeof digits, "%02X", static_cast<std::uint8_t>(0 - sum));
        text += digits;
        text += "\n";
    };
    long upper = -1;
    for (const auto& [number, block] : flash) {
        const std::uint64_t start = static_cast<std::uint64_t>(number) * FLASH_BLOCK_SIZE;
        for (std::size_t at = 0; at < FLASH_BLOCK_SIZE; at += 16) {
            const std::uint64_t address = start + at;
            if (static_cast<long>(address >> 16) != upper) {
                upper = static_cast<long>(address >> 16);
                const std::uint8_t value[2] = {static_cast<std::uint8_t>(upper >> 8),
                                               static_cast<std::uint8_t>(upper)};
                record(0x04, 0, value, 2);
            }
            record(0x00, static_cast<std::uint16_t>(address & 0xFFFF), block.data.data() + at, 16);
        }
    }
    record(0x01, 0, nullptr, 0);
    return text;
}

int RunInfo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (!OneFileArgument(args, err))
        return CLI_USAGE;
    FWFileInfo info;
    const int status = LoadAndBuild(args[1], info, err);
    if (status == CLI_FILE_FORMAT_ERROR && info.LoadHeader(args[1]) == FWFILE_OK)
        out << FormatHeaderBox(info);  // the header alone still tells what the file is
    if (status != CLI_OK)
        return status;

    const std::size_t ceBlocks = CeBlockCount(info);
    const std::uint16_t computed = BlocksChecksum(info.blocks);
    const bool agree = computed == info.flashHeader.expectedChecksum;
    out << FormatHeaderBox(info)
        << "FirmData records  : " << info.firmRecords.size() << "\n"
        << "CEData records    : " << info.ceRecords.size();
    if (!info.ceRecords.empty())
        out << " (header and " << info.ceRecords.size() - 1 << " data)";
    out << "\n"
        << "Blocks            : " << info.blocks.size() << " (FirmData "
        << info.blocks.size() - ceBlocks << ", CEData " << ceBlocks << ")\n"
        << "Expected checksum : " << Hex4(info.flashHeader.expectedChecksum) << "\n"
        << "Computed checksum : " << Hex4(computed) << "\n"
        << "Checksums agree   : " << (agree ? "yes" : "no") << "\n";
    return CLI_OK;
}

int RunVerify(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (!OneFileArgument(args, err))
        return CLI_USAGE;
    FWFileInfo info;
    const int status = LoadAndBuild(args[1], info, err);
    if (status != CLI_OK)
        return status;
    const std::uint16_t computed = BlocksChecksum(info.blocks);
    if (computed != info.flashHeader.expectedChecksum) {
        err << MismatchText(info, computed) << "\n";
        return CLI_CHECKSUM_MISMATCH;
    }
    out << "OK: " << info.blocks.size() << " blocks, checksum " << Hex4(computed) << "\n";
    return CLI_OK;
}

int RunImage(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::string file, output, format = "bin";
    for (std::size_t i = 1; i < args.size(); ++i) {
        if ((args[i] == "-o" || args[i] == "--output") && i + 1 < args.size()) {
            output = args[++i];
        } else if (args[i] == "--format" && i + 1 < args.size()) {
            format = args[++i];
        } else if (file.empty() && !args[i].empty() && args[i][0] != '-') {
            file = args[i];
        } else {
            file.clear();
            break;
        }
    }
    if (file.empty() || output.empty() || (format != "bin" && format != "hex")) {
        err << "zul: image takes FILE -o OUT [--format bin|hex]; see zul --help\n";
        return CLI_USAGE;
    }
    FWFileInfo info;
    const int status = LoadAndBuild(file, info, err);
    if (status != CLI_OK)
        return status;
    const auto flash = ApplyBlocks(info.blocks);
    const std::string bytes = format == "hex" ? FlashImageHex(flash) : FlashImageBinary(flash);
    std::ofstream stream(output, std::ios::binary | std::ios::trunc);
    stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    stream.close();
    if (!stream) {
        err << "zul: cannot write " << output << "\n";
        return CLI_OUTPUT_ERROR;
    }
    const std::uint16_t computed = BlocksChecksum(info.blocks);
    if (computed != info.flashHeader.expectedChecksum)
        err << "zul: warning: " << MismatchText(info, computed) << "\n";
    out << "Wrote " << output << ": " << info.blocks.size() << " blocks, " << bytes.size()
        << " bytes\n";
    return CLI_OK;
}
