#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <vector>

// The radio's flash memory as the boot loader writes it: 512-byte blocks at
// block number x 512; what was never written reads as erased (0xFF).
class RadioFlash {
public:
    static constexpr std::size_t BLOCK_SIZE = 512;
    using Block = std::array<std::uint8_t, BLOCK_SIZE>;

    void Write(std::uint32_t index, const std::uint8_t* data);

    bool Has(std::uint32_t index) const { return m_blocks.count(index) != 0; }
    const Block* Find(std::uint32_t index) const;
    std::size_t BlockCount() const { return m_blocks.size(); }
    // Every block write in order, rewrites included.
    const std::vector<std::uint32_t>& Writes() const { return m_writes; }
    // The 16-bit sum of the data of every stored block.
    std::uint16_t DataSum() const;

    // The image from address 0 to the end of the highest written block.
    std::vector<std::uint8_t> Image() const;

private:
    std::map<std::uint32_t, Block> m_blocks;
    std::vector<std::uint32_t> m_writes;
};
