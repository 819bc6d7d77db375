#include "Payoffs.h"

#include "core/Format.h"
#include "tote/Tote.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace sw {

namespace {

constexpr float PlaceShare = 0.5f;
constexpr float ShowShare = 0.333f;
constexpr float MinimumOdds = 0.05f;

// Entry index of a post, or -1 when the post is not one of the field's.
int entryOf(int post) {
    return post >= 1 && post <= FieldSize ? post - 1 : -1;
}

bool allEntries(std::initializer_list<int> posts) {
    for (int post : posts)
        if (entryOf(post) < 0)
            return false;
    return true;
}

bool allDifferent(std::initializer_list<int> posts) {
    std::vector<int> sorted(posts);
    std::sort(sorted.begin(), sorted.end());
    return std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end();
}

// Truncation to tenths with the minimum, in single precision as the board does it.
float truncatedOdds(float odds) {
    float whole = std::floor(odds);
    odds = whole + std::floor((odds - whole) * 10.0f) * 0.1f;
    return odds < MinimumOdds ? MinimumOdds : odds;
}

// The label carries the payoff rounded to cents, and the settlement pays the number the label
// shows, so the value is read back from the text.
void fill(Payoff& payoff, std::optional<float> value) {
    if (!value || !std::isfinite(*value) || *value <= 0.0f) {
        payoff.value.reset();
        payoff.text = "-";
        return;
    }
    payoff.text = moneyText(*value, false);
    payoff.value = std::strtof(payoff.text.c_str(), nullptr);
}

// $2 payoff of a pool's winning combination; none when nothing was bet on it.
std::optional<float> poolPayoff(int32_t total, float share, int32_t money) {
    if (money <= 0)
        return std::nullopt;
    std::optional<float> odds = oddsFor(total, share, money);
    if (!odds || !std::isfinite(*odds) || *odds < MinimumOdds)
        return std::nullopt;
    return payoffOf(*odds);
}

std::optional<float> halfOf(const Payoff& twoDollar) {
    if (!twoDollar.value)
        return std::nullopt;
    return *twoDollar.value / 2.0f;
}

struct MultiRaceLegs {
    MultiRaceBet bet;
    const char* name;
    int firstRace; // race index of leg 1
    int lastRace;  // race index of the last leg: the race whose settlement pays the bet
};

constexpr MultiRaceLegs MultiRaceBets[] = {
    {MultiRaceBet::DailyDouble, "Daily Double", 1, 2},
    {MultiRaceBet::Pick3, "Pick 3", 3, 5},
    {MultiRaceBet::Pick6, "Pick 6", 6, 11},
};

void computeMultiRace(const RaceDay& day, Payoffs& payoffs) {
    for (const MultiRaceLegs& legs : MultiRaceBets) {
        if (day.currentRace != legs.lastRace)
            continue;
        payoffs.multiRace = legs.bet;
        payoffs.special = legs.name;
        std::vector<float> legPayoffs;
        bool known = true;
        for (int race = legs.firstRace; race <= legs.lastRace; ++race) {
            int winner = day.raceWinner[static_cast<std::size_t>(race)];
            payoffs.xHorse.push_back(winner);
            int entry = entryOf(winner);
            if (entry < 0) {
                known = false;
                continue;
            }
            float odds =
                day.pools.oddsByRace[static_cast<std::size_t>(race + 1)][static_cast<std::size_t>(entry)];
            if (!std::isfinite(odds) || odds < 0.0f)
                known = false;
            legPayoffs.push_back(payoffOf(odds));
        }
        fill(payoffs.specialPayoff, known ? parlayPayoff(legPayoffs) : std::nullopt);
        return;
    }
}

std::string postText(int post) {
    return entryOf(post) >= 0 ? std::to_string(post) : std::string();
}

} // namespace

std::optional<float> parlayPayoff(const std::vector<float>& legPayoffs) {
    if (legPayoffs.empty())
        return std::nullopt;
    float running = legPayoffs.front();
    for (std::size_t k = 1; k < legPayoffs.size(); ++k)
        running = std::floor(running) / 2.0f * legPayoffs[k];
    if (!std::isfinite(running))
        return std::nullopt;
    float odds = truncatedOdds(running / 2.0f - 1.0f);
    float payoff = payoffOf(odds);
    if (!std::isfinite(payoff))
        return std::nullopt;
    return payoff;
}

Payoffs computePayoffs(const RaceDay& day) {
    Payoffs payoffs;
    const Pools& pools = day.pools;
    const auto& order = day.result.finishOrder;
    const int first = order[0], second = order[1], third = order[2], fourth = order[3];

    payoffs.qHorse = {std::min(first, second), std::max(first, second)};
    payoffs.eHorse = {first, second};
    payoffs.tHorse = {first, second, third};
    payoffs.sHorse = {first, second, third, fourth};

    if (int e = entryOf(first); e >= 0 && pools.win[e] > 0) {
        float odds = pools.winOdds[e];
        // The board's odds after the last refresh; a value the refresh never set is worked out again.
        if (std::isfinite(odds) && odds >= MinimumOdds)
            fill(payoffs.win, payoffOf(odds));
        else
            fill(payoffs.win, poolPayoff(pools.winTotal, 1.0f, pools.win[e]));
    }

    const std::array<int, 3> placed{first, second, third};
    for (std::size_t k = 0; k < payoffs.place.size(); ++k)
        if (int e = entryOf(placed[k]); e >= 0)
            fill(payoffs.place[k], poolPayoff(pools.placeTotal, PlaceShare, pools.place[e]));
    for (std::size_t k = 0; k < payoffs.show.size(); ++k)
        if (int e = entryOf(placed[k]); e >= 0)
            fill(payoffs.show[k], poolPayoff(pools.showTotal, ShowShare, pools.show[e]));

    const auto [lo, hi] = payoffs.qHorse;
    if (allEntries({lo, hi}) && lo < hi)
        fill(payoffs.quiniela,
             poolPayoff(pools.quinielaTotal, 1.0f, pools.quiniela[Pools::idx2(lo - 1, hi - 1)]));

    if (allEntries({first, second}) && allDifferent({first, second}))
        fill(payoffs.exacta,
             poolPayoff(pools.exactaTotal, 1.0f, pools.exacta[Pools::idx2(first - 1, second - 1)]));

    if (allEntries({first, second, third}) && allDifferent({first, second, third})) {
        int cell = Pools::idx3(first - 1, second - 1, third - 1);
        fill(payoffs.trifecta2, poolPayoff(pools.trifectaTotal, 1.0f, pools.trifecta[cell]));
        fill(payoffs.trifecta1, halfOf(payoffs.trifecta2));
    }

    if (allEntries({first, second, third, fourth}) && allDifferent({first, second, third, fourth})) {
        int cell = Pools::idx4(first - 1, second - 1, third - 1, fourth - 1);
        fill(payoffs.superfecta2, poolPayoff(pools.superfectaTotal, 1.0f, pools.superfecta[cell]));
        fill(payoffs.superfecta1, halfOf(payoffs.superfecta2));
    }

    computeMultiRace(day, payoffs);
    return payoffs;
}

Payoffs preparePayoffs(RaceDay& day) {
    toteRefresh(day);
    return computePayoffs(day);
}

std::vector<LabelText> chartLabels(const Payoffs& payoffs) {
    std::vector<LabelText> labels;
    auto horses = [&](const char* name, const auto& posts) {
        for (std::size_t i = 0; i < posts.size(); ++i)
            labels.push_back({name, static_cast<int>(i), postText(posts[i])});
    };
    auto payoff = [&](const Payoff& p) { labels.push_back({p.label, -1, p.text}); };

    horses("lblQHorse", payoffs.qHorse);
    horses("lblEHorse", payoffs.eHorse);
    horses("lblTHorse", payoffs.tHorse);
    horses("lblSHorse", payoffs.sHorse);
    payoff(payoffs.win);
    for (const Payoff& p : payoffs.place)
        payoff(p);
    for (const Payoff& p : payoffs.show)
        payoff(p);
    payoff(payoffs.quiniela);
    payoff(payoffs.exacta);
    payoff(payoffs.trifecta1);
    payoff(payoffs.trifecta2);
    payoff(payoffs.superfecta1);
    payoff(payoffs.superfecta2);
    labels.push_back({"lblSpecial", -1, payoffs.special});
    horses("lblXHorse", payoffs.xHorse);
    payoff(payoffs.specialPayoff);
    return labels;
}

} // namespace sw
