#pragma once

#include <array>
#include <cstdint>

namespace sw {

// The pool tables of the race about to be run (or the race last shown in the racing program).
// Tables are sized for nine entries (index 8 never filled) and stored flat, first horse fastest,
// so that index arithmetic matches the pool files' combinations.
struct Pools {
    static constexpr int N = 9;
    static constexpr int idx2(int i, int j) { return i + N * j; }
    static constexpr int idx3(int i, int j, int k) { return i + N * (j + N * k); }
    static constexpr int idx4(int i, int j, int k, int l) { return i + N * (j + N * (k + N * l)); }

    std::array<int32_t, N> win{};
    std::array<int32_t, N> place{};
    std::array<int32_t, N> show{};
    std::array<int32_t, N * N> quiniela{}; // only i < j used
    std::array<int32_t, N * N> exacta{};
    std::array<int32_t, N * N * N> trifecta{};
    std::array<int32_t, N * N * N * N> superfecta{};

    int32_t winTotal = 0;
    int32_t placeTotal = 0;
    int32_t showTotal = 0;
    int32_t quinielaTotal = 0;
    int32_t exactaTotal = 0;
    int32_t trifectaTotal = 0;
    int32_t superfectaTotal = 0;

    std::array<float, N> winOdds{};
    std::array<float, N * N> quinielaOdds{};
    std::array<float, N * N> exactaOdds{};
    // Public win odds per race number 1..12 (row 0 unused); the multi-race payoffs use them.
    std::array<std::array<float, N>, 13> oddsByRace{};
    std::array<int32_t, N> consistencyBand{};

    // Last ticket number handed out; public lines take 1..2124 each race, players' tickets follow.
    int32_t ticketCounter = 0;
};

} // namespace sw
