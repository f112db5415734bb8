#include "testsupport/Packer.h"

#include <algorithm>
#include <cstdio>

namespace packer {

namespace {

constexpr std::size_t IMAGE_SIZE = 0x87000;
constexpr std::size_t BLOCK = 512;

// A small deterministic generator, so that a seed always gives the same file.
class Chooser {
public:
    explicit Chooser(std::uint32_t seed) : m_state(seed * 2654435761u + 12345u) {}
    std::uint32_t Next()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8;
    }
    // Odd and even keys in turn, at any position among the n data bytes.
    KeyChoice For(std::size_t n)
    {
        const std::uint32_t r = Next();
        KeyChoice choice;
        choice.key = static_cast<std::uint8_t>((r & 0xFE) | (m_count++ & 1));
        choice.position = (r >> 8) % (n + 1);
        return choice;
    }

private:
    std::uint32_t m_state;
    std::uint32_t m_count = 0;
};

std::uint8_t Offset(std::uint8_t key)
{
    return (key & 1) ? key : static_cast<std::uint8_t>(256 - key);
}

}  // namespace

Bytes HexRecordBytes(const HexRecord& record)
{
    Bytes bytes(4 + record.data.size());
    bytes[0] = static_cast<std::uint8_t>(record.data.size());
    bytes[1] = static_cast<std::uint8_t>(record.address >> 8);
    bytes[2] = static_cast<std::uint8_t>(record.address);
    bytes[3] = record.type;
    std::copy(record.data.begin(), record.data.end(), bytes.begin() + 4);
    return bytes;
}

Bytes ScrambleRecord(const Bytes& data, KeyChoice choice)
{
    const std::uint8_t k = Offset(choice.key);
    Bytes out;
    std::uint16_t sum = 0;
    for (std::size_t i = 0; i <= data.size(); ++i) {
        if (i == choice.position)
            out.push_back(choice.key);
        if (i < data.size()) {
            out.push_back(static_cast<std::uint8_t>(data[i] - k));
            sum = static_cast<std::uint16_t>(sum + data[i]);
        }
    }
    out.push_back(static_cast<std::uint8_t>(choice.position));
    out.push_back(static_cast<std::uint8_t>(sum >> 8));
    out.push_back(static_cast<std::uint8_t>(sum));
    return out;
}

std::string HexText(const Bytes& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (std::uint8_t b : bytes) {
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

std::string FirmLine(const HexRecord& record, KeyChoice choice)
{
    const Bytes data = HexRecordBytes(record);
    Bytes scrambled = ScrambleRecord(data, choice);
    std::uint8_t sum = 0;
    for (std::uint8_t b : data)
        sum = static_cast<std::uint8_t>(sum + b);
    scrambled.push_back(static_cast<std::uint8_t>(0 - sum));
    std::string line = ":";
    line += HexText(scrambled);
    return line;
}

std::string CeLine(const Bytes& data, KeyChoice choice)
{
    return HexText(ScrambleRecord(data, choice));
}

std::string PackZul(const PackInput& input)
{
    const PackHeader& h = input.header;
    std::string checkSum = h.checkSum;
    if (checkSum.empty()) {
        char text[8];
        std::snprintf(text, sizeof text, "%04X", BlocksSum(LayOut(input)));
        checkSum = text;
    }
    std::string out;
    auto line = [&](const std::string& text) { out += text + input.lineEnd; };
    line(h.productName);
    line(h.firmVersion);
    line(checkSum);
    line(h.fileName);
    line(h.chipName);
    line(h.productCode);
    line(h.productAddress);
    if (h.other1)
        line(*h.other1);
    if (h.other2)
        line(*h.other2);
    Chooser chooser(input.seed);
    if (input.firmSection) {
        line("[FirmData]");
        for (const HexRecord& record : input.firmRecords)
            line(FirmLine(record, chooser.For(record.data.size() + 4)));
    }
    if (input.ceStartBlock) {
        line("[CEData]");
        const std::uint16_t start = *input.ceStartBlock;
        line(HexText({static_cast<std::uint8_t>(start >> 8), static_cast<std::uint8_t>(start), 0, 0}));
        for (const Bytes& record : input.ceRecords)
            line(CeLine(record, chooser.For(record.size())));
    }
    return out;
}

std::vector<HexRecord> ImageToRecords(const Bytes& image, std::size_t recordSize)
{
    std::vector<HexRecord> records;
    std::size_t segment = 0;
    for (std::size_t at = 0; at < image.size(); at += recordSize) {
        const std::size_t end = std::min(image.size(), at + recordSize);
        if (std::all_of(image.begin() + at, image.begin() + end, [](auto b) { return b == 0xFF; }))
            continue;
        if (at / 0x10000 != segment) {
            segment = at / 0x10000;
            const std::uint16_t value = static_cast<std::uint16_t>(segment * 0x1000);
            records.push_back({2, 0, {static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)}});
        }
        HexRecord record;
        record.address = static_cast<std::uint16_t>(at & 0xFFFF);
        record.data.assign(image.begin() + at, image.begin() + end);
        records.push_back(record);
    }
    records.push_back({1, 0, {}});
    return records;
}

PackedFlash LayOut(const PackInput& input)
{
    PackedFlash flash;
    flash.image.assign(IMAGE_SIZE, 0xFF);
    auto touch = [&](int number) {
        if (std::find(flash.firmBlocks.begin(), flash.firmBlocks.end(), number) == flash.firmBlocks.end())
            flash.firmBlocks.push_back(number);
    };
    std::size_t base = 0;
    for (const HexRecord& record : input.firmRecords) {
        if (record.type == 1)
            break;
        if (record.type == 2 && record.data.size() == 2)
            base = (record.data[0] * 256u + record.data[1]) * 16u;
        if (record.type != 0 || record.data.empty())
            continue;
        const std::size_t address = base + record.address;
        if (address + record.data.size() > IMAGE_SIZE)
            continue;
        std::copy(record.data.begin(), record.data.end(), flash.image.begin() + address);
        touch(static_cast<int>(address / BLOCK));
        touch(static_cast<int>((address + record.data.size() - 1) / BLOCK));
    }
    if (input.ceStartBlock) {
        std::array<std::uint8_t, 512> block{};
        int number = *input.ceStartBlock;
        std::size_t fill = 0;
        for (const Bytes& record : input.ceRecords) {
            std::copy_n(record.begin(), std::min<std::size_t>(16, record.size()), block.begin() + fill);
            fill += 16;
            if (fill == BLOCK) {
                flash.ceBlocks.emplace_back(number++, block);
                block.fill(0);
                fill = 0;
            }
        }
        if (fill > 0) {
            block[fill] = 0xFF;
            flash.ceBlocks.emplace_back(number, block);
        }
    }
    return flash;
}

std::uint16_t BlocksSum(const PackedFlash& flash)
{
    std::uint16_t sum = 0;
    for (int number : flash.firmBlocks) {
        for (std::size_t i = 0; i < BLOCK; ++i)
            sum = static_cast<std::uint16_t>(sum + flash.image[number * BLOCK + i]);
    }
    for (const auto& block : flash.ceBlocks) {
        for (std::uint8_t b : block.second)
            sum = static_cast<std::uint16_t>(sum + b);
    }
    return sum;
}

namespace {

// Firmware-like content that is the same on every run.
Bytes Pattern(std::size_t size, std::uint32_t seed)
{
    Chooser chooser(seed);
    Bytes bytes(size);
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(chooser.Next());
    return bytes;
}

std::vector<Bytes> CeRecords(std::size_t count, std::uint32_t seed)
{
    const Bytes bytes = Pattern(count * 16, seed);
    std::vector<Bytes> records;
    for (std::size_t i = 0; i < count; ++i)
        records.emplace_back(bytes.begin() + i * 16, bytes.begin() + (i + 1) * 16);
    return records;
}

}  // namespace

PackInput SampleFirmware()
{
    PackInput input;
    input.header.productName = "TQ615/TQ616 SAMPLE";
    input.header.firmVersion = "Ver.1.00";
    input.header.fileName = "Sample_TQ615.zul";
    input.header.chipName = "M16C/62P";
    input.header.productCode = "TQ615/TQ616 2011";
    input.header.productAddress = "0A1B2C";
    input.header.other1 = "Sample firmware made by zul-pack";
    // 32 blocks from block 0x40 and 8 blocks from block 0x80 (the next 64 KiB segment),
    // all inside the range that both protocol dialects write.
    Bytes image(IMAGE_SIZE, 0xFF);
    const Bytes low = Pattern(32 * BLOCK, 7);
    std::copy(low.begin(), low.end(), image.begin() + 0x40 * BLOCK);
    const Bytes high = Pattern(8 * BLOCK - 100, 8);  // the last block ends in 0xFF
    std::copy(high.begin(), high.end(), image.begin() + 0x80 * BLOCK);
    input.firmRecords = ImageToRecords(image);
    input.ceStartBlock = 0x270;
    input.ceRecords = CeRecords(40, 9);
    input.seed = 2011;
    return input;
}

PackInput FullSizeFirmware()
{
    PackInput input;
    input.header.fileName = "FullSize.zul";
    Bytes image = Pattern(IMAGE_SIZE, 3);
    // No 16-byte piece may be all 0xFF, or it would be left out.
    for (std::size_t at = 0; at < image.size(); at += 16)
        image[at] = static_cast<std::uint8_t>(at >> 4 & 0x7F);
    input.firmRecords = ImageToRecords(image);
    input.ceStartBlock = static_cast<std::uint16_t>(IMAGE_SIZE / BLOCK);
    input.ceRecords = CeRecords(64 * 32, 4);
    return input;
}

}  // namespace packer
