#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// The flash of the radio as the boot loader sees it: 0x87000 bytes in 512-byte blocks.
constexpr std::size_t FLASH_IMAGE_SIZE = 0x87000;
constexpr std::size_t FLASH_BLOCK_SIZE = 512;
constexpr int FLASH_BLOCK_COUNT = static_cast<int>(FLASH_IMAGE_SIZE / FLASH_BLOCK_SIZE);

// CEData records contribute this many bytes each to their block.
constexpr std::size_t CE_RECORD_BYTES = 16;

// What the boot loader is checked against and what the finished write must sum to.
struct FlashHeader {
    std::array<std::uint8_t, 3> productAddress{};
    std::array<char, 17> productCode{};
    std::uint16_t expectedChecksum = 0;
};

// One 512-byte block, written as it stands, at flash byte number * 512.
struct FlashBlock {
    std::array<std::uint8_t, FLASH_BLOCK_SIZE> data{};
    std::int32_t number = 0;
};

// The 16-bit sum of a block's 512 data bytes.
std::uint16_t BlockDataSum(const FlashBlock& block);

// The checksum a write accumulates: the 16-bit sum of every block's data sum.
std::uint16_t BlocksChecksum(const std::vector<FlashBlock>& blocks);

// The header's CHECK SUM text as the C library's base-16 strtol reads it (blanks, sign
// and "0x" accepted, stops at the first non-digit, saturates at the 32-bit limits),
// low 16 bits. Done by hand so that the result does not depend on the width of long.
std::uint16_t ChecksumTextToValue(std::string_view text);
