#include "CombinationMarks.h"

#include <algorithm>

namespace sw {

void CombinationMarks::reset(int positions) {
    m_positions = std::clamp(positions, 1, MaxPositions);
    std::size_t entries = std::size_t{1} << (3 * m_positions);
    m_bits.assign((entries + 63) / 64, 0);
}

bool CombinationMarks::mark(const uint8_t* posts) {
    std::size_t index = 0;
    for (int p = 0; p < m_positions; ++p)
        index = index * 8 + ((posts[p] - 1u) & 7u);
    uint64_t bit = uint64_t{1} << (index % 64);
    uint64_t& word = m_bits[index / 64];
    bool fresh = (word & bit) == 0;
    word |= bit;
    return fresh;
}

bool CombinationMarks::isMarked(std::span<const int> posts) const {
    if (static_cast<int>(posts.size()) != m_positions)
        return false;
    std::size_t index = 0;
    for (int post : posts) {
        if (post < 1 || post > 8)
            return false;
        index = index * 8 + static_cast<std::size_t>(post - 1);
    }
    return (m_bits[index / 64] >> (index % 64)) & 1u;
}

std::size_t CombinationMarks::markedCount() const {
    std::size_t n = 0;
    for (uint64_t word : m_bits)
        n += static_cast<std::size_t>(std::popcount(word));
    return n;
}

} // namespace sw
