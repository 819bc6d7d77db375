#include "TicketPricing.h"
#include "core/Translate.h"

#include <algorithm>

namespace sw {

namespace {

// Calls f(posts, k) for every selection of one post from each list in turn; with `distinct`,
// only selections of k different horses.
template <class F>
void eachSelection(const SelectionSet* lists, int k, bool distinct, uint8_t* posts, int depth, F& f) {
    if (depth == k) {
        f(static_cast<const uint8_t*>(posts), k);
        return;
    }
    const SelectionSet& list = lists[depth];
    for (int i = 0; i < list.size; ++i) {
        uint8_t post = list.posts[i];
        bool taken = false;
        for (int d = 0; distinct && d < depth; ++d)
            taken = taken || posts[d] == post;
        if (taken)
            continue;
        posts[depth] = post;
        eachSelection(lists, k, distinct, posts, depth + 1, f);
    }
}

SelectionSet single(uint8_t post) {
    SelectionSet set;
    set.posts[0] = post;
    set.size = 1;
    return set;
}

// Calls f(posts, k) for every combination the ticket counts, in the order it is counted.
template <class F> void eachCombination(const ParsedTicket& t, F&& f) {
    uint8_t posts[CombinationMarks::MaxPositions];
    if (isSingleHorseBet(t.type)) {
        for (int i = 0; i < t.sets[0].size; ++i) {
            posts[0] = t.sets[0].posts[i];
            f(static_cast<const uint8_t*>(posts), 1);
        }
        return;
    }
    if (isMultiRace(t.type)) {
        eachSelection(t.sets.data(), t.setCount, false, posts, 0, f);
        return;
    }
    const SelectionSet& a = t.sets[0];
    if (t.type == BetType::Quiniela) {
        auto pair = [&](uint8_t x, uint8_t y) {
            posts[0] = std::min(x, y);
            posts[1] = std::max(x, y);
            f(static_cast<const uint8_t*>(posts), 2);
        };
        if (t.mode == BetMode::Wheel) {
            for (int i = 0; i < a.size; ++i)
                for (int j = 0; j < t.sets[1].size; ++j)
                    if (a.posts[i] != t.sets[1].posts[j])
                        pair(a.posts[i], t.sets[1].posts[j]);
        } else if (t.mode == BetMode::Box) {
            for (int i = 0; i < a.size; ++i)
                for (int j = i + 1; j < a.size; ++j)
                    pair(a.posts[i], a.posts[j]);
        } else {
            pair(a.posts[0], a.posts[1]);
        }
        return;
    }
    int k = horsesPerCombination(combinationShape(t));
    std::array<SelectionSet, CombinationMarks::MaxPositions> lists{};
    for (int p = 0; p < k; ++p) {
        if (t.mode == BetMode::Wheel)
            lists[p] = t.sets[p];
        else if (t.mode == BetMode::Box)
            lists[p] = a;
        else
            lists[p] = single(a.posts[p]);
    }
    eachSelection(lists.data(), k, true, posts, 0, f);
}

int countPerLine(const ParsedTicket& t) {
    return t.type == BetType::WPS ? 3 : 1;
}

int markPositions(BetType type) {
    if (isSingleHorseBet(type))
        return 1;
    return isMultiRace(type) ? setsPerWheel(type) : horsesPerCombination(type);
}

// A second half's credit pays for its one combination.
int64_t costOf(const ParsedTicket& t, int32_t count) {
    int64_t charged = t.exchange > 0 ? std::max(count - 1, 0) : count;
    return charged * t.amount;
}

// As eachCombination, but a combination the ticket names twice (a wheel whose sets overlap) is
// met once: it is bought, recorded and charged once.
template <class F> void eachDistinctCombination(const ParsedTicket& t, CombinationMarks& marks, F&& f) {
    marks.reset(markPositions(combinationShape(t)));
    eachCombination(t, [&](const uint8_t* posts, int k) {
        if (marks.mark(posts))
            f(posts, k);
    });
}

} // namespace

TicketPrice priceTicket(const ParsedTicket& ticket) {
    TicketPrice price;
    if (isMultiRace(ticket.type)) {
        // A product of the races' sets: no need to walk a Pick 6's quarter million combinations.
        price.count = 1;
        for (int s = 0; s < ticket.setCount; ++s)
            price.count *= ticket.sets[s].size;
    } else {
        int per = countPerLine(ticket);
        CombinationMarks marks;
        eachDistinctCombination(ticket, marks, [&](const uint8_t*, int) { price.count += per; });
    }
    price.cost = costOf(ticket, price.count);
    return price;
}

TicketPrice priceTicket(std::string_view text) {
    auto ticket = parseTicketText(text);
    return ticket ? priceTicket(*ticket) : TicketPrice{};
}

TicketPrice expandTicket(const ParsedTicket& ticket, CombinationMarks& marks) {
    TicketPrice price;
    int per = countPerLine(ticket);
    eachDistinctCombination(ticket, marks, [&](const uint8_t*, int) { price.count += per; });
    price.cost = costOf(ticket, price.count);
    return price;
}

std::vector<std::string> combinationLines(const ParsedTicket& ticket, std::size_t maxLines) {
    std::vector<std::string> lines;
    std::size_t left = 0;
    CombinationMarks marks;
    eachDistinctCombination(ticket, marks, [&](const uint8_t* posts, int k) {
        if (lines.size() >= maxLines) {
            ++left;
            return;
        }
        std::string line;
        for (int p = 0; p < k; ++p) {
            if (p > 0)
                line.push_back('-');
            line.push_back(static_cast<char>('0' + posts[p]));
        }
        lines.push_back(std::move(line));
    });
    if (left > 0)
        lines.push_back(fillIn(_("... and {0} more"), left));
    return lines;
}

TicketTotals totalsOf(const std::vector<ListedTicket>& tickets) {
    TicketTotals totals;
    for (const auto& listed : tickets) {
        TicketPrice price = priceTicket(listed.text);
        totals.count += price.count;
        totals.cost += price.cost;
    }
    return totals;
}

std::vector<std::string> explainTicket(std::string_view text, std::size_t maxLines) {
    std::vector<std::string> lines{std::string(text)};
    std::string error;
    std::optional<ParsedTicket> ticket = parseTicketText(text, &error);
    if (!ticket) {
        lines.push_back(fillIn(_("This text is not a ticket ({0}): it costs nothing"), error));
        return lines;
    }
    const bool exchange = ticket->exchange > 0;
    if (isExchangeBet(ticket->type)) {
        const std::string second =
            secondHalfOf(ticket->type) == BetType::Superfecta ? _("superfecta") : _("trifecta");
        if (exchange)
            lines.push_back(
                fillIn(_("The second half: a {0} in this race, one combination paid by credit {1}"), second,
                       ticket->exchange));
        else
            lines.push_back(
                fillIn(_("The first half: a trifecta in this race; a combination that comes in becomes a "
                         "credit for a {0} in the next race"),
                       second));
    }
    switch (ticket->mode) {
    case BetMode::On:
        lines.push_back(ticket->type == BetType::WPS
                            ? _("Across the board: each horse is three bets, to win, place and show")
                            : _("One bet on each horse named"));
        break;
    case BetMode::Straight:
        lines.push_back(_("Straight: the horses in the order given"));
        break;
    case BetMode::Box:
        lines.push_back(_("Box: every order of the horses named"));
        break;
    case BetMode::Wheel:
        lines.push_back(isMultiRace(ticket->type)
                            ? _("Wheel: every pick of one horse from each race's set")
                            : _("Wheel: every pick of one horse from each position's set, no horse twice"));
        break;
    }
    const TicketPrice price = priceTicket(*ticket);
    std::string shown;
    for (const std::string& combination : combinationLines(*ticket, maxLines))
        shown += (shown.empty() ? "" : ", ") + combination;
    lines.push_back(fillIn(_("Combinations: {0}"), shown));
    std::string cost =
        fillIn(_n("{0} bet x ${1}", "{0} bets x ${1}", static_cast<unsigned long>(price.count)), price.count,
               ticket->amount);
    if (exchange)
        cost += fillIn(_(" = ${0}, less the credit's ${1}"), int64_t{price.count} * ticket->amount,
                       ticket->amount);
    lines.push_back(cost + " = $" + std::to_string(price.cost));
    return lines;
}

} // namespace sw
