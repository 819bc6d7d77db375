#include "LabCommand.h"

#include "core/Format.h"
#include "core/Money.h"
#include "core/Translate.h"
#include "lab/Lab.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>

namespace sw::cli {

namespace {

using Json = nlohmann::ordered_json;

constexpr int DefaultDays = 100;
constexpr int MaxDays = 10000;
constexpr int MinChanceRacesForLab = 100;
constexpr int MaxChanceRacesForLab = 10000;

const char* const RuleHelp = N_(R"(Or a rule of your own, in quotes: BET [when CONDITION [and CONDITION]...]
  BET        win, place or show: one ticket on every horse the conditions hold for
  CONDITION  FIELD OP NUMBER, OP one of > >= < <= =
  FIELD      odds (the board's win odds to 1), rank (1 = the favourite), post (1..8),
             chance (simulated chance to win, 0..1), top3 (chance to finish in the first three),
             value (chance x (odds + 1): what a dollar to win returns on average)
  e.g. lab "win when value > 1.2 and odds >= 5" 200
)");

std::optional<long long> wholeNumber(std::string_view word) {
    long long value = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc{} || end != word.data() + word.size())
        return std::nullopt;
    return value;
}

int boundedNumber(const std::string& word, const char* what, int low, int high) {
    const auto value = wholeNumber(word);
    if (!value || *value < low || *value > high)
        throw LabUsageError(
            fillIn(_("{0} must be a whole number {1}..{2}, not \"{3}\""), _(what), low, high, word));
    return static_cast<int>(*value);
}

Strategy strategyOf(const std::string& text) {
    std::string error;
    auto strategy = findStrategy(text, &error);
    if (!strategy)
        throw LabUsageError(fillIn(_("{0} (lab list shows the strategies)"), error));
    return *strategy;
}

std::string money(Cents cents) {
    return (cents < 0 ? "-" : "") + centsText(cents < 0 ? -cents : cents);
}

std::string signedMoney(Cents cents) {
    return (cents > 0 ? "+" : "") + money(cents);
}

std::string percent(double share) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f%%", share * 100.0);
    return text;
}

std::string bandText(const Band& band) {
    char text[48];
    std::snprintf(text, sizeof text, "%.1f-%.1f%%", band.low * 100.0, band.high * 100.0);
    return text;
}

double dollars(Cents cents) {
    return centsToDollars(cents);
}

Json summaryJson(const Strategy& strategy, const LabSummary& s) {
    Json histogram = Json::array();
    for (const HistogramBin& bin : s.histogram)
        histogram.push_back({{"from", dollars(bin.from)}, {"to", dollars(bin.to)}, {"days", bin.days}});
    Json bankroll = Json::array();
    for (const BankrollPoint& p : s.bankroll)
        bankroll.push_back({{"day", p.day},
                            {"median", dollars(p.median)},
                            {"low", dollars(p.low)},
                            {"high", dollars(p.high)}});
    return {{"strategy", strategy.name},
            {"description", strategy.description},
            {"days", s.days},
            {"tickets", s.tickets},
            {"hits", s.hits},
            {"hitRate", s.hitRate},
            {"staked", dollars(s.staked)},
            {"returned", dollars(s.returned)},
            {"return", s.returnRate},
            {"returnBand", {s.returnBand.low, s.returnBand.high}},
            {"biggestWin", dollars(s.biggestWin)},
            {"worstLosingRun", s.worstLosingRun},
            {"takeout", dollars(s.takeout)},
            {"breakage", dollars(s.breakage)},
            {"bestDay", dollars(s.bestDay)},
            {"worstDay", dollars(s.worstDay)},
            {"histogram", histogram},
            {"bankroll", bankroll}};
}

void histogramText(const std::string& name, const LabSummary& s, std::string& text) {
    int most = 1;
    for (const HistogramBin& bin : s.histogram)
        most = std::max(most, bin.days);
    text += fillIn(_("\nSingle days, {0} (net result: days)\n"), name);
    for (const HistogramBin& bin : s.histogram)
        text += rightAlign(signedMoney(bin.from), 10) + _(" to ") + rightAlign(signedMoney(bin.to), 10) +
                "  " + std::string(static_cast<std::size_t>(bin.days * 40 / most), '#') + " " +
                std::to_string(bin.days) + "\n";
}

void bankrollText(const std::string& name, const LabSummary& s, std::string& text) {
    // xgettext:no-c-format
    text += fillIn(_("\nBankroll, {0}: median and 5-95 % of the days drawn again in other orders\n"), name);
    const std::size_t n = s.bankroll.size();
    const std::size_t rows = std::min<std::size_t>(n, 10);
    for (std::size_t i = 1; i <= rows; ++i) {
        const BankrollPoint& p = s.bankroll[i * n / rows - 1];
        text += _("  after day ") + rightAlign(std::to_string(p.day), 5) + rightAlign(money(p.median), 12) +
                fillIn(_("  ({0} to {1})\n"), money(p.low), money(p.high));
    }
}

} // namespace

LabReply labCommand(const DataFolder& folder, const std::vector<std::string>& args,
                    const std::shared_ptr<LabChanceCache>& chances) {
    LabReply reply;
    if (args.empty())
        throw LabUsageError(_("usage: ") + LabUsage);
    if (args.size() == 1 && args[0] == "list") {
        Json list = Json::array();
        reply.text = _("Strategies (lab NAME):\n");
        for (const Strategy& s : labStrategies()) {
            list.push_back(
                {{"name", s.name}, {"description", s.description}, {"needsChances", s.needsChances}});
            reply.text += "  " + padRight(s.name, 26) + _(s.description) +
                          (s.needsChances ? _(" (uses the chances)") : "") + "\n";
        }
        reply.text += _(RuleHelp);
        reply.json["strategies"] = list;
        return reply;
    }

    std::vector<Strategy> strategies{strategyOf(args[0])};
    LabSetup setup;
    setup.stable = labStableOf(folder);
    int days = DefaultDays;
    bool daysGiven = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& word = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                throw LabUsageError(fillIn(_("{0} needs a value (usage: {1})"), word, LabUsage));
            return args[++i];
        };
        if (word == "--crowd") {
            const std::string& crowd = value();
            if (crowd != "track" && crowd != "sharp")
                throw LabUsageError(fillIn(_("the crowd is track or sharp, not \"{0}\""), crowd));
            setup.crowd = crowd == "sharp" ? Crowd::Sharp : Crowd::Track;
        } else if (word == "--seed") {
            const std::string& seed = value();
            const auto number = wholeNumber(seed);
            if (!number || *number < 0)
                throw LabUsageError(
                    fillIn(_("the seed must be a whole number 0 or more, not \"{0}\""), seed));
            setup.seed = static_cast<uint64_t>(*number);
        } else if (word == "--vs") {
            if (strategies.size() > 1)
                throw LabUsageError(_("the lab compares two strategies at most"));
            strategies.push_back(strategyOf(value()));
        } else if (word == "--stake") {
            const std::string& stake = value();
            if (!stake.empty() && stake.back() == '%') {
                setup.stake.kind = StakeRule::Kind::Share;
                setup.stake.share =
                    boundedNumber(stake.substr(0, stake.size() - 1), N_("the share"), 1, 100) / 100.0;
            } else {
                setup.stake.dollars = boundedNumber(stake, N_("the stake"), 1, 1000);
            }
        } else if (word == "--chance-races") {
            setup.chanceRaces =
                boundedNumber(value(), N_("the chance races"), MinChanceRacesForLab, MaxChanceRacesForLab);
        } else if (!daysGiven && word.rfind("--", 0) != 0) {
            days = boundedNumber(word, N_("the days"), 1, MaxDays);
            daysGiven = true;
        } else {
            throw LabUsageError(fillIn(_("\"{0}\" is not understood (usage: {1})"), word, LabUsage));
        }
    }
    if (setup.stable.find("horses.dat") == setup.stable.end())
        throw LabUsageError(_("the data folder has no stable (horses.dat) to try strategies on"));

    const std::string crowdName = setup.crowd == Crowd::Sharp ? _("a sharp crowd") : _("this track's crowd");
    // The --json output keeps the English; the report reads in the player's language.
    const bool share = setup.stake.kind == StakeRule::Kind::Share;
    const std::string stakeName = share ? percent(setup.stake.share) + " of the balance a ticket"
                                        : "$" + std::to_string(setup.stake.dollars) + " a combination";
    const std::string stakeText = share ? fillIn(_("{0} of the balance a ticket"), percent(setup.stake.share))
                                        : fillIn(_("${0} a combination"), setup.stake.dollars);
    reply.json["days"] = days;
    reply.json["crowd"] = setup.crowd == Crowd::Sharp ? "sharp" : "track";
    reply.json["seed"] = setup.seed;
    reply.json["stake"] = stakeName;
    reply.json["bankroll"] = setup.bankroll;
    reply.text = fillIn(_("Lab: {0} days against {1}, seed {2}, {3}, ${4} at the start of each day\n\n"),
                        days, crowdName, setup.seed, stakeText, setup.bankroll);

    // Strategies tried on the same days share each race's chances.
    setup.chances = chances;
    std::vector<LabSummary> summaries;
    Json results = Json::array();
    const std::vector<LabRun> runs = runLabs(setup, strategies, days);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        for (const LabDayResult& day : runs[i].days)
            if (!day.error.empty())
                throw LabUsageError(_("a lab day could not be played: ") + day.error);
        summaries.push_back(summarize(runs[i], setup));
        results.push_back(summaryJson(strategies[i], summaries.back()));
    }
    reply.json["strategies"] = results;

    auto row = [&](const std::string& label, auto cell) {
        reply.text += padRight(_(label), 22);
        for (const LabSummary& s : summaries)
            reply.text += rightAlign(cell(s), 26);
        reply.text += "\n";
    };
    reply.text += padRight("", 22);
    for (const Strategy& s : strategies)
        reply.text += rightAlign(s.name.size() > 25 ? s.name.substr(0, 25) : s.name, 26);
    reply.text += "\n";
    row(N_("Tickets"), [](const LabSummary& s) { return std::to_string(s.tickets); });
    row(N_("Staked"), [](const LabSummary& s) { return money(s.staked); });
    row(N_("Returned"), [](const LabSummary& s) { return money(s.returned); });
    row(N_("Return on the stake"), [](const LabSummary& s) { return percent(s.returnRate); });
    row(N_("  95 % band"), [](const LabSummary& s) { return bandText(s.returnBand); });
    row(N_("Hit rate"), [](const LabSummary& s) { return percent(s.hitRate); });
    row(N_("Biggest win"), [](const LabSummary& s) { return money(s.biggestWin); });
    row(N_("Worst losing run"), [](const LabSummary& s) {
        return fillIn(_n("{0} race", "{0} races", static_cast<unsigned long>(s.worstLosingRun)),
                      s.worstLosingRun);
    });
    row(N_("Takeout paid (25 %)"), [](const LabSummary& s) { return money(s.takeout); });
    row(N_("Breakage paid"), [](const LabSummary& s) { return money(s.breakage); });
    row(N_("Best day"), [](const LabSummary& s) { return signedMoney(s.bestDay); });
    row(N_("Worst day"), [](const LabSummary& s) { return signedMoney(s.worstDay); });
    for (std::size_t i = 0; i < strategies.size(); ++i) {
        histogramText(strategies[i].name, summaries[i], reply.text);
        bankrollText(strategies[i].name, summaries[i], reply.text);
    }
    return reply;
}

} // namespace sw::cli
