#pragma once

#include <cstdint>
#include <random>

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

class SeededRandom final : public Random {
public:
    explicit SeededRandom(uint64_t seed) : m_engine(seed) {}
    double uniform() override;

private:
    std::mt19937_64 m_engine;
};

// A seed from the clock, for days that are not replayed.
uint64_t clockSeed();

} // namespace sw
