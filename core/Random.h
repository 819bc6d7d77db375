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
    double uniform() override;

private:
    std::array<uint64_t, 4> m_state{};
};

// A seed from the clock, for days that are not replayed.
uint64_t clockSeed();

} // namespace sw
