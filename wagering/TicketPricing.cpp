#include "TicketPricing.h"

#include <algorithm>

namespace sw {

namespace {

constexpr std::size_t MaxWords = 20;

std::string article(std::string_view word) {
    bool vowel = !word.empty() && std::string_view("AEIOU").find(word.front()) != std::string_view::npos;
    return std::string(vowel ? "An " : "A ") + std::string(word);
}

// A well-formed example of the bet, so a refusal shows what would be accepted. An exchange is
// always Straight.
std::string exampleFor(BetType type, BetMode mode, int32_t exchange = 0, int32_t amount = 2) {
    std::string start = "$" + std::to_string(amount) + " " + std::string(betWord(type)) + " ";
    if (exchange > 0) {
        start += std::string(ExchangeWord) + " " + std::to_string(exchange) + " ";
        type = secondHalfOf(type);
        mode = BetMode::Straight;
    }
    if (isSingleHorseBet(type))
        return start + "on 5";
    if (isMultiRace(type)) {
        std::string text = start + "Wheel 12";
        for (int i = 1; i < setsPerWheel(type); ++i)
            text += i == 1 ? " with All" : " with 3";
        return text;
    }
    switch (mode) {
    case BetMode::Straight:
        return start + "Straight " + std::string("2741").substr(0, horsesPerCombination(type));
    case BetMode::Box:
        return start + "Box " + std::string("13468").substr(0, horsesPerCombination(type) + 1);
    default: {
        std::string text = start + "Wheel 1";
        const char* more[] = {" with 23", " with 2345", " with All"};
        for (int i = 1; i < setsPerWheel(type); ++i)
            text += more[i - 1];
        return text;
    }
    }
}

bool fail(std::string* error, std::string message) {
    if (error)
        *error = std::move(message);
    return false;
}

bool parseAmount(std::string_view word, int32_t& amount, std::string* error) {
    std::string_view digits = word.substr(1);
    bool wellFormed =
        word.size() >= 2 && word.front() == '$' && digits.size() <= 5 &&
        std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
        (digits.size() == 1 || digits.front() != '0');
    int32_t value = 0;
    if (wellFormed)
        for (char c : digits)
            value = value * 10 + (c - '0');
    if (!wellFormed || value > MaxBetAmount)
        return fail(error, "The amount \"" + std::string(word) +
                               "\" must be \"$\" and whole dollars from 0 to 32000, for example $2.");
    amount = value;
    return true;
}

bool parseSet(std::string_view word, SelectionSet& set, std::string* error) {
    set = SelectionSet{};
    if (word == "All") {
        set.all = true;
        set.size = 8;
        for (uint8_t p = 0; p < 8; ++p)
            set.posts[p] = static_cast<uint8_t>(p + 1);
        return true;
    }
    if (word.empty() || word.size() > 8)
        return fail(error, "\"" + std::string(word) +
                               "\" is not a set of horses: write the posts 1 to 8 without spaces, or All.");
    for (char c : word) {
        if (c < '1' || c > '8')
            return fail(error,
                        "\"" + std::string(word) +
                            "\" is not a set of horses: write the posts 1 to 8 without spaces, or All.");
        uint8_t post = static_cast<uint8_t>(c - '0');
        for (uint8_t i = 0; i < set.size; ++i)
            if (set.posts[i] == post)
                return fail(error, "Horse " + std::string(1, c) + " is named twice in \"" +
                                       std::string(word) + "\".");
        set.posts[set.size++] = post;
    }
    return true;
}

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

std::optional<ParsedTicket> parseTicketText(std::string_view text, std::string* error) {
    if (text.empty()) {
        fail(error, "The ticket text is empty.");
        return std::nullopt;
    }
    std::array<std::string_view, MaxWords> words;
    std::size_t wordCount = 0;
    std::size_t start = 0;
    while (true) {
        std::size_t space = text.find(' ', start);
        std::string_view word =
            text.substr(start, space == std::string_view::npos ? text.npos : space - start);
        if (word.empty()) {
            fail(error, "The words of a ticket are separated by single spaces, with none before or after.");
            return std::nullopt;
        }
        if (wordCount == MaxWords) {
            fail(error, "A ticket has at most 20 words.");
            return std::nullopt;
        }
        words[wordCount++] = word;
        if (space == std::string_view::npos)
            break;
        start = space + 1;
    }

    ParsedTicket t;
    if (!parseAmount(words[0], t.amount, error))
        return std::nullopt;
    if (wordCount < 2) {
        fail(error, "A ticket names its amount, its bet, how it is entered and its horses, for example "
                    "$2 Exacta Box 134.");
        return std::nullopt;
    }
    auto type = betTypeFromWord(words[1]);
    if (!type) {
        fail(error, "\"" + std::string(words[1]) +
                        "\" is not a bet; the bets are Win, Place, Show, WPS, Quiniela, Exacta, Trifecta, "
                        "Superfecta, DailyDouble, Pick3, Pick6, Twin-Tri and Tri-Super.");
        return std::nullopt;
    }
    t.type = *type;
    std::string name(betWord(t.type));

    // A second half names its credit after the bet word; the words after that read as its own bet's.
    if (wordCount >= 3 && words[2] == ExchangeWord) {
        if (!isExchangeBet(t.type)) {
            fail(error, "Only a Twin-Tri or Tri-Super credit is exchanged, for example " +
                            exampleFor(BetType::TwinTri, BetMode::Straight, 57) + ".");
            return std::nullopt;
        }
        std::string_view number = wordCount >= 4 ? words[3] : std::string_view();
        if (number.empty() || number.size() > 9 || number.front() == '0' ||
            !std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            fail(error, article(name) + " exchange names the number of its credit, for example " +
                            exampleFor(t.type, BetMode::Straight, 57) + ".");
            return std::nullopt;
        }
        for (char c : number)
            t.exchange = t.exchange * 10 + (c - '0');
        for (std::size_t w = 4; w < wordCount; ++w)
            words[w - 2] = words[w];
        wordCount -= 2;
    }
    const BetType shape = combinationShape(t);

    bool hasMode = false;
    BetMode mode = BetMode::On;
    if (auto word = wordCount >= 3 ? modeFromWord(words[2]) : std::nullopt) {
        hasMode = true;
        mode = *word;
    }
    if (t.exchange > 0) {
        if (!hasMode || mode != BetMode::Straight) {
            fail(error, exchangeModeRefusal(t.type, t.exchange, t.amount));
            return std::nullopt;
        }
    } else if (isSingleHorseBet(t.type)) {
        if (!hasMode || mode != BetMode::On) {
            fail(error, article(name) + " ticket reads \"on\" before its horses, for example " +
                            exampleFor(t.type, BetMode::On) + ".");
            return std::nullopt;
        }
    } else if (isMultiRace(t.type)) {
        if (!hasMode || mode != BetMode::Wheel) {
            fail(error, article(name) + " ticket is always a Wheel, for example " +
                            exampleFor(t.type, BetMode::Wheel) + ".");
            return std::nullopt;
        }
    } else if (!hasMode || mode == BetMode::On) {
        fail(error, article(name) + " ticket is entered Straight, Box or Wheel, for example " +
                        exampleFor(t.type, BetMode::Box, t.exchange) + ".");
        return std::nullopt;
    }
    t.mode = mode;

    // Words from the fourth on: a set, then "with" and a set for each further set of a wheel.
    int wanted = t.mode == BetMode::Wheel ? setsPerWheel(shape) : 1;
    std::size_t expectedWords = 3 + static_cast<std::size_t>(2 * wanted - 1);
    bool shaped = wordCount == expectedWords;
    for (std::size_t w = 4; shaped && w < wordCount; w += 2)
        shaped = words[w] == "with";
    if (!shaped) {
        std::string need =
            wanted == 1 ? "one set of horses" : std::to_string(wanted) + " sets of horses joined by \"with\"";
        std::string kind = isSingleHorseBet(t.type) ? name : name + " " + std::string(modeWord(t.mode));
        fail(error, article(kind) + " ticket takes " + need + ", for example " +
                        exampleFor(t.type, t.mode, t.exchange) + ".");
        return std::nullopt;
    }
    for (int s = 0; s < wanted; ++s)
        if (!parseSet(words[3 + 2 * static_cast<std::size_t>(s)], t.sets[s], error))
            return std::nullopt;
    t.setCount = wanted;

    int needed = horsesPerCombination(shape);
    const SelectionSet& first = t.sets[0];
    if (t.mode == BetMode::Straight && (first.all || first.size != needed)) {
        fail(error, "A Straight " + name + " names exactly " + std::to_string(needed) +
                        " horses in order, for example " + exampleFor(t.type, t.mode, t.exchange) + ".");
        return std::nullopt;
    }
    if (t.mode == BetMode::Box && first.size < needed) {
        fail(error, article(name) + " Box takes " + std::to_string(needed) + " or more horses, for example " +
                        exampleFor(t.type, t.mode, t.exchange) + ".");
        return std::nullopt;
    }
    return t;
}

std::string exchangeModeRefusal(BetType type, int32_t credit, int32_t amount) {
    const std::string bet(betWord(type));
    const std::string half(betWord(secondHalfOf(type)));
    return "One credit buys one combination. " + article(bet) + " exchange is a Straight " + half +
           " at the credit's amount, for example " + exampleFor(type, BetMode::Straight, credit, amount) +
           ". For more combinations, buy an ordinary " + half + ".";
}

std::string setText(const SelectionSet& set) {
    if (set.all)
        return "All";
    std::string text;
    for (int i = 0; i < set.size; ++i)
        text.push_back(static_cast<char>('0' + set.posts[i]));
    return text;
}

BetType combinationShape(const ParsedTicket& ticket) {
    if (!isExchangeBet(ticket.type))
        return ticket.type;
    return ticket.exchange > 0 ? secondHalfOf(ticket.type) : BetType::Trifecta;
}

std::string ticketText(const ParsedTicket& ticket) {
    std::string text = "$" + std::to_string(ticket.amount) + " " + std::string(betWord(ticket.type)) + " ";
    if (ticket.exchange > 0)
        text += std::string(ExchangeWord) + " " + std::to_string(ticket.exchange) + " ";
    text += std::string(modeWord(ticket.mode));
    for (int s = 0; s < ticket.setCount; ++s)
        text += (s == 0 ? " " : " with ") + setText(ticket.sets[s]);
    return text;
}

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
        lines.push_back("... and " + std::to_string(left) + " more");
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
        lines.push_back("This text is not a ticket (" + error + "): it costs nothing");
        return lines;
    }
    const bool exchange = ticket->exchange > 0;
    if (isExchangeBet(ticket->type)) {
        const char* second = secondHalfOf(ticket->type) == BetType::Superfecta ? "superfecta" : "trifecta";
        if (exchange)
            lines.push_back(std::string("The second half: a ") + second +
                            " in this race, one combination paid by credit " +
                            std::to_string(ticket->exchange));
        else
            lines.push_back(
                std::string("The first half: a trifecta in this race; a combination that comes in becomes a "
                            "credit for a ") +
                second + " in the next race");
    }
    switch (ticket->mode) {
    case BetMode::On:
        lines.push_back(ticket->type == BetType::WPS
                            ? "Across the board: each horse is three bets, to win, place and show"
                            : "One bet on each horse named");
        break;
    case BetMode::Straight:
        lines.push_back("Straight: the horses in the order given");
        break;
    case BetMode::Box:
        lines.push_back("Box: every order of the horses named");
        break;
    case BetMode::Wheel:
        lines.push_back(isMultiRace(ticket->type)
                            ? "Wheel: every pick of one horse from each race's set"
                            : "Wheel: every pick of one horse from each position's set, no horse twice");
        break;
    }
    const TicketPrice price = priceTicket(*ticket);
    std::string shown;
    for (const std::string& combination : combinationLines(*ticket, maxLines))
        shown += (shown.empty() ? "" : ", ") + combination;
    lines.push_back("Combinations: " + shown);
    std::string cost = std::to_string(price.count) + (price.count == 1 ? " bet" : " bets") + " x $" +
                       std::to_string(ticket->amount);
    if (exchange)
        cost += " = $" + std::to_string(int64_t{price.count} * ticket->amount) + ", less the credit's $" +
                std::to_string(ticket->amount);
    lines.push_back(cost + " = $" + std::to_string(price.cost));
    return lines;
}

} // namespace sw
