#include "TicketText.h"
#include "core/Translate.h"

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
        return fail(
            error,
            fillIn(_("The amount \"{0}\" must be \"$\" and whole dollars from 0 to 32000, for example $2."),
                   word));
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
        return fail(
            error, fillIn(_("\"{0}\" is not a set of horses: write the posts 1 to 8 without spaces, or All."),
                          word));
    for (char c : word) {
        if (c < '1' || c > '8')
            return fail(
                error,
                fillIn(_("\"{0}\" is not a set of horses: write the posts 1 to 8 without spaces, or All."),
                       word));
        uint8_t post = static_cast<uint8_t>(c - '0');
        for (uint8_t i = 0; i < set.size; ++i)
            if (set.posts[i] == post)
                return fail(error, fillIn(_("Horse {0} is named twice in \"{1}\"."), c, word));
        set.posts[set.size++] = post;
    }
    return true;
}

} // namespace

std::optional<ParsedTicket> parseTicketText(std::string_view text, std::string* error) {
    if (text.empty()) {
        fail(error, _("The ticket text is empty."));
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
            fail(error,
                 _("The words of a ticket are separated by single spaces, with none before or after."));
            return std::nullopt;
        }
        if (wordCount == MaxWords) {
            fail(error, _("A ticket has at most 20 words."));
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
        fail(error, _("A ticket names its amount, its bet, how it is entered and its horses, for example "
                      "$2 Exacta Box 134."));
        return std::nullopt;
    }
    auto type = betTypeFromWord(words[1]);
    if (!type) {
        fail(error,
             fillIn(_("\"{0}\" is not a bet; the bets are Win, Place, Show, WPS, Quiniela, Exacta, Trifecta, "
                      "Superfecta, DailyDouble, Pick3, Pick6, Twin-Tri and Tri-Super."),
                    words[1]));
        return std::nullopt;
    }
    t.type = *type;
    std::string name(betWord(t.type));

    // A second half names its credit after the bet word; the words after that read as its own bet's.
    if (wordCount >= 3 && words[2] == ExchangeWord) {
        if (!isExchangeBet(t.type)) {
            fail(error, fillIn(_("Only a Twin-Tri or Tri-Super credit is exchanged, for example {0}."),
                               exampleFor(BetType::TwinTri, BetMode::Straight, 57)));
            return std::nullopt;
        }
        std::string_view number = wordCount >= 4 ? words[3] : std::string_view();
        if (number.empty() || number.size() > 9 || number.front() == '0' ||
            !std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            // TRANSLATORS: {0} is the bet with its English article ("A Twin-Tri"), {1} the bet's word alone.
            fail(error, fillIn(_("{0} exchange names the number of its credit, for example {2}."),
                               article(name), name, exampleFor(t.type, BetMode::Straight, 57)));
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
            // TRANSLATORS: {0} is the bet with its English article ("A Win"), {1} the bet's word alone.
            fail(error, fillIn(_("{0} ticket reads \"on\" before its horses, for example {2}."),
                               article(name), name, exampleFor(t.type, BetMode::On)));
            return std::nullopt;
        }
    } else if (isMultiRace(t.type)) {
        if (!hasMode || mode != BetMode::Wheel) {
            // TRANSLATORS: {0} is the bet with its English article ("A Pick3"), {1} the bet's word alone.
            fail(error, fillIn(_("{0} ticket is always a Wheel, for example {2}."), article(name), name,
                               exampleFor(t.type, BetMode::Wheel)));
            return std::nullopt;
        }
    } else if (!hasMode || mode == BetMode::On) {
        // TRANSLATORS: {0} is the bet with its English article ("An Exacta"), {1} the bet's word alone.
        fail(error, fillIn(_("{0} ticket is entered Straight, Box or Wheel, for example {2}."), article(name),
                           name, exampleFor(t.type, BetMode::Box, t.exchange)));
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
        std::string kind = isSingleHorseBet(t.type) ? name : name + " " + std::string(modeWord(t.mode));
        // TRANSLATORS: {0} is the bet with its English article ("An Exacta Box"), {1} the bet alone.
        fail(error,
             wanted == 1
                 ? fillIn(_("{0} ticket takes one set of horses, for example {2}."), article(kind), kind,
                          exampleFor(t.type, t.mode, t.exchange))
                 : fillIn(_("{0} ticket takes {3} sets of horses joined by \"with\", for example {2}."),
                          article(kind), kind, exampleFor(t.type, t.mode, t.exchange), wanted));
        return std::nullopt;
    }
    for (int s = 0; s < wanted; ++s)
        if (!parseSet(words[3 + 2 * static_cast<std::size_t>(s)], t.sets[s], error))
            return std::nullopt;
    t.setCount = wanted;

    int needed = horsesPerCombination(shape);
    const SelectionSet& first = t.sets[0];
    if (t.mode == BetMode::Straight && (first.all || first.size != needed)) {
        fail(error, fillIn(_("A Straight {0} names exactly {1} horses in order, for example {2}."), name,
                           needed, exampleFor(t.type, t.mode, t.exchange)));
        return std::nullopt;
    }
    if (t.mode == BetMode::Box && first.size < needed) {
        // TRANSLATORS: {0} is the bet with its English article ("An Exacta"), {1} the bet's word alone.
        fail(error, fillIn(_("{0} Box takes {2} or more horses, for example {3}."), article(name), name,
                           needed, exampleFor(t.type, t.mode, t.exchange)));
        return std::nullopt;
    }
    return t;
}

std::string exchangeModeRefusal(BetType type, int32_t credit, int32_t amount) {
    const std::string bet(betWord(type));
    const std::string half(betWord(secondHalfOf(type)));
    // TRANSLATORS: {0} is the bet with its English article ("A Twin-Tri"), {1} the bet's word alone.
    return fillIn(
        _("One credit buys one combination. {0} exchange is a Straight {2} at the credit's amount, for "
          "example {3}. For more combinations, buy an ordinary {2}."),
        article(bet), bet, half, exampleFor(type, BetMode::Straight, credit, amount));
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

std::string shownTicketText(std::string_view text) {
    // Spelled out one by one, so the catalog's extraction finds every word with its context.
    struct Word {
        std::string_view english;
        std::string (*shown)();
    };
    static const std::array<Word, 21> Words = {{
        {"Win", [] { return C_("ticket", "Win"); }},
        {"Place", [] { return C_("ticket", "Place"); }},
        {"Show", [] { return C_("ticket", "Show"); }},
        {"WPS", [] { return C_("ticket", "WPS"); }},
        {"Quiniela", [] { return C_("ticket", "Quiniela"); }},
        {"Exacta", [] { return C_("ticket", "Exacta"); }},
        {"Trifecta", [] { return C_("ticket", "Trifecta"); }},
        {"Superfecta", [] { return C_("ticket", "Superfecta"); }},
        {"DailyDouble", [] { return C_("ticket", "DailyDouble"); }},
        {"Pick3", [] { return C_("ticket", "Pick3"); }},
        {"Pick6", [] { return C_("ticket", "Pick6"); }},
        {"Twin-Tri", [] { return C_("ticket", "Twin-Tri"); }},
        {"Tri-Super", [] { return C_("ticket", "Tri-Super"); }},
        {"on", [] { return C_("ticket", "on"); }},
        {"Straight", [] { return C_("ticket", "Straight"); }},
        {"Box", [] { return C_("ticket", "Box"); }},
        {"Wheel", [] { return C_("ticket", "Wheel"); }},
        {"with", [] { return C_("ticket", "with"); }},
        {"All", [] { return C_("ticket", "All"); }},
        {"Exchange", [] { return C_("ticket", "Exchange"); }},
        {"Key", [] { return C_("ticket", "Key"); }},
    }};
    std::string shown;
    std::size_t at = 0;
    while (at <= text.size()) {
        const std::size_t end = std::min(text.find(' ', at), text.size());
        const std::string_view word = text.substr(at, end - at);
        const auto known =
            std::find_if(Words.begin(), Words.end(), [&](const Word& w) { return w.english == word; });
        shown += known == Words.end() ? std::string(word) : known->shown();
        if (end < text.size())
            shown += ' ';
        at = end + 1;
    }
    return shown;
}

} // namespace sw
