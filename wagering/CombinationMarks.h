#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

namespace sw {

// The combination table of one bet family: one mark per combination of 1 to 6 posts. A
// combination named twice by a ticket is marked once, and the marks become the pool lines.
class CombinationMarks {
public:
    static constexpr int MaxPositions = 6;

    // Clears every mark and sizes the table for combinations of `positions` posts (1..6).
    void reset(int positions);
    int positions() const { return m_positions; }

    // Marks the combination (posts 1..8, first position first); true when it was not marked yet.
    bool mark(const uint8_t* posts);
    // True when the combination of these posts is marked.
    bool isMarked(std::initializer_list<int> posts) const {
        return isMarked(std::span<const int>(posts.begin(), posts.size()));
    }
    bool isMarked(std::span<const int> posts) const;
    std::size_t markedCount() const;

    // Calls f(const uint8_t* posts, int positions) for every marked combination in pool-file order:
    // the first position outermost, each position from post 1 to post 8.
    template <class F> void forEachMarked(F&& f) const {
        uint8_t posts[MaxPositions];
        for (std::size_t w = 0; w < m_bits.size(); ++w) {
            for (uint64_t bits = m_bits[w]; bits != 0; bits &= bits - 1) {
                std::size_t index = w * 64 + static_cast<std::size_t>(std::countr_zero(bits));
                for (int p = m_positions - 1; p >= 0; --p) {
                    posts[p] = static_cast<uint8_t>((index & 7) + 1);
                    index >>= 3;
                }
                f(static_cast<const uint8_t*>(posts), m_positions);
            }
        }
    }

private:
    int m_positions = 0;
    std::vector<uint64_t> m_bits;
};

} // namespace sw
