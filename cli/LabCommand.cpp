#include "LabCommand.h"

#include "core/Format.h"
#include "core/Money.h"
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

const char* const RuleHelp = R"(Or a rule of your own, in quotes: BET [when CONDITION [and CONDITION]...]
  BET        win, place or show: one ticket on every horse the conditions hold for
  CONDITION  FIELD OP NUMBER, OP one of > >= < <= =
  FIELD      odds (the board's win odds to 1), rank (1 = the favourite), post (1..8),
             chance (simulated chance to win, 0..1), top3 (chance to finish in the first three),
             value (chance x (odds + 1): what a dollar to win returns on average)
  e.g. lab "win when value > 1.2 and odds >= 5" 200
)";

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
        throw LabUsageError(std::string(what) + " must be a whole number " + std::to_string(low) + ".." +
                            std::to_string(high) + ", not \"" + word + "\"");
    return static_cast<int>(*value);
}

Strategy strategyOf(const std::string& text) {
    std::string error;
    auto strategy = findStrategy(text, &error);
    if (!strategy)
        throw LabUsageError(error + " (lab list shows the strategies)");
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
    text += "\nSingle days, " + name + " (net result: days)\n";
    for (const HistogramBin& bin : s.histogram)
        text += rightAlign(signedMoney(bin.from), 10) + " to " + rightAlign(signedMoney(bin.to), 10) + "  " +
                std::string(static_cast<std::size_t>(bin.days * 40 / most), '#') + " " +
                std::to_string(bin.days) + "\n";
}

void bankrollText(const std::string& name, const LabSummary& s, std::string& text) {
    text += "\nBankroll, " + name + ": median and 5-95 % of the days drawn again in other orders\n";
    const std::size_t n = s.bankroll.size();
    const std::size_t rows = std::min<std::size_t>(n, 10);
    for (std::size_t i = 1; i <= rows; ++i) {
        const BankrollPoint& p = s.bankroll[i * n / rows - 1];
        text += "  after day " + rightAlign(std::to_string(p.day), 5) + rightAlign(money(p.median), 12) +
                "  (" + money(p.low) + " to " + money(p.high) + ")\n";
    }
}

} // namespace

LabReply labCommand(const DataFolder& folder, const std::vector<std::string>& args,
                    const std::shared_ptr<LabChanceCache>& chances) {
    LabReply reply;
    if (args.empty())
        throw LabUsageError(std::string("usage: ") + LabUsage);
    if (args.size() == 1 && args[0] == "list") {
        Json list = Json::array();
        reply.text = "Strategies (lab NAME):\n";
        for (const Strategy& s : labStrategies()) {
            list.push_back(
                {{"name", s.name}, {"description", s.description}, {"needsChances", s.needsChances}});
            reply.text += "  " + padRight(s.name, 26) + s.description +
                          (s.needsChances ? " (uses the chances)" : "") + "\n";
        }
        reply.text += RuleHelp;
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
                throw LabUsageError(word + " needs a value (usage: " + LabUsage + ")");
            return args[++i];
        };
        if (word == "--crowd") {
            const std::string& crowd = value();
            if (crowd != "track" && crowd != "sharp")
                throw LabUsageError("the crowd is track or sharp, not \"" + crowd + "\"");
            setup.crowd = crowd == "sharp" ? Crowd::Sharp : Crowd::Track;
        } else if (word == "--seed") {
            const std::string& seed = value();
            const auto number = wholeNumber(seed);
            if (!number || *number < 0)
                throw LabUsageError("the seed must be a whole number 0 or more, not \"" + seed + "\"");
            setup.seed = static_cast<uint64_t>(*number);
        } else if (word == "--vs") {
            if (strategies.size() > 1)
                throw LabUsageError("the lab compares two strategies at most");
            strategies.push_back(strategyOf(value()));
        } else if (word == "--stake") {
            const std::string& stake = value();
            if (!stake.empty() && stake.back() == '%') {
                setup.stake.kind = StakeRule::Kind::Share;
                setup.stake.share =
                    boundedNumber(stake.substr(0, stake.size() - 1), "the share", 1, 100) / 100.0;
            } else {
                setup.stake.dollars = boundedNumber(stake, "the stake", 1, 1000);
            }
        } else if (word == "--chance-races") {
            setup.chanceRaces =
                boundedNumber(value(), "the chance races", MinChanceRacesForLab, MaxChanceRacesForLab);
        } else if (!daysGiven && word.rfind("--", 0) != 0) {
            days = boundedNumber(word, "the days", 1, MaxDays);
            daysGiven = true;
        } else {
            throw LabUsageError("\"" + word + "\" is not understood (usage: " + LabUsage + ")");
        }
    }
    if (setup.stable.find("horses.dat") == setup.stable.end())
        throw LabUsageError("the data folder has no stable (horses.dat) to try strategies on");

    const std::string crowdName = setup.crowd == Crowd::Sharp ? "a sharp crowd" : "this track's crowd";
    const std::string stakeName = setup.stake.kind == StakeRule::Kind::Share
                                      ? percent(setup.stake.share) + " of the balance a ticket"
                                      : "$" + std::to_string(setup.stake.dollars) + " a combination";
    reply.json["days"] = days;
    reply.json["crowd"] = setup.crowd == Crowd::Sharp ? "sharp" : "track";
    reply.json["seed"] = setup.seed;
    reply.json["stake"] = stakeName;
    reply.json["bankroll"] = setup.bankroll;
    reply.text = "Lab: " + std::to_string(days) + " days against " + crowdName + ", seed " +
                 std::to_string(setup.seed) + ", " + stakeName + ", $" + std::to_string(setup.bankroll) +
                 " at the start of each day\n\n";

    // Strategies tried on the same days share each race's chances.
    setup.chances = chances;
    std::vector<LabSummary> summaries;
    Json results = Json::array();
    const std::vector<LabRun> runs = runLabs(setup, strategies, days);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        for (const LabDayResult& day : runs[i].days)
            if (!day.error.empty())
                throw LabUsageError("a lab day could not be played: " + day.error);
        summaries.push_back(summarize(runs[i], setup));
        results.push_back(summaryJson(strategies[i], summaries.back()));
    }
    reply.json["strategies"] = results;

    auto row = [&](const std::string& label, auto cell) {
        reply.text += padRight(label, 22);
        for (const LabSummary& s : summaries)
            reply.text += rightAlign(cell(s), 26);
        reply.text += "\n";
    };
    reply.text += padRight("", 22);
    for (const Strategy& s : strategies)
        reply.text += rightAlign(s.name.size() > 25 ? s.name.substr(0, 25) : s.name, 26);
    reply.text += "\n";
    row("Tickets", [](const LabSummary& s) { return std::to_string(s.tickets); });
    row("Staked", [](const LabSummary& s) { return money(s.staked); });
    row("Returned", [](const LabSummary& s) { return money(s.returned); });
    row("Return on the stake", [](const LabSummary& s) { return percent(s.returnRate); });
    row("  95 % band", [](const LabSummary& s) { return bandText(s.returnBand); });
    row("Hit rate", [](const LabSummary& s) { return percent(s.hitRate); });
    row("Biggest win", [](const LabSummary& s) { return money(s.biggestWin); });
    row("Worst losing run", [](const LabSummary& s) {
        return std::to_string(s.worstLosingRun) + (s.worstLosingRun == 1 ? " race" : " races");
    });
    row("Takeout paid (25 %)", [](const LabSummary& s) { return money(s.takeout); });
    row("Breakage paid", [](const LabSummary& s) { return money(s.breakage); });
    row("Best day", [](const LabSummary& s) { return signedMoney(s.bestDay); });
    row("Worst day", [](const LabSummary& s) { return signedMoney(s.worstDay); });
    for (std::size_t i = 0; i < strategies.size(); ++i) {
        histogramText(strategies[i].name, summaries[i], reply.text);
        bankrollText(strategies[i].name, summaries[i], reply.text);
    }
    return reply;
}

} // namespace sw::cli
