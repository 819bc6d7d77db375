#include "ToteBoard.h"
#include "core/Translate.h"

#include "Tote.h"

#include "core/Format.h"

#include <algorithm>

namespace sw {

namespace {

// Odds the rule gave pay exactly their cents; odds never worked out (0) show what 0 pays.
std::string payoffText(float odds) {
    const std::optional<Cents> cents = payoffCentsOf(odds);
    return cents ? centsText(*cents) : moneyText(payoffOf(odds));
}

template <typename OddsOf> OddsGrid grid(int andHorse, std::string_view betWord, OddsOf oddsOf) {
    OddsGrid out;
    out.andHorse = std::clamp(andHorse, 1, FieldSize);
    const int a = out.andHorse - 1;
    for (int h = 0; h < FieldSize; ++h) {
        if (h == a)
            continue;
        auto cell = static_cast<std::size_t>(h);
        float odds = oddsOf(a, h);
        std::string payoff = payoffText(odds);
        out.odds[cell] = oddsText(odds);
        out.tooltip[cell] = fillIn(_("$2 {0} Bet pays: ${1}"), _(betWord), payoff);
        out.hoverTooltip[cell] = fillIn(_("$2 {0} pays: ${1}"), _(betWord), payoff);
    }
    return out;
}

} // namespace

ToteBoard toteBoard(const RaceDay& day) {
    const Pools& pools = day.pools;
    ToteBoard board;
    float lowest = 0;
    for (int h = 0; h < FieldSize; ++h) {
        auto cell = static_cast<std::size_t>(h);
        ToteBoardEntry& entry = board.entries[cell];
        entry.number = std::to_string(h + 1);
        entry.horseName = day.entries.name[cell];
        entry.winTotal = std::to_string(pools.win[cell]);
        entry.placeTotal = std::to_string(pools.place[cell]);
        entry.showTotal = std::to_string(pools.show[cell]);
        entry.odds = oddsText(pools.winOdds[cell]);
        entry.oddsTooltip = fillIn(_("$2 {0} Bet pays: ${1}"), _("Win"), payoffText(pools.winOdds[cell]));
        if (pools.win[cell] > 0 && (board.favourite < 0 || pools.winOdds[cell] < lowest)) {
            board.favourite = h;
            lowest = pools.winOdds[cell];
        }
    }
    board.winPool = std::to_string(pools.winTotal);
    board.placePool = std::to_string(pools.placeTotal);
    board.showPool = std::to_string(pools.showTotal);
    board.quinielaPool = std::to_string(pools.quinielaTotal);
    board.exactaPool = std::to_string(pools.exactaTotal);
    return board;
}

OddsGrid quinielaGrid(const RaceDay& day, int andHorse) {
    return grid(andHorse, N_("Quiniela"), [&](int a, int h) {
        return day.pools.quinielaOdds[static_cast<std::size_t>(Pools::idx2(std::min(a, h), std::max(a, h)))];
    });
}

OddsGrid exactaGrid(const RaceDay& day, int andHorse) {
    return grid(andHorse, N_("Exacta"), [&](int a, int h) {
        return day.pools.exactaOdds[static_cast<std::size_t>(Pools::idx2(a, h))];
    });
}

namespace {

// What $2 on a cell's combination would return now and why, ending with the payoff the cell shows.
std::vector<std::string> cellLines(std::string intro, std::string_view pool, double total, int32_t money,
                                   float shown, const std::string& on) {
    std::vector<std::string> lines{std::move(intro)};
    OddsWorking working;
    std::optional<float> odds = oddsFor(total, 1.0f, money, &working);
    if (odds && *odds == shown) {
        std::vector<std::string> steps = oddsLines(working, pool, on);
        lines.insert(lines.end(), steps.begin(), steps.end());
    } else {
        // A pool without money on the combination keeps the odds the board last worked out.
        lines.push_back(odds ? _("The board still shows the odds of its last refresh")
                             : fillIn(_("Nobody has bet {0}: the board keeps the odds it last showed"), on));
        lines.push_back(fillIn(_("$2 payoff: {0} x 2 + 2 = {1}"), fixedText(shown, 1), payoffText(shown)));
    }
    return lines;
}

} // namespace

std::vector<std::string> explainWinCell(const RaceDay& day, int entry) {
    const Pools& pools = day.pools;
    if (entry < 0 || entry >= FieldSize)
        return {};
    auto cell = static_cast<std::size_t>(entry);
    const std::string post = std::to_string(entry + 1);
    std::vector<std::string> lines =
        cellLines(fillIn(_("A $2 win bet on {0} if the race were run now"), post), N_("Win"), pools.winTotal,
                  pools.win[cell], pools.winOdds[cell], fillIn(_("{0} to win"), post));
    std::string shown = oddsText(pools.winOdds[cell]);
    shown.erase(0, shown.find_first_not_of(' '));
    lines.insert(
        lines.end() - 1,
        fillIn(_("Board odds {0} to 1; the price moves with every ticket until the race starts"), shown));
    return lines;
}

std::vector<std::string> explainGridCell(const RaceDay& day, bool exacta, int first, int second) {
    if (first < 0 || first >= FieldSize || second < 0 || second >= FieldSize || first == second)
        return {};
    const Pools& pools = day.pools;
    const std::string pair = std::to_string(first + 1) + "-" + std::to_string(second + 1);
    if (exacta) {
        const auto cell = static_cast<std::size_t>(Pools::idx2(first, second));
        return cellLines(fillIn(_("A $2 exacta on {0} ({1} first, {2} second) if the race were run now"),
                                pair, first + 1, second + 1),
                         N_("Exacta"), pools.exactaTotal, pools.exacta[cell], pools.exactaOdds[cell], pair);
    }
    const auto cell = static_cast<std::size_t>(Pools::idx2(std::min(first, second), std::max(first, second)));
    const std::string lowFirst =
        std::to_string(std::min(first, second) + 1) + "-" + std::to_string(std::max(first, second) + 1);
    return cellLines(
        fillIn(_("A $2 quiniela on {0} (first and second in either order) if the race were run now"),
               lowFirst),
        N_("Quiniela"), pools.quinielaTotal, pools.quiniela[cell], pools.quinielaOdds[cell], lowFirst);
}

} // namespace sw
