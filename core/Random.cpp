#include "Random.h"

#include <chrono>
#include <cmath>

namespace sw {

namespace {

uint64_t splitmix64(uint64_t& x) {
    uint64_t z = (x += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

} // namespace

int Random::draw(int n) {
    return static_cast<int>(std::floor(uniform() * n)) + 1;
}

int Random::between(int a, int b) {
    return a + static_cast<int>(std::floor(uniform() * (b - a + 1)));
}

SeededRandom::SeededRandom(uint64_t seed) {
    for (auto& word : m_state)
        word = splitmix64(seed);
}

uint64_t clockSeed() {
    return static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

uint64_t mixedSeed(uint64_t x) {
    x += 0x9E37'79B9'7F4A'7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58'476D'1CE4'E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D0'49BB'1331'11EBULL;
    return x ^ (x >> 31);
}

} // namespace sw
