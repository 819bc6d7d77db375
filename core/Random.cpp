#include "Random.h"

#include <chrono>
#include <cmath>

namespace sw {

int Random::draw(int n) { return static_cast<int>(std::floor(uniform() * n)) + 1; }

int Random::between(int a, int b) { return a + static_cast<int>(std::floor(uniform() * (b - a + 1))); }

double SeededRandom::uniform() {
    // 53 random bits: never reaches 1.0, unlike some generate_canonical implementations.
    return static_cast<double>(m_engine() >> 11) * 0x1.0p-53;
}

uint64_t clockSeed() {
    return static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

} // namespace sw
