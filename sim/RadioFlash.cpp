#include "sim/RadioFlash.h"

#include <algorithm>

void RadioFlash::Write(std::uint32_t index, const std::uint8_t* data)
{
    std::copy(data, data + BLOCK_SIZE, m_blocks[index].begin());
    m_writes.push_back(index);
}

const RadioFlash::Block* RadioFlash::Find(std::uint32_t index) const
{
    const auto it = m_blocks.find(index);
    return it == m_blocks.end() ? nullptr : &it->second;
}

std::uint16_t RadioFlash::DataSum() const
{
    std::uint16_t sum = 0;
    for (const auto& [index, block] : m_blocks) {
        for (std::uint8_t b : block)
            sum = static_cast<std::uint16_t>(sum + b);
    }
    return sum;
}

std::vector<std::uint8_t> RadioFlash::Image() const
{
    if (m_blocks.empty())
        return {};
    const std::size_t end = (static_cast<std::size_t>(m_blocks.rbegin()->first) + 1) * BLOCK_SIZE;
    std::vector<std::uint8_t> image(end, 0xFF);
    for (const auto& [index, block] : m_blocks)
        std::copy(block.begin(), block.end(), image.begin() + static_cast<std::ptrdiff_t>(index * BLOCK_SIZE));
    return image;
}
