#pragma once

#include <array>
#include <cstdint>

namespace sw {

// The day's one source of chance: uniform values in [0, 1). Injected everywhere, so a seed
// replays a whole day and tests can script the draws.
class Random {
public:
    virtual ~Random() = default;
    virtual double uniform() = 0;

    // Uniform over 1..n: floor(u * n) + 1.
    int draw(int n);
    // Uniform over the whole numbers a..b.
    int between(int a, int b);
};

// xoshiro256** seeded through splitmix64: a race draws some 60,000 numbers, so the generator's
// speed shows in the race's time, and this one is several times faster than a Mersenne twister.
class SeededRandom final : public Random {
public:
    explicit SeededRandom(uint64_t seed);
    // Defined here so a caller holding a SeededRandom (the race model's inner loop) draws without a
    // call at all. 53 random bits: never reaches 1.0.
    double uniform() override { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    // Int(uniform() x n), the same figure in one multiplication fewer: n x 2^-53 is exact, so the
    // product rounds once, just as uniform() x n does.
    int below(int n) { return belowOf(next(), n); }
    // What below(n) makes of the output `bits`.
    static constexpr int belowOf(uint64_t bits, int n) {
        return static_cast<int>(static_cast<double>(bits >> 11) * (n * 0x1.0p-53));
    }
    // The next output itself, for a caller that tests it against bounds worked out from belowOf().
    uint64_t bits() { return next(); }

private:
    uint64_t next() {
        const uint64_t result = rotl(m_state[1] * 5, 7) * 9;
        const uint64_t t = m_state[1] << 17;
        m_state[2] ^= m_state[0];
        m_state[3] ^= m_state[1];
        m_state[1] ^= m_state[2];
        m_state[0] ^= m_state[3];
        m_state[2] ^= t;
        m_state[3] = rotl(m_state[3], 45);
        return result;
    }
    static constexpr uint64_t rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

    std::array<uint64_t, 4> m_state{};
};

// A seed from the clock, for days that are not replayed.
uint64_t clockSeed();

// splitmix64's finaliser: neighbouring inputs (race or day numbers) give unrelated seeds, so no two
// streams' draws overlap (the generator's own seeding would shift one's state into the next's).
uint64_t mixedSeed(uint64_t x);

} // namespace sw
