#include "Payoffs.h"
#include "core/Translate.h"

#include "core/Format.h"
#include "tote/Tote.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

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

void say(Payoff& payoff, std::string line) {
    payoff.working.push_back(std::move(line));
}

// The settlement pays the cents the label shows.
void fill(Payoff& payoff, std::optional<Cents> value) {
    if (!value || *value <= 0) {
        payoff.value.reset();
        payoff.text = "-";
        payoff.breakage = {};
        if (payoff.working.empty() || payoff.working.back().back() != '-')
            say(payoff, _("No payoff: -"));
        return;
    }
    payoff.text = centsText(*value, false);
    payoff.value = *value;
}

// $2 payoff of a pool's winning combination, its working told to the payoff; none when nothing
// was bet on it.
std::optional<Cents> poolPayoff(int32_t total, float share, int32_t money, Payoff& payoff,
                                std::string_view pool, const std::string& on) {
    if (money <= 0) {
        say(payoff, fillIn(_("{0} pool total: {1}"), _(pool), "$" + moneyText(total)));
        say(payoff,
            fillIn(_("Nobody bet {0}: with no money on the winning combination there is no one to share the "
                     "pool with, so it pays nothing: -"),
                   on));
        return std::nullopt;
    }
    OddsWorking working;
    std::optional<float> odds = oddsFor(total, share, money, &working);
    if (!odds || !std::isfinite(*odds) || *odds < MinimumOdds) {
        say(payoff, _("The odds cannot be worked out from these figures: -"));
        return std::nullopt;
    }
    for (std::string& line : oddsLines(working, pool, on))
        say(payoff, std::move(line));
    payoff.breakage = breakageOf(working);
    return working.payoff;
}

// The $1 label of a $2 pool: half the $2 payoff, and half of what the cut kept.
void fillHalf(Payoff& oneDollar, const Payoff& twoDollar) {
    if (!twoDollar.value) {
        say(oneDollar, _("The $1 ticket pays half the $2 payoff, which pays nothing: -"));
        fill(oneDollar, std::nullopt);
        return;
    }
    // Every pool's $2 payoff (2 + 20 cents a tenth, or 2.10) is an even number of cents.
    const Cents half = *twoDollar.value / 2;
    say(oneDollar,
        fillIn(_("The $1 ticket pays half the $2 payoff of {0} (see the $2 ticket)"), twoDollar.text));
    say(oneDollar, fillIn(_("$1 payoff: {0} / 2 = {1}"), twoDollar.text, centsText(half)));
    oneDollar.breakage = {twoDollar.breakage.numerator, twoDollar.breakage.denominator * 2};
    fill(oneDollar, half);
}

std::string placeName(int k) {
    static const char* const names[] = {N_("won"), N_("finished second"), N_("finished third"),
                                        N_("finished fourth")};
    return _(names[k]);
}

std::string comboText(std::initializer_list<int> posts) {
    std::string out;
    for (int post : posts)
        out += (out.empty() ? "" : "-") + std::to_string(post);
    return out;
}

struct MultiRaceLegs {
    MultiRaceBet bet;
    const char* name;
    int firstRace; // race index of leg 1
    int lastRace;  // race index of the last leg: the race whose settlement pays the bet
};

constexpr MultiRaceLegs MultiRaceBets[] = {
    {MultiRaceBet::DailyDouble, N_("Daily Double"), 1, 2},
    {MultiRaceBet::Pick3, N_("Pick 3"), 3, 5},
    {MultiRaceBet::Pick6, N_("Pick 6"), 6, 11},
};

void computeMultiRace(const RaceDay& day, Payoffs& payoffs) {
    for (const MultiRaceLegs& legs : MultiRaceBets) {
        if (day.currentRace != legs.lastRace)
            continue;
        payoffs.multiRace = legs.bet;
        payoffs.special = legs.name;
        Payoff& special = payoffs.specialPayoff;
        say(special,
            fillIn(_("{0}: a parlay of the legs' $2 win payoffs at the public's odds (players' tickets do "
                     "not change them)"),
                   _(legs.name)));
        std::vector<Cents> legPayoffs;
        bool known = true;
        for (int race = legs.firstRace; race <= legs.lastRace; ++race) {
            int winner = day.raceWinner[static_cast<std::size_t>(race)];
            payoffs.xHorse.push_back(winner);
            const std::string leg = fillIn(_("Leg {0}, race {1}: "), race - legs.firstRace + 1, race + 1);
            int entry = entryOf(winner);
            if (entry < 0) {
                say(special, leg + _("no winner known"));
                known = false;
                continue;
            }
            const float odds =
                day.pools.oddsByRace[static_cast<std::size_t>(race + 1)][static_cast<std::size_t>(entry)];
            // Odds never worked out for the race read as 0, whose $2 pays back the $2.
            const std::optional<Cents> paid = odds == 0.0f ? Cents{200} : payoffCentsOf(odds);
            if (!paid) {
                say(special, leg + fillIn(_("{0} won; its public odds are unknown"), winner));
                known = false;
                continue;
            }
            say(special, leg + fillIn(_("{0} won at public odds {1}, $2 pays {1} x 2 + 2 = {2}"), winner,
                                      fixedText(odds, 1), centsText(*paid)));
            legPayoffs.push_back(*paid);
        }
        fill(special, known ? parlayPayoff(legPayoffs, &special) : std::nullopt);
        return;
    }
}

std::string postText(int post) {
    return entryOf(post) >= 0 ? std::to_string(post) : std::string();
}

} // namespace

std::optional<Cents> parlayPayoff(const std::vector<Cents>& legPayoffs, Payoff* explained) {
    using Wide = CentsFraction::Wide;
    if (legPayoffs.empty())
        return std::nullopt;
    auto tell = [&](std::string line) {
        if (explained)
            say(*explained, std::move(line));
    };
    auto tooLarge = [&]() -> std::optional<Cents> {
        tell(_("The parlay is too large to work out: -"));
        return std::nullopt;
    };
    // Twice the running product in cents, so that a leg of an odd number of cents halves exactly.
    constexpr Wide Limit = static_cast<Wide>(MaxCents) * 2;
    Wide twice = 2 * static_cast<Wide>(legPayoffs.front());
    // What the parlay would pay without the cuts: the legs' product over 200 a leg after the first.
    Wide uncut = legPayoffs.front();
    int64_t uncutDenominator = 1;
    auto cents = [](Wide value) { return centsText(static_cast<Cents>(value / 2)); };
    if (legPayoffs.front() <= 0 || twice > Limit)
        return tooLarge();
    tell(fillIn(_("Start with leg 1: {0}"), cents(twice)));
    for (std::size_t k = 1; k < legPayoffs.size(); ++k) {
        const Cents leg = legPayoffs[k];
        const Wide dollars = twice / 200;
        if (leg <= 0 || (dollars != 0 && static_cast<Wide>(leg) > Limit / dollars) ||
            uncut > (Wide{1} << 120) / leg || uncutDenominator > MaxCents / 200)
            return tooLarge();
        const Wide next = dollars * leg;
        tell(fillIn(_("Cut {0} to whole dollars: {1} (the cut keeps {2}); {1} / 2 x {3} (leg {4}) = {5}"),
                    cents(twice), centsText(static_cast<Cents>(dollars * 100)), cents(twice - dollars * 200),
                    centsText(leg), k + 1, cents(next)));
        twice = next;
        uncut *= leg;
        uncutDenominator *= 200;
    }
    // Odds R / 2 - 1 in tenths, floored: (R - 200) / 20 with R = twice / 2 cents.
    Wide tenths = (twice - 400) / 40;
    if (twice < 400 && (twice - 400) % 40 != 0)
        tenths -= 1;
    const bool minimum = tenths <= 0;
    const Cents payoff = minimum ? 210 : static_cast<Cents>(200 + 20 * tenths);
    if (!minimum && 200 + 20 * tenths > MaxCents)
        return tooLarge();
    const double raw = static_cast<double>(twice - 400) / 400.0;
    const double odds = minimum ? 0.05 : static_cast<double>(tenths) / 10.0;
    tell(fillIn(_("Odds: {0} / 2 - 1 = {1} to 1 (shown to 4 decimals)"), cents(twice), fixedText(raw, 4)));
    const CentsFraction uncutCents{uncut, uncutDenominator};
    if (minimum && twice < 420)
        tell(_("Below the 0.05 minimum: raised to 0.05, so the house adds to what the parlay pays"));
    else if (minimum)
        tell(fillIn(
            _("Cut to tenths: 0.0, then raised to the 0.05 minimum; the house adds nothing; without any cut "
              "the parlay would pay {0}"),
            centsText(uncutCents.rounded())));
    else
        tell(fillIn(_("Cut to tenths: {0}; without any cut the parlay would pay {1}"), fixedText(odds, 1),
                    centsText(uncutCents.rounded())));
    tell(fillIn(_("$2 payoff: {0} x 2 + 2 = {1}"), fixedText(odds, minimum ? 2 : 1), centsText(payoff)));
    if (explained) {
        const Wide kept = uncut - static_cast<Wide>(payoff) * uncutDenominator;
        explained->breakage = kept > 0 ? CentsFraction{kept, uncutDenominator} : CentsFraction{};
    }
    return payoff;
}

const Payoff* findPayoff(const Payoffs& payoffs, std::string_view bet, int post, std::string* error) {
    auto fail = [&](std::string why) -> const Payoff* {
        if (error)
            *error = std::move(why);
        return nullptr;
    };
    const std::array<int, 3> placed = {payoffs.tHorse[0], payoffs.tHorse[1], payoffs.tHorse[2]};
    if (bet == "win") {
        if (post != 0 && post != placed[0])
            return fail(fillIn(_("{0} did not win; the winner was {1}"), post, placed[0]));
        return &payoffs.win;
    }
    if (bet == "place" || bet == "show") {
        const bool place = bet == "place";
        const std::size_t count = place ? 2 : 3;
        for (std::size_t k = 0; k < count; ++k)
            if (post == 0 ? k == 0 : placed[k] == post)
                return place ? &payoffs.place[k] : &payoffs.show[k];
        std::string paid;
        for (std::size_t k = 0; k < count; ++k)
            paid += (k ? ", " : "") + std::to_string(placed[k]);
        return fail(fillIn(place ? _("{0} was not paid to place; the horses that were: {1}")
                                 : _("{0} was not paid to show; the horses that were: {1}"),
                           post, paid));
    }
    if (bet == "quiniela")
        return &payoffs.quiniela;
    if (bet == "exacta")
        return &payoffs.exacta;
    if (bet == "trifecta")
        return post == 1 ? &payoffs.trifecta1 : &payoffs.trifecta2;
    if (bet == "superfecta")
        return post == 1 ? &payoffs.superfecta1 : &payoffs.superfecta2;
    static const std::pair<std::string_view, MultiRaceBet> multi[] = {
        {"dailydouble", MultiRaceBet::DailyDouble},
        {"pick3", MultiRaceBet::Pick3},
        {"pick6", MultiRaceBet::Pick6}};
    for (const auto& [word, kind] : multi)
        if (bet == word) {
            if (payoffs.multiRace != kind)
                return fail(
                    fillIn(_("no {0} was decided in this race (the daily double is paid after race 3, the "
                             "pick 3 after race 6, the pick 6 after race 12)"),
                           word));
            return &payoffs.specialPayoff;
        }
    return fail(
        fillIn(_("no payoff called \"{0}\" (win, place, show, quiniela, exacta, trifecta, superfecta, "
                 "dailydouble, pick3, pick6, twintri, trisuper)"),
               bet));
}

const Payoff* payoffByLabel(const Payoffs& payoffs, std::string_view label) {
    for (const Payoff* p :
         {&payoffs.win, &payoffs.place[0], &payoffs.place[1], &payoffs.show[0], &payoffs.show[1],
          &payoffs.show[2], &payoffs.quiniela, &payoffs.exacta, &payoffs.trifecta1, &payoffs.trifecta2,
          &payoffs.superfecta1, &payoffs.superfecta2, &payoffs.specialPayoff})
        if (p->label == label)
            return p;
    return nullptr;
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

    if (int e = entryOf(first); e >= 0) {
        Payoff& win = payoffs.win;
        const std::string post = std::to_string(first);
        say(win, fillIn(_("Win on {0}, the winner"), post));
        if (pools.win[e] <= 0) {
            fill(win, poolPayoff(pools.winTotal, 1.0f, pools.win[e], win, N_("Win"),
                                 fillIn(_("{0} to win"), post)));
        } else if (float odds = pools.winOdds[e]; payoffCentsOf(odds)) {
            // The board's odds after the last refresh; worked out again only to show how.
            OddsWorking working;
            std::optional<float> again = oddsFor(pools.winTotal, 1.0f, pools.win[e], &working);
            std::optional<Cents> paid = payoffCentsOf(odds);
            if (again && *again == odds) {
                for (std::string& line : oddsLines(working, N_("Win"), fillIn(_("{0} to win"), post)))
                    say(win, std::move(line));
                win.breakage = breakageOf(working);
                paid = working.payoff; // exact even where a float no longer holds every tenth
            } else {
                say(win, fillIn(_("The board's odds after its last refresh: {0}"), fixedText(odds, 1)));
                say(win, fillIn(_("$2 payoff: {0} x 2 + 2 = {1}"), fixedText(odds, 1),
                                centsText(*payoffCentsOf(odds))));
            }
            fill(win, paid);
        } else {
            fill(win, poolPayoff(pools.winTotal, 1.0f, pools.win[e], win, N_("Win"),
                                 fillIn(_("{0} to win"), post)));
        }
    }

    const std::array<int, 3> placed{first, second, third};
    for (std::size_t k = 0; k < payoffs.place.size(); ++k)
        if (int e = entryOf(placed[k]); e >= 0) {
            const std::string post = std::to_string(placed[k]);
            say(payoffs.place[k], fillIn(_("Place on {0}, which {1}: the first two share the place pool"),
                                         post, placeName(static_cast<int>(k))));
            fill(payoffs.place[k], poolPayoff(pools.placeTotal, PlaceShare, pools.place[e], payoffs.place[k],
                                              N_("Place"), fillIn(_("{0} to place"), post)));
        }
    for (std::size_t k = 0; k < payoffs.show.size(); ++k)
        if (int e = entryOf(placed[k]); e >= 0) {
            const std::string post = std::to_string(placed[k]);
            say(payoffs.show[k], fillIn(_("Show on {0}, which {1}: the first three share the show pool"),
                                        post, placeName(static_cast<int>(k))));
            fill(payoffs.show[k], poolPayoff(pools.showTotal, ShowShare, pools.show[e], payoffs.show[k],
                                             N_("Show"), fillIn(_("{0} to show"), post)));
        }

    const auto [lo, hi] = payoffs.qHorse;
    if (allEntries({lo, hi}) && lo < hi) {
        const std::string combo = comboText({lo, hi});
        say(payoffs.quiniela, fillIn(_("Quiniela {0}: the first two in either order"), combo));
        fill(payoffs.quiniela,
             poolPayoff(pools.quinielaTotal, 1.0f, pools.quiniela[Pools::idx2(lo - 1, hi - 1)],
                        payoffs.quiniela, N_("Quiniela"), combo));
    }

    if (allEntries({first, second}) && allDifferent({first, second})) {
        const std::string combo = comboText({first, second});
        say(payoffs.exacta, fillIn(_("Exacta {0}: the first two in order"), combo));
        fill(payoffs.exacta,
             poolPayoff(pools.exactaTotal, 1.0f, pools.exacta[Pools::idx2(first - 1, second - 1)],
                        payoffs.exacta, N_("Exacta"), combo));
    }

    if (allEntries({first, second, third}) && allDifferent({first, second, third})) {
        int cell = Pools::idx3(first - 1, second - 1, third - 1);
        const std::string combo = comboText({first, second, third});
        say(payoffs.trifecta2, fillIn(_("Trifecta {0}: the first three in order, $2 ticket"), combo));
        fill(payoffs.trifecta2, poolPayoff(pools.trifectaTotal, 1.0f, pools.trifecta[cell], payoffs.trifecta2,
                                           N_("Trifecta"), combo));
        say(payoffs.trifecta1, fillIn(_("Trifecta {0}, $1 ticket"), combo));
        fillHalf(payoffs.trifecta1, payoffs.trifecta2);
    }

    if (allEntries({first, second, third, fourth}) && allDifferent({first, second, third, fourth})) {
        int cell = Pools::idx4(first - 1, second - 1, third - 1, fourth - 1);
        const std::string combo = comboText({first, second, third, fourth});
        say(payoffs.superfecta2, fillIn(_("Superfecta {0}: the first four in order, $2 ticket"), combo));
        fill(payoffs.superfecta2, poolPayoff(pools.superfectaTotal, 1.0f, pools.superfecta[cell],
                                             payoffs.superfecta2, N_("Superfecta"), combo));
        say(payoffs.superfecta1, fillIn(_("Superfecta {0}, $1 ticket"), combo));
        fillHalf(payoffs.superfecta1, payoffs.superfecta2);
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

std::vector<std::vector<LabelText>> payoffRows(const Payoffs& payoffs) {
    std::vector<std::vector<LabelText>> rows;
    auto horses = [&](const char* name, const auto& posts) {
        for (std::size_t i = 0; i < posts.size(); ++i)
            rows.back().push_back({name, static_cast<int>(i), postText(posts[i])});
    };
    auto payoff = [&](const Payoff& p) { rows.back().push_back({p.label, -1, p.text}); };

    rows.emplace_back();
    payoff(payoffs.win);
    for (const Payoff& p : payoffs.place)
        payoff(p);
    for (const Payoff& p : payoffs.show)
        payoff(p);
    rows.emplace_back();
    horses("lblQHorse", payoffs.qHorse);
    payoff(payoffs.quiniela);
    rows.emplace_back();
    horses("lblEHorse", payoffs.eHorse);
    payoff(payoffs.exacta);
    rows.emplace_back();
    horses("lblTHorse", payoffs.tHorse);
    payoff(payoffs.trifecta1);
    payoff(payoffs.trifecta2);
    rows.emplace_back();
    horses("lblSHorse", payoffs.sHorse);
    payoff(payoffs.superfecta1);
    payoff(payoffs.superfecta2);
    if (!payoffs.special.empty()) {
        rows.emplace_back();
        rows.back().push_back({"lblSpecial", -1, payoffs.special});
        horses("lblXHorse", payoffs.xHorse);
        payoff(payoffs.specialPayoff);
    }
    return rows;
}

} // namespace sw
