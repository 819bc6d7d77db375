#include "Tote.h"
#include "core/Translate.h"

#include "PoolFiles.h"

#include "core/Format.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>
#include <utility>

namespace sw {

namespace {

// Adds a pool line's amount to a 32-bit pool figure; a sum that no longer fits is skipped,
// so a hand-edited file cannot wrap a pool negative.
void addAmount(int32_t& target, double amount) {
    double sum = std::nearbyint(static_cast<double>(target) + amount);
    if (sum < static_cast<double>(std::numeric_limits<int32_t>::min()) ||
        sum > static_cast<double>(std::numeric_limits<int32_t>::max()))
        return;
    target = static_cast<int32_t>(sum);
}

// The pool cell a line of a single-race file adds to.
int32_t* cellOf(Pools& pools, PoolFile file, const PoolLine& line) {
    auto h = [&](int n) { return line.horses[static_cast<std::size_t>(n)] - 1; };
    switch (file) {
    case PoolFile::Wins:
        return &pools.win[static_cast<std::size_t>(h(0))];
    case PoolFile::Places:
        return &pools.place[static_cast<std::size_t>(h(0))];
    case PoolFile::Shows:
        return &pools.show[static_cast<std::size_t>(h(0))];
    case PoolFile::Quinielas: {
        // The pair is unordered; its money always sits in the lower-post-first cell.
        int lo = std::min(h(0), h(1));
        int hi = std::max(h(0), h(1));
        return &pools.quiniela[static_cast<std::size_t>(Pools::idx2(lo, hi))];
    }
    case PoolFile::Exactas:
        return &pools.exacta[static_cast<std::size_t>(Pools::idx2(h(0), h(1)))];
    case PoolFile::Trifectas:
        return &pools.trifecta[static_cast<std::size_t>(Pools::idx3(h(0), h(1), h(2)))];
    case PoolFile::Superfectas:
        return &pools.superfecta[static_cast<std::size_t>(Pools::idx4(h(0), h(1), h(2), h(3)))];
    default:
        return nullptr;
    }
}

int32_t& totalOf(Pools& pools, PoolFile file) {
    switch (file) {
    case PoolFile::Wins:
        return pools.winTotal;
    case PoolFile::Places:
        return pools.placeTotal;
    case PoolFile::Shows:
        return pools.showTotal;
    case PoolFile::Quinielas:
        return pools.quinielaTotal;
    case PoolFile::Exactas:
        return pools.exactaTotal;
    case PoolFile::Trifectas:
        return pools.trifectaTotal;
    default:
        return pools.superfectaTotal;
    }
}

// Dollars and cents for an explanation, with the leading zero the payoff labels leave out.
std::string dollars(double value) {
    return "$" + moneyText(value);
}

} // namespace

namespace {

using Wide = CentsFraction::Wide;

Wide floorDiv(Wide a, Wide b) {
    Wide q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// The pools' shares as exact fractions; none for any other share.
std::optional<std::pair<int64_t, int64_t>> exactShare(float share) {
    if (share == 1.0f)
        return std::pair<int64_t, int64_t>{1, 1};
    if (share == 0.5f)
        return std::pair<int64_t, int64_t>{1, 2};
    if (share == 0.333f)
        return std::pair<int64_t, int64_t>{333, 1000};
    return std::nullopt;
}

bool wholeAmount(double value) {
    return std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e15;
}

} // namespace

std::optional<float> oddsFor(double total, float share, double money, OddsWorking* working) {
    if (!(money > 0))
        return std::nullopt;
    const double net = total * 0.75;
    const double shared = net * static_cast<double>(share);
    double raw = shared / money - 1.0;
    if (!std::isfinite(raw) || std::fabs(raw) > static_cast<double>(FLT_MAX))
        return std::nullopt;
    const auto exact = exactShare(share);
    int64_t tenths = 0;
    CentsFraction kept;
    if (exact && wholeAmount(total) && wholeAmount(money)) {
        // odds = 3 T s / (4 M) - 1 with s = n / d: ten times that, floored, in integers.
        const auto [n, d] = *exact;
        const Wide t = static_cast<Wide>(static_cast<int64_t>(total));
        const Wide m = static_cast<Wide>(static_cast<int64_t>(money));
        const Wide den = 4 * d * m;
        tenths = static_cast<int64_t>(floorDiv(30 * t * n - 10 * den, den));
        // A $2 ticket's share is 2 (1 + odds) dollars = 150 T n / (d M) cents; the payoff keeps
        // 200 + 20 tenths of it.
        kept = CentsFraction{150 * t * n - (200 + 20 * static_cast<Wide>(tenths)) * d * m,
                             static_cast<int64_t>(d * m)};
    } else {
        // Figures no pool holds (fractions, other shares) keep the single-precision rule.
        const float odds = static_cast<float>(raw);
        double t = std::floor(static_cast<double>(odds) * 10.0);
        if (static_cast<float>((t + 1.0) / 10.0) <= odds)
            t += 1.0;
        if (std::fabs(t) > 1e15)
            return std::nullopt;
        tenths = static_cast<int64_t>(t);
    }
    float truncated = static_cast<float>(static_cast<double>(tenths) / 10.0);
    const bool minimum = tenths <= 0;
    bool houseAdds = false;
    if (minimum) {
        truncated = 0.05f;
        if (exact && wholeAmount(total) && wholeAmount(money)) {
            // Raw odds from 0.05 up are cut to 0.0 and raised back to 0.05: the cut still keeps
            // what lies above 0.05. Only below 0.05 does the minimum pay more than the share.
            const auto [n, d] = *exact;
            const Wide t = static_cast<Wide>(static_cast<int64_t>(total));
            const Wide m = static_cast<Wide>(static_cast<int64_t>(money));
            kept = CentsFraction{150 * t * n - 210 * d * m, static_cast<int64_t>(d * m)};
            houseAdds = kept.numerator < 0;
        } else {
            houseAdds = raw < 0.05;
        }
    }
    if (working)
        *working = OddsWorking{total,     share,    money,
                               net,       shared,   static_cast<float>(raw),
                               truncated, minimum,  minimum ? Cents{210} : 200 + 20 * tenths,
                               kept,      houseAdds};
    return truncated;
}

CentsFraction breakageOf(const OddsWorking& working) {
    return working.kept.numerator > 0 ? working.kept : CentsFraction{};
}

std::optional<Cents> payoffCentsOf(float odds) {
    if (!std::isfinite(odds) || odds < 0.05f || odds > 1e13f)
        return std::nullopt;
    if (odds < 0.1f)
        return Cents{210};
    return 200 + 20 * static_cast<Cents>(std::llround(static_cast<double>(odds) * 10.0));
}

std::vector<std::string> oddsLines(const OddsWorking& w, std::string_view poolName,
                                   std::string_view moneyOn) {
    std::vector<std::string> lines;
    lines.push_back(fillIn(_("{0} pool total: {1}"), _(poolName), dollars(w.total)));
    lines.push_back(fillIn(_("Takeout 25 %: {0}, leaving a net pool of {1} to pay back"),
                           dollars(w.total * 0.25), dollars(w.net)));
    if (w.share != 1.0f)
        lines.push_back(fillIn(w.share < 0.4f
                                   ? _("Share: the net pool pays three horses, each gets {0} x {1} = {2} "
                                       "(rounded to cents here)")
                                   : _("Share: the net pool pays two horses, each gets {0} x {1} = {2} "
                                       "(rounded to cents here)"),
                               dollars(w.net), fixedText(w.share, 3), dollars(w.shared)));
    lines.push_back(fillIn(_("Money on {0}: {1}"), moneyOn, dollars(w.money)));
    lines.push_back(fillIn(_("Odds: {0} / {1} - 1 = {2} to 1 (shown to 4 decimals)"), dollars(w.shared),
                           dollars(w.money), fixedText(w.raw, 4)));
    if (w.minimum && w.houseAdds) {
        lines.push_back(
            fillIn(_("Below the 0.05 minimum: raised to 0.05, so the house adds {0} a $1 to what this "
                     "pool pays"),
                   fixedText(0.05 - static_cast<double>(w.raw), 4)));
    } else if (w.minimum) {
        const double kept = breakageOf(w).toDouble() / 100.0;
        lines.push_back(kept > 0.0
                            ? fillIn(_("Cut to tenths: 0.0, then raised to the 0.05 minimum; the house adds "
                                       "nothing; the breakage, {0} a $1, keeps {1} of every $2 ticket "
                                       "(rounded to cents here)"),
                                     fixedText(static_cast<double>(w.raw) - 0.05, 4), dollars(kept))
                            : _("Cut to tenths: 0.0, then raised to the 0.05 minimum; the house adds "
                                "nothing, nothing lost to breakage"));
    } else {
        const double kept = breakageOf(w).toDouble() / 100.0;
        if (kept > 0.0)
            lines.push_back(
                fillIn(_("Cut to tenths: {0}; the breakage, {1} a $1, keeps {2} of every $2 ticket "
                         "(rounded to cents here)"),
                       fixedText(w.odds, 1), fixedText(w.raw - w.odds, 4), dollars(kept)));
        else
            lines.push_back(fillIn(_("Cut to tenths: {0}, nothing lost to breakage"), fixedText(w.odds, 1)));
    }
    lines.push_back(
        fillIn(_("$2 payoff: {0} x 2 + 2 = {1}"), fixedText(w.odds, w.minimum ? 2 : 1), centsText(w.payoff)));
    return lines;
}

std::string oddsText(float odds) {
    struct Band {
        float below;
        const char* text;
    };
    static constexpr Band bands[] = {
        {0.2f, "1/9"}, {0.4f, "1/5"}, {0.5f, "2/5"}, {0.6f, "1/2"}, {0.8f, "3/5"}, {1.0f, "4/5"},
        {1.2f, "1"},   {1.4f, "6/5"}, {1.5f, "7/5"}, {1.6f, "3/2"}, {1.8f, "8/5"}, {2.0f, "9/5"},
        {2.5f, "2"},   {3.0f, "5/2"}, {3.5f, "3"},   {4.0f, "7/2"}, {4.5f, "4"},   {5.0f, "9/2"}};
    if (std::isnan(odds))
        return "1/9";
    for (const Band& band : bands)
        if (odds < band.below)
            return band.text;
    if (odds >= 99.0f)
        return "99";
    return rightAlign(std::to_string(static_cast<int>(odds)), 2);
}

void toteRefresh(RaceDay& day) {
    Pools& pools = day.pools;
    pools.win.fill(0);
    pools.place.fill(0);
    pools.show.fill(0);
    pools.quiniela.fill(0);
    pools.exacta.fill(0);
    pools.trifecta.fill(0);
    pools.superfecta.fill(0);

    for (PoolFile file : SingleRacePoolFiles) {
        int32_t& total = totalOf(pools, file);
        total = 0;
        forEachPoolLine(day.folder.read(poolFileName(file)).bytes, file, [&](const PoolLine& line) {
            if (int32_t* cell = cellOf(pools, file, line)) {
                addAmount(*cell, line.amount);
                addAmount(total, line.amount);
            }
        });
    }

    // A combination without money has no odds; its cell keeps what it showed.
    for (int i = 0; i < FieldSize; ++i)
        for (int j = 0; j < FieldSize; ++j) {
            if (i == j)
                continue;
            auto cell = static_cast<std::size_t>(Pools::idx2(i, j));
            if (i < j)
                if (auto odds = oddsFor(pools.quinielaTotal, 1.0f, pools.quiniela[cell]))
                    pools.quinielaOdds[cell] = *odds;
            if (auto odds = oddsFor(pools.exactaTotal, 1.0f, pools.exacta[cell]))
                pools.exactaOdds[cell] = *odds;
        }
    for (std::size_t h = 0; h < FieldSize; ++h)
        if (auto odds = oddsFor(pools.winTotal, 1.0f, pools.win[h]))
            pools.winOdds[h] = *odds;
}

} // namespace sw
