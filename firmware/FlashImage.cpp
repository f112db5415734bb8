#include "firmware/FlashImage.h"

#include <cstdio>
#include <cstring>

#include "firmware/DebugOutput.h"
#include "firmware/FWFileInfo.h"

namespace {

constexpr std::uint8_t RECORD_DATA = 0;
constexpr std::uint8_t RECORD_END_OF_FILE = 1;
constexpr std::uint8_t RECORD_SEGMENT_ADDRESS = 2;

// Segment bases above this cannot place a byte inside the image; holding the value
// there keeps the arithmetic free of overflow for any count.
constexpr std::uint64_t BASE_VALUE_LIMIT = 0x100000000ull;

// Walks the FirmData records the way the image is built from them: type 2 moves the
// base, type 0 places its data, type 1 ends the walk, other types do nothing.
// onData(address, data, count) is called for each data record that fits the image;
// onBad() for a type-0 or type-2 record that is shorter than its count says or
// reaches outside the image, which is then left out.
template <class OnData, class OnBad>
void WalkFirmRecords(const std::vector<ByteString>& records, OnData onData, OnBad onBad)
{
    std::uint64_t base = 0;
    for (const ByteString& record : records) {
        if (record.size() <= 3)
            continue;
        const std::size_t count = record[0];
        const std::uint8_t type = record[3];
        if (type == RECORD_DATA || type == RECORD_SEGMENT_ADDRESS) {
            // The record's last byte is its checksum, not data.
            if (record.size() - 1 < count + 4) {
                onBad();
                continue;
            }
        }
        if (type == RECORD_SEGMENT_ADDRESS) {
            std::uint64_t value = 0;
            for (std::size_t i = 0; i < count; ++i) {
                value = value * 256 + record[4 + i];
                if (value > BASE_VALUE_LIMIT)
                    value = BASE_VALUE_LIMIT;
            }
            base = value * 16;
        } else if (type == RECORD_DATA) {
            const std::uint64_t address = base + record[1] * 256u + record[2];
            // A record of count 0 still registers the block of its address.
            if (address >= FLASH_IMAGE_SIZE || address + count > FLASH_IMAGE_SIZE) {
                onBad();
                continue;
            }
            onData(static_cast<std::size_t>(address), record.data() + 4, count);
        } else if (type == RECORD_END_OF_FILE) {
            return;
        }
    }
}

bool CeHeaderUsable(const std::vector<ByteString>& ceRecords)
{
    return !ceRecords.empty() && ceRecords.front().size() >= 4;
}

void WriteVecLine(std::size_t count)
{
    char text[32];
    std::snprintf(text, sizeof text, "Vec = %d\n", static_cast<int>(count));
    FirmwareDebugOutput(text);
}

}  // namespace

bool RecordsFitFlashImage(const std::vector<ByteString>& firmRecords,
                          const std::vector<ByteString>& ceRecords)
{
    bool fits = true;
    WalkFirmRecords(
        firmRecords, [](std::size_t, const std::uint8_t*, std::size_t) {},
        [&fits] { fits = false; });
    if (!ceRecords.empty()) {
        if (!CeHeaderUsable(ceRecords))
            return false;
        for (std::size_t i = 1; i < ceRecords.size(); ++i) {
            if (ceRecords[i].size() < CE_RECORD_BYTES)
                return false;
        }
    }
    return fits;
}

int FWFileInfo::BuildFlashImage()
{
    flashHeader = FlashHeader();
    flashHeader.productAddress = productAddress;
    flashHeader.productCode = productCode;
    flashHeader.expectedChecksum = ChecksumTextToValue(checkSum);

    blocks.clear();
    std::vector<std::uint8_t> image(FLASH_IMAGE_SIZE, 0xFF);
    // Where each block number sits in blocks: a direct index instead of a search
    // keeps a full-size file linear.
    std::vector<int> blockIndex(FLASH_BLOCK_COUNT, -1);
    auto registerBlock = [&](std::size_t number) {
        if (blockIndex[number] < 0) {
            blockIndex[number] = static_cast<int>(blocks.size());
            FlashBlock block;
            block.number = static_cast<std::int32_t>(number);
            blocks.push_back(block);
        }
    };
    // LoadFile has already rejected records that do not fit; here they are left out,
    // so that a record filled in any other way cannot reach outside the image.
    WalkFirmRecords(
        firmRecords,
        [&](std::size_t address, const std::uint8_t* data, std::size_t count) {
            std::memcpy(image.data() + address, data, count);
            const std::size_t first = address / FLASH_BLOCK_SIZE;
            registerBlock(first);
            if (count > 0) {
                const std::size_t last = (address + count - 1) / FLASH_BLOCK_SIZE;
                if (last != first)
                    registerBlock(last);
            } else if (address > 0 && address % FLASH_BLOCK_SIZE == 0) {
                registerBlock(first - 1);
            }
        },
        [] {});
    for (FlashBlock& block : blocks) {
        std::memcpy(block.data.data(), image.data() + block.number * FLASH_BLOCK_SIZE,
                    FLASH_BLOCK_SIZE);
    }
    image.clear();
    image.shrink_to_fit();
    WriteVecLine(blocks.size());

    if (CeHeaderUsable(ceRecords)) {
        FlashBlock current;
        current.number = ceRecords[0][0] * 256 + ceRecords[0][1];
        std::size_t fill = 0;
        for (std::size_t i = 1; i < ceRecords.size(); ++i) {
            if (ceRecords[i].size() < CE_RECORD_BYTES)
                continue;
            std::memcpy(current.data.data() + fill, ceRecords[i].data(), CE_RECORD_BYTES);
            fill += CE_RECORD_BYTES;
            if (fill == FLASH_BLOCK_SIZE) {
                blocks.push_back(current);
                const std::int32_t next = current.number + 1;
                current = FlashBlock();
                current.number = next;
                fill = 0;
            }
        }
        // A partial block is marked by a single 0xFF after its last record.
        if (fill > 0) {
            current.data[fill] = 0xFF;
            blocks.push_back(current);
        }
    }
    WriteVecLine(blocks.size());
    return 0;
}

std::uint16_t BlockDataSum(const FlashBlock& block)
{
    std::uint16_t sum = 0;
    for (std::uint8_t b : block.data)
        sum = static_cast<std::uint16_t>(sum + b);
    return sum;
}

std::uint16_t BlocksChecksum(const std::vector<FlashBlock>& blocks)
{
    std::uint16_t total = 0;
    for (const FlashBlock& block : blocks)
        total = static_cast<std::uint16_t>(total + BlockDataSum(block));
    return total;
}

std::uint16_t ChecksumTextToValue(std::string_view text)
{
    constexpr std::uint64_t LONG_MAX32 = 0x7FFFFFFF;
    std::size_t i = 0;
    auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    auto digitValue = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    while (i < text.size() && isSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // "0x" counts as a prefix only when a digit follows; otherwise the "0" is the number.
    if (i + 2 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        digitValue(text[i + 2]) >= 0)
        i += 2;
    std::uint64_t magnitude = 0;
    const std::uint64_t limit = negative ? LONG_MAX32 + 1 : LONG_MAX32;
    for (; i < text.size() && digitValue(text[i]) >= 0; ++i) {
        magnitude = magnitude * 16 + static_cast<unsigned>(digitValue(text[i]));
        if (magnitude > limit)
            magnitude = limit;  // saturates; the remaining digits change nothing
    }
    const std::uint32_t value = negative ? static_cast<std::uint32_t>(0u - magnitude)
                                         : static_cast<std::uint32_t>(magnitude);
    return static_cast<std::uint16_t>(value & 0xFFFF);
}
