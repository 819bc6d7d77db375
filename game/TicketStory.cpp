#include "TicketStory.h"
#include "core/Translate.h"

#include "settlement/Payoffs.h"
#include "settlement/Settlement.h"
#include "tote/PoolFiles.h"
#include "wagering/BetType.h"
#include "wagering/CombinationMarks.h"
#include "wagering/Payment.h"
#include "wagering/TicketPricing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>

namespace sw {

namespace {

// A chance (not money) to a tenth of a percent.
std::string percentText(double share) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f%%", share * 100.0);
    return text;
}

// part / whole to the nearest tenth of a percent, in whole numbers: "493.6%".
std::string tenthsOfPercentText(Cents part, Cents whole) {
    const auto wide = static_cast<__int128>(part) * 1000;
    const auto tenths = static_cast<long long>((wide + whole / 2) / whole);
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + "%";
}

std::string dollars(Cents cents) {
    return "$" + centsText(cents);
}

void tell(TicketStory& story, const ListedTicket& ticket) {
    story.lines.push_back(fillIn(
        ticket.paid ? _("Its story over {0} simulated runs of race {1}, paid on the pools as they stand")
                    : _("Its story over {0} simulated runs of race {1}, paid on the pools as they stand (its "
                        "own money goes into them only when it is paid)"),
        story.races, story.race));
    story.lines.push_back(fillIn(_("Chance to collect: {0} ({1} to {2}, 95 times in 100)"),
                                 tenthsOfPercentText(story.collected, story.races),
                                 percentText(story.collectRange.low), percentText(story.collectRange.high)));
    std::string expected =
        fillIn(_("Expected return: {0} a race for its {1}"), dollars(story.meanReturn), dollars(story.cost));
    if (story.cost > 0)
        expected += " " + fillIn(_("({0} of the cost)"),
                                 tenthsOfPercentText(story.totalReturned, story.cost * story.races));
    story.lines.push_back(expected + fillIn(_(", within {0} 95 times in 100"), dollars(story.meanHalfBand)));
    if (story.collected == 0) {
        story.lines.push_back(_("It collected in none of the races"));
        return;
    }
    if (story.lowest == story.highest)
        story.lines.push_back(fillIn(_("When it collects: always {0}"), dollars(story.lowest)));
    else
        story.lines.push_back(fillIn(_("When it collects: from {0} to {1}, half the time {2} or less"),
                                     dollars(story.lowest), dollars(story.highest), dollars(story.median)));
    std::string likeliest;
    for (std::size_t i = 0; i < story.likeliest.size(); ++i)
        likeliest += std::string(i ? "," : "") + " " +
                     fillIn(_("{0} in {1}"), dollars(story.likeliest[i].returned),
                            tenthsOfPercentText(story.likeliest[i].races, story.races));
    story.lines.push_back(fillIn(_("Likeliest collections:{0} of the races"), likeliest));
}

} // namespace

std::optional<TicketStory> ticketStory(const RaceDay& day, const ListedTicket& listed, ChanceCache& cache,
                                       int races, std::string* why) {
    auto refuse = [&](std::string reason) -> std::optional<TicketStory> {
        if (why)
            *why = std::move(reason);
        return std::nullopt;
    };
    std::string error;
    const std::optional<ParsedTicket> ticket = parseTicketText(listed.text, &error);
    if (!ticket)
        return refuse(fillIn(_("This text is not a ticket ({0})"), error));
    if (isMultiRace(ticket->type) || isExchangeBet(ticket->type))
        return refuse(fillIn(_("A {0} is paid on races still to come: this race alone cannot tell its story"),
                             betTitle(ticket->type)));
    if (races <= 0 || day.currentRace < 0 || day.currentRace >= RacesPerDay)
        return refuse(_("There is no race to simulate"));

    CombinationMarks marks;
    const TicketPrice price = expandTicket(*ticket, marks);
    std::vector<std::string_view> files;
    for (PoolFile file : poolFilesOf(*ticket))
        files.push_back(poolFileName(file));
    const std::string_view kind = ticketFileWord(ticket->type);

    TicketStory story;
    story.race = day.currentRace + 1;
    story.races = races;
    story.cost = price.cost * 100;
    story.paid = listed.paid;
    const ChanceCounts counts = cache.counts(chanceFieldOf(day, story.race), races);

    // The payoffs of an order are worked out by the chart's own engine on a copy of the pools; a
    // field has few likely orders, so each is paid once.
    SeededRandom unused(0);
    SilentPrompter prompter;
    RaceDay scratch(std::filesystem::path{}, unused, prompter);
    scratch.currentRace = day.currentRace;
    scratch.pools = day.pools;
    scratch.raceWinner = day.raceWinner;
    std::map<std::array<uint8_t, 4>, Cents> paidOn;
    std::vector<Cents> returns;
    returns.reserve(counts.orders.size());
    for (const std::array<uint8_t, 4>& order : counts.orders) {
        auto [known, fresh] = paidOn.try_emplace(order, 0);
        if (fresh) {
            scratch.result = RaceResult{};
            std::copy(order.begin(), order.end(), scratch.result.finishOrder.begin());
            scratch.raceWinner[static_cast<std::size_t>(day.currentRace)] = order[0];
            const Payoffs payoffs = computePayoffs(scratch);
            for (const PoolPayment& payment : singleRacePayments(order, payoffs)) {
                if (!payment.payoff->value ||
                    std::find(files.begin(), files.end(), payment.file) == files.end() ||
                    std::find(payment.betTypes.begin(), payment.betTypes.end(), kind) ==
                        payment.betTypes.end() ||
                    !marks.isMarked(payment.winners))
                    continue;
                if (const std::optional<Cents> won = winningsOf(*payment.payoff->value, ticket->amount))
                    known->second = addCents(known->second, *won).value_or(MaxCents);
            }
        }
        returns.push_back(known->second);
    }

    // The money adds up exactly; only the spread of the returns, a statistic, is worked in floating point.
    Cents total = 0;
    double squares = 0;
    std::map<Cents, int> often;
    std::vector<Cents> collecting;
    for (Cents returned : returns) {
        total = addCents(total, returned).value_or(MaxCents);
        squares += static_cast<double>(returned) * static_cast<double>(returned);
        if (returned > 0) {
            collecting.push_back(returned);
            ++often[returned];
        }
    }
    const double n = static_cast<double>(returns.size());
    story.collected = static_cast<int>(collecting.size());
    story.collectRange = wilsonInterval(story.collected, races);
    story.totalReturned = total;
    const auto count = static_cast<Cents>(returns.size());
    story.meanReturn = (total + count / 2) / count;
    const double mean = static_cast<double>(total) / n;
    const double variance = std::max(0.0, squares / n - mean * mean);
    story.meanHalfBand = static_cast<Cents>(std::llround(1.959963984540054 * std::sqrt(variance / n)));
    if (!collecting.empty()) {
        std::sort(collecting.begin(), collecting.end());
        story.lowest = collecting.front();
        story.median = collecting[(collecting.size() - 1) / 2];
        story.highest = collecting.back();
        for (const auto& [returned, times] : often)
            story.likeliest.push_back({returned, times});
        // Most frequent first; among equals the smaller return.
        std::stable_sort(story.likeliest.begin(), story.likeliest.end(),
                         [](const StoryReturn& a, const StoryReturn& b) { return a.races > b.races; });
        if (story.likeliest.size() > 3)
            story.likeliest.resize(3);
    }
    tell(story, listed);
    return story;
}

} // namespace sw
